// SPDX-License-Identifier: MIT
// produce_in_blocks, the astro command's rows on several threads: the text of one thread in
// every case, the rows before a failing one and then its exception, a write error passed on
// with every worker ended, and the workers never more than threads + 2 blocks ahead of the
// writer however slow one block is.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>

#include "cli/blocks.hpp"
#include "cli/output.hpp"

namespace astro::cli {
namespace {

std::string row_text(std::int64_t i) { return std::to_string(i * 7919 % 1000003) + "\n"; }

std::string rows_text(std::int64_t first, std::int64_t last) {
  std::string text;
  for (std::int64_t i = first; i < last; ++i) text += row_text(i);
  return text;
}

// An Output on a temporary file, and what was written to it.
class FileOutput {
 public:
  FileOutput() : file_(std::tmpfile()), out_(fileno(file_)) {}
  ~FileOutput() { std::fclose(file_); }
  Output& out() { return out_; }
  std::string text() {
    out_.flush();
    std::string text;
    char buffer[1 << 16];
    std::rewind(file_);
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) text.append(buffer, n);
    return text;
  }

 private:
  std::FILE* file_;
  Output out_;
};

struct RowOutOfRange : std::runtime_error {
  using std::runtime_error::runtime_error;
};

TEST(ProduceInBlocks, TheTextOfOneThread) {
  const std::int64_t k = kRowsPerBlock;
  for (std::int64_t count : {std::int64_t{0}, std::int64_t{1}, k - 1, k, k + 1, 3 * k + 5, 23 * k + 17}) {
    for (unsigned threads : {1u, 2u, 3u, 7u}) {
      SCOPED_TRACE(std::to_string(count) + " rows on " + std::to_string(threads) + " threads");
      FileOutput file;
      produce_in_blocks(count, threads, file.out(),
                        [](std::int64_t first, std::int64_t last, std::string& text) {
                          EXPECT_TRUE(text.empty());
                          EXPECT_EQ(first % kRowsPerBlock, 0);
                          text += rows_text(first, last);
                        });
      EXPECT_TRUE(file.text() == rows_text(0, count));
    }
  }
}

// A row that throws: the rows before it, in order, then its exception.
TEST(ProduceInBlocks, RowsBeforeAFailureThenItsException) {
  const std::int64_t k = kRowsPerBlock;
  const std::int64_t count = 12 * k + 100;
  for (std::int64_t failing : {std::int64_t{0}, std::int64_t{5}, k, 5 * k + 77, 12 * k + 99}) {
    for (unsigned threads : {2u, 3u}) {
      SCOPED_TRACE("row " + std::to_string(failing) + ", " + std::to_string(threads) + " threads");
      FileOutput file;
      const auto render = [&](std::int64_t first, std::int64_t last, std::string& text) {
        for (std::int64_t i = first; i < last; ++i) {
          if (i == failing) throw RowOutOfRange("row " + std::to_string(i));
          text += row_text(i);
        }
      };
      EXPECT_THROW(produce_in_blocks(count, threads, file.out(), render), RowOutOfRange);
      EXPECT_TRUE(file.text() == rows_text(0, failing));
    }
  }
}

// Output that cannot be written (/dev/full): OutputError, after which no block is begun.
TEST(ProduceInBlocks, AWriteErrorEndsTheWork) {
  const int fd = ::open("/dev/full", O_WRONLY);
  if (fd < 0) GTEST_SKIP() << "no /dev/full";
  Output out(fd);
  std::atomic<std::int64_t> blocks_made{0};
  const std::int64_t count = 1000 * kRowsPerBlock;
  EXPECT_THROW(produce_in_blocks(count, 2, out,
                                 [&](std::int64_t first, std::int64_t last, std::string& text) {
                                   ++blocks_made;
                                   text += rows_text(first, last);
                                 }),
               OutputError);
  ::close(fd);
  // The first full buffer fails: the workers stop long before the thousand blocks.
  EXPECT_LT(blocks_made.load(), 20);
}

// However slow the first block, the workers begin no block beyond the threads + 2 slots, so
// the memory held is that of threads + 2 blocks whatever the count.
TEST(ProduceInBlocks, TheWorkersStayWithinTheSlots) {
  for (unsigned threads : {2u, 3u}) {
    SCOPED_TRACE(threads);
    std::atomic<bool> first_done{false};
    std::atomic<std::int64_t> furthest{0};  // the furthest block begun while block 0 ran
    FileOutput file;
    produce_in_blocks(40 * kRowsPerBlock, threads, file.out(),
                      [&](std::int64_t first, std::int64_t last, std::string& text) {
                        const std::int64_t block = first / kRowsPerBlock;
                        if (block == 0) {
                          std::this_thread::sleep_for(std::chrono::milliseconds(200));
                          first_done = true;
                        } else if (!first_done) {
                          std::int64_t seen = furthest.load();
                          while (block > seen && !furthest.compare_exchange_weak(seen, block)) {
                          }
                        }
                        text += rows_text(first, last);
                      });
    EXPECT_EQ(furthest.load(), threads + 1);  // blocks 1 to threads + 1, then the slots are full
    EXPECT_TRUE(file.text() == rows_text(0, 40 * kRowsPerBlock));
  }
}

}  // namespace
}  // namespace astro::cli
