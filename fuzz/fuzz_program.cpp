// SPDX-License-Identifier: MIT
// The whole program on arbitrary bytes as its standard input. Its output goes to a stream
// that refuses to take more than a few hundred kilobytes, so that a long table ends through
// the program's own handling of output that cannot be written.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "driver/program.hpp"

namespace {

class LimitedSink : public std::streambuf {
 public:
  explicit LimitedSink(std::size_t limit) : left_(limit) {}

 protected:
  int_type overflow(int_type ch) override {
    if (left_ == 0) return traits_type::eof();
    --left_;
    return traits_type::not_eof(ch);
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    if (static_cast<std::size_t>(n) > left_) {
      left_ = 0;
      return 0;
    }
    left_ -= static_cast<std::size_t>(n);
    return n;
  }

 private:
  std::size_t left_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  LimitedSink sink(300000);
  std::ostream out(&sink);
  const int status = astro::run(in, out);
  if (status != astro::kStatusComplete && status != astro::kStatusWriteError &&
      status != astro::kStatusBadInput) {
    __builtin_trap();
  }
  return 0;
}
