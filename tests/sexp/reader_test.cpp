// The formula reader: gathering lines, preparing and splitting a formula, and
// the word routines the templates use.
#include <gtest/gtest.h>

#include "sexp/formula.h"
#include "sexp/source.h"
#include "tests/sexp/helpers.h"

namespace sexp {
namespace {

using testing::EventsSection;
using testing::Lines;
using testing::U16;
using testing::U8;

// The preparation and the part splitting as the translator runs them on a
// text of its own.
Text PrepareFormula(TextView formula) {
  detail::Workspace work;
  const detail::Source& source = work.Add(Text(formula));
  return Text(detail::Prepare(detail::Span{&source, 0, source.Size()}, work).View());
}

std::vector<Text> SplitFormula(TextView prepared) {
  detail::Workspace work;
  const detail::Source& source = work.Add(Text(prepared));
  std::vector<detail::Span> parts;
  std::vector<Text> texts;
  detail::SplitParts(detail::Span{&source, 0, source.Size()}, work, parts, &texts);
  return texts;
}

struct ReadCase {
  std::vector<std::string> lines;  // the formula's lines and any lines after it
  std::int32_t read;               // lines read
  std::string result;
};

// Reads each case's formula, starting after the lines `before`: what it
// gives and how far it reads.
void ExpectReadings(const std::vector<ReadCase>& cases, const std::vector<std::string>& before = {}) {
  for (const ReadCase& c : cases) {
    std::vector<std::string> lines = before;
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    const mission::Mission m = EventsSection(lines);
    const auto start = static_cast<std::int32_t>(before.size()) + 1;
    std::int32_t next = -1;
    EXPECT_EQ(U8(ReadFormula(u"Ev", testing::Events(m), start, next)), c.result) << c.lines[0];
    EXPECT_EQ(next, start + c.read) << c.lines[0];
  }
}

TEST(ReadFormulaTest, GathersLinesUntilTheBracketsBalance) {
  ExpectReadings({
      {{"$Formula: ( true )"}, 1, " True"},
      {{"$Formula: ( when ", "( true ) ", "( do-nothing ) ", ")", "+Name: Ev"},
       4,
       Lines({"If", " True", "Then", " MissionStatus.Event(\"Ev\")=True"})},
      {{"$Formula: ( true ) )", "( false )"}, 1, "<Error in formular: too many ')' brackets>"},
      // The count is checked only at the end of a line.
      {{"$Formula: ( when ) ) ( (", "( true ) ) )", ")"}, 2, "<Error in formular: too many ')' brackets>"},
      // Runs of spaces collapse everywhere, also across lines and inside quotes.
      {{"$Formula: ( ship-vanish \"A  1\"  ", "  \"B   2\" )"},
       2,
       Lines({" Ship(\"A 1\").VanishWithoutTrace()", " Ship(\"B 2\").VanishWithoutTrace()"})},
      // A line end separates words, also where the lines have no blanks
      // at their ends.
      {{"$Formula: ( ship-vanish \"A\"", "\"B\" )"},
       2,
       Lines({" Ship(\"A\").VanishWithoutTrace()", " Ship(\"B\").VanishWithoutTrace()"})},
  }, {"+Name: before"});
}

// Stored lines have lost their tabs: a formula indented with tabs and
// written without blanks at the line ends (event "Any Turrets 1" of a real
// mission) must not glue the words of two lines together.
TEST(ReadFormulaTest, ALineEndSeparatesWords) {
  ExpectReadings({
      {{"$Formula: ( when", "\t( and ", "\t\t( is-subsystem-destroyed-delay ", "\t\t\t\"Sathanas\" ",
        "\t\t\t\"turret14\" ", "\t\t\t0 ", "\t\t)", "\t\t( is-event-true-delay", "\t\t\t\"However\"", "\t\t\t0",
        "\t\t)", "\t)", "\t( do-nothing )", ")"},
       14,
       Lines({"If", "(", "  Ship(\"Sathanas\").Subsystem(\"turret14\").DestroyedSince>=0", "And",
              "  MissionStatus.Event(\"However\").TrueSince>=0", ")", "", "Then",
              " MissionStatus.Event(\"Ev\")=True"})},
      {{"$Formula: ( send-message", "\"#Cmd\"", "\"High\"", "\"Hi\"", ")"}, 5, " SendMessage(\"#Cmd\",\"Hi\",\"High\")"},
      // Blanks at a line's end and at the next one's start still make one.
      {{"$Formula: ( has-arrived-delay   ", "   0 \"A\" )"}, 2, " Ship(\"A\").ArrivedSince>=0"},
      // Inside a quoted text that goes on into the next line the line end
      // is a blank of the name.
      {{"$Formula: ( send-message \"#Cmd\" \"High\" \"Two", "lines\" )"},
       2,
       " SendMessage(\"#Cmd\",\"Two lines\",\"High\")"},
  });
}

// A bracket between two quotes belongs to a name: it neither makes the
// formula reach further nor splits it. Event and goal names with brackets
// are common in real missions («Phantom lost (before Naxos)»), and script
// calls are written as «"UpdateTarget()"».
TEST(ReadFormulaTest, BracketsInsideQuotedTextsAreText) {
  ExpectReadings({
      {{"$Formula: ( is-event-true-delay \"Phantom lost (before Naxos)\" 0 )"},
       1,
       " MissionStatus.Event(\"Phantom lost (before Naxos)\").TrueSince>=0"},
      {{"$Formula: ( when ", "   ( or ", "      ( is-event-true-delay ", "         \"Phantom lost (before Naxos)\" ",
        "         0 ", "      )", "      ( is-event-true-delay \"NTF retreated\" 0 )", "   )", "   ( do-nothing ) ", ")",
        "+Name: Thiazi departure cue"},
       10,
       Lines({"If", "(", "  MissionStatus.Event(\"Phantom lost (before Naxos)\").TrueSince>=0", "Or",
              "  MissionStatus.Event(\"NTF retreated\").TrueSince>=0", ")", "", "Then",
              " MissionStatus.Event(\"Ev\")=True"})},
      // An opening bracket in a name no longer swallows the event's next lines.
      {{"$Formula: ( when ( true ) ( script-eval \"foo(\" ) ( ship-vanish \"A\" ) )", "+Name: Next", "+Repeat Count: 1"},
       1,
       Lines({"If", " True", "Then", " MissionStatus.Event(\"Ev\")=True", " #UnknownCommand script-eval",
              " Ship(\"A\").VanishWithoutTrace()"})},
      // A closing one no longer ends the formula early.
      {{"$Formula: ( when ( is-event-true-delay \"x)\" 0 )", "( ship-vanish \"A\" ) )"},
       2,
       Lines({"If", " MissionStatus.Event(\"x)\").TrueSince>=0", "Then", " MissionStatus.Event(\"Ev\")=True",
              " Ship(\"A\").VanishWithoutTrace()"})},
      {{"$Formula: ( when ( true ) ( script-eval \"UpdateTarget()\" ) )"},
       1,
       Lines({"If", " True", "Then", " MissionStatus.Event(\"Ev\")=True", " #UnknownCommand script-eval"})},
      // A quoted text opened on one line stays open into the next.
      {{"$Formula: ( send-message \"#Cmd\" \"High\" \"Hi (", "there)\" )"},
       2,
       " SendMessage(\"#Cmd\",\"Hi ( there)\",\"High\")"},
      // One never closed leaves the formula open up to the next formula.
      {{"$Formula: ( is-event-true-delay \"A ) 0 )", "+Name: A", "$Formula: ( true )"},
       2,
       "<Error in formular: missing ')' brackets>"},
      // Outside quotes the brackets count as before.
      {{"$Formula: ( true ) )"}, 1, "<Error in formular: too many ')' brackets>"},
  });
}

TEST(ReadFormulaTest, SkipsTheKeyOfACue) {
  // A cue's key is not part of its formula; the rest of its first line is.
  const mission::Mission m = EventsSection({"$Arrival Cue: ( has-arrived-delay 0 \"A\" )",
                                           "$Departure Cue: ( and", "( true ) ( false ) )", "$Arrival Cue: ( true ) )"});
  std::int32_t next = -1;
  EXPECT_EQ(U8(ReadCue(u"", testing::Events(m), 1, next, 13)), " Ship(\"A\").ArrivedSince>=0");
  EXPECT_EQ(next, 2);
  EXPECT_EQ(U8(ReadCue(u"", testing::Events(m), 2, next, 15)), Lines({"(", "  True", "And", "  False", ")", ""}));
  EXPECT_EQ(next, 4);
  EXPECT_EQ(U8(ReadCue(u"", testing::Events(m), 4, next, 13)), "<Error in formular: too many ')' brackets>");
  // A skip beyond the line leaves nothing of it.
  EXPECT_EQ(U8(ReadCue(u"", testing::Events(m), 1, next, 500)), "");
  // Without the skip the key is read as a word of the formula.
  EXPECT_NE(U8(ReadFormula(u"", testing::Events(m), 1, next)), " Ship(\"A\").ArrivedSince>=0");
}

TEST(ReadFormulaTest, AnOpenCueEndsBeforeTheNextField) {
  // The entry's next field (or the next entry) is not read into a cue left
  // open, even when no "$Formula:" line follows.
  const mission::Mission m = EventsSection({"$Arrival Cue: ( and", "( true )", "+Arrival Distance: 0", "$Name: B",
                                           "( false ) )"});
  std::int32_t next = -1;
  EXPECT_EQ(U8(ReadCue(u"", testing::Events(m), 1, next, 13)), "<Error in formular: missing ')' brackets>");
  EXPECT_EQ(next, 3);
}

TEST(ReadFormulaTest, PreparesAndSplitsAFormula) {
  const std::string formula = "$Formula: ( when ( is-destroyed-delay 0 \"A\" ) ( send-message \"B\" \"High\" \"C\" ) )";
  const Text prepared = PrepareFormula(U16(formula));
  EXPECT_EQ(U8(prepared), " when ( is-destroyed-delay 0 \"A\" ) ( send-message \"B\" \"High\" \"C\" ) ");

  struct Case {
    std::string prepared;
    std::vector<std::string> parts;
  };
  const Case cases[] = {
      {U8(prepared), {" when ", " is-destroyed-delay 0 \"A\" ", "  send-message \"B\" \"High\" \"C\" "}},
      {"< ( hits-left \"A\" ) 50", {"< ", " hits-left \"A\" ", " 50"}},
      {"and ( a ) ( or ( b ) ( c ) ", {"and ", " a ", "  or ( b ) ( c ) "}},
      {"x ( )", {"x ", " "}},
      // Blank stretches and a lone "n/a" lead the next group; a stretch with
      // a value is a part of its own.
      {"( a ) n/a ( b ) c ( d )", {" a ", " n/a  b ", " c ", " d "}},
      {"   ", {}},
      {"a ( b ( c )", {"a ", " b ( c )"}},
      {"a (    ", {"a "}},
      // Below depth 0 a ")" is kept and a "(" is dropped.
      {"a ) b ( c ) ( d )", {"a ) b  c )  d )"}},
      {"a ) ( ( b ) c", {"a )  ", " b ", " c"}},
      {") ) ( x", {") )  x"}},
      // Brackets in quoted texts are part of the words.
      {"is-event-true-delay \"Lost (before Naxos)\" 0", {"is-event-true-delay \"Lost (before Naxos)\" 0"}},
      {"when ( script-eval \"F()\" ) ( x \")(\" )", {"when ", " script-eval \"F()\" ", "  x \")(\" "}},
      {"a \"(\" ( b \")\" ) c", {"a \"(\" ", " b \")\" ", " c"}},
      {"a \"b ( c", {"a \"b ( c"}},
      // Below depth 0 only brackets outside quotes are dropped.
      {"a ) \"(\" ( c )", {"a ) \"(\"  c )"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> parts;
    for (const Text& part : SplitFormula(U16(c.prepared))) parts.push_back(U8(part));
    EXPECT_EQ(parts, c.parts) << c.prepared;
  }
}

TEST(ReadFormulaTest, PreparationRemovesKeyBlanksAndOuterBrackets) {
  const std::pair<std::string, std::string> cases[] = {
      {"$Formula: ( true )", " true "},
      {"  ( a ( b ) )  ", " a ( b ) "},
      {" a ( b ) ", "a ( b "},  // a part: only its last bracket goes
      {"(", ""},
      {")", ""},
      {"()", ""},
      {"x $Formula: y $Formula: z", "x  y $Formula: z"},
      {"$Formula:", ""},
      {"   $Formula:   ( x ) tail", " x ) tail"},
      {"a$Formula:b", "ab"},
      {"( a $Formula: b )", " a  b "},
      // A bracket of a quoted name stays, also in a name left open.
      {"x \"(a)\"", "x \"(a)\""},
      {"( x \"a)", " x \"a)"},
      {"( x \"a\" )", " x \"a\" "},
  };
  for (const auto& [formula, prepared] : cases) EXPECT_EQ(U8(PrepareFormula(U16(formula))), prepared) << formula;
}

TEST(WordTest, NthWordKeepsQuotedNamesWhole) {
  const std::string message = "send-message \"#Cmd A\" \"High\" \"Hi B\"";
  const std::tuple<int, std::string, std::string> cases[] = {
      {3, message, "\"High\""},
      {2, message, "\"#Cmd A\""},
      {5, message, ""},
      {1, "  when ", "when"},
      {0, "when", ""},
      {2, "a  b", ""},   // two spaces give an empty word between them
      {3, "a  b", "b"},
      {2, "a \"b  c\" d", "\"b  c\""},
      {2, "a \"b c", "\"b c"},  // an unterminated quote runs to the end
      {3, "a \"b c", ""},
      {1, "", ""},
  };
  for (const auto& [n, text, word] : cases) EXPECT_EQ(U8(NthWord(n, U16(text))), word) << n << " of " << text;
}

TEST(WordTest, CountOccurrences) {
  EXPECT_EQ(CountOccurrences(u"((a)(b))", u"("), 3);
  EXPECT_EQ(CountOccurrences(u"((a)(b))", u")"), 3);
  EXPECT_EQ(CountOccurrences(u"abc", u"("), 0);
  EXPECT_EQ(CountOccurrences(u"abc", u""), 0);
  EXPECT_EQ(CountOccurrences(u"aaaa", u"aa"), 2);
}

TEST(WordTest, ShipActionList) {
  EXPECT_EQ(U8(ShipActionList(u" ", u"ship-vanish \"A\" \"B\"", u"VanishWithoutTrace()")),
            Lines({" Ship(\"A\").VanishWithoutTrace()", " Ship(\"B\").VanishWithoutTrace()"}));
  EXPECT_EQ(U8(ShipActionList(u" ", u"ship-vanish \"A\" n/a \"B\"", u"X()")), " Ship(\"A\").X()");
  EXPECT_EQ(U8(ShipActionList(u" ", u"ship-vanish", u"X()")), "");
  EXPECT_EQ(U8(ShipActionList(u"--", u"  clear-goals a  ", u"X()")), "--Ship(a).X()");
  EXPECT_EQ(U8(ShipActionList(u"--", u"clear-goals  a", u"X()")), "");  // an empty word ends the list
}

}  // namespace
}  // namespace sexp
