// Drives a whole FSMMainForm the way a user does (menu entries, mouse clicks
// on list rows and tree nodes, the toolbar) and measures how long each action
// keeps the event loop from running, for the window's stress and safety
// tests. What the window shows is checked against the views computed from
// the same file without a window.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHeaderView>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <QToolButton>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "applib/paths.h"
#include "mission/mission.h"
#include "tests/ui/find_child.h"
#include "ui/common/qtext.h"
#include "ui/list/listmodel.h"
#include "ui/rules/rules.h"
#include "ui/window/mainform.h"
#include "views/check.h"
#include "views/formula_display.h"
#include "views/modes.h"

namespace ui::testing {

// Answers the window's open dialog from a queue and records every warning
// and question. Questions are answered Yes (open the file anyway); the
// Options dialog is cancelled.
class QueueDialogs : public Dialogs {
 public:
  std::deque<QString> files;
  QStringList warnings;
  QStringList questions;

  QString OpenFile(QWidget*, const QString&, const QString&) override {
    if (files.empty()) return {};
    QString f = files.front();
    files.pop_front();
    return f;
  }
  void Warning(QWidget*, const QString&, const QString& text) override { warnings << text; }
  bool Question(QWidget*, const QString&, const QString& text) override {
    questions << text;
    return true;
  }
  std::optional<Association> Options(QWidget*, Association) override { return std::nullopt; }
};

// Runs an action inside the event loop and reports the longest time, in
// milliseconds, that the loop went without serving a 1 ms heartbeat timer
// while the action and the repaints it caused were handled.
class BlockMeter {
 public:
  double Run(const std::function<void()>& action) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    beat.setInterval(1);
    QObject::connect(&beat, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      longest = std::max(longest, now - last);
      last = now;
    });
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
      last = clock.nsecsElapsed();
      action();
      // Time for the repaints and other events the action posted.
      QTimer::singleShot(15, &loop, &QEventLoop::quit);
    });
    beat.start();
    loop.exec();
    beat.stop();
    return static_cast<double>(longest) / 1e6;
  }

  // The same while the event loop runs until `done` holds (or `timeoutMs`
  // has passed): work done beside the window must not hold it up.
  double Wait(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0;
    while (!done() && clock.elapsed() < timeoutMs) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      const qint64 now = clock.nsecsElapsed();
      longest = std::max(longest, now - last);
      last = now;
      QThread::msleep(1);
    }
    return static_cast<double>(longest) / 1e6;
  }
};

// The longest block seen per kind of action, for the report.
class BlockReport {
 public:
  void Add(const std::string& action, double ms) {
    double& worst = worst_[action];
    worst = std::max(worst, ms);
  }
  double Worst() const {
    double w = 0;
    for (const auto& [action, ms] : worst_) w = std::max(w, ms);
    return w;
  }
  std::string Text() const {
    std::string text;
    for (const auto& [action, ms] : worst_) text += "  " + action + ": " + std::to_string(ms) + " ms\n";
    return text;
  }

 private:
  std::map<std::string, double> worst_;
};

class WindowDriver {
 public:
  explicit WindowDriver(const QString& settingsDirectory) {
    Show(std::make_unique<FSMMainForm>(settingsDirectory, &dialogs_));
  }
  explicit WindowDriver(const applib::Library& library) { Show(std::make_unique<FSMMainForm>(library, &dialogs_)); }

  FSMMainForm& Form() { return *form_; }
  QueueDialogs& Dialogs() { return dialogs_; }
  // Modal windows that came up anyway (they are closed at once).
  const QStringList& ModalWindows() const { return modals_; }
  BlockReport& Report() { return report_; }

  template <class T>
  T* Find(const char* name) {
    return FindChild<T>(*form_, name);
  }
  QTreeView* List() { return Find<QTreeView>("ListView1"); }
  QTreeView* Tree() { return Find<QTreeView>("TreeView1"); }
  QTextEdit* Sexp() { return Find<QTextEdit>("RichTextBox1"); }
  QTextEdit* Parsed() { return Find<QTextEdit>("RichTextBox2"); }

  // Runs `action` measured, under the name `kind` in the report.
  void Do(const std::string& kind, const std::function<void()>& action) { report_.Add(kind, meter_.Run(action)); }

  void Trigger(const char* actionName) {
    QAction* action = Find<QAction>(actionName);
    ASSERT_NE(action, nullptr);
    Do(actionName, [action] { action->trigger(); });
  }

  // File > Open FreeSpace 2 mission, answering the dialog with `path`; also
  // reads the file without the window, as the reference for the checks.
  void Open(const QString& path) {
    dialogs_.files.push_back(path);
    Trigger("MenuFileOpenFS2");
    // A large mission is read beside the window; it comes with its check.
    auto* progress = Find<QProgressBar>("LoadProgress");
    ASSERT_NE(progress, nullptr);
    report_.Add("load beside the window", meter_.Wait([progress] { return !progress->isVisible(); }, 120000));
    EXPECT_FALSE(progress->isVisible()) << "not loaded after two minutes";
    WaitForCheck();
    reference_ = mission::Mission();
    expectedMode_ = 0;
    ASSERT_TRUE(mission::LoadFile(applib::ToFsPath(FromQString(path)), reference_).ok);
    ASSERT_EQ(dialogs_.warnings, QStringList{});
  }

  // View menu entry `mode`, when the menu offers it; checks the list
  // against the view filled without a window.
  void SwitchTo(int mode) {
    const std::string name = "MenuViewMode" + std::to_string(mode);
    QAction* action = Find<QAction>(name.c_str());
    ASSERT_NE(action, nullptr);
    const int before = form_->CurrentMode();
    Trigger(name.c_str());
    EXPECT_EQ(form_->CurrentMode(), action->isEnabled() ? mode : before);
    const views::ListData& expected = Expected();
    QAbstractItemModel* model = List()->model();
    EXPECT_EQ(model->rowCount(), static_cast<int>(expected.rows.size())) << "mode " << mode;
    EXPECT_EQ(model->columnCount(), static_cast<int>(expected.columns.size())) << "mode " << mode;
  }

  // Clicks the list row shown at `row` (0-based) with the mouse and checks
  // the selection and the code windows against the row's formula.
  void ClickRow(int row) {
    QTreeView* list = List();
    const QModelIndex index = list->model()->index(row, 0);
    ASSERT_TRUE(index.isValid()) << row;
    list->scrollTo(index);
    QApplication::processEvents();
    const QPoint at = list->visualRect(index).center();
    Do("click row", [&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at); });
    ASSERT_EQ(list->currentIndex().row(), row);
    // Through every proxy (the find filter, the sort) to the list's own row.
    const views::Row& expected = Expected().rows.at(static_cast<std::size_t>(ListRowOf(index)));
    for (std::size_t c = 0; c < expected.cells.size(); ++c) {
      EXPECT_EQ(list->model()->index(row, static_cast<int>(c)).data().toString(), ShownText(expected.cells[c]))
          << "row " << row << " column " << c;
    }
    if (!views::HasFormulaReference(expected.tag)) return;
    const views::FormulaTexts texts = views::ReadRowFormula(reference_.Sections(), expected);
    // Formula texts beyond the code windows' limit show their beginning.
    EXPECT_TRUE(Sexp()->document()->toRawText() == Document(CodeWindowText(texts.sexp))) << "row " << row;
    EXPECT_TRUE(Parsed()->document()->toRawText() == Document(CodeWindowText(texts.parsed))) << "row " << row;
  }

  // Clicks the rows at both ends and in the middle of the list.
  void ClickSomeRows() {
    const int rows = List()->model()->rowCount();
    for (const int row : {0, rows / 2, rows - 1}) {
      if (row >= 0 && row < rows) ClickRow(row);
    }
  }

  // Clicks a tree node with the mouse; a «mode,k» node shows row k of the
  // mode's list and selects the first node with that tag.
  void ClickNode(const QModelIndex& node) {
    QTreeView* tree = Tree();
    tree->scrollTo(node);
    QApplication::processEvents();
    const QPoint at = tree->visualRect(node).center();
    Do("click tree node", [&] { QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at); });
    const auto target = views::NodeClickTarget(FromQString(node.data(Qt::UserRole).toString()));
    if (!target) return;
    EXPECT_EQ(form_->CurrentMode(), target->mode);
    if (target->row < 1 || target->row > List()->model()->rowCount()) return;
    EXPECT_EQ(ListRowOf(List()->currentIndex()), target->row - 1);
    EXPECT_EQ(FromQString(tree->currentIndex().data(Qt::UserRole).toString()),
              views::RowNodeTag(target->mode, static_cast<std::size_t>(target->row)));
  }

  // The first and the last child of every section node, and the sections.
  void ClickTreeNodes() {
    QAbstractItemModel* model = Tree()->model();
    for (int r = 0; r < model->rowCount(); ++r) {
      const QModelIndex section = model->index(r, 0);
      ClickNode(section);
      const int children = model->rowCount(section);
      if (children > 0) ClickNode(model->index(0, 0, section));
      if (children > 1) ClickNode(model->index(children - 1, 0, section));
    }
  }

  // A whole session on the opened mission: the problems listed and
  // activated, every view in turn with rows clicked, the tree shown, its
  // nodes clicked, collapsed and hidden, the code windows switched off and
  // on, a column sorted.
  void Session() {
    Problems();
    for (int mode = 1; mode <= views::kModeCount; ++mode) {
      SwitchTo(mode);
      ClickSomeRows();
    }
    Trigger("MenuViewTreeView");
    ClickTreeNodes();
    Trigger("MenuViewTreeViewCA");
    Trigger("MenuViewTreeView");
    SwitchTo(views::kModeEvents);
    Trigger("MenuViewCodeL");
    Trigger("MenuViewCodeR");
    ClickSomeRows();
    Trigger("MenuViewCodeL");
    Trigger("MenuViewCodeR");
    SwitchTo(views::kModeShips);
    QHeaderView* header = List()->header();
    if (List()->model()->columnCount() == 0 || !header->isVisible()) return;
    const QPoint at(header->sectionViewportPosition(0) + header->sectionSize(0) / 2, header->height() / 2);
    Do("sort by column", [&] { QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at); });
    EXPECT_TRUE(header->isSortIndicatorShown());
    ClickSomeRows();
  }

  // Waits for the count of the mission's problems, which the window finds
  // beside its own thread, measuring how the window answers meanwhile.
  void WaitForCheck() {
    auto* status = Find<QToolButton>("ProblemsStatus");
    ASSERT_NE(status, nullptr);
    const auto counted = [status] { return status->isVisible() && !status->text().startsWith(u"Checking"); };
    report_.Add("check beside the window", meter_.Wait(counted, 120000));
    EXPECT_TRUE(counted()) << "no count after two minutes";
  }

  // The count of the mission's problems against the check without a window;
  // then View > Problems, and its first and last problems activated, each of
  // which shows its view (and its row, when it has one).
  void Problems() {
    const std::vector<views::Problem> problems = views::CheckMission(reference_);
    const QString counts = QString::fromStdString(views::CountsText(views::CountProblems(problems)));
    EXPECT_EQ(Find<QToolButton>("ProblemsStatus")->text(), counts);
    Trigger("MenuViewProblems");
    auto* list = Find<QTreeView>("ProblemsList");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->model()->rowCount(), static_cast<int>(problems.size()));
    for (const std::size_t i : {std::size_t{0}, problems.size() - 1}) {
      if (i >= problems.size()) continue;
      const QModelIndex index = list->model()->index(static_cast<int>(i), 0);
      list->scrollTo(index);
      Do("activate problem", [&] { emit list->activated(index); });
      if (views::IsMode(problems[i].mode)) {
        EXPECT_EQ(form_->CurrentMode(), problems[i].mode) << "problem " << i;
      }
    }
    Trigger("MenuViewProblems");
  }

  void Close() {
    Do("close", [&] { form_->close(); });
    form_.reset();
  }

 private:
  // The list of the mode the window shows, filled without a window.
  const views::ListData& Expected() {
    if (expectedMode_ != form_->CurrentMode()) {
      expectedMode_ = form_->CurrentMode();
      expected_ = views::FillMode(expectedMode_, reference_);
    }
    return expected_;
  }

  void Show(std::unique_ptr<FSMMainForm> form) {
    form_ = std::move(form);
    form_->resize(1000, 760);
    form_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    // A message box of its own would wait for a user who never comes.
    QObject::connect(&modalWatch_, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        modals_ << QString::fromLatin1(modal->metaObject()->className()) + QStringLiteral(": ") + modal->windowTitle();
        modal->close();
      }
    });
    modalWatch_.start(50);
  }

  // A code window's text as its document holds it: a paragraph separator
  // for each line break, every other character as it is.
  static QString Document(mission::TextView text) {
    QString s = ToQString(text);
    s.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
    return s;
  }

  QueueDialogs dialogs_;
  QTimer modalWatch_;
  QStringList modals_;
  std::unique_ptr<FSMMainForm> form_;
  BlockMeter meter_;
  BlockReport report_;
  mission::Mission reference_;
  int expectedMode_ = 0;
  views::ListData expected_;
};

}  // namespace ui::testing
