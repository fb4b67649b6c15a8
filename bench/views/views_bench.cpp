// The view fillers together against loading the same mission: the
// ratio AllFillers / LoadFile at 100 MB is the figure of interest (at most
// 1). ExportJson (load, views, every formula, JSON into a stream that
// discards it) against LoadFile should stay at most 4. Single fillers and
// AllFormulas show where the time goes. export_peak_bench measures the
// export's peak memory, export_bench.sh the program itself from outside.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <streambuf>
#include <string>
#include <vector>

#include "app/export.h"
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

// The views after the eight on a 100 MB mission with variables and
// briefings in the proportions of real missions, against loading it: what
// the reader beside the window adds for them after a load.
const std::string& BriefingsPath() {
  static const std::string path = bench::SyntheticMissionFile(100, bench::MissionExtras{.briefings = true});
  return path;
}

void BM_LoadBriefings(benchmark::State& state) {
  for (auto _ : state) {
    mission::Mission m;
    if (!mission::LoadFile(BriefingsPath(), m).ok) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(m.Tree().Size());
  }
}

void BM_LaterFillers(benchmark::State& state) {
  static mission::Mission m;
  if (m.FileLineCount() == 0) mission::LoadFile(BriefingsPath(), m);
  std::size_t rows = 0;
  for (auto _ : state) {
    rows = 0;
    for (int mode = views::kStoreModeCount + 1; mode <= views::kModeCount; ++mode)
      rows += views::FillMode(mode, m).rows.size();
    benchmark::DoNotOptimize(rows);
  }
  state.SetLabel("100 MB with briefings, " + std::to_string(rows) + " rows");
}

void BM_TreeLinks(benchmark::State& state) {
  const mission::Mission& m = LoadedMission(100);
  for (auto _ : state) {
    const views::TreeLinks links(m.Tree());
    benchmark::DoNotOptimize(links.RowNode(views::kModeEvents, 1));
  }
}

void BM_AllFormulas(benchmark::State& state) {
  const mission::Mission& m = LoadedMission(100);
  std::vector<views::Row> rows;
  for (const int mode : {views::kModeGoals, views::kModeEvents})
    for (views::Row& row : views::FillMode(mode, m).rows) rows.push_back(std::move(row));
  for (auto _ : state) {
    std::size_t chars = 0;
    for (const views::Row& row : rows) {
      const views::FormulaTexts texts = views::ReadRowFormula(m.Sections(), row);
      chars += texts.sexp.size() + texts.parsed.size();
    }
    benchmark::DoNotOptimize(chars);
  }
  state.SetLabel(std::to_string(rows.size()) + " formulas, 100 MB");
}

// Counts what it is given and keeps nothing.
class DiscardingBuffer : public std::streambuf {
 public:
  std::size_t bytes = 0;

 protected:
  int_type overflow(int_type c) override {
    ++bytes;
    return c;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    bytes += static_cast<std::size_t>(n);
    return n;
  }
};

// The whole export of one synthetic mission; the counter json_per_file is
// the JSON's size against the file's.
void ExportJson(benchmark::State& state, bench::MissionExtras extras) {
  const std::string path = bench::SyntheticMissionFile(static_cast<std::size_t>(state.range(0)), extras);
  DiscardingBuffer buffer;
  for (auto _ : state) {
    buffer.bytes = 0;
    std::ostream out(&buffer);
    std::ostream err(&buffer);
    if (app::RunExport(app::ExportFormat::kJson, path, out, err) != 0) state.SkipWithError("export failed");
  }
  state.counters["json_per_file"] = static_cast<double>(buffer.bytes) / static_cast<double>(std::filesystem::file_size(path));
  state.SetLabel(std::to_string(state.range(0)) + " MB, " + std::to_string(buffer.bytes >> 20) + " MB of JSON");
}

void BM_ExportJson(benchmark::State& state) { ExportJson(state, {}); }

// A damaged mission (formulas left open, event names without formulas): its
// JSON must stay as proportional to the file as the sound mission's, at 10
// and at 100 MB.
void BM_ExportJsonDamaged(benchmark::State& state) { ExportJson(state, {.damage = true}); }

BENCHMARK(BM_LoadFile)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AllFillers)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OneFiller)->DenseRange(1, views::kModeCount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBriefings)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LaterFillers)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TreeLinks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllFormulas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportJson)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(4.0);
BENCHMARK(BM_ExportJsonDamaged)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
