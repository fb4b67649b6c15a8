// EventFlowPane: the dock pane "Event Flow" beside the mission list, which
// draws the shown mission's events and goals and which waits on, resets or
// follows which (views/flow.h): the whole mission, or the neighbourhood of
// the selected event or goal (what it reaches and what reaches it within N
// steps, at most 300 boxes). The selected entry is highlighted and scrolled
// into view as the list's selection changes; a click on a box asks the
// window to show that entry (entryChosen); hovering a box shows the first
// lines of its translated formula (through `formulaText`); Ctrl+wheel and,
// while the pane has the focus, Ctrl+plus, Ctrl+minus and Ctrl+0 zoom;
// "Save Picture..." writes SVG or PNG.
//
// The graph is built on a worker thread when the pane is shown, and each
// picture is laid out by FlowLayouter on the layout thread. Its visibility,
// its mode and N are kept in the settings (Display/EventFlow,
// EventFlowMode, EventFlowSteps); View > "Event Flow" (Ctrl+E) shows and
// hides it.
#pragma once

#include <QDockWidget>
#include <QFutureWatcher>
#include <functional>
#include <memory>
#include <optional>

#include "mission/mission.h"
#include "ui/flow/flowlayouter.h"
#include "views/flow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QMainWindow;
class QMenu;
class QSpinBox;
class QToolButton;

namespace ui {

class FlowView;
class ViewerSettings;

class EventFlowPane : public QDockWidget {
  Q_OBJECT

 public:
  // `formulaText` gives the translated formula of row `row` of view `mode`.
  EventFlowPane(QMainWindow* window, QMenu* viewMenu, ViewerSettings& settings,
                std::function<QString(int mode, int row)> formulaText);

  // A mission is shown; `reload`: the same file read again, whose picture
  // keeps its zoom.
  void MissionShown(std::shared_ptr<const mission::Mission> mission, bool reload);
  // The list's current entry: row `row` (1-based, in file order) of view
  // `mode`; row 0 for none.
  void EntrySelected(int mode, int row);

  // Writes the picture shown as SVG (a name ending in ".svg") or PNG; false
  // with a reason when there is none or the file cannot be written.
  bool SavePicture(const QString& path, QString& error);

  // For tests and benchmarks: what is shown and how it is made.
  const views::FlowPicture* Picture() const;
  // The node of the mission's graph highlighted, if any.
  std::optional<std::uint32_t> HighlightedNode() const;
  const FlowGraphData* Graph() const { return data_.get(); }
  FlowLayouter* Layouter() const { return layouter_; }
  FlowView* View() const { return view_; }
  // The mode in use for the mission shown.
  views::FlowMode Mode() const;

 signals:
  // A box was clicked: show row `row` of view `mode`.
  void entryChosen(int mode, int row);
  // A picture (or a message in its place) is shown.
  void pictureShown();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void BuildGraph();
  void GraphBuilt();
  // Asks for the picture the mode and the selection call for.
  void Refresh();
  void LaidOut(const std::shared_ptr<const FlowResult>& result);
  void ShowMessage(const QString& text);
  void Highlight();
  void ChoiceChanged();
  void SavePictureAs();
  QString Summary(const FlowResult& result) const;
  std::optional<std::uint32_t> SelectedNode() const;

  ViewerSettings& settings_;
  std::function<QString(int, int)> formulaText_;
  FlowLayouter* layouter_;
  QFutureWatcher<std::shared_ptr<const FlowGraphData>> builder_;
  std::shared_ptr<const mission::Mission> mission_;
  std::shared_ptr<const FlowGraphData> data_;  // of mission_, once built
  std::optional<FlowRequest> shown_;           // what the picture shows
  std::optional<FlowRequest> requested_;       // asked for, not back yet
  std::shared_ptr<const FlowResult> result_;
  bool sized_ = false;   // given its first width
  bool fitNext_ = true;  // the next picture of a new mission is fitted into view
  int selectedMode_ = 0;
  int selectedRow_ = 0;

  QComboBox* mode_ = nullptr;
  QSpinBox* steps_ = nullptr;
  QCheckBox* cues_ = nullptr;
  QToolButton* save_ = nullptr;
  QLabel* info_ = nullptr;
  FlowView* view_ = nullptr;
};

}  // namespace ui
