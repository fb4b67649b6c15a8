// FollowController: following a mission the way it reads. It creates and
// wires the links of the code windows (CodeLinkFollower), the details of a
// selected message, ship or wing (RowDetails), the draggable pane
// boundaries (PaneBoundaries) and the kept column widths (ColumnWidths), and
// owns the Go menu ("MenuGo", before the Tools menu) with "Back" (Alt+Left,
// MenuGoBack) and "Forward" (Alt+Right, MenuGoForward) over a
// NavigationHistory.
//
// Every jump goes through Jump: a link followed, a reference or a problem
// activated. It remembers the place it leaves (the view and its row), and
// Back and Forward return to the places remembered, all through the
// window's one way to a row (`showEntry`). The window tells the controller
// of each mission loaded and asks it for its part of the layout.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QString>

#include "mission/mission.h"
#include "ui/rules/history.h"
#include "ui/rules/layout.h"
#include "views/links.h"

class QAction;
class QMainWindow;
class QModelIndex;
class QWidget;

namespace ui {

class CodeLinkFollower;
class CodeWindows;
class MissionList;
class PaneBoundaries;
class RowDetails;
class ViewerSettings;

class FollowController : public QObject {
  Q_OBJECT

 public:
  struct Parts {
    QMainWindow* window;  // whose menu bar gets the Go menu
    QWidget* client;      // the panes' parent, in the layout's coordinates
    MissionList* list;
    CodeWindows* code;
    ViewerSettings* settings;
  };
  // `currentMode` tells the view shown; `showEntry` shows row `row`
  // (1-based, in file order) of view `mode` with its formula; `relayout` lays
  // the window out.
  // `openFile` opens another file (true: it is shown, or being read).
  FollowController(const Parts& parts, std::function<int()> currentMode, std::function<void(int, int)> showEntry,
                   std::function<void()> relayout, std::function<bool(const QString&)> openFile);

  // A mission was loaded from `path`: the places of the one before are
  // forgotten, unless it was opened through OpenFile or Back and Forward.
  void MissionLoaded(std::shared_ptr<const mission::Mission> mission, const QString& path);
  // The mission loaded is shown with its first view: a place that Back or
  // Forward went to in it is shown now.
  void MissionShown();
  // Opens another file as a jump (a mission from its campaign's view), and
  // shows place `to` in it (row 0: the view alone; nothing: its first
  // view): Back returns to the place left, in the file left.
  void OpenFile(const QString& path, std::optional<views::Location> to = std::nullopt);
  // The code windows' links are found by `find` until the next mission is
  // loaded (a campaign's branches); see CodeLinkFollower::SetLinkFinder.
  void SetLinkFinder(std::function<views::CodeLinks(mission::TextView, mission::TextView)> find);
  // The names that the code windows link, gathered off the window's thread.
  void NamesGathered(const mission::Mission* mission, std::shared_ptr<const views::NameRows> names);

  // The layout's input for the pane under the list and the dragged
  // boundaries, and placing what the controller shows.
  void Fill(LayoutInput& in) const;
  void Place(const Panes& panes);

 signals:
  // A link into the mission of row `entry` of the Campaign view was
  // followed: row `row` of its view `mode` is to be shown.
  void missionPlaceChosen(int entry, int mode, int row);

 public slots:
  // Goes to row `row` of view `mode` (0: the view alone), remembering the
  // place it leaves.
  void Jump(int mode, int row);
  void Back();
  void Forward();

 private:
  views::Location Here() const;
  // Shows a place, opening its file first when it lies in another.
  void GoTo(const views::Location& place);
  int FileNumber(const QString& path);
  void RowSelected(const QModelIndex& current);
  void UpdateActions();

  QWidget* client_;
  MissionList* list_;
  std::function<int()> currentMode_;
  std::function<void(int, int)> showEntry_;
  std::function<void()> relayout_;
  std::function<bool(const QString&)> openFile_;
  CodeLinkFollower* links_;
  RowDetails* details_;
  PaneBoundaries* boundaries_;
  NavigationHistory history_;
  std::vector<QString> files_;  // the files places lie in; a place's `file` is its number here + 1
  int file_ = 0;                // the file shown
  // An open through OpenFile, Back or Forward under way: the file, the place
  // it was opened from, and the place to show in it.
  QString opening_;
  std::optional<views::Location> openedFrom_, openedTo_;
  QAction* back_ = nullptr;
  QAction* forward_ = nullptr;
};

}  // namespace ui
