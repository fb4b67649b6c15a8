#include "ui/list/columnwidths.h"

#include <QEvent>
#include <QHeaderView>

#include "ui/list/missionlist.h"
#include "ui/rules/settings.h"

namespace ui {

ColumnWidths::ColumnWidths(MissionList* list, ViewerSettings& settings, std::function<int()> currentMode)
    : QObject(list), list_(list), settings_(settings), currentMode_(std::move(currentMode)) {
  connect(list_, &MissionList::listReplaced, this, &ColumnWidths::Restore);
  connect(list_, &MissionList::columnResized, this, [this] {
    pendingMode_ = currentMode_();
    pending_ = list_->ColumnWidths(list_->logicalDpiX());
  });
  // A drag of a column's edge, or a double click on it, ends with the
  // button let go over the header.
  list_->header()->viewport()->installEventFilter(this);
}

void ColumnWidths::Keep() {
  if (pending_.empty()) return;
  settings_.SetColumnWidths(pendingMode_, pending_);
  pending_.clear();
}

void ColumnWidths::Restore() {
  Keep();  // what the view before was given
  const std::vector<int> kept = settings_.ColumnWidths(currentMode_());
  if (!kept.empty() && kept.size() == list_->List().columns.size()) list_->SetColumnWidths(kept, list_->logicalDpiX());
}

bool ColumnWidths::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) Keep();
  return QObject::eventFilter(watched, event);
}

}  // namespace ui
