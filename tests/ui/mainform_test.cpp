#include "ui/window/mainform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <deque>

#include <sys/stat.h>
#include <unistd.h>

#include "applib/ini.h"
#include "tests/applib/fakes.h"
#include "tests/ui/form_fixture.h"
#include "ui/code/codewindows.h"
#include "ui/common/qtext.h"
#include "ui/common/units.h"
#include "ui/problems/problems.h"
#include "ui/rules/rules.h"

namespace ui {
namespace {

using testing::kSample;
using testing::MainFormTest;

TEST_F(MainFormTest, MenusCarryCaptionsShortcutsAndStates) {
  const struct {
    const char* name;
    const char* caption;
    QKeySequence key;
  } entries[] = {
      {"MenuFile", "&File", {}},
      {"MenuFileOpenFS1", "Open FreeSpace &1 mission", QKeySequence(Qt::CTRL | Qt::Key_F1)},
      {"MenuFileOpenFS2", "Open FreeSpace &2 mission", QKeySequence(Qt::CTRL | Qt::Key_F2)},
      {"MenuFileRecent", "Recent &Missions", {}},
      {"MenuFileReload", "&Reload", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)},
      {"MenuFileExit", "E&xit", {}},
      {"MenuView", "&View", {}},
      {"MenuViewMode1", "G&eneral", QKeySequence(Qt::Key_F2)},
      {"MenuViewMode2", "&Goals", QKeySequence(Qt::Key_F3)},
      {"MenuViewMode3", "&Directives", QKeySequence(Qt::Key_F4)},
      {"MenuViewMode4", "Eve&nts", QKeySequence(Qt::Key_F5)},
      {"MenuViewMode5", "Mess&ages", QKeySequence(Qt::Key_F6)},
      {"MenuViewMode6", "S&hips", QKeySequence(Qt::Key_F7)},
      {"MenuViewMode7", "&Wings", QKeySequence(Qt::Key_F8)},
      {"MenuViewMode8", "Re&inforcements", QKeySequence(Qt::Key_F9)},
      {"MenuViewTreeView", "Show &TreeView", {}},
      {"MenuViewCodeL", "Show &SEXP code window", {}},
      {"MenuViewCodeR", "Show &Parsed code window", {}},
      {"MenuViewModernOperators", "Translate FreeSpace &Open operators", {}},
      {"MenuViewTreeViewCA", "&Collapse All in TreeView", QKeySequence(Qt::CTRL | Qt::Key_C)},
      {"MenuGo", "&Go", {}},
      {"MenuGoBack", "&Back", QKeySequence(Qt::ALT | Qt::Key_Left)},
      {"MenuGoForward", "&Forward", QKeySequence(Qt::ALT | Qt::Key_Right)},
      {"MenuTools", "&Tools", {}},
      {"MenuToolsOptions", "&Options...", {}},
      {"MenuViewProblems", "Prob&lems", {}},  // "Show &Parsed code window" has the P, "&Briefing" the B
      {"MenuHelp", "&Help", {}},
      {"MenuHelpTutorial", "&KORVALINE Quick Start Tutorial", QKeySequence(Qt::Key_F1)},
      {"MenuHelpQXVC", "&Check for new version", {}},
      {"MenuHelpAbout", "&About", {}},
  };
  for (const auto& e : entries) {
    QAction* a = Action(e.name);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), QString::fromUtf8(e.caption)) << e.name;
    EXPECT_EQ(a->shortcut(), e.key) << e.name;
  }
  for (const char* s : {"MenuFileBlank0", "MenuViewBlank0", "MenuViewBlank1", "MenuViewBlank2", "MenuHelpBlank1"})
    EXPECT_TRUE(Action(s)->isSeparator()) << s;
  QStringList menus;
  for (const QAction* menu : Form().menuBar()->actions()) menus << menu->objectName();
  EXPECT_EQ(menus, QStringList({"MenuFile", "MenuEdit", "MenuView", "MenuGo", "MenuTools", "MenuHelp"}));
  // Every entry of a menu has an access key of its own. An entry shown only at
  // times (View > Campaign) takes a key left over, if one is.
  for (const QAction* title : Form().menuBar()->actions()) {
    QSet<int> keys;
    for (const QAction* entry : title->menu()->actions()) {
      if (entry->isSeparator()) continue;
      const QKeySequence key = QKeySequence::mnemonic(entry->text());
      if (key.isEmpty() && entry == Action("MenuViewMode14")) continue;
      EXPECT_FALSE(key.isEmpty()) << qPrintable(entry->text());
      EXPECT_TRUE(!keys.contains(key[0].toCombined())) << qPrintable(entry->text());
      keys.insert(key[0].toCombined());
    }
  }

  // The tutorial and its separator show only when the tool kit is there.
  EXPECT_FALSE(Action("MenuHelpTutorial")->isVisible());
  EXPECT_FALSE(Action("MenuHelpBlank1")->isVisible());
  Form().SetTutorialAvailable(true);
  EXPECT_TRUE(Action("MenuHelpTutorial")->isVisible() && Action("MenuHelpBlank1")->isVisible());

  // Help commands are handed on.
  int about = 0;
  QObject::connect(&Form(), &FSMMainForm::helpAboutRequested, [&] { ++about; });
  Action("MenuHelpAbout")->trigger();
  EXPECT_EQ(about, 1);

  auto* toolbar = Find<QWidget>("Toolbar2");
  const struct {
    const char* key;
    const char* tip;
  } buttons[] = {{"FileOpenFS1", "Open FS1 mission"}, {"FileOpenFS2", "Open FS2 mission"}, {"treeview", "Show TreeView"}};
  for (const auto& b : buttons) {
    QAction* a = toolbar->findChild<QAction*>(QString::fromLatin1(b.key));
    ASSERT_NE(a, nullptr) << b.key;
    EXPECT_EQ(a->toolTip(), QString::fromLatin1(b.tip));
  }
}

TEST_F(MainFormTest, BeforeAnyMissionNothingIsOffered) {
  Form();
  for (int i = 1; i <= 8; ++i) {
    EXPECT_FALSE(Action(qPrintable(QStringLiteral("MenuViewMode%1").arg(i)))->isEnabled());
    EXPECT_FALSE(Find<QLabel>(qPrintable(QStringLiteral("IconMode%1").arg(i)))->isVisible());
  }
  EXPECT_FALSE(Find<QPushButton>("BarLeftScroll1")->isVisible());
  EXPECT_FALSE(Find<QPushButton>("BarLeftScroll2")->isVisible());
  EXPECT_EQ(Find<QLabel>("BarTopText")->text(), "");
  EXPECT_TRUE(List()->isHeaderHidden());  // large-icon view
  EXPECT_EQ(Sexp()->toPlainText(), "SEXP Trees");
  EXPECT_EQ(Parsed()->toPlainText(), "Parsed Code");
  // No settings file: tree hidden, and the first layout says so.
  EXPECT_FALSE(Tree()->isVisible());
  EXPECT_EQ(Setting("Display", "TreeView"), "0");
  EXPECT_FALSE(Action("MenuViewTreeViewCA")->isEnabled());
  // An icon click does nothing.
  Click(Find<QLabel>("IconMode4"));
  EXPECT_EQ(Form().CurrentMode(), 0);
}

TEST_F(MainFormTest, LoadShowsGeneralAndIcons) {
  ASSERT_TRUE(Form().LoadFile(kSample));
  EXPECT_EQ(Form().windowTitle(), "Veltrane Suite TORVEK32 - [" + kSample + "]");
  EXPECT_EQ(Form().CurrentMode(), 1);
  EXPECT_EQ(Find<QLabel>("BarTopText")->text(), "General");
  ASSERT_EQ(List()->model()->rowCount(), 4);
  EXPECT_EQ(Cell(0, 0), "Mission Name");
  EXPECT_EQ(Cell(0, 1), "Ashfall Relay");
  EXPECT_EQ(Cell(1, 1), "TORVEK32 sample");
  EXPECT_EQ(CurrentRow(), 0);
  EXPECT_FALSE(List()->isHeaderHidden());
  EXPECT_TRUE(Action("MenuViewMode1")->isChecked());
  EXPECT_FALSE(Action("MenuViewMode2")->isChecked());
  EXPECT_EQ(Find<QLabel>("IconMode1")->frameShape(), QFrame::Box);
  EXPECT_EQ(Find<QLabel>("IconMode2")->frameShape(), QFrame::NoFrame);
  EXPECT_FALSE(Find<QLabel>("IconMode8")->pixmap().isNull());
  EXPECT_EQ(Find<QLabel>("IconMode8")->pixmap().size(), QSize(32, 32));
  EXPECT_FALSE(Form().windowIcon().isNull());
  const char* captions[] = {"General", "Goals", "Directives", "Events", "Messages", "Ships", "Wings", "Reinforcements"};
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(Find<QLabel>(qPrintable(QStringLiteral("LabelMode%1").arg(i)))->text(), captions[i - 1]);
    EXPECT_TRUE(Action(qPrintable(QStringLiteral("MenuViewMode%1").arg(i)))->isEnabled());
  }
  EXPECT_FALSE(Form().HasFormulas());
  EXPECT_FALSE(Sexp()->isVisible());
  EXPECT_FALSE(Action("MenuViewCodeL")->isEnabled());
  EXPECT_EQ(Form().statusBar()->findChild<QLabel*>("StatusPanel1")->text(), "Ready");
}

TEST_F(MainFormTest, MissionWithoutMissionInfoIsNotShownAsLoaded) {
  const QString bare = WriteMission(QStringLiteral("bare.fs2"), "#Objects\n$Name: Alpha 1\n");
  ASSERT_TRUE(Form().LoadFile(bare));
  // General still lists its rows, but the window treats the mission as not
  // loaded: no icons, mode entries disabled, the list out of report view.
  EXPECT_EQ(List()->model()->rowCount(), 4);
  EXPECT_EQ(Cell(0, 1), "<Unset>");
  EXPECT_TRUE(List()->isHeaderHidden());
  EXPECT_TRUE(List()->isColumnHidden(1));
  EXPECT_FALSE(Action("MenuViewMode6")->isEnabled());
  EXPECT_EQ(Find<QLabel>("BarTopText")->text(), "");
  ASSERT_TRUE(Form().LoadFile(kSample));
  EXPECT_FALSE(List()->isHeaderHidden());
  EXPECT_FALSE(List()->isColumnHidden(1));
}

TEST_F(MainFormTest, SecondLoadReplacesTheGeneralRows) {
  const QString other = WriteMission(QStringLiteral("other.fsm"), "#Mission Info\r\n$Name:   Second  \r\n#Music\r\n");
  ASSERT_TRUE(Form().LoadFile(kSample));
  ASSERT_TRUE(Form().LoadFile(other));
  EXPECT_EQ(Form().CurrentMode(), 1);
  EXPECT_EQ(Cell(0, 1), "Second");
  EXPECT_EQ(Cell(1, 1), "<Unset>");
  EXPECT_TRUE(Form().windowTitle().endsWith("other.fsm]"));
  EXPECT_TRUE(dialogs.warnings.isEmpty());
}

TEST_F(MainFormTest, StatusMessageAndPointer) {
  auto* panel = Form().statusBar()->findChild<QLabel*>("StatusPanel1");
  Form().statusmsg("Parsing SEXP code");
  EXPECT_EQ(panel->text(), "Parsing SEXP code");
  EXPECT_EQ(Form().cursor().shape(), Qt::WaitCursor);
  for (const char* idle : {"", "   ", "n/a"}) {
    Form().statusmsg("Busy");
    Form().statusmsg(idle);
    EXPECT_EQ(panel->text(), "Ready") << idle;
    EXPECT_EQ(Form().cursor().shape(), Qt::ArrowCursor) << idle;
  }
}

TEST_F(MainFormTest, UnreadableFileWarnsAndKeepsTheMission) {
  ASSERT_TRUE(Form().LoadFile(kSample));
  ShowMode(4);
  const QString caption = Form().windowTitle();
  const QString missing = dir.filePath("gone.fs2");
  EXPECT_FALSE(Form().LoadFile(missing));
  ASSERT_EQ(dialogs.warnings.size(), 1);
  EXPECT_TRUE(dialogs.warnings[0].contains("gone.fs2")) << qPrintable(dialogs.warnings[0]);
  EXPECT_EQ(Form().windowTitle(), caption);
  EXPECT_EQ(Form().CurrentMode(), 4);
  EXPECT_EQ(List()->model()->rowCount(), 4);
  EXPECT_EQ(Cell(1, 1), "Picket down");
}

// A named pipe without a writer, put where a mission was expected: the
// window warns at once instead of waiting for a writer that never comes.
TEST_F(MainFormTest, PipeIsRefusedAtOnceAndKeepsTheMission) {
  ASSERT_TRUE(Form().LoadFile(kSample));
  const QString pipe = dir.filePath("pipe.fs2");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  ::alarm(20);  // a load that blocks ends the test program instead of hanging it
  EXPECT_FALSE(Form().LoadFile(pipe));
  ::alarm(0);
  ASSERT_EQ(dialogs.warnings.size(), 1);
  EXPECT_TRUE(dialogs.warnings[0].contains("pipe.fs2")) << qPrintable(dialogs.warnings[0]);
  EXPECT_TRUE(dialogs.warnings[0].contains("Not a regular file (a named pipe)")) << qPrintable(dialogs.warnings[0]);
  EXPECT_EQ(Form().CurrentMode(), 1);
  EXPECT_EQ(Cell(0, 1), "Ashfall Relay");
}

TEST_F(MainFormTest, OpenCommandsUseFiltersAndRememberDirectories) {
  SetSetting("Dirs", "LastOpenDirFS2", "/some/dir/");
  Form();
  Action("MenuFileOpenFS2")->trigger();  // cancelled: nothing written, nothing loaded
  EXPECT_EQ(dialogs.lastDirectory, "/some/dir/");
  EXPECT_EQ(dialogs.lastFilter,
            "FreeSpace 2 mission files (*.FS2)|*.fs2|FreeSpace 1 mission files (*.FSM)|*.fsm|All Files (*.*)|*.*");
  EXPECT_EQ(Setting("Dirs", "LastOpenDirFS2"), "/some/dir/");
  EXPECT_EQ(Form().CurrentMode(), 0);
  EXPECT_TRUE(dialogs.warnings.isEmpty());

  // A typed name of no file: a warning, and its folder is remembered.
  dialogs.files.push_back(dir.filePath("typed.fsm"));
  Action("MenuFileOpenFS1")->trigger();
  EXPECT_EQ(dialogs.lastFilter,
            "FreeSpace 1 mission files (*.FSM)|*.fsm|FreeSpace 2 mission files (*.FS2)|*.fs2|All Files (*.*)|*.*");
  EXPECT_EQ(Setting("Dirs", "LastOpenDirFS1"), dir.path() + "/");
  EXPECT_EQ(Form().CurrentMode(), 0);
  ASSERT_EQ(dialogs.warnings.size(), 1);
  EXPECT_EQ(dialogs.warnings[0], "The mission file " + dir.filePath("typed.fsm") +
                                     " could not be read:\nNo such file or directory");

  // The toolbar's FS2 button opens and loads.
  dialogs.files.push_back(kSample);
  Find<QWidget>("Toolbar2")->findChild<QAction*>("FileOpenFS2")->trigger();
  EXPECT_EQ(Form().CurrentMode(), 1);
  EXPECT_EQ(Setting("Dirs", "LastOpenDirFS2"), QStringLiteral(TORVEK_SOURCE_DIR "/samples/"));
}

// Names that are no file: a warning says why, nothing is loaded, and only a
// folder that exists is remembered for the next dialog.
TEST_F(MainFormTest, OpenCommandsWarnAboutNamesThatAreNoFile) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("folder.fs2"));
  SetSetting("Dirs", "LastOpenDirFS2", "/before/");
  const struct {
    QString typed;
    const char* reason;
    QString remembered;
  } cases[] = {
      {dir.filePath("gone/typed.fs2"), "No such file or directory", "/before/"},
      {dir.filePath("folder.fs2"), "Is a directory", dir.path() + "/"},
      {"/dev/null", "Not a regular file", "/dev/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    dialogs.warnings.clear();
    dialogs.files.push_back(c.typed);
    Action("MenuFileOpenFS2")->trigger();
    EXPECT_EQ(dialogs.warnings, QStringList("The mission file " + c.typed + " could not be read:\n" + c.reason));
    EXPECT_EQ(Setting("Dirs", "LastOpenDirFS2"), c.remembered);
    EXPECT_EQ(Form().CurrentMode(), 0);
  }
}

// Before a file that does not look like a mission replaces the one shown,
// the user is asked; No keeps what is shown.
TEST_F(MainFormTest, FilesThatAreNoMissionAreOpenedOnlyWhenTheUserSaysSo) {
  const QString empty = dir.filePath("empty.fs2");
  QFile(empty).open(QIODevice::WriteOnly);
  ASSERT_TRUE(Form().LoadFile(kSample));
  ShowMode(4);
  for (const QString& path : {empty, QStringLiteral("/bin/ls")}) {
    SCOPED_TRACE(path.toStdString());
    dialogs.questions.clear();
    dialogs.answers = {false};
    EXPECT_FALSE(Form().LoadFile(path));
    EXPECT_EQ(dialogs.questions,
              QStringList(QFileInfo(path).fileName() + " does not look like a FreeSpace mission. Open it anyway?"));
    EXPECT_EQ(Form().windowTitle(), "Veltrane Suite TORVEK32 - [" + kSample + "]");
    EXPECT_EQ(Form().CurrentMode(), 4);
    EXPECT_EQ(Cell(1, 1), "Picket down");
  }
  dialogs.answers = {true};
  EXPECT_TRUE(Form().LoadFile(empty));
  EXPECT_TRUE(Form().windowTitle().endsWith("empty.fs2]"));
  // The list says why it shows nothing, and the file is no recent mission.
  auto* hint = Find<QLabel>("ListHint");
  EXPECT_TRUE(hint->isVisible());
  EXPECT_EQ(hint->text(), "empty.fs2 holds none of the sections of a mission.");
  EXPECT_EQ(Setting("Recent", "File1"), kSample);
  EXPECT_EQ(Setting("Recent", "File2"), "");
  // A mission is opened without a question.
  dialogs.questions.clear();
  EXPECT_TRUE(Form().LoadFile(kSample));
  EXPECT_TRUE(dialogs.questions.isEmpty());
  EXPECT_TRUE(dialogs.warnings.isEmpty());
  EXPECT_FALSE(hint->isVisible());
}

// Tools > Options: the association setting, stored as chosen; "always" asks
// for the association at once.
TEST_F(MainFormTest, OptionsDialogStoresTheAssociationChoice) {
  int associations = 0;
  QObject::connect(&Form(), &FSMMainForm::associateFileTypesRequested, [&] { ++associations; });
  const struct {
    std::optional<Association> chosen;
    const char* stored;
    int associated;
  } steps[] = {
      {Association::kYes, "1", 1},
      {std::nullopt, "1", 1},  // cancelled: nothing changes
      {Association::kAsk, "", 1},
      {Association::kNo, "0", 1},
      {Association::kYes, "1", 2},
  };
  Association shown = Association::kAsk;  // nothing stored yet
  for (const auto& step : steps) {
    dialogs.options = step.chosen;
    Action("MenuToolsOptions")->trigger();
    EXPECT_EQ(dialogs.optionsOpenedWith, shown);
    EXPECT_EQ(Setting("Startup", "AssociateFileTypes"), step.stored);
    EXPECT_EQ(associations, step.associated);
    if (step.chosen) shown = *step.chosen;
  }

}

TEST_F(MainFormTest, ModeSwitchByKeysAndIcons) {
  ASSERT_TRUE(Form().LoadFile(kSample));
  Key(QKeySequence(Qt::Key_F5));
  EXPECT_EQ(Form().CurrentMode(), 4);
  EXPECT_EQ(Find<QLabel>("BarTopText")->text(), "Events");
  EXPECT_TRUE(Form().HasFormulas());
  EXPECT_EQ(CurrentRow(), 0);
  EXPECT_TRUE(Sexp()->isVisible() && Parsed()->isVisible());
  EXPECT_TRUE(Action("MenuViewCodeL")->isEnabled());

  // Choosing the mode shown changes nothing, not even the selected row.
  List()->setCurrentIndex(List()->model()->index(2, 0));
  Key(QKeySequence(Qt::Key_F5));
  EXPECT_EQ(CurrentRow(), 2);

  QTest::mouseClick(Find<QLabel>("IconMode6"), Qt::LeftButton);
  EXPECT_EQ(Form().CurrentMode(), 6);
  EXPECT_EQ(Find<QLabel>("BarTopText")->text(), "Ships");
  EXPECT_FALSE(Form().HasFormulas());
  EXPECT_TRUE(Sexp()->toPlainText().isEmpty());
  // The pane under the list shows the selected ship's cues; this one has none.
  EXPECT_TRUE(Sexp()->isVisible());

  Key(QKeySequence(Qt::Key_F4));
  EXPECT_EQ(Find<QLabel>("BarTopText")->text(), "Directives");
}

TEST_F(MainFormTest, RowsAndNodesSelectEachOther) {
  SetSetting("Display", "TreeView", "1");
  ASSERT_TRUE(Form().LoadFile(kSample));
  EXPECT_TRUE(Tree()->isVisible());
  ShowMode(4);
  EXPECT_EQ(TreeTag(), "4,1");  // row 1's node
  EXPECT_TRUE(Tree()->isExpanded(Tree()->currentIndex()));

  List()->setCurrentIndex(List()->model()->index(2, 0));  // the user selects row 3
  EXPECT_EQ(TreeTag(), "4,3");

  // While Ships is shown, the events section node switches to Events, at
  // the row it was left at.
  ShowMode(6);
  const QModelIndex events = NodeWithTag("4");
  ASSERT_TRUE(events.isValid());
  ClickNode(events);
  EXPECT_EQ(Form().CurrentMode(), 4);
  EXPECT_EQ(CurrentRow(), 2);

  // A field node of the second goal selects goal row 2; its entry node, the
  // first node with that tag, ends up selected and expanded.
  const QModelIndex goal2 = NodeWithTag("2,2");
  ASSERT_TRUE(goal2.isValid());
  ASSERT_GT(Tree()->model()->rowCount(goal2), 0);
  ClickNode(Tree()->model()->index(0, 0, goal2));
  EXPECT_EQ(Form().CurrentMode(), 2);
  EXPECT_EQ(CurrentRow(), 1);
  EXPECT_EQ(Tree()->currentIndex(), goal2);
  EXPECT_TRUE(Tree()->isExpanded(goal2));

  // Collapse All keeps the selection.
  Key(QKeySequence(Qt::CTRL | Qt::Key_C));
  EXPECT_FALSE(Tree()->isExpanded(goal2));
  EXPECT_EQ(Tree()->currentIndex(), goal2);
}

TEST_F(MainFormTest, EachViewKeepsItsSortAcrossModeSwitchesAndLoads) {
  ASSERT_TRUE(Form().LoadFile(kSample));
  ShowMode(4);
  ClickHeader(1);  // by Name
  EXPECT_EQ(Cell(0, 1), "Broken brackets");
  EXPECT_EQ(Cell(3, 1), "Waiting");
  ShowMode(1);
  EXPECT_EQ(Cell(0, 1), "Ashfall Relay");  // General keeps the file order
  ShowMode(4);
  EXPECT_EQ(Cell(0, 1), "Broken brackets");
  EXPECT_EQ(Cell(CurrentRow(), 1), "Intro");  // the row the view was left at
  EXPECT_EQ(CurrentRow(), 1);
  EXPECT_EQ(TreeTag(), "4,1");
  ShowMode(1);
  ASSERT_TRUE(Form().LoadFile(kSample));
  ShowMode(4);
  EXPECT_EQ(Cell(0, 1), "Broken brackets");
}

// Rows and tree nodes find each other by the row's own number in the list
// as filled, however the list is sorted.
TEST_F(MainFormTest, SortedRowsAndTreeNodesSelectEachOther) {
  SetSetting("Display", "TreeView", "1");
  ASSERT_TRUE(Form().LoadFile(kSample));
  ShowMode(4);
  ClickHeader(1);  // Broken brackets, Intro, Picket down, Waiting
  const QModelIndex intro = List()->model()->index(1, 0);
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(intro).center());
  EXPECT_EQ(Cell(CurrentRow(), 1), "Intro");
  EXPECT_EQ(TreeTag(), "4,1");
  EXPECT_TRUE(Sexp()->toPlainText().contains("\"Intro\"")) << qPrintable(Sexp()->toPlainText());

  ClickNode(NodeWithTag("4,3"));  // the third event, Waiting, shown last
  EXPECT_EQ(CurrentRow(), 3);
  EXPECT_EQ(Cell(3, 1), "Waiting");
  // An event's formula stands above its name: Waiting's is the one that
  // asks for Picket down.
  EXPECT_TRUE(Sexp()->toPlainText().contains("is-event-true-delay \"Picket down\"")) << qPrintable(Sexp()->toPlainText());
}

TEST_F(MainFormTest, ColumnsOfNumbersSortByValue) {
  const QString path = WriteMission(
      QStringLiteral("numbers.fs2"),
      "#Mission Info\r\n$Name: Numbers\r\n#Wings\r\n"
      "$Name: Ten\r\n$Waves: 10\r\n"
      "$Name: Minus\r\n$Waves: -1\r\n"
      "$Name: two\r\n$Waves: 2\r\n"
      "$Name: None\r\n"
      "$Name: One\r\n$Waves: 1\r\n"
      "$Name: Zero\r\n$Waves:  0\r\n");
  ASSERT_TRUE(Form().LoadFile(path));
  ShowMode(7);
  const auto names = [&] {
    QStringList s;
    for (int r = 0; r < List()->model()->rowCount(); ++r) s << Cell(r, 0);
    return s.join(',');
  };
  ClickHeader(1);  // Waves: blank first, then by value
  EXPECT_EQ(names(), "None,Minus,Zero,One,two,Ten");
  ClickHeader(0);  // Name: by text, without regard to case
  EXPECT_EQ(names(), "Minus,None,One,Ten,two,Zero");
}

TEST_F(MainFormTest, DisplaySettingsAreReadAndWritten) {
  SetSetting("Display", "LeftCodeWindow", "0");
  SetSetting("Display", "RightCodeWindow", "0 ");
  SetSetting("Display", "TreeView", "1.0");
  ASSERT_TRUE(Form().LoadFile(kSample));
  EXPECT_TRUE(Form().LeftCodeHidden());
  EXPECT_FALSE(Form().RightCodeHidden());
  EXPECT_TRUE(Tree()->isVisible());
  ShowMode(4);
  EXPECT_FALSE(Sexp()->isVisible());
  EXPECT_TRUE(Parsed()->isVisible());
  EXPECT_FALSE(Action("MenuViewCodeL")->isChecked());
  EXPECT_EQ(Parsed()->x(), List()->x());
  EXPECT_EQ(Parsed()->width(), List()->width());

  Action("MenuViewCodeL")->trigger();
  EXPECT_EQ(Setting("Display", "LeftCodeWindow"), "1");
  EXPECT_TRUE(Sexp()->isVisible());
  Action("MenuViewCodeR")->trigger();
  EXPECT_EQ(Setting("Display", "RightCodeWindow"), "0");
  EXPECT_FALSE(Parsed()->isVisible());

  // The tree's setting is written only when its visibility changes, not by
  // every layout.
  SetSetting("Display", "TreeView", "untouched");
  const int listWidth = List()->width();
  Form().resize(Form().width() + 15, Form().height());
  QApplication::processEvents();
  ASSERT_EQ(List()->width(), listWidth + 15);  // laid out again
  EXPECT_EQ(Setting("Display", "TreeView"), "untouched");
  Action("MenuViewTreeView")->trigger();
  EXPECT_EQ(Setting("Display", "TreeView"), "0");
  EXPECT_FALSE(Tree()->isVisible());
  EXPECT_FALSE(Action("MenuViewTreeViewCA")->isEnabled());
  Find<QWidget>("Toolbar2")->findChild<QAction*>("treeview")->trigger();
  EXPECT_EQ(Setting("Display", "TreeView"), "1");
  EXPECT_TRUE(Tree()->isVisible());
}

TEST_F(MainFormTest, IconBarScrollsAndFramesTheIconUnderTheMouse) {
  ASSERT_TRUE(Form().LoadFile(kSample));
  // A low window: the icon bar is 4320 twips high, four slots.
  const double t = TwipsPerPixel(Form());
  auto* client = Form().centralWidget();
  Form().resize(Form().width(), Form().height() - client->height() + qRound((4320 + 1500 - 945) / t));
  QApplication::processEvents();
  auto* up = Find<QPushButton>("BarLeftScroll1");
  auto* down = Find<QPushButton>("BarLeftScroll2");
  EXPECT_FALSE(up->isVisible());
  EXPECT_TRUE(down->isVisible());
  QTest::mouseClick(down, Qt::LeftButton);
  QTest::mouseClick(down, Qt::LeftButton);
  EXPECT_EQ(Form().FirstIconIndex(), 3);
  EXPECT_TRUE(up->isVisible());
  for (int i = 1; i <= 8; ++i) {
    auto* icon = Find<QLabel>(qPrintable(QStringLiteral("IconMode%1").arg(i)));
    EXPECT_EQ(icon->isVisible(), i >= 3 && i <= 6) << i;
    if (i >= 3 && i <= 6) {
      EXPECT_EQ(icon->y(), qRound(((i - 3) * 960 + 240) / t)) << i;
    }
  }

  auto* icon = Find<QLabel>("IconMode4");
  MouseMove(icon);
  auto* top = Find<QFrame>("IconO0_1");
  auto* bottom = Find<QFrame>("IconO0_3");
  EXPECT_TRUE(top->isVisible());
  EXPECT_EQ(top->geometry().top(), icon->y() - 1);
  EXPECT_EQ(top->geometry().left(), icon->x() - 1);
  // The bottom line follows the icon's twips: 15 twips below its last one.
  EXPECT_EQ(bottom->geometry().top(), qRound((icon->y() * t + 480 + t) / t));
  EXPECT_EQ(bottom->geometry().left(), qRound((icon->x() * t - t + 8) / t));
  QTest::mouseClick(icon, Qt::LeftButton);
  EXPECT_EQ(Form().CurrentMode(), 4);
  EXPECT_FALSE(top->isVisible());  // the click hides the frame

  MouseMove(icon);
  EXPECT_TRUE(top->isVisible());
  MouseMove(List()->viewport());
  EXPECT_FALSE(top->isVisible());

  // Made tall enough for all of them again, the bar shows them from General
  // on and neither button.
  Form().resize(Form().width(),
                Form().height() - client->height() + qRound((views::kModeCount * 960 + 480 + 1500 - 945) / t));
  QApplication::processEvents();
  EXPECT_EQ(Form().FirstIconIndex(), 1);
  for (int i = 1; i <= views::kModeCount; ++i) {
    auto* shown = Find<QLabel>(qPrintable(QStringLiteral("IconMode%1").arg(i)));
    EXPECT_TRUE(shown->isVisible()) << i;
    EXPECT_EQ(shown->y(), qRound(((i - 1) * 960 + 240) / t)) << i;
  }
  EXPECT_FALSE(up->isVisible());
  EXPECT_FALSE(down->isVisible());
}

TEST_F(MainFormTest, PanesFollowTheLayout) {
  SetSetting("Display", "TreeView", "1");
  ASSERT_TRUE(Form().LoadFile(kSample));
  ShowMode(4);
  const double t = TwipsPerPixel(Form());
  auto* client = Form().centralWidget();
  const double W = client->width() * t + 120, H = client->height() * t + 945;
  const auto px = [t](double twips) { return qRound(twips / t); };
  EXPECT_EQ(Tree()->geometry(), QRect(px(1320), px(1080), px(3615), px(H - 2055)));
  EXPECT_EQ(List()->geometry(), QRect(px(4995), px(1080), px(W - 5130), px(H - 6510)));
  EXPECT_EQ(Sexp()->geometry(), QRect(px(4995), px(H - 5355), px((W - 5190) / 2), px(4395)));
  // Nothing hides behind the toolbar or the status bar.
  EXPECT_GE(Find<QWidget>("BarLeft")->y(), Find<QWidget>("Toolbar2")->geometry().bottom());
  EXPECT_LE(Sexp()->geometry().bottom(), client->height());
  EXPECT_LE(List()->geometry().right(), client->width());
}

TEST_F(MainFormTest, FormulaOfTheSelectedRowInBothCodeWindows) {
  ASSERT_TRUE(Form().LoadFile(kSample));
  ShowMode(4);  // row 1 is "Intro"
  EXPECT_EQ(Sexp()->toPlainText(),
            "( when\n   ( true )\n   ( send-message \"#Command\" \"High\" \"Intro\" )\n)");
  const QString parsed = Parsed()->toPlainText();
  ASSERT_TRUE(parsed.contains("If")) << qPrintable(parsed);
  const auto colourAt = [&](int position) {
    QTextCursor c(Parsed()->document());
    c.setPosition(position + 1);
    return c.charFormat().foreground().color();
  };
  EXPECT_EQ(colourAt(static_cast<int>(parsed.indexOf("If"))), QColor(255, 0, 0));
  EXPECT_EQ(colourAt(static_cast<int>(parsed.indexOf("Then"))), QColor(255, 0, 0));
  EXPECT_EQ(colourAt(static_cast<int>(parsed.indexOf("Intro"))), QColor(0, 0, 0));
  EXPECT_EQ(Parsed()->font().family(), "Courier New");
  EXPECT_DOUBLE_EQ(Parsed()->font().pointSizeF(), 9.75);

  // Another row shows its own formula; a mode switch clears both windows.
  List()->setCurrentIndex(List()->model()->index(1, 0));  // row 2, "Picket down"
  const QString picket = Parsed()->toPlainText();
  EXPECT_NE(picket, parsed);
  EXPECT_TRUE(picket.contains("And")) << qPrintable(picket);
  ShowMode(1);
  EXPECT_TRUE(Parsed()->toPlainText().isEmpty());  // a switch clears them
}

// The View menu's "Translate FreeSpace Open operators": off at a first
// start, remembered in torvk32.ini, and the shown formula translated anew
// at once. While it is off, the status bar says how many lines the original
// translation leaves as "#UnknownCommand".
TEST_F(MainFormTest, FreeSpaceOpenOperatorsAreTranslatedOnRequest) {
  const QString path = WriteMission(
      QStringLiteral("modern.fs2"),
      "#Mission Info\r\n$Name: Modern\r\n#Events\r\n"
      "$Formula: ( every-time ( = @Count[0] 3 ) ( modify-variable @Count[0] 0 ) ( lua-jump-to 1 ) )\r\n"
      "+Name: Loop\r\n"
      "$Formula: ( when ( true ) ( do-nothing ) )\r\n+Name: Plain\r\n");
  ASSERT_TRUE(Form().LoadFile(path));
  QAction* modern = Action("MenuViewModernOperators");
  auto* notice = Find<QLabel>("StatusUnknownCommands");
  auto* status = Find<QLabel>("StatusPanel1");
  EXPECT_TRUE(modern->isCheckable());
  EXPECT_FALSE(modern->isChecked());
  ShowMode(4);
  const QString original = Parsed()->toPlainText();
  EXPECT_TRUE(original.startsWith(" #UnknownCommand every-time")) << qPrintable(original);
  EXPECT_TRUE(notice->isVisible());
  EXPECT_EQ(notice->text(), "4 lines read #UnknownCommand: View > Translate FreeSpace Open operators translates them");
  EXPECT_EQ(status->text(), "Ready");

  modern->trigger();
  EXPECT_EQ(Setting("Display", "ModernOperators"), "1");
  EXPECT_EQ(Parsed()->toPlainText(), "Every time\n Variable(\"Count\") = 3\nThen\n Variable(\"Count\") = 0\n"
                                     " #UnknownCommand lua-jump-to(1)");
  EXPECT_FALSE(notice->isVisible());  // the mod's own operator stays unknown, without a notice
  QTextCursor c(Parsed()->document());
  c.setPosition(1);
  EXPECT_EQ(c.charFormat().foreground().color(), QColor(255, 0, 0));  // "Every time"

  // A formula the original translates completely has no notice either way.
  List()->setCurrentIndex(List()->model()->index(1, 0));
  modern->trigger();
  EXPECT_EQ(Setting("Display", "ModernOperators"), "0");
  EXPECT_FALSE(notice->isVisible());
  List()->setCurrentIndex(List()->model()->index(0, 0));
  EXPECT_EQ(Parsed()->toPlainText(), original);
  EXPECT_TRUE(notice->isVisible());
  ShowMode(1);  // a mode switch empties the code windows and the notice goes
  EXPECT_FALSE(notice->isVisible());

  // The next start takes the setting up again.
  SetSetting("Display", "ModernOperators", "1");
  FSMMainForm again(dir.path(), &dialogs);
  EXPECT_TRUE(again.findChild<QAction*>("MenuViewModernOperators")->isChecked());
  ASSERT_TRUE(again.LoadFile(path));
  again.findChild<QAction*>("MenuViewMode4")->trigger();
  EXPECT_TRUE(again.findChild<QTextEdit*>("RichTextBox2")->toPlainText().startsWith("Every time"));
}

// The sample mission's problems: counted in the status bar once the check,
// which runs beside the window, is done; listed in View > Problems; each
// activated problem shows the event, goal, ship or wing that holds it.
TEST_F(MainFormTest, ProblemsListedCountedAndShown) {
  auto* pane = Find<ProblemsPane>("ProblemsPane");
  auto* status = Find<QToolButton>("ProblemsStatus");
  EXPECT_FALSE(status->isVisible());  // nothing loaded, nothing counted
  ASSERT_TRUE(Form().LoadFile(kSample));
  ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == "4 errors, 0 warnings"; }, 10000))
      << qPrintable(status->text());
  EXPECT_TRUE(status->isVisible());
  EXPECT_FALSE(pane->isVisible());

  Action("MenuViewProblems")->trigger();
  EXPECT_TRUE(pane->isVisible());
  EXPECT_TRUE(Action("MenuViewProblems")->isChecked());
  QTreeView* list = Find<QTreeView>("ProblemsList");
  QAbstractItemModel* problems = list->model();
  ASSERT_EQ(problems->rowCount(), 4);
  using Model = ProblemsModel;
  const auto row = [&](int r) {
    return QStringList{problems->index(r, Model::kSeverityColumn).data().toString(),
                       problems->index(r, Model::kLineColumn).data().toString(),
                       problems->index(r, Model::kProblemColumn).data().toString()};
  };
  // A mission's problems all lie in the mission: no file column.
  EXPECT_TRUE(list->isColumnHidden(Model::kFileColumn));
  EXPECT_EQ(row(0), (QStringList{"error", "99", "send-message-list: no message named \"Picket down\""}));
  EXPECT_EQ(row(3), (QStringList{"error", "131", "is-destroyed-delay: no ship or wing named \"Sekhmet 2\""}));
  // Each problem names its rule, the id that `torvk32 --check --ignore` takes.
  EXPECT_EQ(problems->headerData(Model::kRuleColumn, Qt::Horizontal).toString(), "Rule");
  EXPECT_EQ(problems->index(0, Model::kRuleColumn).data().toString(), "unknown-name");
  EXPECT_EQ(problems->index(2, Model::kRuleColumn).data().toString(), "brackets");

  // Line 131 stands in the formula of goal 2; line 99 in that of event 2.
  // A column sort moves the rows; the entry is found wherever it is.
  ShowMode(2);
  ClickHeader(0);
  const auto activate = [&](int r) {
    list->setCurrentIndex(problems->index(r, 0));
    emit list->activated(problems->index(r, 0));
  };
  activate(3);
  EXPECT_EQ(Form().CurrentMode(), 2);
  EXPECT_EQ(Cell(CurrentRow(), 0), "Clear the picket");
  EXPECT_TRUE(Sexp()->toPlainText().contains("\"Sekhmet 2\"")) << qPrintable(Sexp()->toPlainText());
  activate(0);
  EXPECT_EQ(Form().CurrentMode(), 4);
  EXPECT_EQ(Cell(CurrentRow(), 1), "Picket down");
  EXPECT_TRUE(Sexp()->toPlainText().contains("\"Picket down\"")) << qPrintable(Sexp()->toPlainText());

  // Closing the pane and clicking the count opens it again.
  pane->close();
  EXPECT_FALSE(Action("MenuViewProblems")->isChecked());
  status->click();
  EXPECT_TRUE(pane->isVisible());

  // The next mission's problems replace these.
  const QString clean = WriteMission(
      QStringLiteral("clean.fs2"),
      "#Mission Info\r\n$Name: Clean\r\n#Events\r\n$Formula: ( true )\r\n+Name: E\r\n");
  ASSERT_TRUE(Form().LoadFile(clean));
  ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == "0 errors, 0 warnings"; }, 10000))
      << qPrintable(status->text());
  EXPECT_EQ(problems->rowCount(), 0);
}

// Loads one after the other, each before the check of the one before is
// done: only the mission shown is counted and listed.
TEST_F(MainFormTest, ProblemsFollowTheMissionShown) {
  const QString clean = WriteMission(
      QStringLiteral("clean.fs2"),
      "#Events\r\n$Formula: ( is-event-true \"e\" )\r\n+Name: E\r\n");
  auto* status = Find<QToolButton>("ProblemsStatus");
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(Form().LoadFile(kSample));
    ASSERT_TRUE(Form().LoadFile(clean));
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return !status->text().startsWith("Checking"); }, 10000));
  QTest::qWait(100);  // time for a late result of an earlier check to arrive
  EXPECT_EQ(status->text(), "0 errors, 1 warning");
  EXPECT_EQ(Find<QTreeView>("ProblemsList")->model()->rowCount(), 1);
}

TEST_F(MainFormTest, PositionAtFirstTwoThirdsOfTheScreenThenRestoredAndSavedThroughTheLibrary) {
  applib::testing::FakePlatform platform;
  applib::testing::FakeFrontend frontend;
  applib::Library lib(platform, frontend);
  lib.ad_brix = FromQString(dir.path() + "/");
  lib.pfad_main = lib.ad_brix;
  {
    // No position kept: about two thirds of the screen, centred.
    const QSize design = FSMMainForm(dir.path(), &dialogs).size();  // without the library: the design size
    const FSMMainForm first(lib, &dialogs);
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    const Bounds b =
        FirstWindowBounds({free.x(), free.y(), free.width(), free.height()}, design.width(), design.height());
    EXPECT_EQ(first.geometry(), QRect(b.left, b.top, b.width, b.height));
  }
  applib::IniWrite(lib.ad_brix, u"brix.ini", u"Positions", u"TORVEK32", u"0,1500,900,9600,7200");
  QFile tool(dir.filePath("korva"));
  ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
  tool.close();
  applib::IniWrite(lib.ad_brix, u"brix.ini", u"Moduls_Dirs", u"KORVA", lib.ad_brix);
  applib::IniWrite(lib.ad_brix, u"brix.ini", u"Moduls_EXEs", u"KORVA", u"korva");

  auto window = std::make_unique<FSMMainForm>(lib, &dialogs);
  const double t = TwipsPerPixel(*window);
  EXPECT_EQ(window->geometry(), QRect(qRound(1500 / t), qRound(900 / t), qRound(9600 / t), qRound(7200 / t)));
  EXPECT_TRUE(window->findChild<QAction*>("MenuHelpTutorial")->isVisible());
  window->setGeometry(qRound(3000 / t), qRound(1500 / t), qRound(6000 / t), qRound(4500 / t));
  window->close();
  EXPECT_EQ(applib::IniRead(lib.ad_brix, u"brix.ini", u"Positions", u"TORVEK32"), u"0,3000,1500,6000,4500");
}

TEST(QtFileFilter, EitherCaseAndEveryFile) {
  EXPECT_EQ(QtFileFilter(ToQString(kFilterFS2)),
            "FreeSpace 2 mission files (*.fs2 *.FS2);;FreeSpace 1 mission files (*.fsm *.FSM);;All Files (*)");
}

TEST(Colorize, ColoursEveryOccurrenceCaseSensitively) {
  QTextEdit edit;
  const mission::Text text = u"If ChangeIff(x) Then\r\nAnd\r\nif OR Or\r\nNot And b";
  QString shown = ToQString(text);
  shown.replace("\r\n", "\n");
  edit.setPlainText(shown);
  CodeWindows::colorize(&edit, u"If", 0x0000FF);
  CodeWindows::colorize(&edit, u"And\r\n", 0x018000);
  CodeWindows::colorize(&edit, u"Or\r\n", 0x018000);
  CodeWindows::colorize(&edit, u"Not ", 0x018000);
  const auto colourAt = [&](int position) {
    QTextCursor c(edit.document());
    c.setPosition(position + 1);  // the format of the character before the cursor
    return c.charFormat().foreground().color();
  };
  const QColor red(255, 0, 0), green(0, 128, 1);
  const QString doc = edit.toPlainText();
  EXPECT_EQ(colourAt(doc.indexOf("If")), red);
  EXPECT_EQ(colourAt(doc.indexOf("Iff") + 1), red);  // inside a longer word
  EXPECT_EQ(colourAt(doc.indexOf("And\n") + 2), green);
  EXPECT_EQ(colourAt(doc.indexOf("Or\n")), green);
  EXPECT_EQ(colourAt(doc.indexOf("Not ")), green);
  EXPECT_NE(colourAt(doc.indexOf("if")), red);
  EXPECT_NE(colourAt(doc.indexOf("OR")), green);
  EXPECT_NE(colourAt(doc.indexOf("And b")), green);  // "And " was not coloured here
  EXPECT_FALSE(edit.textCursor().hasSelection());
}

}  // namespace
}  // namespace ui
