// The event flow picture on screen: FlowPictureItem draws a laid-out
// picture (views::FlowPicture) as one item, painting only what is exposed,
// so a picture of thousands of boxes costs no item per box; FlowView shows
// it, zooms (Ctrl+wheel, ZoomBy, Fit), tells of a click on a box and asks
// for a box's tooltip.
#pragma once

#include <QGraphicsItem>
#include <QGraphicsView>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "views/flow_picture.h"

namespace ui {

class FlowPictureItem : public QGraphicsItem {
 public:
  FlowPictureItem();

  void SetPicture(std::shared_ptr<const views::FlowPicture> picture);
  const views::FlowPicture* Picture() const { return picture_.get(); }
  // The node (of the picture's part) drawn highlighted, or none.
  void SetHighlighted(std::optional<std::uint32_t> node);
  std::optional<std::uint32_t> Highlighted() const { return highlighted_; }

  QRectF boundingRect() const override;
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 private:
  void PaintEdge(QPainter& painter, std::size_t edge, const QRectF& exposed) const;
  void PaintNode(QPainter& painter, std::size_t node, bool label) const;

  std::shared_ptr<const views::FlowPicture> picture_;
  mutable std::vector<QString> labels_;  // by node: its label as its box shows it, once painted
  std::optional<std::uint32_t> highlighted_;
};

class FlowView : public QGraphicsView {
  Q_OBJECT

 public:
  explicit FlowView(QWidget* parent = nullptr);

  FlowPictureItem* Item() const { return item_; }
  // The tooltip of a node of the picture's part.
  void SetToolTips(std::function<QString(std::uint32_t node)> toolTip) { toolTip_ = std::move(toolTip); }

  // Zoom, 1 meaning a point of the picture is a point on the screen.
  double Zoom() const;
  void SetZoom(double zoom);
  void ZoomBy(double factor);
  // The whole picture in view, never larger than at zoom 1.
  void Fit();
  // A picture seen for the first time: fitted when that leaves its text
  // readable, else at the smallest readable zoom from its top left corner.
  void Introduce();
  // Scrolls the node's box into view.
  void ShowNode(std::uint32_t node);

 signals:
  // A click (not a drag) on the box of a node of the picture's part.
  void nodeClicked(std::uint32_t node);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  std::optional<std::uint32_t> NodeAt(QPoint viewportPoint) const;

  FlowPictureItem* item_;
  std::function<QString(std::uint32_t)> toolTip_;
  QPoint pressedAt_;
};

}  // namespace ui
