// How the mission list sorts by a column. A column whose cells all read as
// numbers (blank cells allowed) sorts by value, so that «-1, 1, 2, 10» keep
// that order; any other column sorts by its text. The decision is made per
// list and column, so the same column position may sort by value in one view
// and by text in the next.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "base/text.h"
#include "views/list.h"

namespace views {

// True for the empty text and a text of blanks only.
bool IsBlankCell(TextView cell);

// The value of a cell that reads as a decimal number: blanks around it, an
// optional sign, digits with an optional fraction after a "." («-1», « 0»,
// «+2.5», «.5»). Nothing for any other text, blank cells included.
std::optional<double> CellNumber(TextView cell);

// The sort keys of `column` when it sorts by value: one per row, in the
// list's order, a blank cell (or a row without that cell) lower than every
// number. Nothing when the column sorts by text: some cell is neither blank
// nor a number, or no cell is a number at all. One pass over the column.
std::optional<std::vector<double>> NumericSortKeys(const ListData& list, std::size_t column);

}  // namespace views
