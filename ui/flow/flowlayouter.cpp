#include "ui/flow/flowlayouter.h"

#include <QMetaObject>

#include "graphviz/graphviz.h"

namespace ui {

std::shared_ptr<const FlowGraphData> BuildFlowGraphData(std::shared_ptr<const mission::Mission> mission,
                                                        views::FlowOptions options) {
  auto data = std::make_shared<FlowGraphData>();
  data->graph = views::BuildFlowGraph(*mission, options);
  data->adjacency = views::BuildFlowAdjacency(data->graph);
  data->eventsAndGoals = views::EventsAndGoals(data->graph);
  data->options = options;
  data->mission = std::move(mission);
  return data;
}

FlowLayouter::FlowLayouter(QObject* parent)
    : QObject(parent),
      client_(graphviz::LayoutThread::Instance().Register()),
      layout_([](const std::string& dot, std::string& plain, std::string& error) {
        return graphviz::Render(dot, "plain", plain, error);
      }) {}

FlowLayouter::~FlowLayouter() { graphviz::LayoutThread::Instance().Unregister(client_); }

void FlowLayouter::Request(FlowRequest request) {
  const std::uint64_t ticket = ++requested_;
  graphviz::LayoutThread::Instance().Post(client_, [this, ticket, request = std::move(request), layout = layout_] {
    auto result = std::make_shared<FlowResult>();
    result->request = request;
    const FlowGraphData& data = *request.data;
    views::FlowPart part;
    if (request.mode == views::FlowMode::kWhole) {
      part = views::WholeFlowPart(data.graph);
    } else {
      part = views::NeighbourhoodPart(
          data.graph, data.adjacency, views::FindNeighbourhood(data.graph, data.adjacency, request.center, request.steps));
    }
    result->ok = views::LayOutFlow(std::move(part), layout, result->picture, result->error);
    // Handed back while this layouter is registered, so it is alive; the
    // window thread takes it from there.
    return graphviz::LayoutThread::Handback([this, ticket, result = std::shared_ptr<const FlowResult>(result)] {
      QMetaObject::invokeMethod(this, [this, ticket, result] { Deliver(ticket, result); }, Qt::QueuedConnection);
    });
  });
}

void FlowLayouter::Deliver(std::uint64_t ticket, std::shared_ptr<const FlowResult> result) {
  if (ticket != requested_) {
    ++dropped_;  // a newer picture was asked for meanwhile
    return;
  }
  delivered_ = ticket;
  emit laidOut(std::move(result));
}

}  // namespace ui
