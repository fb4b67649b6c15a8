#include "ui/list/findbar.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>


#include "ui/common/fonts.h"
#include "ui/common/qtext.h"
#include "ui/list/listmodel.h"
#include "ui/list/shownrows.h"
#include "ui/rules/rules.h"

namespace ui {

FindBar::FindBar(QAbstractItemView* list, ShownRowsModel* shown, QWidget* parent)
    : QFrame(parent),
      list_(list),
      shown_(shown),
      field_(new QLineEdit(this)),
      close_(new QToolButton(this)),
      rowCount_(new QLabel(this)) {
  setObjectName(QStringLiteral("FindBar"));
  setFont(TahomaFont());
  auto* label = new QLabel(QStringLiteral("Find:"), this);
  label->setBuddy(field_);
  field_->setObjectName(QStringLiteral("FindField"));
  field_->setPlaceholderText(QStringLiteral("Text in a row or its formula"));
  field_->setClearButtonEnabled(true);
  field_->installEventFilter(this);
  close_->setObjectName(QStringLiteral("FindClose"));
  close_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  close_->setToolTip(QStringLiteral("Close the find bar (Esc)"));
  close_->setAutoRaise(true);
  rowCount_->setObjectName(QStringLiteral("FindRowCount"));
  rowCount_->setVisible(false);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(label);
  row->addWidget(field_, 1);
  row->addWidget(close_);
  setVisible(false);

  connect(field_, &QLineEdit::textChanged, this, &FindBar::TextEdited);
  connect(close_, &QToolButton::clicked, this, &FindBar::Close);
  connect(shown_, &QAbstractItemModel::modelReset, this, &FindBar::UpdateRowCount);
  connect(shown_, &QAbstractItemModel::layoutChanged, this, &FindBar::UpdateRowCount);
}

void FindBar::Open() {
  if (!open_) {
    open_ = true;
    rowCount_->setVisible(true);
    UpdateRowCount();
    emit openedOrClosed();
  }
  field_->setFocus(Qt::ShortcutFocusReason);
  field_->selectAll();
}

void FindBar::Close() {
  field_->clear();  // every row again
  if (!open_) return;
  open_ = false;
  rowCount_->setVisible(false);
  emit openedOrClosed();
  list_->setFocus(Qt::OtherFocusReason);
}

void FindBar::Next() { Step(false); }
void FindBar::Previous() { Step(true); }

void FindBar::Step(bool backwards) {
  const int to = StepRow(list_->currentIndex().row(), shown_->rowCount(), backwards);
  if (to < 0) return;
  const QModelIndex index = shown_->index(to, 0);
  list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  list_->scrollTo(index);
}

void FindBar::TextEdited(const QString& text) {
  shown_->SetFindText(text);
  // The selected row was left out: the first row kept takes its place.
  if (!list_->currentIndex().isValid() && shown_->rowCount() > 0) Step(false);
}

void FindBar::UpdateRowCount() {
  rowCount_->setText(ToQString(RowCountText(shown_->rowCount(), shown_->List()->rowCount())));
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  // Escape in the field is the field's, before any shortcut of the window.
  if (watched == field_ && event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    event->accept();
    return true;
  }
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      Step(key->modifiers().testFlag(Qt::ShiftModifier));
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      Close();
      return true;
    }
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace ui
