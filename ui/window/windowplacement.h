// The main window's position and size, kept in the suite's brix.ini under a
// key of its own: restored when the window is built, saved when it closes.
// The library keeps them in twips, clamped to the screen on the way back.
#pragma once

#include "applib/library.h"
#include "base/text.h"

class QWidget;

namespace ui {

// Moves and sizes `window` as stored under `key`, and maximises or
// minimises it as it was; leaves it as it is when nothing is stored, and
// then returns false.
bool RestorePlacement(QWidget& window, const applib::Library& library, mission::TextView key);

// Where a window opens the first time, with no position kept: about two
// thirds of the screen's free area, centred (FirstWindowBounds), its size
// so far taken as its design size.
void PlaceFirstWindow(QWidget& window);

// Stores the window's state and normal (restored) bounds under `key`.
void SavePlacement(const QWidget& window, const applib::Library& library, mission::TextView key);

}  // namespace ui
