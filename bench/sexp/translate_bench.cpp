// Formula reading and translation.
//
// BM_EventFormulas: every event formula of a synthetic mission, as the
// formula display reads them; bytes processed are the formula lines read.
//
// BM_OperatorMix: every formula of a 100 MB synthetic mission whose
// operators follow their frequency in real missions, translated with the
// original operators (0) and with those of FreeSpace Open (1); the second
// may take at most 1.5x the first.
//
// The others come in pairs whose second input is ten times the first; the
// time ratio of a pair shows how the work grows (linear: about 10):
// a "ship-vanish" with 5,000 / 50,000 ships, a "send-message-list" with
// 1,000 / 10,000 groups, one formula over 10,000 / 100,000 lines, and
// "and"/"or" blocks nested 100 / 1000 deep. Plain and/or nesting writes
// lines indented by their depth, so its output itself grows as the square of
// the depth; BM_AndOrNotNesting puts a "not" between the blocks (which starts
// the indent afresh) to show the translator's own work.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/mission/operator_mix.h"
#include "bench/mission/synthetic.h"
#include "mission/mission.h"
#include "sexp/formula.h"

namespace {

mission::Mission Events(const std::vector<std::string>& lines) {
  std::string bytes = "#Events\r\n";
  for (const std::string& line : lines) bytes += line + "\r\n";
  return mission::ParseMissionBytes(bytes);
}

const mission::LineList& Slot(const mission::Mission& m) { return m.Sections().Slot(mission::kSlotEvents); }

// Reads the formula at line 1 once per iteration.
void ReadLoop(benchmark::State& state, const mission::Mission& m) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < Slot(m).Count(); ++i) chars += Slot(m)[i].size();
  std::size_t out = 0;
  for (auto _ : state) {
    std::int32_t next = 0;
    const mission::Text t = sexp::ReadFormula(u"Event", Slot(m), 1, next);
    out = t.size();
    benchmark::DoNotOptimize(t.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * chars));
  state.counters["output_chars"] = static_cast<double>(out);
}

void BM_EventFormulas(benchmark::State& state) {
  const mission::Mission m = mission::ParseMissionBytes(bench::SyntheticMission(8u << 20));
  const mission::LineList& events = Slot(m);
  std::vector<std::int32_t> starts;
  for (std::size_t i = 0; i < events.Count(); ++i) {
    if (events[i].starts_with(u"$Formula:")) starts.push_back(static_cast<std::int32_t>(i + 1));
  }
  std::size_t chars = 0;
  for (auto _ : state) {
    chars = 0;
    for (const std::int32_t start : starts) {
      std::int32_t next = 0;
      const mission::Text t = sexp::ReadFormula(u"Event", events, start, next);
      benchmark::DoNotOptimize(t.data());
      for (std::int32_t line = start; line < next; ++line) chars += events.Line(static_cast<std::size_t>(line)).size();
    }
  }
  // Characters of mission text are counted as bytes: the files are ANSI text.
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * chars));
  state.counters["formulas"] = static_cast<double>(starts.size());
}

void BM_OperatorMix(benchmark::State& state) {
  static const mission::Mission m = mission::ParseMissionBytes(bench::OperatorMixMission(std::size_t{100} << 20));
  const sexp::OperatorSet operators =
      state.range(0) != 0 ? sexp::OperatorSet::kFreeSpaceOpen : sexp::OperatorSet::kOriginal;
  std::vector<std::pair<const mission::LineList*, std::int32_t>> formulas;
  for (const int slot : {mission::kSlotGoals, mission::kSlotEvents}) {
    const mission::LineList& lines = m.Sections().Slot(slot);
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      if (lines[i].starts_with(u"$Formula:")) formulas.emplace_back(&lines, static_cast<std::int32_t>(i + 1));
    }
  }
  std::size_t chars = 0, out = 0;
  for (auto _ : state) {
    chars = out = 0;
    for (const auto& [lines, start] : formulas) {
      std::int32_t next = 0;
      const mission::Text t = sexp::ReadFormula(u"Event", *lines, start, next, operators);
      out += t.size();
      for (std::int32_t line = start; line < next; ++line) chars += lines->Line(static_cast<std::size_t>(line)).size();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * chars));
  state.counters["formulas"] = static_cast<double>(formulas.size());
  state.counters["output_chars"] = static_cast<double>(out);
  state.SetLabel(operators == sexp::OperatorSet::kOriginal ? "original" : "FreeSpace Open");
}

void BM_ShipVanish(benchmark::State& state) {
  std::string line = "$Formula: ( ship-vanish";
  for (int k = 0; k < state.range(0); ++k) line += " \"Ship " + std::to_string(k) + "\"";
  ReadLoop(state, Events({line + " )"}));
}

void BM_SendMessageList(benchmark::State& state) {
  std::string line = "$Formula: ( send-message-list";
  for (int k = 0; k < state.range(0); ++k) line += " \"#Command\" \"High\" \"Message " + std::to_string(k) + "\" 2000";
  ReadLoop(state, Events({line + " )"}));
}

void BM_FormulaLines(benchmark::State& state) {
  std::vector<std::string> lines = {"$Formula: ( when", "   ( and"};
  for (int k = 0; k < state.range(0) - 4; ++k) {
    lines.push_back("      ( is-destroyed-delay 0 \"Ship " + std::to_string(k) + "\" )");
  }
  lines.push_back("   )");
  lines.push_back("   ( send-message \"#Command\" \"High\" \"Done\" ) )");
  ReadLoop(state, Events(lines));
}

std::string Nested(int depth, bool with_not) {
  std::string open, close;
  for (int k = 0; k < depth; ++k) {
    open += k % 2 ? "( or ( is-destroyed-delay 0 \"A\" ) " : "( and ( has-arrived-delay 5 \"B\" ) ";
    if (with_not) open += "( not ";
    close += with_not ? ") )" : ")";
  }
  return "$Formula: " + open + "( true )" + close;
}

void BM_AndOrNesting(benchmark::State& state) {
  ReadLoop(state, Events({Nested(static_cast<int>(state.range(0)), false)}));
}

void BM_AndOrNotNesting(benchmark::State& state) {
  // Each level is an "and"/"or" and a "not": half as many blocks for the
  // same number of translation levels.
  ReadLoop(state, Events({Nested(static_cast<int>(state.range(0)) / 2, true)}));
}

}  // namespace

BENCHMARK(BM_EventFormulas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OperatorMix)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_ShipVanish)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SendMessageList)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FormulaLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AndOrNesting)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AndOrNotNesting)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
