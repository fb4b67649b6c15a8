// Small helpers shared by the formula tests: a section built from lines, and
// texts compared as UTF-8 so that failures print readably.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
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

// A folder of the shared reference material beside the project (the
// FreeSpace Open operator facts, the public missions), or the one named by
// TORVEK_SHARED_DIR; empty when it is not there.
inline std::filesystem::path SharedFolder(const std::string& name) {
  const char* env = std::getenv("TORVEK_SHARED_DIR");
  const std::filesystem::path base = env && *env ? std::filesystem::path(env)
                                                 : std::filesystem::path(TORVEK_SOURCE_DIR) / ".." / "shared";
  std::error_code error;
  const std::filesystem::path folder = base / name;
  return std::filesystem::is_directory(folder, error) ? folder : std::filesystem::path();
}

inline std::string U8(mission::TextView text) { return mission::ToUtf8(text); }
inline mission::Text U16(const std::string& text) { return mission::FromUtf8(text); }

}  // namespace sexp::testing
