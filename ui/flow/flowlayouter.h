// FlowLayouter: lays the event flow picture out beside the window. The
// graph of the shown mission is built on a worker thread (FlowGraphData);
// each picture asked for is laid out on the process's one layout thread
// (graphviz::LayoutThread), so the window never waits for Graphviz. A newer
// request replaces a waiting one, and a picture that comes back after a
// newer request was made is dropped.
#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <string>

#include "graphviz/layout_thread.h"
#include "mission/mission.h"
#include "views/flow.h"
#include "views/flow_picture.h"

namespace ui {

// The graph of one mission with what finding neighbourhoods needs.
struct FlowGraphData {
  std::shared_ptr<const mission::Mission> mission;
  views::FlowOptions options;
  views::FlowGraph graph;
  views::FlowAdjacency adjacency;
  std::size_t eventsAndGoals = 0;
};

// Builds it; run on a worker thread.
std::shared_ptr<const FlowGraphData> BuildFlowGraphData(std::shared_ptr<const mission::Mission> mission,
                                                        views::FlowOptions options);

// What one picture shows: the whole graph, or a node's neighbourhood.
struct FlowRequest {
  std::shared_ptr<const FlowGraphData> data;
  views::FlowMode mode = views::FlowMode::kWhole;
  std::uint32_t center = 0;  // a node of the graph, for a neighbourhood
  unsigned steps = 2;
  bool operator==(const FlowRequest& other) const {
    return data == other.data && mode == other.mode &&
           (mode == views::FlowMode::kWhole || (center == other.center && steps == other.steps));
  }
};

struct FlowResult {
  FlowRequest request;
  bool ok = false;
  std::string error;  // when not ok
  views::FlowPicture picture;
};

class FlowLayouter : public QObject {
  Q_OBJECT

 public:
  explicit FlowLayouter(QObject* parent = nullptr);
  // A layout still running is not waited for; its picture is dropped.
  ~FlowLayouter() override;

  // Asks for the picture; laidOut follows unless a newer request comes first.
  void Request(FlowRequest request);
  // A requested picture has not come back yet.
  bool Busy() const { return delivered_ != requested_; }
  // Pictures that came back after a newer request and were dropped.
  int Dropped() const { return dropped_; }
  // How the layout is made: Graphviz by default (tests put in their own).
  void SetLayout(views::DotLayout layout) { layout_ = std::move(layout); }

 signals:
  void laidOut(std::shared_ptr<const ui::FlowResult> result);

 private:
  void Deliver(std::uint64_t ticket, std::shared_ptr<const FlowResult> result);

  graphviz::LayoutThread::Client client_;
  views::DotLayout layout_;
  std::uint64_t requested_ = 0;
  std::uint64_t delivered_ = 0;
  int dropped_ = 0;
};

}  // namespace ui
