#include "views/flow_picture.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <span>
#include <unordered_map>

#include "base/compat.h"

namespace views {
namespace {

constexpr double kPointsPerInch = 72;
constexpr double kTextPadding = 7;     // on each side of a label in its box
constexpr double kGridGap = 10;        // between the boxes of the unlinked grid
constexpr double kCaptionHeight = 18;  // the unlinked grid's caption
constexpr double kGridMinWidth = 640;
constexpr double kArrowLength = 8;
constexpr double kArrowHalfWidth = 3.5;

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The advances of the printable ASCII characters in DejaVu Sans, the
// picture's face, in thousandths of an em; other characters count 0.65 em.
constexpr std::uint16_t kAdvances[95] = {
    317, 400, 459, 837, 636, 950, 779, 274, 390, 390, 500, 837, 317, 360, 317, 336,   //  !"#$%&'()*+,-./
    636, 636, 636, 636, 636, 636, 636, 636, 636, 636, 336, 336, 837, 837, 837, 530,   // 0-9:;<=>?
    1000, 684, 686, 698, 770, 631, 575, 774, 751, 294, 294, 655, 557, 862, 748, 787,  // @A-O
    603, 787, 694, 634, 610, 731, 684, 988, 685, 610, 685, 390, 336, 390, 837, 500,   // P-Z[\]^_
    500, 612, 634, 549, 634, 615, 352, 634, 633, 277, 277, 579, 277, 974, 633, 611,   // `a-o
    634, 634, 411, 520, 392, 633, 591, 817, 591, 591, 524, 636, 336, 636, 837,        // p-z{|}~
};

double Advance(char16_t c) {
  if (c == u'\u2026') return 1.0;  // the ellipsis of a cut label
  return c >= 0x20 && c < 0x7F ? kAdvances[c - 0x20] / 1000.0 : 0.65;
}

std::string Number(double value) {
  char buffer[32];
  const double rounded = std::round(value * 100) / 100;
  const auto [end, ec] = mission::ToCharsFixed(buffer, buffer + sizeof buffer, rounded == 0 ? 0.0 : rounded, 2);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  // Trailing zeros say nothing.
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text.empty() ? "0" : text;
}

std::string Colour(std::uint32_t rgb) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFFu));
  return buffer;
}

// --- Graphviz's "plain" output ---

// The words of a line of plain output; a quoted word loses its quotes.
std::vector<std::string_view> PlainWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    if (line[i] == '"') {
      std::size_t end = i + 1;
      while (end < line.size() && line[end] != '"') end += line[end] == '\\' ? 2 : 1;
      words.push_back(line.substr(i + 1, std::min(end, line.size()) - i - 1));
      i = end + 1;
    } else {
      const std::size_t end = std::min(line.find(' ', i), line.size());
      words.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return words;
}

bool ReadNumber(std::string_view word, double& value) {
  const auto [end, ec] = mission::FromChars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && end == word.data() + word.size();
}

FlowBox BoundsOf(const std::vector<FlowPoint>& points) {
  if (points.empty()) return {};
  double left = points[0].x, top = points[0].y, right = left, bottom = top;
  for (const FlowPoint& p : points) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  return {left, top, right - left, bottom - top};
}

std::uint64_t EndsKey(std::uint32_t source, std::uint32_t target) {
  return (static_cast<std::uint64_t>(source) << 32) | target;
}

// A node name of the layout's input, "n12": its number.
std::optional<std::uint32_t> NodeNumber(std::string_view name, std::size_t count) {
  std::uint32_t n = 0;
  if (name.size() < 2 || name[0] != 'n') return std::nullopt;
  const auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
  if (ec != std::errc() || end != name.data() + name.size() || n >= count) return std::nullopt;
  return n;
}

// Places the nodes without edges in rows under the rest, inside a frame
// with a caption; the picture's size follows.
void PlaceUnlinked(FlowPicture& picture, const std::vector<bool>& linked, double linkedWidth, double linkedHeight) {
  picture.unlinkedCount = static_cast<std::size_t>(std::count(linked.begin(), linked.end(), false));
  picture.width = linkedWidth;
  picture.height = linkedHeight;
  if (picture.unlinkedCount == 0) return;
  const double width = std::max(linkedWidth, kGridMinWidth) - 2 * kFlowMargin;
  FlowBox& frame = picture.unlinked;
  frame.left = kFlowMargin;
  frame.top = linkedHeight + (linkedHeight > 0 ? 0 : kFlowMargin);
  double x = frame.left + kGridGap, y = frame.top + kCaptionHeight, right = x;
  for (std::size_t n = 0; n < linked.size(); ++n) {
    if (linked[n]) continue;
    FlowBox& box = picture.boxes[n];
    box.width = FlowBoxWidth(picture.part.graph.nodes[n].label);
    box.height = kFlowBoxHeight;
    if (x > frame.left + kGridGap && x + box.width > frame.left + width - kGridGap) {
      x = frame.left + kGridGap;
      y += kFlowBoxHeight + kGridGap;
    }
    box.left = x;
    box.top = y;
    x += box.width + kGridGap;
    right = std::max(right, x);
  }
  frame.width = std::max(width, right - frame.left);
  frame.height = y + kFlowBoxHeight + kGridGap - frame.top;
  picture.width = std::max(picture.width, frame.left + frame.width + kFlowMargin);
  picture.height = frame.top + frame.height + kFlowMargin;
}

// --- SVG ---

void AppendXml(TextView text, std::string& out) {
  for (const char16_t c : text) {
    switch (c) {
      case u'&': out += "&amp;"; break;
      case u'<': out += "&lt;"; break;
      case u'>': out += "&gt;"; break;
      case u'"': out += "&quot;"; break;
      default:
        // Control characters are not allowed in XML 1.0.
        if (c < 0x20 && c != u'\t') {
          out += '?';
        } else {
          mission::AppendUtf8(TextView(&c, 1), out);
        }
    }
  }
}

std::string PointList(std::span<const FlowPoint> points) {
  std::string text;
  for (const FlowPoint& p : points) {
    if (!text.empty()) text += ' ';
    text += Number(p.x) + "," + Number(p.y);
  }
  return text;
}

std::string PathData(const std::vector<FlowPoint>& points) {
  if (points.empty()) return {};
  std::string d = "M" + Number(points[0].x) + "," + Number(points[0].y);
  const bool curves = (points.size() - 1) % 3 == 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    d += curves && (i - 1) % 3 == 0 ? " C" : (curves ? " " : " L");
    d += Number(points[i].x) + "," + Number(points[i].y);
  }
  return d;
}

void SvgNode(const FlowNode& node, const FlowBox& b, std::string& svg) {
  const FlowNodeStyle style = FlowStyleOf(node.kind);
  const std::string paint = " fill=\"" + Colour(style.fill) + "\" stroke=\"" + Colour(style.stroke) + "\"";
  const std::string rect = "x=\"" + Number(b.left) + "\" y=\"" + Number(b.top) + "\" width=\"" + Number(b.width) +
                           "\" height=\"" + Number(b.height) + "\"";
  svg += "<g><title>";
  AppendXml(node.label, svg);
  svg += "</title>";
  switch (style.shape) {
    case FlowShape::kRoundedBox: svg += "<rect " + rect + " rx=\"5\"" + paint + "/>"; break;
    case FlowShape::kHexagon: svg += "<polygon points=\"" + PointList(FlowHexagon(b)) + "\"" + paint + "/>"; break;
    case FlowShape::kBox: svg += "<rect " + rect + paint + "/>"; break;
    case FlowShape::kDoubleBox:
      svg += "<rect " + rect + paint + "/>";
      svg += "<rect x=\"" + Number(b.left + 2) + "\" y=\"" + Number(b.top + 2) + "\" width=\"" +
             Number(b.width - 4) + "\" height=\"" + Number(b.height - 4) + "\" fill=\"none\" stroke=\"" +
             Colour(style.stroke) + "\"/>";
      break;
    case FlowShape::kDashedBox: svg += "<rect " + rect + paint + " stroke-dasharray=\"3 2\"/>"; break;
  }
  const FlowPoint c = b.Center();
  svg += "<text x=\"" + Number(c.x) + "\" y=\"" + Number(c.y + kFlowFontSize * 0.35) + "\" text-anchor=\"middle\">";
  AppendXml(FitFlowLabel(node.label, b.width - 2 * kTextPadding + 2), svg);
  svg += "</text></g>\n";
}

void SvgEdge(const FlowEdge& edge, const FlowPath& path, std::string& svg) {
  if (path.points.size() < 2) return;
  const FlowEdgeStyle style = FlowStyleOf(edge.kind);
  svg += "<path d=\"" + PathData(path.points) + "\" fill=\"none\" stroke=\"" + Colour(style.stroke) + "\"";
  if (style.dash[0] > 0) svg += " stroke-dasharray=\"" + Number(style.dash[0]) + " " + Number(style.dash[1]) + "\"";
  svg += "/>";
  if (style.arrow) {
    svg += "<polygon points=\"" + PointList(FlowArrowHead(path)) + "\" fill=\"" + Colour(style.stroke) + "\"/>";
  }
  if (path.labelAt && !edge.label.empty()) {
    svg += "<text x=\"" + Number(path.labelAt->x) + "\" y=\"" + Number(path.labelAt->y + kFlowFontSize * 0.35) +
           "\" text-anchor=\"middle\" fill=\"" + Colour(style.stroke) + "\">";
    AppendXml(edge.label, svg);
    svg += "</text>";
  }
  svg += "\n";
}

}  // namespace

std::vector<FlowPoint> FlowPolyline(const std::vector<FlowPoint>& points) {
  if (points.size() < 4 || (points.size() - 1) % 3 != 0) return points;
  constexpr double kPieceLength = 6;  // points: smooth at any zoom a picture is read at
  std::vector<FlowPoint> line{points[0]};
  for (std::size_t i = 0; i + 3 < points.size(); i += 3) {
    const FlowPoint &a = points[i], &b = points[i + 1], &c = points[i + 2], &d = points[i + 3];
    // The control polygon is never shorter than the curve.
    const double length = std::hypot(b.x - a.x, b.y - a.y) + std::hypot(c.x - b.x, c.y - b.y) +
                          std::hypot(d.x - c.x, d.y - c.y);
    const int pieces = std::clamp(static_cast<int>(length / kPieceLength), 1, 64);
    for (int k = 1; k <= pieces; ++k) {
      const double t = static_cast<double>(k) / pieces, u = 1 - t;
      const double wa = u * u * u, wb = 3 * u * u * t, wc = 3 * u * t * t, wd = t * t * t;
      line.push_back({wa * a.x + wb * b.x + wc * c.x + wd * d.x, wa * a.y + wb * b.y + wc * c.y + wd * d.y});
    }
  }
  return line;
}

double FlowTextWidth(TextView text) {
  double ems = 0;
  for (const char16_t c : text) {
    if (!IsLowSurrogate(c)) ems += Advance(c);
  }
  return ems * kFlowFontSize;
}

double FlowBoxWidth(TextView label) {
  return std::clamp(FlowTextWidth(label) + 2 * kTextPadding, kFlowBoxMinWidth, kFlowBoxMaxWidth);
}

Text FitFlowLabel(TextView label, double width) {
  if (FlowTextWidth(label) <= width) return Text(label);
  const double room = width - FlowTextWidth(u"\u2026");
  double used = 0;
  std::size_t end = 0;
  while (end < label.size()) {
    std::size_t next = end + 1;
    if (next < label.size() && IsLowSurrogate(label[next])) ++next;  // a pair stays whole
    used += Advance(label[end]) * kFlowFontSize;
    if (used > room) break;
    end = next;
  }
  return Text(label.substr(0, end)) + u"\u2026";
}

FlowNodeStyle FlowStyleOf(FlowNodeKind kind) {
  switch (kind) {
    case FlowNodeKind::kEvent: return {FlowShape::kRoundedBox, 0xDCE8F7, 0x2F5F98};
    case FlowNodeKind::kGoal: return {FlowShape::kHexagon, 0xDDF2D8, 0x3C7A2E};
    case FlowNodeKind::kShip: return {FlowShape::kBox, 0xFBE8D0, 0x9A5B14};
    case FlowNodeKind::kWing: return {FlowShape::kDoubleBox, 0xF1E2F6, 0x73408A};
    case FlowNodeKind::kMore: return {FlowShape::kDashedBox, 0xFFFFFF, 0x808080};
    case FlowNodeKind::kMission: return {FlowShape::kRoundedBox, 0xFFF4D6, 0x8A6A12};
  }
  return {FlowShape::kBox, 0xFFFFFF, 0};
}

FlowEdgeStyle FlowStyleOf(FlowEdgeKind kind) {
  switch (kind) {
    case FlowEdgeKind::kTrigger: return {0x404040, {0, 0}, true};
    case FlowEdgeKind::kAction: return {0xB03A2E, {6, 3}, true};
    case FlowEdgeKind::kChain: return {0x2F5F98, {1.5, 2.5}, true};
    case FlowEdgeKind::kMore: return {0xA0A0A0, {1.5, 2.5}, false};
    case FlowEdgeKind::kBranch: return {0x404040, {0, 0}, true};
    case FlowEdgeKind::kLoop: return {0x8A6A12, {6, 3}, true};
  }
  return {0, {0, 0}, true};
}

std::array<FlowPoint, 6> FlowHexagon(const FlowBox& b) {
  const double inset = std::min(b.height / 2, b.width / 4);
  const double middle = b.top + b.height / 2, right = b.left + b.width, bottom = b.top + b.height;
  return {{{b.left, middle},
           {b.left + inset, b.top},
           {right - inset, b.top},
           {right, middle},
           {right - inset, bottom},
           {b.left + inset, bottom}}};
}

std::array<FlowPoint, 3> FlowArrowHead(const FlowPath& path) {
  const FlowPoint tip = path.points.back();
  // The direction the path arrives from: the last control point that differs.
  FlowPoint from = tip;
  for (auto p = path.points.rbegin(); p != path.points.rend() && from == tip; ++p) from = *p;
  double dx = tip.x - from.x, dy = tip.y - from.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) {
    dx = 1;
    dy = 0;
  } else {
    dx /= length;
    dy /= length;
  }
  const FlowPoint base{tip.x - dx * kArrowLength, tip.y - dy * kArrowLength};
  return {{tip, {base.x - dy * kArrowHalfWidth, base.y + dx * kArrowHalfWidth},
           {base.x + dy * kArrowHalfWidth, base.y - dx * kArrowHalfWidth}}};
}

std::vector<bool> LinkedFlowNodes(const FlowPart& part) {
  std::vector<bool> linked(part.graph.nodes.size(), false);
  for (const FlowEdge& e : part.graph.edges) linked[e.source] = linked[e.target] = true;
  return linked;
}

std::string FlowLayoutDot(const FlowPart& part, const std::vector<bool>& linked) {
  std::string dot =
      "digraph flow {\n"
      "  graph [rankdir=LR, nodesep=0.18, ranksep=0.45, margin=0]\n"
      "  node [shape=box, fixedsize=true, label=\"\", height=" +
      Number(kFlowBoxHeight / kPointsPerInch) +
      "]\n"
      "  edge [arrowhead=none, fontsize=" +
      Number(kFlowFontSize) + "]\n";
  for (std::size_t n = 0; n < part.graph.nodes.size(); ++n) {
    if (!linked[n]) continue;
    dot += "  n" + std::to_string(n) + " [width=" +
           Number(FlowBoxWidth(part.graph.nodes[n].label) / kPointsPerInch) + "]\n";
  }
  for (const FlowEdge& e : part.graph.edges) {
    dot += "  n" + std::to_string(e.source) + " -> n" + std::to_string(e.target);
    if (!e.label.empty()) {
      // The label takes room in the layout; `"` and `\` are escaped, line
      // breaks (never in a label) are left out.
      std::string label;
      for (const char c : mission::ToUtf8(e.label)) {
        if (c == '"' || c == '\\') label += '\\';
        if (c != '\n' && c != '\r') label += c;
      }
      dot += " [label=\"" + label + "\"]";
    }
    dot += "\n";
  }
  dot += "}\n";
  return dot;
}

bool ReadPlainLayout(std::string_view plain, FlowPicture& picture, std::string& error) {
  const std::size_t nodes = picture.part.graph.nodes.size();
  const std::size_t edgeCount = picture.part.graph.edges.size();
  picture.boxes.resize(nodes);
  picture.paths.resize(edgeCount);
  double height = 0;
  bool sized = false;
  // Graphviz writes the edges in an order of its own, each by its two ends:
  // an edge line is the first edge between those ends not read yet (edges
  // between the same two nodes come in the order they were given).
  const std::vector<FlowEdge>& edges = picture.part.graph.edges;
  std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> between;  // ends -> edges, last first
  for (std::size_t e = edgeCount; e-- > 0;) between[EndsKey(edges[e].source, edges[e].target)].push_back(static_cast<std::uint32_t>(e));
  std::size_t read = 0;
  std::vector<bool> linked = LinkedFlowNodes(picture.part);
  const auto at = [&](double x, double y) {
    return FlowPoint{x * kPointsPerInch + kFlowMargin, (height - y) * kPointsPerInch + kFlowMargin};
  };
  for (std::size_t start = 0; start < plain.size();) {
    const std::size_t end = std::min(plain.find('\n', start), plain.size());
    std::string_view line = plain.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> w = PlainWords(line);
    if (w.empty()) continue;
    if (w[0] == "graph") {
      double scale = 0, width = 0;
      if (w.size() < 4 || !ReadNumber(w[1], scale) || !ReadNumber(w[2], width) || !ReadNumber(w[3], height)) {
        error = "unreadable layout: " + std::string(line);
        return false;
      }
      picture.width = width * kPointsPerInch + 2 * kFlowMargin;
      picture.height = height * kPointsPerInch + 2 * kFlowMargin;
      sized = true;
    } else if (w[0] == "node" && sized) {
      double x = 0, y = 0, width = 0, h = 0;
      const std::optional<std::uint32_t> n = w.size() >= 6 ? NodeNumber(w[1], nodes) : std::nullopt;
      if (!n || !ReadNumber(w[2], x) || !ReadNumber(w[3], y) || !ReadNumber(w[4], width) || !ReadNumber(w[5], h)) {
        error = "unreadable layout: " + std::string(line);
        return false;
      }
      const FlowPoint c = at(x, y);
      picture.boxes[*n] = {c.x - width * kPointsPerInch / 2, c.y - h * kPointsPerInch / 2, width * kPointsPerInch,
                           h * kPointsPerInch};
    } else if (w[0] == "edge" && sized) {
      double count = 0;
      const std::optional<std::uint32_t> tail = w.size() >= 4 ? NodeNumber(w[1], nodes) : std::nullopt;
      const std::optional<std::uint32_t> head = w.size() >= 4 ? NodeNumber(w[2], nodes) : std::nullopt;
      const auto pending = tail && head ? between.find(EndsKey(*tail, *head)) : between.end();
      if (pending == between.end() || pending->second.empty() || !ReadNumber(w[3], count) || count < 0 ||
          w.size() < 4 + 2 * static_cast<std::size_t>(count)) {
        error = "unreadable layout: " + std::string(line);
        return false;
      }
      FlowPath& path = picture.paths[pending->second.back()];
      pending->second.pop_back();
      ++read;
      const auto points = static_cast<std::size_t>(count);
      for (std::size_t i = 0; i < points; ++i) {
        double x = 0, y = 0;
        if (!ReadNumber(w[4 + 2 * i], x) || !ReadNumber(w[5 + 2 * i], y)) {
          error = "unreadable layout: " + std::string(line);
          return false;
        }
        path.points.push_back(at(x, y));
      }
      // Then, for a labelled edge, its label and where it stands; then style and colour.
      const std::size_t rest = 4 + 2 * points;
      double x = 0, y = 0;
      if (w.size() >= rest + 5 && ReadNumber(w[rest + 1], x) && ReadNumber(w[rest + 2], y)) path.labelAt = at(x, y);
      path.line = FlowPolyline(path.points);
      path.bounds = BoundsOf(path.line);
    } else if (w[0] == "stop") {
      break;
    }
  }
  if (!sized) {
    error = "the layout gave no picture";
    return false;
  }
  if (read != edgeCount) {
    error = "the layout lost edges";
    return false;
  }
  for (std::size_t n = 0; n < nodes; ++n) {
    if (linked[n] && picture.boxes[n].Empty()) {
      error = "the layout lost nodes";
      return false;
    }
  }
  return true;
}

bool LayOutFlow(FlowPart part, const DotLayout& layout, FlowPicture& picture, std::string& error) {
  picture = FlowPicture();
  picture.part = std::move(part);
  const std::size_t nodes = picture.part.graph.nodes.size();
  picture.boxes.resize(nodes);
  picture.paths.resize(picture.part.graph.edges.size());
  if (nodes == 0) {
    picture.message = u"This mission has no events or goals.";
    return true;
  }
  const std::vector<bool> linked = LinkedFlowNodes(picture.part);
  double width = 0, height = 0;
  if (!picture.part.graph.edges.empty()) {
    std::string plain;
    if (!layout(FlowLayoutDot(picture.part, linked), plain, error)) return false;
    if (!ReadPlainLayout(plain, picture, error)) return false;
    width = picture.width;
    height = picture.height;
  }
  PlaceUnlinked(picture, linked, width, height);
  return true;
}

Text FlowUnlinkedCaption(std::size_t count) {
  return u"Without links (" + mission::Decimal(static_cast<long long>(count)) + u")";
}

Text FlowToolTip(TextView label, TextView formula, std::size_t lines) {
  Text tip(label);
  std::size_t shown = 0;
  for (std::size_t start = 0; start < formula.size();) {
    const std::size_t end = std::min(formula.find(u"\r\n", start), formula.size());
    if (shown == lines) {
      tip += u"\n\u2026";
      break;
    }
    tip += u'\n';
    tip += formula.substr(start, end - start);
    ++shown;
    start = end + 2;
  }
  return tip;
}

std::optional<std::uint32_t> FlowNodeAt(const FlowPicture& picture, FlowPoint at) {
  for (std::size_t n = 0; n < picture.boxes.size(); ++n) {
    if (!picture.boxes[n].Empty() && picture.boxes[n].Contains(at)) return static_cast<std::uint32_t>(n);
  }
  return std::nullopt;
}

std::string FlowSvg(const FlowPicture& picture) {
  const double width = std::max(picture.width, 1.0), height = std::max(picture.height, 1.0);
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    Number(width) + "pt\" height=\"" + Number(height) + "pt\" viewBox=\"0 0 " + Number(width) + " " +
                    Number(height) + "\" font-family=\"DejaVu Sans, Verdana, sans-serif\" font-size=\"" +
                    Number(kFlowFontSize) + "\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  if (!picture.message.empty()) {
    svg += "<text x=\"" + Number(kFlowMargin) + "\" y=\"" + Number(kFlowMargin + kFlowFontSize) + "\">";
    AppendXml(picture.message, svg);
    svg += "</text>\n";
  }
  const FlowGraph& graph = picture.part.graph;
  for (std::size_t e = 0; e < graph.edges.size() && e < picture.paths.size(); ++e) {
    SvgEdge(graph.edges[e], picture.paths[e], svg);
  }
  if (!picture.unlinked.Empty()) {
    const FlowBox& f = picture.unlinked;
    svg += "<rect x=\"" + Number(f.left) + "\" y=\"" + Number(f.top) + "\" width=\"" + Number(f.width) +
           "\" height=\"" + Number(f.height) + "\" fill=\"none\" stroke=\"#b0b0b0\" stroke-dasharray=\"4 3\"/>\n";
    svg += "<text x=\"" + Number(f.left + kGridGap) + "\" y=\"" + Number(f.top + kCaptionHeight - 6) +
           "\" fill=\"#606060\">";
    AppendXml(FlowUnlinkedCaption(picture.unlinkedCount), svg);
    svg += "</text>\n";
  }
  for (std::size_t n = 0; n < graph.nodes.size() && n < picture.boxes.size(); ++n) {
    if (!picture.boxes[n].Empty()) SvgNode(graph.nodes[n], picture.boxes[n], svg);
  }
  svg += "</svg>\n";
  return svg;
}

}  // namespace views
