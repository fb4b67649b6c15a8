// Finding rows of the mission list by a text: what the find bar above the
// list keeps. A row is kept when the text occurs in one of its cells or, for a
// row with a formula reference (Goals, Events), in the lines of its formula,
// ignoring case. Everything here is linear in the text searched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "views/list.h"

namespace views {

// Letters compare without their case: A-Z and the accented capitals of
// Latin-1 (U+00C0..U+00DE, but not the multiplication sign) become small.
// Every other character stands for itself.
char16_t FoldCase(char16_t c);

// A text to look for, prepared once: its folded characters and the table
// that lets a search go on after a partial match without stepping back, so
// a search reads each character of the searched text once.
class FindText {
 public:
  explicit FindText(TextView text);

  bool Empty() const { return folded_.empty(); }
  std::size_t Size() const { return folded_.size(); }
  // True when the text occurs in `text`, ignoring case. The empty text
  // occurs everywhere.
  bool In(TextView text) const;
  // Where the text occurs in `text`, ignoring case: the start of each
  // occurrence, left to right, each one beginning after the one before has
  // ended. None for the empty text.
  std::vector<std::size_t> All(TextView text) const;

 private:
  Text folded_;
  std::vector<std::uint32_t> fallback_;  // for each prefix, its longest proper border
  char16_t firstSmall_ = 0;  // the two characters that fold to the first one
  char16_t firstCapital_ = 0;
};

// One past the last line of the formula that begins at line `start`
// (1-based) of `lines`: lines are read until as many ")" as "(" have been
// seen, or to the end of the lines, as the code windows show a formula.
// `start` itself when it lies outside the lines.
std::size_t FormulaEnd(const mission::LineList& lines, std::size_t start);

// What the find bar searches in one list: the rows' cells and, for rows
// with a formula reference, where their formula lines are. Built once per
// list (it reads every formula's lines once); then each search reads only
// the texts. It refers to the list and the mission, which must outlive it.
class RowSearch {
 public:
  RowSearch(const ListData& list, const mission::MissionSections& sections);

  // For each row of the list, in list order, whether `find` occurs in it.
  // With `within`, only the rows marked there are searched (the others are
  // not found): a longer text is found only where a text it begins with was.
  std::vector<char> Found(const FindText& find, const std::vector<char>* within = nullptr) const;

  // Whether `find` occurs in row `row` (0-based).
  bool RowFound(std::size_t row, const FindText& find) const;

 private:
  struct Formula {
    const mission::LineList* lines = nullptr;  // null: the row has no formula
    std::uint32_t first = 0;                   // 1-based, as the lines count
    std::uint32_t end = 0;
  };

  bool CellsFound(std::size_t row, const FindText& find) const;
  static bool FormulaFound(const Formula& formula, const FindText& find);

  const ListData& list_;
  std::vector<Formula> formulas_;  // by row; empty when no row has a formula
};

}  // namespace views
