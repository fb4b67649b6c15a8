// FSMMainForm: the viewer's main window. It holds the icon bar, the top bar,
// the mission outline tree, the mission list, the two code windows, the
// toolbar, the status bar and the menus, and it owns the loaded mission.
//
// Controls carry the object names the rest of the program and the tests use
// to find them: ListView1, TreeView1, RichTextBox1 (SEXP code), RichTextBox2
// (parsed code), StatusBar1, BarLeft, IconMode1..8, LabelMode1..8,
// BarLeftScroll1/2, IconO0_0..3, BarTop, BarTopText, Toolbar1, Toolbar2 and
// the menu actions MenuFile..., MenuView..., MenuHelp....
//
// The Help menu's commands are not carried out here: their actions emit
// helpTutorialRequested, helpQXVCRequested and helpAboutRequested, and
// SetTutorialAvailable shows or hides the tutorial entry and its separator.
#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "applib/library.h"
#include "mission/mission.h"
#include "ui/dialogs.h"
#include "ui/layout.h"
#include "views/formula_display.h"

class QAction;
class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;
class QToolBar;
class QTreeView;

namespace ui {

class ListModel;
class ListSortModel;
class OutlineTreeModel;

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

  // Reads a mission file and shows its General view. When the file cannot
  // be read, a warning names the file and the reason, and the mission shown
  // so far stays, with its list and caption.
  bool LoadFile(const QString& path);

  // The mode switch (1..8). A switch to the mode shown does nothing.
  void MenuViewMode_Click(int index);
  // Selecting row `position` (1-based, in the order the list shows).
  void ListView1_ItemClick(int position);
  void TreeView1_NodeClick(const QModelIndex& node);
  void ListView1_ColumnClick(int column);
  void MenuViewTreeViewCA_Click();
  void MenuFileOpenFS1_Click();
  void MenuFileOpenFS2_Click();
  void MenuFileExit_Click();
  void MenuViewTreeView_Click();
  void MenuViewCodeL_Click();
  void MenuViewCodeR_Click();
  // The toolbar's buttons, by key: "FileOpenFS1", "FileOpenFS2", "treeview".
  void Toolbar2_ButtonClick(const QString& key);
  void IconMode_Click(int index);
  void IconMode_MouseMove(int index);
  void BarLeft_MouseMove();
  void BarLeftScroll_Click(int index);
  void ResetButtons();
  // Status text and mouse pointer: a text means busy, empty means "Ready".
  void statusmsg(const QString& x);
  // Colours every occurrence of `x` in a code window (case-sensitive, also
  // inside longer words). `color` is 0xBBGGRR.
  static void colorize(QTextEdit* rtf, mission::TextView x, std::uint32_t color);
  // Lays the panes out for the current window size and state.
  void Form_Resize();

  // Whether the tool kit behind the Help menu's tutorial entry is installed.
  void SetTutorialAvailable(bool available);

  int CurrentMode() const { return currentMode_; }
  bool HasFormulas() const { return hasFormulas_; }
  int FirstIconIndex() const { return firstIconIndex_; }
  bool LeftCodeHidden() const { return leftCodeHidden_; }
  bool RightCodeHidden() const { return rightCodeHidden_; }
  const mission::Mission& LoadedMission() const { return mission_; }
  const Panes& CurrentPanes() const { return panes_; }
  // Twips per screen pixel, from the screen's logical resolution.
  double TwipsPerPixel() const;

 signals:
  void helpTutorialRequested();
  void helpQXVCRequested();
  void helpAboutRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  void CreateToolbar();
  void CreatePanes();
  void CreateIconBar();
  void Form_Load();
  void Form_Unload();

  void SwitchMode(int index, bool afterLoad);
  void SelectListRow(int position);
  void SelectTreeNode(std::uint32_t node, bool expand);
  void ShowFormula(const views::FormulaTexts& texts);
  void OpenMission(bool fs2);
  void ApplyPanes(bool clearTitle);
  void SetColumnWidths();
  int Px(double twips) const;

  QString ReadSetting(const QString& section, const QString& key) const;
  void WriteSetting(const QString& section, const QString& key, const QString& value);

  void RestorePosition();
  void SavePosition();
  void Build();

  const applib::Library* library_ = nullptr;
  QString settingsDirectory_;
  QtDialogs platformDialogs_;
  Dialogs* dialogs_;

  mission::Mission mission_;
  std::optional<views::TreeLinks> links_;

  // Window state.
  int currentMode_ = 0;
  bool hasFormulas_ = false;
  int firstIconIndex_ = 1;
  bool leftCodeHidden_ = false;
  bool rightCodeHidden_ = false;
  bool selectingRow_ = false;  // a row is being selected by the program
  Panes panes_;

  // Controls.
  QWidget* client_ = nullptr;
  QToolBar* toolbar2_ = nullptr;
  QWidget* toolbar1_ = nullptr;
  QFrame* barLeft_ = nullptr;
  std::array<QLabel*, kModeCount + 1> iconMode_{};
  std::array<QLabel*, kModeCount + 1> labelMode_{};
  std::array<QFrame*, 4> iconO0_{};
  std::array<QPushButton*, 3> barLeftScroll_{};
  QFrame* barTop_ = nullptr;
  QLabel* barTopText_ = nullptr;
  QTreeView* treeView1_ = nullptr;
  QTreeView* listView1_ = nullptr;
  QTextEdit* richTextBox1_ = nullptr;
  QTextEdit* richTextBox2_ = nullptr;
  QLabel* statusPanel_ = nullptr;

  ListModel* listModel_ = nullptr;
  ListSortModel* sortModel_ = nullptr;
  OutlineTreeModel* treeModel_ = nullptr;

  // Menu entries and toolbar buttons.
  std::array<QAction*, kModeCount + 1> menuViewMode_{};
  QAction* menuViewTreeView_ = nullptr;
  QAction* menuViewCodeL_ = nullptr;
  QAction* menuViewCodeR_ = nullptr;
  QAction* menuViewTreeViewCA_ = nullptr;
  QAction* menuHelpTutorial_ = nullptr;
  QAction* menuHelpBlank1_ = nullptr;
  QAction* treeviewButton_ = nullptr;
};

}  // namespace ui
