// Mission text and Qt strings share their 16-bit characters.
#pragma once

#include <QString>
#include <QStringView>

#include "base/text.h"

namespace ui {

inline QString ToQString(mission::TextView text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline QStringView ToQStringView(mission::TextView text) {
  return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

inline mission::Text FromQString(const QString& text) {
  return mission::Text(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

}  // namespace ui
