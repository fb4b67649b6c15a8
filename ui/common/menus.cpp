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
  // Entries shown from the start choose first; one shown only at times (View >
  // Campaign) takes what is left, so that it never moves a key people know.
  std::vector<QAction*> ordered;
  for (QAction* entry : entries) {
    if (entry->isVisible()) ordered.push_back(entry);
  }
  for (QAction* entry : entries) {
    if (!entry->isVisible()) ordered.push_back(entry);
  }
  std::vector<Text> captions;
  for (const QAction* entry : ordered) captions.push_back(entry->isSeparator() ? Text(u"-") : FromQString(entry->text()));
  const std::vector<Text> keyed = WithAccessKeys(captions);
  for (std::size_t i = 0; i < ordered.size(); ++i) {
    if (!ordered[i]->isSeparator()) ordered[i]->setText(ToQString(keyed[i]));
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
