// The mission check against loading the same mission, on a synthetic mission
// that holds references of every kind the check looks up (some naming
// nothing) and FreeSpace Open operators. The ratio LoadAndCheck / LoadFile at
// 100 MB is the figure of interest: `torvk32 --check` may take at most twice
// the load. Check alone shows the check's own share. check_bench.sh measures
// the program itself, with its peak memory.
//
// The real missions of ../shared/missions, loaded and checked one after the
// other as `torvk32 --check` does (their problems put into words), against
// loading them alone: what a CI run over a campaign costs beyond reading it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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

// The real missions, sorted by path; empty when the folder is absent.
// TORVEK_MISSIONS names another folder (a checkout that does not lie beside
// ../shared).
std::vector<std::filesystem::path> RealMissionFiles() {
  namespace fs = std::filesystem;
  const char* other = std::getenv("TORVEK_MISSIONS");
  const fs::path folder = other != nullptr ? fs::path(other) : fs::path(TORVEK_SOURCE_DIR) / ".." / "shared" / "missions";
  std::vector<fs::path> files;
  std::error_code failed;
  for (fs::recursive_directory_iterator it(folder, failed), end; !failed && it != end; it.increment(failed)) {
    const std::string ext = it->path().extension().string();
    if (ext == ".fs2" || ext == ".fsm") files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Loads every real mission and, with `check`, checks it and words its problems.
void RealMissions(benchmark::State& state, bool check) {
  const std::vector<std::filesystem::path> files = RealMissionFiles();
  if (files.empty()) state.SkipWithError("no missions in ../shared/missions");
  for (auto _ : state) {
    for (const auto& file : files) {
      mission::Mission m;
      const mission::LoadResult r = mission::LoadFile(file, m);
      if (!r.ok) state.SkipWithError(r.error.c_str());
      if (!check) continue;
      for (const views::Problem& p : views::CheckMission(m)) benchmark::DoNotOptimize(views::ProblemText(p).size());
    }
  }
  state.SetLabel(std::to_string(files.size()) + " missions");
}

void BM_RealMissionsLoad(benchmark::State& state) { RealMissions(state, false); }
void BM_RealMissionsCheck(benchmark::State& state) { RealMissions(state, true); }

BENCHMARK(BM_LoadFile)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadAndCheck)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Check)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RealMissionsLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RealMissionsCheck)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
