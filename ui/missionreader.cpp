#include "ui/missionreader.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>
#include <future>

#include "applib/paths.h"
#include "ui/qtext.h"

namespace ui {

namespace {

std::filesystem::path FsPath(const QString& path) { return applib::ToFsPath(FromQString(path)); }

std::shared_ptr<const CheckResult> Check(std::shared_ptr<const mission::Mission> mission) {
  auto result = std::make_shared<CheckResult>();
  result->problems = views::CheckMission(*mission);
  result->counts = views::CountProblems(result->problems);
  result->mission = std::move(mission);
  return result;
}

}  // namespace

MissionRead ReadMission(const QString& path) {
  MissionRead loaded;
  mission::Mission fresh;
  loaded.result = mission::LoadFile(FsPath(path), fresh);
  if (!loaded.result.ok) return loaded;
  auto shared = std::make_shared<const mission::Mission>(std::move(fresh));
  loaded.links = std::make_shared<const views::TreeLinks>(shared->Tree());
  loaded.mission = std::move(shared);
  return loaded;
}

MissionReader::MissionReader(QObject* parent) : QObject(parent) {}

MissionReader::~MissionReader() {
  Cancel();
  // The workers hold the mission being read: let them end before the
  // window goes.
  for (auto* watcher : findChildren<QFutureWatcher<Step>*>()) watcher->waitForFinished();
}

void MissionReader::Start(const QString& path) {
  Cancel();
  path_ = path;
  reading_ = true;
  auto run = std::make_shared<Run>();
  running_ = run;
  auto* watcher = new QFutureWatcher<Step>(this);
  watcher_ = watcher;
  connect(watcher, &QFutureWatcher<Step>::resultReadyAt, this, [this, watcher](int index) {
    if (watcher == watcher_) Delivered(index);
  });
  connect(watcher, &QFutureWatcher<Step>::finished, this, [this, watcher] {
    watcher->deleteLater();
    if (watcher != watcher_) return;
    watcher_ = nullptr;
    running_.reset();
    reading_ = false;
  });
  // The check runs beside the index, on a thread of its own.
  watcher->setFuture(QtConcurrent::run([run, file = FsPath(path)](QPromise<Step>& promise) {
    auto loaded = std::make_shared<MissionRead>();
    mission::Mission fresh;
    loaded->result = mission::LoadFile(file, fresh, [&run](std::uint64_t done, std::uint64_t total) {
      run->permille = total == 0 ? 0 : static_cast<int>(done * 1000 / total);
      return !run->stop;
    });
    if (!loaded->result.ok) {
      promise.addResult(Step{loaded, nullptr});
      return;
    }
    auto shared = std::make_shared<const mission::Mission>(std::move(fresh));
    loaded->links = std::make_shared<const views::TreeLinks>(shared->Tree());
    loaded->mission = shared;
    loaded->indexesFollow = true;
    if (run->stop) return;
    promise.addResult(Step{loaded, nullptr});
    std::future<std::shared_ptr<const CheckResult>> check = std::async(std::launch::async, Check, shared);
    auto indexes = std::make_shared<MissionIndexes>();
    indexes->references =
        std::make_shared<const views::ReferenceIndex>(views::ReferenceIndex::Build(*shared, &run->stop));
    indexes->check = check.get();
    if (run->stop) return;
    promise.addResult(Step{nullptr, indexes});
  }));
}

void MissionReader::Delivered(int index) {
  const Step step = watcher_->resultAt(index);
  if (step.read) {
    reading_ = false;
    emit read(path_, step.read);
  } else if (step.indexes) {
    emit indexed(step.indexes);
  }
}

void MissionReader::Cancel() {
  if (running_) running_->stop = true;
  running_.reset();
  watcher_ = nullptr;
  reading_ = false;
}

int MissionReader::Permille() const { return running_ ? running_->permille.load() : 0; }

}  // namespace ui
