// SPDX-License-Identifier: MIT
// astro._astro: the compiled half of the Python module astro. The Python half
// (astro/__init__.py) checks and broadcasts the arguments; the kernels here take float64
// arrays of one shape with any strides, run the library's chain with the GIL released and
// return C-ordered float64 arrays of that shape.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "core/constants.hpp"
#include "core/errors.hpp"
#include "solar/events.hpp"
#include "solar/sun.hpp"
#include "timeutil/timeutil.hpp"

namespace py = pybind11;

namespace {

using astro::kDegToRad;
using astro::kRadToDeg;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The fields of SunPosition in the order the Python result lists them.
constexpr std::size_t kFields = 9;

// Instants handed to one sun_positions call: a run of one site, cut at this length so the
// positions stay in the cache until they are spread over the output arrays.
constexpr std::size_t kRun = 256;

// Walks the elements of several arrays of one shape in C order, each with its own strides.
template <std::size_t N>
class StridedWalk {
 public:
  StridedWalk(const std::vector<py::ssize_t>& shape, const std::array<const py::array*, N>& arrays)
      : shape_(shape), index_(shape.size(), 0) {
    for (std::size_t a = 0; a < N; ++a) {
      ptr_[a] = static_cast<const char*>(arrays[a]->data());
      strides_[a].assign(arrays[a]->strides(), arrays[a]->strides() + shape.size());
    }
  }

  double value(std::size_t a) const { return *reinterpret_cast<const double*>(ptr_[a]); }

  void next() {
    for (std::size_t d = shape_.size(); d-- > 0;) {
      if (++index_[d] < shape_[d]) {
        for (std::size_t a = 0; a < N; ++a) ptr_[a] += strides_[a][d];
        return;
      }
      index_[d] = 0;
      for (std::size_t a = 0; a < N; ++a) ptr_[a] -= strides_[a][d] * (shape_[d] - 1);
    }
  }

 private:
  std::vector<py::ssize_t> shape_;
  std::vector<py::ssize_t> index_;
  std::array<const char*, N> ptr_{};
  std::array<std::vector<py::ssize_t>, N> strides_;
};

std::vector<py::ssize_t> shape_of(const py::array& a) {
  return std::vector<py::ssize_t>(a.shape(), a.shape() + a.ndim());
}

void require_same_shape(const std::vector<py::ssize_t>& shape, const py::array& a) {
  if (shape_of(a) != shape) throw py::value_error("the arrays differ in shape");
}

// sun_position at every element of three float64 arrays of one shape (Julian Date UT,
// latitude and longitude in degrees), into nine C-ordered arrays of that shape: the angles
// in degrees, the distance in au. Consecutive elements (in C order) of one site go to
// sun_positions together. An element with NaN in any input, or whose instant the chain
// cannot place (RangeError), is NaN in every field.
py::tuple sun_position_kernel(const py::array_t<double>& jd_ut, const py::array_t<double>& latitude,
                              const py::array_t<double>& longitude, bool precession,
                              bool nutation, bool refraction, double pressure_hpa,
                              double temperature_c) {
  const std::vector<py::ssize_t> shape = shape_of(jd_ut);
  require_same_shape(shape, latitude);
  require_same_shape(shape, longitude);
  std::size_t n = 1;
  for (py::ssize_t extent : shape) n *= static_cast<std::size_t>(extent);

  std::array<py::array_t<double>, kFields> out;
  std::array<double*, kFields> dst;
  for (std::size_t f = 0; f < kFields; ++f) {
    out[f] = py::array_t<double>(shape);
    dst[f] = out[f].mutable_data();
  }
  const astro::SunOptions options{precession, nutation, refraction, pressure_hpa, temperature_c};

  {
    py::gil_scoped_release release;
    StridedWalk<3> walk(shape, {&jd_ut, &latitude, &longitude});
    std::array<double, kRun> jd_run;
    std::array<astro::SunPosition, kRun> pos_run;
    std::vector<bool> failed(kRun);

    auto store = [&](std::size_t k, const astro::SunPosition& s) {
      dst[0][k] = s.azimuth * kRadToDeg;
      dst[1][k] = s.azimuth_south * kRadToDeg;
      dst[2][k] = s.height * kRadToDeg;
      dst[3][k] = s.right_ascension * kRadToDeg;
      dst[4][k] = s.declination * kRadToDeg;
      dst[5][k] = s.hour_angle * kRadToDeg;
      dst[6][k] = s.ecliptic_longitude * kRadToDeg;
      dst[7][k] = s.ecliptic_latitude * kRadToDeg;
      dst[8][k] = s.distance;
    };
    auto store_nan = [&](std::size_t k) {
      for (std::size_t f = 0; f < kFields; ++f) dst[f][k] = kNaN;
    };

    // The run of jd_run[0..count) at one site, starting at element start.
    double run_lat = 0, run_lon = 0;
    std::size_t start = 0, count = 0;
    auto flush = [&] {
      if (count == 0) return;
      const astro::Site site{run_lat * kDegToRad, run_lon * kDegToRad};
      const std::span<const double> jd(jd_run.data(), count);
      const std::span<astro::SunPosition> pos(pos_run.data(), count);
      try {
        astro::sun_positions(jd, site, options, pos);
        for (std::size_t i = 0; i < count; ++i) store(start + i, pos_run[i]);
      } catch (const astro::RangeError&) {
        // Rare: find the instants the chain cannot place one by one.
        for (std::size_t i = 0; i < count; ++i) {
          try {
            store(start + i, astro::sun_position(jd_run[i], site, options));
          } catch (const astro::RangeError&) {
            store_nan(start + i);
          }
        }
      }
      count = 0;
    };

    for (std::size_t k = 0; k < n; ++k, walk.next()) {
      const double jd = walk.value(0), lat = walk.value(1), lon = walk.value(2);
      if (std::isnan(jd) || std::isnan(lat) || std::isnan(lon)) {
        flush();
        store_nan(k);
        continue;
      }
      if (count == kRun || (count > 0 && (lat != run_lat || lon != run_lon))) flush();
      if (count == 0) {
        start = k;
        run_lat = lat;
        run_lon = lon;
      }
      jd_run[count++] = jd;
    }
    flush();
  }

  py::tuple fields(kFields);
  for (std::size_t f = 0; f < kFields; ++f) fields[f] = out[f];
  return fields;
}

// sun_events at one site (degrees, metres), Julian Dates UT; the sunrise horizon in degrees,
// NaN for the library's default. Returns (kind names, jd_ut, azimuth, height): a list of
// str and three float64 arrays, the angles in degrees.
py::tuple sun_events_kernel(double latitude, double longitude, double height, double jd_from,
                            double jd_to, double horizon_deg, bool use_site_height) {
  const astro::Site site{latitude * kDegToRad, longitude * kDegToRad, height};
  astro::SunEventOptions options;
  if (!std::isnan(horizon_deg)) options.horizon = horizon_deg * kDegToRad;
  options.use_site_height = use_site_height;
  std::vector<astro::SunEvent> events;
  {
    py::gil_scoped_release release;
    events = astro::sun_events(site, jd_from, jd_to, options);
  }
  const auto n = static_cast<py::ssize_t>(events.size());
  py::list kinds(n);
  py::array_t<double> jd(n), azimuth(n), heights(n);
  double* jd_out = jd.mutable_data();
  double* az_out = azimuth.mutable_data();
  double* ht_out = heights.mutable_data();
  for (py::ssize_t k = 0; k < n; ++k) {
    const astro::SunEvent& e = events[static_cast<std::size_t>(k)];
    const std::string_view name = astro::sun_event_name(e.kind);
    kinds[static_cast<std::size_t>(k)] = py::str(name.data(), name.size());
    jd_out[k] = e.jd_ut;
    az_out[k] = e.azimuth * kRadToDeg;
    ht_out[k] = e.height * kRadToDeg;
  }
  return py::make_tuple(kinds, jd, azimuth, heights);
}

}  // namespace

PYBIND11_MODULE(_astro, m) {
  m.doc() = "The compiled kernels of astro; use the functions of the astro package.";
  py::register_exception<astro::RangeError>(m, "RangeError", PyExc_ValueError);

  m.def("sun_position", &sun_position_kernel, py::arg("jd_ut"), py::arg("latitude"),
        py::arg("longitude"), py::arg("precession"), py::arg("nutation"), py::arg("refraction"),
        py::arg("pressure_hpa"), py::arg("temperature_c"),
        "sun_position over three float64 arrays of one shape (degrees in, degrees out); "
        "returns the nine fields as a tuple of arrays.");

  m.def("sun_events", &sun_events_kernel, py::arg("latitude"), py::arg("longitude"),
        py::arg("height"), py::arg("jd_from"), py::arg("jd_to"), py::arg("horizon"),
        py::arg("use_site_height"),
        "sun_events at one site (degrees, metres) in [jd_from, jd_to); returns the kinds' "
        "names and the events' jd_ut, azimuth and height (degrees).");

  m.def("jd", &astro::JD, py::arg("year"), py::arg("month"), py::arg("day"),
        "JD: Julian Date of a calendar date (day with the time of day as a fraction).");
  m.def(
      "calendar",
      [](double jd) {
        double year, month, day;
        astro::OD(jd, year, month, day);
        return py::make_tuple(year, month, day);
      },
      py::arg("jd"), "OD: calendar date (year, month, day with the time as a fraction) of a JD.");

  m.attr("DEG_TO_RAD") = kDegToRad;
  m.attr("RAD_TO_DEG") = kRadToDeg;
}
