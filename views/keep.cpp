#include "views/keep.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <utility>

namespace views {

namespace {

// The roots for parent -1, else the children of `parent`.
std::span<const std::uint32_t> Siblings(const mission::OutlineTree& tree, std::int32_t parent) {
  return parent < 0 ? tree.Roots() : tree.Children(static_cast<std::size_t>(parent));
}

// Counts the texts of a row of siblings as it is walked: Next(text) is how
// many siblings before this one read the same.
class RepeatCounter {
 public:
  std::uint32_t Next(TextView text) { return counts_[text]++; }

 private:
  std::unordered_map<TextView, std::uint32_t> counts_;
};

struct StepKey {
  TextView text;
  std::uint32_t repeat;
  bool operator==(const StepKey&) const = default;
};

struct StepKeyHash {
  std::size_t operator()(const StepKey& k) const {
    return std::hash<TextView>()(k.text) * 31 + k.repeat;
  }
};

// The paths as a tree of steps, so that each row of siblings is walked once
// for all the paths that pass through it.
struct StepTrie {
  struct Entry {
    std::unordered_map<StepKey, std::size_t, StepKeyHash> next;  // step -> entry
    std::vector<std::size_t> ends;                               // the paths that end here
  };
  std::vector<Entry> entries{1};  // entry 0 stands above the roots

  explicit StepTrie(std::span<const NodePath> paths) {
    for (std::size_t p = 0; p < paths.size(); ++p) {
      if (paths[p].empty()) continue;
      std::size_t at = 0;
      for (const NodeStep& step : paths[p]) {
        const auto [it, added] = entries[at].next.try_emplace(StepKey{step.text, step.repeat}, entries.size());
        if (added) entries.emplace_back();
        at = it->second;
      }
      entries[at].ends.push_back(p);
    }
  }
};

}  // namespace

std::optional<std::size_t> RowWithFirstCell(const ListData& list, TextView text, std::size_t near) {
  std::optional<std::size_t> best;
  std::size_t bestDistance = 0;
  for (std::size_t i = 0; i < list.rows.size(); ++i) {
    const std::vector<Text>& cells = list.rows[i].cells;
    if ((cells.empty() ? TextView() : TextView(cells.front())) != text) continue;
    const std::size_t distance = i < near ? near - i : i - near;
    if (!best || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

std::optional<std::size_t> RowToKeep(const ListData& list, TextView firstCell, std::size_t row) {
  if (list.rows.empty()) return std::nullopt;
  if (const auto same = RowWithFirstCell(list, firstCell, row)) return same;
  return std::min(row, list.rows.size() - 1);
}

std::vector<NodePath> PathsOfNodes(const mission::OutlineTree& tree, std::span<const std::uint32_t> nodes) {
  // The repeat count of every node on the way to an asked node, found by
  // walking each row of siblings that holds one of them once, up to the
  // last of them in that row.
  std::unordered_map<std::uint32_t, std::uint32_t> repeatOf;
  std::unordered_map<std::int32_t, std::uint32_t> rowsToWalk;  // parent -> sibling rows up to the last needed
  for (const std::uint32_t asked : nodes) {
    for (std::int32_t n = static_cast<std::int32_t>(asked); n >= 0; n = tree.Node(static_cast<std::size_t>(n)).parent) {
      if (!repeatOf.try_emplace(static_cast<std::uint32_t>(n), 0).second) break;  // its ancestors are in already
      const mission::OutlineNode& node = tree.Node(static_cast<std::size_t>(n));
      std::uint32_t& rows = rowsToWalk[node.parent];
      rows = std::max(rows, node.row + 1);
    }
  }
  for (const auto& [parent, rows] : rowsToWalk) {
    const std::span<const std::uint32_t> siblings = Siblings(tree, parent);
    RepeatCounter counter;
    for (std::uint32_t r = 0; r < rows; ++r) {
      const std::uint32_t repeat = counter.Next(tree.NodeText(siblings[r]));
      if (const auto it = repeatOf.find(siblings[r]); it != repeatOf.end()) it->second = repeat;
    }
  }

  std::vector<NodePath> paths;
  paths.reserve(nodes.size());
  for (const std::uint32_t asked : nodes) {
    NodePath path;
    for (std::int32_t n = static_cast<std::int32_t>(asked); n >= 0; n = tree.Node(static_cast<std::size_t>(n)).parent) {
      path.push_back(NodeStep{Text(tree.NodeText(static_cast<std::size_t>(n))), repeatOf[static_cast<std::uint32_t>(n)]});
    }
    std::reverse(path.begin(), path.end());
    paths.push_back(std::move(path));
  }
  return paths;
}

std::vector<std::uint32_t> NodesOfPaths(const mission::OutlineTree& tree, std::span<const NodePath> paths) {
  const StepTrie trie(paths);
  std::vector<std::optional<std::uint32_t>> found(paths.size());
  // (trie entry, the tree node it stands for; -1 above the roots)
  std::vector<std::pair<std::size_t, std::int32_t>> work{{0, -1}};
  while (!work.empty()) {
    const auto [entry, parent] = work.back();
    work.pop_back();
    const auto& next = trie.entries[entry].next;
    if (next.empty()) continue;
    RepeatCounter counter;
    for (const std::uint32_t sibling : Siblings(tree, parent)) {
      const TextView text = tree.NodeText(sibling);
      const auto it = next.find(StepKey{text, counter.Next(text)});
      if (it == next.end()) continue;
      for (const std::size_t p : trie.entries[it->second].ends) found[p] = sibling;
      work.emplace_back(it->second, static_cast<std::int32_t>(sibling));
    }
  }
  std::vector<std::uint32_t> nodes;
  for (const auto& node : found) {
    if (node) nodes.push_back(*node);
  }
  return nodes;
}

}  // namespace views
