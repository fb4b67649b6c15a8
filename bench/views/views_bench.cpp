// The eight view fillers together against loading the same mission: the
// ratio AllFillers / LoadFile at 100 MB is the figure of interest (at most
// 1). Single fillers show where the time goes. The whole export is measured
// by export_bench.sh around the program itself.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/mission/synthetic.h"
#include "mission/mission.h"
#include "views/formula_display.h"
#include "views/modes.h"

namespace {

const mission::Mission& LoadedMission(std::size_t megabytes) {
  static std::size_t loadedSize = 0;
  static mission::Mission loaded;
  if (loadedSize != megabytes) {
    loaded = mission::Mission();
    mission::LoadFile(bench::SyntheticMissionFile(megabytes), loaded);
    loadedSize = megabytes;
  }
  return loaded;
}

void BM_LoadFile(benchmark::State& state) {
  const std::string path = bench::SyntheticMissionFile(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    mission::Mission m;
    const mission::LoadResult r = mission::LoadFile(path, m);
    if (!r.ok) state.SkipWithError(r.error.c_str());
    benchmark::DoNotOptimize(m.Tree().Size());
  }
  state.SetLabel(std::to_string(state.range(0)) + " MB");
}

void BM_AllFillers(benchmark::State& state) {
  const mission::Mission& m = LoadedMission(static_cast<std::size_t>(state.range(0)));
  std::size_t rows = 0;
  for (auto _ : state) {
    rows = 0;
    for (int mode = 1; mode <= views::kModeCount; ++mode) rows += views::FillMode(mode, m).rows.size();
    benchmark::DoNotOptimize(rows);
  }
  state.SetLabel(std::to_string(state.range(0)) + " MB, " + std::to_string(rows) + " rows");
}

void BM_OneFiller(benchmark::State& state) {
  const mission::Mission& m = LoadedMission(100);
  const int mode = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(views::FillMode(mode, m).rows.size());
  state.SetLabel(std::string(mission::ToUtf8(views::ModeOf(mode).title)) + ", 100 MB");
}

void BM_TreeLinks(benchmark::State& state) {
  const mission::Mission& m = LoadedMission(100);
  for (auto _ : state) {
    const views::TreeLinks links(m.Tree());
    benchmark::DoNotOptimize(links.RowNode(views::kModeEvents, 1));
  }
}

BENCHMARK(BM_LoadFile)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AllFillers)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OneFiller)->DenseRange(1, 8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeLinks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
