// ColumnWidths: each view's column widths, kept in the settings (section
// Columns, one key per view) when the user changes them, and given back to
// the view's columns whenever the view is filled again, also after a
// restart. Kept widths whose number differs from the view's columns are
// not used: the view keeps its design widths. The sort is not touched.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

namespace ui {

class MissionList;
class ViewerSettings;

class ColumnWidths : public QObject {
  Q_OBJECT

 public:
  // `currentMode` tells the view the list shows.
  ColumnWidths(MissionList* list, ViewerSettings& settings, std::function<int()> currentMode);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Restore();
  void Keep();

  MissionList* list_;
  ViewerSettings& settings_;
  std::function<int()> currentMode_;
  // Widths changed by the user and not yet written: a column is dragged
  // through many widths, and only the one it is let go at is written.
  int pendingMode_ = 0;
  std::vector<int> pending_;
};

}  // namespace ui
