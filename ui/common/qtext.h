// Mission text and Qt strings share their 16-bit characters. Also what the
// window's item models show of a text, and the role of a row's hidden tag.
#pragma once

#include <QString>
#include <QStringView>
#include <Qt>
#include <filesystem>

#include "applib/paths.h"
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

// A path the window holds as a QString, as the file system takes it.
inline std::filesystem::path FsPath(const QString& path) { return applib::ToFsPath(FromQString(path)); }
// And back: a path the file system gave (a name read from a folder).
inline QString PathQString(const std::filesystem::path& path) { return ToQString(applib::FromFsPath(path)); }

// The row's hidden tag (a formula reference or empty), under this role.
constexpr int kTagRole = Qt::UserRole;

// Cells and tree nodes show at most this many characters, then "...": a
// field megabytes long would otherwise be laid out on every repaint and
// freeze the window. Sorting, copying and the code windows use the whole
// text; a cell's tooltip role holds its whole text (up to CellToolTip's
// limit).
constexpr qsizetype kShownTextMax = 1024;
QString ShownText(mission::TextView text);

}  // namespace ui
