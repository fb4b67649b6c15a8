// Reading a mission file together with everything the window builds from
// each mission it shows: the links between list rows and tree nodes, the
// mission check and the reference index.
//
// ReadMission does the reading on the calling thread and leaves the check
// and the index to the window's own workers. MissionReader reads in a worker
// thread and builds the check and the index there too, so the window gets
// the mission complete, all at once, and never waits; it owns the running
// read, the share of the file read so far, and the stop flag that cancels
// the read.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

#include "mission/mission.h"
#include "ui/problems.h"
#include "views/formula_display.h"
#include "views/references.h"

namespace ui {

struct MissionRead {
  mission::LoadResult result;
  // The rest is set when the result is ok.
  std::shared_ptr<const mission::Mission> mission;
  std::shared_ptr<const views::TreeLinks> links;
  // Null when left to the window's workers.
  std::shared_ptr<const CheckResult> check;
  std::shared_ptr<const views::ReferenceIndex> references;
};

// Reads `path` here and now: the mission and its links.
MissionRead ReadMission(const QString& path);

class MissionReader : public QObject {
  Q_OBJECT

 public:
  explicit MissionReader(QObject* parent = nullptr);
  // Stops a running read and waits for it.
  ~MissionReader() override;

  // Starts reading `path`, cancelling a read still running.
  void Start(const QString& path);
  // Stops the running read; it delivers nothing.
  void Cancel();
  bool Running() const { return running_ != nullptr; }
  QString Path() const { return path_; }
  // The share of the file read so far, in thousandths.
  int Permille() const;

 signals:
  // The read of `path` is complete (or failed: see the result).
  void finished(const QString& path, std::shared_ptr<const ui::MissionRead> loaded);

 private:
  struct Run {
    std::atomic<bool> stop{false};
    std::atomic<int> permille{0};
  };
  using Result = std::shared_ptr<const MissionRead>;

  std::shared_ptr<Run> running_;
  QFutureWatcher<Result>* watcher_ = nullptr;
  QString path_;
};

}  // namespace ui
