#include "mission/mission.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <system_error>

#include "mission/decode.h"

namespace mission {

namespace {

const LineList kEmptyLines;

constexpr bool StartsWith(TextView text, TextView prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

const LineList& MissionSections::Slot(int number) const {
  if (number < 1 || number > kSlotCount) return kEmptyLines;
  return slots_[static_cast<std::size_t>(number - 1)];
}

Text OutlineTree::NodeTag(std::size_t index) const {
  const OutlineNode& node = nodes_[index];
  Text tag = Decimal(node.mode);
  if (node.entry > 0) {
    tag += u',';
    tag += Decimal(node.entry);
  }
  return tag;
}

Mission::Mission() : sections_(std::make_unique<MissionSections>()), tree_(std::make_unique<OutlineTree>()) {}
Mission::Mission(Mission&&) noexcept = default;
Mission& Mission::operator=(Mission&&) noexcept = default;
Mission::~Mission() = default;

int SectionSlotOf(TextView name) {
  static const std::pair<TextView, int> kSlots[] = {
      {u"goals", kSlotGoals},       {u"players", kSlotPlayers},         {u"objects", kSlotObjects},
      {u"events", kSlotEvents},     {u"messages", kSlotMessages},       {u"wings", kSlotWings},
      {u"music", kSlotMusic},       {u"mission info", kSlotMissionInfo}, {u"reinforcements", kSlotReinforcements},
  };
  const Text lower = LowerAscii(name);
  for (const auto& [section, slot] : kSlots) {
    if (lower == section) return slot;
  }
  return 0;
}

int ViewModeOf(TextView name) {
  static const std::pair<TextView, int> kModes[] = {
      {u"mission info", 1}, {u"music", 1}, {u"goals", 2},   {u"events", 4},
      {u"messages", 5},     {u"objects", 6}, {u"wings", 7}, {u"reinforcements", 8},
  };
  const Text lower = LowerAscii(name);
  for (const auto& [section, mode] : kModes) {
    if (lower == section) return mode;
  }
  return 0;
}

// Builds the store and the tree in one pass over the decoded text. Lines are
// rewritten in place (comment cut, tabs removed): a processed line is never
// longer than the raw one, so the write position never overtakes the read
// position.
class MissionBuilder {
 public:
  explicit MissionBuilder(std::vector<char16_t> text) {
    mission_.buffer_ = std::move(text);
    base_ = mission_.buffer_.data();
    for (auto& slot : mission_.sections_->slots_) slot.base_ = base_;
    mission_.tree_->base_ = base_;
    mission_.tree_->child_start_.clear();
  }

  Mission Build() {
    char16_t* const data = mission_.buffer_.data();
    const std::size_t size = mission_.buffer_.size();
    std::size_t read = 0;
    std::size_t write = 0;
    while (read < size) {
      std::size_t end = read;
      while (end < size && data[end] != u'\r' && data[end] != u'\n') ++end;
      const std::size_t next = (end < size && data[end] == u'\r' && end + 1 < size && data[end + 1] == u'\n')
                                   ? end + 2
                                   : end + 1;
      const TextRef line = Clean(data, read, end, write);
      HandleLine(line);
      read = next;
    }
    FinishTree();
    return std::move(mission_);
  }

 private:
  // Copies the line [from, to) to `write`, cut at its first ';' and without
  // tabs, and returns where it now stands.
  static TextRef Clean(char16_t* data, std::size_t from, std::size_t to, std::size_t& write) {
    const std::size_t start = write;
    for (std::size_t i = from; i < to; ++i) {
      const char16_t c = data[i];
      if (c == u';') break;
      if (c == u'\t') continue;
      data[write++] = c;
    }
    return TextRef{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(write - start)};
  }

  TextView View(TextRef r) const { return TextView(base_ + r.offset, r.length); }

  void HandleLine(TextRef line) {
    const TextView text = View(line);
    if (slot_ != 0 && !StartsWith(text, u"#")) {
      mission_.sections_->slots_[static_cast<std::size_t>(slot_ - 1)].refs_.push_back(line);
    }
    if (text.empty()) return;
    const char16_t c = text.front();
    const TextRef rest{line.offset + 1, line.length - 1};
    if (c == u'#') {
      StartSection(rest);
    } else if (c == u'$' || c == u'+') {
      FieldLine(rest);
    }
  }

  void StartSection(TextRef nameRef) {
    const TextView name = View(nameRef);
    mode_ = static_cast<std::int16_t>(ViewModeOf(name));
    if (name.empty()) {
      // A bare "#" gets a root node of its own; its entries have no parent.
      section_node_ = AddNode(nameRef, -1, 0);
    } else {
      const auto found = section_nodes_.find(name);
      if (found != section_nodes_.end()) {
        section_node_ = found->second;
      } else {
        section_node_ = AddNode(nameRef, -1, 0);
        section_nodes_.emplace(name, section_node_);
      }
    }
    nodes()[static_cast<std::size_t>(section_node_)].mode = mode_;
    entries_open_ = !name.empty();
    name_seen_ = false;
    name_node_ = -1;
    slot_ = SectionSlotOf(name);
    name_count_ = 0;
  }

  void FieldLine(TextRef rest) {
    const TextView text = View(rest);
    if (LowerAscii(text.substr(0, 4)) == u"name") {
      name_seen_ = true;
      Increment(name_count_);
      // A name line before any header, or in the block of a bare "#", has
      // no section node to hang under and makes no node.
      name_node_ = entries_open_ ? AddNode(rest, section_node_, name_count_) : -1;
    } else if (name_seen_ && name_node_ >= 0) {
      AddNode(rest, name_node_, name_count_);
    }
  }

  std::int32_t AddNode(TextRef text, std::int32_t parent, std::int32_t entry) {
    OutlineNode node;
    node.text = text;
    node.parent = parent;
    node.entry = entry;
    node.mode = mode_;
    nodes().push_back(node);
    return static_cast<std::int32_t>(nodes().size() - 1);
  }

  std::vector<OutlineNode>& nodes() { return mission_.tree_->nodes_; }

  // Lays the children of every node out one after another (counting sort by
  // parent), keeping the order in which they were added.
  void FinishTree() {
    OutlineTree& tree = *mission_.tree_;
    const std::size_t n = tree.nodes_.size();
    tree.child_start_.assign(n + 1, 0);
    for (const OutlineNode& node : tree.nodes_) {
      if (node.parent >= 0) ++tree.child_start_[static_cast<std::size_t>(node.parent) + 1];
    }
    for (std::size_t i = 0; i < n; ++i) tree.child_start_[i + 1] += tree.child_start_[i];
    tree.children_.resize(tree.child_start_[n]);
    std::vector<std::uint32_t> fill(tree.child_start_.begin(), tree.child_start_.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
      OutlineNode& node = tree.nodes_[i];
      if (node.parent < 0) {
        node.row = static_cast<std::uint32_t>(tree.roots_.size());
        tree.roots_.push_back(static_cast<std::uint32_t>(i));
      } else {
        const auto p = static_cast<std::size_t>(node.parent);
        node.row = fill[p] - tree.child_start_[p];
        tree.children_[fill[p]++] = static_cast<std::uint32_t>(i);
      }
    }
  }

  Mission mission_;
  const char16_t* base_ = nullptr;
  // Per-load state.
  int slot_ = 0;
  std::int16_t mode_ = 0;
  bool entries_open_ = false;  // the block has a section node for its entries
  bool name_seen_ = false;     // a name line was seen in this block
  std::int32_t section_node_ = -1;
  std::int32_t name_node_ = -1;
  std::int32_t name_count_ = 0;
  std::map<TextView, std::int32_t> section_nodes_;
};

Mission ParseMission(std::vector<char16_t> text) { return MissionBuilder(std::move(text)).Build(); }

Mission ParseMissionBytes(std::string_view bytes) {
  std::vector<char16_t> text;
  DecodeAppend(bytes, DetectEncoding(bytes), text);
  return ParseMission(std::move(text));
}

namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

}  // namespace

LoadResult LoadFile(const std::filesystem::path& path, Mission& into) {
  LoadResult result;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    result.error = Reason(EISDIR);
    return result;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary | std::ios::in);
  if (!in) {
    result.error = Reason(errno != 0 ? errno : ENOENT);
    return result;
  }
  std::string bytes;
  try {
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0) {
      result.error = Reason(EIO);
      return result;
    }
    if (static_cast<unsigned long long>(size) >= std::numeric_limits<std::uint32_t>::max()) {
      result.error = Reason(EFBIG);
      return result;
    }
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), size);
    if (in.gcount() != size) {
      result.error = Reason(errno != 0 ? errno : EIO);
      return result;
    }
    std::vector<char16_t> text;
    DecodeAppend(bytes, DetectEncoding(bytes), text);
    std::string().swap(bytes);  // the raw bytes are not needed any more
    into = ParseMission(std::move(text));
  } catch (const std::bad_alloc&) {
    result.error = Reason(ENOMEM);
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace mission
