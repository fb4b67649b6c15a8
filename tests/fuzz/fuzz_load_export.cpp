// Fuzz target: arbitrary bytes as a mission file, loaded and exported whole.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "app/export.h"
#include "mission/mission.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const mission::Mission m = mission::ParseMissionBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  app::WriteJsonExport("fuzz.fs2", m, out);
  return 0;
}
