// How the mission list sorts by a column. A column whose cells all read as
// numbers (blank cells allowed) sorts by value, so that «-1, 1, 2, 10» keep
// that order; any other column sorts by its text in natural order: without
// regard to case or accents, and with runs of digits compared by their value
// («Alpha 2» before «Alpha 10»). The decision is made per list and column,
// so the same column position may sort by value in one view and by text in
// the next. Sorts are stable: rows that compare equal keep the list's order,
// in either direction.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "views/list.h"

namespace views {

// --- What a click on a column header does ---

enum class SortOrder { kNone, kAscending, kDescending };

// A list's sort: a column (0-based) and its direction. kNone, or a column
// the list does not have, leaves the list's own (file) order.
struct ColumnSort {
  int column = -1;
  SortOrder order = SortOrder::kNone;
  bool Sorted() const { return column >= 0 && order != SortOrder::kNone; }
  bool operator==(const ColumnSort&) const = default;
};

// The sort after a click on the header of `clicked`: a column not sorted by
// sorts ascending; a second click on it descending; a third restores the
// file order.
ColumnSort NextSort(ColumnSort current, int clicked);

// --- Columns of numbers ---

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

// --- Natural order of texts ---

// The key under which a text sorts: comparing two keys element by element
// (the shorter first when one begins the other) compares the texts in
// natural order. Letters lose their case and their accents (Latin, Greek
// and Cyrillic letters: «É» and «e» are one letter, «ß» reads «ss», «Æ»
// «ae»); a run of ASCII digits becomes its number, so that runs compare by
// value whatever their length («007» = «7» < «10» < «4294967296»); every
// other character stands for itself, a surrogate pair as its whole
// character. Linear in the text.
std::u32string NaturalKey(TextView text);
// Appends the key of `text` to `key`.
void AppendNaturalKey(TextView text, std::u32string& key);

// Whether `a` comes before `b` in natural order.
bool NaturalLess(TextView a, TextView b);

// --- Sorting a list ---

// The rows of `list` (0-based, in the list's order) in the order `sort`
// gives them: by value or naturally as above, ascending or descending,
// rows with equal keys in the list's order. The list's own order when the
// sort is none or names a column the list does not have.
std::vector<int> SortedRows(const ListData& list, ColumnSort sort);

}  // namespace views
