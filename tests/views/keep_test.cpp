#include "views/keep.h"

#include <gtest/gtest.h>

#include <string>

#include "base/utf8.h"
#include "tests/views/fixture.h"
#include "views/formula_display.h"

namespace views {
namespace {

using testing::Lines;
using testing::Load;

ListData FirstCells(std::initializer_list<const char16_t*> cells) {
  ListData list;
  list.columns.push_back({u"Name", 1000});
  for (const char16_t* cell : cells) list.rows.push_back(Row{{cell, u"x"}, {}});
  return list;
}

TEST(KeepTest, RowFoundByItsFirstCell) {
  const ListData list = FirstCells({u"Alpha", u"Beta", u"Alpha", u"", u"Gamma", u"Alpha"});
  const struct {
    const char16_t* text;
    std::size_t near;
    std::optional<std::size_t> row;
  } cases[] = {
      {u"Beta", 0, 1},   {u"Beta", 99, 1},  // the only one, wherever it was
      {u"Alpha", 0, 0},  {u"Alpha", 3, 2},  {u"Alpha", 4, 5}, {u"Alpha", 99, 5},
      {u"Alpha", 1, 0},  // as near as row 2: the earlier
      {u"", 0, 3},       {u"alpha", 0, std::nullopt}, {u"Delta", 0, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(mission::ToUtf8(c.text) + " near " + std::to_string(c.near));
    EXPECT_EQ(RowWithFirstCell(list, c.text, c.near), c.row);
  }
  EXPECT_EQ(RowWithFirstCell(ListData{}, u"Alpha", 0), std::nullopt);
}

// A row whose first cell is gone leaves the selection at its place, or on
// the last row of a list that has grown shorter.
TEST(KeepTest, RowKeptByItsTextElseByItsPlace) {
  const ListData list = FirstCells({u"Alpha", u"Beta", u"Gamma"});
  const struct {
    const char16_t* text;
    std::size_t row;
    std::optional<std::size_t> kept;
  } cases[] = {
      {u"Gamma", 0, 2}, {u"Alpha", 2, 0},   // moved
      {u"Delta", 1, 1}, {u"Delta", 7, 2},  // renamed, or the list grew shorter
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(mission::ToUtf8(c.text) + " at " + std::to_string(c.row));
    EXPECT_EQ(RowToKeep(list, c.text, c.row), c.kept);
  }
  EXPECT_EQ(RowToKeep(ListData{}, u"Alpha", 0), std::nullopt);
}

// The texts of nodes, one string per node, for readable expectations.
std::vector<std::string> Texts(const mission::OutlineTree& tree, const std::vector<std::uint32_t>& nodes) {
  std::vector<std::string> out;
  for (const std::uint32_t n : nodes) out.push_back(mission::ToUtf8(tree.NodeText(n)) + " " + mission::ToUtf8(NodeTag(tree, n)));
  return out;
}

// The node of `tree` with this text and tag.
std::uint32_t NodeOf(const mission::OutlineTree& tree, std::u16string_view text, std::u16string_view tag) {
  for (std::uint32_t n = 0; n < tree.Size(); ++n) {
    if (tree.NodeText(n) == text && NodeTag(tree, n) == tag) return n;
  }
  ADD_FAILURE() << mission::ToUtf8(text);
  return 0;
}

// Expanded nodes are found again in the file as saved anew: by their texts,
// the second of two entries of the same name as the second, wherever an
// edit has moved them; what is gone is left out.
TEST(KeepTest, NodesFoundAgainByTheirTexts) {
  const mission::Mission before = Load(Lines({
      "#Objects", "$Name: Alpha 1", "$Class: Fighter",  //
      "$Name: Alpha 1", "$Class: Bomber",               //
      "$Name: Beta 1", "$Class: Fighter",               //
      "#Events", "$Formula: ( true )", "+Name: Start",
  }));
  const mission::OutlineTree& old = before.Tree();
  const std::vector<std::uint32_t> expanded = {
      NodeOf(old, u"Objects", u"6"),        NodeOf(old, u"Name: Alpha 1", u"6,2"),
      NodeOf(old, u"Name: Beta 1", u"6,3"), NodeOf(old, u"Class: Bomber", u"6,2"),
      NodeOf(old, u"Events", u"4"),
  };
  const std::vector<NodePath> paths = PathsOfNodes(old, expanded);
  ASSERT_EQ(paths.size(), expanded.size());
  EXPECT_EQ(paths[1], (NodePath{{u"Objects", 0}, {u"Name: Alpha 1", 1}}));
  EXPECT_EQ(paths[3], (NodePath{{u"Objects", 0}, {u"Name: Alpha 1", 1}, {u"Class: Bomber", 0}}));
  EXPECT_EQ(Texts(old, NodesOfPaths(old, paths)), Texts(old, expanded));

  // A ship added in front, Beta 1 renamed, the events gone.
  const mission::Mission after = Load(Lines({
      "#Objects", "$Name: Alpha 1", "$Class: Scout",  //
      "$Name: Alpha 1", "$Class: Fighter",            //
      "$Name: Alpha 1", "$Class: Bomber",             //
      "$Name: Beta 2", "$Class: Fighter",
  }));
  EXPECT_EQ(Texts(after.Tree(), NodesOfPaths(after.Tree(), paths)),
            (std::vector<std::string>{"Objects 6", "Name: Alpha 1 6,2"}));

  // The second Alpha 1 gone: its path leads nowhere, its class with it.
  const mission::Mission fewer = Load(Lines({"#Objects", "$Name: Alpha 1", "$Class: Bomber"}));
  EXPECT_EQ(Texts(fewer.Tree(), NodesOfPaths(fewer.Tree(), paths)), (std::vector<std::string>{"Objects 6"}));

  EXPECT_TRUE(PathsOfNodes(old, {}).empty());
  EXPECT_TRUE(NodesOfPaths(old, std::vector<NodePath>{NodePath{}}).empty());
}

}  // namespace
}  // namespace views
