// SPDX-License-Identifier: MIT
// The Earth's mean elements: non-singular elements and the element set at reference
// instants, the zero rules at T = 0, the far-future arc sine, and the planet index.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "solar/earth_terms.hpp"
#include "solar/elements.hpp"

namespace astro {
namespace {

// Reference values are given to 10 decimals.
constexpr double kTenDecimals = 5e-11;

struct EarthCase {
  const char* label;
  double T;
  double a, lambda, k, h, q, p;
};

// The Earth's elements at J2000.0 and at T = 0.25 (2024 December 31, 18h) as published with the
// series, to 10 decimals; q and p at 0.25 are the secular polynomials worked by hand
// (-0.0001135 / 4 + 1e-7 / 16 and 1.02e-5 / 4 + 5e-7 / 16).
const EarthCase kEarth[] = {
    {"J2000.0", 0.0, 1.0000018357, 1.7534176784, -0.0037358301, 0.0162888246, 0.0, 0.0},
    {"T = 0.25", 0.25, 1.0000167897, 158.8302559321, -0.0037352415, 0.0162833967,
     -2.836875e-05, 2.58125e-06},
};

TEST(ElmtsEarth, ReferenceInstants) {
  for (const EarthCase& c : kEarth) {
    SCOPED_TRACE(c.label);
    double a, lambda, k, h, q, p;
    ELMTS_EARTH(c.T, a, lambda, k, h, q, p);
    EXPECT_NEAR(a, c.a, kTenDecimals);
    EXPECT_NEAR(lambda, c.lambda, kTenDecimals);
    EXPECT_NEAR(k, c.k, kTenDecimals);
    EXPECT_NEAR(h, c.h, kTenDecimals);
    EXPECT_NEAR(q, c.q, 1e-18);
    EXPECT_NEAR(p, c.p, 1e-18);
  }
}

TEST(ElmtsEarth, PeriodicTermsMoveTheAxisByAtMostTheirAmplitudes) {
  // The a amplitudes add up to 309e-7 au around the secular 1.000001 (single precision).
  for (double T = -3.0; T <= 3.0; T += 0.0137) {
    double a, lambda, k, h, q, p;
    ELMTS_EARTH(T, a, lambda, k, h, q, p);
    ASSERT_LE(std::fabs(a - 1.0000009536743164), 309e-7) << "T " << T;
  }
}

// The periodic sums written out plainly: every product of every term, zeros included, added in
// table order (sine before cosine), as ELMTS_EARTH defines them.
std::array<double, 4> periodic_sums_term_by_term(double T) {
  const std::array<double, 4> longitudes = {LM2(T), LM3(T), LM4(T), LM5(T)};
  std::array<double, 4> sum{};
  for (const solar_detail::PerturbationTerm& t : solar_detail::kEarthTerms) {
    const std::array<double, 4> m = t.multiples();
    const double arg = ((m[0] * longitudes[0] + m[1] * longitudes[1]) + m[2] * longitudes[2]) +
                       m[3] * longitudes[3];
    const double s = std::sin(arg), c = std::cos(arg);
    for (std::size_t n = 0; n < 4; ++n) sum[n] = sum[n] + t.sine_amplitudes()[n] * s;
    for (std::size_t n = 0; n < 4; ++n) sum[n] = sum[n] + t.cosine_amplitudes()[n] * c;
  }
  return sum;
}

TEST(ElmtsEarth, SameBitsAsTheSumsTermByTerm) {
  // ELMTS_EARTH leaves out the products with a zero multiple or a zero amplitude; that must not
  // change one bit of a, lambda, k or h (secular parts as written in the series). T over +-30
  // centuries, both zeros, and the instants where a longitude crosses zero.
  std::vector<double> instants = {0.0, -0.0, 1e-300, -3.1761 / 1021.3286, -1.7535 / 628.3076,
                                  -6.2035 / 334.0612, -0.5995 / 52.9691};
  for (int n = -20000; n <= 20000; ++n) instants.push_back(n * 1.5e-3 + (n % 7) * 1.1e-9);
  for (const double T : instants) {
    double a, lambda, k, h, q, p;
    ELMTS_EARTH(T, a, lambda, k, h, q, p);
    const std::array<double, 4> sum = periodic_sums_term_by_term(T);
    const double T2 = T * T;
    const double lambda_secular =
        (1.7534703016281128 + 628.3075561523438 * T) - 1.0000000116860974e-07 * T2;
    const double k_secular =
        (-0.003740800078958273 - 8.230000094044954e-05 * T) + 3.000000106112566e-07 * T2;
    const double h_secular =
        (0.016284499317407608 - 6.199999916134402e-05 * T) - 3.000000106112566e-07 * T2;
    ASSERT_EQ(a, 1.0000009536743164 + 1e-7 * sum[0]) << "T " << T;
    ASSERT_EQ(lambda, lambda_secular + 1e-7 * sum[1]) << "T " << T;
    ASSERT_EQ(k, k_secular + 1e-7 * sum[2]) << "T " << T;
    ASSERT_EQ(h, h_secular + 1e-7 * sum[3]) << "T " << T;
  }
}

TEST(ElmtsPlanet, EarthAtJ2000) {
  // Set published with the series to 10 decimals; i and the node are zero by the rule for
  // |q|, |p| <= 1e-38 (not by an arc tangent of two zeros), so omega is the longitude of
  // perihelion.
  ElementSet set;
  ELMTS_PLANET(3, 0.0, set);
  EXPECT_NEAR(set[element::a], 1.0000018357, kTenDecimals);
  EXPECT_NEAR(set[element::e], 0.0167117394, kTenDecimals);
  EXPECT_EQ(set[element::i], 0.0);
  EXPECT_NEAR(set[element::peri], 1.7962465949, kTenDecimals);
  EXPECT_EQ(set[element::node], 0.0);
  EXPECT_NEAR(set[element::M], -0.0428289166, kTenDecimals);
}

TEST(ElmtsPlanet, MeanAnomalyIsNotReduced) {
  // One century adds the mean motion 628.30756 rad less the motion of perihelion.
  ElementSet now, later;
  ELMTS_PLANET(3, 0.0, now);
  ELMTS_PLANET(3, 1.0, later);
  EXPECT_NEAR(later[element::M] - now[element::M], 628.302, 0.01);
}

TEST(ElmtsPlanet, InclinationArcSineIsClamped) {
  // At T = 1500 (150,000 years on) sqrt(p^2 + q^2) exceeds 1: the inclination is pi, not NaN.
  ElementSet set;
  ELMTS_PLANET(3, 1500.0, set);
  EXPECT_EQ(set[element::i], 2 * std::asin(1.0));
  EXPECT_TRUE(std::isfinite(set[element::node]));
}

TEST(ElmtsPlanet, OnlyTheEarthHasElements) {
  for (std::int32_t planet : {1, 2, 4, 8, 0, 9, -3}) {
    SCOPED_TRACE(planet);
    ElementSet set = {1, 2, 3, 4, 5, 6};
    try {
      ELMTS_PLANET(planet, 0.1, set);
      ADD_FAILURE() << "no exception";
    } catch (const std::invalid_argument& error) {
      EXPECT_NE(std::string(error.what()).find("index " + std::to_string(planet)),
                std::string::npos)
          << error.what();
    }
    EXPECT_EQ(set, (ElementSet{1, 2, 3, 4, 5, 6}));
  }
}

TEST(MeanLongitudes, LinearInT) {
  // c0 + c1 T of the table of mean longitudes, summed by hand for T = 1.
  EXPECT_NEAR(LM3(1.0), 630.0611, 1e-12);
  const struct {
    double (*lm)(double);
    double c0, c1;
  } kPlanets[] = {{LM1, 4.4026, 2608.7903}, {LM2, 3.1761, 1021.3286}, {LM3, 1.7535, 628.3076},
                  {LM4, 6.2035, 334.0612},  {LM5, 0.5995, 52.9691},   {LM6, 0.874, 21.3299},
                  {LM7, 5.4813, 7.4782},    {LM8, 5.3119, 3.8133}};
  for (const auto& planet : kPlanets) {
    SCOPED_TRACE(planet.c0);
    EXPECT_EQ(planet.lm(0.0), planet.c0);
    EXPECT_NEAR(planet.lm(-2.0), planet.c0 - 2 * planet.c1, 1e-12);
  }
}

}  // namespace
}  // namespace astro
