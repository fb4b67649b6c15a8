// What the window keeps of the reader's place when the mission shown is
// read again: the selected row and the outline tree's expanded nodes. Both
// are found again by their texts, since the file may have changed anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "views/list.h"

namespace views {

// The row (0-based, in the list's own order) whose first cell reads `text`;
// among several, the one nearest to `near`, the earlier one on a tie.
// Nothing when no row has that first cell.
std::optional<std::size_t> RowWithFirstCell(const ListData& list, TextView text, std::size_t near);

// The row (0-based, in the list's own order) to select again in `list`
// where row `row` was selected before, with `firstCell` its first cell: the
// row with that first cell nearest to it, else the same position (the last
// row when the list has grown shorter). Nothing for an empty list.
std::optional<std::size_t> RowToKeep(const ListData& list, TextView firstCell, std::size_t row);

// A node of the outline tree told by its texts: from its root down, each
// step the text of a node and how many siblings before it have the same
// text (so that of two «Name: Alpha 1» entries the second stays the second).
struct NodeStep {
  Text text;
  std::uint32_t repeat = 0;
  bool operator==(const NodeStep&) const = default;
};
using NodePath = std::vector<NodeStep>;

// The paths of `nodes` (node numbers of `tree`). Linear in the size of the
// tree, however many nodes are asked for.
std::vector<NodePath> PathsOfNodes(const mission::OutlineTree& tree, std::span<const std::uint32_t> nodes);

// The nodes of `tree` that the paths lead to, in the order of the paths;
// a path whose texts no longer exist leads nowhere and is left out. Linear
// in the size of the tree and of the paths.
std::vector<std::uint32_t> NodesOfPaths(const mission::OutlineTree& tree, std::span<const NodePath> paths);

}  // namespace views
