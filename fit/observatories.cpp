// SPDX-License-Identifier: MIT
#include "fit/observatories.hpp"

#include <erfa.h>

#include <charconv>
#include <cmath>
#include <numbers>
#include <filesystem>
#include <fstream>
#include <istream>
#include <string>

namespace astro {

namespace {

constexpr double kAuKm = 149597870.700;  // IAU 2012 Resolution B2

std::string_view trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string_view columns(std::string_view line, std::size_t first, std::size_t width) {
  if (line.size() < first) return {};
  return line.substr(first - 1, width);
}

bool read_number(std::string_view text, double& value) {
  text = trim(text);
  if (text.empty()) return false;
  if (text.front() == '+') text.remove_prefix(1);
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

const Observatory* ObservatoryTable::find(std::string_view code) const {
  const auto it = table_.find(code);
  return it == table_.end() ? nullptr : &it->second;
}

void ObservatoryTable::add(Observatory observatory) {
  std::string code = observatory.code;
  table_.insert_or_assign(std::move(code), std::move(observatory));
}

ObservatoryTable read_observatories(std::istream& in) {
  ObservatoryTable table;
  std::string line;
  // One line per code; the file has some 2,700. The loop ends at the end of the stream.
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 3 || line.starts_with("<") || line.starts_with("Code")) continue;
    const std::string_view code = columns(line, 1, 3);
    if (code.find(' ') != std::string_view::npos) continue;
    Observatory site;
    site.code = std::string(code);
    site.name = std::string(trim(line.size() > 30 ? std::string_view(line).substr(30) : ""));
    const std::string_view numbers = columns(line, 4, 27);
    if (!trim(numbers).empty()) {
      if (!read_number(columns(line, 4, 10), site.longitude_deg) ||
          !read_number(columns(line, 14, 8), site.rho_cos_phi) ||
          !read_number(columns(line, 22, 9), site.rho_sin_phi))
        throw ObservatoryFileError("observatory line not understood: \"" + line + "\"");
      site.has_position = true;
    }
    table.add(std::move(site));
  }
  if (in.bad()) throw ObservatoryFileError("error reading the observatory file");
  if (table.size() == 0) throw ObservatoryFileError("no observatory code in the file");
  return table;
}

ObservatoryTable read_observatories(std::string_view file_name) {
  const std::string name(file_name);
  std::ifstream file;
  std::error_code ec;
  if (name.find('\0') == std::string::npos && !std::filesystem::is_directory(name, ec))
    file.open(name, std::ios::in | std::ios::binary);
  if (!file.is_open()) throw ObservatoryFileError("cannot open observatory file " + name);
  return read_observatories(file);
}

Vector3 observer_geocentric(const Observatory& site, double utc1, double utc2, double tt1,
                            double tt2) {
  const double lon = site.longitude_deg * (std::numbers::pi / 180.0);
  const double r = kEarthRadiusKm / kAuKm;
  double terrestrial[3] = {site.rho_cos_phi * r * std::cos(lon),
                           site.rho_cos_phi * r * std::sin(lon), site.rho_sin_phi * r};
  double c2t[3][3];
  eraC2t06a(tt1, tt2, utc1, utc2, 0.0, 0.0, c2t);
  double celestial[3];
  eraTrxp(c2t, terrestrial, celestial);
  return {celestial[0], celestial[1], celestial[2]};
}

}  // namespace astro
