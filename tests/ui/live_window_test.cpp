// The window beside a mission editor: reloading the mission shown when its
// file changes (written in place or renamed over it), File > "Reload" and
// "Recent Missions", dropping files on the window, and reading a large file
// in the background, which Escape cancels.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <cstdio>
#include <string>

#include "applib/paths.h"
#include "mission/mission.h"
#include "tests/ui/form_fixture.h"
#include "ui/load/missionopener.h"
#include "views/check.h"
#include "views/modes.h"

namespace ui {
namespace {

using testing::kSample;
using testing::MainFormTest;

constexpr int kWaitMs = 10000;

// Runs the event loop until `done` holds; false when it still does not
// after kWaitMs.
template <class Done>
bool WaitFor(Done done) {
  return QTest::qWaitFor(done, kWaitMs);
}

// A mission with these ships, in this order.
QByteArray ShipsMission(const QStringList& ships) {
  QByteArray text = "#Mission Info\r\n$Version: 0.10\r\n$Name: Live\r\n\r\n#Objects\r\n";
  for (const QString& ship : ships) text += "$Name: " + ship.toUtf8() + "\r\n$Class: GTF Ulysses\r\n$Team: Friendly\r\n";
  return text + "\r\n#Wings\r\n";
}

// A mission of about `megabytes` MB: many ships.
QByteArray LargeMission(int megabytes) {
  QByteArray text = "#Mission Info\r\n$Version: 0.10\r\n$Name: Large\r\n\r\n#Objects\r\n";
  for (int i = 0; text.size() < megabytes * 1024 * 1024; ++i)
    text += "$Name: Ship " + QByteArray::number(i) + "\r\n$Class: GTF Ulysses\r\n$Team: Friendly\r\n";
  return text;
}

class LiveWindowTest : public MainFormTest {
 protected:
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    return path;
  }
  // Saves as many editors do: a new file, renamed over the old one.
  void RenameSave(const QString& path, const QByteArray& bytes) {
    const QString fresh = Write("saving.tmp", bytes);
    ASSERT_EQ(std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()), 0);
  }
  QString Message() { return Form().statusBar()->currentMessage(); }
  QStringList FirstColumn() {
    QStringList cells;
    for (int r = 0; r < List()->model()->rowCount(); ++r) cells << Cell(r, 0);
    return cells;
  }
  QProgressBar* Progress() { return Find<QProgressBar>("LoadProgress"); }
  void Drop(const QStringList& files) { DropOn(&Form(), files); }
  // A drop on `target`, as the platform delivers it to the widget under the
  // mouse.
  void DropOn(QWidget* target, const QStringList& files) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& f : files) urls << QUrl::fromLocalFile(f);
    data->setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    dropAccepted = enter.isAccepted();
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QApplication::processEvents();
    delete data;
  }
  bool dropAccepted = false;
};

// Written in place and saved by renaming, the file is read again after the
// quiet time; the view, the selected ship (found by its name after a ship
// was put before it), the expanded tree nodes and the scroll position stay.
TEST_F(LiveWindowTest, ChangedFileIsReloadedKeepingThePlace) {
  QStringList ships;
  for (int i = 0; i < 60; ++i) ships << QStringLiteral("Ship %1").arg(i);
  const QString path = Write("live.fs2", ShipsMission(ships));
  ASSERT_TRUE(Form().LoadFile(path));
  Action("MenuViewTreeView")->trigger();
  ShowMode(views::kModeShips);
  const QModelIndex picked = List()->model()->index(40, 0);
  List()->scrollTo(picked);
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(picked).center());
  ASSERT_EQ(Cell(CurrentRow(), 0), "Ship 40");
  QApplication::processEvents();
  List()->verticalScrollBar()->setValue(7);
  Tree()->expand(NodeWithTag("6,3"));
  const QString shipNode = NodeWithTag("6,3").data().toString();

  struct Save {
    const char* how;
    QStringList ships;
  } saves[] = {
      {"in place", QStringList{"Ship new"} + ships},
      {"by renaming", QStringList{"Ship newer", "Ship new"} + ships},
      {"by renaming again", QStringList{"Ship newest", "Ship newer", "Ship new"} + ships},
  };
  for (const Save& save : saves) {
    SCOPED_TRACE(save.how);
    dialogs.warnings.clear();
    Form().statusBar()->clearMessage();
    if (QByteArray(save.how) == "in place") {
      Write("live.fs2", ShipsMission(save.ships));
    } else {
      RenameSave(path, ShipsMission(save.ships));
    }
    ASSERT_TRUE(WaitFor([&] { return Message() == QStringLiteral("Reloaded live.fs2"); })) << qPrintable(Message());
    EXPECT_EQ(FirstColumn(), save.ships);
    EXPECT_EQ(Form().CurrentMode(), views::kModeShips);
    EXPECT_EQ(Cell(CurrentRow(), 0), "Ship 40");
    EXPECT_EQ(List()->verticalScrollBar()->value(), 7);
    // The ship expanded before is expanded still, wherever it went.
    bool expanded = false;
    for (int r = 1; r <= save.ships.size(); ++r) {
      const QModelIndex node = NodeWithTag(QStringLiteral("6,%1").arg(r));
      if (node.data().toString() == shipNode) expanded = Tree()->isExpanded(node);
    }
    EXPECT_TRUE(expanded);
    EXPECT_TRUE(dialogs.warnings.isEmpty());
  }
}

// A reload that fails keeps the mission shown and says why in the status
// bar; the next good save is read again. File > "Reload" reads by hand.
TEST_F(LiveWindowTest, FailedReloadKeepsTheMissionAndSaysWhy) {
  const QString path = Write("live.fs2", ShipsMission({"Alpha 1", "Alpha 2"}));
  EXPECT_FALSE(Action("MenuFileReload")->isEnabled());
  ASSERT_TRUE(Form().LoadFile(path));
  EXPECT_TRUE(Action("MenuFileReload")->isEnabled());
  ShowMode(views::kModeShips);

  const struct {
    const char* what;
    QByteArray bytes;  // empty: the file is removed
    QString message;
  } failures[] = {
      {"removed", {}, "Could not reload live.fs2: No such file or directory"},
      {"no mission", "just some notes\r\n", "Could not reload live.fs2: it does not look like a FreeSpace mission"},
  };
  for (const auto& f : failures) {
    SCOPED_TRACE(f.what);
    if (f.bytes.isEmpty()) {
      ASSERT_TRUE(QFile::remove(path));
    } else {
      Write("live.fs2", f.bytes);
    }
    ASSERT_TRUE(WaitFor([&] { return Message() == f.message; })) << qPrintable(Message());
    EXPECT_EQ(FirstColumn(), (QStringList{"Alpha 1", "Alpha 2"}));
    EXPECT_TRUE(Form().windowTitle().contains("live.fs2"));
    EXPECT_TRUE(dialogs.warnings.isEmpty());
    EXPECT_TRUE(dialogs.questions.isEmpty());
  }

  Write("live.fs2", ShipsMission({"Beta 1"}));
  ASSERT_TRUE(WaitFor([&] { return Message() == QStringLiteral("Reloaded live.fs2"); })) << qPrintable(Message());
  EXPECT_EQ(FirstColumn(), QStringList{"Beta 1"});

  // By hand: at once, with the same place kept.
  QTest::qWait(kQuietMs * 2);  // no automatic reload is still due
  Form().statusBar()->clearMessage();
  Action("MenuFileReload")->trigger();
  EXPECT_EQ(Message(), "Reloaded live.fs2");
  EXPECT_EQ(Form().CurrentMode(), views::kModeShips);
  EXPECT_EQ(Action("MenuFileReload")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
}

// File > "Recent Missions": the missions opened, most recent first, at most
// eight, kept in the settings; one that has vanished warns and leaves the list.
TEST_F(LiveWindowTest, RecentMissionsOpenAndForgetVanishedFiles) {
  QStringList paths;
  for (int i = 1; i <= 9; ++i) paths << Write(QStringLiteral("m%1.fs2").arg(i), ShipsMission({QStringLiteral("S%1").arg(i)}));
  QMenu* recent = Action("MenuFileRecent")->menu();
  ASSERT_NE(recent, nullptr);
  EXPECT_FALSE(Action("MenuFileRecent")->isEnabled());
  for (const QString& p : paths) ASSERT_TRUE(Form().LoadFile(p));
  ASSERT_TRUE(Form().LoadFile(paths[3]));  // m4 again: first, once

  const QStringList expected{"m4.fs2", "m9.fs2", "m8.fs2", "m7.fs2", "m6.fs2", "m5.fs2", "m3.fs2", "m2.fs2"};
  ASSERT_EQ(recent->actions().size(), expected.size());
  for (int i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(recent->actions()[i]->text(), QStringLiteral("&%1 %2").arg(i + 1).arg(expected[i]));
    EXPECT_EQ(Setting("Recent", qPrintable(QStringLiteral("File%1").arg(i + 1))), dir.filePath(expected[i]));
  }

  // Through the same path as the open commands, into a new window too.
  form.reset();
  recent = Action("MenuFileRecent")->menu();
  Action("MenuFileRecent3")->trigger();
  EXPECT_TRUE(Form().windowTitle().contains("m8.fs2"));
  EXPECT_EQ(recent->actions()[0]->text(), "&1 m8.fs2");

  ASSERT_TRUE(QFile::remove(paths[6]));  // m7, now fourth
  Action("MenuFileRecent4")->trigger();
  ASSERT_EQ(dialogs.warnings.size(), 1);
  EXPECT_TRUE(dialogs.warnings[0].contains("m7.fs2")) << qPrintable(dialogs.warnings[0]);
  EXPECT_TRUE(Form().windowTitle().contains("m8.fs2"));
  QStringList left;
  for (QAction* a : recent->actions()) left << a->text();
  EXPECT_EQ(left, (QStringList{"&1 m8.fs2", "&2 m4.fs2", "&3 m9.fs2", "&4 m6.fs2", "&5 m5.fs2", "&6 m3.fs2",
                               "&7 m2.fs2"}));
  EXPECT_EQ(Setting("Recent", "File8"), "");
}

// A drop of mission files opens the first of them; a drop without one is
// not taken.
TEST_F(LiveWindowTest, DroppedMissionFileOpens) {
  const QString a = Write("a.fs2", ShipsMission({"A"}));
  const QString b = Write("b.FSM", ShipsMission({"B"}));
  const QString notes = Write("notes.txt", "#Mission Info\r\n");
  ASSERT_TRUE(Form().acceptDrops());

  Drop({notes});
  EXPECT_FALSE(dropAccepted);
  EXPECT_FALSE(Form().windowTitle().contains("notes"));

  Drop({notes, b, a});
  EXPECT_TRUE(dropAccepted);
  EXPECT_TRUE(Form().windowTitle().contains("b.FSM"));
  EXPECT_EQ(Setting("Recent", "File1"), b);

  // Over the list, the tree or a code window, the window takes the drop.
  for (QWidget* over : {List()->viewport(), Tree()->viewport(), Find<QTextEdit>("RichTextBox1")->viewport()}) {
    Drop({a});
    ASSERT_TRUE(Form().windowTitle().contains("a.fs2"));
    DropOn(over, {b});
    EXPECT_TRUE(dropAccepted) << qPrintable(over->parentWidget()->objectName());
    EXPECT_TRUE(Form().windowTitle().contains("b.FSM")) << qPrintable(over->parentWidget()->objectName());
  }

  Drop({dir.filePath("gone.fs2")});
  ASSERT_EQ(dialogs.warnings.size(), 1);
  EXPECT_TRUE(Form().windowTitle().contains("b.FSM"));
}

// A large mission is read in the background with a progress bar, the
// mission shown staying until it is read; its check and its reference index
// are built there too and follow it.
TEST_F(LiveWindowTest, LargeMissionIsReadInTheBackground) {
  const QString large = Write("large.fs2", LargeMission(6) + "#Events\r\n"
                                           "$Formula: ( when ( is-destroyed-delay 0 \"Ship 5\" ) ( do-nothing ) )\r\n"
                                           "+Name: Ship 5 gone\r\n");
  ASSERT_TRUE(Form().LoadFile(kSample));
  // A file that cannot be read, opened the moment the large mission is
  // shown: its check and index, still being built, keep coming.
  const QMetaObject::Connection opening = QObject::connect(&Form(), &QWidget::windowTitleChanged, [&] {
    if (Form().windowTitle().contains("large.fs2")) {
      EXPECT_FALSE(Form().LoadFile(dir.filePath("gone.fs2")));
    }
  });
  ASSERT_TRUE(Form().LoadFile(large));
  EXPECT_TRUE(Progress()->isVisible());
  EXPECT_EQ(Message(), "Loading large.fs2... (Esc cancels)");
  EXPECT_TRUE(Form().windowTitle().contains("sample.fs2"));
  ASSERT_TRUE(WaitFor([&] { return Form().windowTitle().contains("large.fs2"); }));
  QObject::disconnect(opening);
  EXPECT_EQ(dialogs.warnings.size(), 1);
  EXPECT_FALSE(Progress()->isVisible());
  EXPECT_EQ(Cell(0, 1), "Large");
  EXPECT_EQ(Setting("Recent", "File1"), large);

  mission::Mission reference;
  ASSERT_TRUE(mission::LoadFile(applib::ToFsPath(FromQString(large)), reference).ok);
  auto* problems = Find<QToolButton>("ProblemsStatus");
  ASSERT_TRUE(WaitFor([&] { return !problems->text().startsWith("Checking"); }));
  EXPECT_EQ(problems->text(),
            QString::fromStdString(views::CountsText(views::CountProblems(views::CheckMission(reference)))));
  ShowMode(views::kModeShips);
  List()->setCurrentIndex(List()->model()->index(5, 0));
  ASSERT_EQ(Cell(CurrentRow(), 0), "Ship 5");
  Action("MenuEditReferences")->trigger();
  auto* summary = Find<QLabel>("ReferencesSummary");
  ASSERT_TRUE(WaitFor([&] { return !summary->text().startsWith("Looking"); }));
  EXPECT_EQ(Find<QTreeView>("ReferencesList")->model()->rowCount(), 1) << qPrintable(summary->text());
}

// A menu opened while a large mission is read shows its entries' tips in the
// status bar; the loading message comes back, and stays until the load ends.
TEST_F(LiveWindowTest, TheLoadingMessageStaysThroughAnOpenedMenu) {
  const QString large = Write("large.fs2", LargeMission(20));  // read for long enough to open a menu
  ASSERT_TRUE(Form().LoadFile(kSample));
  ShowMode(views::kModeShips);
  ASSERT_TRUE(Form().LoadFile(large));
  const QString loading = "Loading large.fs2... (Esc cancels)";
  ASSERT_EQ(Message(), loading);
  QApplication::setActiveWindow(&Form());
  Form().menuBar()->setActiveAction(Action("MenuFile"));
  QMenu* file = Action("MenuFile")->menu();
  ASSERT_TRUE(QTest::qWaitFor([&] { return file->isVisible(); }, kWaitMs));
  file->setActiveAction(Action("MenuFileReload"));
  EXPECT_EQ(Message(), loading);
  EXPECT_TRUE(Progress()->isVisible());
  file->hide();
  EXPECT_EQ(Message(), loading);
  ASSERT_TRUE(WaitFor([&] { return Form().windowTitle().contains("large.fs2"); }));
  EXPECT_EQ(Message(), "");
  // It comes in the view that was shown.
  EXPECT_EQ(Form().CurrentMode(), views::kModeShips);
  EXPECT_EQ(Cell(0, 0), "Ship 0");
}

// Escape cancels a load in the background and keeps the mission shown;
// while the find field has the keyboard, Escape is the find bar's.
TEST_F(LiveWindowTest, EscapeCancelsTheBackgroundLoad) {
  const QString large = Write("large.fs2", LargeMission(6));
  ASSERT_TRUE(Form().LoadFile(kSample));
  ShowMode(views::kModeEvents);
  const QStringList shown = FirstColumn();

  Action("MenuEditFind")->trigger();
  auto* field = Find<QLineEdit>("FindField");
  ASSERT_TRUE(field->hasFocus() || QApplication::focusWidget() == field);
  ASSERT_TRUE(Form().LoadFile(large));
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_FALSE(Find<QWidget>("FindBar")->isVisible());
  EXPECT_TRUE(Progress()->isVisible());

  QTest::keyClick(List(), Qt::Key_Escape);
  EXPECT_FALSE(Progress()->isVisible());
  EXPECT_EQ(Message(), "Loading large.fs2 cancelled");
  QTest::qWait(500);  // a read that ran to its end meanwhile is not shown either
  EXPECT_TRUE(Form().windowTitle().contains("sample.fs2"));
  EXPECT_EQ(Form().CurrentMode(), views::kModeEvents);
  EXPECT_EQ(FirstColumn(), shown);
  EXPECT_NE(Setting("Recent", "File1"), large);

  // Opened again, it arrives.
  ASSERT_TRUE(Form().LoadFile(large));
  ASSERT_TRUE(WaitFor([&] { return Form().windowTitle().contains("large.fs2"); }));
}

// The open dialog starts in the folder it remembers while that exists,
// else in the folder of the mission shown.
TEST_F(LiveWindowTest, OpenDialogFallsBackToTheShownMissionsFolder) {
  SetSetting("Dirs", "LastOpenDirFS2", qPrintable(dir.filePath("gone") + "/"));
  const QString path = Write("live.fs2", ShipsMission({"A"}));
  ASSERT_TRUE(Form().LoadFile(path));
  Action("MenuFileOpenFS2")->trigger();
  EXPECT_EQ(dialogs.lastDirectory, dir.path() + "/");
  SetSetting("Dirs", "LastOpenDirFS2", qPrintable(QDir::tempPath() + "/"));
  Action("MenuFileOpenFS2")->trigger();
  EXPECT_EQ(dialogs.lastDirectory, QDir::tempPath() + "/");
}

}  // namespace
}  // namespace ui
