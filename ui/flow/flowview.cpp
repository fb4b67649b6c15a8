#include "ui/flow/flowview.h"

#include <QGraphicsScene>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "ui/common/qtext.h"

namespace ui {

namespace {

QColor Rgb(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

QRectF RectOf(const views::FlowBox& b) { return {b.left, b.top, b.width, b.height}; }

QPointF PointOf(const views::FlowPoint& p) { return {p.x, p.y}; }

// The picture's font: its em is kFlowFontSize points, the picture's unit.
QFont PictureFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(static_cast<int>(views::kFlowFontSize));
  return font;
}

constexpr double kLineWidth = 1.1;
constexpr QRgb kHighlight = 0xE07000;
constexpr double kMinZoom = 0.05;
constexpr double kMaxZoom = 8;
constexpr double kReadableZoom = 0.8;
constexpr double kSmallestText = 3.5;  // pixels: smaller labels are not drawn  // the boxes' text still reads at this zoom

}  // namespace

// --- FlowPictureItem ---

FlowPictureItem::FlowPictureItem() { setFlag(QGraphicsItem::ItemUsesExtendedStyleOption); }

void FlowPictureItem::SetPicture(std::shared_ptr<const views::FlowPicture> picture) {
  prepareGeometryChange();
  picture_ = std::move(picture);
  labels_.assign(picture_ ? picture_->boxes.size() : 0, QString());
  highlighted_.reset();
  update();
}

void FlowPictureItem::SetHighlighted(std::optional<std::uint32_t> node) {
  if (node == highlighted_) return;
  highlighted_ = node;
  update();
}

QRectF FlowPictureItem::boundingRect() const {
  if (!picture_) return {};
  return {0, 0, std::max(picture_->width, 1.0), std::max(picture_->height, 1.0)};
}

void FlowPictureItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) {
  if (!picture_) return;
  const QRectF exposed = option->exposedRect.adjusted(-4, -4, 4, 4);
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setFont(PictureFont());
  const views::FlowPicture& p = *picture_;
  if (!p.unlinked.Empty() && exposed.intersects(RectOf(p.unlinked))) {
    painter->setPen(QPen(QColor(0xB0, 0xB0, 0xB0), kLineWidth, Qt::DashLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(RectOf(p.unlinked));
    painter->setPen(QColor(0x60, 0x60, 0x60));
    painter->drawText(RectOf(p.unlinked).adjusted(10, 2, -10, 0), Qt::AlignLeft | Qt::AlignTop,
                      ToQString(views::FlowUnlinkedCaption(p.unlinkedCount)));
  }
  for (std::size_t e = 0; e < p.paths.size(); ++e) {
    const views::FlowPath& path = p.paths[e];
    if (path.line.size() < 2) continue;
    QRectF bounds = RectOf(path.bounds).adjusted(-10, -10, 10, 10);  // with the arrowhead
    if (path.labelAt) bounds |= QRectF(PointOf(*path.labelAt), QSizeF(0, 0)).adjusted(-20, -10, 20, 10);
    if (exposed.intersects(bounds)) PaintEdge(*painter, e, exposed);
  }
  // Far out the labels would be specks: the boxes alone are drawn.
  const bool labels = QStyleOptionGraphicsItem::levelOfDetailFromTransform(painter->worldTransform()) *
                          views::kFlowFontSize >= kSmallestText;
  for (std::size_t n = 0; n < p.boxes.size(); ++n) {
    if (!p.boxes[n].Empty() && exposed.intersects(RectOf(p.boxes[n]))) PaintNode(*painter, n, labels);
  }
}

void FlowPictureItem::PaintEdge(QPainter& painter, std::size_t e, const QRectF& exposed) const {
  const views::FlowPath& path = picture_->paths[e];
  const views::FlowEdge& edge = picture_->part.graph.edges[e];
  const views::FlowEdgeStyle style = views::FlowStyleOf(edge.kind);
  // The curve is drawn as its straight pieces, only those near the part
  // exposed, with a pen as wide on the screen at any zoom: long edges cross
  // the whole picture, and the painter would otherwise follow every piece.
  // One pixel wide: the painter's fast line drawing takes no wider pen.
  QPen pen(Rgb(style.stroke), 1);
  pen.setCosmetic(true);
  if (style.dash[0] > 0) pen.setDashPattern({style.dash[0], style.dash[1]});
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  QPolygonF run;
  const auto flush = [&] {
    if (run.size() >= 2) painter.drawPolyline(run);
    run.clear();
  };
  for (std::size_t i = 1; i < path.line.size(); ++i) {
    const QPointF a = PointOf(path.line[i - 1]), b = PointOf(path.line[i]);
    if (!exposed.intersects(QRectF(a, b).normalized().adjusted(-1, -1, 1, 1))) {
      flush();
      continue;
    }
    if (run.isEmpty()) run << a;
    run << b;
  }
  flush();
  if (style.arrow && path.points.size() >= 2) {
    const std::array<views::FlowPoint, 3> head = views::FlowArrowHead(path);
    const QPointF corners[] = {PointOf(head[0]), PointOf(head[1]), PointOf(head[2])};
    painter.setPen(Qt::NoPen);
    painter.setBrush(Rgb(style.stroke));
    painter.drawPolygon(corners, 3);
  }
  if (path.labelAt && !edge.label.empty()) {
    painter.setPen(Rgb(style.stroke));
    const QPointF at = PointOf(*path.labelAt);
    painter.drawText(QRectF(at.x() - 30, at.y() - 8, 60, 16), Qt::AlignCenter, ToQString(edge.label));
  }
}

void FlowPictureItem::PaintNode(QPainter& painter, std::size_t n, bool label) const {
  const views::FlowNode& node = picture_->part.graph.nodes[n];
  const views::FlowBox& box = picture_->boxes[n];
  const views::FlowNodeStyle style = views::FlowStyleOf(node.kind);
  const QRectF rect = RectOf(box);
  const bool highlighted = highlighted_ == n;
  QPen pen(highlighted ? QColor::fromRgb(kHighlight) : Rgb(style.stroke), highlighted ? 3 : kLineWidth);
  if (style.shape == views::FlowShape::kDashedBox) pen.setStyle(Qt::DashLine);
  painter.setPen(pen);
  painter.setBrush(Rgb(style.fill));
  switch (style.shape) {
    case views::FlowShape::kRoundedBox: painter.drawRoundedRect(rect, 5, 5); break;
    case views::FlowShape::kHexagon: {
      const std::array<views::FlowPoint, 6> corners = views::FlowHexagon(box);
      QPolygonF polygon;
      for (const views::FlowPoint& c : corners) polygon << PointOf(c);
      painter.drawPolygon(polygon);
      break;
    }
    case views::FlowShape::kBox:
    case views::FlowShape::kDashedBox: painter.drawRect(rect); break;
    case views::FlowShape::kDoubleBox:
      painter.drawRect(rect);
      painter.setBrush(Qt::NoBrush);
      painter.setPen(QPen(pen.color(), kLineWidth));
      painter.drawRect(rect.adjusted(2, 2, -2, -2));
      break;
  }
  if (!label) return;
  const QRectF text = rect.adjusted(6, 0, -6, 0);
  QString& shown = labels_[n];  // cut to its box once, when first painted
  if (shown.isNull()) {
    shown = painter.fontMetrics().elidedText(ToQString(node.label), Qt::ElideRight, qFloor(text.width()));
  }
  painter.setPen(Qt::black);
  painter.drawText(text, Qt::AlignCenter, shown);
}

// --- FlowView ---

FlowView::FlowView(QWidget* parent) : QGraphicsView(parent), item_(new FlowPictureItem) {
  setObjectName(QStringLiteral("EventFlowView"));
  setScene(new QGraphicsScene(this));
  scene()->addItem(item_);
  setDragMode(QGraphicsView::ScrollHandDrag);
  setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
  setRenderHint(QPainter::Antialiasing);
  setBackgroundBrush(Qt::white);
  SetZoom(1);
}

double FlowView::Zoom() const { return transform().m11() * 72.0 / logicalDpiX(); }

void FlowView::SetZoom(double zoom) {
  const double scale = std::clamp(zoom, kMinZoom, kMaxZoom) * logicalDpiX() / 72.0;
  setTransform(QTransform::fromScale(scale, scale));
}

void FlowView::ZoomBy(double factor) { SetZoom(Zoom() * factor); }

void FlowView::Fit() {
  const QRectF bounds = item_->boundingRect();
  if (bounds.isEmpty()) {
    SetZoom(1);
    return;
  }
  const QSize room = viewport()->size();
  const double fit = std::min(room.width() / bounds.width(), room.height() / bounds.height()) * 72.0 / logicalDpiX();
  SetZoom(std::min(fit * 0.98, 1.0));
  centerOn(bounds.center());
}

void FlowView::Introduce() {
  Fit();
  if (Zoom() >= kReadableZoom) return;
  SetZoom(kReadableZoom);
  const QRectF bounds = item_->boundingRect();
  const QSizeF room = mapToScene(viewport()->rect()).boundingRect().size();
  centerOn(bounds.left() + room.width() / 2, bounds.top() + room.height() / 2);
}

void FlowView::ShowNode(std::uint32_t node) {
  const views::FlowPicture* picture = item_->Picture();
  if (picture == nullptr || node >= picture->boxes.size()) return;
  const views::FlowBox& b = picture->boxes[node];
  ensureVisible(QRectF(b.left, b.top, b.width, b.height), 40, 40);
}

std::optional<std::uint32_t> FlowView::NodeAt(QPoint viewportPoint) const {
  const views::FlowPicture* picture = item_->Picture();
  if (picture == nullptr) return std::nullopt;
  const QPointF at = mapToScene(viewportPoint);
  return views::FlowNodeAt(*picture, {at.x(), at.y()});
}

void FlowView::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    ZoomBy(std::pow(1.0015, event->angleDelta().y()));
    event->accept();
    return;
  }
  QGraphicsView::wheelEvent(event);
}

void FlowView::mousePressEvent(QMouseEvent* event) {
  pressedAt_ = event->position().toPoint();
  QGraphicsView::mousePressEvent(event);
}

void FlowView::mouseReleaseEvent(QMouseEvent* event) {
  QGraphicsView::mouseReleaseEvent(event);
  const QPoint at = event->position().toPoint();
  if (event->button() != Qt::LeftButton || (at - pressedAt_).manhattanLength() > 4) return;  // a drag
  if (const auto node = NodeAt(at)) emit nodeClicked(*node);
}

bool FlowView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip && toolTip_) {
    auto* help = static_cast<QHelpEvent*>(event);
    if (const auto node = NodeAt(help->pos())) {
      QToolTip::showText(help->globalPos(), toolTip_(*node), viewport());
    } else {
      QToolTip::hideText();
    }
    return true;
  }
  return QGraphicsView::viewportEvent(event);
}

}  // namespace ui
