#include "views/formula_display.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
      if (tree.NodeTag(i) == tag) return i;
    return std::nullopt;
  };
  for (int mode = 0; mode <= kModeCount; ++mode) {
    EXPECT_EQ(links.ModeNode(mode), walk(mission::Decimal(mode))) << mode;
    for (std::size_t row = 1; row <= 6; ++row) EXPECT_EQ(links.RowNode(mode, row), walk(RowNodeTag(mode, row)));
  }
}

}  // namespace
}  // namespace views
