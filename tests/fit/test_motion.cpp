// SPDX-License-Identifier: MIT
// The fit's motion: the planets' table against eraPlan94 itself, the partials of the
// variational equations against differences of integrated states, the end of an orbit that
// passes through the Sun or a planet, and the work budget.
#include <erfa.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "fit/motion.hpp"

namespace astro {
namespace {

TEST(PlanetTable, InterpolatesEraPlan94WithinItsBound) {
  // A cubic spline through eraPlan94's positions every half day keeps within 2e-7 au (30 km)
  // of them; eraPlan94's own errors are arcseconds, some 1e-5 au for the inner planets
  // (ERFA's documentation of eraPlan94).
  const double begin = 2456600.5, end = 2457700.5;
  const detail::PlanetTable table(begin, end);
  const double bound[8] = {2e-7, 2e-7, 2e-7, 2e-7, 2e-7, 2e-7, 2e-7, 2e-7};
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> when(begin, end);
  double worst[8] = {};
  for (int k = 0; k < 500; ++k) {
    const double t = when(rng);
    const auto got = table.positions(t);
    for (int p = 0; p < 8; ++p) {
      double pv[2][3];
      eraPlan94(2400000.5, t - 2400000.5, p + 1, pv);
      const double d = std::hypot(got[p][0] - pv[0][0], got[p][1] - pv[0][1], got[p][2] - pv[0][2]);
      worst[p] = std::max(worst[p], d);
    }
  }
  for (int p = 0; p < 8; ++p) EXPECT_LT(worst[p], bound[p]) << "planet " << p + 1;
  // Outside the span: eraPlan94 itself.
  double pv[2][3];
  eraPlan94(2400000.5, 60000.0, 3, pv);
  EXPECT_EQ(table.positions(2460000.5)[2][0], pv[0][0]);
}

TEST(Propagate, VariationalPartialsMatchDifferencesOfTheMotion) {
  // An Eros-like orbit carried 400 days each way; the partials from the variational
  // equations against central differences of the integrated state (steps 1e-5 au and
  // 1e-7 au/day). The adaptive steps of the runs differ, which leaves up to some 1.5e-5 of the
  // largest partial as noise in the differences; a missing term of the gradient (the Sun's
  // alone is 1 in the partials' scale) would stand far out of it.
  const ElementSet el = {1.458, 0.2227, 0.189, 3.12, 5.31, 1.0};
  const detail::State6 y0 = detail::elements_to_state(el);
  const double t0 = 2457500.5;
  const double times[2] = {t0 + 400.0, t0 - 400.0};
  const detail::PlanetTable planets(t0 - 401.0, t0 + 401.0);
  for (MotionModel model : {MotionModel::perturbed, MotionModel::two_body}) {
    const auto base = detail::propagate(model, t0, y0, times, planets);
    const double step[6] = {1e-5, 1e-5, 1e-5, 1e-7, 1e-7, 1e-7};
    for (std::size_t c = 0; c < 6; ++c) {
      detail::State6 plus = y0, minus = y0;
      plus[c] += step[c];
      minus[c] -= step[c];
      const auto a = detail::propagate(model, t0, plus, times, planets);
      const auto b = detail::propagate(model, t0, minus, times, planets);
      for (std::size_t k = 0; k < 2; ++k)
        for (std::size_t i = 0; i < 6; ++i) {
          const double numeric = (a[k].state[i] - b[k].state[i]) / (2.0 * step[c]);
          const double scale = i < 3 ? (c < 3 ? 1.0 : 400.0) : (c < 3 ? 1.0 / 400.0 : 1.0);
          const double partial = base[k].partials[6 * i + c];
          EXPECT_NEAR(partial, numeric, 5e-5 * std::max(scale, std::abs(partial)))
              << "model " << static_cast<int>(model) << " t " << times[k] << " d" << i << "/d" << c;
        }
    }
  }
}

TEST(Propagate, ElementsAndStateRoundTrip) {
  const ElementSet el = {2.7668073, 0.0757973, 10.59398 * std::numbers::pi / 180,
                         72.29213 * std::numbers::pi / 180, 80.32762 * std::numbers::pi / 180,
                         10.55761 * std::numbers::pi / 180};
  const ElementSet back = detail::state_to_elements(detail::elements_to_state(el));
  for (std::size_t k = 0; k < 6; ++k) EXPECT_NEAR(back[k], el[k], 1e-9) << k;
}

// A state within the radius of a body ends the integration with a message naming it, and
// whichever way it goes: the Sun's radius is 0.00465 au, the Earth's 4.26e-5 au (taken about
// the Earth-Moon barycentre of eraPlan94).
TEST(Propagate, AStateWithinTheSunOrAPlanetEndsTheIntegration) {
  const double t0 = 2457530.5;
  const detail::PlanetTable planets(t0 - 10, t0 + 10);
  const Vector3 emb = planets.positions(t0)[2];
  struct Case {
    detail::State6 y0;
    double to;
    const char* body;
  };
  const Case cases[] = {
      {{0.003, 0.0, 0.0, 0.0, 0.001, 0.0}, t0 + 5, "the Sun"},
      {{0.003, 0.0, 0.0, 0.0, 0.001, 0.0}, t0 - 5, "the Sun"},
      {{emb[0] + 2e-5, emb[1], emb[2], 0.0, 0.017, 0.0}, t0 + 1, "the Earth"},
      {{emb[0], emb[1] - 3e-5, emb[2], 0.0, 0.017, 0.0}, t0 - 1, "the Earth"},
  };
  for (const Case& c : cases) {
    const double times[1] = {c.to};
    try {
      detail::propagate(MotionModel::perturbed, t0, c.y0, times, planets);
      ADD_FAILURE() << c.body << ": no error";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.body), std::string::npos) << e.what();
    }
  }
}

// The budget is charged with every evaluation of the motion: 13 two-body propagations per
// instant, one unit per evaluation of the perturbed equations (8 outside the planets'
// table); the results are those of a call without a budget, and a budget too small for the
// call ends it by WorkLimitReached.
TEST(Propagate, WorkIsChargedToTheBudgetAndEndsItThere) {
  const ElementSet el = {1.4579, 0.22266, 0.189, 3.12, 5.31, 2.6};
  const detail::State6 y0 = detail::elements_to_state(el);
  const double t0 = 2457530.5;
  const std::vector<double> times = {t0 - 40, t0 - 3, t0 + 7, t0 + 60};
  const detail::PlanetTable table(t0 - 40, t0 + 60);

  detail::WorkBudget two_body(1000);
  detail::propagate(MotionModel::two_body, t0, y0, times, table, &two_body);
  EXPECT_EQ(two_body.used(), 13 * 4);

  detail::WorkBudget in_table(1'000'000), direct(1'000'000);
  const auto with = detail::propagate(MotionModel::perturbed, t0, y0, times, table, &in_table);
  const auto without = detail::propagate(MotionModel::perturbed, t0, y0, times, table);
  detail::propagate(MotionModel::perturbed, t0, y0, times, detail::PlanetTable(), &direct);
  for (std::size_t k = 0; k < times.size(); ++k) EXPECT_EQ(with[k].state, without[k].state) << k;
  EXPECT_GT(in_table.used(), 60);  // a few steps of 6 evaluations over 100 days
  EXPECT_LT(in_table.used(), 20000);
  EXPECT_NEAR(static_cast<double>(direct.used()) / static_cast<double>(in_table.used()),
              static_cast<double>(detail::kDirectEphemerisUnits), 1.0);

  detail::WorkBudget small(in_table.used() - 1);
  EXPECT_THROW(detail::propagate(MotionModel::perturbed, t0, y0, times, table, &small),
               detail::WorkLimitReached);
  detail::WorkBudget exact(in_table.used());
  EXPECT_NO_THROW(detail::propagate(MotionModel::perturbed, t0, y0, times, table, &exact));
}

}  // namespace
}  // namespace astro
