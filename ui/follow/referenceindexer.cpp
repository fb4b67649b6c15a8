#include "ui/follow/referenceindexer.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace ui {

ReferenceIndexer::ReferenceIndexer(QObject* parent) : QObject(parent) {}

ReferenceIndexer::~ReferenceIndexer() { Stop(); }

void ReferenceIndexer::Await(std::shared_ptr<const mission::Mission> mission) {
  Stop();
  mission_ = std::move(mission);
}

void ReferenceIndexer::Take(const std::shared_ptr<const mission::Mission>& mission, Result index) {
  if (!mission || mission != mission_ || index_ || running_) return;
  index_ = std::move(index);
  emit indexReady();
}

void ReferenceIndexer::Start(std::shared_ptr<const mission::Mission> mission) {
  Stop();
  if (!mission) return;
  mission_ = mission;
  const quint64 build = ++build_;
  auto stop = std::make_shared<std::atomic<bool>>(false);
  stop_ = stop;
  running_ = std::make_unique<QFuture<Result>>(QtConcurrent::run([mission, stop] {
    return std::make_shared<const views::ReferenceIndex>(views::ReferenceIndex::Build(*mission, stop.get()));
  }));
  auto* watcher = new QFutureWatcher<Result>(this);
  connect(watcher, &QFutureWatcher<Result>::finished, this, [this, watcher, build] {
    watcher->deleteLater();
    if (build != build_) return;  // stopped or replaced meanwhile
    index_ = watcher->result();
    running_.reset();
    emit indexReady();
  });
  watcher->setFuture(*running_);
}

void ReferenceIndexer::Stop() {
  ++build_;
  if (running_) {
    stop_->store(true);
    running_->waitForFinished();
    running_.reset();
  }
  if (index_ || stop_) {
    index_.reset();
    stop_.reset();
    mission_.reset();
    emit indexDropped();
  }
}

}  // namespace ui
