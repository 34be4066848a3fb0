// SPDX-License-Identifier: MIT
// The table allocates nothing per row: a long table makes as many allocations as a short one.
// Every allocation of this test program goes through the counting operators below.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <ostream>
#include <streambuf>

#include "core/constants.hpp"
#include "driver/table.hpp"

namespace {

long allocations = 0;

void* counted(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace astro {
namespace {

// Takes any amount of text and keeps none, so that the stream itself never allocates.
class Discard : public std::streambuf {
 public:
  long bytes = 0;

 protected:
  int_type overflow(int_type ch) override {
    ++bytes;
    return traits_type::not_eof(ch);
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    bytes += n;
    return n;
  }
};

struct TableRun {
  long allocations;
  long bytes;
};

// The allocations made by one table of nsteps rows, one a minute, all corrections on.
TableRun table_run(std::int32_t nsteps) {
  RunParameters p;
  p.phi = 50.0 * kDegToRad;
  p.lambda = 14.0 * kDegToRad;
  p.jd0 = 2461200.5;
  p.dt = 1.0 / 1440;
  p.nsteps = nsteps;
  p.precession = p.nutation = p.refraction = 1;
  Discard discard;
  std::ostream out(&discard);
  const long before = allocations;
  write_table(p, out);
  return {allocations - before, discard.bytes};
}

TEST(TableAllocation, NothingIsAllocatedPerRow) {
  const TableRun short_table = table_run(10);
  const TableRun long_table = table_run(20000);  // many times the output buffer
  EXPECT_EQ(long_table.bytes, 89 + 20000 * static_cast<long>(kRowBytes));
  EXPECT_EQ(long_table.allocations, short_table.allocations);
  EXPECT_LE(short_table.allocations, 1);  // the row buffer
}

}  // namespace
}  // namespace astro
