// Find References on the real window: Ctrl+R and the list's context menu,
// the References pane, going to a place, and a load that replaces the
// mission while its index is still being built.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>

#include "tests/ui/find_child.h"
#include "ui/list/clipboard.h"
#include "ui/window/mainform.h"

namespace ui {
namespace {

// Lines joined with CR LF.
QByteArray Mission(std::initializer_list<const char*> lines) {
  QByteArray text;
  for (const char* line : lines) text += QByteArray(line) + "\r\n";
  return text;
}

const QByteArray kMission = Mission({
    "#Mission Info",
    "$Name: References",
    "#Objects",
    "$Name: Alpha 1",
    "$Class: GTF Ulysses",
    "$Arrival Cue: ( true )",
    "$Departure Cue: ( is-destroyed-delay 0",
    "   \"Beta 1\" )",  // line 5 of the objects
    "$Name: Beta 1",
    "$Class: GVF Seth",
    "$Arrival Cue: ( has-arrived-delay 5 \"Alpha 1\" )",
    "#Wings",
    "$Name: Alpha",
    "$Arrival Cue: ( is-destroyed-delay 0 \"Beta 1\" )",
    "$Ships: (",
    "\t\"Alpha 1\"",
    ")",
    "#Events",
    "$Formula: ( when",
    "   ( true )",
    "   ( send-message \"#Command\" \"High\" \"Hello\" ) )",
    "+Name: Start",
    "$Formula: ( when",
    "   ( is-destroyed-delay 0 \"Beta 1\" )",  // line 6 of the events
    "   ( send-message \"#Command\" \"High\" \"Hello\" ) )",
    "+Name: Beta down",
    "#Goals",
    "$Type: Primary",
    "+Name: Kill Beta",
    "$Formula: ( is-destroyed-delay 0 \"beta 1\" )",
    "#Messages",
    "$Name: Hello",
    "$MessageNew: XSTR(\"Hi\", -1)",
});

// The same ships, but only one event names Beta 1.
const QByteArray kOtherMission = Mission({
    "#Mission Info",
    "$Name: Other",
    "#Objects",
    "$Name: Alpha 1",
    "$Name: Beta 1",
    "#Events",
    "$Formula: ( when ( has-arrived-delay 0 \"Beta 1\" ) ( do-nothing ) )",
    "+Name: Beta arrives",
});

class ReferencesWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    path = Write("references.fs2", kMission);
    otherPath = Write("other.fs2", kOtherMission);
    form = std::make_unique<FSMMainForm>(dir.path());
    form->resize(1000, 760);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }

  QString Write(const char* name, const QByteArray& text) {
    const QString file = dir.filePath(QString::fromLatin1(name));
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
    return file;
  }

  template <class T>
  T* Find(const char* name) {
    return ui::testing::FindChild<T>(*form, name);
  }
  QTreeView* List() { return Find<QTreeView>("ListView1"); }
  QTreeView* Places() { return Find<QTreeView>("ReferencesList"); }
  QDockWidget* Pane() { return Find<QDockWidget>("ReferencesPane"); }
  QString Summary() { return Find<QLabel>("ReferencesSummary")->text(); }
  QAction* Action(const char* name) { return Find<QAction>(name); }
  void ShowMode(int mode) { Action(qPrintable(QStringLiteral("MenuViewMode%1").arg(mode)))->trigger(); }
  void Key(QKeySequence key) {
    QApplication::setActiveWindow(form.get());
    QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(), key);
  }
  // Selects the row whose cell `column` reads `text`.
  void SelectRow(int column, const QString& text) {
    QAbstractItemModel* m = List()->model();
    for (int r = 0; r < m->rowCount(); ++r) {
      if (m->index(r, column).data().toString() == text) {
        List()->setCurrentIndex(m->index(r, 0));
        return;
      }
    }
    ADD_FAILURE() << "no row " << qPrintable(text);
  }
  // The places listed, each as «where | line».
  QStringList Listed() {
    QStringList rows;
    QAbstractItemModel* m = Places()->model();
    for (int r = 0; r < m->rowCount(); ++r)
      rows << m->index(r, 0).data().toString() + " | " + m->index(r, 1).data().toString();
    return rows;
  }
  bool WaitForPlaces() {
    return QTest::qWaitFor([&] { return !Summary().startsWith("Looking"); }, 5000);
  }
  void ClickPlace(int row) {
    const QModelIndex index = Places()->model()->index(row, 0);
    QTest::mouseClick(Places()->viewport(), Qt::LeftButton, {}, Places()->visualRect(index).center());
  }
  QString CurrentCell(int column) { return List()->currentIndex().siblingAtColumn(column).data().toString(); }

  QTemporaryDir dir;
  QString path, otherPath;
  std::unique_ptr<FSMMainForm> form;
};

TEST_F(ReferencesWindowTest, OfferedForRowsThatHaveANameOthersCanName) {
  auto* references = Action("MenuEditReferences");
  EXPECT_EQ(references->text(), "Find &References");
  EXPECT_EQ(references->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
  EXPECT_EQ(form->menuBar()->actions()[1]->menu()->actions().indexOf(references), 1);  // under "Find..."
  EXPECT_FALSE(references->isEnabled());
  EXPECT_FALSE(Pane()->isVisible());
  ASSERT_TRUE(form->LoadFile(path));
  for (int mode = 1; mode <= 8; ++mode) {
    ShowMode(mode);
    const bool named = mode == 2 || mode == 4 || mode == 5 || mode == 6 || mode == 7;
    EXPECT_EQ(references->isEnabled(), named) << mode;
  }
  // The list's context menu holds it on a row with a name, not elsewhere.
  const auto contextMenu = [&] {
    QMenu menu;
    emit form->findChild<ListClipboard*>()->contextMenuAboutToShow(&menu, List()->currentIndex());
    return menu.actions().contains(references);
  };
  ShowMode(6);
  SelectRow(0, "Beta 1");
  EXPECT_TRUE(contextMenu());
  ShowMode(1);
  EXPECT_FALSE(contextMenu());
}

TEST_F(ReferencesWindowTest, CtrlRListsThePlacesAndGoesThere) {
  ASSERT_TRUE(form->LoadFile(path));
  ShowMode(6);
  // A right click selects the row under the mouse, as before a context menu.
  const QModelIndex beta = List()->model()->index(1, 0);
  ASSERT_EQ(beta.data().toString(), "Beta 1");
  QTest::mouseClick(List()->viewport(), Qt::RightButton, {}, List()->visualRect(beta).center());
  EXPECT_EQ(CurrentCell(0), "Beta 1");
  Key(QKeySequence(Qt::CTRL | Qt::Key_R));
  ASSERT_TRUE(Pane()->isVisible());
  ASSERT_TRUE(WaitForPlaces());
  EXPECT_EQ(Summary(), "4 places name \"Beta 1\".");
  EXPECT_EQ(Listed(), (QStringList{
                          "Events: Beta down | ( is-destroyed-delay 0 \"Beta 1\" )",
                          "Goals: Kill Beta | $Formula: ( is-destroyed-delay 0 \"beta 1\" )",
                          "Ships: Alpha 1, departure cue | \"Beta 1\" )",
                          "Wings: Alpha, arrival cue | $Arrival Cue: ( is-destroyed-delay 0 \"Beta 1\" )",
                      }));

  // The event: Events view, its row, its formula with the line marked.
  ClickPlace(0);
  EXPECT_EQ(form->CurrentMode(), 4);
  EXPECT_EQ(CurrentCell(1), "Beta down");
  QTextEdit* sexp = Find<QTextEdit>("RichTextBox1");
  EXPECT_TRUE(sexp->toPlainText().startsWith("( when")) << qPrintable(sexp->toPlainText());
  EXPECT_EQ(sexp->textCursor().selectedText(), "   ( is-destroyed-delay 0 \"Beta 1\" )");

  // The goal, by keyboard.
  Places()->setFocus();
  Places()->setCurrentIndex(Places()->model()->index(1, 0));
  QTest::keyClick(Places(), Qt::Key_Return);
  EXPECT_EQ(form->CurrentMode(), 2);
  EXPECT_EQ(CurrentCell(0), "Kill Beta");
  EXPECT_EQ(sexp->textCursor().selectedText(), "( is-destroyed-delay 0 \"beta 1\" )");

  // A cue: the row of its ship or wing.
  ClickPlace(2);
  EXPECT_EQ(form->CurrentMode(), 6);
  EXPECT_EQ(CurrentCell(0), "Alpha 1");
  ClickPlace(3);
  EXPECT_EQ(form->CurrentMode(), 7);
  EXPECT_EQ(CurrentCell(0), "Alpha");

  // A message row looks up its name; an event row the Name column.
  ShowMode(5);
  SelectRow(0, "Hello");
  Key(QKeySequence(Qt::CTRL | Qt::Key_R));
  EXPECT_EQ(Summary(), "2 places name \"Hello\".");
  ShowMode(4);
  SelectRow(1, "Start");
  Action("MenuEditReferences")->trigger();
  EXPECT_EQ(Summary(), "No formula names \"Start\".");
  EXPECT_EQ(Listed(), QStringList{});
}

TEST_F(ReferencesWindowTest, GoingToARowTheFindBarLeftOutOrTheSortMovedShowsIt) {
  ASSERT_TRUE(form->LoadFile(path));
  ShowMode(6);
  SelectRow(0, "Beta 1");
  Key(QKeySequence(Qt::CTRL | Qt::Key_R));
  ASSERT_TRUE(WaitForPlaces());
  // Events sorted by Name: "Beta down" comes first.
  ShowMode(4);
  QHeaderView* header = List()->header();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
  ASSERT_EQ(List()->model()->index(0, 1).data().toString(), "Beta down");
  Action("MenuEditFind")->trigger();
  QTest::keyClicks(Find<QLineEdit>("FindField"), "Start");
  ASSERT_EQ(List()->model()->rowCount(), 1);

  ClickPlace(0);  // "Beta down", which the find bar leaves out
  EXPECT_FALSE(Find<QWidget>("FindBar")->isVisible());
  EXPECT_EQ(List()->model()->rowCount(), 2);
  EXPECT_EQ(CurrentCell(1), "Beta down");
  EXPECT_EQ(List()->currentIndex().row(), 0);  // where the sort put it
  EXPECT_EQ(Find<QTextEdit>("RichTextBox1")->textCursor().selectedText(), "   ( is-destroyed-delay 0 \"Beta 1\" )");
}

// The places listed belong to the mission they were found in: another
// mission empties the pane, which says so, even when it was asked while the
// index was still being built; the same file read again lists them anew.
TEST_F(ReferencesWindowTest, AnotherMissionEmptiesThePaneTheSameFileReadAgainListsAnew) {
  ASSERT_TRUE(form->LoadFile(path));
  ShowMode(6);
  SelectRow(0, "Beta 1");
  // No event has been handled since the load, so the index has not arrived.
  Action("MenuEditReferences")->trigger();
  EXPECT_TRUE(Summary().startsWith("Looking for the places that name \"Beta 1\"")) << qPrintable(Summary());
  ASSERT_TRUE(WaitForPlaces());
  EXPECT_EQ(Summary(), "4 places name \"Beta 1\".");

  Action("MenuFileReload")->trigger();
  ASSERT_TRUE(WaitForPlaces());
  EXPECT_EQ(Summary(), "4 places name \"Beta 1\".");

  const QString replaced =
      "\"Beta 1\" was looked up in the mission shown before. Find References again on a row of this one.";
  ASSERT_TRUE(form->LoadFile(otherPath));
  EXPECT_EQ(Summary(), replaced);
  EXPECT_EQ(Listed(), QStringList{});
  QTest::qWait(50);  // time for the new index, which lists nothing by itself
  EXPECT_EQ(Summary(), replaced);
  EXPECT_EQ(Listed(), QStringList{});

  // Asked while the index is being built, then replaced before it comes.
  ASSERT_TRUE(form->LoadFile(path));
  ShowMode(6);
  SelectRow(0, "Beta 1");
  Action("MenuEditReferences")->trigger();
  ASSERT_TRUE(form->LoadFile(otherPath));
  QTest::qWait(50);  // time for a stray delivery of the first index
  EXPECT_EQ(Summary(), replaced);
  EXPECT_EQ(Listed(), QStringList{});

  // Asked anew, the new mission's places come.
  ShowMode(6);
  SelectRow(0, "Beta 1");
  Action("MenuEditReferences")->trigger();
  ASSERT_TRUE(WaitForPlaces());
  EXPECT_EQ(Summary(), "1 place names \"Beta 1\".");
  ClickPlace(0);
  EXPECT_EQ(form->CurrentMode(), 4);
  EXPECT_EQ(CurrentCell(1), "Beta arrives");
}

}  // namespace
}  // namespace ui
