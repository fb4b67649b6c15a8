// Formulas that are broken or hostile: each gives a defined text, quickly,
// without running out of stack.
#include <gtest/gtest.h>

#include "sexp/formula.h"
#include "tests/sexp/helpers.h"

namespace sexp {
namespace {

using testing::EventsSection;
using testing::Lines;
using testing::U16;
using testing::U8;

std::string Repeat(const std::string& text, std::size_t times) {
  std::string result;
  result.reserve(text.size() * times);
  for (std::size_t i = 0; i < times; ++i) result += text;
  return result;
}

struct Read {
  std::string result;
  std::int32_t next;
};

Read ReadAt(const std::vector<std::string>& lines, std::int32_t start,
            OperatorSet operators = OperatorSet::kOriginal) {
  const mission::Mission m = EventsSection(lines);
  Read r{"", 0};
  r.result = U8(ReadFormula(u"Ev", testing::Events(m), start, r.next, operators));
  return r;
}

std::size_t Count(const std::string& text, const std::string& find) {
  std::size_t count = 0;
  for (std::size_t at = text.find(find); at != std::string::npos; at = text.find(find, at + 1)) ++count;
  return count;
}

TEST(BadInputTest, EachGivesADefinedText) {
  struct Case {
    std::string what;
    std::vector<std::string> lines;
    std::int32_t start;
    std::string result;
    std::int32_t next;
  };
  const std::string too_many = "<Error in formular: too many ')' brackets>";
  const std::string missing = "<Error in formular: missing ')' brackets>";
  const Case cases[] = {
      {"surplus closing bracket", {"$Formula: ( true ) )"}, 1, too_many, 2},
      {"closing before opening, balanced", {"$Formula: ) true ("}, 1, " #UnknownCommand )", 2},
      {"open at the last line", {"$Formula: ( when", "( true )"}, 1, missing, 3},
      {"open at the last line, later start", {"+Name: x", "$Formula: ( when"}, 2, missing, 3},
      // An open formula ends before the next formula's line, known by its
      // first six characters.
      {"open before the next formula", {"$Formula: ( when", "( true )", "+Name: A", "$Formula: ( true )", "+Name: B"},
       1, missing, 4},
      {"open before a bare key", {"$Formula: ( when", "$Formu"}, 1, missing, 2},
      {"open, an indented key is no formula", {"$Formula: ( when", " $Formula: ( true )"}, 1, missing, 3},
      {"empty pair", {"$Formula: ( )"}, 1, "", 2},
      {"empty pair inside", {"$Formula: ( ( ) )"}, 1, " #UnknownCommand ", 2},
      {"empty pairs as operands", {"$Formula: ( when ( ) ( ) )"}, 1,
       Lines({"If", "", "Then", " MissionStatus.Event(\"Ev\")=True", " #UnknownCommand "}), 2},
      {"brackets inside a quoted name", {"$Formula: ( ship-vanish \"A (1)\" \"B\" )"}, 1,
       Lines({" Ship(\"A (1)\").VanishWithoutTrace()", " Ship(\"B\").VanishWithoutTrace()"}), 2},
      {"spaces inside a quoted name", {"$Formula: ( ship-vanish \"A    B\" )"}, 1, " Ship(\"A B\").VanishWithoutTrace()", 2},
      // The quote left open takes the last bracket into the name.
      {"unterminated quote", {"$Formula: ( send-message \"#Cmd \"High\" \"M1\" )"}, 1, missing, 2},
      {"unterminated quote before the next formula",
       {"$Formula: ( send-message \"#Cmd \"High\" \"M1\" )", "+Name: A", "$Formula: ( true )"}, 1, missing, 3},
      {"start beyond the slot", {"$Formula: ( true )"}, 2, "", 2},
      {"start far beyond the slot", {"$Formula: ( true )"}, 1000, "", 1000},
      {"start before the slot", {"$Formula: ( true )"}, 0, "", 0},
      {"slot without lines", {}, 1, "", 1},
      {"no formula at the start", {"+Name: x"}, 1, " #UnknownCommand +Name:", 2},
  };
  for (const Case& c : cases) {
    const Read r = ReadAt(c.lines, c.start);
    EXPECT_EQ(r.result, c.result) << c.what;
    EXPECT_EQ(r.next, c.next) << c.what;
  }
}

TEST(BadInputTest, MissingOperandsCountAsEmpty) {
  const std::pair<std::string, std::string> cases[] = {
      {"( when )", Lines({"If", "", "Then", " MissionStatus.Event(\"Ev\")=True"})},
      {"( not )", " Not"},
      {"( < ( hits-left \"A\" ) )", " Ship(\"A\").Hull < "},
      {"( > )", "  > "},
      {"( send-random-message \"#Cmd\" \"High\" )",
       " InXMilliSeconds(0).SendMessage(\"#Cmd\",ChooseRandomFromList(),\"High\")"},
      {"( is-destroyed-delay 0 )", ""},
      {"( hits-left )", "Ship().Hull"},
  };
  for (const auto& [formula, result] : cases) {
    EXPECT_EQ(ReadAt({"$Formula: " + formula}, 1).result, result) << formula;
  }
}

TEST(BadInputTest, AFormulaOfSeveralMegabytes) {
  // 300,000 ship names on 3,000 lines, about 3 MB.
  std::vector<std::string> lines = {"$Formula: ( ship-vanish"};
  for (int line = 0; line < 3000; ++line) {
    std::string text;
    for (int k = 0; k < 100; ++k) text += " \"Ship " + std::to_string(line * 100 + k) + "\"";
    lines.push_back(text);
  }
  lines.push_back(")");
  const Read r = ReadAt(lines, 1);
  EXPECT_EQ(r.next, 3003);
  const std::string first = " Ship(\"Ship 0\").VanishWithoutTrace()\r\n";
  const std::string last = "\r\n Ship(\"Ship 299999\").VanishWithoutTrace()";
  ASSERT_GT(r.result.size(), first.size() + last.size());
  EXPECT_EQ(r.result.substr(0, first.size()), first);
  EXPECT_EQ(r.result.substr(r.result.size() - last.size()), last);
  std::size_t count = 0;
  for (std::size_t at = r.result.find("VanishWithoutTrace"); at != std::string::npos;
       at = r.result.find("VanishWithoutTrace", at + 1)) {
    ++count;
  }
  EXPECT_EQ(count, 300000u);
}

TEST(BadInputTest, NestingStopsAtLevel1001) {
  const std::string error = "<Error in formular: nested too deeply>";
  // Each "not" translates its operand one level deeper; the reader's call is
  // level 1, so the operand of the thousandth "not" is level 1001.
  for (const std::size_t depth : {999u, 1000u, 100000u}) {
    const std::string formula = Repeat("( not ", depth) + "( true )" + Repeat(" )", depth);
    const std::string want = Repeat(" Not", depth < 1000 ? depth : 1000) + (depth < 1000 ? " True" : error);
    EXPECT_EQ(ReadAt({"$Formula: " + formula}, 1).result, want) << depth;
  }
  // "and" blocks, 100,000 deep: the thousandth block's two operands give the
  // error; nothing deeper is read.
  const std::string nested = Repeat("( and ( true ) ", 100000) + Repeat(")", 100000);
  const std::string result = ReadAt({"$Formula: " + nested}, 1).result;
  std::size_t errors = 0, ands = 0;
  for (std::size_t at = result.find(error); at != std::string::npos; at = result.find(error, at + 1)) ++errors;
  for (std::size_t at = result.find("And\r\n"); at != std::string::npos; at = result.find("And\r\n", at + 1)) ++ands;
  EXPECT_EQ(errors, 2u);
  EXPECT_EQ(ands, 1000u);
}

TEST(BadInputTest, AFormulaThatUsesItsPartsTwiceAtEveryLevelIsTurnedAway) {
  // "not" takes the next part, and the "and" after it takes the same part
  // again: the work doubles at every level.
  std::string formula = "true";
  for (int level = 0; level < 60; ++level) formula = "not ( " + formula + " ) and";
  EXPECT_EQ(ReadAt({"$Formula: ( " + formula + " )"}, 1).result, U8(kTooComplex));
}

// The FreeSpace Open translation reads arguments inside operators and nests
// blocks of actions: the same depth limit, work allowance and linear time.
TEST(BadInputTest, TheFreeSpaceOpenTranslationHasTheSameBounds) {
  constexpr OperatorSet kModern = OperatorSet::kFreeSpaceOpen;
  const std::string error = "<Error in formular: nested too deeply>";
  // Arithmetic 100,000 deep: every level one operand deeper.
  const std::string sums = Repeat("( + 1 ", 100000) + "2" + Repeat(" )", 100000);
  EXPECT_EQ(ReadAt({"$Formula: " + sums}, 1, kModern).result, Repeat("1 + ", 1000) + error);

  // "when" blocks among actions, 100,000 deep: each takes two levels (its
  // own and its actions'), so 500 blocks are written below the formula's
  // own "when"; the condition and the actions of the last give the error.
  const std::string whens = "( when ( true ) " + Repeat("( when ( true ) ", 100000) + "( red-alert )" +
                            Repeat(" )", 100001);
  const std::string nested = ReadAt({"$Formula: " + whens}, 1, kModern).result;
  EXPECT_EQ(Count(nested, error), 2u);
  EXPECT_EQ(Count(nested, "If\r\n"), 501u);
  EXPECT_EQ(nested.find("DoRedAlert"), std::string::npos);

  // 300,000 ships in one list give 300,000 lines.
  std::string ships = "$Formula: ( lock-primary-weapon";
  for (int k = 0; k < 300000; ++k) ships += " \"Ship " + std::to_string(k) + "\"";
  const std::string list = ReadAt({ships + " )"}, 1, kModern).result;
  EXPECT_EQ(Count(list, "\r\n"), 299999u);
  EXPECT_TRUE(list.starts_with(" Ship(\"Ship 0\").LockPrimaryWeapons()\r\n Ship(\"Ship 1\")")) << list.substr(0, 80);
  EXPECT_TRUE(list.ends_with("\r\n Ship(\"Ship 299999\").LockPrimaryWeapons()"));

  // A comparison repeats its first operand for each further one: a long
  // first operand and 100,000 more would write gigabytes.
  const std::string first = "( min" + Repeat(" 1", 10000) + " )";
  EXPECT_EQ(ReadAt({"$Formula: ( = " + first + Repeat(" 2", 100000) + " )"}, 1, kModern).result, U8(kTooComplex));

  // The original's hostile formula is turned away here too.
  std::string doubling = "true";
  for (int level = 0; level < 60; ++level) doubling = "not ( " + doubling + " ) and";
  EXPECT_EQ(ReadAt({"$Formula: ( " + doubling + " )"}, 1, kModern).result, U8(kTooComplex));
}

}  // namespace
}  // namespace sexp
