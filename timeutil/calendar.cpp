// SPDX-License-Identifier: MIT
// Julian Date, calendar date and fractional part.
#include <cmath>
#include <limits>

#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

// 30.6001 at single precision, as the Julian Date formula uses it.
constexpr double kMonthDaysF = 30.600099563598633;
// 30.6001 and 122.1 as doubles, as the inverse uses them.
constexpr double kMonthDays = 30.6001;

}  // namespace

double FRAC(double x) {
  if (std::isnan(x)) return x;
  return x - int32_trunc(x, "FRAC");
}

double JD(double year, double month, double day) {
  double y = year;
  double m = month;
  if (!(month > 2)) {
    y = year - 1;
    m = month + 12;
  }
  // The year term is floored (a negative 365.25 y that is not whole goes down, not toward
  // zero), within the 32-bit range of INT; the month term is truncated.
  const double year_days = 365.25 * y;
  std::int64_t whole_years = int32_trunc(year_days, "JD");
  if (whole_years > year_days) whole_years = whole_years - 1;
  const std::int64_t days = whole_years + int32_trunc(kMonthDaysF * (m + 1), "JD");
  if (days > std::numeric_limits<std::int32_t>::max() ||
      days < std::numeric_limits<std::int32_t>::min()) {
    throw RangeError("JD: year " + std::to_string(year) + " out of the supported range");
  }
  double jd = ((static_cast<double>(days) + day) + 1720994.5);

  // All three truncations are made before the test, so a day out of range is always caught.
  const std::int32_t iday = int32_trunc(day, "JD");
  const std::int32_t imonth = int32_trunc(month, "JD");
  const std::int32_t iyear = int32_trunc(year, "JD");
  if ((iday > 15 && imonth == 10 && iyear == 1582) || (imonth > 10 && iyear == 1582) ||
      iyear > 1582) {
    const std::int32_t a = int32_trunc(y / 100, "JD");
    const std::int32_t b = (a / 4 - a) + 2;
    jd = b + jd;
  }
  return jd;
}

void OD(double jd, double& year, double& month, double& day) {
  const double z = std::trunc(jd + 0.5);
  const double f = FRAC(jd + 0.5);
  double a = z;
  if (!(z < 2299163)) {
    const double alpha = std::trunc((z - 1867216.25) / 36524.25);
    a = ((alpha - std::trunc(alpha / 4)) + z) + 1;
  }
  const double b = a + 1524;
  const double c = std::trunc((b - 122.1) / 365.25);
  const double d = std::trunc(365.25 * c);
  const double e = std::trunc((b - d) / kMonthDays);
  day = ((f - std::trunc(kMonthDays * e)) + b) - d;
  month = e < 14 ? e - 1 : e - 13;
  year = month > 2 ? c - 4716 : c - 4715;
}

}  // namespace astro
