// The mission list as data: what a view filler produces and the window shows.
#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"

namespace views {

using mission::Text;
using mission::TextView;

struct Column {
  Text caption;
  int width = 0;  // twips
};

struct Row {
  std::vector<Text> cells;  // exactly one per column; a cell never written is empty
  Text tag;                 // formula reference «slot,line», or empty
};

// Lines of the file, [first, end), numbered like the file's own lines.
struct FileLines {
  std::uint32_t first = 0;
  std::uint32_t end = 0;
  friend bool operator==(const FileLines&, const FileLines&) = default;
};

struct ListData {
  std::vector<Column> columns;
  std::vector<Row> rows;
  // The views of sections the store does not keep (briefings, variables):
  // where each row lies in the file, by row. Empty for the other views.
  std::vector<FileLines> rowLines;
  // What the list says when the mission has no section for its view
  // («This mission has no briefing.»); empty for a view that has one.
  Text absent;
};

}  // namespace views
