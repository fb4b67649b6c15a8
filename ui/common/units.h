// The library's units in Qt's terms: window geometry in twips (1/1440 inch)
// to screen pixels, and colours written 0xBBGGRR (red in the low byte) to
// QColor.
#pragma once

#include <QColor>
#include <QWidget>
#include <QtGlobal>
#include <cstdint>

#include "applib/position.h"

namespace ui {

// Twips per pixel at `dpi` dots per inch: 15 at 96.
inline double TwipsPerPixel(int dpi) { return applib::TwipsPerPixel(dpi); }

// Twips per pixel of the screen a widget is shown on, from its horizontal
// logical resolution. The main window uses it in both directions.
inline double TwipsPerPixel(const QWidget& widget) { return TwipsPerPixel(widget.logicalDpiX()); }

// A length in twips as whole pixels at `dpi`, rounded to the nearest.
inline int TwipsToPixels(double twips, int dpi) { return qRound(twips / TwipsPerPixel(dpi)); }

inline QColor ColourFromBgr(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

}  // namespace ui
