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
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mission/mission.h"
#include "views/check.h"

class QMainWindow;
class QMenu;
class QTreeView;

namespace ui {

// The problems of the file shown. They point into the mission's text, so the
// result keeps the mission alive.
//
// A campaign's check holds the campaign's own problems and those of each
// mission it lists, each in the file it lies in: `files` names them (the
// campaign's first) and `fileOf` gives each problem's file by its index
// there. A mission's check leaves both empty: all lie in the file shown.
struct CheckResult {
  std::shared_ptr<const mission::Mission> mission;  // the file shown
  std::vector<views::Problem> problems;
  views::ProblemCounts counts;
  bool campaign = false;
  std::vector<QString> files;
  std::vector<std::uint32_t> fileOf;
  std::size_t missions = 0;          // the campaign's missions checked
  std::shared_ptr<const void> keep;  // the missions and texts a campaign's problems point into

  // The file a problem lies in; empty for the file shown.
  QString FileOf(std::size_t problem) const {
    const std::uint32_t file = problem < fileOf.size() ? fileOf[problem] : 0;
    return file == 0 || file >= files.size() ? QString() : files[file];
  }
  // «3 errors, 2 warnings», for a campaign «... in 4 missions and 1 campaign».
  std::string CountsText() const;
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
  // The file column is shown for a campaign only.
  enum Column { kSeverityColumn, kFileColumn, kLineColumn, kProblemColumn, kRuleColumn, kColumnCount };

  using QAbstractTableModel::QAbstractTableModel;

  // Null: no problems to show.
  void SetResult(std::shared_ptr<const CheckResult> result);
  // The problem of a row, or nullptr.
  const views::Problem* ProblemAt(int row) const;
  // The file of a row's problem; empty for the file shown.
  QString FileAt(int row) const;
  const std::shared_ptr<const CheckResult>& Result() const { return result_; }

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

  void SetChecking(bool campaign);
  void SetCounts(const CheckResult& result);
};

// The dock pane "Problems", one row per problem in the order of the file,
// hidden until asked for. It docks itself at the bottom of the window, puts
// its count into the window's status bar and its entry "Problems" (which
// shows and hides it) into the window's View menu.
class ProblemsPane : public QDockWidget {
  Q_OBJECT

 public:
  ProblemsPane(QMainWindow* window, QMenu* viewMenu);

  // Who checks the file shown: the pane, or the mission's or the campaign's
  // reader, which hands its check over by TakeCheck.
  enum class Source { kCheckHere, kMissionCheckFollows, kCampaignCheckFollows };

  // Checks the mission just shown, or awaits its check; the list and the
  // count follow when the check is done.
  void Check(std::shared_ptr<const mission::Mission> mission, Source source = Source::kCheckHere);
  // A check made elsewhere; shown when it is of the file shown and of the
  // kind awaited (a campaign's reader reads a campaign as a mission too).
  void TakeCheck(const std::shared_ptr<const CheckResult>& result);

  ProblemsModel* Model() const { return model_; }
  QTreeView* View() const { return view_; }
  ProblemsStatus* Status() const { return status_; }

 signals:
  // A problem was activated (double-click, Enter): show row `row` (1-based,
  // in file order) of view mode `mode`; row 0 stands for the view alone.
  void problemActivated(int mode, int row);
  // The same for a problem in another file: a mission of the campaign shown.
  void problemInFileActivated(const QString& path, int mode, int row);

 private:
  void Show(const std::shared_ptr<const CheckResult>& result);

  std::shared_ptr<const mission::Mission> awaited_;  // whose check is made elsewhere
  bool awaitedCampaign_ = false;                      // and whether it is a campaign's
  MissionChecker* checker_ = nullptr;
  ProblemsModel* model_ = nullptr;
  QTreeView* view_ = nullptr;
  ProblemsStatus* status_ = nullptr;
};

}  // namespace ui
