// Keeping the reader's place in the window: the view shown stays when
// another mission is opened, each view returns to the row it was left at,
// the selected row stays in view through a sort and the find bar; sorting
// by a header up, down and back to file order, each view by its own column;
// default column widths that show captions and numbers whole.
#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>

#include "tests/ui/form_fixture.h"
#include "views/modes.h"

namespace ui {
namespace {

using testing::kSample;
using testing::MainFormTest;
using testing::ToolTipAt;

// A mission with events "Event 0".. (each formula sends the message "Msg
// N") and these ships, in this order.
QByteArray EventsAndShips(int events, const QStringList& ships) {
  QByteArray text = "#Mission Info\r\n$Version: 0.10\r\n$Name: Places\r\n\r\n#Objects\r\n";
  for (const QString& ship : ships) text += "$Name: " + ship.toUtf8() + "\r\n$Class: GTF Ulysses\r\n$Team: Friendly\r\n";
  text += "\r\n#Events\r\n";
  for (int i = 0; i < events; ++i) {
    const QByteArray n = QByteArray::number(i);
    text += "$Formula: ( when ( true ) ( send-message \"#Command\" \"High\" \"Msg " + n + "\" ) )\r\n+Name: Event " +
            n + "\r\n+Repeat Count: " + QByteArray::number(i % 3) + "\r\n+Interval: 1\r\n\r\n";
  }
  return text;
}

class PlacesWindowTest : public MainFormTest {
 protected:
  QString Title() { return Find<QLabel>("BarTopText")->text(); }
  QString CurrentCell(int column) { return List()->currentIndex().siblingAtColumn(column).data().toString(); }
  // Whether the current row lies inside the list's visible area.
  bool CurrentRowInView() {
    const QRect row = List()->visualRect(List()->currentIndex());
    return row.isValid() && List()->viewport()->rect().contains(row);
  }
  // Makes row `row` current as a click on it would.
  void Choose(int row) {
    const QModelIndex index = List()->model()->index(row, 0);
    List()->scrollTo(index);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(index).center());
  }
  QStringList Column(int column) {
    QStringList cells;
    for (int r = 0; r < List()->model()->rowCount(); ++r) cells << Cell(r, column);
    return cells;
  }
};

TEST_F(PlacesWindowTest, OpeningAMissionShowsTheViewShown) {
  const QString many = WriteMission("many.fs2", EventsAndShips(5, {"Alpha 1"}));
  const QString noEvents = WriteMission("noevents.fs2", EventsAndShips(0, {"Beta 1"}));
  ASSERT_TRUE(Form().LoadFile(kSample));
  EXPECT_EQ(Form().CurrentMode(), views::kModeGeneral);  // the first load
  ShowMode(views::kModeEvents);
  Choose(2);

  ASSERT_TRUE(Form().LoadFile(many));
  EXPECT_EQ(Form().CurrentMode(), views::kModeEvents);
  EXPECT_EQ(Title(), "Events");
  EXPECT_TRUE(Action("MenuViewMode4")->isChecked());
  EXPECT_EQ(List()->model()->rowCount(), 5);
  // A mission of its own: its first row, with its formula.
  EXPECT_EQ(CurrentRow(), 0);
  EXPECT_TRUE(Sexp()->toPlainText().contains("\"Msg 0\"")) << qPrintable(Sexp()->toPlainText());

  // A mission without events shows General.
  ASSERT_TRUE(Form().LoadFile(noEvents));
  EXPECT_EQ(Form().CurrentMode(), views::kModeGeneral);
  EXPECT_EQ(Cell(0, 1), "Places");
  // Ships it has: opened from Recent Missions, the view stays.
  ShowMode(views::kModeShips);
  Find<QAction>("MenuFileRecent2")->trigger();  // many.fs2
  EXPECT_TRUE(Form().windowTitle().contains("many.fs2"));
  EXPECT_EQ(Form().CurrentMode(), views::kModeShips);
  EXPECT_EQ(Cell(0, 0), "Alpha 1");
}

TEST_F(PlacesWindowTest, EachViewReturnsToTheRowItWasLeftAt) {
  const QString path = WriteMission("many.fs2", EventsAndShips(300, {"Alpha 1", "Alpha 2", "Alpha 3"}));
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(views::kModeEvents);
  Choose(250);
  ShowMode(views::kModeShips);
  EXPECT_EQ(CurrentRow(), 0);  // not left at a row yet
  Choose(2);
  ShowMode(views::kModeEvents);
  EXPECT_EQ(CurrentCell(1), "Event 250");
  EXPECT_TRUE(CurrentRowInView());
  EXPECT_TRUE(Sexp()->toPlainText().contains("\"Msg 250\"")) << qPrintable(Sexp()->toPlainText());
  EXPECT_EQ(TreeTag(), "4,251");
  ShowMode(views::kModeShips);
  EXPECT_EQ(CurrentCell(0), "Alpha 3");

  // Read again, the mission keeps the rows of its views.
  Action("MenuFileReload")->trigger();
  EXPECT_EQ(Form().CurrentMode(), views::kModeShips);
  EXPECT_EQ(CurrentCell(0), "Alpha 3");
  ShowMode(views::kModeEvents);
  EXPECT_EQ(CurrentCell(1), "Event 250");

  // Another mission starts at the first row of every view.
  ASSERT_TRUE(Form().LoadFile(kSample));
  EXPECT_EQ(Form().CurrentMode(), views::kModeEvents);
  EXPECT_EQ(CurrentRow(), 0);
  ShowMode(views::kModeShips);
  EXPECT_EQ(CurrentRow(), 0);
}

TEST_F(PlacesWindowTest, TheSelectedRowStaysInViewThroughSortsAndTheFindBar) {
  ASSERT_TRUE(Form().LoadFile(WriteMission("many.fs2", EventsAndShips(300, {"Alpha 1"}))));
  ShowMode(views::kModeEvents);
  Choose(250);
  ClickHeader(1);  // Name, ascending: digits by value, so the file's order
  EXPECT_EQ(CurrentCell(1), "Event 250");
  EXPECT_EQ(CurrentRow(), 250);
  ClickHeader(1);  // descending
  EXPECT_EQ(CurrentCell(1), "Event 250");
  EXPECT_EQ(CurrentRow(), 49);
  EXPECT_TRUE(CurrentRowInView());

  Action("MenuEditFind")->trigger();
  QTest::keyClicks(Find<QLineEdit>("FindField"), "event 25");  // Event 25, Event 250..259
  EXPECT_EQ(List()->model()->rowCount(), 11);
  EXPECT_EQ(CurrentCell(1), "Event 250");
  Find<QToolButton>("FindClose")->click();
  EXPECT_EQ(List()->model()->rowCount(), 300);
  EXPECT_EQ(CurrentCell(1), "Event 250");
  EXPECT_TRUE(List()->selectionModel()->isRowSelected(CurrentRow(), {}));
  EXPECT_TRUE(CurrentRowInView());
}

TEST_F(PlacesWindowTest, HeaderClicksSortUpDownAndBackToFileOrderEachViewItsOwn) {
  ASSERT_TRUE(Form().LoadFile(WriteMission("names.fs2", EventsAndShips(4, {"Alpha 10", "alpha 2", "Beta", "Alpha 1"}))));
  ShowMode(views::kModeShips);
  QHeaderView* header = List()->header();
  const QStringList fileOrder = {"Alpha 10", "alpha 2", "Beta", "Alpha 1"};
  EXPECT_EQ(Column(0), fileOrder);
  EXPECT_FALSE(header->isSortIndicatorShown());

  ClickHeader(0);
  EXPECT_EQ(Column(0), QStringList({"Alpha 1", "alpha 2", "Alpha 10", "Beta"}));
  EXPECT_TRUE(header->isSortIndicatorShown());
  EXPECT_EQ(header->sortIndicatorSection(), 0);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
  ClickHeader(0);
  EXPECT_EQ(Column(0), QStringList({"Beta", "Alpha 10", "alpha 2", "Alpha 1"}));
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
  ClickHeader(0);
  EXPECT_EQ(Column(0), fileOrder);
  EXPECT_FALSE(header->isSortIndicatorShown());

  // Events sorted by Repeat, column 2, leave the Ships' column 2 (Team)
  // alone, and keep their own sort when shown again.
  ShowMode(views::kModeEvents);
  ClickHeader(2);
  EXPECT_EQ(Column(1), QStringList({"Event 0", "Event 3", "Event 1", "Event 2"}));
  ShowMode(views::kModeShips);
  EXPECT_EQ(Column(0), fileOrder);
  EXPECT_FALSE(header->isSortIndicatorShown());
  ShowMode(views::kModeEvents);
  EXPECT_EQ(Column(1), QStringList({"Event 0", "Event 3", "Event 1", "Event 2"}));
  EXPECT_EQ(header->sortIndicatorSection(), 2);
}

TEST_F(PlacesWindowTest, DefaultColumnWidthsShowCaptionsAndNumbersWhole) {
  ASSERT_TRUE(Form().LoadFile(WriteMission("many.fs2", EventsAndShips(120, {"Alpha 1"}))));
  ShowMode(views::kModeEvents);
  const QModelIndex hundred = List()->model()->index(100, 0);
  ASSERT_EQ(hundred.data().toString(), "100");
  List()->scrollTo(hundred);
  EXPECT_EQ(ToolTipAt(List(), hundred), "");  // shown whole
  const int fitted = List()->header()->sectionSize(0);
  List()->header()->resizeSection(0, fitted / 3);
  EXPECT_TRUE(ToolTipAt(List(), hundred).contains("100"));  // the check tells a cut number
  List()->header()->resizeSection(0, fitted);

  // Every caption of every view fits its column with the sort arrow beside it.
  ASSERT_TRUE(Form().LoadFile(kSample));
  QHeaderView* header = List()->header();
  for (int mode = 1; mode <= views::kModeCount; ++mode) {
    ShowMode(mode);
    header->setSortIndicatorShown(true);  // the header's size hints make room for the arrow
    for (int c = 0; c < header->count(); ++c) {
      EXPECT_GE(header->sectionSize(c), header->sectionSizeHint(c))
          << mission::ToUtf8(views::ModeOf(mode).title) << " "
          << qPrintable(List()->model()->headerData(c, Qt::Horizontal).toString());
    }
  }
}

}  // namespace
}  // namespace ui
