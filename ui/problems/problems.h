// The shown mission's problems in the window: the mission check, run off the
// window's thread (MissionChecker); a model over its result (ProblemsModel);
// the "Problems" pane that lists them (ProblemsPane), with the count it
// keeps in the window's status bar (ProblemsStatus). Activating a problem
// asks the window to show the entry that holds it.
#pragma once

#include <QAbstractTableModel>
#include <QDockWidget>
#include <QFutureWatcher>
#include <QToolButton>
#include <memory>
#include <vector>

#include "mission/mission.h"
#include "views/check.h"

class QMainWindow;
class QMenu;
class QTreeView;

namespace ui {

// The problems of one mission. They point into the mission's text, so the
// result keeps the mission alive.
struct CheckResult {
  std::shared_ptr<const mission::Mission> mission;
  std::vector<views::Problem> problems;
  views::ProblemCounts counts;
};

// Checks one mission at a time on a worker thread. Starting the check of
// another mission drops the result of the one before.
class MissionChecker : public QObject {
  Q_OBJECT

 public:
  explicit MissionChecker(QObject* parent = nullptr);
  // Waits for a check still running.
  ~MissionChecker() override;

  void Start(std::shared_ptr<const mission::Mission> mission);
  // Drops the result of a check still running.
  void Drop() { watcher_.cancel(); }

 signals:
  void checked(std::shared_ptr<const ui::CheckResult> result);

 private:
  QFutureWatcher<std::shared_ptr<const CheckResult>> watcher_;
};

class ProblemsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kSeverityColumn, kLineColumn, kProblemColumn, kRuleColumn, kColumnCount };

  using QAbstractTableModel::QAbstractTableModel;

  // Null: no problems to show.
  void SetResult(std::shared_ptr<const CheckResult> result);
  // The problem of a row, or nullptr.
  const views::Problem* ProblemAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  std::shared_ptr<const CheckResult> result_;
};

// The permanent status-bar text «3 errors, 2 warnings» of the shown mission;
// clicking it opens the Problems pane.
class ProblemsStatus : public QToolButton {
  Q_OBJECT

 public:
  explicit ProblemsStatus(QWidget* parent = nullptr);

  void SetChecking();
  void SetCounts(views::ProblemCounts counts);
};

// The dock pane "Problems", one row per problem in the order of the file,
// hidden until asked for. It docks itself at the bottom of the window, puts
// its count into the window's status bar and its entry "Problems" (which
// shows and hides it) into the window's View menu.
class ProblemsPane : public QDockWidget {
  Q_OBJECT

 public:
  ProblemsPane(QMainWindow* window, QMenu* viewMenu);

  // Checks the mission just shown; the list and the count follow when the
  // check is done. With `checkFollows` the check is made elsewhere and
  // handed over by Checked.
  void Check(std::shared_ptr<const mission::Mission> mission, bool checkFollows = false);
  // The check made elsewhere; shown when it is of the mission shown.
  void TakeCheck(const std::shared_ptr<const CheckResult>& result);

  ProblemsModel* Model() const { return model_; }
  QTreeView* View() const { return view_; }
  ProblemsStatus* Status() const { return status_; }

 signals:
  // A problem was activated (double-click, Enter): show row `row` (1-based,
  // in file order) of view mode `mode`; row 0 stands for the view alone.
  void problemActivated(int mode, int row);

 private:
  void Show(const std::shared_ptr<const CheckResult>& result);

  std::shared_ptr<const mission::Mission> awaited_;  // whose check is made elsewhere
  MissionChecker* checker_ = nullptr;
  ProblemsModel* model_ = nullptr;
  QTreeView* view_ = nullptr;
  ProblemsStatus* status_ = nullptr;
};

}  // namespace ui
