// SPDX-License-Identifier: MIT
// Fixed-length line input under the dialogue's text answers and both file readers.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "textio/lines.hpp"
#include "tests/support/support.hpp"

namespace astro {
namespace {

using std::string_view_literals::operator""sv;


struct RecordCase {
  const char* label;
  std::string bytes;
  std::vector<std::string> want;  // the records, before padding to the width of 8
};

const RecordCase kRecords[] = {
    {"empty stream", "", {}},
    {"one empty line", "\n", {""}},
    {"last line without a line feed", "ab\ncd", {"ab", "cd"}},
    {"one carriage return dropped", "ab\r\n\r\n", {"ab", ""}},
    {"only one", "ab\r\r\n", {"ab\r"}},
    {"a carriage return inside stays", "a\rb\n", {"a\rb"}},
    {"long line cut", "0123456789\n", {"01234567"}},
    {"line of width + 1 bytes ending in CR", "01234567\r\n", {"01234567"}},
    {"line of width + 2 bytes ending in CR", "012345678\r\n", {"01234567"}},
    {"NUL and high bytes kept",
     std::string("\0\xff\x80", 3) + "\n",
     {std::string("\0\xff\x80", 3)}},
};

TEST(ReadRecord, LinesArePaddedOrCutToTheBuffer) {
  constexpr std::size_t kWidth = 8;
  for (const auto& c : kRecords) {
    SCOPED_TRACE(c.label);
    std::istringstream in(c.bytes);
    std::string record;
    for (const auto& want : c.want) {
      ASSERT_EQ(read_record(in, kWidth, record), LineStatus::ok);
      EXPECT_EQ(record, want + std::string(kWidth - want.size(), ' '));
    }
    EXPECT_EQ(read_record(in, kWidth, record), LineStatus::end);
  }
}

TEST(ReadRecord, VeryLongLineKeepsOnlyTheBuffer) {
  std::istringstream in(std::string(1'000'000, 'x') + "\r\nnext\n");
  std::string record;
  ASSERT_EQ(read_record(in, 80, record), LineStatus::ok);
  EXPECT_EQ(record, std::string(80, 'x'));
  EXPECT_LE(record.capacity(), 1000u);  // the rest of the line is not held
  ASSERT_EQ(read_record(in, 80, record), LineStatus::ok);
  EXPECT_EQ(record.substr(0, 5), "next ");
}


// ---------------------------------------------------------------------------------------
// BlockLines against read_record, the line-by-line reading it must give record for record.

using support::FailingBuffer;

struct Reading {
  std::vector<std::string> records;
  LineStatus last;  // end or error
};

Reading by_read_record(std::istream& in, std::size_t width) {
  Reading r;
  std::string record;
  for (;;) {
    r.last = read_record(in, width, record);
    if (r.last != LineStatus::ok) return r;
    r.records.push_back(record);
  }
}

// The records of read_record that hold the needle within their first `within` columns.
Reading containing(Reading all, std::string_view needle, std::size_t within) {
  std::erase_if(all.records, [&](const std::string& record) {
    return std::string_view(record).substr(0, within).find(needle) == std::string_view::npos;
  });
  return all;
}

// next, or next_containing with the same exact test applied to what it gives.
Reading by_blocks(std::istream& in, std::size_t width, std::size_t block,
                  std::string_view needle = {}, std::size_t within = 0, bool filter = false) {
  BlockLines lines(in, width, block);
  Reading r;
  std::string_view record;
  for (;;) {
    r.last = filter ? lines.next_containing(needle, within, record) : lines.next(record);
    if (r.last != LineStatus::ok) return r;
    EXPECT_EQ(record.size(), width);
    if (filter && record.substr(0, within).find(needle) == std::string_view::npos) continue;
    r.records.emplace_back(record);
  }
}

// Random lines of 0 to 3 x width bytes drawn from bytes that matter here: the needle's
// letters, blanks, CR, NUL, a high byte; one line in eight 1 to 3 blocks long.
std::string random_text(std::mt19937& rng, std::size_t width, std::size_t block) {
  static constexpr char kBytes[] = {'a', 'b', 'a', 'b', ' ', '\r', '\0', '\xe9', 'x', '\n'};
  std::string text;
  const int lines = std::uniform_int_distribution<int>(0, 12)(rng);
  for (int k = 0; k < lines; ++k) {
    const bool long_line = std::uniform_int_distribution<int>(0, 7)(rng) == 0;
    const std::size_t length = std::uniform_int_distribution<std::size_t>(
        0, long_line ? 3 * (width + 1 + block) : 3 * width)(rng);
    for (std::size_t i = 0; i < length; ++i) {
      text += kBytes[std::uniform_int_distribution<std::size_t>(0, std::size(kBytes) - 2)(rng)];
    }
    if (std::uniform_int_distribution<int>(0, 3)(rng) == 0) text += '\r';
    if (k + 1 < lines || std::uniform_int_distribution<int>(0, 1)(rng) == 0) text += '\n';
  }
  return text;
}

TEST(BlockLines, SameRecordsAsReadRecordOnRandomText) {
  std::mt19937 rng(20261210);
  const std::string_view needles[] = {"ab", "a", "ba a", "b\r", "\0"sv, "x\n"};
  for (const std::size_t width : {1u, 5u, 8u, 80u}) {
    for (std::size_t block = 1; block <= 40; ++block) {
      for (int trial = 0; trial < 12; ++trial) {
        const std::string text = random_text(rng, width, block);
        SCOPED_TRACE(::testing::Message() << "width " << width << ", block " << block
                                          << ", text \"" << text << "\"");
        std::istringstream reference_in(text);
        const Reading want = by_read_record(reference_in, width);
        std::istringstream in(text);
        const Reading got = by_blocks(in, width, block);
        EXPECT_EQ(got.records, want.records);
        EXPECT_EQ(got.last, want.last);
        for (const std::string_view needle : needles) {
          const std::size_t within = std::min<std::size_t>(width, 4);
          std::istringstream filtered_in(text);
          const Reading filtered = by_blocks(filtered_in, width, block, needle, within, true);
          EXPECT_EQ(filtered.records, containing(want, needle, within).records) << needle;
          EXPECT_EQ(filtered.last, want.last);
        }
      }
    }
  }
}

// Lines of every length around the width and the buffer, each ending exactly at or beside
// every place a block boundary can fall.
TEST(BlockLines, LinesAtEveryBlockBoundary) {
  constexpr std::size_t kWidth = 8;
  std::string text;
  for (std::size_t length = 0; length <= 40; ++length) {
    for (const char* end : {"\n", "\r\n"}) {
      text += std::string(length, static_cast<char>('a' + length % 26)) + end;
    }
  }
  for (std::size_t block = 1; block <= 48; ++block) {
    SCOPED_TRACE(block);
    std::istringstream reference_in(text);
    std::istringstream in(text);
    const Reading want = by_read_record(reference_in, kWidth);
    const Reading got = by_blocks(in, kWidth, block);
    EXPECT_EQ(got.records, want.records);
    EXPECT_EQ(got.last, LineStatus::end);
  }
}

// A read error after some lines: every line completed before it is handed out, then error,
// also when the failure falls inside a line longer than the buffer.
TEST(BlockLines, ReadErrorAfterSomeLines) {
  const std::string cases[] = {"one\ntwo\npart", "one\ntwo\n", "", "one\n" + std::string(500, 'L'),
                               "one\r\n" + std::string(500, 'L') + "\nthree"};
  for (const std::string& bytes : cases) {
    for (const std::size_t block : {1u, 3u, 64u, 65536u}) {
      SCOPED_TRACE(::testing::Message() << "block " << block << ", " << bytes.size() << " bytes");
      FailingBuffer reference_buffer(bytes);
      std::istream reference_in(&reference_buffer);
      const Reading want = by_read_record(reference_in, 8);
      ASSERT_EQ(want.last, LineStatus::error);
      FailingBuffer buffer(bytes);
      std::istream in(&buffer);
      const Reading got = by_blocks(in, 8, block);
      EXPECT_EQ(got.records, want.records);
      EXPECT_EQ(got.last, LineStatus::error);
    }
  }
}

// The buffer stays at its size whatever the length of a line.
TEST(BlockLines, VeryLongLineKeepsOnlyTheBuffer) {
  std::istringstream in(std::string(1'000'000, 'x') + "\r\nnext\n");
  BlockLines lines(in, 80, 1024);
  std::string_view record;
  ASSERT_EQ(lines.next(record), LineStatus::ok);
  EXPECT_EQ(record, std::string(80, 'x'));
  ASSERT_EQ(lines.next_containing("next", 80, record), LineStatus::ok);
  EXPECT_EQ(record.substr(0, 5), "next ");
  EXPECT_EQ(lines.bytes_taken(), 1'000'000u + 7u);
  EXPECT_EQ(lines.next(record), LineStatus::end);
}

}  // namespace
}  // namespace astro
