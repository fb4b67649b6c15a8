#include "app/export.h"

#include "app/json_writer.h"

namespace app {
namespace {

void WriteSections(const mission::MissionSections& sections, JsonWriter& json) {
  json.BeginArray();
  for (int slot = 1; slot <= 9; ++slot) {
    const mission::LineList& lines = sections.Slot(slot);
    json.BeginArray();
    for (std::size_t i = 0; i < lines.Count(); ++i) json.String(lines[i]);
    json.EndArray();
  }
  json.EndArray();
}

void WriteNode(const mission::OutlineTree& tree, std::uint32_t index, JsonWriter& json) {
  json.BeginObject();
  json.Key("text");
  json.String(tree.NodeText(index));
  json.Key("tag");
  json.String(tree.NodeTag(index));
  json.Key("children");
  json.BeginArray();
  // The tree is three levels deep at most (section, entry, field).
  for (const std::uint32_t child : tree.Children(index)) WriteNode(tree, child, json);
  json.EndArray();
  json.EndObject();
}

void WriteTree(const mission::OutlineTree& tree, JsonWriter& json) {
  json.BeginArray();
  for (const std::uint32_t root : tree.Roots()) WriteNode(tree, root, json);
  json.EndArray();
}

}  // namespace

void WriteJsonExport(const std::string& file, const mission::Mission& mission, std::ostream& out) {
  JsonWriter json(out);
  json.BeginObject();
  json.Key("file");
  json.String(std::string_view(file));
  json.Key("sections");
  WriteSections(mission.Sections(), json);
  json.Key("tree");
  WriteTree(mission.Tree(), json);
  json.EndObject();
  json.Finish();
}

int RunJsonExport(const std::string& file, std::ostream& out, std::ostream& err) {
  mission::Mission mission;
  const mission::LoadResult loaded = mission::LoadFile(file, mission);
  if (!loaded.ok) {
    err << "torvk32: cannot open " << file << ": " << loaded.error << '\n';
    return 1;
  }
  WriteJsonExport(file, mission, out);
  out.flush();
  return 0;
}

}  // namespace app
