#include "ui/window/paneboundaries.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeView>

#include "ui/common/units.h"
#include "ui/rules/settings.h"

namespace ui {

namespace {

QWidget* NewHandle(QWidget* client, const QString& name, Qt::CursorShape shape) {
  auto* handle = new QWidget(client);
  handle->setObjectName(name);
  handle->setCursor(shape);
  handle->hide();
  return handle;
}

}  // namespace

PaneBoundaries::PaneBoundaries(QWidget* client, ViewerSettings& settings, QTreeView* list,
                               std::function<void()> relayout)
    : QObject(client),
      client_(client),
      settings_(settings),
      list_(list),
      relayout_(std::move(relayout)),
      treeHandle_(NewHandle(client, QStringLiteral("TreeBoundary"), Qt::SplitHCursor)),
      listHandle_(NewHandle(client, QStringLiteral("ListBoundary"), Qt::SplitVCursor)),
      treeWidth_(settings.TreeWidth()),
      listHeight_(settings.ListHeight()) {
  for (QWidget* handle : {treeHandle_, listHandle_}) handle->installEventFilter(this);
}

double PaneBoundaries::TwipsPerPixel() const { return ui::TwipsPerPixel(*client_); }

void PaneBoundaries::Fill(LayoutInput& in) const {
  in.treeWidth = treeWidth_;
  in.listHeight = listHeight_;
  // The header and three rows, inside the list's frame.
  const int row = std::max(list_->fontMetrics().height(), list_->model() && list_->model()->rowCount() > 0
                                                              ? list_->sizeHintForRow(0)
                                                              : 0);
  const int header = list_->header()->isHidden() ? 0 : list_->header()->sizeHint().height();
  in.listMinHeight = (header + 3 * row + 2 * list_->frameWidth()) * TwipsPerPixel();
}

void PaneBoundaries::Place(const Panes& panes) {
  panes_ = panes;
  const double t = TwipsPerPixel();
  const auto place = [t](QWidget* handle, const Box& box) {
    handle->setGeometry(qRound(box.left / t), qRound(box.top / t), std::max(1, qRound(box.width / t)),
                        std::max(1, qRound(box.height / t)));
    handle->setVisible(box.visible);
    handle->raise();
  };
  place(treeHandle_, panes.treeBoundary);
  place(listHandle_, panes.listBoundary);
}

bool PaneBoundaries::eventFilter(QObject* watched, QEvent* event) {
  auto* handle = qobject_cast<QWidget*>(watched);
  if (handle != treeHandle_ && handle != listHandle_) return QObject::eventFilter(watched, event);
  const bool tree = handle == treeHandle_;
  const auto along = [tree](const QMouseEvent* mouse) {
    return tree ? mouse->globalPosition().x() : mouse->globalPosition().y();
  };
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) break;
      dragged_ = handle;
      pressedAt_ = along(mouse);
      // The list's height is measured from its top, where the find bar
      // stands while it is open.
      startValue_ = tree ? panes_.tree.width : panes_.listBoundary.top - panes_.findBar.top;
      return true;
    }
    case QEvent::MouseMove: {
      if (dragged_ != handle) break;
      const double value = startValue_ + (along(static_cast<QMouseEvent*>(event)) - pressedAt_) * TwipsPerPixel();
      (tree ? treeWidth_ : listHeight_) = value;
      relayout_();
      return true;
    }
    case QEvent::MouseButtonRelease: {
      if (dragged_ != handle) break;
      dragged_ = nullptr;
      // What is kept is where the layout put the boundary, within its limits.
      if (tree && treeWidth_) {
        treeWidth_ = panes_.tree.width;
        settings_.SetTreeWidth(treeWidth_);
      } else if (!tree && listHeight_) {
        listHeight_ = panes_.listBoundary.top - panes_.findBar.top;
        settings_.SetListHeight(listHeight_);
      }
      relayout_();
      return true;
    }
    case QEvent::MouseButtonDblClick:
      dragged_ = nullptr;
      (tree ? treeWidth_ : listHeight_) = std::nullopt;
      tree ? settings_.SetTreeWidth(std::nullopt) : settings_.SetListHeight(std::nullopt);
      relayout_();
      return true;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ui

