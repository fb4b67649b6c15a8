// The event flow graph:
//   RescueLoad / RescueDot  loading the largest public mission, 02 Rescue
//                           Force.fs2 (its path the first argument), alone
//                           and with its graph written as DOT: what
//                           --export dot adds to the load (target: at most
//                           20 ms);
//   RescueLayout            its whole picture laid out by Graphviz, read
//                           back and its unlinked events placed (target:
//                           under 300 ms);
//   SyntheticLayout         the same for a synthetic mission of 300 events
//                           with 600 edges (target: under 1 s);
//   BuildGraph/100          the graph of the 100 MB synthetic mission, as
//                           the window builds it beside itself.
// Each layout runs in a Graphviz already loaded (loading it takes a few
// milliseconds more, once per process).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "app/export.h"
#include "bench/mission/synthetic.h"
#include "graphviz/graphviz.h"
#include "mission/mission.h"
#include "views/flow.h"
#include "views/flow_picture.h"

namespace {

std::string rescue = TORVEK_SOURCE_DIR "/samples/sample.fs2";

const views::DotLayout kGraphviz = [](const std::string& dot, std::string& plain, std::string& error) {
  return graphviz::Render(dot, "plain", plain, error);
};

std::string Name(const std::string& path) { return path.substr(path.rfind('/') + 1); }

void BM_RescueLoad(benchmark::State& state) {
  for (auto _ : state) {
    mission::Mission m;
    if (!mission::LoadFile(rescue, m).ok) state.SkipWithError("cannot read the mission");
    benchmark::DoNotOptimize(m.Tree().Size());
  }
  state.SetLabel(Name(rescue));
}

// What --export dot does, into a stream that keeps the text.
void BM_RescueDot(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    mission::Mission m;
    if (!mission::LoadFile(rescue, m).ok) state.SkipWithError("cannot read the mission");
    std::ostringstream out;
    app::WriteDotExport(m, out);
    bytes = out.str().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["dot_bytes"] = static_cast<double>(bytes);
  state.SetLabel(Name(rescue));
}

void LayOut(benchmark::State& state, const mission::Mission& m) {
  const views::FlowGraph graph = views::BuildFlowGraph(m);
  std::string error;
  views::FlowPicture picture;
  if (!views::LayOutFlow(views::WholeFlowPart(graph), kGraphviz, picture, error)) {  // Graphviz loaded
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    if (!views::LayOutFlow(views::WholeFlowPart(graph), kGraphviz, picture, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(picture.width);
  }
  state.counters["nodes"] = static_cast<double>(graph.nodes.size());
  state.counters["edges"] = static_cast<double>(graph.edges.size());
  state.counters["laid_out"] = static_cast<double>(graph.nodes.size() - picture.unlinkedCount);
}

void BM_RescueLayout(benchmark::State& state) {
  mission::Mission m;
  if (!mission::LoadFile(rescue, m).ok) {
    state.SkipWithError("cannot read the mission");
    return;
  }
  LayOut(state, m);
  state.SetLabel(Name(rescue));
}

void BM_SyntheticLayout(benchmark::State& state) {
  const auto events = static_cast<int>(state.range(0));
  const auto edges = static_cast<int>(state.range(1));
  const mission::Mission m = mission::ParseMissionBytes(bench::FlowMission(events, edges));
  LayOut(state, m);
  state.SetLabel(std::to_string(events) + " events, " + std::to_string(edges) + " edges");
}

void BM_BuildGraph(benchmark::State& state) {
  mission::Mission m;
  mission::LoadFile(bench::SyntheticMissionFile(static_cast<std::size_t>(state.range(0)), {.hub = true}), m);
  std::size_t edges = 0;
  for (auto _ : state) {
    const views::FlowGraph graph = views::BuildFlowGraph(m);
    edges = graph.edges.size();
    benchmark::DoNotOptimize(edges);
  }
  state.counters["edges"] = static_cast<double>(edges);
  state.SetLabel(std::to_string(state.range(0)) + " MB with a hub");
}

BENCHMARK(BM_RescueLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RescueDot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RescueLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SyntheticLayout)->Unit(benchmark::kMillisecond)->Args({300, 600});
BENCHMARK(BM_BuildGraph)->Unit(benchmark::kMillisecond)->Arg(100)->Iterations(3);

}  // namespace

// usage: flow_bench [MISSION] [benchmark options]; MISSION defaults to the
// sample mission.
int main(int argc, char** argv) {
  if (argc > 1 && argv[1][0] != '-') {
    rescue = argv[1];
    argv[1] = argv[0];
    ++argv;
    --argc;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
