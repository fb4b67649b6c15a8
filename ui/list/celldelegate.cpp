#include "ui/list/celldelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

namespace ui {

bool ListCellDelegate::IsCut(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem shown = option;
  initStyleOption(&shown, index);
  if (shown.text != index.data(Qt::ToolTipRole).toString()) return true;  // cut by the model
  // The room Qt's item drawing leaves for the text, less its margins.
  const QWidget* widget = shown.widget;
  const QStyle* style = widget ? widget->style() : QApplication::style();
  const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &shown, widget);
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  return shown.fontMetrics.horizontalAdvance(shown.text) > room.width() - 2 * margin;
}

bool ListCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) {
  if (!event || !view || event->type() != QEvent::ToolTip) {
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }
  const QString tip = index.isValid() && IsCut(option, index) ? index.data(Qt::ToolTipRole).toString() : QString();
  // As rich text the tooltip wraps long texts instead of running off the
  // screen.
  QToolTip::showText(event->globalPos(), tip.isEmpty() ? QString() : Qt::convertFromPlainText(tip, Qt::WhiteSpaceNormal), view,
                     option.rect);
  event->setAccepted(!tip.isEmpty());
  return !tip.isEmpty();
}

}  // namespace ui
