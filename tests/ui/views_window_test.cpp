// The views after the eight in the real window: their menu entries, keys
// and icons; a stage's coloured text above its formula; links to and from
// the Variables view; Find References on a variable; the word of a view
// whose section the mission lacks.
#include <gtest/gtest.h>

#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>

#include "tests/ui/form_fixture.h"
#include "ui/common/units.h"
#include "ui/list/listmodel.h"

namespace ui {
namespace {

using testing::MainFormTest;

const char* const kViewsMission[] = {
    "#Mission Info",
    "$Name: Views",
    "#Sexp_variables",
    "$Variables:",
    "(",
    "\t\t0\t\t\"Heat\"\t\t\"0\"\t\t\"number\"",
    "\t\t1\t\t\"Target\"\t\t\"Alpha 1\"\t\t\"string\"\t\t\"campaign-persistent\"",
    ")",
    "#Command Briefing",
    "$Stage Text:",
    "XSTR(\"$W March 2178\", -1)",
    "$end_multi_text",
    "$Ani Filename: cb_010.ani",
    "+Wave Filename: none",
    "#Briefing",
    "$start_briefing",
    "$num_stages: 2",
    "$start_stage",
    "$multi_text",
    "XSTR(\"Meet the $f Sunder$|. near $h Refute\", -1)",
    "$end_multi_text",
    "$voice: b1.wav",
    "$num_icons: 0",
    "$Formula: ( true )",
    "$end_stage",
    "$start_stage",
    "$multi_text",
    "Then go home.",
    "$end_multi_text",
    "$Formula: ( is-event-true-delay \"Warm up\" 0 )",
    "$end_stage",
    "$end_briefing",
    "#Debriefing_info",
    "$Num stages: 1",
    "$Formula: ( > @Heat[0] 5 )",
    "$Multi text",
    "Too hot.",
    "$end_multi_text",
    "$Voice: d1.wav",
    "$Recommendation text:",
    "Cool down.",
    "$end_multi_text",
    "#Objects",
    "$Name: Alpha 1",
    "$Team: Friendly",
    "#Events",
    "$Formula: ( when",
    "   ( true )",
    "   ( modify-variable @Heat[0] 3 ) )",
    "+Name: Warm up",
    "#Messages",
    "$Name: Status",
    "$MessageNew: XSTR(\"Heat is $Heat\", -1)",
    "$end_multi_text",
};

class ViewsWindowTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    QByteArray bytes;
    for (const char* line : kViewsMission) bytes += QByteArray(line) + "\r\n";
    path = WriteMission(QStringLiteral("views.fs2"), bytes);
  }

  QTextEdit* Pane() { return Find<QTextEdit>("MessagePane"); }
  int ListRow() { return ListRowOf(List()->currentIndex()); }
  // The colour of the pane's character at the start of `word`.
  QColor PaneColourOf(const QString& word) {
    const int at = static_cast<int>(Pane()->toPlainText().indexOf(word));
    EXPECT_GE(at, 0) << qPrintable(word);
    QTextCursor cursor(Pane()->document());
    cursor.setPosition(at + 1);
    return cursor.charFormat().foreground().color();
  }
  // Clicks the text `word` of a code window.
  static void ClickText(QTextEdit* window, const QString& word) {
    const int at = static_cast<int>(window->toPlainText().indexOf(word)) + 1;
    ASSERT_GT(at, 0) << qPrintable(word);
    QTextCursor cursor(window->document());
    cursor.setPosition(at);
    const QPoint point = window->cursorRect(cursor).center();
    QMouseEvent move(QEvent::MouseMove, QPointF(point), window->viewport()->mapToGlobal(QPointF(point)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->viewport(), &move);
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, point);
  }

  QString path;
};

TEST_F(ViewsWindowTest, MenuEntriesKeysAndIconsAfterTheEight) {
  ASSERT_TRUE(Form().LoadFile(path));
  QMenu* view = Action("MenuView")->menu();
  ASSERT_NE(view, nullptr);
  const QList<QAction*> entries = view->actions();
  const qsizetype eighth = entries.indexOf(Action("MenuViewMode8"));
  EXPECT_TRUE(entries[eighth + 1]->isSeparator());
  const struct {
    int mode;
    const char* caption;
    QKeySequence key;
    const char* label;
  } cases[] = {
      {9, "&Variables", QKeySequence(Qt::SHIFT | Qt::Key_F2), "Variables"},
      {10, "&Briefing", QKeySequence(Qt::SHIFT | Qt::Key_F3), "Briefing"},
      {11, "Co&mmand Briefing", QKeySequence(Qt::SHIFT | Qt::Key_F4), "Command Briefing"},
      {12, "Deb&riefing", QKeySequence(Qt::SHIFT | Qt::Key_F5), "Debriefing"},
      {13, "S&ummary", QKeySequence(Qt::SHIFT | Qt::Key_F6), "Summary"},
  };
  for (const auto& c : cases) {
    QAction* entry = Action(qPrintable(QStringLiteral("MenuViewMode%1").arg(c.mode)));
    EXPECT_EQ(entries.indexOf(entry), eighth + 1 + (c.mode - 8)) << c.mode;
    EXPECT_EQ(entry->text(), c.caption);
    EXPECT_EQ(entry->shortcut(), c.key);
    EXPECT_TRUE(entry->isEnabled());
    EXPECT_EQ(Find<QLabel>(qPrintable(QStringLiteral("LabelMode%1").arg(c.mode)))->text(), c.label);
    EXPECT_FALSE(Find<QLabel>(qPrintable(QStringLiteral("IconMode%1").arg(c.mode)))->pixmap().isNull()) << c.mode;
    // The key switches to the view, whose title stands above the list.
    Key(c.key);
    EXPECT_EQ(Form().CurrentMode(), c.mode);
    EXPECT_TRUE(entry->isChecked());
    EXPECT_EQ(Find<QLabel>("BarTopText")->text(), c.label);
  }
}

TEST_F(ViewsWindowTest, BriefingStageShowsItsTextInTheGamesColoursAboveItsFormula) {
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(10);
  EXPECT_EQ(Cell(0, 2), "Meet the Sunder. near Refute");
  EXPECT_EQ(Cell(0, 3), "b1.wav");
  // Row 1 is selected by the switch: its text in the pane, its formula below.
  ASSERT_TRUE(Pane()->isVisible());
  EXPECT_EQ(Pane()->toPlainText(), "Meet the Sunder. near Refute\n\nVoice: b1.wav");
  EXPECT_EQ(PaneColourOf("Meet"), ColourFromBgr(0x696969));   // the game's white, 105 grey
  EXPECT_EQ(PaneColourOf("Sunder"), QColor(50, 100, 50));      // friendly
  EXPECT_EQ(PaneColourOf(". near"), ColourFromBgr(0x696969));  // "$|" ends the run
  EXPECT_EQ(PaneColourOf("Refute"), QColor(140, 20, 20));      // hostile
  EXPECT_EQ(Pane()->palette().color(QPalette::Base), QColor(Qt::black));
  EXPECT_TRUE(Sexp()->isVisible() && Parsed()->isVisible());
  EXPECT_LT(Pane()->geometry().bottom(), Sexp()->geometry().top());
  EXPECT_EQ(Sexp()->toPlainText(), "( true )");

  // The second stage; its formula's event name links to the event.
  List()->setCurrentIndex(List()->model()->index(1, 0));
  EXPECT_EQ(Pane()->toPlainText(), "Then go home.");
  EXPECT_EQ(Sexp()->toPlainText(), "( is-event-true-delay \"Warm up\" 0 )");
  EXPECT_TRUE(Parsed()->toPlainText().contains("Warm up")) << qPrintable(Parsed()->toPlainText());
  ClickText(Sexp(), "Warm up");
  EXPECT_EQ(Form().CurrentMode(), 4);
  EXPECT_EQ(ListRow(), 0);

  // A message row shows its plain text in the pane's own colours again.
  ShowMode(5);
  EXPECT_EQ(Pane()->toPlainText(), "Heat is $Heat");
  EXPECT_NE(Pane()->palette().color(QPalette::Base), QColor(Qt::black));
}

TEST_F(ViewsWindowTest, CommandBriefingAndDebriefingStages) {
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(11);
  EXPECT_EQ(Cell(0, 2), "March 2178");
  EXPECT_EQ(Cell(0, 3), "cb_010.ani");
  EXPECT_TRUE(Pane()->isVisible());
  EXPECT_EQ(Pane()->toPlainText(), "March 2178\n\nVoice: none\nAnimation: cb_010.ani");
  EXPECT_EQ(PaneColourOf("March"), QColor(255, 255, 255));  // $W, bright white
  // A command briefing stage has no formula.
  EXPECT_FALSE(Sexp()->isVisible());

  ShowMode(12);
  // The condition is the first line of the original translation, whatever
  // the translation the code windows use (the original reads no variables).
  EXPECT_EQ(Cell(0, 2), ">");
  EXPECT_EQ(Cell(0, 4), "Cool down.");
  EXPECT_EQ(Pane()->toPlainText(), "Too hot.\n\nRecommendation: Cool down.\n\nVoice: d1.wav");
  EXPECT_EQ(PaneColourOf("Cool"), QColor(126, 6, 6));  // a recommendation is red
  EXPECT_TRUE(Sexp()->isVisible());
  EXPECT_EQ(Sexp()->toPlainText(), "( > @Heat[0] 5 )");
  QAction* modern = Action("MenuViewModernOperators");
  if (!modern->isChecked()) modern->trigger();
  EXPECT_EQ(Parsed()->toPlainText(), " Variable(\"Heat\") > 5");
  ShowMode(1);
  ShowMode(12);
  EXPECT_EQ(Cell(0, 2), ">");
  // The variable in the formula goes to its row of the Variables view.
  ClickText(Sexp(), "Heat[0]");
  EXPECT_EQ(Form().CurrentMode(), 9);
  EXPECT_EQ(Cell(ListRow(), 1), "Heat");
}

TEST_F(ViewsWindowTest, FindReferencesOnAVariableMarksReadsAndWrites) {
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(9);
  EXPECT_EQ(Cell(0, 1), "Heat");
  EXPECT_EQ(Cell(0, 5), "2");  // read by the debriefing stage and the message
  EXPECT_EQ(Cell(0, 6), "1");  // changed by the event
  EXPECT_EQ(Cell(1, 4), "Campaign");
  QAction* references = Action("MenuEditReferences");
  ASSERT_TRUE(references->isEnabled());
  references->trigger();
  auto* summary = Find<QLabel>("ReferencesSummary");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !summary->text().startsWith("Looking"); }, 5000));
  EXPECT_EQ(summary->text(), "3 places use the variable \"Heat\".");
  QAbstractItemModel* places = Find<QTreeView>("ReferencesList")->model();
  QStringList listed;
  for (int r = 0; r < places->rowCount(); ++r) listed << places->index(r, 0).data().toString();
  EXPECT_EQ(listed, (QStringList{"Events: Warm up (writes)", "Messages: Status (reads)",
                                 "Debriefing: team 1, stage 1 (reads)"}));
  // The writing event: its row, its formula with the line marked.
  auto* list = Find<QTreeView>("ReferencesList");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(places->index(0, 0)).center());
  EXPECT_EQ(Form().CurrentMode(), 4);
  EXPECT_EQ(Sexp()->textCursor().selectedText(), "   ( modify-variable @Heat[0] 3 ) )");
  // And from the event's formula back to the variable (once the marked line
  // is no longer selected: a press in a selection is no click).
  Sexp()->moveCursor(QTextCursor::Start);
  ClickText(Sexp(), "Heat[0]");
  EXPECT_EQ(Form().CurrentMode(), 9);
  EXPECT_EQ(ListRow(), 0);
}

// The check reads the stages' formulas too: a problem in one shows its
// stage, as a problem in an event's formula shows the event.
TEST_F(ViewsWindowTest, AProblemInAStageShowsTheStage) {
  const QString checked = WriteMission(QStringLiteral("checked.fs2"),
                                       "#Mission Info\r\n$Name: Checked\r\n#Debriefing_info\r\n$Num stages: 2\r\n"
                                       "$Formula: ( true )\r\n"
                                       "$Multi text\r\nFine.\r\n$end_multi_text\r\n"
                                       "$Formula: ( is-event-true-delay \"Nowhere\" 0 )\r\n"
                                       "$Multi text\r\nLost.\r\n$end_multi_text\r\n");
  ASSERT_TRUE(Form().LoadFile(checked));
  auto* problems = Find<QTreeView>("ProblemsList");
  ASSERT_TRUE(QTest::qWaitFor([&] { return problems->model()->rowCount() > 0; }, 5000));
  ASSERT_EQ(problems->model()->rowCount(), 1);
  emit problems->activated(problems->model()->index(0, 0));
  EXPECT_EQ(Form().CurrentMode(), 12);
  EXPECT_EQ(ListRow(), 1);
  EXPECT_EQ(Pane()->toPlainText(), "Lost.");
  EXPECT_EQ(Sexp()->toPlainText(), "( is-event-true-delay \"Nowhere\" 0 )");
}

TEST_F(ViewsWindowTest, AViewWhoseSectionIsMissingSaysSo) {
  const QString plain = WriteMission(QStringLiteral("plain.fs2"), "#Mission Info\r\n$Name: Plain\r\n");
  ASSERT_TRUE(Form().LoadFile(plain));
  auto* hint = Find<QLabel>("NoSectionHint");
  const struct {
    int mode;
    const char* text;
  } cases[] = {{9, "This mission has no variables."},
               {10, "This mission has no briefing."},
               {11, "This mission has no command briefing."},
               {12, "This mission has no debriefing."}};
  for (const auto& c : cases) {
    ShowMode(c.mode);
    EXPECT_TRUE(hint->isVisible()) << c.mode;
    EXPECT_EQ(hint->text(), c.text);
    EXPECT_EQ(List()->model()->rowCount(), 0);
  }
  ShowMode(13);  // the summary always has its rows
  EXPECT_FALSE(hint->isVisible());
  EXPECT_EQ(Cell(0, 0), "Ships");
  ShowMode(1);
  EXPECT_FALSE(hint->isVisible());
}

}  // namespace
}  // namespace ui
