#include "ui/missionlist.h"

#include <QHeaderView>

#include "ui/celldelegate.h"
#include "ui/findfilter.h"
#include "ui/models.h"
#include "ui/units.h"

namespace ui {

MissionList::MissionList(QWidget* parent)
    : QTreeView(parent),
      rows_(new ListModel(this)),
      sort_(new ListSortModel(this)),
      filter_(new FindFilterModel(rows_, this)) {
  sort_->setSourceModel(rows_);
  filter_->setSourceModel(sort_);
  setObjectName(QStringLiteral("ListView1"));
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);  // rows to copy
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setModel(filter_);
  header()->setSectionsClickable(true);
  header()->setStretchLastSection(false);
  setItemDelegate(new ListCellDelegate(this));
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
    if (!selecting_ && current.isValid()) emit rowChosen(current);
  });
}

const views::ListData& MissionList::List() const { return rows_->List(); }

void MissionList::SetMission(const mission::Mission* mission) { filter_->SetMission(mission); }

void MissionList::SetList(views::ListData list, int dpi) {
  rows_->SetList(std::move(list));
  const auto& columns = rows_->List().columns;
  for (std::size_t c = 0; c < columns.size(); ++c)
    header()->resizeSection(static_cast<int>(c), TwipsToPixels(columns[c].width, dpi));
}

void MissionList::SelectRow(const QModelIndex& shown) {
  if (!shown.isValid()) return;
  selecting_ = true;
  selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  selecting_ = false;
  scrollTo(shown);
}

void MissionList::SortByColumn(int column) {
  header()->setSortIndicatorShown(true);
  header()->setSortIndicator(column, Qt::AscendingOrder);
  sort_->sort(column, Qt::AscendingOrder);
}

void MissionList::SetReportView(bool report) {
  setHeaderHidden(!report);
  for (int c = 1; c < rows_->columnCount(); ++c) setColumnHidden(c, !report);
}

}  // namespace ui
