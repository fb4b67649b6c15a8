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
//
// A campaign of 50 missions of 500 KB each checked by `torvk32 --check
// CAMPAIGN` against checking the 50 missions alone: the campaign's own
// check (its branches, the missions' goals, events, variables and
// is-previous-* operators) may take at most as long again.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fstream>
#include <sstream>

#include "app/check.h"
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

// The campaign's folder, written once into the temporary folder: missions
// M01.fs2 ... M50.fs2, each branching to the next on a goal of its own, and
// the campaign file c.fc2. Returns the campaign's path and the missions'.
std::pair<std::string, std::vector<std::string>> CampaignFolder() {
  namespace fs = std::filesystem;
  constexpr int kMissions = 50;
  const fs::path folder = fs::temp_directory_path() / "torvek_bench_campaign_50x500k";
  std::vector<std::string> missions;
  std::string campaign = "$Name: Bench\r\n$Type: single\r\n";
  for (int i = 1; i <= kMissions; ++i) {
    const std::string name = (i < 10 ? "M0" : "M") + std::to_string(i) + ".fs2";
    missions.push_back((folder / name).string());
    const std::string next = (i + 1 < 10 ? "M0" : "M") + std::to_string(i + 1) + ".fs2";
    campaign += "$Mission: " + name + "\r\n+Flags: 0\r\n+Main Hall: \r\n+Formula: ( cond\r\n";
    if (i < kMissions) {
      campaign += "   ( ( is-previous-goal-true \"" + name + "\" \"Goal 1\" ) ( next-mission \"" + next + "\" ) )\r\n";
    }
    campaign += "   ( ( true ) ( next-mission \"" + name + "\" ) )\r\n)\r\n+Level: " + std::to_string(i - 1) +
                "\r\n+Position: 1\r\n";
  }
  campaign += "#End\r\n";
  const fs::path path = folder / "c.fc2";
  if (!fs::exists(path)) {
    fs::create_directories(folder);
    for (int i = 0; i < kMissions; ++i) {
      std::ofstream(missions[static_cast<std::size_t>(i)], std::ios::binary)
          << bench::SyntheticMission(500 * 1024, static_cast<unsigned>(i + 1), {.references = true});
    }
    std::ofstream(path, std::ios::binary) << campaign;
  }
  return {path.string(), missions};
}

void RunChecks(benchmark::State& state, std::vector<std::string> files, std::size_t missions) {
  app::CheckOptions options;
  options.files = std::move(files);
  std::string summary;
  for (auto _ : state) {
    std::istringstream in;
    std::ostringstream out, err;
    app::RunCheck(options, in, out, err);
    benchmark::DoNotOptimize(out.str().size());
    summary = err.str();
  }
  if (summary.find(" in " + std::to_string(missions) + " missions") == std::string::npos) {
    state.SkipWithError(("not every mission was checked: " + summary).c_str());
  }
  if (!summary.empty()) summary.pop_back();
  state.SetLabel(summary);
}

void BM_CheckCampaignMissionsAlone(benchmark::State& state) { RunChecks(state, CampaignFolder().second, 50); }
void BM_CheckCampaign(benchmark::State& state) { RunChecks(state, {CampaignFolder().first}, 50); }

BENCHMARK(BM_LoadFile)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadAndCheck)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Check)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RealMissionsLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RealMissionsCheck)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CheckCampaignMissionsAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CheckCampaign)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
