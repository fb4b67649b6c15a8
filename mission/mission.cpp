#include "mission/mission.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <new>
#include <system_error>

#include "mission/decode.h"
#include "mission/file.h"

namespace mission {

namespace {

const LineList kEmptyLines;

constexpr bool StartsWith(TextView text, TextView prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

const LineList& MissionSections::Slot(int number) const {
  if (number < 1 || number > kSlotCount) return kEmptyLines;
  return slots_[static_cast<std::size_t>(number - 1)];
}

Mission::Mission() : sections_(std::make_unique<MissionSections>()), tree_(std::make_unique<OutlineTree>()) {}
Mission::Mission(Mission&&) noexcept = default;
Mission& Mission::operator=(Mission&&) noexcept = default;
Mission::~Mission() = default;

LineList Mission::FileLines(std::size_t first, std::size_t end) const {
  LineList lines;
  lines.base_ = buffer_.get();
  end = std::min(end, FileLineCount() + 1);
  for (std::size_t n = std::max<std::size_t>(first, 1); n < end; ++n) {
    lines.refs_.push_back({line_starts_[n - 1], line_starts_[n] - line_starts_[n - 1]});
  }
  return lines;
}

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

// Builds the store and the tree in one pass while the file is decoded: each
// character is looked at once, comments and tabs never reach the buffer, and
// every finished line goes straight into the store and the tree.
class MissionBuilder {
 public:
  explicit MissionBuilder(std::size_t size_hint) {
    Reserve(size_hint + 16);
    // Room for the nodes of a typical mission (a field line every 30 bytes or
    // so); memory that stays unused is never touched.
    nodes().reserve(size_hint / 24 + 16);
    line_starts_.reserve(size_hint / 16 + 16);
  }

  // A run of ASCII characters. Plain text is copied in a tight loop; line
  // ends, comments and tabs go through Put.
  void Ascii(const unsigned char* bytes, std::size_t n) {
    if (write_ + n > capacity_) Reserve(std::max(capacity_ * 2, write_ + n));
    char16_t* const out = buffer_.get();
    std::size_t i = 0;
    while (i < n) {
      if (!in_comment_) {
        const std::size_t run = i;
        std::size_t w = write_;
        while (i < n && bytes[i] >= 0x20 && bytes[i] != ';') out[w++] = bytes[i++];
        write_ = w;
        if (i > run) {
          line_open_ = true;
          pending_cr_ = false;
        }
        if (i == n) break;
      }
      Put(bytes[i++]);
    }
  }

  // One decoded character of the file.
  void Put(char16_t c) {
    if (c == u'\n' && pending_cr_) {  // the LF of a CR LF pair
      pending_cr_ = false;
      return;
    }
    pending_cr_ = false;
    if (c == u'\0') has_nul_ = true;
    if (c == u'\r' || c == u'\n') {
      pending_cr_ = c == u'\r';
      EndLine();
      return;
    }
    line_open_ = true;
    if (in_comment_ || c == u'\t') return;
    if (c == u';') {
      in_comment_ = true;
      return;
    }
    if (write_ == capacity_) Reserve(capacity_ * 2);
    buffer_[write_++] = c;
  }

  // Ends the text; a line end at the very end does not begin another line.
  Mission Finish() {
    if (line_open_) EndLine();
    EndBlock();
    line_starts_.push_back(static_cast<std::uint32_t>(write_));
    if (!blocks_.empty()) blocks_.back().end = static_cast<std::uint32_t>(line_starts_.size());
    FinishTree();
    const char16_t* base = buffer_.get();
    for (auto& slot : mission_.sections_->slots_) slot.base_ = base;
    mission_.tree_->base_ = base;
    mission_.line_starts_ = std::move(line_starts_);
    mission_.blocks_ = std::move(blocks_);
    mission_.has_nul_ = has_nul_;
    mission_.buffer_ = std::move(buffer_);
    return std::move(mission_);
  }

 private:
  void Reserve(std::size_t capacity) {
    // Left uninitialised: only the pages that text is written to are used.
    std::unique_ptr<char16_t[]> grown(new char16_t[capacity]);
    if (write_ > 0) std::copy(buffer_.get(), buffer_.get() + write_, grown.get());
    buffer_ = std::move(grown);
    capacity_ = capacity;
  }

  TextView View(TextRef r) const { return TextView(buffer_.get() + r.offset, r.length); }

  void EndLine() {
    const TextRef line{static_cast<std::uint32_t>(line_start_), static_cast<std::uint32_t>(write_ - line_start_)};
    line_starts_.push_back(line.offset);
    line_start_ = write_;
    line_open_ = false;
    in_comment_ = false;
    HandleLine(line);
  }

  void HandleLine(TextRef line) {
    const TextView text = View(line);
    if (slot_ != 0 && !StartsWith(text, u"#")) {
      mission_.sections_->slots_[static_cast<std::size_t>(slot_ - 1)].refs_.push_back(line);
    }
    if (text.empty()) return;
    const char16_t c = text.front();
    const TextRef rest{line.offset + 1, line.length - 1};
    if (c == u'#') {
      // The header is the latest line ended: its number is the count so far.
      const auto number = static_cast<std::uint32_t>(line_starts_.size());
      if (!blocks_.empty()) blocks_.back().end = number;
      blocks_.push_back({rest, number, number + 1});
      StartSection(rest);
    } else if (c == u'$' || c == u'+') {
      FieldLine(line, rest);
    }
  }

  void StartSection(TextRef name_ref) {
    EndBlock();
    const Text name(View(name_ref));
    slot_ = SectionSlotOf(name);
    if (name.empty()) {
      // A bare "#" gets a root node of its own; its entries have no parent.
      section_node_ = AddNode(name_ref, -1, 0);
    } else {
      const auto [found, added] = section_nodes_.try_emplace(name, -1);
      if (added) found->second = AddNode(name_ref, -1, 0);
      section_node_ = found->second;
    }
    entries_open_ = !name.empty();
    name_seen_ = false;
    name_node_ = -1;
    name_count_ = 0;
    opening_ = Opening::kUndecided;
    opening_key_ = {};
  }

  // "name" in any case of A-Z, at the start of a field line.
  static bool IsNameLine(TextView text) {
    if (text.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
      char16_t c = text[i];
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
      if (c != u"name"[i]) return false;
    }
    return true;
  }

  // Entries whose first field is not their name (an event's formula, a
  // goal's type): the fields from the one with the block's opening key up to
  // the name are held and hang under the name's node, so each entry's fields
  // stay with the entry.
  void FieldLine(TextRef line, TextRef rest) {
    const TextView key = View(line).substr(0, 6);
    const bool name = IsNameLine(View(rest));
    if (opening_ == Opening::kUndecided) {
      opening_ = name ? Opening::kName : Opening::kOtherField;
      opening_key_ = TextRef{line.offset, static_cast<std::uint32_t>(key.size())};
    }
    if (name) {
      name_seen_ = true;
      ++name_count_;
      // A name line before any header, or in the block of a bare "#", has
      // no section node to hang under and makes no node.
      name_node_ = entries_open_ ? AddNode(rest, section_node_, name_count_) : -1;
      HangHeldFields();
    } else if (!held_.empty() || (opening_ == Opening::kOtherField && key == View(opening_key_))) {
      held_.push_back(rest);
    } else if (name_seen_ && name_node_ >= 0) {
      AddNode(rest, name_node_, name_count_);
    }
  }

  // The held fields go under the latest name node; without one they make no
  // node.
  void HangHeldFields() {
    if (name_node_ >= 0) {
      for (const TextRef field : held_) AddNode(field, name_node_, name_count_);
    }
    held_.clear();
  }

  void EndBlock() { HangHeldFields(); }

  std::int32_t AddNode(TextRef text, std::int32_t parent, std::int32_t entry) {
    OutlineNode node;
    node.text = text;
    node.parent = parent;
    node.entry = entry;
    node.slot = static_cast<std::int16_t>(slot_);
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
  std::unique_ptr<char16_t[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t write_ = 0;
  // Line splitting.
  std::size_t line_start_ = 0;
  std::vector<std::uint32_t> line_starts_;  // the start of every line ended so far
  std::vector<SectionBlock> blocks_;        // the sections begun so far
  bool line_open_ = false;   // characters were read since the last line end
  bool in_comment_ = false;  // a ';' was met on this line
  bool pending_cr_ = false;  // the last character was a CR
  bool has_nul_ = false;     // a NUL character was read
  // Per-load state of the tree and the store.
  int slot_ = 0;  // of the current section block
  bool entries_open_ = false;  // the block has a section node for its entries
  bool name_seen_ = false;     // a name line was seen in this block
  std::int32_t section_node_ = -1;
  std::int32_t name_node_ = -1;
  std::int32_t name_count_ = 0;
  std::map<Text, std::int32_t> section_nodes_;
  // How the block's entries open: with their name, or with another field
  // whose key (first six characters) is opening_key_.
  enum class Opening { kUndecided, kName, kOtherField };
  Opening opening_ = Opening::kUndecided;
  TextRef opening_key_;
  std::vector<TextRef> held_;  // fields waiting for their entry's name
};

namespace {

// Decoding goes a megabyte at a time, so that the bytes behind it can be
// given back as it goes.
constexpr std::size_t kSlice = 1 << 20;

// Thrown out of the decoding when the progress callback asks to stop.
struct LoadStopped {};

// Decodes one slice into the builder. Returns the number of bytes used; a
// character cut off at the end of the slice is left for the next one.
std::size_t DecodeSlice(std::string_view slice, Encoding encoding, bool last, MissionBuilder& builder) {
  switch (encoding) {
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
      return DecodeUtf16(slice, encoding == Encoding::Utf16BE, last, builder);
    case Encoding::Windows1252:
      for (const char b : slice) builder.Put(Windows1252Char(static_cast<unsigned char>(b)));
      return slice.size();
    case Encoding::Utf8WithMark:
    case Encoding::Utf8:
      // Without a mark the bytes were found to be valid UTF-8 before.
      return DecodeUtf8(slice, last, false, builder);
  }
  return slice.size();
}

// Builds the mission from its bytes; `release(n)` is told each time the
// first n bytes are no longer needed. The encoding is settled before
// decoding starts: a file without a mark is UTF-8 when it is valid UTF-8 as
// a whole, otherwise Windows-1252.
template <class Release>
Mission Parse(std::string_view bytes, Release release, const LoadProgress& progress = {}) {
  if (bytes.size() > kMaxMissionBytes) throw std::system_error(EFBIG, std::generic_category());
  const MarkedEncoding marked = EncodingByMark(bytes);
  bytes.remove_prefix(marked.mark);
  Encoding encoding = marked.encoding;
  if (encoding == Encoding::Utf8 && !IsValidUtf8(bytes)) encoding = Encoding::Windows1252;

  MissionBuilder builder(bytes.size());
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::string_view slice = bytes.substr(done, kSlice);
    done += DecodeSlice(slice, encoding, done + slice.size() == bytes.size(), builder);
    release(marked.mark + done);
    if (progress && !progress(marked.mark + done, marked.mark + bytes.size())) throw LoadStopped();
  }
  return builder.Finish();
}

LoadResult Load(const std::string& error, MissionBytes& bytes, Mission& into, const LoadProgress& progress = {}) {
  LoadResult result;
  if (!error.empty()) {
    result.error = error;
    return result;
  }
  try {
    into = Parse(bytes.View(), [&bytes](std::size_t used) { bytes.Release(used); }, progress);
  } catch (const LoadStopped&) {
    result.stopped = true;
    return result;
  } catch (const std::system_error& e) {
    result.error = e.code().message();
    return result;
  } catch (const std::bad_alloc&) {
    result.error = std::generic_category().message(ENOMEM);
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace

Mission ParseMissionBytes(std::string_view bytes) {
  return Parse(bytes, [](std::size_t) {});
}

bool LooksLikeMission(const Mission& mission) {
  if (mission.HasNul()) return false;
  const OutlineTree& tree = mission.Tree();
  for (const std::uint32_t root : tree.Roots()) {
    if (SectionSlotOf(tree.NodeText(root)) != 0) return true;
  }
  return false;
}

LoadResult LoadFile(const std::filesystem::path& path, Mission& into, const LoadProgress& progress) {
  MissionBytes bytes;
  const std::string error = ReadMissionFile(path, bytes);
  return Load(error, bytes, into, progress);
}

LoadResult LoadStandardInput(Mission& into) {
  MissionBytes bytes;
  const std::string error = ReadStandardInput(bytes);
  return Load(error, bytes, into);
}

}  // namespace mission
