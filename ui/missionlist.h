// MissionList: the mission list (object name ListView1), a report view over
// the rows of the view mode shown. It owns the chain of models under it: the
// rows as filled (ListModel), the column sort (ListSortModel) and the find
// bar's filter (FindFilterModel), whose rows it shows, and the delegate that
// gives cut cells their tooltips. Rows are known by their number in the list
// as filled, whatever order the sort and the filter show them in.
#pragma once

#include <QTreeView>

#include "mission/mission.h"
#include "views/modes.h"

namespace ui {

class FindFilterModel;
class ListModel;
class ListSortModel;

class MissionList : public QTreeView {
  Q_OBJECT

 public:
  explicit MissionList(QWidget* parent);

  ListModel* Rows() const { return rows_; }
  FindFilterModel* Filter() const { return filter_; }
  const views::ListData& List() const;

  void SetMission(const mission::Mission* mission);
  // New rows; columns are sized from their widths in twips.
  void SetList(views::ListData list, int dpi);
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

 private:
  ListModel* rows_;
  ListSortModel* sort_;
  FindFilterModel* filter_;
  bool selecting_ = false;  // a row is being selected by the program
};

}  // namespace ui
