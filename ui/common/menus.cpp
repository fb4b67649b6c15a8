#include "ui/common/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace ui {

QAction* AddEntry(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key) {
  QAction* action = caption == u"-" ? menu->addSeparator() : menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(key);
  action->setShortcutContext(Qt::WindowShortcut);
  return action;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
  QMenu* menu = bar->addMenu(caption);
  menu->menuAction()->setObjectName(QString::fromLatin1(name));
  return menu;
}

}  // namespace ui
