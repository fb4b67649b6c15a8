// Small missions written inline, and the list contents as UTF-8 for readable
// expectations.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mission/mission.h"
#include "views/list.h"

namespace views::testing {

inline mission::Mission Load(std::string_view text) { return mission::ParseMissionBytes(text); }

// Lines joined with CR LF, as the mission editor writes them.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (const std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

using Table = std::vector<std::vector<std::string>>;

inline Table Cells(const ListData& list) {
  Table table;
  for (const Row& row : list.rows) {
    std::vector<std::string> cells;
    for (const Text& cell : row.cells) cells.push_back(mission::ToUtf8(cell));
    table.push_back(cells);
  }
  return table;
}

inline std::vector<std::string> Tags(const ListData& list) {
  std::vector<std::string> tags;
  for (const Row& row : list.rows) tags.push_back(mission::ToUtf8(row.tag));
  return tags;
}

inline std::vector<std::string> Captions(const ListData& list) {
  std::vector<std::string> captions;
  for (const Column& column : list.columns) captions.push_back(mission::ToUtf8(column.caption));
  return captions;
}

inline std::vector<int> Widths(const ListData& list) {
  std::vector<int> widths;
  for (const Column& column : list.columns) widths.push_back(column.width);
  return widths;
}

}  // namespace views::testing
