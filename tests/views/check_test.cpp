// The mission check: one small mission per rule, with the exact lines the
// check reports, and a clean mission that reports nothing. Line numbers in
// the comments are the file's own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mission/mission.h"
#include "tests/views/fixture.h"
#include "views/check.h"

namespace views {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::Lines;
using testing::Load;

// Each problem as «LINE: error: TEXT», the way the command line prints it
// after the file name.
std::vector<std::string> Report(const mission::Mission& m) {
  std::vector<std::string> lines;
  for (const Problem& p : CheckMission(m)) {
    lines.push_back(std::to_string(p.line) + (SeverityOf(p.rule) == Severity::kError ? ": error: " : ": warning: ") +
                    mission::ToUtf8(ProblemText(p)));
  }
  return lines;
}

std::vector<std::string> Report(std::initializer_list<std::string_view> lines) { return Report(Load(Lines(lines))); }

// The sections every fixture below refers to.
const std::string kDeclarations = Lines({
    "#Sexp_variables",          // 1
    "",                         // 2
    "$Variables:",              // 3
    "(",                        // 4
    "\t\t0\t\t\"Counter\"\t\t\"0\"\t\t\"number\"",  // 5
    ")",                        // 6
    "#Objects",                 // 7
    "$Name: Alpha 1",           // 8
    "$Arrival Cue: ( true )",   // 9
    "$Name: Beta 1\t\t;! Object #1",  // 10
    "#Wings",                   // 11
    "$Name: Alpha",             // 12
    "#Messages",                // 13
    "$Name: Intro Message",     // 14
    "#Goals",                   // 15
    "$Type: Primary",           // 16
    "+Name: Protect Alpha",     // 17
    "$Formula: ( true )",       // 18
});

std::vector<std::string> ReportWith(std::initializer_list<std::string_view> events) {
  return Report(Load(kDeclarations + Lines(events)));
}

TEST(CheckTest, CleanMissionReportsNothing) {
  EXPECT_THAT(ReportWith({
                  "#Events",                                                   // 19
                  "$Formula: ( when",                                          // 20
                  "   ( and",                                                  // 21
                  "      ( is-destroyed-delay 0 \"Alpha 1\" \"Beta 1\" )",     // 22
                  "      ( has-arrived-delay 0 \"Alpha\" \"Beta 1\" )",        // 23
                  "      ( is-goal-true-delay \"Protect Alpha\" 0 )",          // 24
                  "      ( is-event-true-delay \"Intro\" 0 )",                 // 25
                  "      ( is-previous-event-true \"Other\" \"Gone\" )",      // 26: previous mission's names
                  "      ( < @Counter[0] 3 ) )",                               // 27
                  "   ( send-message \"#Command\" \"High\" \"Intro Message\" )",  // 28
                  "   ( modify-variable \"@Counter[0]\" ( + @Counter[0] 1 ) )",   // 29
                  "   ( when-argument ( any-of \"Alpha 1\" \"Beta 1\" ) ( true )",  // 30
                  "      ( ship-invulnerable \"<argument>\" ) ) )",            // 31
                  "+Name: Intro",                                              // 32
                  "$Formula: ( when ( true ) ( do-nothing ) )",                // 33: a bracket in a name
                  "+Name: Wait (long)",                                        // 34
                  "$Formula: ( is-event-true \"Wait (long)\" )",                // 35
                  "+Name: Last",                                               // 36
              }),
              IsEmpty());
}

TEST(CheckTest, NamesThatNameNothing) {
  EXPECT_THAT(ReportWith({
                  "#Events",                                         // 19
                  "$Formula: ( when",                                // 20
                  "   ( and",                                        // 21
                  "      ( is-event-true-delay",                     // 22
                  "         \"Nonexistent Event\"",                  // 23
                  "         0 )",                                    // 24
                  "      ( is-goal-true-delay \"No Goal\" 0 )",      // 25
                  "      ( is-destroyed-delay 0 \"Alpha 2\" )",      // 26
                  "      ( has-arrived-delay 0 \"Alpha\" \"Gamma\" ) )",  // 27: a wing, then neither
                  "   ( send-message \"#Command\" \"High\" \"Nothing\" )",  // 28
                  "   ( ship-invulnerable \"Alpha\" ) )",            // 29: a wing is not a ship
                  "+Name: Intro",                                    // 30
                  "$Formula: ( is-event-true \"intro\" )",           // 31
                  "+Name: Case",                                     // 32
              }),
              ElementsAre("23: error: is-event-true-delay: no event named \"Nonexistent Event\"",
                          "25: error: is-goal-true-delay: no goal named \"No Goal\"",
                          "26: error: is-destroyed-delay: no ship or wing named \"Alpha 2\"",
                          "27: error: has-arrived-delay: no ship or wing named \"Gamma\"",
                          "28: error: send-message: no message named \"Nothing\"",
                          "29: error: ship-invulnerable: no ship named \"Alpha\"",
                          "31: warning: is-event-true: \"intro\" matches the event \"Intro\" only when case is ignored"));
}

TEST(CheckTest, NamesInCuesOfShipsAndWings) {
  EXPECT_THAT(Report({
                  "#Objects",                                     // 1
                  "$Name: Alpha 1",                               // 2
                  "$Arrival Cue: ( has-departed-delay 0",        // 3
                  "   \"Alpha 9\" )",                             // 4
                  "$Departure Cue: ( is-destroyed-delay 0 \"alpha 1\" )",  // 5
                  "#Wings",                                       // 6
                  "$Name: Alpha",                                 // 7
                  "$Arrival Cue: ( is-event-true \"Later\" )",    // 8
                  "$Departure Cue: ( false )",                    // 9
              }),
              ElementsAre("4: error: has-departed-delay: no ship or wing named \"Alpha 9\"",
                          "5: warning: is-destroyed-delay: \"alpha 1\" matches the ship \"Alpha 1\" only when case is ignored",
                          "8: error: is-event-true: no event named \"Later\""));
}

TEST(CheckTest, ArgumentCounts) {
  EXPECT_THAT(ReportWith({
                  "#Events",                                              // 19
                  "$Formula: ( when",                                     // 20
                  "   ( is-destroyed-delay )",                            // 21: at least 2
                  "   ( send-message \"#Command\" \"High\" )",            // 22: exactly 3
                  "   ( is-event-true-delay \"Intro\" 0 ( true ) 5 )",    // 23: at most 3, a list counts as one
                  "   ( set-ship-position \"Alpha 1\" 0 0 )",             // 24: an old name, read as set-object-position
                  "   ( do-nothing ( true ) ) )",                         // 25: takes none
                  "+Name: Intro",                                         // 26
              }),
              ElementsAre("21: error: is-destroyed-delay: takes at least 2 arguments, not 0",
                          "22: error: send-message: takes 3 arguments, not 2",
                          "23: error: is-event-true-delay: takes at most 3 arguments, not 4",
                          "24: error: set-ship-position: takes 4 arguments, not 3",
                          "25: error: do-nothing: takes 0 arguments, not 1"));
}

TEST(CheckTest, Variables) {
  EXPECT_THAT(ReportWith({
                  "#Events",                                              // 19
                  "$Formula: ( when",                                     // 20
                  "   ( < @Counter[0] @Missing[1] )",                     // 21
                  "   ( modify-variable \"@counter[0]\" 1 ) )",           // 22
                  "+Name: Intro",                                         // 23
              }),
              ElementsAre("21: error: <: variable \"Missing\" is not declared in #Sexp_variables",
                          "22: warning: modify-variable: variable \"counter\" matches the declared \"Counter\" only "
                          "when case is ignored"));
  // Without any "#Sexp_variables" nothing is declared.
  EXPECT_THAT(Report({"#Events", "$Formula: ( < @Counter[0] 1 )", "+Name: E"}),
              ElementsAre("2: error: <: variable \"Counter\" is not declared in #Sexp_variables"));
}

TEST(CheckTest, Brackets) {
  EXPECT_THAT(Report({
                  "#Objects",                                      // 1
                  "$Name: Alpha 1",                                // 2
                  "#Events",                                       // 3
                  "$Formula: ( when",                              // 4: never closed
                  "   ( true )",                                   // 5
                  "   ( send-message \"#Command\" \"High\" \"M\"",  // 6
                  "+Name: Open",                                   // 7: the formula ends before this line
                  "$Formula: ( when ( true ) ( do-nothing ) ) )",  // 8: closes too often
                  "+Name: Closed Twice",                           // 9
                  "$Formula: ( when ( true )",                     // 10
                  "   ( ship-invulnerable \"Alpha 1\" ) )",       // 11
                  ")",                                             // 12: closes too often, on a later line
                  "+Name: Stray",                                  // 13
                  "$Formula: ( is-destroyed-delay 0 \"A (\" )",    // 14: a bracket in a name counts for nothing
                  "+Name: Quoted",                                 // 15
              }),
              ElementsAre("4: error: $Formula: brackets do not close, 2 \"(\" left open",
                          "6: error: send-message: no message named \"M\"",
                          "8: error: $Formula: brackets close too often, a \")\" closes nothing",
                          "10: error: $Formula: brackets close too often, a \")\" closes nothing",
                          "14: error: is-destroyed-delay: no ship or wing named \"A (\""));
}

TEST(CheckTest, UnknownOperators) {
  EXPECT_THAT(Report({
                  "#Events",                                   // 1
                  "$Formula: ( when",                          // 2
                  "   ( lua-mark-ship \"Alpha 1\" 5 )",        // 3: a mod's operator: not its arguments
                  "   ( IS-EVENT-TRUE \"E\" ) )",              // 4: operators ignore case
                  "+Name: E",                                  // 5
              }),
              ElementsAre("3: warning: lua-mark-ship: unknown operator"));
}

TEST(CheckTest, DuplicateNames) {
  EXPECT_THAT(Report({
                  "#Objects",                          // 1
                  "$Name: Alpha 1",                    // 2
                  "$Name: ALPHA 1  ",                  // 3: case and blanks ignored
                  "#Wings",                            // 4
                  "$Name: Alpha 1",                    // 5: a wing may share a ship's name
                  "$Name: Alpha 1",                    // 6
                  "#Messages",                         // 7
                  "$Name: Hello",                      // 8
                  "$Name:  hello",                     // 9
                  "#Goals",                            // 10
                  "$Type: Primary",                    // 11
                  "+Name: Win",                        // 12
                  "$Type: Primary",                    // 13
                  "+Name: Win",                        // 14
                  "#Events",                           // 15
                  "$Formula: ( true )",                // 16
                  "+Name: Event name",                 // 17
                  "$Formula: ( true )",                // 18
                  "+Name: Event name",                 // 19
                  "$Formula: ( true )",                // 20
                  "+Name: Event name",                 // 21: each later one, against the first
              }),
              ElementsAre("3: warning: duplicate ship name \"ALPHA 1\", first on line 2",
                          "6: warning: duplicate wing name \"Alpha 1\", first on line 5",
                          "9: warning: duplicate message name \"hello\", first on line 8",
                          "14: warning: duplicate goal name \"Win\", first on line 12",
                          "19: warning: duplicate event name \"Event name\", first on line 17",
                          "21: warning: duplicate event name \"Event name\", first on line 17"));
}

// Several problems on one line come in the order they stand.
TEST(CheckTest, OrderByLineThenPosition) {
  const auto m = Load(Lines({
      "#Events",
      "$Formula: ( when ( is-event-true \"B\" ) ( is-event-true \"A\" ) ( bogus ) )",
      "+Name: E",
  }));
  const std::vector<Problem> problems = CheckMission(m);
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(mission::ToUtf8(problems[0].name), "B");
  EXPECT_EQ(mission::ToUtf8(problems[1].name), "A");
  EXPECT_EQ(problems[2].rule, Rule::kUnknownOperator);
  EXPECT_LT(problems[0].column, problems[1].column);
}

// Where the window shows each problem: the list row of the entry, for events
// and goals the row whose formula holds it.
TEST(CheckTest, ProblemsKnowTheirRow) {
  const auto m = Load(Lines({
      "#Objects",                                             // 1
      "$Name: A",                                             // 2
      "$Name: B",                                             // 3
      "$Arrival Cue: ( is-event-true \"X\" )",                // 4: ship row 2
      "#Wings",                                               // 5
      "$Name: W",                                             // 6
      "$Departure Cue: ( is-event-true \"X\" )",              // 7: wing row 1
      "#Goals",                                               // 8
      "$Type: Primary",                                       // 9
      "+Name: G",                                             // 10
      "$Formula: ( is-event-true \"X\" )",                    // 11: goal row 1
      "#Events",                                              // 12
      "$Formula: ( true )",                                   // 13
      "+Name: E1",                                            // 14
      "$Formula: ( is-event-true \"X\" )",                    // 15: event row 2, the name after it
      "+Name: E2",                                            // 16
      "$Formula: ( is-event-true \"X\" )",                    // 17: followed by another formula: no row
      "$Formula: ( true )",                                   // 18
      "+Name: E1",                                            // 19: the event list's row 3
      "#Messages",                                            // 20
      "$Name: M",                                             // 21
      "$Name: M",                                             // 22: message row 2
  }));
  std::vector<std::string> where;
  for (const Problem& p : CheckMission(m)) {
    where.push_back(std::to_string(p.line) + " " + std::to_string(p.mode) + "," + std::to_string(p.row));
  }
  EXPECT_THAT(where, ElementsAre("4 6,2", "7 7,1", "11 2,1", "15 4,2", "17 4,0", "19 4,3", "22 5,2"));
}

TEST(CheckTest, CountsAndSummary) {
  const auto m = Load(Lines({"#Events", "$Formula: ( is-event-true \"e\" ) )", "+Name: E", "+Name: E"}));
  const std::vector<Problem> problems = CheckMission(m);
  const ProblemCounts counts = CountProblems(problems);
  EXPECT_EQ(counts.errors, 1u);
  EXPECT_EQ(counts.warnings, 2u);
  EXPECT_EQ(CountsText(counts), "1 error, 2 warnings");
  EXPECT_EQ(CountsText({2, 1}, 3), "2 errors, 1 warning in 3 missions");
  EXPECT_EQ(CountsText({0, 0}, 1), "0 errors, 0 warnings in 1 mission");
}

// Damaged input: nothing is read beyond the file, nothing is lost.
TEST(CheckTest, DamagedFormulas) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {Lines({"#Events", "$Formula:"}), {}},
      {Lines({"#Events", "$Formula: ( when ( true"}), {"2: error: $Formula: brackets do not close, 2 \"(\" left open"}},
      {Lines({"#Events", "$Formula: ) ( true )"}), {"2: error: $Formula: brackets close too often, a \")\" closes nothing"}},
      {Lines({"#Events", "$Formula: ( \"unclosed name )", "+Name: E"}),
       {"2: error: $Formula: brackets do not close, 1 \"(\" left open"}},
      {Lines({"#Events", "$Formula: ( ( true ) )", "+Name: E"}), {}},
      {Lines({"#Events", "$Formula: ( )", "+Name: E"}), {}},
      {Lines({"#Events", "$Formula: ( true ) ( false )", "+Name: E"}), {}},
      {"#Events\r\n$Formula: ( is-event-true \"\x01\" )", {"2: error: is-event-true: no event named \"\x01\""}},
  };
  for (const auto& [file, expected] : cases) EXPECT_EQ(Report(Load(file)), expected) << file;
}

// The public missions: every one is checked without a crash, and every
// problem points at a line of its file.
TEST(CheckTest, RealMissions) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(TORVEK_SOURCE_DIR) / ".." / "shared" / "missions";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "no real missions at " << folder.string();
  std::size_t missions = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".fs2" && ext != ".fsm") continue;
    mission::Mission m;
    ASSERT_TRUE(mission::LoadFile(entry.path(), m).ok) << entry.path();
    for (const Problem& p : CheckMission(m)) {
      EXPECT_GE(p.line, 1u);
      EXPECT_LE(p.line, m.FileLineCount()) << entry.path();
    }
    ++missions;
  }
  EXPECT_GT(missions, 0u);
}

}  // namespace
}  // namespace views
