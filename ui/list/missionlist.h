// MissionList: the mission list (object name ListView1), a report view over
// the rows of the view mode shown. It owns the chain of models under it: the
// rows as filled (ListModel) and the rows it shows, sorted by a column and
// kept by the find bar's text (ShownRowsModel), and the delegate that
// gives cut cells their tooltips. Rows are known by their number in the list
// as filled, whatever order the sort and the filter show them in. Without a
// mission, the list's area says how to open one (the hint "NoMissionHint");
// for a view whose section the mission lacks, it says so ("NoSectionHint",
// «This mission has no briefing.»).
#pragma once

#include <QTreeView>
#include <memory>
#include <vector>

#include "mission/mission.h"
#include "views/modes.h"

class QLabel;

namespace ui {

class ListModel;
class ShownRowsModel;

class MissionList : public QTreeView {
  Q_OBJECT

 public:
  explicit MissionList(QWidget* parent);

  ListModel* Rows() const { return rows_; }
  ShownRowsModel* Shown() const { return shown_; }
  const views::ListData& List() const;

  // The mission whose rows are shown; nullptr: none is open (the hint shows).
  void SetMission(const mission::Mission* mission);
  // New rows; columns are sized from their widths in twips. Emits
  // listReplaced when done.
  void SetList(std::shared_ptr<const views::ListData> list, int dpi);
  // The widths of the columns shown, in twips, and setting them (which is
  // not a resize by the user).
  std::vector<int> ColumnWidths(int dpi) const;
  void SetColumnWidths(const std::vector<int>& twips, int dpi);
  // Selects and shows the row shown at `shown` without emitting rowChosen.
  void SelectRow(const QModelIndex& shown);
  // Sorts by the column at `column`, ascending; the sort stays for later
  // lists.
  void SortByColumn(int column);
  // Without a mission the list leaves report view: no headers, and only the
  // rows' own texts (the first column).
  void SetReportView(bool report);

 signals:
  // The user made `shown` the current row.
  void rowChosen(const QModelIndex& shown);
  // New rows and columns, sized from their widths.
  void listReplaced();
  // The user changed the width of a column.
  void columnResized();

 private:
  ListModel* rows_;
  ShownRowsModel* shown_;
  void resizeEvent(QResizeEvent* event) override;

  QLabel* hint_;
  QLabel* absent_;
  bool mission_ = false;  // a mission is shown
  bool selecting_ = false;  // a row is being selected by the program
  bool sizing_ = false;     // columns are being sized by the program
};

}  // namespace ui
