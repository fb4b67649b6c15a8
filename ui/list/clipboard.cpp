#include "ui/list/clipboard.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QTextEdit>
#include <QTreeView>
#include <algorithm>
#include <vector>

#include "ui/common/qtext.h"
#include "ui/list/listmodel.h"
#include "ui/rules/rules.h"

namespace ui {

// --- ListClipboard ---

ListClipboard::ListClipboard(QTreeView* list) : QObject(list), list_(list) {
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QWidget::customContextMenuRequested, this, &ListClipboard::ShowContextMenu);
}

bool ListClipboard::HasSelectedRows() const {
  return list_->selectionModel() && list_->selectionModel()->hasSelection();
}

void ListClipboard::CopyRows() {
  const ListModel* model = BaseListModel(list_->model());
  if (!model || !HasSelectedRows()) return;
  std::vector<int> shown;
  for (const QItemSelectionRange& range : list_->selectionModel()->selection()) {
    for (int r = range.top(); r <= range.bottom(); ++r) shown.push_back(r);
  }
  std::sort(shown.begin(), shown.end());
  shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
  std::vector<std::size_t> rows;
  rows.reserve(shown.size());
  for (const int r : shown) {
    if (const int row = ListRowOf(list_->model()->index(r, 0)); row >= 0) rows.push_back(static_cast<std::size_t>(row));
  }
  QGuiApplication::clipboard()->setText(ToQString(ListRowsText(model->List(), rows)));
}

void ListClipboard::CopyCell(const QModelIndex& cell) {
  const ListModel* model = BaseListModel(list_->model());
  const int row = ListRowOf(cell);
  if (!model || row < 0) return;
  const auto& cells = model->List().rows[static_cast<std::size_t>(row)].cells;
  const auto column = static_cast<std::size_t>(cell.column());
  QGuiApplication::clipboard()->setText(column < cells.size() ? ToQString(cells[column]) : QString());
}

void ListClipboard::ShowContextMenu(const QPoint& position) {
  const QModelIndex cell = list_->indexAt(position);
  QMenu menu(list_);
  menu.setObjectName(QStringLiteral("ListView1Menu"));
  QAction* copy = menu.addAction(tr("&Copy"), this, &ListClipboard::CopyRows);
  copy->setObjectName(QStringLiteral("ListCopy"));
  copy->setEnabled(HasSelectedRows());
  QAction* copyCell = menu.addAction(tr("Copy c&ell"), this, [this, cell] { CopyCell(cell); });
  copyCell->setObjectName(QStringLiteral("ListCopyCell"));
  copyCell->setEnabled(cell.isValid());
  emit contextMenuAboutToShow(&menu, cell);
  menu.exec(list_->viewport()->mapToGlobal(position));
}

// --- CopyShortcut ---

CopyShortcut::CopyShortcut(QWidget* window, QTextEdit* sexp, QTextEdit* parsed, ListClipboard* list,
                           QTreeView* listView)
    : QObject(window), sexp_(sexp), parsed_(parsed), list_(list), listView_(listView) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_C), window);
  shortcut->setObjectName(QStringLiteral("CopyShortcut"));
  shortcut->setContext(Qt::WindowShortcut);
  connect(shortcut, &QShortcut::activated, this, &CopyShortcut::Pressed);
}

void CopyShortcut::Pressed() {
  const QWidget* focus = QApplication::focusWidget();
  const auto has = [focus](const QWidget* w) { return focus && (focus == w || w->isAncestorOf(focus)); };
  CopyState state;
  state.focus = has(sexp_)       ? FocusPane::kSexpCode
                : has(parsed_)   ? FocusPane::kParsedCode
                : has(listView_) ? FocusPane::kList
                                 : FocusPane::kOther;
  // A hidden window's selection is out of sight and out of reach.
  state.sexpSelected = sexp_->isVisible() && sexp_->textCursor().hasSelection();
  state.parsedSelected = parsed_->isVisible() && parsed_->textCursor().hasSelection();
  state.rowsSelected = listView_->isVisible() && list_->HasSelectedRows();
  switch (CtrlCSource(state)) {
    case CopySource::kSexpSelection:
      sexp_->copy();
      break;
    case CopySource::kParsedSelection:
      parsed_->copy();
      break;
    case CopySource::kListRows:
      list_->CopyRows();
      break;
    case CopySource::kNothing:
      emit unclaimed();
      break;
  }
}

}  // namespace ui
