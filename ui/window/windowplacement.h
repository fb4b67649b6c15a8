// The main window's position and size, kept in the suite's brix.ini under a
// key of its own: restored when the window is built, saved when it closes.
// The library keeps them in twips, clamped to the screen on the way back.
#pragma once

#include "applib/library.h"
#include "base/text.h"

class QWidget;

namespace ui {

// Moves and sizes `window` as stored under `key`, and maximises or
// minimises it as it was; leaves it as it is when nothing is stored.
void RestorePlacement(QWidget& window, const applib::Library& library, mission::TextView key);

// Stores the window's state and normal (restored) bounds under `key`.
void SavePlacement(const QWidget& window, const applib::Library& library, mission::TextView key);

}  // namespace ui
