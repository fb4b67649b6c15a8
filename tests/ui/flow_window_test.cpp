// The Event Flow pane in the real window: opening it, a click on a box
// going to its row (and Back returning), the highlight following the list,
// the neighbourhood laid out for the latest selection only, a mission
// without events, a reload keeping the zoom, saving the picture.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <atomic>
#include <future>

#include "graphviz/graphviz.h"
#include "tests/ui/form_fixture.h"
#include "ui/flow/eventflowpane.h"
#include "ui/flow/flowview.h"
#include "views/flow.h"

namespace ui {
namespace {

using testing::MainFormTest;

constexpr int kFlowWaitMs = 10000;

const char* const kFlowMission[] = {
    "#Mission Info",
    "$Name: Flow",
    "#Objects",
    "$Name: Alpha 1",
    "$Arrival Cue: ( true )",
    "#Events",
    "$Formula: ( when ( true ) ( do-nothing ) )",
    "+Name: Start",
    "$Formula: ( when ( is-event-true-delay \"Start\" 0 ) ( do-nothing ) )",
    "+Name: Second",
    "$Formula: ( when ( is-event-true-delay \"Second\" 0 )",
    "   ( reset-event \"Start\" ) )",
    "+Name: Third",
    "$Formula: ( true )",
    "+Name: Alone",
    "#Goals",
    "$Type: Primary",
    "+Name: Win",
    "$Formula: ( is-event-true-delay \"Third\" 0 )",
};

class FlowWindowTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    QByteArray bytes;
    for (const char* line : kFlowMission) bytes += QByteArray(line) + "\r\n";
    path = WriteMission(QStringLiteral("flow.fs2"), bytes);
  }

  // The window with the pane open and the mission loaded, its picture drawn.
  EventFlowPane* OpenWithPicture() {
    SetSetting("Display", "EventFlow", "1");
    EXPECT_TRUE(Form().LoadFile(path));
    EventFlowPane* pane = Pane();
    EXPECT_TRUE(pane->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane->Picture() != nullptr && !pane->Layouter()->Busy(); }, kFlowWaitMs))
        << qPrintable(Info());
    return pane;
  }
  EventFlowPane* Pane() { return Find<EventFlowPane>("EventFlowPane"); }
  QString Info() { return Find<QLabel>("EventFlowInfo")->text(); }
  // The node of the mission's graph for row `row` of view `mode`.
  std::uint32_t NodeOf(int mode, int row) {
    const std::optional<std::uint32_t> node =
        views::FindFlowNode(Pane()->Graph()->graph, mode, static_cast<std::uint32_t>(row));
    EXPECT_TRUE(node.has_value()) << mode << "," << row;
    return node.value_or(0);
  }
  // Clicks the box of a node of the mission's graph.
  void ClickBox(std::uint32_t node) {
    const views::FlowPicture* picture = Pane()->Picture();
    ASSERT_NE(picture, nullptr);
    const auto& origin = picture->part.origin;
    const auto at = std::find(origin.begin(), origin.end(), node);
    ASSERT_NE(at, origin.end());
    FlowView* view = Pane()->View();
    const views::FlowBox& box = picture->boxes[static_cast<std::size_t>(at - origin.begin())];
    view->ShowNode(static_cast<std::uint32_t>(at - origin.begin()));
    const QPoint point = view->mapFromScene(QPointF(box.Center().x, box.Center().y));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
  }
  void SelectListRow(int row) { List()->setCurrentIndex(List()->model()->index(row, 0)); }
  bool WaitUntilLaidOut() {
    return QTest::qWaitFor([&] { return !Pane()->Layouter()->Busy(); }, kFlowWaitMs);
  }

  QString path;
};

TEST_F(FlowWindowTest, CtrlEOpensThePaneWhichRemembersIt) {
  ASSERT_TRUE(Form().LoadFile(path));
  EventFlowPane* pane = Pane();
  EXPECT_FALSE(pane->isVisible());
  EXPECT_EQ(Action("MenuViewEventFlow")->text(), QStringLiteral("Event Flow"));
  Key(QKeySequence(Qt::CTRL | Qt::Key_E));
  EXPECT_TRUE(pane->isVisible());
  EXPECT_EQ(Setting("Display", "EventFlow"), QStringLiteral("1"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return pane->Picture() != nullptr; }, kFlowWaitMs)) << qPrintable(Info());
  const views::FlowPicture& picture = *pane->Picture();
  EXPECT_EQ(picture.part.graph.nodes.size(), 5u);
  EXPECT_EQ(picture.part.graph.edges.size(), 4u);
  EXPECT_EQ(picture.unlinkedCount, 1u);
  EXPECT_EQ(Info(), QStringLiteral("4 events, 1 goal, 4 links (1 without links)"));
  Key(QKeySequence(Qt::CTRL | Qt::Key_E));
  EXPECT_FALSE(pane->isVisible());
  EXPECT_EQ(Setting("Display", "EventFlow"), QStringLiteral("0"));
}

TEST_F(FlowWindowTest, AClickOnABoxGoesToItsRowAndBackReturns) {
  OpenWithPicture();
  ShowMode(views::kModeEvents);
  SelectListRow(0);
  ClickBox(NodeOf(views::kModeEvents, 3));
  EXPECT_EQ(Form().CurrentMode(), views::kModeEvents);
  EXPECT_EQ(CurrentRow(), 2);
  EXPECT_NE(Sexp()->toPlainText().indexOf(QStringLiteral("reset-event")), -1) << "its formula is shown";
  ClickBox(NodeOf(views::kModeGoals, 1));
  EXPECT_EQ(Form().CurrentMode(), views::kModeGoals);
  EXPECT_EQ(CurrentRow(), 0);
  Action("MenuGoBack")->trigger();
  EXPECT_EQ(Form().CurrentMode(), views::kModeEvents);
  EXPECT_EQ(CurrentRow(), 2);
  Action("MenuGoBack")->trigger();
  EXPECT_EQ(CurrentRow(), 0);
}

TEST_F(FlowWindowTest, TheHighlightFollowsTheListSelection) {
  EventFlowPane* pane = OpenWithPicture();
  ShowMode(views::kModeEvents);
  for (int row = 0; row < 4; ++row) {
    SelectListRow(row);
    EXPECT_EQ(pane->HighlightedNode(), NodeOf(views::kModeEvents, row + 1)) << row;
  }
  ShowMode(views::kModeGoals);  // selects its first row
  EXPECT_EQ(pane->HighlightedNode(), NodeOf(views::kModeGoals, 1));
  ShowMode(views::kModeShips);
  EXPECT_FALSE(pane->HighlightedNode().has_value());
  EXPECT_TRUE(WaitUntilLaidOut());
  EXPECT_EQ(pane->Picture()->part.graph.nodes.size(), 5u) << "the whole mission stays";
}

TEST_F(FlowWindowTest, OnlyTheLatestNeighbourhoodIsShown) {
  EventFlowPane* pane = OpenWithPicture();
  // The first layout waits until released; each layout is counted.
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  auto runs = std::make_shared<std::atomic<int>>(0);
  pane->Layouter()->SetLayout([released, runs](const std::string& dot, std::string& plain, std::string& error) {
    if (runs->fetch_add(1) == 0) released.wait();
    return graphviz::Render(dot, "plain", plain, error);
  });
  Find<QComboBox>("EventFlowMode")->setCurrentIndex(static_cast<int>(views::FlowChoice::kNeighbourhood));
  EXPECT_EQ(Setting("Display", "EventFlowMode"), QStringLiteral("neighbourhood"));
  ShowMode(views::kModeEvents);  // row 1: its neighbourhood is laid out, and waits
  ASSERT_TRUE(QTest::qWaitFor([&] { return runs->load() == 1; }, kFlowWaitMs));
  SelectListRow(1);  // waits behind it
  SelectListRow(2);  // takes its place
  release.set_value();
  ASSERT_TRUE(WaitUntilLaidOut());
  QTest::qWait(50);  // anything late would arrive now
  EXPECT_EQ(runs->load(), 2) << "the neighbourhood of row 2 was never laid out";
  EXPECT_EQ(pane->Layouter()->Dropped(), 1) << "that of row 1 came back too late";
  ASSERT_NE(pane->Picture(), nullptr);
  EXPECT_EQ(pane->Picture()->part.origin.front(), NodeOf(views::kModeEvents, 3));
  EXPECT_EQ(pane->HighlightedNode(), NodeOf(views::kModeEvents, 3));
  // Third reaches all in two steps, but Alone, which has no link.
  EXPECT_EQ(pane->Picture()->part.graph.nodes.size(), 4u);
  EXPECT_TRUE(Info().startsWith(QStringLiteral("\u201cThird\u201d within 2 steps: "))) << qPrintable(Info());
}

TEST_F(FlowWindowTest, AMissionWithoutEventsSaysSo) {
  SetSetting("Display", "EventFlow", "1");
  ASSERT_TRUE(Form().LoadFile(WriteMission(QStringLiteral("empty.fs2"), "#Mission Info\r\n$Name: Empty\r\n")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Info() == QStringLiteral("This mission has no events or goals."); },
                              kFlowWaitMs))
      << qPrintable(Info());
  EXPECT_EQ(Pane()->Picture(), nullptr);
  EXPECT_TRUE(dialogs.warnings.isEmpty());
}

TEST_F(FlowWindowTest, AReloadKeepsTheZoomAnotherMissionDoesNot) {
  EventFlowPane* pane = OpenWithPicture();
  FlowView* view = pane->View();
  QApplication::setActiveWindow(&Form());
  view->setFocus();
  const double before = view->Zoom();
  QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_NEAR(view->Zoom(), before * 1.25, 1e-9);
  QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
  QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
  const double zoomed = view->Zoom();
  EXPECT_NEAR(zoomed, before / 1.25, 1e-9);

  Action("MenuFileReload")->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return pane->Picture() != nullptr && !pane->Layouter()->Busy(); }, kFlowWaitMs));
  EXPECT_NEAR(view->Zoom(), zoomed, 1e-9);

  QByteArray other;
  for (const char* line : kFlowMission) other += QByteArray(line) + "\r\n";
  ASSERT_TRUE(Form().LoadFile(WriteMission(QStringLiteral("other.fs2"), other)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return pane->Picture() != nullptr && !pane->Layouter()->Busy(); }, kFlowWaitMs));
  EXPECT_NEAR(view->Zoom(), before, 1e-9) << "a new mission is introduced afresh";
}

TEST_F(FlowWindowTest, SavesThePictureAsSvgOrPng) {
  EventFlowPane* pane = OpenWithPicture();
  struct Case {
    const char* name;
    QByteArray start;
  };
  for (const Case& c : {Case{"flow.svg", "<?xml"}, Case{"flow.png", "\x89PNG"}}) {
    QString error;
    const QString file = dir.filePath(QString::fromLatin1(c.name));
    ASSERT_TRUE(pane->SavePicture(file, error)) << qPrintable(error);
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith(c.start)) << c.name;
  }
  QString error;
  EXPECT_FALSE(pane->SavePicture(dir.filePath(QStringLiteral("no/such/folder/flow.svg")), error));
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace ui
