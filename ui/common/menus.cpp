#include "ui/common/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "ui/common/qtext.h"
#include "ui/rules/rules.h"

namespace ui {

namespace {

void KeyEntries(const QList<QAction*>& entries) {
  std::vector<Text> captions;
  for (const QAction* entry : entries) captions.push_back(entry->isSeparator() ? Text(u"-") : FromQString(entry->text()));
  const std::vector<Text> keyed = WithAccessKeys(captions);
  for (qsizetype i = 0; i < entries.size(); ++i) {
    if (!entries[i]->isSeparator()) entries[i]->setText(ToQString(keyed[static_cast<std::size_t>(i)]));
  }
}

}  // namespace

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

void GiveAccessKeys(QMenuBar* bar) {
  KeyEntries(bar->actions());
  for (const QAction* title : bar->actions()) {
    if (const QMenu* menu = title->menu()) KeyEntries(menu->actions());
  }
}

}  // namespace ui
