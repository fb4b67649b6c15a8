// Following a mission in the real window: links of the code windows, Back
// and Forward, the details of messages, ships and wings under the list, the
// dragged pane boundaries and column widths kept across a restart, and the
// hint of a window without a mission.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QTextBlock>

#include "tests/ui/form_fixture.h"
#include "ui/common/qtext.h"
#include "ui/common/units.h"
#include "ui/list/listmodel.h"
#include "ui/rules/rules.h"

namespace ui {
namespace {

using testing::kSample;
using testing::MainFormTest;

const char* const kFollowMission[] = {
    "#Mission Info",
    "$Name: Follow",
    "#Objects",
    "$Name: Alpha 1",
    "$Class: GTF Ulysses",
    "$Arrival Cue: ( true )",
    "$Departure Cue: ( is-event-true-delay \"Beta down\" 0 )",
    "$Name: Beta 1",
    "$Class: GVF Seth",
    "$Arrival Cue: ( has-arrived-delay 5",
    "   \"Alpha 1\" )",
    "#Wings",
    "$Name: Alpha",
    "$Arrival Cue: ( is-destroyed-delay 0 \"Beta 1\" )",
    "$Ships: (",
    "\"Alpha 1\"",
    ")",
    "#Events",
    "$Formula: ( when",
    "   ( true )",
    "   ( send-message \"#Command\" \"High\" \"Hello\" ) )",
    "+Name: Start",
    "$Formula: ( when",
    "   ( is-destroyed-delay 0 \"Beta 1\" )",
    "   ( send-message \"#Command\" \"High\" \"Hello\" ) )",
    "+Name: Beta down",
    "#Messages",
    "$Name: Other",
    "$MessageNew: XSTR(\"Short\", -1)",
    "$Name: Hello",
    "$MessageNew:  XSTR(\"Hi, Alpha.",
    "Stay close.\", 1200)",
    "$end_multi_text",
    "+Persona: Wingman",
    "+AVI Name: head-a",
    "+Wave Name: hello.wav",
};

class FollowWindowTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    path = dir.filePath(QStringLiteral("follow.fs2"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const char* line : kFollowMission) file.write(QByteArray(line) + "\r\n");
  }

  // The text a window underlines, or nothing.
  static QString Underlined(QTextEdit* window) {
    const QList<QTextEdit::ExtraSelection> selections = window->extraSelections();
    if (selections.size() != 1 || !selections[0].format.fontUnderline()) return {};
    // Only the underline: the link keeps the colours of its text.
    EXPECT_FALSE(selections[0].format.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(selections[0].format.hasProperty(QTextFormat::BackgroundBrush));
    return selections[0].cursor.selectedText();
  }
  int ListRow() { return ListRowOf(List()->currentIndex()); }
  QWidget* Pane() { return Find<QWidget>("MessagePane"); }
  QString PaneText() { return Find<QTextEdit>("MessagePane")->toPlainText(); }

  // Drags a boundary's handle by `delta` pixels, with the moves a mouse makes.
  void Drag(const char* handleName, QPoint delta) {
    auto* handle = Find<QWidget>(handleName);
    ASSERT_TRUE(handle->isVisible()) << handleName;
    const QPoint start = handle->rect().center();
    // The handle moves with the boundary; the mouse moves on the screen.
    const QPointF origin = handle->mapToGlobal(QPointF(start));
    QTest::mousePress(handle, Qt::LeftButton, {}, start);
    for (int step = 1; step <= 4; ++step) {
      const QPointF global = origin + QPointF(delta * step / 4);
      const QPointF at = handle->mapFromGlobal(global);
      QMouseEvent move(QEvent::MouseMove, at, handle->mapTo(&Form(), at), global, Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
      QApplication::sendEvent(handle, &move);
    }
    QTest::mouseRelease(handle, Qt::LeftButton, {}, handle->rect().center());
  }
  void Restart() {
    form.reset();
    ASSERT_TRUE(Form().LoadFile(path));
  }

  QString path;
};

TEST_F(FollowWindowTest, LinksInBothCodeWindowsGoToTheirRows) {
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(4);
  List()->setCurrentIndex(List()->model()->index(1, 0));  // "Beta down"

  // Under the mouse a name is underlined; off it, nothing is.
  Hover(Sexp(), PointOf(Sexp(), "Beta 1"));
  EXPECT_EQ(Underlined(Sexp()), "Beta 1");
  EXPECT_EQ(Sexp()->viewport()->cursor().shape(), Qt::PointingHandCursor);
  Hover(Sexp(), PointOf(Sexp(), "High"));  // a priority, not a name
  EXPECT_EQ(Underlined(Sexp()), "");
  Hover(Sexp(), PointOf(Sexp(), "Beta 1", -1));  // on its quote
  EXPECT_EQ(Underlined(Sexp()), "");

  // The ship's row, showing its cues, which link on in their turn.
  ClickName(Sexp(), "Beta 1");
  EXPECT_EQ(Form().CurrentMode(), 6);
  EXPECT_EQ(ListRow(), 1);
  EXPECT_EQ(Sexp()->toPlainText(), "$Arrival Cue: ( has-arrived-delay 5\n   \"Alpha 1\" )");
  ClickName(Sexp(), "Alpha 1");
  EXPECT_EQ(ListRow(), 0);
  ClickName(Sexp(), "Beta down");
  EXPECT_EQ(Form().CurrentMode(), 4);
  EXPECT_EQ(ListRow(), 1);

  // A name in the translation: the message, with its text under the list.
  ClickName(Parsed(), "Hello");
  EXPECT_EQ(Form().CurrentMode(), 5);
  EXPECT_EQ(ListRow(), 1);
  EXPECT_TRUE(PaneText().startsWith("Hi, Alpha.")) << qPrintable(PaneText());

  // A selection dragged from a name is no click.
  Key(QKeySequence(Qt::ALT | Qt::Key_Left));
  ASSERT_EQ(Form().CurrentMode(), 4);
  const QPoint from = PointOf(Sexp(), "Beta 1");
  QTest::mousePress(Sexp()->viewport(), Qt::LeftButton, {}, from);
  QMouseEvent drag(QEvent::MouseMove, QPointF(from + QPoint(40, 0)), Sexp()->viewport()->mapToGlobal(QPointF(from)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Sexp()->viewport(), &drag);
  QTest::mouseRelease(Sexp()->viewport(), Qt::LeftButton, {}, from);
  EXPECT_EQ(Form().CurrentMode(), 4);
}

TEST_F(FollowWindowTest, BackAndForwardRetraceTheJumps) {
  ASSERT_TRUE(Form().LoadFile(path));
  QAction* back = Action("MenuGoBack");
  QAction* forward = Action("MenuGoForward");
  EXPECT_FALSE(back->isEnabled());
  EXPECT_FALSE(forward->isEnabled());
  ShowMode(4);
  List()->setCurrentIndex(List()->model()->index(1, 0));
  ClickName(Sexp(), "Beta 1");   // Ships, row 2
  ClickName(Sexp(), "Alpha 1");  // Ships, row 1
  EXPECT_TRUE(back->isEnabled());
  EXPECT_FALSE(forward->isEnabled());

  const struct {
    Qt::Key key;
    int mode, row;
  } steps[] = {{Qt::Key_Left, 6, 1}, {Qt::Key_Left, 4, 1}, {Qt::Key_Left, 4, 1}, {Qt::Key_Right, 6, 1},
               {Qt::Key_Right, 6, 0}, {Qt::Key_Right, 6, 0}, {Qt::Key_Left, 6, 1}};
  for (const auto& step : steps) {
    Key(QKeySequence(Qt::ALT | step.key));
    EXPECT_EQ(Form().CurrentMode(), step.mode);
    EXPECT_EQ(ListRow(), step.row);
  }
  // The place went back to shows what selecting it shows: the event's formula.
  Key(QKeySequence(Qt::ALT | Qt::Key_Left));
  EXPECT_TRUE(Sexp()->toPlainText().contains("is-destroyed-delay"));
  EXPECT_FALSE(back->isEnabled());
  EXPECT_TRUE(forward->isEnabled());

  // A new jump forgets the places ahead; a load forgets them all.
  ClickName(Parsed(), "Hello");
  EXPECT_FALSE(forward->isEnabled());
  EXPECT_TRUE(back->isEnabled());
  ASSERT_TRUE(Form().LoadFile(path));
  EXPECT_FALSE(back->isEnabled());
}

TEST_F(FollowWindowTest, ActivatedProblemsAreJumpsToo) {
  ASSERT_TRUE(Form().LoadFile(kSample));  // its one problem lies in a view
  auto* problems = Find<QTreeView>("ProblemsList");
  ASSERT_TRUE(QTest::qWaitFor([&] { return problems->model()->rowCount() > 0; }, 5000));
  ShowMode(7);
  emit problems->activated(problems->model()->index(0, 0));
  ASSERT_NE(Form().CurrentMode(), 7);
  Key(QKeySequence(Qt::ALT | Qt::Key_Left));
  EXPECT_EQ(Form().CurrentMode(), 7);
  EXPECT_EQ(ListRow(), 0);
}

TEST_F(FollowWindowTest, MessageDetailsUnderTheList) {
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(5);
  // Row 1 is selected by the switch, and shows at once.
  EXPECT_TRUE(Pane()->isVisible());
  EXPECT_EQ(PaneText(), "Short");
  List()->setCurrentIndex(List()->model()->index(1, 0));
  EXPECT_EQ(PaneText(), "Hi, Alpha.\nStay close.\n\nPersona: Wingman\nAVI: head-a\nWAV: hello.wav");
  EXPECT_FALSE(Sexp()->isVisible());
  // The pane takes the code windows' place; the list and its cells stay.
  EXPECT_EQ(Pane()->geometry().top(), Sexp()->geometry().top());
  EXPECT_LT(List()->geometry().bottom(), Pane()->geometry().top());
  EXPECT_EQ(Cell(1, 1), "Hi, Alpha.");
  EXPECT_TRUE(List()->currentIndex().data(kTagRole).toString().isEmpty());

  // Other views hide it; Events shows formulas again.
  ShowMode(4);
  EXPECT_FALSE(Pane()->isVisible());
  EXPECT_TRUE(Sexp()->isVisible());
  ShowMode(3);  // no directives: nothing under the list
  EXPECT_FALSE(Pane()->isVisible());
  EXPECT_FALSE(Sexp()->isVisible());
}

TEST_F(FollowWindowTest, AHugeMessageIsCutLikeACodeWindowsText) {
  const QByteArray text(300000, 'a');
  const QString huge = WriteMission(
      QStringLiteral("huge.fs2"),
      "#Mission Info\r\n$Name: Huge\r\n#Messages\r\n$Name: Long\r\n$MessageNew: " + text + "\r\n");
  ASSERT_TRUE(Form().LoadFile(huge));
  ShowMode(5);
  QString shown = ToQString(CodeWindowText(FromQString(QString::fromLatin1(text))));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  EXPECT_LT(shown.size(), text.size());
  EXPECT_EQ(PaneText(), shown);
}

TEST_F(FollowWindowTest, ShipAndWingCuesUnderTheList) {
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(6);
  EXPECT_TRUE(Sexp()->isVisible() && Parsed()->isVisible());
  EXPECT_FALSE(Pane()->isVisible());
  EXPECT_EQ(Sexp()->toPlainText(), "$Arrival Cue: ( true )\n$Departure Cue: ( is-event-true-delay \"Beta down\" 0 )");
  EXPECT_TRUE(Parsed()->toPlainText().startsWith("Arrival cue:\n")) << qPrintable(Parsed()->toPlainText());
  EXPECT_TRUE(Parsed()->toPlainText().contains("\n\nDeparture cue:\n"));
  ShowMode(7);
  EXPECT_EQ(Sexp()->toPlainText(), "$Arrival Cue: ( is-destroyed-delay 0 \"Beta 1\" )");
  // The code windows can be switched off as for formulas.
  EXPECT_TRUE(Action("MenuViewCodeL")->isEnabled());
}

TEST_F(FollowWindowTest, DraggedBoundariesAreKeptAcrossARestart) {
  SetSetting("Display", "TreeView", "1");
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(4);
  const QRect tree = Tree()->geometry(), list = List()->geometry(), code = Sexp()->geometry();
  Drag("TreeBoundary", QPoint(-60, 0));
  Drag("ListBoundary", QPoint(0, -50));
  EXPECT_EQ(Tree()->width(), tree.width() - 60);
  EXPECT_EQ(List()->x(), list.x() - 60);
  EXPECT_EQ(List()->height(), list.height() - 50);
  EXPECT_EQ(Sexp()->y(), code.y() - 50);
  const double t = TwipsPerPixel(Form());
  EXPECT_NEAR(Setting("Display", "TreeWidth").toDouble(), (tree.width() - 60) * t, t);
  EXPECT_FALSE(Setting("Display", "ListHeight").isEmpty());

  Restart();
  ShowMode(4);
  EXPECT_EQ(Tree()->width(), tree.width() - 60);
  EXPECT_EQ(List()->height(), list.height() - 50);
  // The boundary under the list also holds for the other panes under it.
  ShowMode(5);
  EXPECT_EQ(Pane()->y(), code.y() - 50);

  // A double click puts a boundary back where the design has it.
  ShowMode(4);
  QTest::mouseDClick(Find<QWidget>("TreeBoundary"), Qt::LeftButton);
  EXPECT_EQ(Tree()->width(), tree.width());
  EXPECT_EQ(Setting("Display", "TreeWidth"), "");
}

TEST_F(FollowWindowTest, TheListKeepsThreeRowsAndThePaneUnderItHalfAnInch) {
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(4);
  Drag("ListBoundary", QPoint(0, -2000));
  const int row = List()->sizeHintForRow(0);
  EXPECT_GE(List()->viewport()->height(), 3 * row);
  Drag("ListBoundary", QPoint(0, 4000));
  EXPECT_GE(Sexp()->height(), qRound(720 / TwipsPerPixel(Form())) - 1);
  EXPECT_LE(Sexp()->geometry().bottom(), Form().centralWidget()->height());
}

TEST_F(FollowWindowTest, ColumnWidthsAreKeptPerView) {
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(6);
  QHeaderView* header = List()->header();
  const int design = header->sectionSize(1);
  ClickHeader(0);  // sorted by name
  header->resizeSection(1, design + 40);  // as a drag of its edge does
  QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  ShowMode(4);
  EXPECT_NE(header->sectionSize(1), design + 40);  // the Events view's own
  ShowMode(6);
  EXPECT_EQ(header->sectionSize(1), design + 40);
  // The sort stays the list's own rule.
  EXPECT_EQ(header->sortIndicatorSection(), 0);
  EXPECT_EQ(Cell(0, 0), "Alpha 1");
  Restart();
  ShowMode(6);
  EXPECT_EQ(List()->header()->sectionSize(1), design + 40);
}

TEST_F(FollowWindowTest, WithoutAMissionTheListSaysHowToOpenOne) {
  auto* hint = Find<QLabel>("ListHint");
  EXPECT_TRUE(hint->isVisible());
  for (const char* what : {"File > Open FreeSpace 1 mission", "File > Open FreeSpace 2 mission", "drop"})
    EXPECT_TRUE(hint->text().contains(what)) << what;
  ASSERT_TRUE(Form().LoadFile(path));
  EXPECT_FALSE(hint->isVisible());
}

}  // namespace
}  // namespace ui
