// Copying from the window (Ctrl+C, the list's context menu) and the list's
// tooltips for cells shown cut.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHelpEvent>
#include <QMenu>
#include <QTimer>
#include <QToolTip>

#include "tests/ui/form_fixture.h"

namespace ui {
namespace {

using testing::kSample;
using testing::ToolTipAt;

class CopyTest : public testing::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    SetSetting("Display", "TreeView", "1");
    ASSERT_TRUE(Form().LoadFile(kSample));
    ShowMode(4);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  }
  QString Clipboard() { return QGuiApplication::clipboard()->text(); }
  void CtrlC() { Key(QKeySequence(Qt::CTRL | Qt::Key_C)); }
  // Expands every section so that Collapse All shows.
  void ExpandTree() {
    Tree()->expandAll();
    ASSERT_TRUE(Tree()->isExpanded(Tree()->model()->index(0, 0)));
  }
  bool TreeCollapsed() { return !Tree()->isExpanded(Tree()->model()->index(0, 0)); }
  // Selects text in a code window and gives it the focus.
  void SelectCode(QTextEdit* code, int from, int to) {
    QTextCursor cursor(code->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    code->setTextCursor(cursor);
    code->setFocus();
  }
};

constexpr const char* kHeader = "#\tName\tRepeat\tInterval\tChain\tDirective\n";

TEST_F(CopyTest, CtrlCCopiesTheSelectedRowsOfTheFocusedList) {
  ExpandTree();
  List()->setFocus();
  List()->selectionModel()->select(List()->model()->index(1, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
  CtrlC();
  EXPECT_EQ(Clipboard(), QString::fromUtf8(kHeader) + " 0\tIntro\t1\t1\t\t\n" +
                             " 1\tPicket down\t1\t1\t0\tDestroy the Vasudan picket\n");
  EXPECT_FALSE(TreeCollapsed());

  // Sorted, the rows come in the order shown.
  ClickHeader(1);
  List()->setFocus();
  List()->selectAll();
  CtrlC();
  const QStringList lines = Clipboard().split('\n');
  ASSERT_EQ(lines.size(), 6);  // the header, four rows, and the end of the last line
  EXPECT_TRUE(lines[1].contains("Broken brackets"));
  EXPECT_TRUE(lines[4].contains("Waiting"));
}

TEST_F(CopyTest, CtrlCCopiesTheSelectedTextOfACodeWindow) {
  ExpandTree();
  const QString parsed = Parsed()->toPlainText();
  SelectCode(Parsed(), 0, 2);
  CtrlC();
  EXPECT_EQ(Clipboard(), parsed.left(2));
  EXPECT_FALSE(TreeCollapsed());

  // Also when the focus has moved on to the tree: the selection is what
  // there is to copy.
  SelectCode(Sexp(), 2, 6);
  Tree()->setFocus();
  CtrlC();
  EXPECT_EQ(Clipboard(), Sexp()->toPlainText().mid(2, 4));
  EXPECT_FALSE(TreeCollapsed());
}

TEST_F(CopyTest, WithNothingToCopyCtrlCCollapsesTheTree) {
  ExpandTree();
  Tree()->setFocus();
  CtrlC();
  EXPECT_TRUE(TreeCollapsed());
  EXPECT_EQ(Clipboard(), "before");

  // The menu entry collapses whatever is selected, and keeps its shortcut.
  ExpandTree();
  List()->setFocus();
  Action("MenuViewTreeViewCA")->trigger();
  EXPECT_TRUE(TreeCollapsed());
  EXPECT_EQ(Clipboard(), "before");
  EXPECT_EQ(Action("MenuViewTreeViewCA")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
}

// Runs `choose` on the list's context menu once it is up over `cell`.
void OnContextMenu(QTreeView* list, const QModelIndex& cell, const std::function<void(QMenu*)>& choose) {
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    shown = true;
    choose(menu);
    menu->close();
  });
  // A right click selects the row under the mouse, then asks for the menu.
  const QPoint at = list->visualRect(cell).center();
  QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
  QApplication::sendEvent(list->viewport(), &event);
  EXPECT_TRUE(shown);
}

QAction* Entry(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions()) {
    if (a->text() == text) return a;
  }
  ADD_FAILURE() << "no entry " << text.toStdString();
  return nullptr;
}

TEST_F(CopyTest, ContextMenuCopiesRowsOrTheWholeCell) {
  // A cell longer than the list shows.
  const QString text = QString(3000, 'x') + "end";
  const QString path = WriteMission(
      QStringLiteral("long.fs2"),
      "#Mission Info\r\n$Name: Long\r\n#Messages\r\n$Name: Short\r\n$Name: " + text.toLatin1() + "\r\n");
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(5);
  const QModelIndex cell = List()->model()->index(1, 0);
  ASSERT_TRUE(cell.data().toString().endsWith("..."));

  OnContextMenu(List(), cell, [&](QMenu* menu) {
    QStringList entries;
    for (QAction* a : menu->actions()) entries << a->text();
    EXPECT_EQ(entries, QStringList({"&Copy", "Copy c&ell", "", "Find &References"}));  // a message names
    Entry(menu, "Copy c&ell")->trigger();
  });
  EXPECT_EQ(Clipboard(), text);

  OnContextMenu(List(), cell, [&](QMenu* menu) { Entry(menu, "&Copy")->trigger(); });
  EXPECT_EQ(Clipboard(), "Name\tText\tAVI\tWAV\n" + text + "\t\t\t\n");
}

TEST_F(CopyTest, CellsShownCutHaveTheirWholeTextAsTooltip) {
  const QModelIndex directive = List()->model()->index(1, 5);  // "Destroy the Vasudan picket"
  List()->header()->resizeSection(5, 400);
  EXPECT_EQ(ToolTipAt(List(), directive), "");  // shown whole: no tooltip

  List()->header()->resizeSection(5, 40);
  const QString tip = ToolTipAt(List(), directive);
  EXPECT_TRUE(tip.contains("Destroy the Vasudan picket")) << tip.toStdString();
  EXPECT_EQ(ToolTipAt(List(), List()->model()->index(1, 1)), "");  // "Picket down" fits
}

}  // namespace
}  // namespace ui
