// The window's two fonts: Tahoma for captions, buttons and the status bar,
// Courier New for the code windows.
#pragma once

#include <QFont>

namespace ui {

// Tahoma is registered at start-up by the library's font check, which finds
// the font wherever the system keeps it.
inline QFont TahomaFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSizeF(8.25);
  return font;
}

inline QFont CodeFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSizeF(9.75);
  return font;
}

}  // namespace ui
