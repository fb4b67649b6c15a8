// ReferencesController: Find References in the window. It owns the Edit menu
// entry "Find References" (Ctrl+R, MenuEditReferences), which also joins the
// list's context menu, the ReferenceIndexer that builds the index of each
// mission loaded, and the References pane that lists the places found.
//
// The entry looks up the name of the list's current row when the view shown
// has names that formulas name (Ships, Wings, Messages, Goals, Events).
// Activating a place asks the window to show its entry (the window's one
// way to a row of a view with its formula), then marks the
// place's line in the SEXP code window when that window shows its formula.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "mission/mission.h"
#include "views/location.h"
#include "views/references.h"

class QAction;
class QMainWindow;
class QMenu;
class QTreeView;

namespace ui {

class CodeWindows;
class ListClipboard;
class ReferenceIndexer;
class ReferencesPane;

class ReferencesController : public QObject {
  Q_OBJECT

 public:
  // The entry goes below `find` in its menu. `list` shows the mission list;
  // `currentMode` tells the view it shows; `showEntry` is the window's way to
  // a row (mode, row 1-based in file order) with its formula.
  ReferencesController(QMainWindow* window, QAction* find, QTreeView* list, ListClipboard* listMenu,
                       CodeWindows* code, std::function<int()> currentMode,
                       std::function<void(int, int)> showEntry);

  // Builds the index of a mission just loaded, off the window's thread; with
  // `indexFollows` it is built elsewhere and handed over by IndexBuilt.
  // `sameFile`: the file shown was read again, and the name in the pane is
  // looked up anew; another mission empties the pane, which says so.
  void MissionLoaded(std::shared_ptr<const mission::Mission> mission, bool indexFollows = false,
                     bool sameFile = false);
  void IndexBuilt(const std::shared_ptr<const mission::Mission>& mission,
                  std::shared_ptr<const views::ReferenceIndex> index);

 private:
  void FindReferences();
  void GoTo(const views::Location& where);
  void UpdateAction();

  QTreeView* list_;
  CodeWindows* code_;
  std::function<int()> currentMode_;
  std::function<void(int, int)> showEntry_;
  QAction* action_;
  ReferenceIndexer* indexer_;
  ReferencesPane* pane_;
  std::shared_ptr<const mission::Mission> mission_;
};

}  // namespace ui
