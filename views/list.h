// The mission list as data: what a view filler produces and the window shows.
#pragma once

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

struct ListData {
  std::vector<Column> columns;
  std::vector<Row> rows;
};

}  // namespace views
