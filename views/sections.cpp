#include "views/sections.h"

#include "views/check_names.h"

namespace views {

using mission::TextView;

std::vector<mission::SectionBlock> SectionsOf(const mission::Mission& mission, SectionKind kind) {
  static constexpr TextView kNames[] = {u"sexp_variables", u"briefing", u"command briefing", u"debriefing_info",
                                        u"waypoints"};
  const TextView wanted = kNames[static_cast<std::size_t>(kind)];
  std::vector<mission::SectionBlock> found;
  for (const mission::SectionBlock& block : mission.Blocks()) {
    if (FoldEqual{}(mission::TrimBlankView(mission.BlockName(block)), wanted)) found.push_back(block);
  }
  return found;
}

bool StartsWithKey(TextView line, TextView key) {
  return line.size() >= key.size() && FoldEqual{}(line.substr(0, key.size()), key);
}

}  // namespace views
