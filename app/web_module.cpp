#include "app/web_module.h"

#include <exception>
#include <sstream>
#include <string>
#include <string_view>

#include "app/check.h"
#include "app/export.h"
#include "mission/mission.h"

namespace {

std::string result;

// Runs `write` on the mission; any failure (out of memory, above all)
// becomes the result's reason instead of ending the module.
template <class Write>
int Run(const char* bytes, std::size_t size, Write write) {
  try {
    const mission::Mission mission = mission::ParseMissionBytes(std::string_view(bytes, size));
    std::ostringstream out;
    write(mission, out);
    result = std::move(out).str();
    return 1;
  } catch (const std::exception& e) {
    result = e.what();
    return 0;
  }
}

}  // namespace

int torvk32_export(const char* bytes, std::size_t size, const char* name, int format, int modern) {
  const sexp::OperatorSet operators = modern != 0 ? sexp::OperatorSet::kFreeSpaceOpen : sexp::OperatorSet::kOriginal;
  return Run(bytes, size, [&](const mission::Mission& mission, std::ostream& out) {
    switch (format) {
      case kTorvk32Text: app::WriteTextExport(name, mission, out, operators); break;
      case kTorvk32Dot: app::WriteDotExport(mission, out); break;
      default: app::WriteJsonExport(name, mission, out, operators); break;
    }
  });
}

int torvk32_check(const char* bytes, std::size_t size, const char* name) {
  return Run(bytes, size, [&](const mission::Mission& mission, std::ostream& out) {
    app::WriteCheckJson(name, mission, out);
  });
}

const char* torvk32_result() { return result.data(); }

std::size_t torvk32_result_size() { return result.size(); }

void torvk32_release() { std::string().swap(result); }
