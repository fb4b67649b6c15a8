// The event flow graph as a picture: where each box and each edge goes, and
// the picture as SVG. The positions come from Graphviz's "dot" layout (left
// to right), which runs elsewhere: this part writes its input, reads its
// "plain" output and adds what it does not do. Nodes without any edge are
// not laid out by it; they stand apart in a grid under the connected part,
// so that part stays readable.
//
// Coordinates are points (1/72 inch), x to the right, y downwards, the
// picture's top left corner at (0, 0). Pure functions, without Graphviz.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "views/flow.h"

namespace views {

struct FlowPoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const FlowPoint&, const FlowPoint&) = default;
};

struct FlowBox {
  double left = 0, top = 0, width = 0, height = 0;
  FlowPoint Center() const { return {left + width / 2, top + height / 2}; }
  bool Contains(FlowPoint p) const { return p.x >= left && p.x <= left + width && p.y >= top && p.y <= top + height; }
  bool Empty() const { return width <= 0 || height <= 0; }
};

struct FlowPath {
  // A chain of cubic Bézier curves: the start, then three points for each
  // curve. Ends on the target's border.
  std::vector<FlowPoint> points;
  std::optional<FlowPoint> labelAt;  // the centre of the edge's label
  // The curves as straight pieces close enough to draw (FlowPolyline), and
  // the box around them.
  std::vector<FlowPoint> line;
  FlowBox bounds;
};

// A chain of cubic Bézier curves as a line of straight pieces, each at most
// a few points long, from the first point to the last. Points that are not
// such a chain are joined as they are.
std::vector<FlowPoint> FlowPolyline(const std::vector<FlowPoint>& points);

struct FlowPicture {
  FlowPart part;                  // what is drawn
  std::vector<FlowBox> boxes;     // per node of the part
  std::vector<FlowPath> paths;    // per edge of the part
  FlowBox unlinked;               // the frame around the nodes without edges; empty when there are none
  std::size_t unlinkedCount = 0;
  double width = 0, height = 0;   // of the whole picture
  Text message;                   // shown instead of a picture (no events or goals)
};

// --- Sizes and looks, shared by the window and the SVG ---

constexpr double kFlowFontSize = 9;      // points
constexpr double kFlowBoxHeight = 22;
constexpr double kFlowBoxMinWidth = 44;
constexpr double kFlowBoxMaxWidth = 220;
constexpr double kFlowMargin = 12;

// The width of a label in the picture's font, estimated from its letters
// (the same on every machine, so the layout does not depend on fonts).
double FlowTextWidth(TextView text);
// The box width for a label: the text with room on both sides, within
// kFlowBoxMinWidth .. kFlowBoxMaxWidth.
double FlowBoxWidth(TextView label);
// The label cut with "…" to fit `width` (by FlowTextWidth).
Text FitFlowLabel(TextView label, double width);

enum class FlowShape : std::uint8_t { kRoundedBox, kHexagon, kBox, kDoubleBox, kDashedBox };
struct FlowNodeStyle {
  FlowShape shape;
  std::uint32_t fill;    // 0xRRGGBB
  std::uint32_t stroke;  // 0xRRGGBB
};
struct FlowEdgeStyle {
  std::uint32_t stroke;       // 0xRRGGBB
  std::array<double, 2> dash;  // dash and gap, in line widths; {0, 0}: solid
  bool arrow;
};
FlowNodeStyle FlowStyleOf(FlowNodeKind kind);
FlowEdgeStyle FlowStyleOf(FlowEdgeKind kind);
// The corners of a hexagon filling a box.
std::array<FlowPoint, 6> FlowHexagon(const FlowBox& box);
// The two corners of an arrowhead whose tip ends a path, pointing along it.
std::array<FlowPoint, 3> FlowArrowHead(const FlowPath& path);

// --- Layout ---

// Which nodes of a part have an edge (to another node or to themselves):
// those are laid out by Graphviz.
std::vector<bool> LinkedFlowNodes(const FlowPart& part);

// Graphviz's input for the linked nodes of a part: nodes n0, n1, ... (their
// numbers in the part) as fixed-size boxes, edges without arrows (the
// picture draws its own), a chain's delay as the edge's label, left to right.
std::string FlowLayoutDot(const FlowPart& part, const std::vector<bool>& linked);

// Reads Graphviz's "plain" output for that input into the boxes and paths of
// `picture` (whose part was laid out); the unlinked nodes are left alone.
// False with a reason when the text is not such output.
bool ReadPlainLayout(std::string_view plain, FlowPicture& picture, std::string& error);

// Runs the layout: given Graphviz's input in DOT, gives its "plain" output,
// or false with a reason.
using DotLayout = std::function<bool(const std::string& dot, std::string& plain, std::string& error)>;

// The picture of a part: the linked nodes laid out by `layout` (not called
// when no node has an edge), the others in a grid under them, the picture's
// size. A part without nodes gives the message "This mission has no events
// or goals." and no layout. False with a reason when the layout failed.
bool LayOutFlow(FlowPart part, const DotLayout& layout, FlowPicture& picture, std::string& error);

// The caption over the nodes without edges: «Without links (3)».
Text FlowUnlinkedCaption(std::size_t count);

// A box's tooltip: its label, then the first `lines` lines of its formula
// (the Parsed code window's text, lines split at CR LF), with a line "…"
// when the formula has more.
Text FlowToolTip(TextView label, TextView formula, std::size_t lines = 12);

// The node whose box holds `at`, if any.
std::optional<std::uint32_t> FlowNodeAt(const FlowPicture& picture, FlowPoint at);

// The picture as an SVG document (UTF-8).
std::string FlowSvg(const FlowPicture& picture);

}  // namespace views
