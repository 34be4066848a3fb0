// SPDX-License-Identifier: MIT
// The dialogue: integer answers, text buffers, the echo, and prompts shown before each read.
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "driver/dialogue.hpp"
#include "driver/program.hpp"

namespace astro {
namespace {

const std::string kTextAnswers = "50\n14\n2026/06/09\n12:00:00\n01:00:00\n";

// Reads the answers from text; the dialogue's own output is dropped.
std::optional<Answers> answers_from(const std::string& text, std::string* output = nullptr) {
  std::istringstream in(text);
  std::ostringstream out;
  auto answers = read_answers(in, out);
  if (output) *output = out.str();
  return answers;
}

TEST(IntegerAnswers, AcceptedForms) {
  struct Case {
    const char* line;
    std::int32_t want;
  };
  const Case cases[] = {{"007", 7},         {"+5", 5},           {"-3", -3},
                        {"5/", 5},          {"5,6", 5},          {"/", 0},
                        {"  ,", 0},         {"\t12\tx", 12},     {"2147483647", 2147483647},
                        {"-2147483648", -2147483647 - 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto answers = answers_from(kTextAnswers + c.line + "\n1\n1\n1\n");
    ASSERT_TRUE(answers.has_value());
    EXPECT_EQ(answers->nsteps, c.want);
  }
}

TEST(IntegerAnswers, ReadFailures) {
  for (const char* line : {"2147483648", "-2147483649", "+-5", "5.0", "-", "+", "#1", "1e3", "x"}) {
    SCOPED_TRACE(line);
    std::string output;
    EXPECT_FALSE(answers_from(kTextAnswers + line + "\n1\n1\n1\n", &output).has_value());
    EXPECT_NE(output.find("# RIZAR: Chyba pri cteni vstupnich parametru na radku  6.\n"),
              std::string::npos);
  }
}

TEST(IntegerAnswers, BlankLinesArePassedOverUncounted) {
  std::string output;
  EXPECT_FALSE(answers_from(kTextAnswers + "\n \t\n\r\n", &output).has_value());
  EXPECT_NE(output.find("na radku  6.\n"), std::string::npos) << output;
}

TEST(TextAnswers, BuffersAreEightyBytesWithOneCarriageReturnDropped) {
  const std::string long_line(200, 'y');
  const auto answers =
      answers_from("ab\r\r\n" + long_line + "\ndate\r\n\ntime\n1\n0\n0\n0\n");
  ASSERT_TRUE(answers.has_value());
  EXPECT_EQ(answers->text[0], "ab\r" + std::string(77, ' '));
  EXPECT_EQ(answers->text[1], std::string(80, 'y'));
  EXPECT_EQ(answers->text[2], "date" + std::string(76, ' '));
  EXPECT_EQ(answers->text[3], std::string(80, ' '));  // an empty text answer is an answer
}

TEST(TextAnswers, CommentLinesAreSkippedBeforeTheFirstAnswerOnly) {
  std::string output;
  const auto answers = answers_from("#a\n#b\n50\n#c\n2026/06/09\n12:00:00\n01:00:00\n1\n0\n0\n0\n", &output);
  ASSERT_TRUE(answers.has_value());
  EXPECT_EQ(answers->text[0].substr(0, 3), "50 ");
  EXPECT_EQ(answers->text[1].substr(0, 3), "#c ");
  // One prompt each: skipped comment lines get no new prompt.
  EXPECT_EQ(output.find("# zemepisna sirka"), output.rfind("# zemepisna sirka"));
}

TEST(Echo, FieldsOverflowIntoAsterisks) {
  RunParameters p;
  p.phi = -0.0;
  p.jd0 = 1e30;
  p.dt = 2.5 / 86400;  // 2.5 s: the seconds field rounds the tie to even
  p.nsteps = 10000;
  p.precession = 10;
  p.nutation = -1;
  p.refraction = 1;
  std::ostringstream out;
  echo_parameters(p, out);
  EXPECT_EQ(out.str(),
            "# phi =  -0.00000 deg\n"
            "# lambda =   0.00000 deg\n"
            "# jd0 = *************\n"
            "# dt =  0.00003 day =   0.001 hour =     0.04 min =      2. sec\n"
            "# nsteps = ****\n"
            "# precession = *\n"
            "# nutation = *\n"
            "# refraction = 1\n");
}

// An output buffer that shows text only when flushed, and an input buffer that notes what
// was shown each time the program waits for input: what a person at a terminal would see.
class ShownOnFlush : public std::stringbuf {
 public:
  std::string shown;

 protected:
  int sync() override {
    shown = str();
    return 0;
  }
};

class WatchingInput : public std::streambuf {
 public:
  WatchingInput(std::string text, const ShownOnFlush& screen) : text_(std::move(text)), screen_(screen) {}
  std::vector<std::string> seen_at_each_wait;

 protected:
  int_type underflow() override {
    if (pos_ >= text_.size()) return traits_type::eof();
    seen_at_each_wait.push_back(screen_.shown);
    // Hand over one line at a time, as a terminal does.
    const auto end = text_.find('\n', pos_);
    const auto next = end == std::string::npos ? text_.size() : end + 1;
    line_ = text_.substr(pos_, next - pos_);
    pos_ = next;
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(line_[0]);
  }

 private:
  std::string text_, line_;
  std::size_t pos_ = 0;
  const ShownOnFlush& screen_;
};

TEST(Program, EachPromptIsShownBeforeTheProgramWaits) {
  ShownOnFlush screen;
  std::ostream out(&screen);
  WatchingInput input(kTextAnswers + "0\n1\n1\n1\n\n", screen);
  std::istream in(&input);
  EXPECT_EQ(run(in, out), 0);
  const char* last_prompts[] = {
      "[+DD:MM:SS]: \n", "[+DD:MM:SS]: \n", "[YYYY/MM/DD]: \n", "[HH:MM:SS]: \n",
      "[HH:MM:SS]: \n",  "# pocet kroku: \n", "precesi? [0|1] \n", "nutaci? [0|1] \n",
      "refrakci? [0|1] \n", "# stiskni Enter pro ukonceni\n"};
  ASSERT_EQ(input.seen_at_each_wait.size(), std::size(last_prompts));
  for (std::size_t k = 0; k < std::size(last_prompts); ++k) {
    const std::string& seen = input.seen_at_each_wait[k];
    const std::string want = last_prompts[k];
    EXPECT_EQ(seen.substr(seen.size() - std::min(seen.size(), want.size())), want) << "read " << k;
  }
}

// The exit status tells a complete run from one whose input was bad or missing; the output
// says what went wrong and is the same whatever the status.
TEST(Program, ExitStatus) {
  struct Case {
    const char* label;
    std::string input;
    int status;
    const char* shown;  // a line the output must hold
  };
  const std::string switches = "1\n1\n1\n";
  const Case cases[] = {
      {"complete run", kTextAnswers + "2\n" + switches + "\n", kStatusComplete, "# nsteps =    2\n"},
      {"no steps", kTextAnswers + "0\n" + switches + "\n", kStatusComplete, "# JD (UT)"},
      {"end of input at the closing read", kTextAnswers + "1\n" + switches, kStatusComplete,
       "# stiskni Enter"},
      {"empty input", "", kStatusBadInput, "na radku  1.\n"},
      {"end of input in the dialogue", kTextAnswers + "1\n1\n", kStatusBadInput, "na radku  8.\n"},
      {"integer answer that is not one", kTextAnswers + "ten\n" + switches, kStatusBadInput,
       "na radku  6.\n"},
      {"malformed latitude, table still printed", "50:\n14\n2026/06/09\n12:00:00\n01:00:00\n1\n" + switches,
       kStatusBadInput, "\n2461201.00000 2026  6  9 12  0  0"},
      {"malformed date", "50\n14\n2026/x/09\n12:00:00\n01:00:00\n0\n" + switches, kStatusBadInput,
       "reads: error reading input: 2026/x/09\n"},
      {"malformed step", "50\n14\n2026/06/09\n12:00:00\n1:\n0\n" + switches, kStatusBadInput,
       "reads: error reading input: 1:\n"},
      {"decimal comma and zero first fields are well formed",
       "50,0833\n-0:07:39\n2026/06/09\n12:00:00\n-00:30:00\n1\n" + switches, kStatusComplete,
       "# lambda =  -0.12750 deg\n"},
      {"date out of range", "50\n14\n9999999/01/01\n0\n1\n3\n" + switches, kStatusBadInput,
       "# RIZAR: Okamzik mimo podporovany rozsah.\n"},
      {"instant out of range in the table", "0\n0\n2451545.0\n0\n720000000:00:00\n5\n" + switches,
       kStatusBadInput, "# RIZAR: Okamzik mimo podporovany rozsah.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::istringstream in(c.input);
    std::ostringstream out;
    EXPECT_EQ(run(in, out), c.status);
    EXPECT_NE(out.str().find(c.shown), std::string::npos) << out.str();
  }
}

// An output stream that refuses every byte, as a full disk does.
class RefusingOutput : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(Program, OutputThatCannotBeWrittenIsStatusOne) {
  for (const std::string& input : {kTextAnswers + "3\n1\n1\n1\n\n", std::string("50:\n")}) {
    RefusingOutput refusing;
    std::ostream out(&refusing);
    std::istringstream in(input);
    EXPECT_EQ(run(in, out), kStatusWriteError);
  }
}

}  // namespace
}  // namespace astro
