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
#include "views/stages.h"

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

// Lists are often divided by entries named «------»: such names hold no
// letter or digit and are no duplicates; names with one still are.
TEST(CheckTest, DividersAreNoDuplicates) {
  EXPECT_THAT(Report({
                  "#Messages",                                  // 1
                  "$Name: ------------------------------",      // 2
                  "$Name: ------------------------------",      // 3: a divider
                  "$Name: =====",                               // 4
                  "$Name:  =====  ",                            // 5: a divider
                  "$Name: \xe2\x80\x94 * \xe2\x80\x94",         // 6: dashes of Windows-1252
                  "$Name: \xe2\x80\x94 * \xe2\x80\x94",         // 7: a divider
                  "$Name: Intro",                               // 8
                  "$Name: intro",                               // 9: a real duplicate
                  "$Name: -- Part 2 --",                        // 10
                  "$Name: -- part 2 --",                        // 11: a digit and letters
              }),
              ElementsAre("9: warning: duplicate message name \"intro\", first on line 8",
                          "11: warning: duplicate message name \"-- part 2 --\", first on line 10"));
}

TEST(CheckTest, LetterOrDigit) {
  const std::pair<std::u16string_view, bool> cases[] = {
      {u"------", false}, {u"=====", false},  {u"", false},       {u"  ~*~  ", false},   {u"\u2014\u2014", false},
      {u"\u00ab\u00bb", false}, {u"\u2550\u2550", false}, {u"-- 2 --", true}, {u"a", true},
      {u"Z", true},       {u"\u00e9", true},  {u"\u03a9", true}, {u"\u00d7\u00f7", false}, {u"\u00aa", true},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(HasLetterOrDigit(name), expected) << mission::ToUtf8(name);
}

// An unknown operator is one problem, on its first use, however often the
// mission uses it (in any case); its uses are counted.
TEST(CheckTest, UnknownOperatorOncePerMission) {
  EXPECT_THAT(Report({
                  "#Events",                                     // 1
                  "$Formula: ( when",                            // 2
                  "   ( lua-mark-ship \"Alpha 1\" )",            // 3: first of three uses
                  "   ( LUA-MARK-SHIP \"Alpha 2\" ) )",          // 4
                  "+Name: A",                                    // 5
                  "$Formula: ( lua-mark-ship \"Beta\" )",        // 6
                  "+Name: B",                                    // 7
                  "$Formula: ( lua-other )",                     // 8: used once
                  "+Name: C",                                    // 9
              }),
              ElementsAre("3: warning: lua-mark-ship: unknown operator (used 3 times)",
                          "8: warning: lua-other: unknown operator"));
}

// "<argument>" only means something inside an operator that supplies it,
// at any depth; anywhere else the event never does what it says.
TEST(CheckTest, ArgumentOutsideItsLoop) {
  const std::pair<std::string_view, std::vector<std::string>> cases[] = {
      {"( when-argument ( any-of \"Alpha 1\" ) ( true ) ( ship-invulnerable \"<argument>\" ) )", {}},
      {"( every-time-argument ( any-of \"Alpha 1\" ) ( true ) ( when ( true ) ( ship-vanish \"<argument>\" ) ) )", {}},
      {"( when ( true ) ( do-for-valid-arguments ( ship-invulnerable \"<argument>\" ) ) )", {}},
      {"( when ( true ) ( ship-invulnerable \"<argument>\" ) )",
       {"20: error: ship-invulnerable: \"<argument>\" outside any when-argument, every-time-argument or "
        "do-for-valid-arguments"}},
      // After its loop has closed, a sibling gets nothing from it.
      {"( when ( true ) ( when-argument ( any-of \"Alpha 1\" ) ( true ) ( do-nothing ) ) ( ship-vanish \"<argument>\" ) )",
       {"20: error: ship-vanish: \"<argument>\" outside any when-argument, every-time-argument or "
        "do-for-valid-arguments"}},
      {"( when ( < <argument> 3 ) ( do-nothing ) )",
       {"20: error: <: \"<argument>\" outside any when-argument, every-time-argument or do-for-valid-arguments"}},
      {"( when ( true ) ( ship-invulnerable \"<Argument>\" ) )", {}},  // only the exact word is the argument
  };
  for (const auto& [formula, expected] : cases) {
    EXPECT_EQ(ReportWith({"#Events", "$Formula: " + std::string(formula), "+Name: E"}), expected) << formula;
  }
  EXPECT_THAT(Report({"#Objects", "$Name: Alpha 1", "$Arrival Cue: ( is-destroyed-delay 0 \"<argument>\" )"}),
              ElementsAre("3: error: is-destroyed-delay: \"<argument>\" outside any when-argument, "
                          "every-time-argument or do-for-valid-arguments"));
}

// The game reads a message list four arguments at a time (sender, priority,
// message, delay) and drops what is left.
TEST(CheckTest, MessageListsInWholeGroups) {
  const std::string group = "\"#Command\" \"High\" \"Intro Message\" 0";
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"( send-message-list " + group + " )", {}},
      {"( send-message-list " + group + " " + group + " )", {}},
      {"( send-message-list " + group + " \"#Command\" \"High\" )",
       {"20: warning: send-message-list: message arguments come in groups of 4 (sender, priority, message, delay); "
        "the last 2 are dropped"}},
      {"( send-message-list " + group + " \"#Command\" \"High\" \"Intro Message\" )",
       {"20: warning: send-message-list: message arguments come in groups of 4 (sender, priority, message, delay); "
        "the last 3 are dropped"}},
      // The chain's first argument, its event, stands before the groups.
      {"( send-message-chain \"Intro\" " + group + " )", {}},
      {"( send-message-chain \"Intro\" " + group + " \"#Command\" )",
       {"20: warning: send-message-chain: message arguments come in groups of 4 (sender, priority, message, "
        "delay); the last one is dropped"}},
      // Too few for one group is a wrong count, not also a short group.
      {"( send-message-list \"#Command\" \"High\" )",
       {"20: error: send-message-list: takes at least 4 arguments, not 2"}},
  };
  for (const auto& [formula, expected] : cases) {
    EXPECT_EQ(ReportWith({"#Events", "$Formula: " + formula, "+Name: Intro"}), expected) << formula;
  }
}

// An XSTR text runs to its closing quote, over lines if need be, but not
// beyond its field; its id is an integer.
TEST(CheckTest, XstrTexts) {
  EXPECT_THAT(Report({
                  "#Mission Info",                              // 1
                  "$Name: XSTR(\"Rescue\", 5)",                   // 2
                  "#Messages",                                  // 3
                  "$Name: A",                                   // 4
                  "$Message: XSTR(\"Two",                       // 5: closed on a later line of its field
                  "lines\", -1)",                               // 6
                  "$end_multi_text",                            // 7
                  "$Name: B",                                   // 8
                  "$Message: XSTR(\"Never closed",              // 9
                  "and on",                                     // 10
                  "$end_multi_text",                            // 11: the field ends first
                  "$Name: C",                                   // 12
                  "$Message: XSTR(\"Cut",                       // 13
                  "+Avi Name: head-01",                         // 14: so does the next field
                  "$Name: D",                                   // 15
                  "$Message: XSTR(\"Bad id\", abc)",              // 16
                  "$Name: E",                                   // 17
                  "$Message: XSTR(\"No id\")",                   // 18
                  "$Name: F",                                   // 19
                  "$Message: XSTR(\"Id below\",",                // 20: the id may follow on the next line
                  "1)",                                         // 21
                  "$Name: G",                                   // 22
                  "$Message: XSTR(\"a\", 1) XSTR(\"b\", 2.5)",     // 23: two on one line
                  "$Name: H",                                   // 24
                  "$Message: XSTR(\"Said \"hi\" twice\", 7)",      // 25: a quote ends the text
                  "$Name: I",                                   // 26
                  "$Message: XSTR(\"Lines of a text may begin",  // 27
                  "$f Alpha: with a colour tag,",               // 28
                  "$count left, a variable,",                   // 29
                  "$Shift-J$ a key or $| the end of a colour\", 3)",  // 30
                  "#Briefing",                                  // 31
                  "$multi_text",                                // 32
                  " XSTR(\"A stage",                            // 33
                  "$b Allied $b update",                        // 34
                  "$num_icons: 0",                              // 35: a field
                  "$Name: J",                                   // 36
                  "$Message: XSTR(\"Open at the end",           // 37
              }),
              ElementsAre("9: warning: XSTR text not closed before its field ends",
                          "13: warning: XSTR text not closed before its field ends",
                          "16: warning: XSTR id \"abc\" is not an integer",
                          "18: warning: XSTR id missing",
                          "23: warning: XSTR id \"2.5\" is not an integer",
                          "25: warning: XSTR text not followed by \",\" and an id",
                          "33: warning: XSTR text not closed before its field ends",
                          "37: warning: XSTR text not closed before its field ends"));
}

// With `unused`, the variables nothing reads or writes and the messages no
// formula sends. A `$Name` in a message's text shows the variable.
TEST(CheckTest, UnusedVariablesAndMessages) {
  const auto m = Load(Lines({
      "#Sexp_variables",                                                      // 1
      "$Variables:",                                                          // 2
      "(",                                                                    // 3
      "0 \"Counter\" \"0\" \"number\"",                                         // 4: read
      "1 \"Shown\" \"0\" \"number\"",                                           // 5: in a message
      "2 \"Written\" \"0\" \"number\"",                                         // 6: written
      "3 \"Idle\" \"0\" \"number\"",                                            // 7: unused
      "4 \"Lead\" \"0\" \"number\"",                                            // 8: begins a line of a text
      ")",                                                                    // 9
      "#Events",                                                              // 10
      "$Formula: ( when ( < @Counter[0] 3 ) ( modify-variable \"@Written[0]\" 1 )",  // 11
      "   ( send-message \"#Command\" \"High\" \"Greeting\" ) )",                   // 12
      "+Name: E",                                                             // 13
      "$Formula: ( when-argument ( any-of \"Listed\" ) ( true )",               // 14
      "   ( send-message \"#Command\" \"High\" \"<argument>\" ) )",                 // 15
      "+Name: F",                                                             // 16
      "#Messages",                                                            // 17
      "$Name: Greeting",                                                      // 18
      "$Message: XSTR(\"You have $Shown kills, $Idl",                         // 19: no variable "Idl"
      "$Lead left\", -1)",                                                   // 20
      "$end_multi_text",                                                      // 21
      "$Name: Listed",                                                        // 22
      "$Message: Hi",                                                         // 23
      "$Name: Never",                                                         // 24
      "$Message: nobody sends this",                                          // 25
  }));
  std::vector<std::string> unused;
  for (const Problem& p : CheckMission(m, {.unused = true, .ignored = {}})) {
    unused.push_back(std::to_string(p.line) + ": " + mission::ToUtf8(ProblemText(p)) + " (" +
                     std::string(InfoOf(p.rule).id) + " " + std::to_string(p.mode) + "," + std::to_string(p.row) +
                     ")");
  }
  EXPECT_THAT(unused, ElementsAre("7: variable \"Idle\" is never read or written (unused-variable 9,4)",
                                  "24: message \"Never\" is never sent (unused-message 5,3)"));
  EXPECT_THAT(Report(m), IsEmpty());  // not asked for
}

// Ignored rules leave their problems out; the others stay.
TEST(CheckTest, IgnoredRules) {
  const auto m = Load(Lines({
      "#Events",
      "$Formula: ( when ( bogus ) ( is-event-true \"Nothing\" ) )",
      "+Name: E",
      "$Formula: ( true )",
      "+Name: E",
  }));
  CheckSettings settings;
  Add(settings.ignored, Rule::kUnknownOperator);
  Add(settings.ignored, Rule::kDuplicateName);
  std::vector<Rule> rules;
  for (const Problem& p : CheckMission(m, settings)) rules.push_back(p.rule);
  EXPECT_THAT(rules, ElementsAre(Rule::kUnknownName));
  EXPECT_EQ(CheckMission(m).size(), 3u);
}

// The ids users write after --ignore, each one rule of its own.
TEST(CheckTest, RuleIds) {
  const std::pair<std::string_view, Severity> ids[] = {
      {"unknown-name", Severity::kError},         {"case-only-name", Severity::kWarning},
      {"argument-count", Severity::kError},       {"undeclared-variable", Severity::kError},
      {"brackets", Severity::kError},             {"unknown-operator", Severity::kWarning},
      {"duplicate-name", Severity::kWarning},     {"argument-outside", Severity::kError},
      {"message-group", Severity::kWarning},      {"xstr", Severity::kWarning},
      {"unused-variable", Severity::kWarning},    {"unused-message", Severity::kWarning},
  };
  RuleSet seen;
  for (const auto& [id, severity] : ids) {
    const std::optional<Rule> rule = RuleOfId(id);
    ASSERT_TRUE(rule) << id;
    EXPECT_EQ(InfoOf(*rule).id, id);
    EXPECT_EQ(SeverityOf(*rule), severity) << id;
    EXPECT_FALSE(InfoOf(*rule).description.empty()) << id;
    EXPECT_FALSE(Holds(seen, *rule)) << id;
    Add(seen, *rule);
  }
  EXPECT_EQ(AllRules().size(), std::size(ids));
  EXPECT_FALSE(RuleOfId("Unknown-Name"));
  EXPECT_FALSE(RuleOfId(""));
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

// The formulas of the briefing and debriefing stages are checked like an
// event's, and every problem in a stage points at the stage's row of its
// view: the row a stage view lists for the stage that holds the line.
TEST(CheckTest, StagesAreCheckedWithTheirRows) {
  const auto m = Load(Lines({
      "#Sexp_variables",                                          // 1
      "$Variables:",                                              // 2
      "(",                                                        // 3
      "0 \"Score\" \"0\" \"number\"",                               // 4: read by a debriefing only
      ")",                                                        // 5
      "#Events",                                                  // 6
      "$Formula: ( true )",                                       // 7
      "+Name: Arrive",                                            // 8
      "#Command Briefing",                                        // 9
      "$Stage Text: XSTR(\"Go\", x)",                               // 10: command briefing row 1
      "$end_multi_text",                                          // 11
      "#Briefing",                                                // 12
      "$start_briefing",                                          // 13
      "$num_stages: 2",                                           // 14
      "$start_stage",                                             // 15
      "$multi_text",                                              // 16
      "Stage one",                                                // 17
      "$end_multi_text",                                          // 18
      "$Formula: ( true )",                                       // 19
      "$start_icon",                                              // 20
      "$label: XSTR(\"Icon\", y)",                                  // 21: briefing row 1
      "$end_icon",                                                // 22
      "$end_stage",                                               // 23
      "$start_stage",                                             // 24
      "$multi_text",                                              // 25
      "Stage two",                                                // 26
      "$end_multi_text",                                          // 27
      "$Formula: ( is-event-true-delay \"Arive\" 0 )",            // 28: briefing row 2
      "$end_stage",                                               // 29
      "$end_briefing",                                            // 30
      "#Briefing",                                                // 31: the second team's
      "$start_briefing",                                          // 32
      "$start_stage",                                             // 33
      "$Formula: ( is-event-true-delay \"arrive\" 0 )",           // 34: briefing row 3
      "$end_stage",                                               // 35
      "#Debriefing_info",                                         // 36
      "$Num stages: 3",                                           // 37
      "$Formula: ( > @Score[0] 10 )",                             // 38: debriefing row 1
      "$Multi text",                                              // 39
      "Well done",                                                // 40
      "$end_multi_text",                                          // 41
      "$Multi text",                                              // 42: row 2, a stage without formula
      "Try again",                                                // 43
      "$end_multi_text",                                          // 44
      "$Formula: ( and ( is-destroyed-delay 0 \"Nobody\" )",      // 45: row 3, unbalanced
      "$Multi text",                                              // 46
      "Cut",                                                      // 47
      "$end_multi_text",                                          // 48
  }));
  std::vector<std::string> where;
  for (const Problem& p : CheckMission(m, {.unused = true, .ignored = {}})) {
    where.push_back(std::to_string(p.line) + ": " + mission::ToUtf8(ProblemText(p)) + " (" + std::to_string(p.mode) +
                    "," + std::to_string(p.row) + ")");
  }
  EXPECT_THAT(where,
              ElementsAre("10: XSTR id \"x\" is not an integer (11,1)", "21: XSTR id \"y\" is not an integer (10,1)",
                          "28: is-event-true-delay: no event named \"Arive\" (10,2)",
                          "34: is-event-true-delay: \"arrive\" matches the event \"Arrive\" only when case is ignored "
                          "(10,3)",
                          "45: $Formula: brackets do not close, 1 \"(\" left open (12,3)",
                          "45: is-destroyed-delay: no ship or wing named \"Nobody\" (12,3)"));
  // The rows are those the stage views list.
  ListData briefing, command, debriefing;
  ModeBriefing(m, briefing);
  ModeCommandBriefing(m, command);
  ModeDebriefing(m, debriefing);
  EXPECT_EQ(briefing.rows.size(), 3u);
  EXPECT_EQ(command.rows.size(), 1u);
  ASSERT_EQ(debriefing.rows.size(), 3u);
  EXPECT_EQ(mission::ToUtf8(debriefing.rows[1].cells[3]), "Try again");
  EXPECT_EQ(mission::ToUtf8(debriefing.rows[2].cells[3]), "Cut");
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
