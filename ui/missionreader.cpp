#include "ui/missionreader.h"

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

// Reads the mission and builds its check beside its links and its index, on
// two threads; `stop` ends the read and the index early.
MissionRead ReadWhole(const std::filesystem::path& path, std::atomic<bool>& stop, std::atomic<int>& permille) {
  MissionRead loaded;
  mission::Mission fresh;
  loaded.result = mission::LoadFile(path, fresh, [&](std::uint64_t done, std::uint64_t total) {
    permille = total == 0 ? 0 : static_cast<int>(done * 1000 / total);
    return !stop;
  });
  if (!loaded.result.ok) return loaded;
  auto shared = std::make_shared<const mission::Mission>(std::move(fresh));
  std::future<std::shared_ptr<const CheckResult>> check = std::async(std::launch::async, Check, shared);
  loaded.links = std::make_shared<const views::TreeLinks>(shared->Tree());
  loaded.references = std::make_shared<const views::ReferenceIndex>(views::ReferenceIndex::Build(*shared, &stop));
  loaded.check = check.get();
  loaded.mission = std::move(shared);
  if (stop) {
    loaded = MissionRead();
    loaded.result.stopped = true;
  }
  return loaded;
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
  for (auto* watcher : findChildren<QFutureWatcher<Result>*>()) watcher->waitForFinished();
}

void MissionReader::Start(const QString& path) {
  Cancel();
  path_ = path;
  auto run = std::make_shared<Run>();
  running_ = run;
  auto* watcher = new QFutureWatcher<Result>(this);
  watcher_ = watcher;
  connect(watcher, &QFutureWatcher<Result>::finished, this, [this, watcher] {
    watcher->deleteLater();
    if (watcher != watcher_) return;  // cancelled or replaced meanwhile
    watcher_ = nullptr;
    running_.reset();
    emit finished(path_, watcher->result());
  });
  watcher->setFuture(QtConcurrent::run([run, file = FsPath(path)] {
    return std::make_shared<const MissionRead>(ReadWhole(file, run->stop, run->permille));
  }));
}

void MissionReader::Cancel() {
  if (running_) running_->stop = true;
  running_.reset();
  watcher_ = nullptr;
}

int MissionReader::Permille() const { return running_ ? running_->permille.load() : 0; }

}  // namespace ui
