// ListCellDelegate: the mission list's cells, drawn as Qt draws them, with a
// tooltip where a cell is shown cut: for want of room in its column (Qt
// ends it with "…") or at the model's length limit. The tooltip shows the
// cell's whole text (the model's tooltip role); a cell shown whole has none.
#pragma once

#include <QStyledItemDelegate>

namespace ui {

class ListCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

  // Whether the cell at `index` is shown cut in `option`'s room.
  bool IsCut(const QStyleOptionViewItem& option, const QModelIndex& index) const;
};

}  // namespace ui
