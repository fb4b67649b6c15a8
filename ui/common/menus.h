// Menu building shared by the main window and the controllers that add
// entries to its menus: an entry or a menu with the object name the tests
// and the rest of the program find it by.
#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace ui {

// An entry with its object name; the caption "-" makes a separator. Its
// shortcut works anywhere in the window.
QAction* AddEntry(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key = {});

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption);

// Gives each entry of every menu of `bar` an access key of its own
// (WithAccessKeys), entries added later by other parts of the window
// included as long as they are there when this runs.
void GiveAccessKeys(QMenuBar* bar);

}  // namespace ui
