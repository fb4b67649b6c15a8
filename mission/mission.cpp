#include "mission/mission.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <algorithm>
#include <map>
#include <optional>
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
    line_starts_.push_back(static_cast<std::uint32_t>(write_));
    FinishTree();
    const char16_t* base = buffer_.get();
    for (auto& slot : mission_.sections_->slots_) slot.base_ = base;
    mission_.tree_->base_ = base;
    mission_.line_starts_ = std::move(line_starts_);
    mission_.buffer_ = std::move(buffer_);
    return std::move(mission_);
  }

  // Characters written so far; offsets must stay below 2^32.
  std::size_t Written() const { return write_; }

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
      StartSection(rest);
    } else if (c == u'$' || c == u'+') {
      FieldLine(rest);
    }
  }

  void StartSection(TextRef name_ref) {
    const Text name(View(name_ref));
    mode_ = static_cast<std::int16_t>(ViewModeOf(name));
    if (name.empty()) {
      // A bare "#" gets a root node of its own; its entries have no parent.
      section_node_ = AddNode(name_ref, -1, 0);
    } else {
      const auto [found, added] = section_nodes_.try_emplace(name, -1);
      if (added) found->second = AddNode(name_ref, -1, 0);
      section_node_ = found->second;
    }
    nodes()[static_cast<std::size_t>(section_node_)].mode = mode_;
    entries_open_ = !name.empty();
    name_seen_ = false;
    name_node_ = -1;
    slot_ = SectionSlotOf(name);
    name_count_ = 0;
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

  void FieldLine(TextRef rest) {
    if (IsNameLine(View(rest))) {
      name_seen_ = true;
      ++name_count_;
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
  std::unique_ptr<char16_t[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t write_ = 0;
  // Line splitting.
  std::size_t line_start_ = 0;
  std::vector<std::uint32_t> line_starts_;  // the start of every line ended so far
  bool line_open_ = false;   // characters were read since the last line end
  bool in_comment_ = false;  // a ';' was met on this line
  bool pending_cr_ = false;  // the last character was a CR
  // Per-load state of the tree and the store.
  int slot_ = 0;
  std::int16_t mode_ = 0;
  bool entries_open_ = false;  // the block has a section node for its entries
  bool name_seen_ = false;     // a name line was seen in this block
  std::int32_t section_node_ = -1;
  std::int32_t name_node_ = -1;
  std::int32_t name_count_ = 0;
  std::map<Text, std::int32_t> section_nodes_;
};

namespace {

constexpr std::size_t kChunk = 1 << 20;

// Feeds one piece of the file to the builder. Returns the number of bytes
// used (a UTF-8 sequence cut off at the end is left for the next piece), or
// kUtf8Invalid when strict UTF-8 meets an invalid sequence.
std::size_t Feed(std::string_view piece, Encoding encoding, bool last, MissionBuilder& builder) {
  if (encoding == Encoding::Windows1252) {
    for (const char b : piece) builder.Put(Windows1252Char(static_cast<unsigned char>(b)));
    return piece.size();
  }
  return DecodeUtf8(piece, last, encoding == Encoding::Utf8, builder);
}

}  // namespace

Mission ParseMissionBytes(std::string_view bytes) {
  Encoding encoding = Encoding::Utf8;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    encoding = Encoding::Utf8WithMark;
    bytes.remove_prefix(3);
  }
  {
    MissionBuilder builder(bytes.size());
    if (Feed(bytes, encoding, true, builder) != kUtf8Invalid) return builder.Finish();
  }
  MissionBuilder builder(bytes.size());
  Feed(bytes, Encoding::Windows1252, true, builder);
  return builder.Finish();
}

namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

enum class ReadOutcome { kRead, kNotUtf8, kStopped };

// Reads the whole file through the builder, a piece at a time. The file is
// first taken as UTF-8; when it turns out not to be valid UTF-8 (and has no
// byte-order mark) it is read again as Windows-1252.
ReadOutcome ReadInto(std::ifstream& in, std::uint64_t size, Encoding encoding, const LoadProgress& progress,
                     std::optional<Mission>& result) {
  MissionBuilder builder(static_cast<std::size_t>(size));
  std::string piece(kChunk, '\0');
  std::size_t carry = 0;  // bytes of a cut-off UTF-8 sequence kept from the last piece
  std::uint64_t done = 0;
  bool first = true;
  for (;;) {
    in.read(piece.data() + carry, static_cast<std::streamsize>(kChunk - carry));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (in.bad()) throw std::system_error(errno ? errno : EIO, std::generic_category());
    const bool last = got < kChunk - carry;
    std::string_view data(piece.data(), carry + got);
    if (first && encoding != Encoding::Windows1252 && data.substr(0, 3) == "\xEF\xBB\xBF") {
      encoding = Encoding::Utf8WithMark;
      data.remove_prefix(3);
    }
    first = false;
    const std::size_t used = Feed(data, encoding, last, builder);
    if (used == kUtf8Invalid) return ReadOutcome::kNotUtf8;
    if (builder.Written() >= std::numeric_limits<std::uint32_t>::max() - kChunk) {
      throw std::system_error(EFBIG, std::generic_category());
    }
    done += got;
    if (progress && !progress(done, size)) return ReadOutcome::kStopped;
    carry = data.size() - used;
    std::copy(data.end() - static_cast<std::ptrdiff_t>(carry), data.end(), piece.begin());
    if (last) break;
  }
  result = builder.Finish();
  return ReadOutcome::kRead;
}

}  // namespace

LoadResult LoadFile(const std::filesystem::path& path, Mission& into, const LoadProgress& progress) {
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
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  try {
    std::optional<Mission> loaded;
    const std::uint64_t total = ec ? 0 : size;
    ReadOutcome outcome = ReadInto(in, total, Encoding::Utf8, progress, loaded);
    if (outcome == ReadOutcome::kNotUtf8) {
      in.clear();
      in.seekg(0);
      outcome = ReadInto(in, total, Encoding::Windows1252, progress, loaded);
    }
    if (outcome == ReadOutcome::kStopped) {
      result.stopped = true;
      return result;
    }
    into = std::move(*loaded);
  } catch (const std::system_error& e) {
    result.error = Reason(e.code().value());
    return result;
  } catch (const std::bad_alloc&) {
    result.error = Reason(ENOMEM);
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace mission
