// ReferencesPane: the References pane (ReferencesPane), a dock at the foot of
// the window that lists every place whose formula names a name: the list
// (ReferencesList, columns "Where" and "Line") and a line above it that says
// what was looked up (ReferencesSummary). It owns the list's model and the
// name waiting for the index: asked before the index of the mission shown
// is ready, it says it is looking and fills the list when the index comes;
// the index itself belongs to the ReferenceIndexer it is given. When the
// mission is replaced, the list empties and the name is looked up again in
// the new mission once its index is ready. A click on
// a place (or Enter) reports it by placeActivated; where to go is the
// window's business.
#pragma once

#include <QAbstractTableModel>
#include <QDockWidget>
#include <vector>

#include "base/text.h"
#include "views/location.h"
#include "views/references.h"

class QLabel;
class QTreeView;

namespace ui {

class ReferenceIndexer;

// The places found for one name, as the pane lists them. The texts are
// copies, so the list never reads a mission that has gone.
class ReferencesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetReferences(const std::vector<views::Reference>& references);
  views::Location LocationAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  struct Entry {
    QString where;
    QString line;
    views::Location at;
  };
  std::vector<Entry> entries_;
};

class ReferencesPane : public QDockWidget {
  Q_OBJECT

 public:
  // Starts hidden; `indexer` must outlive the pane.
  ReferencesPane(const ReferenceIndexer* indexer, QWidget* parent);

  // Shows the pane with the places that name `name` (with `variable`: that
  // read or change the variable `name`), or, while the index is being
  // built, says so and lists them once it is ready.
  void Find(mission::TextView name, bool variable = false);

 signals:
  void placeActivated(const views::Location& where);

 private:
  void IndexReady();
  void IndexDropped();
  void List(const views::ReferenceIndex& index);
  QString Looking() const;

  const ReferenceIndexer* indexer_;
  QLabel* summary_;
  QTreeView* list_;
  ReferencesModel* model_;
  mission::Text name_;   // looked up last
  bool variable_ = false;  // name_ is a variable's
  bool waiting_ = false;  // for the index
};

}  // namespace ui
