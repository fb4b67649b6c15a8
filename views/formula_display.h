// The formula of a selected list row, as the two code windows show it, and
// the links between list rows and outline-tree nodes. Everything here is a
// pure function of the loaded mission; the window only applies the results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "sexp/formula.h"
#include "views/list.h"
#include "views/modes.h"

namespace views {

// --- Formula display ---

struct FormulaTexts {
  Text sexp;    // the SEXP code window: the formula's lines as stored
  Text parsed;  // the Parsed code window: the translation (or the reader's error text)
};

// True when selecting a row with this tag shows a formula (the tag holds a
// value). For any other row the code windows keep what they show. (With an
// empty outline tree, selecting a row does nothing at all.)
bool HasFormulaReference(TextView tag);

// Where the formula of a row begins: the slot of the section store and the
// 1-based line. Empty for a tag that names no line of a slot (slot not in
// 1..20, line 0, or a line beyond the slot's last).
struct FormulaStart {
  int slot = 0;
  std::size_t line = 0;
};
std::optional<FormulaStart> FormulaStartOf(const mission::MissionSections& sections, TextView tag);

// The texts of both code windows for a row whose tag is `tag` («slot,line»)
// and whose second cell is `name` (an event's name, a goal's message; the
// translator writes it into "when"). The SEXP text is the consumed lines
// joined by CR LF, without the first "$Formula: " and without a final line
// break. A reference outside its slot (slot not in 1..20, line 0, or a line
// beyond the slot's last) gives two empty texts. `operators` chooses the
// translation.
FormulaTexts ReadRowFormula(const mission::MissionSections& sections, TextView tag, TextView name,
                            sexp::OperatorSet operators = sexp::OperatorSet::kOriginal);

// The texts of both code windows for the formula that begins at line
// `start` (1-based) of `lines`, read as ReadRowFormula reads a row's.
FormulaTexts ReadFormulaTexts(const mission::LineList& lines, std::size_t start, TextView name,
                              sexp::OperatorSet operators = sexp::OperatorSet::kOriginal);

// The same for a list row: its tag and its second cell (empty if it has none).
FormulaTexts ReadRowFormula(const mission::MissionSections& sections, const Row& row,
                            sexp::OperatorSet operators = sexp::OperatorSet::kOriginal);

// --- Colouring of the Parsed code window ---

// Colours as the program stores them, 0xBBGGRR.
constexpr std::uint32_t kColorBlack = 0x000000;
constexpr std::uint32_t kColorRed = 0x0000FF;    // red 255, green 0, blue 0
constexpr std::uint32_t kColorGreen = 0x018000;  // red 0, green 128, blue 1

struct ColorSpan {
  std::size_t start = 0;   // 0-based character position in the text
  std::size_t length = 0;  // characters
  std::uint32_t color = kColorBlack;
  friend bool operator==(const ColorSpan&, const ColorSpan&) = default;
};

// The words that colouring marks in a parsed text, in the order they are
// coloured: "If" and "Then" red; "And" + CR LF, "And ", "Not ", "Or" + CR LF
// green.
struct ColorWord {
  TextView text;
  std::uint32_t color;
};
inline constexpr ColorWord kColorWords[] = {
    {u"If", kColorRed},     {u"And\r\n", kColorGreen}, {u"And ", kColorGreen},
    {u"Not ", kColorGreen}, {u"Or\r\n", kColorGreen},  {u"Then", kColorRed},
};

// The translation of FreeSpace Open operators colours its own key words too:
// "Else", "Every time", "For ", "Do" + CR LF and "Result" red, "Xor" + CR LF
// green.
inline constexpr ColorWord kModernColorWords[] = {
    {u"If", kColorRed},         {u"And\r\n", kColorGreen}, {u"And ", kColorGreen},     {u"Not ", kColorGreen},
    {u"Or\r\n", kColorGreen},   {u"Then", kColorRed},      {u"Else", kColorRed},       {u"Every time", kColorRed},
    {u"For ", kColorRed},       {u"Do\r\n", kColorRed},    {u"Result", kColorRed},     {u"Xor\r\n", kColorGreen},
};

// The words coloured in a text translated with `operators`.
std::span<const ColorWord> ColorWords(sexp::OperatorSet operators);

// The spans that colouring gives a parsed text, in the order they are applied
// (a later span wins where two overlap); everything else stays black. Every
// occurrence counts, also inside longer words, case-sensitively: "If" and
// "Then" red; "And" + CR LF, "And ", "Not ", "Or" + CR LF green; with
// FreeSpace Open operators also the words of kModernColorWords.
std::vector<ColorSpan> ColorSpans(TextView parsed, sexp::OperatorSet operators = sexp::OperatorSet::kOriginal);

// How many lines of a parsed text read "#UnknownCommand".
std::size_t UnknownCommandLines(TextView parsed);

// Every 0-based position where `find` occurs in `text`, searching on from one
// past each match (so overlapping occurrences count).
std::vector<std::size_t> FindAll(TextView text, TextView find);

// --- Links between list rows and outline-tree nodes ---

// A tree node's tag: «mode» for a section node, «mode,n» for the n-th entry
// of a section and that entry's fields, with the mode that lists the
// section (ModeOfSlot; 0 for a section no view lists).
Text NodeTag(const mission::OutlineTree& tree, std::size_t node);

// The tag of the tree node that selecting row `row` (1-based) of `mode`
// selects: «mode,row».
Text RowNodeTag(int mode, std::size_t row);

// What a click on a node with this tag asks for: switch to `mode`, then, when
// 1 <= row <= the list's row count, select row `row` (1-based). Empty when
// the tag does not begin with a positive mode (section nodes that no view
// shows carry «0»); such a click only expands the node. `row` is 0 when the
// tag has no second field.
struct NodeTarget {
  int mode = 0;
  std::int32_t row = 0;
  friend bool operator==(const NodeTarget&, const NodeTarget&) = default;
};
std::optional<NodeTarget> NodeClickTarget(TextView nodeTag);

// Finds nodes by tag in the tree's own order (the first match wins) without
// walking the tree for every look-up. Build one per loaded mission; it stays
// valid as long as that mission's tree.
class TreeLinks {
 public:
  explicit TreeLinks(const mission::OutlineTree& tree);

  // The first node tagged «mode»: what a switch to `mode` selects.
  std::optional<std::uint32_t> ModeNode(int mode) const;
  // The first node tagged «mode,row» (row 1-based): what selecting that row selects.
  std::optional<std::uint32_t> RowNode(int mode, std::size_t row) const;

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  static constexpr int kModeSlots = kModeCount + 1;  // modes 0..8; 0 tags sections no view shows
  std::vector<std::uint32_t> modeNode_;               // by mode 0..8
  std::vector<std::vector<std::uint32_t>> rowNode_;   // by mode 0..8, then row - 1
};

}  // namespace views
