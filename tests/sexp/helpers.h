// Small helpers shared by the formula tests: a section built from lines, and
// texts compared as UTF-8 so that failures print readably.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"

namespace sexp::testing {

// A mission whose events section holds exactly `lines`.
inline mission::Mission EventsSection(const std::vector<std::string>& lines) {
  std::string bytes = "#Events\r\n";
  for (const std::string& line : lines) bytes += line + "\r\n";
  return mission::ParseMissionBytes(bytes);
}

inline const mission::LineList& Events(const mission::Mission& m) { return m.Sections().Slot(mission::kSlotEvents); }

// Output lines joined as the translator joins them.
inline std::string Lines(const std::vector<std::string>& lines) {
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
  return joined;
}

inline std::string U8(mission::TextView text) { return mission::ToUtf8(text); }
inline mission::Text U16(const std::string& text) { return mission::FromUtf8(text); }

}  // namespace sexp::testing
