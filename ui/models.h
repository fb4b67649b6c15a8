// Item models over the core data: the mission list (views::ListData) and the
// mission outline tree (mission::OutlineTree). Cells and nodes are read on
// demand, so a mission of 100 MB costs no item objects at all.
#pragma once

#include <QAbstractItemModel>
#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include "mission/mission.h"
#include "views/list.h"

namespace ui {

// The row's hidden tag (a formula reference or empty), under this role.
constexpr int kTagRole = Qt::UserRole;

// Cells and tree nodes show at most this many characters, then "...": a
// field megabytes long would otherwise be laid out on every repaint and
// freeze the window. Sorting and the code windows use the whole text.
constexpr qsizetype kShownTextMax = 1024;
QString ShownText(mission::TextView text);

class ListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Replaces columns and rows at once.
  void SetList(views::ListData list);
  const views::ListData& List() const { return list_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  views::ListData list_;
};

// Sorting by a column's text, ascending and without regard to case, as a
// list control sorts; it compares the core texts without building strings.
class ListSortModel : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

 protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

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
