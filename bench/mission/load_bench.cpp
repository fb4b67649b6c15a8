// Loading a mission against baselines that only read the same file and split
// it into lines: keeping the lines (ReadAndSplitLines, what a loader that
// keeps every line must do at least) and only counting them
// (ReadAndCountLines, the bare speed of reading). The ratio LoadFile /
// ReadAndSplitLines at the same size is the figure of interest; LoadFile at
// 100 MB / 10 MB shows how time grows.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "bench/mission/synthetic.h"
#include "mission/mission.h"

namespace {

void BM_ReadAndSplitLines(benchmark::State& state) {
  const std::string path = bench::SyntheticMissionFile(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetLabel(std::to_string(state.range(0)) + " MB");
}

void BM_ReadAndCountLines(benchmark::State& state) {
  const std::string path = bench::SyntheticMissionFile(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::size_t lines = 0;
    while (std::getline(in, line)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetLabel(std::to_string(state.range(0)) + " MB");
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

BENCHMARK(BM_ReadAndCountLines)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadAndSplitLines)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadFile)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
