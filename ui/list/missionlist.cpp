#include "ui/list/missionlist.h"

#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QStyleOption>
#include <algorithm>
#include <cmath>

#include "ui/common/qtext.h"
#include "ui/common/units.h"
#include "ui/list/celldelegate.h"
#include "ui/list/listmodel.h"
#include "ui/list/shownrows.h"
#include "ui/rules/rules.h"

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
  // The row made current stays in view when a sort or a find text moves it.
  connect(shown_, &QAbstractItemModel::layoutChanged, this, [this] {
    if (currentIndex().isValid()) scrollTo(currentIndex());
  });
  hint_->setObjectName(QStringLiteral("ListHint"));
  hint_->setText(ToQString(ListHint(false, false, {})));
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
  ShowAbsent();
}

void MissionList::SetHint(const QString& hint) {
  hint_->setText(hint);
  hint_->setVisible(!hint.isEmpty());
  ShowAbsent();
}

void MissionList::ShowAbsent() {
  // The hint, when there is one, says more than the section missing.
  absent_->setVisible(mission_ && hint_->isHidden() && !List().absent.empty());
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
  // A column of numbers is read whole to fit it: once per list.
  std::vector<int>& widths = fitted_[rows_->SharedList()];
  if (widths.size() != columns.size()) {
    widths.clear();
    const double t = TwipsPerPixel(dpi);
    for (std::size_t c = 0; c < columns.size(); ++c)
      widths.push_back(std::max(columns[c].width, static_cast<int>(std::ceil(NeededWidth(c) * t))));
  }
  SetColumnWidths(widths, dpi);
  ShowSortArrow();
  absent_->setText(ToQString(rows_->List().absent));
  ShowAbsent();
  emit listReplaced();
}

int MissionList::NeededWidth(std::size_t column) const {
  const QHeaderView* head = header();
  // The caption as the header measures a section for its size hint: in
  // bold (as a highlighted section shows it), with room for the sort arrow.
  QStyleOptionHeader caption;
  caption.initFrom(head);
  QFont bold = head->font();
  bold.setBold(true);
  caption.fontMetrics = QFontMetrics(bold);
  caption.text = ToQString(List().columns[column].caption);
  caption.sortIndicator = QStyleOptionHeader::SortDown;
  int needed = style()->sizeFromContents(QStyle::CT_HeaderSection, &caption, QSize(), head).width();
  if (const auto number = NumberToFit(List(), column)) {
    // The text and the margins the cell delegate leaves on both sides.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    needed = std::max(needed, fontMetrics().horizontalAdvance(ToQString(*number)) + 4 * margin);
  }
  return needed;
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

void MissionList::SetSort(views::ColumnSort sort) {
  shown_->SetSort(sort);
  ShowSortArrow();
}

void MissionList::ShowSortArrow() {
  const views::ColumnSort sort = shown_->Sort();
  const bool arrow = sort.Sorted() && sort.column < header()->count();
  header()->setSortIndicatorShown(arrow);
  if (arrow)
    header()->setSortIndicator(sort.column,
                               sort.order == views::SortOrder::kDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void MissionList::SetReportView(bool report) {
  sizing_ = true;
  setHeaderHidden(!report);
  for (int c = 1; c < rows_->columnCount(); ++c) setColumnHidden(c, !report);
  sizing_ = false;
}

}  // namespace ui
