// ListModel: the item model of the mission list over the rows a view's
// filler made (views::ListData). Cells are read on demand, so a mission of
// 100 MB costs no item objects at all. Also the mapping between list rows and
// the rows a chain of proxy models over the list shows.
#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "views/list.h"

namespace ui {

class ListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Replaces columns and rows at once. A list is shared, not copied: the
  // lists of a mission's views are kept while it is shown.
  void SetList(std::shared_ptr<const views::ListData> list);
  void SetList(views::ListData list);
  const views::ListData& List() const { return *list_; }
  const std::shared_ptr<const views::ListData>& SharedList() const { return list_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  // Rows never have children: the list view then skips asking each of a
  // large list's rows for them whenever it lays the list out.
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  std::shared_ptr<const views::ListData> list_ = std::make_shared<const views::ListData>();
};

// Values worked out once per list and kept while the list lives (the lists
// of a mission's views live as long as it is shown), so that a view shown
// again does not work them out again.
template <class T>
class PerList {
 public:
  // The value kept for `list`; a new one (T{}) the first time.
  T& operator[](const std::shared_ptr<const views::ListData>& list) {
    // Gone lists first, so that a new list at a gone one's address is new.
    std::erase_if(kept_, [](const Kept& k) { return k.list.expired(); });
    for (Kept& k : kept_) {
      if (k.list.lock() == list) return k.value;
    }
    return kept_.emplace_back(Kept{list, T{}}).value;
  }

 private:
  struct Kept {
    std::weak_ptr<const views::ListData> list;
    T value;
  };
  std::vector<Kept> kept_;
};

// The list model at the bottom of a chain of proxy models (sorting, a
// filter) over it, whatever their order; null when there is none.
const ListModel* BaseListModel(const QAbstractItemModel* model);
// The row of the list, 0-based in the order the filler made it (the row's
// own number less 1), that an index of any model of such a chain stands
// for; -1 for an invalid index.
int ListRowOf(const QModelIndex& index);
// The index in `shown` (the model a view shows) of list row `listRow`;
// invalid when that row is not shown (filtered out, or beyond the list).
QModelIndex ShownIndexOfListRow(const QAbstractItemModel* shown, int listRow);

}  // namespace ui
