// OutlineTreeModel: the item model of the mission outline tree
// (mission::OutlineTree). Nodes are read on demand, so a mission of 100 MB
// costs no item objects at all.
#pragma once

#include <QAbstractItemModel>
#include <cstdint>
#include <span>

#include "mission/mission.h"

namespace ui {

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
