// ShownRowsModel: the rows of the mission list that its view shows, in the
// order it shows them. It sits on the list model (ListModel) and passes on
// its rows sorted by a column (views::SortedRows: by value or in natural
// order, either way; the sort stays for later lists until it is set anew)
// and kept by the find bar's text: the rows in which views::RowSearch finds
// the text (a cell, or the lines of the row's formula, ignoring case); with
// no text, every row. A column the list does not have leaves the list's own
// order.
//
// With neither a sort nor a text the rows are the list's own, one to one,
// and nothing is worked out per row: a new list of 100,000 rows costs the
// view only its own layout. Otherwise the model keeps the list rows it
// shows, in order, and the position of each list row, so that both ways of
// mapping are a look-up. A new sort or text is one change of layout for the
// whole list; the view's selection follows its rows. The order a column
// gives a list is kept as long as the list, so a view switched back to is
// not sorted again.
#pragma once

#include <QAbstractProxyModel>
#include <functional>
#include <memory>
#include <vector>

#include "mission/mission.h"
#include "ui/list/listmodel.h"
#include "views/find.h"
#include "views/sort.h"

namespace ui {


class ShownRowsModel : public QAbstractProxyModel {
  Q_OBJECT

 public:
  explicit ShownRowsModel(ListModel* list, QObject* parent = nullptr);
  ~ShownRowsModel() override;

  const ListModel* List() const { return list_; }

  // The mission whose formula lines are searched; null while it is being
  // replaced.
  void SetMission(const mission::Mission* mission);

  // Keeps only the rows that hold `text`; the empty text keeps every row.
  void SetFindText(const QString& text);
  const QString& FindText() const { return text_; }

  // Sorts this list and the lists that follow as `sort` says.
  void SetSort(views::ColumnSort sort);
  views::ColumnSort Sort() const { return sort_; }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
  QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

 private:
  // The list row shown at `row`, which must be a row shown.
  int ListRowAt(int row) const;
  bool OneToOne() const { return !sorted_ && text_.isEmpty(); }
  // Finds the current text in the list, within the rows of `within` when
  // given.
  void Search(const std::vector<char>* within = nullptr);
  // Works out the rows to show from the list, the sort and the text.
  void Arrange();
  // Makes `change` (to the sort or the text) and arranges the rows anew, as
  // one change of layout; the persistent indexes (the view's selection)
  // follow their list rows.
  void Rearrange(const std::function<void()>& change);
  void ListAboutToBeReplaced();
  void ListReplaced();

  ListModel* list_;
  const mission::Mission* mission_ = nullptr;
  views::ColumnSort sort_;
  bool sorted_ = false;  // sorted by a column of the list's
  QString text_;

  std::vector<int> shown_;     // list rows in the order shown, unless one to one
  std::vector<int> position_;  // by list row: where it is shown, or -1

  // The order worked out for each list still alive.
  struct ListOrder {
    views::ColumnSort sort;
    std::vector<int> rows;
  };
  const std::vector<int>& OrderOfList();
  PerList<ListOrder> orders_;

  std::unique_ptr<views::RowSearch> search_;  // over the current list, once searched
  std::vector<char> found_;                   // by list row, for the current text
  bool searched_ = false;                     // found_ is the current text's
};

}  // namespace ui
