#include "ui/models.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <fstream>
#include <sstream>

#include "ui/qtext.h"
#include "views/formula_display.h"
#include "views/modes.h"

namespace ui {
namespace {

mission::Mission Sample() {
  std::ifstream in(TORVEK_SOURCE_DIR "/samples/sample.fs2", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return mission::ParseMissionBytes(bytes.str());
}

using Fatal = QAbstractItemModelTester::FailureReportingMode;

TEST(Models, ListModelShowsCellsHeadersAndTags) {
  const mission::Mission m = Sample();
  ListModel model;
  QAbstractItemModelTester tester(&model, Fatal::Fatal);
  model.SetList(views::FillMode(views::kModeEvents, m));
  ASSERT_EQ(model.rowCount(), 4);
  EXPECT_EQ(model.columnCount(), 6);
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Name");
  EXPECT_EQ(model.index(1, 1).data().toString(), "Picket down");
  EXPECT_EQ(model.index(0, 0).data(kTagRole).toString(), "4,2");
  model.SetList(views::FillMode(views::kModeShips, m));  // a reset the tester checks as well
  EXPECT_GT(model.rowCount(), 0);
}

TEST(Models, SortModelOrdersByTextIgnoringCase) {
  views::ListData list;
  list.columns = {{u"A", 100}, {u"B", 100}};
  list.rows = {{{u"b", u"2"}, u"t1"}, {{u"C", u"1"}, u""}, {{u"a", u"3"}, u""}};
  ListModel model;
  ListSortModel sorted;
  sorted.setSourceModel(&model);
  QAbstractItemModelTester tester(&sorted, Fatal::Fatal);
  model.SetList(list);
  sorted.sort(0, Qt::AscendingOrder);
  const auto column = [&](int c) {
    QStringList s;
    for (int r = 0; r < sorted.rowCount(); ++r) s << sorted.index(r, c).data().toString();
    return s.join(',');
  };
  EXPECT_EQ(column(0), "a,b,C");
  sorted.sort(1, Qt::AscendingOrder);
  EXPECT_EQ(column(0), "C,b,a");
  // The sort key stays when the list is refilled.
  list.rows.push_back({{u"d", u"0"}, u""});
  model.SetList(list);
  EXPECT_EQ(column(0), "d,C,b,a");

  // A column of numbers sorts by value, decided afresh for each list.
  list.rows = {{{u"a", u"10"}, u""}, {{u"b", u"-1"}, u""}, {{u"c", u" 0"}, u""}, {{u"d", u"2"}, u""}};
  model.SetList(list);
  EXPECT_EQ(column(1), "-1, 0,2,10");
  list.rows.push_back({{u"e", u"1x"}, u""});
  model.SetList(list);
  EXPECT_EQ(column(1), " 0,-1,10,1x,2");
}

// The sort model works the same over a filter over the list, and each
// shown row leads back to its row in the list as filled, and the other way.
TEST(Models, ShownRowsMapToListRowsThroughAnyChain) {
  views::ListData list;
  list.columns = {{u"A", 100}};
  list.rows = {{{u"10"}, u""}, {{u"9"}, u""}, {{u"5"}, u""}, {{u"1"}, u""}};
  ListModel model;
  model.SetList(list);
  QSortFilterProxyModel filter;  // hides "5"
  filter.setSourceModel(&model);
  filter.setFilterRegularExpression(QStringLiteral("^(?!5$)"));
  ListSortModel sorted;
  sorted.setSourceModel(&filter);
  sorted.sort(0, Qt::AscendingOrder);
  ASSERT_EQ(sorted.rowCount(), 3);
  EXPECT_EQ(BaseListModel(&sorted), &model);
  const int expected[] = {3, 1, 0};  // 1, 9, 10 by value
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(ListRowOf(sorted.index(r, 0)), expected[r]) << r;
    EXPECT_EQ(ShownIndexOfListRow(&sorted, expected[r]), sorted.index(r, 0)) << r;
  }
  EXPECT_FALSE(ShownIndexOfListRow(&sorted, 2).isValid());  // filtered out
  EXPECT_FALSE(ShownIndexOfListRow(&sorted, 4).isValid());  // beyond the list
  EXPECT_EQ(ListRowOf({}), -1);
  EXPECT_EQ(ListRowOf(model.index(2, 0)), 2);
}

TEST(Models, OutlineTreeModelMirrorsTheTree) {
  const mission::Mission m = Sample();
  OutlineTreeModel model;
  QAbstractItemModelTester tester(&model, Fatal::Fatal);
  model.SetMission(&m);
  const mission::OutlineTree& tree = m.Tree();
  ASSERT_FALSE(tree.Empty());
  EXPECT_EQ(model.rowCount(), static_cast<int>(tree.Roots().size()));
  std::size_t seen = 0;
  std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
    for (int r = 0; r < model.rowCount(parent); ++r) {
      const QModelIndex i = model.index(r, 0, parent);
      const std::uint32_t node = OutlineTreeModel::NodeOf(i);
      EXPECT_EQ(i.data().toString(), ToQString(tree.NodeText(node)));
      EXPECT_EQ(i.data(kTagRole).toString(), ToQString(views::NodeTag(tree, node)));
      EXPECT_EQ(model.IndexOfNode(node), i);
      EXPECT_EQ(model.parent(i), parent);
      ++seen;
      walk(i);
    }
  };
  walk({});
  EXPECT_EQ(seen, tree.Size());
  model.SetMission(nullptr);
  EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace ui
