// SPDX-License-Identifier: MIT
#include "catalog/text_file.hpp"

#include <filesystem>
#include <ostream>

#include "textio/reads.hpp"

namespace astro::detail {

bool open_text_file(std::string_view file_name, std::ifstream& file, std::ostream& out) {
  const std::string name(file_name.substr(0, static_cast<std::size_t>(LENGTH(file_name))));
  std::error_code ec;
  // A directory opens on some systems and fails only at the first read: refuse it here. A
  // name holding a NUL byte names no file (the system would read it only up to the NUL).
  if (name.find('\0') == std::string::npos && !std::filesystem::is_directory(name, ec)) {
    file.open(name, std::ios::in | std::ios::binary);
  }
  if (file.is_open()) return true;
  out << " Cannot open file " << name << ".\n";
  return false;
}

}  // namespace astro::detail
