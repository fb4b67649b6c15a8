#include "ui/follow/referencescontroller.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMenu>
#include <QTreeView>

#include "ui/code/codewindows.h"
#include "ui/follow/referenceindexer.h"
#include "ui/follow/referencespane.h"
#include "ui/list/clipboard.h"
#include "ui/list/listmodel.h"
#include "views/formula_display.h"
#include "views/modes.h"
#include "views/references.h"

namespace ui {

namespace {

// The list row (0-based, file order) behind the list's current index, and
// the list it belongs to; null when there is no current row.
const views::Row* CurrentRow(const QTreeView* list) {
  const ListModel* model = BaseListModel(list->model());
  const int row = ListRowOf(list->currentIndex());
  if (!model || row < 0 || static_cast<std::size_t>(row) >= model->List().rows.size()) return nullptr;
  return &model->List().rows[static_cast<std::size_t>(row)];
}

}  // namespace

ReferencesController::ReferencesController(QMainWindow* window, QAction* find, QTreeView* list,
                                           ListClipboard* listMenu, CodeWindows* code,
                                           std::function<int()> currentMode, std::function<void(int, int)> showEntry)
    : QObject(window),
      list_(list),
      code_(code),
      currentMode_(std::move(currentMode)),
      showEntry_(std::move(showEntry)),
      action_(new QAction(QStringLiteral("Find References"), find->parent())),
      indexer_(new ReferenceIndexer(this)),
      pane_(new ReferencesPane(indexer_, window)) {
  action_->setObjectName(QStringLiteral("MenuEditReferences"));
  action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  if (auto* menu = qobject_cast<QMenu*>(find->parent())) {
    const QList<QAction*> entries = menu->actions();
    const qsizetype next = entries.indexOf(find) + 1;
    menu->insertAction(next < entries.size() ? entries[next] : nullptr, action_);
  }
  action_->setEnabled(false);
  connect(action_, &QAction::triggered, this, &ReferencesController::FindReferences);
  connect(listMenu, &ListClipboard::contextMenuAboutToShow, this, [this](QMenu* menu) {
    UpdateAction();
    if (!action_->isEnabled()) return;
    menu->addSeparator();
    menu->addAction(action_);
  });
  // The entry follows the row the list shows as current.
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, &ReferencesController::UpdateAction);
  connect(list_->model(), &QAbstractItemModel::modelReset, this, &ReferencesController::UpdateAction);
  connect(list_->model(), &QAbstractItemModel::layoutChanged, this, &ReferencesController::UpdateAction);
  window->addDockWidget(Qt::BottomDockWidgetArea, pane_);
  connect(pane_, &ReferencesPane::placeActivated, this, &ReferencesController::GoTo);
}

void ReferencesController::MissionLoaded(std::shared_ptr<const mission::Mission> mission, bool indexFollows) {
  mission_ = std::move(mission);
  if (indexFollows) {
    indexer_->Await(mission_);
  } else {
    indexer_->Start(mission_);
  }
  UpdateAction();
}

void ReferencesController::IndexBuilt(const std::shared_ptr<const mission::Mission>& mission,
                                      std::shared_ptr<const views::ReferenceIndex> index) {
  indexer_->Take(mission, std::move(index));
}

void ReferencesController::UpdateAction() {
  const views::Row* row = CurrentRow(list_);
  action_->setEnabled(row && views::ReferenceName(currentMode_(), *row).has_value());
}

void ReferencesController::FindReferences() {
  const views::Row* row = CurrentRow(list_);
  if (!row) return;
  const int mode = currentMode_();
  if (const auto name = views::ReferenceName(mode, *row)) pane_->Find(*name, mode == views::kModeVariables);
}

void ReferencesController::GoTo(const views::Location& where) {
  if (where.row < 1) return;
  showEntry_(where.mode, static_cast<int>(where.row));
  // The line, when the code window shows the formula that holds it (a cue
  // is not shown there: its ship or wing's row is where it goes).
  const views::Row* row = CurrentRow(list_);
  if (!mission_ || where.line == 0 || !row || ListRowOf(list_->currentIndex()) + 1 != static_cast<int>(where.row))
    return;
  const auto start = views::FormulaStartOf(mission_->Sections(), row->tag);
  if (start && start->slot == where.slot && where.line >= start->line) code_->MarkSexpLine(where.line - start->line);
}

}  // namespace ui
