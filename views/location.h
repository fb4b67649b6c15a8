// A place in the loaded mission that the window can go to: a row of a view
// and, optionally, one line of that row's formula or cue to point at, with
// the first line of that formula or cue.
#pragma once

#include <cstddef>

namespace views {

struct Location {
  int mode = 0;          // the view, 1..8
  std::size_t row = 0;   // the row of that view, 1-based, in file order (as the filler made it)
  int slot = 0;          // with `line`: the section store slot of the line to point at
  std::size_t line = 0;  // 1-based in that slot; 0 points at no line
  std::size_t formula = 0;  // the first line of the formula or cue that holds `line`
  // Which file the place is in, as the window numbers the files it showed
  // (a campaign and a mission opened from it); 0 within one file.
  int file = 0;
  friend bool operator==(const Location&, const Location&) = default;
};

}  // namespace views
