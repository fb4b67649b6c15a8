// Reading a mission file together with everything the window builds from
// each mission it shows: the links between list rows and tree nodes, the
// mission check, the reference index, the lists of its views and the names
// that the code windows link.
//
// ReadMission does the reading on the calling thread and leaves the check
// and the index to the window's own workers. MissionReader reads in a worker
// thread and builds the rest there too, so the window thread builds none of
// them: the mission with its links is handed over as soon as it is read
// (read), the rest once all of it is built (indexed). It
// owns the running work, the share of the file read so far, and the stop
// flag that cancels it.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <atomic>
#include <future>
#include <memory>
#include <vector>

#include "mission/mission.h"
#include "ui/problems/problems.h"
#include "views/formula_display.h"
#include "views/links.h"
#include "views/modes.h"
#include "views/references.h"

namespace ui {

struct MissionRead {
  mission::LoadResult result;
  // The rest is set when the result is ok.
  std::shared_ptr<const mission::Mission> mission;
  std::shared_ptr<const views::TreeLinks> links;
  // Lists of its views filled with it (read in the background: the list of
  // the view the window showed, which it shows again), or null.
  std::shared_ptr<const views::ModeLists> lists;
  // The check and the index follow from the reader (indexed) rather than
  // from the window's own workers.
  bool indexesFollow = false;
};

// What MissionReader builds from the mission it has read.
struct MissionIndexes {
  std::shared_ptr<const CheckResult> check;
  std::shared_ptr<const views::ReferenceIndex> references;
  // Every view filled, and the names the code windows' links look up.
  std::shared_ptr<const views::ModeLists> lists;
  std::shared_ptr<const views::NameRows> names;
};

// Reads `path` here and now: the mission and its links.
MissionRead ReadMission(const QString& path);

class MissionReader : public QObject {
  Q_OBJECT

 public:
  explicit MissionReader(QObject* parent = nullptr);
  // Stops the running work and waits for it.
  ~MissionReader() override;

  // Starts reading `path`, cancelling a read still running, and fills the
  // list of view `view` with it (none for 0). The indexes of a mission read
  // before go on being built.
  void Start(const QString& path, int view = 0);
  // Stops the read still running; it delivers nothing.
  void Cancel();
  // The mission read is shown: its indexes are built now, so that they do
  // not compete with the window for the processor while it shows the first
  // view.
  void BuildIndexes(const mission::Mission* mission);
  // Stops building the indexes of `mission` (read before); they are not
  // delivered.
  void DropIndexes(const mission::Mission* mission);
  // Whether a file is being read (read not yet emitted).
  bool Reading() const { return reading_ != nullptr; }
  QString Path() const;
  // The share of the file read so far, in thousandths.
  int Permille() const;

 signals:
  // The read of `path` ended; when it failed, nothing more follows.
  void read(const QString& path, std::shared_ptr<const ui::MissionRead> loaded);
  // The check and the index of a mission read (indexes->check->mission).
  void indexed(std::shared_ptr<const ui::MissionIndexes> indexes);

 private:
  // One file read and indexed.
  struct Run {
    QString path;
    std::atomic<bool> stop{false};
    std::atomic<int> permille{0};
    const mission::Mission* mission = nullptr;  // once read
    // Set when the indexes may be built (or are not wanted: see stop).
    std::promise<void> go;
    bool gone = false;  // go was set
    void Go() {
      if (!gone) go.set_value();
      gone = true;
    }
  };
  // A read first, then the indexes.
  struct Step {
    std::shared_ptr<const MissionRead> read;
    std::shared_ptr<const MissionIndexes> indexes;
  };

  void Delivered(const std::shared_ptr<Run>& run, const Step& step);

  std::shared_ptr<Run> reading_;               // the file being read
  std::vector<std::shared_ptr<Run>> indexing_;  // missions read whose indexes are being built
};

}  // namespace ui
