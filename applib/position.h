// Window positions kept in the suite's brix.ini, section "Positions": one
// key per window, the value "state,left,top,width,height" in twips (1/1440
// inch), state 0 normal, 1 minimised, 2 maximised, the bounds always those
// of the normal (restored) window.
//
// Restoring clamps to the screen: an edge beyond the screen goes back to 0,
// a window reaching past the right or bottom edge is shortened to end
// there, and width and height are at least 100 twips.
#pragma once

#include <optional>

#include "applib/library.h"
#include "base/text.h"

namespace applib {

using mission::Text;
using mission::TextView;

enum WindowState { kWindowNormal = 0, kWindowMinimised = 1, kWindowMaximised = 2 };

// A window's state and normal bounds, in twips.
struct Placement {
  int state = kWindowNormal;
  long long left = 0;
  long long top = 0;
  long long width = 0;
  long long height = 0;

  friend bool operator==(const Placement&, const Placement&) = default;
};

// The placement a stored value restores on a screen of the given size in
// twips; nothing when no value is stored ("", blanks, "n/a"). Missing or
// non-numeric fields count as 0; a state other than 0, 1, 2 gives a normal
// window.
std::optional<Placement> PlacementFromText(TextView value, long long screen_width, long long screen_height);
// "2,1200,900,9600,7200".
Text PlacementText(const Placement& placement);

// 1440 twips per inch: 15 per pixel at 96 dots per inch.
double TwipsPerPixel(double dots_per_inch);

// Reads and clamps the window `key`'s position from brix.ini in ad_brix.
std::optional<Placement> RestorePosition(const Library& lib, TextView key, long long screen_width,
                                         long long screen_height);
// Stores the window `key`'s position in brix.ini in ad_brix.
void SavePosition(const Library& lib, TextView key, const Placement& placement);

}  // namespace applib
