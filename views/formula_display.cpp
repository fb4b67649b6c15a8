#include "views/formula_display.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sexp/formula.h"
#include "views/modes.h"

namespace views {
namespace {

// The numeric value of a tag field as a whole number (rounded half to even,
// as assigning a number to an integer does), or nullopt when it does not fit
// into [low, high].
std::optional<std::int64_t> WholeNumber(TextView field, std::int64_t low, std::int64_t high) {
  const double value = std::nearbyint(mission::NumericValue(field));
  if (!(value >= static_cast<double>(low) && value <= static_cast<double>(high))) return std::nullopt;
  return static_cast<std::int64_t>(value);
}

}  // namespace

bool HasFormulaReference(TextView tag) { return mission::IsGiven(tag); }

std::optional<FormulaStart> FormulaStartOf(const mission::MissionSections& sections, TextView tag) {
  mission::CommaFields fields;
  mission::SplitCommas(tag, fields);
  const std::optional<std::int64_t> slot = WholeNumber(fields[0], 1, mission::kSlotCount);
  const std::optional<std::int64_t> start = WholeNumber(fields[1], 1, std::numeric_limits<std::int32_t>::max());
  if (!slot || !start) return std::nullopt;
  if (static_cast<std::uint64_t>(*start) > sections.Slot(static_cast<int>(*slot)).Count()) return std::nullopt;
  return FormulaStart{static_cast<int>(*slot), static_cast<std::size_t>(*start)};
}

FormulaTexts ReadRowFormula(const mission::MissionSections& sections, TextView tag, TextView name,
                            sexp::OperatorSet operators) {
  const std::optional<FormulaStart> start = FormulaStartOf(sections, tag);
  if (!start) return {};
  return ReadFormulaTexts(sections.Slot(start->slot), start->line, name, operators);
}

FormulaTexts ReadFormulaTexts(const mission::LineList& lines, std::size_t start, TextView name,
                              sexp::OperatorSet operators) {
  FormulaTexts texts;
  if (start < 1 || start > lines.Count()) return texts;
  std::int32_t next = 0;
  texts.parsed = sexp::ReadFormula(name, lines, static_cast<std::int32_t>(start), next, operators);

  // The lines the reader consumed, each followed by CR LF; then the first
  // "$Formula: " and the final line break go.
  const std::size_t first = start;
  const std::size_t end = std::max<std::size_t>(static_cast<std::size_t>(next), first);
  std::size_t length = 0;
  for (std::size_t i = first; i < end; ++i) length += lines.Line(i).size() + 2;
  texts.sexp.reserve(length);
  for (std::size_t i = first; i < end; ++i) {
    texts.sexp += lines.Line(i);
    texts.sexp += u"\r\n";
  }
  mission::ReplaceFirst(texts.sexp, u"$Formula: ", u"");
  mission::DropRight(texts.sexp, 2);
  return texts;
}

FormulaTexts ReadRowFormula(const mission::MissionSections& sections, const Row& row, sexp::OperatorSet operators) {
  const TextView name = row.cells.size() > 1 ? TextView(row.cells[1]) : TextView();
  return ReadRowFormula(sections, row.tag, name, operators);
}

std::vector<std::size_t> FindAll(TextView text, TextView find) {
  std::vector<std::size_t> found;
  if (find.empty()) return found;
  for (std::size_t at = text.find(find); at != TextView::npos; at = text.find(find, at + 1)) found.push_back(at);
  return found;
}

std::span<const ColorWord> ColorWords(sexp::OperatorSet operators) {
  if (operators == sexp::OperatorSet::kFreeSpaceOpen) return kModernColorWords;
  return kColorWords;
}

std::vector<ColorSpan> ColorSpans(TextView parsed, sexp::OperatorSet operators) {
  std::vector<ColorSpan> spans;
  for (const ColorWord& word : ColorWords(operators)) {
    for (const std::size_t at : FindAll(parsed, word.text)) spans.push_back({at, word.text.size(), word.color});
  }
  return spans;
}

std::size_t UnknownCommandLines(TextView parsed) {
  std::size_t lines = 0;
  for (std::size_t start = 0; start < parsed.size();) {
    const std::size_t end = std::min(parsed.find(u"\r\n", start), parsed.size());
    if (parsed.substr(start, end - start).find(u"#UnknownCommand") != TextView::npos) ++lines;
    start = end + 2;
  }
  return lines;
}

Text NodeTag(const mission::OutlineTree& tree, std::size_t node) {
  const mission::OutlineNode& n = tree.Node(node);
  Text tag = mission::Decimal(ModeOfSlot(n.slot));
  if (n.entry > 0) {
    tag += u',';
    tag += mission::Decimal(n.entry);
  }
  return tag;
}

Text RowNodeTag(int mode, std::size_t row) {
  return mission::Decimal(mode) + u',' + mission::Decimal(static_cast<long long>(row));
}

std::optional<NodeTarget> NodeClickTarget(TextView nodeTag) {
  mission::CommaFields fields;
  mission::SplitCommas(nodeTag, fields);
  const std::optional<std::int64_t> mode = WholeNumber(fields[0], 1, 8);
  if (!mode) return std::nullopt;
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  // A row beyond any list only switches the mode, so a huge number may as
  // well be the largest one.
  const double row = std::nearbyint(mission::NumericValue(fields[1]));
  NodeTarget target;
  target.mode = static_cast<int>(*mode);
  target.row = row >= 1 ? static_cast<std::int32_t>(std::min<double>(row, kMax)) : 0;
  return target;
}

TreeLinks::TreeLinks(const mission::OutlineTree& tree)
    : modeNode_(kModeSlots, kNone), rowNode_(kModeSlots) {
  for (std::size_t i = 0; i < tree.Size(); ++i) {
    const mission::OutlineNode& node = tree.Node(i);
    const auto mode = static_cast<std::size_t>(ModeOfSlot(node.slot));
    const auto index = static_cast<std::uint32_t>(i);
    if (node.entry <= 0) {
      if (modeNode_[mode] == kNone) modeNode_[mode] = index;
      continue;
    }
    std::vector<std::uint32_t>& rows = rowNode_[mode];
    const auto entry = static_cast<std::size_t>(node.entry);
    if (rows.size() < entry) rows.resize(entry, kNone);
    if (rows[entry - 1] == kNone) rows[entry - 1] = index;
  }
}

std::optional<std::uint32_t> TreeLinks::ModeNode(int mode) const {
  if (mode < 0 || mode >= kModeSlots || modeNode_[static_cast<std::size_t>(mode)] == kNone) return std::nullopt;
  return modeNode_[static_cast<std::size_t>(mode)];
}

std::optional<std::uint32_t> TreeLinks::RowNode(int mode, std::size_t row) const {
  if (mode < 0 || mode >= kModeSlots || row == 0) return std::nullopt;
  const std::vector<std::uint32_t>& rows = rowNode_[static_cast<std::size_t>(mode)];
  if (row > rows.size() || rows[row - 1] == kNone) return std::nullopt;
  return rows[row - 1];
}

}  // namespace views
