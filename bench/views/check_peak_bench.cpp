// Peak memory of the whole `torvk32 --check` of the 100 MB synthetic mission
// with references, in a benchmark program that does nothing else: its
// resident-set peak (VmHWM) is reset once the mission file exists, so the
// counter peak_per_file is what the check needs against the file's size
// (target: at most 4). The check runs as the program runs it, into a stream
// that throws the problem lines away.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "app/check.h"
#include "bench/mission/synthetic.h"
#include "bench/peak_memory.h"

namespace {

void BM_CheckPeakMemory(benchmark::State& state) {
  const std::string path =
      bench::SyntheticMissionFile(static_cast<std::size_t>(state.range(0)), {.references = true});
  const auto bytes = static_cast<double>(std::filesystem::file_size(path));
  if (!bench::ResetPeak()) {
    state.SkipWithError("cannot reset the peak through /proc/self/clear_refs");
    return;
  }
  bench::DiscardingBuffer buffer;
  std::ostream out(&buffer);
  std::ostream err(&buffer);
  std::istringstream in;
  app::CheckOptions options;
  options.files = {path};
  for (auto _ : state) {
    // The mission has errors on purpose: 1 is the expected exit code.
    if (app::RunCheck(options, in, out, err) != 1) state.SkipWithError("check failed");
  }
  const double peak = bench::StatusBytes("VmHWM:");
  state.counters["peak_bytes"] = peak;
  state.counters["peak_per_file"] = peak / bytes;
  state.SetLabel(std::to_string(state.range(0)) + " MB");
}

}  // namespace

BENCHMARK(BM_CheckPeakMemory)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
