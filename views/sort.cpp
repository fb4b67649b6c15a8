#include "views/sort.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <numeric>
#include <string>

#include "base/compat.h"

namespace views {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

bool IsBlankCell(TextView cell) {
  for (const char16_t c : cell) {
    if (!IsBlank(c)) return false;
  }
  return true;
}

std::optional<double> CellNumber(TextView cell) {
  while (!cell.empty() && IsBlank(cell.front())) cell.remove_prefix(1);
  while (!cell.empty() && IsBlank(cell.back())) cell.remove_suffix(1);
  bool negative = false;
  if (!cell.empty() && (cell.front() == u'+' || cell.front() == u'-')) {
    negative = cell.front() == u'-';
    cell.remove_prefix(1);
  }
  std::string ascii;
  ascii.reserve(cell.size());
  bool digits = false, point = false, wholeNonZero = false;
  for (const char16_t c : cell) {
    if (IsDigit(c)) {
      digits = true;
      wholeNonZero = wholeNonZero || (!point && c != u'0');
    } else if (c == u'.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
    ascii += static_cast<char>(c);
  }
  if (!digits) return std::nullopt;
  double value = 0;
  const auto [end, error] = mission::FromChars(ascii.data(), ascii.data() + ascii.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Hundreds of digits: beyond every double, or a hair above zero.
    value = wholeNonZero ? std::numeric_limits<double>::max() : 0.0;
  } else if (error != std::errc() || end != ascii.data() + ascii.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<std::vector<double>> NumericSortKeys(const ListData& list, std::size_t column) {
  std::vector<double> keys;
  keys.reserve(list.rows.size());
  bool anyNumber = false;
  for (const Row& row : list.rows) {
    const TextView cell = column < row.cells.size() ? TextView(row.cells[column]) : TextView();
    if (const auto number = CellNumber(cell)) {
      keys.push_back(*number);
      anyNumber = true;
    } else if (IsBlankCell(cell)) {
      keys.push_back(-std::numeric_limits<double>::infinity());
    } else {
      return std::nullopt;
    }
  }
  if (!anyNumber) return std::nullopt;
  return keys;
}

ColumnSort NextSort(ColumnSort current, int clicked) {
  if (clicked != current.column || current.order == SortOrder::kNone) return {clicked, SortOrder::kAscending};
  if (current.order == SortOrder::kAscending) return {clicked, SortOrder::kDescending};
  return {clicked, SortOrder::kNone};
}

// --- Natural order ---

namespace {

// Letters with accents, and ligatures, of Latin-1 and Latin Extended-A, by
// the small ASCII letters they sort as.
struct LatinLetters {
  char16_t first, last;
  const char* sortsAs;
};
constexpr LatinLetters kLatinLetters[] = {
    {0xC0, 0xC5, "a"},   {0xC6, 0xC6, "ae"},  {0xC7, 0xC7, "c"},   {0xC8, 0xCB, "e"},   {0xCC, 0xCF, "i"},
    {0xD0, 0xD0, "d"},   {0xD1, 0xD1, "n"},   {0xD2, 0xD6, "o"},   {0xD8, 0xD8, "o"},   {0xD9, 0xDC, "u"},
    {0xDD, 0xDD, "y"},   {0xDE, 0xDE, "th"},  {0xDF, 0xDF, "ss"},  {0xE0, 0xE5, "a"},   {0xE6, 0xE6, "ae"},
    {0xE7, 0xE7, "c"},   {0xE8, 0xEB, "e"},   {0xEC, 0xEF, "i"},   {0xF0, 0xF0, "d"},   {0xF1, 0xF1, "n"},
    {0xF2, 0xF6, "o"},   {0xF8, 0xF8, "o"},   {0xF9, 0xFC, "u"},   {0xFD, 0xFD, "y"},   {0xFE, 0xFE, "th"},
    {0xFF, 0xFF, "y"},   {0x100, 0x105, "a"}, {0x106, 0x10D, "c"}, {0x10E, 0x111, "d"}, {0x112, 0x11B, "e"},
    {0x11C, 0x123, "g"}, {0x124, 0x127, "h"}, {0x128, 0x131, "i"}, {0x132, 0x133, "ij"}, {0x134, 0x135, "j"},
    {0x136, 0x138, "k"}, {0x139, 0x142, "l"}, {0x143, 0x14B, "n"}, {0x14C, 0x151, "o"}, {0x152, 0x153, "oe"},
    {0x154, 0x159, "r"}, {0x15A, 0x161, "s"}, {0x162, 0x167, "t"}, {0x168, 0x173, "u"}, {0x174, 0x175, "w"},
    {0x176, 0x178, "y"}, {0x179, 0x17E, "z"}, {0x17F, 0x17F, "s"},
};

// Appends what character `c` (not an ASCII digit) sorts as.
void AppendFolded(char32_t c, std::u32string& key) {
  if (c < 0x80) {
    key += c >= U'A' && c <= U'Z' ? c + 32 : c;
    return;
  }
  if (c >= 0xC0 && c < 0x180) {
    for (const LatinLetters& letters : kLatinLetters) {
      if (c < letters.first || c > letters.last) continue;
      for (const char* s = letters.sortsAs; *s != '\0'; ++s) key += static_cast<char32_t>(*s);
      return;
    }
  }
  if (c >= 0x391 && c <= 0x3A9) {
    c += 0x20;  // Greek capitals
  } else if (c == 0x3C2) {
    c = 0x3C3;  // final sigma
  } else if (c >= 0x410 && c <= 0x42F) {
    c += 0x20;  // Cyrillic capitals
  } else if (c >= 0x400 && c <= 0x40F) {
    c += 0x50;
  } else if (c >= 0xFF21 && c <= 0xFF3A) {
    c += 0x20;  // full-width Latin capitals
  }
  if (c == 0x451) c = 0x435;  // ё sorts with е
  key += c;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The natural keys of one column, one after the other in one buffer.
class NaturalColumn {
 public:
  NaturalColumn(const ListData& list, std::size_t column) {
    start_.reserve(list.rows.size() + 1);
    for (const Row& row : list.rows) {
      start_.push_back(keys_.size());
      if (column < row.cells.size()) AppendNaturalKey(row.cells[column], keys_);
    }
    start_.push_back(keys_.size());
  }

  std::u32string_view operator[](std::size_t r) const {
    return std::u32string_view(keys_.data() + start_[r], start_[r + 1] - start_[r]);
  }

 private:
  std::u32string keys_;
  std::vector<std::size_t> start_;
};

}  // namespace

void AppendNaturalKey(TextView text, std::u32string& key) {
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    const char16_t c = text[i];
    if (IsDigit(c)) {
      // A run of digits: a mark that sorts where digits do, the count of its
      // digits without leading zeros, then those digits. A longer number is
      // a greater one, whatever its size.
      std::size_t end = i;
      while (end < n && IsDigit(text[end])) ++end;
      std::size_t first = i;
      while (first < end && text[first] == u'0') ++first;
      key += U'0';
      key += static_cast<char32_t>(std::min<std::size_t>(end - first, 0xFFFFFFFF));
      for (std::size_t d = first; d < end; ++d) key += static_cast<char32_t>(text[d]);
      i = end;
      continue;
    }
    char32_t whole = c;
    ++i;
    if (IsHighSurrogate(c) && i < n && IsLowSurrogate(text[i])) {
      whole = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (static_cast<char32_t>(text[i]) - 0xDC00);
      ++i;
    }
    AppendFolded(whole, key);
  }
}

std::u32string NaturalKey(TextView text) {
  std::u32string key;
  key.reserve(text.size());
  AppendNaturalKey(text, key);
  return key;
}

bool NaturalLess(TextView a, TextView b) { return NaturalKey(a) < NaturalKey(b); }

std::vector<int> SortedRows(const ListData& list, ColumnSort sort) {
  std::vector<int> rows(list.rows.size());
  std::iota(rows.begin(), rows.end(), 0);
  if (!sort.Sorted() || static_cast<std::size_t>(sort.column) >= list.columns.size()) return rows;
  const auto column = static_cast<std::size_t>(sort.column);
  const bool down = sort.order == SortOrder::kDescending;
  // Descending compares the other way round, so that equal keys stay in the
  // list's order either way.
  const auto by = [&rows, down](const auto& keys) {
    const auto less = [&keys](int l, int r) {
      return keys[static_cast<std::size_t>(l)] < keys[static_cast<std::size_t>(r)];
    };
    if (down) {
      std::stable_sort(rows.begin(), rows.end(), [&less](int l, int r) { return less(r, l); });
    } else {
      std::stable_sort(rows.begin(), rows.end(), less);
    }
  };
  if (const auto numbers = NumericSortKeys(list, column)) {
    by(*numbers);
  } else {
    by(NaturalColumn(list, column));
  }
  return rows;
}

}  // namespace views
