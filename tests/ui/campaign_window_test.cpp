// A campaign in the real window: opened like a mission, its General and
// Campaign views, a branch in the code windows and its links, a mission
// opened from its row (Enter) and Back to the campaign, and the campaign's
// problems with its missions' in the Problems pane.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolButton>

#include "tests/ui/form_fixture.h"
#include "ui/problems/problems.h"
#include "ui/rules/settings.h"

namespace ui {
namespace {

using testing::MainFormTest;

class CampaignWindowTest : public MainFormTest {
 protected:
  // Two missions and a campaign that lists them and one missing mission.
  QString WriteCampaign() {
    WriteMission("M01.fs2",
                 "#Mission Info\r\n$Name: First Strike\r\n#Goals\r\n$Type: Primary\r\n+Name: Scout\r\n"
                 "$Type: Primary\r\n+Name: Patrol\r\n");
    // An event naming an event that is not there: an error of the mission.
    WriteMission("M02.fs2",
                 "#Mission Info\r\n$Name: Second Wave\r\n#Events\r\n$Formula: ( when ( true ) ( do-nothing ) )\r\n"
                 "+Name: Start\r\n$Formula: ( when ( is-event-true-delay \"Nope\" 0 ) ( do-nothing ) )\r\n"
                 "+Name: Follow\r\n");
    return WriteMission("c.fc2",
                        "$Name: Test Campaign\r\n$Type: single\r\n"
                        "$Mission: M01.fs2\r\n"
                        "+Formula: ( cond ( ( is-previous-goal-true \"M01.fs2\" \"Patrol\" ) ( next-mission \"M02\" ) ) )\r\n"
                        "+Level: 0\r\n"
                        "$Mission: M02.fs2\r\n+Formula: ( true )\r\n+Level: 1\r\n"
                        "$Mission: Gone.fs2\r\n+Formula: ( true )\r\n"
                        "#End\r\n");
  }

  // Waits until the titles, read beside the window, are in the Campaign view.
  void WaitForTitles() {
    EXPECT_TRUE(QTest::qWaitFor([&] { return Cell(0, 2) == u"First Strike"; }, 5000)) << qPrintable(Cell(0, 2));
  }
};

TEST_F(CampaignWindowTest, ViewsBranchAndTitles) {
  const QString campaign = WriteCampaign();
  ASSERT_TRUE(Form().LoadFile(campaign));
  EXPECT_TRUE(dialogs.questions.isEmpty()) << "a campaign is no file of unknown kind";
  EXPECT_EQ(Form().CurrentMode(), 1);
  EXPECT_EQ(Cell(0, 0), u"Campaign Name");
  EXPECT_EQ(Cell(0, 1), u"Test Campaign");
  EXPECT_TRUE(Action("MenuViewMode14")->isVisible());
  EXPECT_FALSE(Action("MenuViewMode4")->isEnabled()) << "a campaign has no events";
  // Its icon is greyed and a click on it leaves the view shown.
  auto* events = Find<QLabel>("IconMode4");
  EXPECT_FALSE(events->isEnabled());
  EXPECT_TRUE(Find<QLabel>("IconMode1")->isEnabled());
  Click(events);
  EXPECT_EQ(Form().CurrentMode(), 1);
  ShowMode(14);
  Click(Find<QLabel>("IconMode1"));
  EXPECT_EQ(Form().CurrentMode(), 1) << "the General view's icon is offered";
  EXPECT_TRUE(Find<QLabel>("ListHint")->isHidden()) << "a campaign is no file without a mission's sections";

  ShowMode(14);
  ASSERT_EQ(Form().CurrentMode(), 14);
  WaitForTitles();
  ASSERT_EQ(List()->model()->rowCount(), 3);
  const QStringList captions = {"#", "Mission", "Title", "Level", "Next", "Found"};
  for (int c = 0; c < captions.size(); ++c) EXPECT_EQ(List()->model()->headerData(c, Qt::Horizontal), captions[c]);
  EXPECT_EQ(Cell(0, 4), u"M02");
  EXPECT_EQ(Cell(0, 5), u"Yes");
  EXPECT_EQ(Cell(1, 2), u"Second Wave");
  EXPECT_EQ(Cell(1, 4), u"end of campaign");
  EXPECT_EQ(Cell(2, 2), u"");
  EXPECT_EQ(Cell(2, 5), u"missing");

  // The first row is selected: its branch, as written and translated.
  EXPECT_EQ(CurrentRow(), 0);
  EXPECT_TRUE(Sexp()->toPlainText().startsWith(u"( cond ( ( is-previous-goal-true")) << qPrintable(Sexp()->toPlainText());
  EXPECT_TRUE(Parsed()->toPlainText().contains(u"IsPreviousGoalTrue(\"M01.fs2\",\"Patrol\")"))
      << qPrintable(Parsed()->toPlainText());
  EXPECT_TRUE(Parsed()->toPlainText().contains(u"NextMission(\"M02\")"));

  // A mission that is not in the folder opens nothing.
  List()->setCurrentIndex(List()->model()->index(2, 0));
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_Return);
  EXPECT_EQ(Form().CurrentMode(), 14);
  EXPECT_TRUE(Form().statusBar()->currentMessage().contains(u"Gone.fs2")) << qPrintable(Form().statusBar()->currentMessage());
}

TEST_F(CampaignWindowTest, OpenMissionFromItsRowAndComeBack) {
  const QString campaign = WriteCampaign();
  ASSERT_TRUE(Form().LoadFile(campaign));
  ShowMode(14);
  WaitForTitles();
  const QModelIndex second = List()->model()->index(1, 0);
  List()->setCurrentIndex(second);
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_Return);
  // The mission is shown, with its own eight views.
  EXPECT_EQ(Form().CurrentMode(), 1);
  EXPECT_EQ(Cell(0, 1), u"Second Wave");
  EXPECT_FALSE(Action("MenuViewMode14")->isVisible());
  EXPECT_TRUE(Action("MenuViewMode4")->isEnabled());
  EXPECT_TRUE(Find<QLabel>("IconMode4")->isEnabled());
  ASSERT_TRUE(Action("MenuGoBack")->isEnabled());

  // Back returns to the campaign's row; Forward to the mission again.
  Action("MenuGoBack")->trigger();
  EXPECT_EQ(Form().CurrentMode(), 14);
  EXPECT_EQ(CurrentRow(), 1);
  EXPECT_TRUE(Action("MenuGoForward")->isEnabled());
  Action("MenuGoForward")->trigger();
  EXPECT_EQ(Form().CurrentMode(), 1);
  EXPECT_EQ(Cell(0, 1), u"Second Wave");

  // A double click opens a mission too; opening a file from the File menu
  // forgets the places.
  Action("MenuGoBack")->trigger();
  ASSERT_EQ(Form().CurrentMode(), 14);
  const QRect first = List()->visualRect(List()->model()->index(0, 1));
  // The press before a double click, as a mouse gives it.
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, first.center());
  QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, first.center());
  EXPECT_EQ(Cell(0, 1), u"First Strike");
  dialogs.files.push_back(campaign);
  Action("MenuFileOpenCampaign")->trigger();
  EXPECT_EQ(Cell(0, 1), u"Test Campaign");
  EXPECT_FALSE(Action("MenuGoBack")->isEnabled());
  EXPECT_TRUE(dialogs.lastFilter.contains(u"*.fc2")) << qPrintable(dialogs.lastFilter);
  EXPECT_EQ(Setting("Dirs", "LastOpenDirCampaign"), dir.path() + QStringLiteral("/"));
}

TEST_F(CampaignWindowTest, BranchLinksGoToTheirMissionsAndRows) {
  ASSERT_TRUE(Form().LoadFile(WriteCampaign()));
  ShowMode(14);
  WaitForTitles();  // the goals and events come with the titles
  ASSERT_EQ(CurrentRow(), 0);

  // A goal of the mission before opens that mission on its row.
  ClickName(Parsed(), QStringLiteral("Patrol"));
  EXPECT_TRUE(Form().windowTitle().contains(u"M01.fs2")) << qPrintable(Form().windowTitle());
  EXPECT_EQ(Form().CurrentMode(), 2);
  EXPECT_EQ(CurrentRow(), 1);
  Action("MenuGoBack")->trigger();
  EXPECT_EQ(Form().CurrentMode(), 14);
  EXPECT_EQ(CurrentRow(), 0);

  // A mission's name goes to its row of the Campaign view, in the campaign.
  ClickName(Sexp(), QStringLiteral("M02"));
  EXPECT_EQ(Form().CurrentMode(), 14);
  EXPECT_EQ(CurrentRow(), 1);
  Action("MenuGoBack")->trigger();
  EXPECT_EQ(CurrentRow(), 0);
  Action("MenuGoForward")->trigger();
  EXPECT_EQ(CurrentRow(), 1);
}

TEST_F(CampaignWindowTest, ProblemsOfTheCampaignAndItsMissions) {
  ASSERT_TRUE(Form().LoadFile(WriteCampaign()));
  auto* status = Find<QToolButton>("ProblemsStatus");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !status->text().startsWith(u"Checking"); }, 5000));
  // Gone.fs2 missing (error) and never reached (warning); M02's own error.
  EXPECT_EQ(status->text(), u"2 errors, 1 warning in 2 missions and 1 campaign");
  Action("MenuViewProblems")->trigger();
  auto* list = Find<QTreeView>("ProblemsList");
  QAbstractItemModel* problems = list->model();
  ASSERT_EQ(problems->rowCount(), 3);
  using Model = ProblemsModel;
  EXPECT_FALSE(list->isColumnHidden(Model::kFileColumn)) << "a campaign's problems lie in several files";
  EXPECT_EQ(problems->headerData(Model::kFileColumn, Qt::Horizontal).toString(), u"File");
  QStringList rows;
  for (int r = 0; r < problems->rowCount(); ++r) {
    rows << problems->index(r, Model::kFileColumn).data().toString() + ":" +
                problems->index(r, Model::kLineColumn).data().toString();
  }
  EXPECT_EQ(rows, QStringList({"c.fc2:9", "c.fc2:9", "M02.fs2:6"}));

  // A problem in a mission opens that mission on its row; Back returns.
  emit list->activated(problems->index(2, 0));
  EXPECT_TRUE(Form().windowTitle().contains(u"M02.fs2")) << qPrintable(Form().windowTitle());
  EXPECT_EQ(Form().CurrentMode(), 4);
  EXPECT_EQ(CurrentRow(), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == u"1 error, 0 warnings"; }, 5000)) << qPrintable(status->text());
  EXPECT_TRUE(list->isColumnHidden(Model::kFileColumn)) << "a mission's own check lies in one file";
  Action("MenuGoBack")->trigger();
  EXPECT_EQ(Form().CurrentMode(), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return problems->rowCount() == 3; }, 5000));
  // One of the campaign's own shows its row of the Campaign view.
  emit list->activated(problems->index(0, 0));
  EXPECT_EQ(Form().CurrentMode(), 14);
  EXPECT_EQ(CurrentRow(), 2);
}

}  // namespace
}  // namespace ui
