// The find bar on the real window: Ctrl+F, typing, Enter and Shift+Enter,
// Escape, mode switches and sorting while it filters.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>

#include "tests/ui/find_child.h"
#include "tests/ui/form_fixture.h"
#include "ui/code/codemarks.h"
#include "ui/window/mainform.h"

namespace ui {
namespace {

using testing::kSample;

class FindWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    form = std::make_unique<FSMMainForm>(dir.path());
    form->resize(1000, 760);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }

  template <class T>
  T* Find(const char* name) {
    return ui::testing::FindChild<T>(*form, name);
  }
  QTreeView* List() { return Find<QTreeView>("ListView1"); }
  QLineEdit* Field() { return Find<QLineEdit>("FindField"); }
  QWidget* Bar() { return Find<QWidget>("FindBar"); }
  QLabel* RowCount() { return Find<QLabel>("FindRowCount"); }
  QString Sexp() { return Find<QTextEdit>("RichTextBox1")->toPlainText(); }
  void Key(QKeySequence key) {
    QApplication::setActiveWindow(form.get());
    QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(), key);
  }
  void ShowMode(int mode) { Find<QAction>(qPrintable(QStringLiteral("MenuViewMode%1").arg(mode)))->trigger(); }
  // The texts of one column, in the order the list shows them.
  QStringList Column(int column) {
    QStringList texts;
    for (int r = 0; r < List()->model()->rowCount(); ++r) texts << List()->model()->index(r, column).data().toString();
    return texts;
  }
  QString CurrentName() { return List()->currentIndex().siblingAtColumn(1).data().toString(); }
  void Type(const QString& text) {
    Field()->clear();
    QTest::keyClicks(Field(), text);
  }

  QTemporaryDir dir;
  std::unique_ptr<FSMMainForm> form;
};

TEST_F(FindWindowTest, EditMenuBetweenFileAndViewOffersFind) {
  const QList<QAction*> menus = form->menuBar()->actions();
  ASSERT_GE(menus.size(), 3);
  EXPECT_EQ(menus[0]->objectName(), "MenuFile");
  EXPECT_EQ(menus[1]->objectName(), "MenuEdit");
  EXPECT_EQ(menus[1]->text(), "&Edit");
  EXPECT_EQ(menus[2]->objectName(), "MenuView");
  auto* find = Find<QAction>("MenuEditFind");
  EXPECT_EQ(find->text(), "&Find...");
  EXPECT_EQ(find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
  // Nothing to find in before a mission is loaded.
  EXPECT_FALSE(find->isEnabled());
  ASSERT_TRUE(form->LoadFile(kSample));
  EXPECT_TRUE(find->isEnabled());
  EXPECT_FALSE(Bar()->isVisible());
  EXPECT_FALSE(RowCount()->isVisible());
}

TEST_F(FindWindowTest, TypingKeepsTheEventsWhoseFormulaNamesTheShip) {
  ASSERT_TRUE(form->LoadFile(kSample));
  ShowMode(4);
  const QRect fullList = List()->geometry();
  Key(QKeySequence(Qt::CTRL | Qt::Key_F));
  ASSERT_TRUE(Bar()->isVisible());
  EXPECT_TRUE(Field()->hasFocus());
  // The bar sits above the list, which gives up its top.
  EXPECT_EQ(Bar()->geometry().left(), fullList.left());
  EXPECT_EQ(Bar()->geometry().top(), fullList.top());
  EXPECT_GT(List()->geometry().top(), Bar()->geometry().bottom());
  EXPECT_EQ(List()->geometry().bottom(), fullList.bottom());
  EXPECT_TRUE(RowCount()->isVisible());
  EXPECT_EQ(RowCount()->text(), "4 of 4 rows");

  Type("relay TENDER");
  EXPECT_EQ(Column(1), (QStringList{"Picket down", "Broken brackets"}));
  EXPECT_EQ(RowCount()->text(), "2 of 4 rows");
  // The selected row ("Intro") was left out: the first row kept is selected
  // and its formula shown.
  EXPECT_EQ(CurrentName(), "Picket down");
  EXPECT_TRUE(Sexp().contains("\"Relay Tender\"")) << qPrintable(Sexp());

  // Enter: the next row kept, round the end; Shift+Enter back.
  QTest::keyClick(Field(), Qt::Key_Return);
  EXPECT_EQ(CurrentName(), "Broken brackets");
  EXPECT_TRUE(Sexp().contains("change-iff")) << qPrintable(Sexp());
  QTest::keyClick(Field(), Qt::Key_Enter);
  EXPECT_EQ(CurrentName(), "Picket down");
  QTest::keyClick(Field(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(CurrentName(), "Broken brackets");
  EXPECT_TRUE(Field()->hasFocus());

  // Nothing holds the text: no rows.
  Type("no such ship");
  EXPECT_EQ(List()->model()->rowCount(), 0);
  EXPECT_EQ(RowCount()->text(), "0 of 4 rows");
  QTest::keyClick(Field(), Qt::Key_Return);  // nowhere to go, and no harm

  // Escape clears the text and closes the bar; every row is back.
  Type("waiting");
  EXPECT_EQ(Column(1), QStringList{"Waiting"});
  QTest::keyClick(Field(), Qt::Key_Escape);
  EXPECT_FALSE(Bar()->isVisible());
  EXPECT_FALSE(RowCount()->isVisible());
  EXPECT_EQ(Field()->text(), "");
  EXPECT_EQ(Column(1), (QStringList{"Intro", "Picket down", "Waiting", "Broken brackets"}));
  EXPECT_EQ(List()->geometry(), fullList);
  EXPECT_TRUE(List()->hasFocus());
  EXPECT_EQ(CurrentName(), "Waiting");  // the row found stays selected
}

// The places of `find` in a code window, by a search that ignores case, as
// «position:text».
QStringList PlacesOf(const QTextEdit* window, const QString& find) {
  QStringList places;
  const QString text = window->toPlainText();
  for (qsizetype at = text.indexOf(find, 0, Qt::CaseInsensitive); at >= 0;
       at = text.indexOf(find, at + find.size(), Qt::CaseInsensitive))
    places << QString::number(at) + ":" + text.mid(at, find.size());
  return places;
}

// The found marks of a code window, as «position:text», each underlined in
// the marks' colour.
QStringList FoundMarks(const QTextEdit* window) {
  QStringList marks;
  for (const QTextEdit::ExtraSelection& mark : CodeMarksOf(window, CodeMark::kFound)) {
    EXPECT_TRUE(mark.format.fontUnderline());
    EXPECT_EQ(mark.format.underlineColor(), QColor::fromRgb(kFoundMarkColour));
    marks << QString::number(mark.cursor.selectionStart()) + ":" + mark.cursor.selectedText();
  }
  return marks;
}

TEST_F(FindWindowTest, TheFindTextIsMarkedInBothCodeWindows) {
  ASSERT_TRUE(form->LoadFile(kSample));
  ShowMode(4);
  auto* sexp = Find<QTextEdit>("RichTextBox1");
  auto* parsed = Find<QTextEdit>("RichTextBox2");
  EXPECT_EQ(FoundMarks(sexp), QStringList{});
  Key(QKeySequence(Qt::CTRL | Qt::Key_F));
  Type("relay TENDER");
  ASSERT_EQ(CurrentName(), "Picket down");
  EXPECT_EQ(PlacesOf(sexp, "relay tender").size(), 3);
  EXPECT_EQ(FoundMarks(sexp), PlacesOf(sexp, "relay tender"));
  EXPECT_FALSE(PlacesOf(parsed, "relay tender").isEmpty());
  EXPECT_EQ(FoundMarks(parsed), PlacesOf(parsed, "relay tender"));
  // The row's text is left as it was: the marks lie over it.
  EXPECT_FALSE(sexp->textCursor().hasSelection());

  // They follow the row shown and the text typed.
  QTest::keyClick(Field(), Qt::Key_Return);
  ASSERT_EQ(CurrentName(), "Broken brackets");
  EXPECT_EQ(FoundMarks(sexp), PlacesOf(sexp, "relay tender"));
  Type("hits");
  EXPECT_EQ(FoundMarks(sexp), PlacesOf(sexp, "hits"));
  EXPECT_EQ(FoundMarks(sexp).size(), 1);
  QTest::keyClick(Field(), Qt::Key_Escape);
  EXPECT_EQ(FoundMarks(sexp), QStringList{});
  EXPECT_EQ(FoundMarks(parsed), QStringList{});
}

// The found places and the link under the mouse are marks of their own: each
// is replaced without the other, and the link is drawn last, over them.
TEST(CodeMarks, FoundPlacesAndTheLinkAreKeptApart) {
  QTextEdit window;
  window.setPlainText("( is-destroyed-delay 0 \"Alpha 1\" )");
  const auto mark = [&](int from, int to) {
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(window.document());
    selection.cursor.setPosition(from);
    selection.cursor.setPosition(to, QTextCursor::KeepAnchor);
    return selection;
  };
  SetCodeMarks(&window, CodeMark::kFound, {mark(2, 4), mark(5, 8)});
  SetCodeMarks(&window, CodeMark::kLink, {mark(24, 31)});
  EXPECT_EQ(window.extraSelections().size(), 3);
  EXPECT_EQ(window.extraSelections().back().cursor.selectedText(), "Alpha 1");
  SetCodeMarks(&window, CodeMark::kFound, {mark(0, 1)});
  ASSERT_EQ(window.extraSelections().size(), 2);
  EXPECT_EQ(window.extraSelections().front().cursor.selectedText(), "(");
  EXPECT_EQ(window.extraSelections().back().cursor.selectedText(), "Alpha 1");
  SetCodeMarks(&window, CodeMark::kLink, {});
  EXPECT_EQ(CodeMarksOf(&window, CodeMark::kFound).size(), 1);
  EXPECT_EQ(CodeMarksOf(&window, CodeMark::kLink).size(), 0);
}

TEST_F(FindWindowTest, TheFilterFollowsModeSwitchesAndLoads) {
  ASSERT_TRUE(form->LoadFile(kSample));
  ShowMode(4);
  Key(QKeySequence(Qt::CTRL | Qt::Key_F));
  Type("Relay Tender");
  ShowMode(6);
  EXPECT_EQ(Column(0), QStringList{"Relay Tender"});
  EXPECT_EQ(RowCount()->text(), "1 of 4 rows");
  ShowMode(2);  // the goal whose formula names the tender
  EXPECT_EQ(Column(0), QStringList{"Protect the tender"});
  ShowMode(5);  // a message text that mentions it
  EXPECT_EQ(Column(0), QStringList{"Intro"});
  ShowMode(4);
  EXPECT_EQ(Column(1), (QStringList{"Picket down", "Broken brackets"}));
  EXPECT_EQ(CurrentName(), "Picket down");
  // A load keeps the view, filtered by the same text.
  ASSERT_TRUE(form->LoadFile(kSample));
  EXPECT_TRUE(Bar()->isVisible());
  EXPECT_EQ(Column(1), (QStringList{"Picket down", "Broken brackets"}));
  EXPECT_EQ(RowCount()->text(), "2 of 4 rows");
  ShowMode(1);
  EXPECT_EQ(List()->model()->rowCount(), 0);
  EXPECT_EQ(RowCount()->text(), "0 of 4 rows");
  Type("Ashfall");
  EXPECT_EQ(Column(0), QStringList{"Mission Name"});
}

TEST_F(FindWindowTest, SortingWorksOnTheRowsKept) {
  ASSERT_TRUE(form->LoadFile(kSample));
  ShowMode(4);
  Key(QKeySequence(Qt::CTRL | Qt::Key_F));
  Type("relay tender");
  QHeaderView* header = List()->header();
  const QPoint at(header->sectionViewportPosition(1) + header->sectionSize(1) / 2, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);  // by Name
  EXPECT_EQ(Column(1), (QStringList{"Broken brackets", "Picket down"}));
  // A click on a row shows that row's formula, through both the sort and
  // the filter.
  const QModelIndex second = List()->model()->index(1, 0);
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(second).center());
  EXPECT_EQ(CurrentName(), "Picket down");
  EXPECT_TRUE(Sexp().contains("ship-invulnerable")) << qPrintable(Sexp());
  // Wider again: the rows come back in sorted order.
  Type("");
  EXPECT_EQ(Column(1), (QStringList{"Broken brackets", "Intro", "Picket down", "Waiting"}));
}

}  // namespace
}  // namespace ui
