// FSMMainForm: the viewer's main window. It owns the loaded mission and the
// window-level state (CurrentMode, HasFormulas, LeftCodeHidden,
// RightCodeHidden), builds the menus, lays the panes out and wires the parts
// together. The parts with a job of their own are classes of
// their own: the icon bar (IconBar), the toolbar (Toolbar), the two code
// windows (CodeWindows), the title and status texts (TitleBar,
// StatusPanel), the settings file (ViewerSettings), the window
// position (RestorePlacement, SavePlacement), the mission list with its
// models (MissionList), the outline tree (OutlineView), the find bar
// (FindBar) with the filter it sets on the list, Find References
// (ReferencesController), the mission's problems (ProblemsPane), the event
// flow picture (EventFlowPane), the ways
// missions come in: opening, reading large files in the background,
// reloading, recent missions and drops (MissionOpener), and following the
// mission (FollowController: the code windows' links, Back and Forward, a
// message's, ship's or wing's details under the list, the draggable pane
// boundaries, the kept column widths).
//
// Controls carry the object names the rest of the program and the tests use
// to find them: ListView1, TreeView1, RichTextBox1 (SEXP code), RichTextBox2
// (parsed code), StatusBar1, StatusPanel1, BarLeft, IconMode1..13,
// LabelMode1..13, BarLeftScroll1/2, IconO0_0..3, BarTop, BarTopText,
// Toolbar2 with its actions FileOpenFS1, FileOpenFS2 and treeview, Toolbar1
// and the menu actions MenuFile..., MenuEdit..., MenuView..., MenuHelp.... The commands
// are reached through those actions and widgets.
//
// The Help menu's commands are not carried out here: their actions emit
// helpTutorialRequested, helpQXVCRequested and helpAboutRequested, and
// SetTutorialAvailable shows or hides the tutorial entry and its separator.
// Likewise the Tools menu's Options dialog stores its choice and asks for the
// file-type association with associateFileTypesRequested.
//
// Copying (Ctrl+C, the list's context menu) belongs to ListClipboard and
// CopyShortcut, the list's cell tooltips to ListCellDelegate.
#pragma once

#include <QFutureWatcher>
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "applib/library.h"
#include "mission/mission.h"
#include "ui/rules/layout.h"
#include "ui/rules/settings.h"
#include "ui/rules/viewstate.h"
#include "ui/window/dialogs.h"
#include "views/formula_display.h"
#include "views/location.h"
#include "views/modes.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QTreeView;

namespace ui {

class CodeWindows;
class EventFlowPane;
class ListClipboard;
class FindBar;
class FollowController;
class IconBar;
class MissionList;
class MissionOpener;
struct MissionRead;
class OutlineView;
class ProblemsPane;
struct ShownCampaign;
struct CampaignMissionsRead;
class StatusPanel;
class TitleBar;
class ReferencesController;
class Toolbar;

class FSMMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // `settingsDirectory` holds torvk32.ini. Without `dialogs` the platform's
  // own dialogs are used; the form does not take ownership.
  explicit FSMMainForm(const QString& settingsDirectory, Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
  // The program's window: settings in the library's pfad_main, the window
  // position kept in brix.ini under "TORVEK32", and the Help menu's tutorial
  // entry shown when the tool kit "KORVA" is installed.
  explicit FSMMainForm(const applib::Library& library, Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
  ~FSMMainForm() override;

  // Reads a mission file and shows it in the view shown (ViewAfterLoad:
  // General at the first load, or when the new mission has nothing to show
  // there); each view starts at its first row, unless the file shown is
  // read again. When the file cannot be read, a warning names the file and
  // the reason, and the mission shown so far stays, with its list and
  // caption. A file that does not look like a mission replaces it only when
  // the user says so. A large file is read in the background: true then
  // means that the read has begun.
  bool LoadFile(const QString& path);

  // Status text and mouse pointer: a text means busy, empty means "Ready".
  void statusmsg(const QString& x);

  // Whether the tool kit behind the Help menu's tutorial entry is installed.
  void SetTutorialAvailable(bool available);

  int CurrentMode() const { return currentMode_; }
  bool HasFormulas() const { return hasFormulas_; }
  int FirstIconIndex() const;
  bool LeftCodeHidden() const { return leftCodeHidden_; }
  bool RightCodeHidden() const { return rightCodeHidden_; }
  const mission::Mission& LoadedMission() const { return *mission_; }

 signals:
  void helpTutorialRequested();
  void helpQXVCRequested();
  void helpAboutRequested();
  // "Always" was chosen in the Options dialog: the mission file types are to
  // be associated with this program now, not only at the next start.
  void associateFileTypesRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private slots:
  void MenuFileOpenFS1_Click();
  void MenuFileOpenFS2_Click();
  void MenuFileExit_Click();
  // The mode switch (1..8). A switch to the mode shown does nothing.
  void MenuViewMode_Click(int index);
  void MenuViewTreeView_Click();
  void MenuViewCodeL_Click();
  void MenuViewCodeR_Click();
  void MenuViewTreeViewCA_Click();
  void MenuToolsOptions_Click();
  // The toolbar's buttons, by key: "FileOpenFS1", "FileOpenFS2", "treeview".
  void Toolbar2_ButtonClick(const QString& key);
  // Selecting the row shown at `shown`. The tree follows the row's own
  // number in the list as filled, whatever order the list is shown in.
  void ListView1_ItemClick(const QModelIndex& shown);
  void ListView1_ColumnClick(int column);
  void TreeView1_NodeClick(const QModelIndex& node);
  // Lays the panes out for the current window size and state.
  void Form_Resize();

 private:
  FSMMainForm(const applib::Library* library, mission::Text settingsDirectory, Dialogs* dialogs, QWidget* parent);
  void CreateMenus();
  void CreateToolbar();
  void CreatePanes();
  void CreateTree();
  void CreateList();
  void CreateIconBar();
  void Form_Load();
  void Form_Unload();

  // Replaces the mission shown with one read from `path`.
  void ShowMission(const MissionRead& loaded, const QString& path);
  // --- A campaign shown in place of a mission ---
  // Whether view `mode` can be shown: the eight of a mission, or a
  // campaign's General and Campaign views.
  bool ModeShown(int mode) const;
  std::shared_ptr<const views::ListData> ListOf(int mode);
  // The campaign's missions, read and checked beside the window: their
  // titles, goals and events, and the campaign's problems.
  void ReadCampaignMissions();
  void CampaignMissionsArrived();
  // Enter or a double click on a row of the Campaign view opens its mission.
  void OpenCampaignMission(const QModelIndex& shown);
  // Opens the mission of row `entry` (1-based) of the Campaign view as a
  // jump, showing place `to` in it (nothing: its first view).
  void OpenCampaignMissionAt(std::size_t entry, std::optional<views::Location> to);
  void SwitchMode(int index, bool afterLoad);
  // Remembers the row the view shown is left at.
  void LeaveView();
  void ShowEntry(int mode, int row);
  // The translated formula of a row, as the Parsed code window shows it.
  QString FormulaText(int mode, int row);
  void ApplyPanes(bool clearTitle);
  void ApplyMenuStates();
  int Px(double twips) const;

  const applib::Library* library_ = nullptr;
  QString shownPath_;  // the file of the mission shown
  ViewerSettings settings_;
  QtDialogs platformDialogs_;
  Dialogs* dialogs_;

  // Shared with the check that runs off the window's thread.
  std::shared_ptr<const mission::Mission> mission_ = std::make_shared<const mission::Mission>();
  std::shared_ptr<const views::TreeLinks> links_;
  // The lists of its views, each filled once.
  views::ModeLists lists_{mission_.get()};
  // The campaign shown, when the file shown is one.
  std::shared_ptr<ShownCampaign> campaign_;
  QFutureWatcher<CampaignMissionsRead>* campaignRead_ = nullptr;

  // Window state.
  int currentMode_ = 0;
  bool hasFormulas_ = false;
  bool leftCodeHidden_ = false;
  bool rightCodeHidden_ = false;
  Panes panes_;
  ViewSorts sorts_;
  ViewPlaces places_;

  // Controls.
  QWidget* client_ = nullptr;
  Toolbar* toolbar2_ = nullptr;
  IconBar* iconBar_ = nullptr;
  TitleBar* barTop_ = nullptr;
  OutlineView* treeView1_ = nullptr;
  MissionList* listView1_ = nullptr;  // with its models: rows, sort, find filter
  CodeWindows* codeWindows_ = nullptr;
  FindBar* findBar_ = nullptr;
  StatusPanel* statusPanel_ = nullptr;

  ListClipboard* listClipboard_ = nullptr;
  ProblemsPane* problems_ = nullptr;
  EventFlowPane* flow_ = nullptr;  // the Event Flow pane
  ReferencesController* references_ = nullptr;  // Find References, its index and its pane
  MissionOpener* opener_ = nullptr;  // opening, reading, reloading, recent missions, drops
  FollowController* follow_ = nullptr;  // links, details, Back and Forward, pane boundaries, column widths

  // Menu entries.
  QMenu* menuFile_ = nullptr;
  std::array<QAction*, views::kModeCount + 1> menuViewMode_{};
  QAction* menuViewCampaign_ = nullptr;
  QAction* menuEditFind_ = nullptr;
  QAction* menuViewTreeView_ = nullptr;
  QAction* menuViewCodeL_ = nullptr;
  QAction* menuViewCodeR_ = nullptr;
  QAction* menuViewTreeViewCA_ = nullptr;
  QAction* menuHelpTutorial_ = nullptr;
  QAction* menuHelpBlank1_ = nullptr;
};

}  // namespace ui
