// SPDX-License-Identifier: MIT
#include "driver/dialogue.hpp"

#include <charconv>
#include <exception>
#include <istream>
#include <ostream>
#include <string_view>

#include "core/constants.hpp"
#include "driver/fortran_format.hpp"
#include "textio/lines.hpp"
#include "textio/reads.hpp"
#include "timeutil/timeutil.hpp"

namespace astro {

namespace {

constexpr std::string_view kPrompts[9] = {
    "# zemepisna sirka stanoviste [+DD:MM:SS]: ",
    "# zemepisna delka [+DD:MM:SS]: ",
    "# datum [YYYY/MM/DD]: ",
    "# pocatecni svetovy cas [HH:MM:SS]: ",
    "# casovy krok [HH:MM:SS]: ",
    "# pocet kroku: ",
    "# pocitat s precesi? [0|1] ",
    "# pocitat s nutaci? [0|1] ",
    "# zapocitat refrakci? [0|1] ",
};

bool is_blank(char ch) { return ch == ' ' || ch == '\t'; }

enum class IntegerItem { number, blank_line, invalid };

// The first free-form item of an integer answer: optional sign and decimal digits within
// the 32-bit range. An item that is empty because the line starts with ',' or '/' is 0.
IntegerItem parse_integer_answer(std::string_view line, std::int32_t& value) {
  std::size_t i = 0;
  while (i < line.size() && is_blank(line[i])) ++i;
  if (i == line.size()) return IntegerItem::blank_line;
  if (line[i] == ',' || line[i] == '/') {
    value = 0;
    return IntegerItem::number;
  }
  std::size_t end = i;
  while (end < line.size() && !is_blank(line[end]) && line[end] != ',' && line[end] != '/') ++end;
  const std::string_view item = line.substr(i, end - i);
  const std::size_t sign = item.front() == '+' || item.front() == '-' ? 1 : 0;
  if (item.size() == sign) return IntegerItem::invalid;
  for (std::size_t k = sign; k < item.size(); ++k) {
    if (item[k] < '0' || item[k] > '9') return IntegerItem::invalid;
  }
  // from_chars takes a minus sign but no plus sign; it refuses values beyond 32 bits.
  const char* first = item.data() + (item.front() == '+' ? 1 : 0);
  const auto [ptr, ec] = std::from_chars(first, item.data() + item.size(), value);
  return ec == std::errc{} ? IntegerItem::number : IntegerItem::invalid;
}

class AnswerReader {
 public:
  AnswerReader(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

  void prompt(std::string_view text) { out_ << text << '\n'; }

  // A text answer into an 80-byte buffer, padded with blanks or cut.
  bool read_text(std::string& buffer, bool skip_comments) {
    do {
      ++line_number_;
      out_.flush();
      if (read_record(in_, kAnswerLength, buffer) != LineStatus::ok) return false;
    } while (skip_comments && buffer.front() == '#');
    return true;
  }

  // An integer answer, read from the whole line less one trailing carriage return; lines of
  // only blanks and tabs before it are passed over uncounted.
  bool read_integer(std::int32_t& value) {
    ++line_number_;
    std::string line;
    for (;;) {
      out_.flush();
      if (!std::getline(in_, line)) return false;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      switch (parse_integer_answer(line, value)) {
        case IntegerItem::number:
          return true;
        case IntegerItem::invalid:
          return false;
        case IntegerItem::blank_line:
          break;
      }
    }
  }

  void report_failure() {
    std::string message = "# RIZAR: Chyba pri cteni vstupnich parametru na radku ";
    put_integer(message, line_number_, 2);
    message += ".\n";
    out_ << message;
  }

 private:
  std::istream& in_;
  std::ostream& out_;
  std::int32_t line_number_ = 0;
};

}  // namespace

std::optional<Answers> read_answers(std::istream& in, std::ostream& out) {
  AnswerReader reader(in, out);
  Answers answers;
  for (std::size_t k = 0; k < answers.text.size(); ++k) {
    reader.prompt(kPrompts[k]);
    if (!reader.read_text(answers.text[k], k == 0)) {
      reader.report_failure();
      return std::nullopt;
    }
  }
  std::int32_t* integers[4] = {&answers.nsteps, &answers.precession, &answers.nutation,
                               &answers.refraction};
  for (std::size_t k = 0; k < 4; ++k) {
    reader.prompt(kPrompts[5 + k]);
    if (!reader.read_integer(*integers[k])) {
      reader.report_failure();
      return std::nullopt;
    }
  }
  return answers;
}

RunParameters convert_answers(const Answers& answers, std::ostream& out, bool& well_formed) {
  // READS3 and READS_SPLIT3 as the checked readers, which also tell of a failed field.
  const auto reads3 = [&](const std::string& text) {
    double value = 0;
    if (!read_sexagesimal(strip_comment(text), ":", value, out)) well_formed = false;
    return value;
  };
  const auto reads_split3 = [&](const std::string& text, std::string_view separator, double& a,
                                double& b, double& c) {
    if (!read_split(strip_comment(text), separator, a, b, c, out)) well_formed = false;
  };
  well_formed = true;
  RunParameters p;
  p.phi = reads3(answers.text[0]);
  p.lambda = reads3(answers.text[1]);
  double year = 0, month = 0, day = 0;
  reads_split3(answers.text[2], "/", year, month, day);
  double hour = 0, minute = 0, second = 0;
  reads_split3(answers.text[3], ":", hour, minute, second);
  // A date out of JD's range is reported only after the step has been read too.
  std::exception_ptr out_of_range;
  if (month > 0) {
    day = day + ((second / 3600 + minute / 60) + hour) / 24;
    try {
      p.jd0 = JD(year, month, day);
    } catch (const RangeError&) {
      out_of_range = std::current_exception();
    }
  } else {
    p.jd0 = year;
  }
  p.dt = ((reads3(answers.text[4]) / kPi) * 180) / 24;
  if (out_of_range) std::rethrow_exception(out_of_range);
  p.nsteps = answers.nsteps;
  p.precession = answers.precession;
  p.nutation = answers.nutation;
  p.refraction = answers.refraction;
  return p;
}

RunParameters convert_answers(const Answers& answers, std::ostream& out) {
  bool well_formed = true;
  return convert_answers(answers, out, well_formed);
}

void echo_parameters(const RunParameters& p, std::ostream& out) {
  std::string text;
  text += "# phi = ";
  put_fixed(text, p.phi * kRadToDeg, 9, 5);
  text += " deg\n# lambda = ";
  put_fixed(text, p.lambda * kRadToDeg, 9, 5);
  text += " deg\n# jd0 = ";
  put_fixed(text, p.jd0, 13, 5);
  text += "\n# dt = ";
  put_fixed(text, p.dt, 8, 5);
  text += " day = ";
  put_fixed(text, p.dt * 24, 7, 3);
  text += " hour = ";
  put_fixed(text, p.dt * 1440, 8, 2);
  text += " min = ";
  put_fixed(text, p.dt * 86400, 7, 0);
  text += " sec\n# nsteps = ";
  put_integer(text, p.nsteps, 4);
  text += "\n# precession = ";
  put_integer(text, p.precession, 1);
  text += "\n# nutation = ";
  put_integer(text, p.nutation, 1);
  text += "\n# refraction = ";
  put_integer(text, p.refraction, 1);
  text += '\n';
  out << text;
}

}  // namespace astro
