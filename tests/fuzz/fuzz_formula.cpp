// Fuzz target: arbitrary text as the lines of a formula, read and translated
// from every line, with the original operators and with those of FreeSpace
// Open. Small inputs are also translated by the plain transcription of the
// rules, and the two must agree to the character; the FreeSpace Open
// translation must agree with the original wherever the original reads the
// formula right.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "mission/mission.h"
#include "sexp/formula.h"
#include "tests/sexp/reference.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes = "#Events\n";
  bytes.append(reinterpret_cast<const char*>(data), size);
  const mission::Mission m = mission::ParseMissionBytes(bytes);
  const mission::LineList& lines = m.Sections().Slot(mission::kSlotEvents);
  const auto count = static_cast<std::int32_t>(lines.Count());

  std::vector<mission::Text> texts;
  for (std::size_t k = 0; k < lines.Count(); ++k) texts.emplace_back(lines[k]);

  // Every start near the beginning, and the last lines and beyond: reading
  // from every line of a large input would only repeat itself.
  std::vector<std::int32_t> starts;
  for (std::int32_t start = 1; start <= count + 1 && start <= 16; ++start) starts.push_back(start);
  for (std::int32_t start = count - 1; start <= count + 1; ++start) {
    if (start > 16) starts.push_back(start);
  }
  for (const std::int32_t start : starts) {
    std::int32_t next = 0;
    const mission::Text got = sexp::ReadFormula(u"Ev", lines, start, next);
    Check(start > count ? next == start : next > start && next <= count + 1);
    std::int32_t modern_next = 0;
    sexp::ReadFormula(u"Ev", lines, start, modern_next, sexp::OperatorSet::kFreeSpaceOpen);
    Check(modern_next == next);
    if (size <= 2048 && start == 1) {
      std::int32_t want_next = 0;
      const auto want = sexp::reference::ReadFormula(u"Ev", texts, want_next);
      if (want) {
        Check(got == *want);
        Check(next == want_next);
      }
    }
  }
  // The whole input as one formula, with an indent, as the translator is
  // called for a part.
  const mission::Text whole = mission::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  const mission::Text got = sexp::ParseIt(whole, u" ", u"Ev");
  if (size <= 2048) {
    const auto want = sexp::reference::ParseIt(whole, u" ", u"Ev");
    if (want) Check(got == *want);
  }
  const mission::Text modern = sexp::ParseIt(whole, u" ", u"Ev", sexp::OperatorSet::kFreeSpaceOpen);
  if (!sexp::reference::ModernMayDiffer(whole, got)) Check(modern == got);
  return 0;
}
