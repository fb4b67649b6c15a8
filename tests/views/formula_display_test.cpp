#include "views/formula_display.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tests/views/fixture.h"
#include "views/modes.h"

namespace views {

void PrintTo(const ColorSpan& s, std::ostream* os) { *os << "{" << s.start << "," << s.length << "," << s.color << "}"; }

namespace {

using ::testing::ElementsAre;
using testing::Lines;
using testing::Load;

TEST(FormulaDisplayTest, EventRowShowsItsLinesAndTranslation) {
  const auto m = Load(Lines({"#Events", "$Formula: ( when", "   ( true )", "   ( do-nothing ) )", "+Name: Intro",
                             "$Formula: ( true )", "+Name: Second"}));
  const ListData events = FillMode(kModeEvents, m);
  ASSERT_EQ(events.rows.size(), 2u);
  const FormulaTexts texts = ReadRowFormula(m.Sections(), events.rows[0]);
  EXPECT_EQ(texts.sexp, u"( when\r\n   ( true )\r\n   ( do-nothing ) )");
  // The row's name reaches the translator; "If" and "Then" are coloured.
  EXPECT_NE(texts.parsed.find(u"MissionStatus.Event(\"Intro\")=True"), Text::npos) << mission::ToUtf8(texts.parsed);
  EXPECT_EQ(texts.parsed.find(u"Second"), Text::npos);
  const auto spans = ColorSpans(texts.parsed);
  EXPECT_TRUE(std::any_of(spans.begin(), spans.end(), [](const ColorSpan& s) { return s.color == kColorRed; }));
  EXPECT_EQ(ReadRowFormula(m.Sections(), events.rows[1]).sexp, u"( true )");
}

TEST(FormulaDisplayTest, GoalRowPassesItsMessageAsTheName) {
  // The cleaned message: any id goes.
  const auto m = Load(Lines({"#Goals", "$Type: Primary", "+Name: G", "$MessageNew: XSTR(\"Keep it\", 522)",
                             "$Formula: ( when ( true ) ( do-nothing ) )"}));
  const ListData goals = FillMode(kModeGoals, m);
  ASSERT_EQ(goals.rows.size(), 1u);
  EXPECT_EQ(goals.rows[0].tag, u"1,4");
  const FormulaTexts texts = ReadRowFormula(m.Sections(), goals.rows[0]);
  EXPECT_EQ(texts.sexp, u"( when ( true ) ( do-nothing ) )");
  EXPECT_NE(texts.parsed.find(u"MissionStatus.Event(\"Keep it\")=True"), Text::npos) << mission::ToUtf8(texts.parsed);
}

TEST(FormulaDisplayTest, ReaderErrorsShowWithTheConsumedLines) {
  const auto m = Load(Lines({"#Events", "$Formula: ( true ) )", "+Name: Surplus", "$Formula:( when", "( true )",
                             "+Name: Unclosed"}));
  const auto& sections = m.Sections();
  const FormulaTexts surplus = ReadRowFormula(sections, u"4,1", u"Surplus");
  EXPECT_EQ(surplus.sexp, u"( true ) )");
  EXPECT_EQ(surplus.parsed, u"<Error in formular: too many ')' brackets>");
  // Open to the end of the slot: every line from the start is consumed, and
  // without the blank after the colon nothing is removed from the first.
  const FormulaTexts unclosed = ReadRowFormula(sections, u"4,3", u"Unclosed");
  EXPECT_EQ(unclosed.sexp, u"$Formula:( when\r\n( true )\r\n+Name: Unclosed");
  EXPECT_EQ(unclosed.parsed, u"<Error in formular: missing ')' brackets>");
  // Open with another formula after it: the formula's own lines only, and
  // the next formula is read as usual.
  const auto two = Load(Lines({"#Events", "$Formula: ( when", "( true )", "+Name: Open", "$Formula: ( true )",
                               "+Name: Next"}));
  const FormulaTexts open = ReadRowFormula(two.Sections(), u"4,1", u"Open");
  EXPECT_EQ(open.sexp, u"( when\r\n( true )\r\n+Name: Open");
  EXPECT_EQ(open.parsed, u"<Error in formular: missing ')' brackets>");
  EXPECT_EQ(ReadRowFormula(two.Sections(), u"4,4", u"Next").sexp, u"( true )");
}

TEST(FormulaDisplayTest, ReferenceOutsideItsSlotLeavesBothTextsEmpty) {
  const auto m = Load(Lines({"#Events", "$Formula: ( true )", "+Name: E"}));
  for (const char16_t* tag : {u"4,0", u"4,3", u"4,-1", u"4", u"0,1", u"21,1", u"-4,1", u"x,y", u"4,99999999999",
                              u"10,1"}) {
    const FormulaTexts texts = ReadRowFormula(m.Sections(), tag, u"E");
    EXPECT_EQ(texts.sexp, u"") << mission::ToUtf8(tag);
    EXPECT_EQ(texts.parsed, u"") << mission::ToUtf8(tag);
  }
  EXPECT_EQ(ReadRowFormula(m.Sections(), u" 4 , 1 ", u"E").sexp, u"( true )");
  EXPECT_FALSE(HasFormulaReference(u" "));
  EXPECT_TRUE(HasFormulaReference(u"4,0"));
}

TEST(ColorSpansTest, EveryOccurrenceCaseSensitiveInColouringOrder) {
  const Text parsed = u"If a And b\r\nThen Ship(\"x\").ChangeIff(1)\r\nOr\r\nNot And\r\nif OR Or And";
  EXPECT_THAT(ColorSpans(parsed),
              ElementsAre(ColorSpan{0, 2, kColorRed}, ColorSpan{33, 2, kColorRed},  // "If", also in ChangeIff
                          ColorSpan{49, 5, kColorGreen},                            // "And" CR LF
                          ColorSpan{5, 4, kColorGreen},                             // "And "
                          ColorSpan{45, 4, kColorGreen},                            // "Not "
                          ColorSpan{41, 4, kColorGreen},                            // "Or" CR LF only
                          ColorSpan{12, 4, kColorRed}));                            // "Then"
  EXPECT_TRUE(ColorSpans(u"").empty());
}

TEST(ColorSpansTest, FreeSpaceOpenTranslationColoursItsOwnKeyWordsToo) {
  const Text parsed = u"For any Argument in (\"A\")\r\nEvery time\r\n True\r\nElse If\r\nXor\r\n";
  const std::vector<ColorSpan> original = ColorSpans(parsed);
  EXPECT_THAT(original, ElementsAre(ColorSpan{51, 2, kColorRed}));  // "If" only
  EXPECT_THAT(ColorSpans(parsed, sexp::OperatorSet::kFreeSpaceOpen),
              ElementsAre(ColorSpan{51, 2, kColorRed},     // "If"
                          ColorSpan{46, 4, kColorRed},     // "Else"
                          ColorSpan{27, 10, kColorRed},    // "Every time"
                          ColorSpan{0, 4, kColorRed},      // "For "
                          ColorSpan{55, 5, kColorGreen}))  // "Xor" CR LF
      << mission::ToUtf8(parsed);
}

TEST(FormulaDisplayTest, CountsTheLinesLeftAsUnknownCommand) {
  const std::pair<Text, std::size_t> cases[] = {
      {u"", 0},
      {u" True", 0},
      {u" #UnknownCommand =", 1},
      {u"If\r\n #UnknownCommand =\r\nThen\r\n #UnknownCommand lua-x\r\n #UnknownCommand ", 3},
      {u" #UnknownCommand a #UnknownCommand b\r\n", 1},  // one line, counted once
  };
  for (const auto& [parsed, lines] : cases) EXPECT_EQ(UnknownCommandLines(parsed), lines) << mission::ToUtf8(parsed);
}

TEST(ColorSpansTest, SearchGoesOnFromOnePastEachMatch) {
  EXPECT_THAT(FindAll(u"aaaa", u"aa"), ElementsAre(0u, 1u, 2u));
  EXPECT_TRUE(FindAll(u"abc", u"").empty());
  EXPECT_TRUE(FindAll(u"", u"a").empty());
}

TEST(TreeLinksTest, NodeClickTargets) {
  struct Case {
    const char16_t* tag;
    bool clicks;
    NodeTarget target;
  };
  const Case cases[] = {
      {u"4", true, {4, 0}},          {u"4,3", true, {4, 3}},       {u" 6 , 2 ", true, {6, 2}},
      {u"0", false, {}},             {u"0,2", false, {}},          {u"", false, {}},
      {u"-1,2", false, {}},          {u"9,1", false, {}},          {u"2,-5", true, {2, 0}},
      {u"2,99999999999", true, {2, 2147483647}},
  };
  for (const Case& c : cases) {
    const auto target = NodeClickTarget(c.tag);
    ASSERT_EQ(target.has_value(), c.clicks) << mission::ToUtf8(c.tag);
    if (!target) continue;
    EXPECT_EQ(target->mode, c.target.mode) << mission::ToUtf8(c.tag);
    EXPECT_EQ(target->row, c.target.row) << mission::ToUtf8(c.tag);
  }
}

// Each node carries the mode that lists its section: the section's tag is
// the mode, an entry's and its fields' tag the mode and the entry's number.
TEST(TreeLinksTest, NodeTagsCarryTheModeOfTheirSection) {
  const std::pair<std::string, std::string> cases[] = {
      {"#Mission Info", "1"}, {"#Music", "1"},  {"#Goals", "2"},   {"#Events", "4"},         {"#Messages", "5"},
      {"#Objects", "6"},      {"#OBJECTS", "6"}, {"#Wings", "7"},  {"#Reinforcements", "8"}, {"#Players", "0"},
      {"#Briefing", "0"},     {"#Events ", "0"},
  };
  for (const auto& [header, mode] : cases) {
    const auto m = Load(Lines({header, "$Name: A", "+Field: x", "$Name: B"}));
    std::vector<std::string> tags;
    for (std::size_t i = 0; i < m.Tree().Size(); ++i) tags.push_back(mission::ToUtf8(NodeTag(m.Tree(), i)));
    EXPECT_EQ(tags, (std::vector<std::string>{mode, mode + ",1", mode + ",1", mode + ",2"})) << header;
  }
  EXPECT_EQ(mission::ToUtf8(NodeTag(Load("#\n").Tree(), 0)), "0");
}

TEST(TreeLinksTest, FirstNodeInTreeOrderWins) {
  const auto m = Load(Lines({"#Goals", "$Type: Primary", "+Name: G1", "$Formula: ( true )", "$Type: Secondary",
                             "+Name: G2", "#Briefing", "$Name: B", "#Goals", "+Name: G3"}));
  const mission::OutlineTree& tree = m.Tree();
  const TreeLinks links(tree);
  const auto text = [&](std::optional<std::uint32_t> node) {
    return node ? mission::ToUtf8(tree.NodeText(*node)) : std::string("(none)");
  };
  EXPECT_EQ(text(links.ModeNode(2)), "Goals");
  EXPECT_EQ(text(links.ModeNode(0)), "Briefing");
  EXPECT_EQ(text(links.ModeNode(4)), "(none)");
  EXPECT_EQ(text(links.RowNode(2, 1)), "Name: G1");  // not G3 of the repeated block
  EXPECT_EQ(text(links.RowNode(2, 2)), "Name: G2");
  EXPECT_EQ(text(links.RowNode(2, 3)), "(none)");
  EXPECT_EQ(text(links.RowNode(2, 0)), "(none)");
  EXPECT_EQ(text(links.RowNode(0, 1)), "Name: B");
  EXPECT_EQ(text(links.RowNode(9, 1)), "(none)");
  EXPECT_EQ(RowNodeTag(4, 3), u"4,3");
}

// The index must agree with walking the tree and comparing tag texts.
TEST(TreeLinksTest, AgreesWithAWalkOverTheSampleTree) {
  std::ifstream in(std::string(TORVEK_SOURCE_DIR) + "/samples/sample.fs2", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const auto m = Load(bytes.str());
  const mission::OutlineTree& tree = m.Tree();
  ASSERT_GT(tree.Size(), 20u);
  const TreeLinks links(tree);
  const auto walk = [&](const Text& tag) -> std::optional<std::uint32_t> {
    for (std::uint32_t i = 0; i < tree.Size(); ++i)
      if (NodeTag(tree, i) == tag) return i;
    return std::nullopt;
  };
  for (int mode = 0; mode <= kModeCount; ++mode) {
    EXPECT_EQ(links.ModeNode(mode), walk(mission::Decimal(mode))) << mode;
    for (std::size_t row = 1; row <= 6; ++row) EXPECT_EQ(links.RowNode(mode, row), walk(RowNodeTag(mode, row)));
  }
}

}  // namespace
}  // namespace views
