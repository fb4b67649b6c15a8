// ReferenceIndexer: builds the reference index of the mission just loaded
// (views::ReferenceIndex) on a worker thread and receives it, so the window
// never builds it itself, least of all on a click. It owns the running build
// and the index of the mission shown.
//
// A build is started after each load and keeps its mission alive (the index
// points into the mission's text); Stop() ends a running build (it looks at
// its stop flag on every line, so the wait is short) and forgets the index.
// A build that was stopped or replaced never delivers its index.
#pragma once

#include <QObject>
#include <atomic>
#include <memory>

#include "mission/mission.h"
#include "views/references.h"

template <typename T>
class QFuture;

namespace ui {

class ReferenceIndexer : public QObject {
  Q_OBJECT

 public:
  explicit ReferenceIndexer(QObject* parent = nullptr);
  ~ReferenceIndexer() override;  // stops a running build

  // Starts building the index of `mission`, dropping the one before.
  void Start(std::shared_ptr<const mission::Mission> mission);
  // Drops the index before and waits for the index of `mission` to be
  // handed over by Take, built elsewhere.
  void Await(std::shared_ptr<const mission::Mission> mission);
  // The index of `mission`, when that is the one awaited.
  void Take(const std::shared_ptr<const mission::Mission>& mission, std::shared_ptr<const views::ReferenceIndex> index);
  void Stop();

  // The index of the mission shown; null while it is being built.
  const views::ReferenceIndex* Index() const { return index_.get(); }

 signals:
  void indexReady();
  // The index (or the build) of the mission shown was given up.
  void indexDropped();

 private:
  using Result = std::shared_ptr<const views::ReferenceIndex>;

  std::unique_ptr<QFuture<Result>> running_;
  std::shared_ptr<std::atomic<bool>> stop_;
  Result index_;
  std::shared_ptr<const mission::Mission> mission_;  // the one the index points into
  quint64 build_ = 0;  // numbers the builds; only the latest may deliver
};

}  // namespace ui
