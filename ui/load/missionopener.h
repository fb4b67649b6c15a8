// MissionOpener: how missions come into the window, and the file of the one
// shown. It owns
//   - the open path every way of opening takes (the File menu's open
//     commands, File > "Recent Missions", a drop, the command line): a file
//     that is no regular file or cannot be read keeps the mission shown and
//     warns; one that does not look like a mission replaces it only when the
//     user says so;
//   - the reading: a file up to kForegroundLoadBytes is read at once; a
//     larger one by a MissionReader in a worker thread, with a progress bar
//     (LoadProgress) in the status bar, while the window keeps answering;
//     Escape cancels it (the find field keeps its own Escape);
//   - File > "Recent Missions" (MenuFileRecent, entries MenuFileRecent1..8)
//     and File > "Reload" (MenuFileReload, Ctrl+Shift+R);
//   - the watch on the shown mission's file and its folder: once the file
//     has changed and then stayed unchanged for kQuietMs, it is read again
//     (editors that save by renaming a new file over it included); a reload
//     keeps the reader's place (ReaderPlace) and says «Reloaded NAME», and
//     one that fails keeps the mission and says why in the status bar;
//   - drops of mission files on the window (several: the first).
// The window shows what was read through `show`.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "ui/load/missionreader.h"
#include "ui/rules/settings.h"

class QAction;
class QMainWindow;
class QMenu;
class QProgressBar;
class QShortcut;

namespace ui {

class Dialogs;
class MissionList;
class OutlineView;

// A mission file larger than this is read in a worker thread.
constexpr qint64 kForegroundLoadBytes = 5 * 1024 * 1024;
// How long a changed file must stay unchanged before it is read again.
constexpr int kQuietMs = 300;

class MissionOpener : public QObject {
  Q_OBJECT

 public:
  // What the opener needs of the window.
  struct Window {
    QMainWindow* window;
    MissionList* list;
    OutlineView* tree;
    Dialogs* dialogs;
    // Replaces the mission shown and shows its General view.
    std::function<void(const MissionRead&, const QString& path)> show;
    // The check and the index of the mission shown, when they follow it.
    std::function<void(const MissionIndexes&)> indexed;
    // A busy text (empty: ready).
    std::function<void(const QString&)> status;
    std::function<int()> currentMode;
    std::function<const mission::Mission&()> shownMission;
    // The window's way to a row: mode, row 1-based in file order.
    std::function<void(int, int)> showEntry;
  };

  // The menu entries go into `file` before `before`.
  MissionOpener(Window window, ViewerSettings& settings, QMenu* file, QAction* before);

  // Opens `path`: true when it is shown, or is being read in the background.
  bool Open(const QString& path);
  // The open dialog of FreeSpace 1 or 2 missions, then Open.
  void OpenWithDialog(MissionKind kind);
  // Reads the shown mission's file again, keeping the reader's place.
  void Reload();
  // Stops a read running in the background; the mission shown stays.
  void CancelLoad();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class How { kOpen, kReload };
  // What tells one version of a file from the next.
  struct Stamp {
    std::filesystem::file_time_type time;
    std::uintmax_t size = 0;
    bool operator==(const Stamp&) const = default;
  };
  static std::optional<Stamp> StampOf(const QString& path);

  bool Read(const QString& path, How how);
  bool Finish(const QString& path, How how, const MissionRead& loaded);
  void Failed(const QString& path, How how, const QString& reason);
  void OpenRecent(const QString& path);
  void RememberRecent(const QString& path);
  void FillRecentMenu();
  void Watch(const QString& path);
  void FileTouched();
  void QuietAfterChange();
  void ShowProgress(bool running);
  void Message(const QString& text, int ms = 0);

  Window w_;
  ViewerSettings& settings_;
  MissionReader* reader_;
  How backgroundHow_ = How::kOpen;
  QString shown_;  // the file of the mission shown
  std::optional<Stamp> shownStamp_;  // as it was when read
  QFileSystemWatcher watcher_;
  QTimer quiet_;
  QTimer progressTimer_;
  QMenu* recentMenu_;
  QAction* reload_;
  QProgressBar* progress_;
  QShortcut* cancel_;
};

}  // namespace ui
