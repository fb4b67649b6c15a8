// Finding rows and references on a 100 MB synthetic mission, against loading
// the same mission. The argument picks the mission: 0 the default one, 1 the
// one with a further block of events per section block whose formulas name
// events, goals, messages, ships and wings (many more quoted names).
//   ReferenceIndex / LoadFile  the index built after each load: at most 0.5.
//   FindEvents                 the Events view searched for a ship's name,
//                              formula lines included: at most 100 ms.
//   FindEventsFirst            the same with the search's preparation (the
//                              formula extents of every row), as the first
//                              text typed after a switch to Events pays it.
//   FindTyping                 the ship's name typed letter by letter, each
//                              search narrowed to the rows the last one kept.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/mission/synthetic.h"
#include "mission/mission.h"
#include "views/find.h"
#include "views/modes.h"
#include "views/references.h"

namespace {

std::string MissionFile(const benchmark::State& state) {
  return bench::SyntheticMissionFile(100, {.references = state.range(0) != 0});
}

const char* Label(const benchmark::State& state) { return state.range(0) ? "100 MB, references" : "100 MB"; }

const mission::Mission& Loaded(const benchmark::State& state) {
  static long loadedArg = -1;
  static mission::Mission loaded;
  if (loadedArg != state.range(0)) {
    loaded = mission::Mission();
    mission::LoadFile(MissionFile(state), loaded);
    loadedArg = static_cast<long>(state.range(0));
  }
  return loaded;
}

// A ship in the middle of the mission that a few event formulas name (the
// events of a block name ships of the block half as far into the file).
constexpr mission::TextView kShip = u"Alpha 30000";

void BM_LoadFile(benchmark::State& state) {
  const std::string path = MissionFile(state);
  for (auto _ : state) {
    mission::Mission m;
    const mission::LoadResult r = mission::LoadFile(path, m);
    if (!r.ok) state.SkipWithError(r.error.c_str());
    benchmark::DoNotOptimize(m.Tree().Size());
  }
  state.SetLabel(Label(state));
}

void BM_ReferenceIndex(benchmark::State& state) {
  const mission::Mission& m = Loaded(state);
  std::size_t found = 0;
  for (auto _ : state) {
    const views::ReferenceIndex index = views::ReferenceIndex::Build(m);
    found = index.Find(kShip).size();
    benchmark::DoNotOptimize(found);
  }
  state.SetLabel(std::string(Label(state)) + ", " + std::to_string(found) + " places name the ship");
}

struct EventsList {
  views::ListData list;
  explicit EventsList(const mission::Mission& m) : list(views::FillMode(views::kModeEvents, m)) {}
};

std::string Kept(const std::vector<char>& found) {
  std::size_t kept = 0;
  for (const char f : found) kept += f != 0;
  return std::to_string(kept) + " of " + std::to_string(found.size()) + " rows";
}

void BM_FindEvents(benchmark::State& state) {
  const mission::Mission& m = Loaded(state);
  const EventsList events(m);
  const views::RowSearch search(events.list, m.Sections());
  std::vector<char> found;
  for (auto _ : state) {
    found = search.Found(views::FindText(kShip));
    benchmark::DoNotOptimize(found.data());
  }
  state.SetLabel(std::string(Label(state)) + ", " + Kept(found));
}

void BM_FindEventsFirst(benchmark::State& state) {
  const mission::Mission& m = Loaded(state);
  const EventsList events(m);
  std::vector<char> found;
  for (auto _ : state) {
    const views::RowSearch search(events.list, m.Sections());
    found = search.Found(views::FindText(kShip));
    benchmark::DoNotOptimize(found.data());
  }
  state.SetLabel(std::string(Label(state)) + ", " + Kept(found));
}

void BM_FindTyping(benchmark::State& state) {
  const mission::Mission& m = Loaded(state);
  const EventsList events(m);
  const views::RowSearch search(events.list, m.Sections());
  std::vector<char> found;
  for (auto _ : state) {
    found = search.Found(views::FindText(kShip.substr(0, 1)));
    for (std::size_t n = 2; n <= kShip.size(); ++n) found = search.Found(views::FindText(kShip.substr(0, n)), &found);
    benchmark::DoNotOptimize(found.data());
  }
  state.SetLabel(std::string(Label(state)) + ", " + std::to_string(kShip.size()) + " letters, " + Kept(found));
}

BENCHMARK(BM_LoadFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReferenceIndex)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FindEvents)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FindEventsFirst)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FindTyping)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
