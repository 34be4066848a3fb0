// SPDX-License-Identifier: MIT
// astro orbit: an orbit fitted by least squares to an object's MPC observations (the orbit
// fit of fit/), printed as a table or as JSON, with the residuals on request.
#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>

#include "cli/command.hpp"
#include "cli/parse.hpp"
#include "fit/orbit_fit.hpp"
#include "textio/reads.hpp"

#ifndef ASTRO_OBSCODES_DEFAULT
#define ASTRO_OBSCODES_DEFAULT "data/mpc/ObsCodes.html"
#endif

namespace astro::cli {

namespace {

struct OrbitArgs {
  std::string file, object, observatories = ASTRO_OBSCODES_DEFAULT, model = "perturbed",
                            epoch, format = "table";
  bool residuals = false;
};

constexpr double kDeg = 180.0 / std::numbers::pi;

// The elements as both formats write them: the JSON key (the sigma's key is "sigma_" and
// it), the table's label, unit and decimals, and the factor from the result's units.
struct ElementColumn {
  const char* json;
  const char* table;
  const char* unit;
  int decimals;
  std::size_t index;
  double scale;
};
constexpr ElementColumn kElementColumns[] = {
    {"a_au", "a", "au", 9, element::a, 1.0},
    {"e", "e", "", 9, element::e, 1.0},
    {"i_deg", "i", "deg", 7, element::i, kDeg},
    {"node_deg", "node", "deg", 7, element::node, kDeg},
    {"peri_deg", "peri", "deg", 7, element::peri, kDeg},
    {"m_deg", "M", "deg", 7, element::M, kDeg},
};

// A JSON string: quotes, backslashes and control characters escaped.
std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

// The shortest text that reads back to the same double; NaN and infinities as null.
std::string json_number(double v) {
  if (!std::isfinite(v)) return "null";
  char buf[40];
  return std::string(buf, put_double(buf, v));
}

std::string format_line(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string format_line(const char* format, ...) {
  char buf[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  return buf;
}

void write_json(const FitResult& r, bool residuals, Output& out) {
  const ElementSet& el = r.elements;
  const ElementSet& s = r.sigmas;
  std::string text = "{";
  const auto key = [&text](const std::string& name, const std::string& value) {
    if (text.size() > 1) text += ", ";
    text += json_string(name) + ": " + value;
  };
  key("object", json_string(r.object));
  key("model", json_string(r.model == MotionModel::two_body ? "two-body" : "perturbed"));
  key("epoch_jd_tt", json_number(r.epoch_jd_tt));
  for (const ElementColumn& c : kElementColumns) key(c.json, json_number(el[c.index] * c.scale));
  for (const ElementColumn& c : kElementColumns)
    key("sigma_" + std::string(c.json), json_number(s[c.index] * c.scale));
  key("rms_arcsec", json_number(r.rms_arcsec));
  key("observations_used", std::to_string(r.observations_used));
  key("observations_rejected", std::to_string(r.observations_rejected));
  key("observations_without_site", std::to_string(r.observations_without_site));
  if (residuals) {
    text += ", \"residuals\": [";
    for (std::size_t k = 0; k < r.residuals.size(); ++k) {
      const FitResidual& x = r.residuals[k];
      text += k == 0 ? "\n" : ",\n";
      text += "{\"jd_utc\": " + json_number(x.jd_utc) +
              ", \"observatory\": " + json_string(x.observatory) +
              ", \"dra_cos_dec_arcsec\": " + json_number(x.dra_cos_dec_arcsec) +
              ", \"ddec_arcsec\": " + json_number(x.ddec_arcsec) +
              ", \"used\": " + (x.used ? "true" : "false") + "}";
    }
    text += "]";
  }
  text += "}\n";
  out.put(text);
}

void write_table(const FitResult& r, bool residuals, Output& out) {
  const ElementSet& el = r.elements;
  const ElementSet& s = r.sigmas;
  out.put(format_line("object        %s\n", r.object.c_str()));
  out.put(format_line("model         %s\n", r.model == MotionModel::two_body ? "two-body" : "perturbed"));
  out.put(format_line("epoch         JD %.5f TT\n", r.epoch_jd_tt));
  out.put("frame         heliocentric, ecliptic and equinox of J2000.0\n");
  for (const ElementColumn& c : kElementColumns)
    out.put(format_line("%-13s %14.*f %-4s +- %.2e\n", c.table, c.decimals, el[c.index] * c.scale,
                        c.unit, s[c.index] * c.scale));
  out.put(format_line("rms           %.3f arcsec\n", r.rms_arcsec));
  out.put(format_line("observations  %zu used, %zu rejected, %zu without an observatory position\n",
                      r.observations_used, r.observations_rejected, r.observations_without_site));
  if (!residuals) return;
  out.put("\n      jd_utc  code  dRAcosDec      dDec  used\n");
  out.put("        days           arcsec    arcsec\n");
  for (const FitResidual& x : r.residuals)
    out.put(format_line("%14.6f  %-4s %10.3f %9.3f  %s\n", x.jd_utc, x.observatory.c_str(),
                        x.dra_cos_dec_arcsec, x.ddec_arcsec, x.used ? "yes" : "no"));
}

int run_orbit(const OrbitArgs& a, CLI::Option* epoch_option, Output& out) {
  FitOptions options;
  if (a.model == "two-body") {
    options.model = MotionModel::two_body;
  } else if (a.model != "perturbed") {
    throw UsageError("--model: cannot use '" + a.model + "'; accepted: two-body, perturbed");
  }
  if (a.format != "table" && a.format != "json")
    throw UsageError("--format: cannot use '" + a.format + "'; accepted: table, json");
  if (epoch_option->count() > 0) {
    double jd = 0.0;
    if (!parse_real(a.epoch, jd) || !std::isfinite(jd) || !(jd >= kFirstJd && jd <= kLastJd))
      throw UsageError("--epoch: cannot use '" + a.epoch +
                       "'; a TT Julian Date of the years 0000-9999, such as 2458276.5");
    options.epoch_jd_tt = jd;
  }
  const FitResult r = fit_orbit_file(a.file, a.object, a.observatories, options);
  // No orbit: run_command writes "astro orbit: " and this to its error stream, status 2.
  if (r.status != FitStatus::ok)
    throw UsageError(a.object + ": " + r.message + " (" + std::string(status_name(r.status)) +
                     ")");
  if (a.format == "json") {
    write_json(r, a.residuals, out);
  } else {
    write_table(r, a.residuals, out);
  }
  return 0;
}

}  // namespace

void add_orbit_command(CLI::App& root, Action& action) {
  auto a = std::make_shared<OrbitArgs>();
  CLI::App* cmd = root.add_subcommand(
      "orbit", "An orbit fitted by least squares to an object's MPC 80-column observations");
  cmd->add_option("file", a->file, "Observation file (MPC 80-column optical format)")->required();
  cmd->add_option("--object", a->object, "Object: its packed number (433 or 00433) or designation")
      ->required();
  cmd->add_option("--observatories", a->observatories,
                  "The MPC's observatory list (ObsCodes.html; default " +
                      std::string(ASTRO_OBSCODES_DEFAULT) + ")");
  cmd->add_option("--model", a->model, "perturbed (the planets, default) or two-body")
      ->type_name("two-body|perturbed");
  CLI::Option* epoch = cmd->add_option(
      "--epoch", a->epoch, "Epoch of the elements, TT Julian Date (default: the middle observation)");
  cmd->add_option("--format", a->format, "table (default) or json")->type_name("table|json");
  cmd->add_flag("--residuals", a->residuals, "Add one line per observation: its residuals");
  cmd->callback([a, epoch, &action] {
    action = [a, epoch](Output& out) { return run_orbit(*a, epoch, out); };
  });
}

}  // namespace astro::cli
