#include "ui/load/missionreader.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>
#include <future>

#include "ui/common/qtext.h"

namespace ui {

namespace {

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
  for (const auto& run : indexing_) {
    run->stop = true;
    run->Go();
  }
  // The workers hold the mission being read: let them end before the
  // window goes.
  for (auto* watcher : findChildren<QFutureWatcher<Step>*>()) watcher->waitForFinished();
}

void MissionReader::Start(const QString& path, int view) {
  Cancel();
  auto run = std::make_shared<Run>();
  run->path = path;
  reading_ = run;
  auto* watcher = new QFutureWatcher<Step>(this);
  connect(watcher, &QFutureWatcher<Step>::resultReadyAt, this,
          [this, watcher, run](int index) { Delivered(run, watcher->resultAt(index)); });
  connect(watcher, &QFutureWatcher<Step>::finished, this, [this, watcher, run] {
    watcher->deleteLater();
    std::erase(indexing_, run);
    if (reading_ == run) reading_.reset();
  });
  // The check runs beside the index, on a thread of its own.
  watcher->setFuture(QtConcurrent::run([run, file = FsPath(path), view,
                                        go = run->go.get_future()](QPromise<Step>& promise) {
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
    // The view shown, so that the window does not fill a large list itself.
    auto shown = std::make_shared<views::ModeLists>(shared.get());
    shown->List(view);
    loaded->lists = std::move(shown);
    loaded->mission = shared;
    loaded->indexesFollow = true;
    if (run->stop) return;
    promise.addResult(Step{loaded, nullptr});
    go.wait();
    if (run->stop) return;
    std::future<std::shared_ptr<const CheckResult>> check = std::async(std::launch::async, Check, shared);
    auto indexes = std::make_shared<MissionIndexes>();
    // First what a click in the window would otherwise wait for: a link
    // looks up names, and lands in a view's list.
    indexes->names = std::make_shared<const views::NameRows>(views::NameRows::Build(*shared));
    auto lists = std::make_shared<views::ModeLists>(shared.get());
    lists->FillAll();
    indexes->lists = std::move(lists);
    indexes->references =
        std::make_shared<const views::ReferenceIndex>(views::ReferenceIndex::Build(*shared, &run->stop));
    indexes->check = check.get();
    if (run->stop) return;
    promise.addResult(Step{nullptr, indexes});
  }));
}

void MissionReader::Delivered(const std::shared_ptr<Run>& run, const Step& step) {
  if (run->stop) return;  // cancelled or dropped meanwhile
  if (step.read) {
    if (reading_ == run) reading_.reset();
    if (step.read->mission) {
      run->mission = step.read->mission.get();
      indexing_.push_back(run);
    }
    emit read(run->path, step.read);
  } else if (step.indexes) {
    std::erase(indexing_, run);
    emit indexed(step.indexes);
  }
}

void MissionReader::Cancel() {
  if (!reading_) return;
  reading_->stop = true;
  reading_->Go();
  reading_.reset();
}

void MissionReader::BuildIndexes(const mission::Mission* mission) {
  for (const auto& run : indexing_) {
    if (run->mission == mission) run->Go();
  }
}

void MissionReader::DropIndexes(const mission::Mission* mission) {
  std::erase_if(indexing_, [mission](const std::shared_ptr<Run>& run) {
    if (run->mission != mission) return false;
    run->stop = true;
    run->Go();
    return true;
  });
}

QString MissionReader::Path() const { return reading_ ? reading_->path : QString(); }

int MissionReader::Permille() const { return reading_ ? reading_->permille.load() : 0; }

}  // namespace ui
