#include "ui/load/missionopener.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>

#include "applib/paths.h"
#include "ui/common/qtext.h"
#include "ui/list/missionlist.h"
#include "ui/load/readerplace.h"
#include "ui/outline/outlineview.h"
#include "ui/rules/missionfiles.h"
#include "ui/rules/rules.h"
#include "ui/window/dialogs.h"
#include "views/campaign.h"

namespace ui {

namespace {

constexpr int kMessageMs = 5000;

QString NameOf(const QString& path) { return QFileInfo(path).fileName(); }

QString LoadingText(const QString& path) { return QObject::tr("Loading %1... (Esc cancels)").arg(NameOf(path)); }

// The local files of a drag, as paths.
std::vector<Text> DraggedFiles(const QMimeData* data) {
  std::vector<Text> paths;
  if (!data) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(FromQString(url.toLocalFile()));
  }
  return paths;
}

}  // namespace

MissionOpener::MissionOpener(Window window, ViewerSettings& settings, QMenu* file, QAction* before)
    : QObject(window.window),
      w_(std::move(window)),
      settings_(settings),
      reader_(new MissionReader(this)),
      recentMenu_(new QMenu(QStringLiteral("Recent &Missions"), file)),
      reload_(new QAction(QStringLiteral("&Reload"), file)),
      progress_(new QProgressBar(w_.window->statusBar())),
      cancel_(new QShortcut(QKeySequence(Qt::Key_Escape), w_.window)) {
  recentMenu_->menuAction()->setObjectName(QStringLiteral("MenuFileRecent"));
  file->insertMenu(before, recentMenu_);
  reload_->setObjectName(QStringLiteral("MenuFileReload"));
  reload_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
  reload_->setEnabled(false);
  file->insertAction(before, reload_);
  connect(reload_, &QAction::triggered, this, &MissionOpener::Reload);
  FillRecentMenu();

  progress_->setObjectName(QStringLiteral("LoadProgress"));
  progress_->setRange(0, 1000);
  progress_->setMaximumWidth(200);
  progress_->setToolTip(tr("Escape cancels the loading"));
  progress_->hide();
  w_.window->statusBar()->addPermanentWidget(progress_);
  progressTimer_.setInterval(50);
  connect(&progressTimer_, &QTimer::timeout, this, [this] { progress_->setValue(reader_->Permille()); });
  cancel_->setEnabled(false);
  connect(cancel_, &QShortcut::activated, this, &MissionOpener::CancelLoad);
  connect(reader_, &MissionReader::read, this,
          [this](const QString& path, const std::shared_ptr<const MissionRead>& loaded) {
            ShowProgress(false);
            if (!loaded->mission) {
              Finish(path, backgroundHow_, *loaded);
            } else if (Finish(path, backgroundHow_, *loaded)) {
              // Once the first view has been painted.
              QTimer::singleShot(0, reader_, [this, shown = loaded->mission.get()] { reader_->BuildIndexes(shown); });
            } else {
              reader_->DropIndexes(loaded->mission.get());  // what is not shown needs no check nor index
            }
          });
  connect(reader_, &MissionReader::indexed, this,
          [this](const std::shared_ptr<const MissionIndexes>& indexes) { w_.indexed(*indexes); });

  quiet_.setSingleShot(true);
  quiet_.setInterval(kQuietMs);
  connect(&quiet_, &QTimer::timeout, this, &MissionOpener::QuietAfterChange);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &MissionOpener::FileTouched);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &MissionOpener::FileTouched);

  w_.window->setAcceptDrops(true);
  w_.window->installEventFilter(this);
}

// --- Opening ---

bool MissionOpener::Open(const QString& path) { return Read(path, How::kOpen); }

void MissionOpener::OpenWithDialog(MissionKind kind) {
  const TextView filter = kind == MissionKind::kFS2        ? kFilterFS2
                          : kind == MissionKind::kCampaign ? kFilterCampaign
                                                           : kFilterFS1;
  const Text remembered = settings_.LastOpenDir(kind);
  const Text folder = OpenDialogFolder(remembered, !remembered.empty() && QFileInfo(ToQString(remembered)).isDir(),
                                       FromQString(shown_));
  const QString file = w_.dialogs->OpenFile(w_.window, ToQString(folder), ToQString(filter));
  if (file.isEmpty()) return;  // cancelled
  Text directory, name;
  applib::SplitPath(FromQString(file), directory, name);
  // Only a folder that exists is worth starting the next dialog in.
  if (QFileInfo(ToQString(directory)).isDir()) settings_.SetLastOpenDir(kind, directory);
  std::error_code error;
  if (const auto reason = NotAFileReason(std::filesystem::status(FsPath(file), error).type())) {
    Failed(file, How::kOpen, ToQString(*reason));
    return;
  }
  Open(file);
}

void MissionOpener::OpenRecent(const QString& path) {
  if (!QFileInfo::exists(path)) {
    settings_.SetRecentMissions(RecentWithout(settings_.RecentMissions(), FromQString(path)));
    FillRecentMenu();
    Failed(path, How::kOpen, QString::fromStdString(std::generic_category().message(ENOENT)));
    return;
  }
  Open(path);
}

void MissionOpener::Reload() {
  if (shown_.isEmpty()) return;
  Read(shown_, How::kReload);
}

bool MissionOpener::Read(const QString& path, How how) {
  CancelLoad();
  if (QFileInfo(path).size() > kForegroundLoadBytes) {
    backgroundHow_ = how;
    reader_->Start(path, w_.currentMode());
    Message(LoadingText(path));
    ShowProgress(true);
    return true;
  }
  w_.status(QStringLiteral("Loading mission"));
  const MissionRead loaded = ReadMission(path);
  w_.status({});
  return Finish(path, how, loaded);
}

void MissionOpener::CancelLoad() {
  if (!reader_->Reading()) return;
  const QString path = reader_->Path();
  reader_->Cancel();
  ShowProgress(false);
  Message(tr("Loading %1 cancelled").arg(NameOf(path)), kMessageMs);
}

bool MissionOpener::Finish(const QString& path, How how, const MissionRead& loaded) {
  if (!loaded.result.ok) {
    if (!loaded.result.stopped) Failed(path, how, QString::fromStdString(loaded.result.error));
    return false;
  }
  // A campaign file is as welcome as a mission, and as worth remembering.
  const bool mission = mission::LooksLikeMission(*loaded.mission) || views::LooksLikeCampaign(*loaded.mission);
  if (!mission) {
    // A reload that meets this is most likely a save half-way; the next
    // change reads it again.
    if (how == How::kReload) {
      Failed(path, how, tr("it does not look like a FreeSpace mission"));
      return false;
    }
    if (!w_.dialogs->Question(w_.window, ToQString(kDesignCaption),
                              ToQString(NotAMissionQuestion(FromQString(NameOf(path))))))
      return false;
  }
  // The place survives a reload of the mission shown; a new one starts afresh.
  std::optional<ReaderPlace> place;
  if (how == How::kReload && path == shown_) place.emplace(w_.currentMode(), *w_.list, *w_.tree, w_.shownMission());
  reader_->DropIndexes(&w_.shownMission());  // should they still be built, no one needs them now
  w_.show(loaded, path);
  if (place) {
    place->Restore(*w_.list, *w_.tree, *loaded.mission, w_.showEntry);
    Message(ToQString(ReloadedText(FromQString(path))), kMessageMs);
  } else {
    Message({});
    if (mission) RememberRecent(path);  // a file opened anyway is no mission to come back to
  }
  Watch(path);
  return true;
}

void MissionOpener::Failed(const QString& path, How how, const QString& reason) {
  if (how == How::kReload) {
    Message(ToQString(ReloadFailedText(FromQString(path), FromQString(reason))));
    return;
  }
  Message({});
  w_.dialogs->Warning(w_.window, ToQString(kDesignCaption),
                      tr("The mission file %1 could not be read:\n%2").arg(QDir::toNativeSeparators(path), reason));
}

void MissionOpener::Message(const QString& text, int ms) {
  if (text.isEmpty()) {
    w_.window->statusBar()->clearMessage();
  } else {
    w_.window->statusBar()->showMessage(text, ms);
  }
}

void MissionOpener::ShowProgress(bool running) {
  progress_->setValue(0);
  progress_->setVisible(running);
  cancel_->setEnabled(running);
  if (running) {
    progressTimer_.start();
  } else {
    progressTimer_.stop();
  }
}

// --- Recent missions ---

void MissionOpener::RememberRecent(const QString& path) {
  const QString whole = QFileInfo(path).absoluteFilePath();
  settings_.SetRecentMissions(RecentWithFirst(settings_.RecentMissions(), FromQString(whole)));
  FillRecentMenu();
}

void MissionOpener::FillRecentMenu() {
  recentMenu_->clear();
  const std::vector<Text> recent = settings_.RecentMissions();
  const std::vector<Text> captions = RecentCaptions(recent);
  for (std::size_t i = 0; i < recent.size(); ++i) {
    QAction* entry = recentMenu_->addAction(ToQString(captions[i]));
    entry->setObjectName(QStringLiteral("MenuFileRecent%1").arg(i + 1));
    entry->setToolTip(ToQString(recent[i]));
    connect(entry, &QAction::triggered, this, [this, path = ToQString(recent[i])] { OpenRecent(path); });
  }
  recentMenu_->setEnabled(!recent.empty());
}

// --- Watching the file shown ---

std::optional<MissionOpener::Stamp> MissionOpener::StampOf(const QString& path) {
  std::error_code error;
  const std::filesystem::path file = FsPath(path);
  Stamp stamp;
  stamp.time = std::filesystem::last_write_time(file, error);
  if (error) return std::nullopt;
  stamp.size = std::filesystem::file_size(file, error);
  if (error) return std::nullopt;
  return stamp;
}

void MissionOpener::Watch(const QString& path) {
  if (shown_ != path) {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    shown_ = path;
  }
  shownStamp_ = StampOf(path);
  reload_->setEnabled(true);
  // An editor that renames a new file over the old one leaves the watch on
  // the old file, which is gone: the folder's watch sees the new one come,
  // and the file's watch is set again on it.
  if (!watcher_.files().contains(path) && QFileInfo::exists(path)) watcher_.addPath(path);
  const QString folder = QFileInfo(path).absolutePath();
  if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
}

void MissionOpener::FileTouched() {
  // The folder changes with every file in it: only a change of the shown
  // one counts.
  if (StampOf(shown_) != shownStamp_) quiet_.start();
}

void MissionOpener::QuietAfterChange() {
  if (shown_.isEmpty() || StampOf(shown_) == shownStamp_) return;
  if (reader_->Reading()) {
    quiet_.start();  // a read in the background is not cut short; look again later
    return;
  }
  Read(shown_, How::kReload);
  // Whatever came of it, the next change is seen.
  shownStamp_ = StampOf(shown_);
  if (!watcher_.files().contains(shown_) && QFileInfo::exists(shown_)) watcher_.addPath(shown_);
}

// --- Drops ---

bool MissionOpener::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // A menu opened meanwhile clears the status bar's message for its
  // entries' tips; while a file is read, the message says so again.
  if (watched == w_.window && type == QEvent::StatusTip && reader_->Reading() &&
      static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
    Message(LoadingText(reader_->Path()));
    return true;
  }
  if (watched == w_.window && (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)) {
    auto* drop = static_cast<QDropEvent*>(event);
    const std::optional<Text> file = DroppedMission(DraggedFiles(drop->mimeData()));
    if (!file) return false;
    drop->acceptProposedAction();
    // Opened once the drop has ended, so that the dragging program is not
    // kept waiting by a question or a warning.
    if (type == QEvent::Drop) {
      QTimer::singleShot(0, this, [this, path = ToQString(*file)] { Open(path); });
    }
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ui
