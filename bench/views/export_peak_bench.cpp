// Peak memory of the whole `--export json` of the 100 MB synthetic mission,
// in a benchmark program that does nothing else: its resident-set peak
// (VmHWM) is reset once the mission file exists, so the counter
// peak_per_file is what the export itself needs against the file's size
// (target: at most 4). The export runs as the program runs it, into a stream
// that throws the JSON away.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/export.h"
#include "bench/mission/synthetic.h"
#include "bench/peak_memory.h"

namespace {

void BM_ExportPeakMemory(benchmark::State& state) {
  // Written by an earlier run or now; writing it needs memory of its own,
  // which the reset below leaves out.
  const std::string path = bench::SyntheticMissionFile(static_cast<std::size_t>(state.range(0)));
  const auto bytes = static_cast<double>(std::filesystem::file_size(path));
  if (!bench::ResetPeak()) {
    state.SkipWithError("cannot reset the peak through /proc/self/clear_refs");
    return;
  }
  bench::DiscardingBuffer buffer;
  std::ostream out(&buffer);
  std::ostream err(&buffer);
  for (auto _ : state) {
    if (app::RunExport(app::ExportFormat::kJson, path, out, err) != 0) state.SkipWithError("export failed");
  }
  const double peak = bench::StatusBytes("VmHWM:");
  state.counters["peak_bytes"] = peak;
  state.counters["peak_per_file"] = peak / bytes;
  state.SetLabel(std::to_string(state.range(0)) + " MB");
}

}  // namespace

BENCHMARK(BM_ExportPeakMemory)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
