// The mission check against loading the same mission, on a synthetic mission
// that holds references of every kind the check looks up (some naming
// nothing) and FreeSpace Open operators. The ratio LoadAndCheck / LoadFile at
// 100 MB is the figure of interest: `torvk32 --check` may take at most twice
// the load. Check alone shows the check's own share. check_bench.sh measures
// the program itself, with its peak memory.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/mission/synthetic.h"
#include "mission/mission.h"
#include "views/check.h"

namespace {

std::string MissionFile(const benchmark::State& state) {
  return bench::SyntheticMissionFile(static_cast<std::size_t>(state.range(0)), {.references = true});
}

void BM_LoadFile(benchmark::State& state) {
  const std::string path = MissionFile(state);
  for (auto _ : state) {
    mission::Mission m;
    const mission::LoadResult r = mission::LoadFile(path, m);
    if (!r.ok) state.SkipWithError(r.error.c_str());
    benchmark::DoNotOptimize(m.FileLineCount());
  }
  state.SetLabel(std::to_string(state.range(0)) + " MB");
}

void BM_LoadAndCheck(benchmark::State& state) {
  const std::string path = MissionFile(state);
  std::size_t problems = 0;
  for (auto _ : state) {
    mission::Mission m;
    const mission::LoadResult r = mission::LoadFile(path, m);
    if (!r.ok) state.SkipWithError(r.error.c_str());
    problems = views::CheckMission(m).size();
    benchmark::DoNotOptimize(problems);
  }
  state.SetLabel(std::to_string(state.range(0)) + " MB, " + std::to_string(problems) + " problems");
}

void BM_Check(benchmark::State& state) {
  mission::Mission m;
  const mission::LoadResult r = mission::LoadFile(MissionFile(state), m);
  if (!r.ok) state.SkipWithError(r.error.c_str());
  for (auto _ : state) benchmark::DoNotOptimize(views::CheckMission(m).size());
  state.SetLabel(std::to_string(state.range(0)) + " MB");
}

BENCHMARK(BM_LoadFile)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadAndCheck)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Check)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
