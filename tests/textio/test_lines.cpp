// SPDX-License-Identifier: MIT
// Fixed-length line input under the dialogue's text answers and both file readers.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "textio/lines.hpp"

namespace astro {
namespace {


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

}  // namespace
}  // namespace astro
