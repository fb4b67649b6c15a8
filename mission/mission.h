// The loaded mission: its section store and its outline tree.
//
// A mission file is cut into lines; the lines of the nine known sections are
// kept, in file order, in the slots of the section store, and one pass builds
// the outline tree (a node per section, per named entry and per further field
// of an entry). All texts are views into one buffer owned by the Mission, so a
// 100 MB file costs little more than its decoded text.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/text.h"

namespace mission {

// A view of some characters of the mission's text buffer.
struct TextRef {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
};

// One slot of the section store: an ordered list of stored lines.
class LineList {
 public:
  std::size_t Count() const { return refs_.size(); }
  bool Empty() const { return refs_.empty(); }
  // 0-based access.
  TextView operator[](std::size_t index) const {
    const TextRef r = refs_[index];
    return TextView(base_ + r.offset, r.length);
  }
  // 1-based access, as the views and the formula reader count lines.
  TextView Line(std::size_t position) const { return (*this)[position - 1]; }

 private:
  friend class MissionBuilder;
  friend class Mission;
  const char16_t* base_ = nullptr;
  std::vector<TextRef> refs_;
};

// Slots of the section store.
enum Slot : int {
  kSlotGoals = 1,
  kSlotPlayers = 2,
  kSlotObjects = 3,
  kSlotEvents = 4,
  kSlotMessages = 5,
  kSlotWings = 6,
  kSlotMusic = 7,
  kSlotMissionInfo = 8,
  kSlotReinforcements = 9,
};
constexpr int kSlotCount = 20;

// The section store: 20 slots, numbered 1 to 20; slots 10 to 20 stay empty.
class MissionSections {
 public:
  // Any number outside 1..20 gives an empty list.
  const LineList& Slot(int number) const;

 private:
  friend class MissionBuilder;
  std::array<LineList, kSlotCount> slots_;
};

// A node of the outline tree: a section, a named entry of a section (the
// n-th name line of its block) or a further field of that entry. The window
// tags it with the view mode that lists its section (views::NodeTag).
struct OutlineNode {
  TextRef text;
  std::int32_t parent = -1;  // -1 for a root node
  std::int32_t entry = 0;    // n of its entry; 0 for a section node
  std::uint32_t row = 0;     // position among its parent's children (or the roots)
  std::int16_t slot = 0;     // store slot of its section (SectionSlotOf); 0: not stored
};

class OutlineTree {
 public:
  std::size_t Size() const { return nodes_.size(); }
  bool Empty() const { return nodes_.empty(); }
  const OutlineNode& Node(std::size_t index) const { return nodes_[index]; }
  TextView NodeText(std::size_t index) const {
    const TextRef r = nodes_[index].text;
    return TextView(base_ + r.offset, r.length);
  }
  // Nodes are numbered in the order they were added, which is the tree's own
  // order for searching.
  std::span<const std::uint32_t> Roots() const { return roots_; }
  std::span<const std::uint32_t> Children(std::size_t index) const {
    return std::span<const std::uint32_t>(children_).subspan(child_start_[index],
                                                             child_start_[index + 1] - child_start_[index]);
  }

 private:
  friend class MissionBuilder;
  const char16_t* base_ = nullptr;
  std::vector<OutlineNode> nodes_;
  std::vector<std::uint32_t> roots_;
  // Children of node i are children_[child_start_[i] .. child_start_[i + 1]).
  std::vector<std::uint32_t> child_start_ = {0};
  std::vector<std::uint32_t> children_;
};

// A section of the file as its header line opened it, also a section the
// store does not keep («#Briefing», «#Sexp_variables»): the header's line
// and where the section ends, both numbered like the file's lines.
struct SectionBlock {
  TextRef name;             // the header without its "#"
  std::uint32_t header = 0;  // the header's line
  std::uint32_t end = 0;     // the next header's line, or one past the file's last line
};

// A loaded mission. Move-only: the store and the tree point into its buffer.
class Mission {
 public:
  Mission();
  Mission(Mission&&) noexcept;
  Mission& operator=(Mission&&) noexcept;
  ~Mission();

  const MissionSections& Sections() const { return *sections_; }
  const OutlineTree& Tree() const { return *tree_; }

  // Every line of the file as the loader read it (comment cut, tabs
  // removed), also the headers and the lines of sections the store does not
  // keep, numbered from 1 like the file's own lines.
  std::size_t FileLineCount() const { return line_starts_.empty() ? 0 : line_starts_.size() - 1; }
  TextView FileLine(std::size_t number) const {
    const std::uint32_t start = line_starts_[number - 1];
    return TextView(buffer_.get() + start, line_starts_[number] - start);
  }

  // The file's lines [first, end) as a list (line `first` is its line 1),
  // to read a formula that stands in a section the store does not keep.
  // Lines beyond the file are left out.
  LineList FileLines(std::size_t first, std::size_t end) const;

  // Every section of the file, in file order, each header opening one.
  std::span<const SectionBlock> Blocks() const { return blocks_; }
  TextView BlockName(const SectionBlock& block) const {
    return TextView(buffer_.get() + block.name.offset, block.name.length);
  }

  // Whether the decoded text held a NUL character anywhere, comments
  // included: text files never do, binary files nearly always.
  bool HasNul() const { return has_nul_; }

 private:
  friend class MissionBuilder;
  std::unique_ptr<char16_t[]> buffer_;
  std::unique_ptr<MissionSections> sections_;
  std::unique_ptr<OutlineTree> tree_;
  // Where each line begins in the buffer, and one past the last line's end:
  // the lines lie one after the other, so line n ends where line n + 1 begins.
  std::vector<std::uint32_t> line_starts_;
  std::vector<SectionBlock> blocks_;
  bool has_nul_ = false;
};

// Slot of a section name (compared after LowerAscii, exactly); 0 for a
// section that is not stored.
int SectionSlotOf(TextView name);

// Whether the text read looks like a FreeSpace mission: no NUL character,
// and at least one header of a section the store keeps («#Mission Info»,
// «#Events», ...). An empty file, a program or a picture does not; a file
// that does not may still be opened, only not without a word.
bool LooksLikeMission(const Mission& mission);

// Builds a mission from the bytes of a mission file, decoded as the file's
// byte-order mark or content says (see mission/decode.h). Lines end at CR
// LF, a lone CR or a lone LF; a line end at the very end does not begin
// another line. Bytes beyond what the text's 32-bit offsets can address
// (4 GiB) throw std::system_error (EFBIG).
Mission ParseMissionBytes(std::string_view bytes);

struct LoadResult {
  bool ok = false;
  bool stopped = false;  // the progress callback asked to stop
  std::string error;     // the reason, when not ok and not stopped
};

// Told, after each megabyte of the file decoded, how many of its `total`
// bytes are done; it returns false to stop the load.
using LoadProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Reads the file into `into`. Only a regular file (or a link to one) is
// read; anything else is refused at once, without reading from it. On
// failure, and when stopped, `into` is left exactly as it was. The file is
// only ever opened for reading.
LoadResult LoadFile(const std::filesystem::path& path, Mission& into, const LoadProgress& progress = {});

// The same for standard input, read to its end, whatever it is.
LoadResult LoadStandardInput(Mission& into);

}  // namespace mission
