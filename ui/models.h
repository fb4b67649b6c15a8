// Item models over the core data: the mission list (views::ListData) and the
// mission outline tree (mission::OutlineTree). Cells and nodes are read on
// demand, so a mission of 100 MB costs no item objects at all.
#pragma once

#include <QAbstractItemModel>
#include <QAbstractTableModel>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "mission/mission.h"
#include "views/list.h"

namespace ui {

// The row's hidden tag (a formula reference or empty), under this role.
constexpr int kTagRole = Qt::UserRole;

// Cells and tree nodes show at most this many characters, then "...": a
// field megabytes long would otherwise be laid out on every repaint and
// freeze the window. Sorting, copying and the code windows use the whole
// text; a cell's tooltip role holds its whole text (up to CellToolTip's
// limit).
constexpr qsizetype kShownTextMax = 1024;
QString ShownText(mission::TextView text);

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

class OutlineTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  using QAbstractItemModel::QAbstractItemModel;

  // The tree to show. A mission about to be replaced is taken away first
  // (null), so that no view reads it half-way.
  void SetMission(const mission::Mission* mission);

  QModelIndex IndexOfNode(std::uint32_t node) const;
  static std::uint32_t NodeOf(const QModelIndex& index) { return static_cast<std::uint32_t>(index.internalId()); }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  const mission::OutlineTree* Tree() const { return mission_ ? &mission_->Tree() : nullptr; }
  std::span<const std::uint32_t> ChildrenOf(const QModelIndex& parent) const;

  const mission::Mission* mission_ = nullptr;
};

}  // namespace ui
