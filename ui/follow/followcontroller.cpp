#include "ui/follow/followcontroller.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>

#include "ui/code/codelinks.h"
#include "ui/code/codewindows.h"
#include "ui/code/rowdetails.h"
#include "ui/common/menus.h"
#include "ui/common/units.h"
#include "ui/list/columnwidths.h"
#include "ui/list/listmodel.h"
#include "ui/list/missionlist.h"
#include "ui/window/paneboundaries.h"

namespace ui {

FollowController::FollowController(const Parts& parts, std::function<int()> currentMode,
                                   std::function<void(int, int)> showEntry, std::function<void()> relayout,
                                   std::function<bool(const QString&)> openFile)
    : QObject(parts.window),
      client_(parts.client),
      list_(parts.list),
      currentMode_(std::move(currentMode)),
      showEntry_(std::move(showEntry)),
      relayout_(std::move(relayout)),
      openFile_(std::move(openFile)),
      links_(new CodeLinkFollower(parts.code->Sexp(), parts.code->Parsed(), this)),
      details_(new RowDetails(parts.client, parts.code)),
      boundaries_(new PaneBoundaries(parts.client, *parts.settings, parts.list, relayout_)) {
  new ColumnWidths(parts.list, *parts.settings, currentMode_);
  connect(links_, &CodeLinkFollower::linkClicked, this, &FollowController::Jump);
  connect(links_, &CodeLinkFollower::missionLinkClicked, this, &FollowController::missionPlaceChosen);
  // Every row made current, by the user or the program, shows its details;
  // a list filled anew has none.
  connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &FollowController::RowSelected);
  connect(list_->model(), &QAbstractItemModel::modelReset, this, [this] { RowSelected({}); });

  // The Go menu stands after the View menu, before the Tools menu.
  QMenuBar* bar = parts.window->menuBar();
  QMenu* go = AddMenu(bar, "MenuGo", QStringLiteral("&Go"));
  for (QAction* menu : bar->actions()) {
    if (menu->objectName() == u"MenuTools") bar->insertMenu(menu, go);
  }
  back_ = AddEntry(go, "MenuGoBack", QStringLiteral("&Back"), QKeySequence(Qt::ALT | Qt::Key_Left));
  forward_ = AddEntry(go, "MenuGoForward", QStringLiteral("&Forward"), QKeySequence(Qt::ALT | Qt::Key_Right));
  connect(back_, &QAction::triggered, this, &FollowController::Back);
  connect(forward_, &QAction::triggered, this, &FollowController::Forward);
  UpdateActions();
}

void FollowController::MissionLoaded(std::shared_ptr<const mission::Mission> mission, const QString& loaded) {
  const QString path = loaded;  // it may be opening_ itself, which is cleared here
  // Only the open asked for keeps the places; any other (File, Recent, a
  // drop, a reload) forgets them.
  if (opening_.isEmpty() || path != opening_) {
    history_.Clear();
    openedFrom_.reset();
    openedTo_.reset();
  }
  opening_.clear();
  file_ = FileNumber(path);
  UpdateActions();
  links_->SetMission(mission);
  details_->SetMission(std::move(mission));
}

void FollowController::NamesGathered(const mission::Mission* mission, std::shared_ptr<const views::NameRows> names) {
  links_->TakeNames(mission, std::move(names));
}

void FollowController::Fill(LayoutInput& in) const {
  in.details = details_->Shown();
  boundaries_->Fill(in);
}

void FollowController::Place(const Panes& panes) {
  const double t = TwipsPerPixel(*client_);
  const Box& b = panes.messagePane;
  details_->MessagePane()->setGeometry(qRound(b.left / t), qRound(b.top / t), qRound(b.width / t),
                                       qRound(b.height / t));
  details_->MessagePane()->setVisible(b.visible);
  boundaries_->Place(panes);
}

void FollowController::SetLinkFinder(std::function<views::CodeLinks(mission::TextView, mission::TextView)> find) {
  links_->SetLinkFinder(std::move(find));
}

void FollowController::MissionShown() {
  // The place shown first, so that a jump into the file remembers it.
  if (openedTo_) showEntry_(openedTo_->mode, static_cast<int>(openedTo_->row));
  if (openedFrom_) history_.Jumped(*openedFrom_, Here());
  openedFrom_.reset();
  openedTo_.reset();
  UpdateActions();
}

void FollowController::OpenFile(const QString& path, std::optional<views::Location> to) {
  opening_ = path;
  openedFrom_ = Here();
  openedTo_ = to;
  if (!openFile_(path)) {
    opening_.clear();
    openedFrom_.reset();
    openedTo_.reset();
  }
}

int FollowController::FileNumber(const QString& path) {
  const auto found = std::find(files_.begin(), files_.end(), path);
  if (found != files_.end()) return static_cast<int>(found - files_.begin()) + 1;
  files_.push_back(path);
  return static_cast<int>(files_.size());
}

views::Location FollowController::Here() const {
  const int row = ListRowOf(list_->currentIndex());
  views::Location here{currentMode_(), static_cast<std::size_t>(row + 1), 0, 0, 0};
  here.file = file_;
  return here;
}

void FollowController::GoTo(const views::Location& place) {
  if (place.file == file_ || place.file < 1 || place.file > static_cast<int>(files_.size())) {
    showEntry_(place.mode, static_cast<int>(place.row));
    return;
  }
  // A copy: the open clears opening_ while it still uses the path.
  const QString path = files_[static_cast<std::size_t>(place.file) - 1];
  opening_ = path;
  openedTo_ = place;
  if (!openFile_(path)) {
    opening_.clear();
    openedTo_.reset();
  }
}

void FollowController::Jump(int mode, int row) {
  const views::Location from = Here();
  showEntry_(mode, row);
  history_.Jumped(from, Here());
  UpdateActions();
}

void FollowController::Back() {
  if (const auto there = history_.Back(Here())) GoTo(*there);
  UpdateActions();
}

void FollowController::Forward() {
  if (const auto there = history_.Forward(Here())) GoTo(*there);
  UpdateActions();
}

void FollowController::UpdateActions() {
  back_->setEnabled(history_.CanGoBack());
  forward_->setEnabled(history_.CanGoForward());
}

void FollowController::RowSelected(const QModelIndex& current) {
  const int listRow = ListRowOf(current);
  const views::ListData& list = list_->List();
  const bool valid = listRow >= 0 && static_cast<std::size_t>(listRow) < list.rows.size();
  const Details before = details_->Shown();
  details_->Show(currentMode_(), valid ? static_cast<std::size_t>(listRow) + 1 : 0, list);
  if (details_->Shown() != before) relayout_();
}

}  // namespace ui
