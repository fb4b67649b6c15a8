// MissionList: the mission list (object name ListView1), a report view over
// the rows of the view mode shown. It owns the chain of models under it: the
// rows as filled (ListModel) and the rows it shows, sorted by a column and
// kept by the find bar's text (ShownRowsModel), and the delegate that
// gives cut cells their tooltips. Rows are known by their number in the list
// as filled, whatever order the sort and the filter show them in. In place
// of rows the list's area can say something: the hint "ListHint" (how to
// open a mission while none is shown, or that the file shown holds none of
// a mission's sections), and for a view whose section the mission lacks,
// "NoSectionHint" («This mission has no briefing.»). The row made current
// stays in view when the rows are sorted or kept anew.
#pragma once

#include <QTreeView>
#include <memory>
#include <vector>

#include "mission/mission.h"
#include "ui/list/listmodel.h"
#include "views/modes.h"
#include "views/sort.h"

class QLabel;

namespace ui {

class ShownRowsModel;

class MissionList : public QTreeView {
  Q_OBJECT

 public:
  explicit MissionList(QWidget* parent);

  ListModel* Rows() const { return rows_; }
  ShownRowsModel* Shown() const { return shown_; }
  const views::ListData& List() const;

  // The mission whose rows are shown; nullptr while it is replaced.
  void SetMission(const mission::Mission* mission);
  // What the list's area says; the empty text says nothing.
  void SetHint(const QString& hint);
  // New rows. Columns are sized from their widths in twips, widened where
  // their caption (with the header's sort arrow) or their longest number
  // would not fit. Emits listReplaced when done.
  void SetList(std::shared_ptr<const views::ListData> list, int dpi);
  // The widths of the columns shown, in twips, and setting them (which is
  // not a resize by the user).
  std::vector<int> ColumnWidths(int dpi) const;
  void SetColumnWidths(const std::vector<int>& twips, int dpi);
  // Selects and shows the row shown at `shown` without emitting rowChosen.
  void SelectRow(const QModelIndex& shown);
  // Sorts as `sort` says, with the header's arrow on the column sorted by
  // (none for the file order); the sort stays for later lists.
  void SetSort(views::ColumnSort sort);
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
  void resizeEvent(QResizeEvent* event) override;
  // The width in pixels that column `column` of the list needs at least.
  int NeededWidth(std::size_t column) const;
  void ShowSortArrow();
  // Shows the missing section's text when the view has one to say.
  void ShowAbsent();

  ListModel* rows_;
  ShownRowsModel* shown_;
  PerList<std::vector<int>> fitted_;  // each list's column widths, in twips

  QLabel* hint_;
  QLabel* absent_;
  bool mission_ = false;  // a mission is shown
  bool selecting_ = false;  // a row is being selected by the program
  bool sizing_ = false;     // columns are being sized by the program
};

}  // namespace ui
