#include "ui/list/listmodel.h"
#include "ui/outline/outlinemodel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <algorithm>
#include <fstream>
#include <numeric>
#include <sstream>

#include "ui/common/qtext.h"
#include "ui/list/shownrows.h"
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

// The shown column `c`, top to bottom.
QString ShownColumn(const QAbstractItemModel& shown, int c) {
  QStringList s;
  for (int r = 0; r < shown.rowCount(); ++r) s << shown.index(r, c).data().toString();
  return s.join(',');
}

TEST(Models, ShownRowsSortByTextIgnoringCaseOrByValue) {
  views::ListData list;
  list.columns = {{u"A", 100}, {u"B", 100}};
  list.rows = {{{u"b", u"2"}, u"t1"}, {{u"C", u"1"}, u""}, {{u"a", u"3"}, u""}};
  ListModel model;
  ShownRowsModel shown(&model);
  QAbstractItemModelTester tester(&shown, Fatal::Fatal);
  model.SetList(list);
  EXPECT_EQ(ShownColumn(shown, 0), "b,C,a");  // the list's own order until sorted
  shown.SortByColumn(0);
  EXPECT_EQ(ShownColumn(shown, 0), "a,b,C");
  EXPECT_EQ(shown.index(1, 0).data(kTagRole).toString(), "t1");
  shown.SortByColumn(1);
  EXPECT_EQ(ShownColumn(shown, 0), "C,b,a");
  // The sort key stays when the list is refilled.
  list.rows.push_back({{u"d", u"0"}, u""});
  model.SetList(list);
  EXPECT_EQ(ShownColumn(shown, 0), "d,C,b,a");

  // A column of numbers sorts by value, decided afresh for each list; equal
  // keys keep the list's order.
  list.rows = {{{u"a", u"10"}, u""}, {{u"b", u"-1"}, u""}, {{u"c", u" 0"}, u""}, {{u"d", u"2"}, u""},
               {{u"e", u""}, u""}, {{u"f", u"2"}, u""}};
  model.SetList(list);
  EXPECT_EQ(ShownColumn(shown, 0), "e,b,c,d,f,a");
  list.rows.push_back({{u"g", u"1x"}, u""});
  model.SetList(list);
  EXPECT_EQ(ShownColumn(shown, 1), ", 0,-1,10,1x,2,2");  // by text

  // A list without the sort column shows its own order, and is sorted again
  // when a list with that column follows.
  views::ListData narrow;
  narrow.columns = {{u"A", 100}};
  narrow.rows = {{{u"z"}, u""}, {{u"y"}, u""}};
  model.SetList(narrow);
  EXPECT_EQ(ShownColumn(shown, 0), "z,y");
  model.SetList(list);
  EXPECT_EQ(ShownColumn(shown, 1), ", 0,-1,10,1x,2,2");  // by text
}

// A list shown again is shown in the order of the sort column of the
// moment, not in the order it had when it was last shown.
TEST(Models, ShownRowsSortAListShownAgainByTheCurrentColumn) {
  auto first = std::make_shared<const views::ListData>(views::ListData{
      {{u"A", 100}, {u"B", 100}}, {{{u"b", u"1"}, u""}, {{u"c", u"3"}, u""}, {{u"a", u"2"}, u""}}, {}, {}});
  auto second = std::make_shared<const views::ListData>(views::ListData{{{u"A", 100}, {u"B", 100}}, {}, {}, {}});
  ListModel model;
  ShownRowsModel shown(&model);
  model.SetList(first);
  shown.SortByColumn(0);
  EXPECT_EQ(ShownColumn(shown, 0), "a,b,c");
  model.SetList(second);
  shown.SortByColumn(1);
  model.SetList(first);
  EXPECT_EQ(ShownColumn(shown, 0), "b,a,c");
  shown.SortByColumn(0);
  model.SetList(second);
  model.SetList(first);
  EXPECT_EQ(ShownColumn(shown, 0), "a,b,c");
}

// Sorting by text orders the rows as QString's case-insensitive comparison
// does, also beyond ASCII: accents, a sharp s, final sigma, characters
// outside the first plane (folded as whole surrogate pairs), a lone
// surrogate; equal texts keep the list's order.
TEST(Models, TextSortOrdersAsCaseInsensitiveComparison) {
  // Pairs that are equal ignoring case come lower case first, so that an
  // order by code units would swap them.
  const QStringList texts = {
      QStringLiteral("b"),           QStringLiteral("\u00E9cu"),     QStringLiteral("ecu"),
      QStringLiteral("\u00C9CU"),    QStringLiteral("stra\u00DFe"),  QStringLiteral("STRASSE"),
      QStringLiteral("\u03C3\u03C3"), QStringLiteral("\u03A3\u03C2"), QStringLiteral("\U00010428x"),
      QStringLiteral("\U00010400X"), QStringLiteral("\uFF41"),        QStringLiteral("\uFF21"),
      QString(QChar(0xD801)),        QStringLiteral("\uD7FF"),       QStringLiteral(""),
      QStringLiteral("B"),           QStringLiteral("a b"),          QStringLiteral("A_B"),
      QStringLiteral("a0"),          QStringLiteral("Z")};
  views::ListData list;
  list.columns = {{u"Name", 100}};
  for (const QString& text : texts) list.rows.push_back({{FromQString(text)}, u""});
  std::vector<int> expected(list.rows.size());
  std::iota(expected.begin(), expected.end(), 0);
  std::stable_sort(expected.begin(), expected.end(), [&](int l, int r) {
    return texts[l].compare(texts[r], Qt::CaseInsensitive) < 0;
  });
  EXPECT_EQ(SortedRows(list, 0), expected);
  std::vector<int> own(list.rows.size());
  std::iota(own.begin(), own.end(), 0);
  EXPECT_EQ(SortedRows(list, 1), own);  // no such column
}

// Each shown row leads back to its row in the list as filled, and the other
// way, whether the rows are the list's own, sorted, or kept by a text.
TEST(Models, ShownRowsMapToListRowsAndBack) {
  const mission::Mission m = Sample();
  views::ListData list;
  list.columns = {{u"A", 100}};
  list.rows = {{{u"10 ab"}, u""}, {{u"9 b"}, u""}, {{u"5 xy"}, u""}, {{u"1 ab"}, u""}};
  ListModel model;
  ShownRowsModel shown(&model);
  QAbstractItemModelTester tester(&shown, Fatal::Fatal);
  shown.SetMission(&m);
  model.SetList(list);
  EXPECT_EQ(BaseListModel(&shown), &model);

  struct Case {
    int sortColumn;
    const char* text;
    std::vector<int> listRows;  // by shown row
  };
  const Case cases[] = {
      {-1, "", {0, 1, 2, 3}},
      {-1, "B", {0, 1, 3}},
      {0, "B", {3, 0, 1}},  // «1 ab», «10 ab», «9 b» by text
      {0, "", {3, 0, 2, 1}},
      {0, "nowhere", {}},
  };
  for (const Case& c : cases) {
    if (c.sortColumn >= 0) shown.SortByColumn(c.sortColumn);
    shown.SetFindText(QString::fromLatin1(c.text));
    SCOPED_TRACE(c.text);
    ASSERT_EQ(shown.rowCount(), static_cast<int>(c.listRows.size()));
    std::vector<bool> kept(list.rows.size());
    for (int r = 0; r < shown.rowCount(); ++r) {
      const int listRow = c.listRows[static_cast<std::size_t>(r)];
      kept[static_cast<std::size_t>(listRow)] = true;
      EXPECT_EQ(ListRowOf(shown.index(r, 0)), listRow) << r;
      EXPECT_EQ(ShownIndexOfListRow(&shown, listRow), shown.index(r, 0)) << r;
    }
    for (std::size_t row = 0; row < kept.size(); ++row) {
      if (!kept[row]) {
        EXPECT_FALSE(ShownIndexOfListRow(&shown, static_cast<int>(row)).isValid()) << row;
      }
    }
    EXPECT_FALSE(ShownIndexOfListRow(&shown, 4).isValid());  // beyond the list
    // The captions stay when no row is shown.
    EXPECT_EQ(shown.headerData(0, Qt::Horizontal).toString(), "A");
  }
  EXPECT_EQ(ListRowOf({}), -1);
  EXPECT_EQ(ListRowOf(model.index(2, 0)), 2);
}

// A view's selection follows its rows through a sort and a find text, and
// is dropped with a row the text leaves out.
TEST(Models, ShownRowsKeepPersistentIndexesOnTheirRows) {
  const mission::Mission m = Sample();
  views::ListData list;
  list.columns = {{u"A", 100}, {u"B", 100}};
  list.rows = {{{u"c", u"x"}, u""}, {{u"a", u"y"}, u""}, {{u"b", u"x"}, u""}};
  ListModel model;
  ShownRowsModel shown(&model);
  shown.SetMission(&m);
  model.SetList(list);
  const QPersistentModelIndex first(shown.index(0, 1));  // «c»
  const QPersistentModelIndex second(shown.index(1, 0));  // «a»
  shown.SortByColumn(0);
  EXPECT_EQ(first.row(), 2);
  EXPECT_EQ(first.column(), 1);
  EXPECT_EQ(second.row(), 0);
  shown.SetFindText(QStringLiteral("x"));
  EXPECT_EQ(first.row(), 1);  // «b», «c»
  EXPECT_FALSE(second.isValid());
  EXPECT_EQ(first.data().toString(), "x");
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
