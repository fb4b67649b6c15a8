#include "views/sort.h"

#include <charconv>
#include <limits>
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

}  // namespace views
