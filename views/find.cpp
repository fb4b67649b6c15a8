#include "views/find.h"

#include <algorithm>
#include <optional>

#include "views/formula_display.h"

namespace views {

char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

FindText::FindText(TextView text) : folded_(text.size(), u'\0'), fallback_(text.size(), 0) {
  std::transform(text.begin(), text.end(), folded_.begin(), FoldCase);
  // Knuth-Morris-Pratt: fallback_[i] is the length of the longest proper
  // prefix of folded_[0..i] that is also its suffix.
  for (std::size_t i = 1, k = 0; i < folded_.size(); ++i) {
    while (k > 0 && folded_[i] != folded_[k]) k = fallback_[k - 1];
    if (folded_[i] == folded_[k]) ++k;
    fallback_[i] = static_cast<std::uint32_t>(k);
  }
  if (!folded_.empty()) {
    firstSmall_ = folded_[0];
    const bool letter = (firstSmall_ >= u'a' && firstSmall_ <= u'z') ||
                        (firstSmall_ >= 0xE0 && firstSmall_ <= 0xFE && firstSmall_ != 0xF7);
    firstCapital_ = letter ? static_cast<char16_t>(firstSmall_ - 32) : firstSmall_;
  }
}

bool FindText::In(TextView text) const {
  const std::size_t m = folded_.size();
  if (m == 0) return true;
  if (text.size() < m) return false;
  const char16_t* p = text.data();
  const char16_t* const end = p + text.size();
  std::size_t k = 0;  // characters matched so far
  while (p != end) {
    if (k == 0) {
      // Nothing matched: skip quickly to the next candidate first character.
      while (p != end && *p != firstSmall_ && *p != firstCapital_) ++p;
      if (p == end) return false;
      ++p;
      k = 1;
    } else {
      const char16_t c = FoldCase(*p);
      while (k > 0 && c != folded_[k]) k = fallback_[k - 1];
      if (c == folded_[k]) ++k;
      ++p;
    }
    if (k == m) return true;
  }
  return false;
}

std::vector<std::size_t> FindText::All(TextView text) const {
  std::vector<std::size_t> found;
  const std::size_t m = folded_.size();
  if (m == 0) return found;
  std::size_t k = 0;  // characters matched so far
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = FoldCase(text[i]);
    while (k > 0 && c != folded_[k]) k = fallback_[k - 1];
    if (c == folded_[k]) ++k;
    if (k == m) {
      found.push_back(i + 1 - m);
      k = 0;
    }
  }
  return found;
}

std::size_t FormulaEnd(const mission::LineList& lines, std::size_t start) {
  if (start < 1 || start > lines.Count()) return start;
  std::int64_t depth = 0;
  std::size_t next = start;
  do {
    for (const char16_t c : lines.Line(next)) depth += (c == u'(') - (c == u')');
    ++next;
  } while (depth > 0 && next <= lines.Count());
  return next;
}

namespace {

// The SEXP code window leaves out the key of a formula's first line.
constexpr TextView kFormulaKey = u"$Formula: ";

}  // namespace

RowSearch::RowSearch(const ListData& list, const mission::MissionSections& sections) : list_(list) {
  Formula last;
  for (std::size_t r = 0; r < list.rows.size(); ++r) {
    const Row& row = list.rows[r];
    if (!HasFormulaReference(row.tag)) continue;
    const std::optional<FormulaStart> start = FormulaStartOf(sections, row.tag);
    if (!start) continue;
    if (formulas_.empty()) formulas_.resize(list.rows.size());
    const mission::LineList& lines = sections.Slot(start->slot);
    // Rows that share a formula (events named one after the other below it)
    // stand together; its lines are counted once.
    if (last.lines != &lines || last.first != start->line) {
      last = {&lines, static_cast<std::uint32_t>(start->line),
              static_cast<std::uint32_t>(FormulaEnd(lines, start->line))};
    }
    formulas_[r] = last;
  }
}

bool RowSearch::CellsFound(std::size_t row, const FindText& find) const {
  const auto& cells = list_.rows[row].cells;
  return std::any_of(cells.begin(), cells.end(), [&](const Text& cell) { return find.In(cell); });
}

bool RowSearch::FormulaFound(const Formula& f, const FindText& find) {
  for (std::uint32_t line = f.first; line < f.end; ++line) {
    TextView text = f.lines->Line(line);
    if (line == f.first && text.starts_with(kFormulaKey)) text.remove_prefix(kFormulaKey.size());
    if (find.In(text)) return true;
  }
  return false;
}

bool RowSearch::RowFound(std::size_t row, const FindText& find) const {
  if (CellsFound(row, find)) return true;
  return !formulas_.empty() && formulas_[row].lines && FormulaFound(formulas_[row], find);
}

std::vector<char> RowSearch::Found(const FindText& find, const std::vector<char>* within) const {
  const std::size_t rows = list_.rows.size();
  std::vector<char> found(rows, 0);
  // The formula searched last and whether it held the text: rows that share
  // a formula search it once.
  Formula last;
  bool lastFound = false;
  for (std::size_t r = 0; r < rows; ++r) {
    if (within && (r >= within->size() || !(*within)[r])) continue;
    if (CellsFound(r, find)) {
      found[r] = 1;
      continue;
    }
    if (formulas_.empty() || !formulas_[r].lines) continue;
    const Formula& f = formulas_[r];
    if (f.lines != last.lines || f.first != last.first) {
      last = f;
      lastFound = FormulaFound(f, find);
    }
    found[r] = lastFound;
  }
  return found;
}

}  // namespace views
