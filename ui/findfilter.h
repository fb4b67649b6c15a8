// FindFilterModel: the rows the find bar keeps. It sits above the list's
// sort model and passes on the rows in which views::RowSearch finds the find
// text (a cell, or the lines of the row's formula, ignoring case); with no
// text it passes every row. It owns the search over the list shown, built
// when a text is first searched in a list and dropped whenever the list or
// the mission is replaced, and the rows found for the current text. Sorting
// stays the sort model's job; this model never sorts.
#pragma once

#include <QSortFilterProxyModel>
#include <memory>
#include <vector>

#include "mission/mission.h"
#include "views/find.h"

namespace ui {

class ListModel;

class FindFilterModel : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  // `list` is the model at the bottom of the chain, whose rows are searched.
  explicit FindFilterModel(const ListModel* list, QObject* parent = nullptr);
  ~FindFilterModel() override;

  // The mission whose formula lines are searched; null while it is being
  // replaced.
  void SetMission(const mission::Mission* mission);

  // Keeps only the rows that hold `text`; the empty text keeps every row.
  void SetFindText(const QString& text);
  const QString& FindText() const { return text_; }

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  // Builds the search and the rows found for the current text when they are
  // missing (after the list or the text changed).
  void Search(const std::vector<char>* within = nullptr) const;
  void Forget();

  const ListModel* list_;
  const mission::Mission* mission_ = nullptr;
  QString text_;
  mutable std::unique_ptr<views::RowSearch> search_;
  mutable std::vector<char> found_;  // by list row; empty until searched
  mutable bool searched_ = false;
};

}  // namespace ui
