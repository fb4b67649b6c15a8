#include "ui/list/missionlist.h"

#include <QSignalBlocker>

#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>

#include "ui/common/qtext.h"
#include "ui/common/units.h"
#include "ui/list/celldelegate.h"
#include "ui/list/listmodel.h"
#include "ui/list/shownrows.h"

namespace ui {

MissionList::MissionList(QWidget* parent)
    : QTreeView(parent),
      rows_(new ListModel(this)),
      shown_(new ShownRowsModel(rows_, this)),
      hint_(new QLabel(viewport())),
      absent_(new QLabel(viewport())) {
  setObjectName(QStringLiteral("ListView1"));
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);  // rows to copy
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setModel(shown_);
  header()->setSectionsClickable(true);
  header()->setStretchLastSection(false);
  setItemDelegate(new ListCellDelegate(this));
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
    if (!selecting_ && current.isValid()) emit rowChosen(current);
  });
  connect(header(), &QHeaderView::sectionResized, this, [this](int column) {
    if (!sizing_ && !header()->isSectionHidden(column)) emit columnResized();
  });
  hint_->setObjectName(QStringLiteral("NoMissionHint"));
  hint_->setText(QStringLiteral(
      "No mission is open.\n\nOpen one with File > Open FreeSpace 1 mission (Ctrl+F1) or File > Open FreeSpace 2 "
      "mission (Ctrl+F2), or drop a mission file (*.fs2, *.fsm) on this window."));
  hint_->setAlignment(Qt::AlignCenter);
  hint_->setWordWrap(true);
  hint_->setForegroundRole(QPalette::PlaceholderText);
  hint_->setMargin(12);
  hint_->setAttribute(Qt::WA_TransparentForMouseEvents);  // clicks and drops reach the list
  absent_->setObjectName(QStringLiteral("NoSectionHint"));
  absent_->setAlignment(Qt::AlignCenter);
  absent_->setWordWrap(true);
  absent_->setForegroundRole(QPalette::PlaceholderText);
  absent_->setMargin(12);
  absent_->setAttribute(Qt::WA_TransparentForMouseEvents);
  absent_->hide();
}

void MissionList::resizeEvent(QResizeEvent* event) {
  QTreeView::resizeEvent(event);
  hint_->setGeometry(viewport()->rect());
  absent_->setGeometry(viewport()->rect());
}

const views::ListData& MissionList::List() const { return rows_->List(); }

void MissionList::SetMission(const mission::Mission* mission) {
  shown_->SetMission(mission);
  mission_ = mission != nullptr;
  hint_->setVisible(!mission_);
  absent_->setVisible(mission_ && !List().absent.empty());
}

void MissionList::SetList(std::shared_ptr<const views::ListData> list, int dpi) {
  {
    // When the number of columns changes, the header would have the view lay
    // out every row of the new list at once, and the view's own reset lays
    // them out again; quiet, the header leaves that to the view.
    const QSignalBlocker quiet(header());
    rows_->SetList(std::move(list));
  }
  const auto& columns = rows_->List().columns;
  std::vector<int> widths;
  for (const views::Column& column : columns) widths.push_back(column.width);
  SetColumnWidths(widths, dpi);
  absent_->setText(ToQString(rows_->List().absent));
  absent_->setVisible(mission_ && !rows_->List().absent.empty());
  emit listReplaced();
}

std::vector<int> MissionList::ColumnWidths(int dpi) const {
  std::vector<int> twips;
  for (int c = 0; c < header()->count(); ++c) twips.push_back(qRound(header()->sectionSize(c) * TwipsPerPixel(dpi)));
  return twips;
}

void MissionList::SetColumnWidths(const std::vector<int>& twips, int dpi) {
  sizing_ = true;
  for (std::size_t c = 0; c < twips.size(); ++c)
    header()->resizeSection(static_cast<int>(c), TwipsToPixels(twips[c], dpi));
  sizing_ = false;
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
  shown_->SortByColumn(column);
}

void MissionList::SetReportView(bool report) {
  sizing_ = true;
  setHeaderHidden(!report);
  for (int c = 1; c < rows_->columnCount(); ++c) setColumnHidden(c, !report);
  sizing_ = false;
}

}  // namespace ui
