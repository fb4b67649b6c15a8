#include "app/check.h"

#include <cstring>

#include "app/export.h"
#include "app/json_writer.h"
#include "mission/mission.h"
#include "views/check.h"

namespace app {
namespace {

const char* SeverityWord(views::Severity severity) {
  return severity == views::Severity::kError ? "error" : "warning";
}

// One line per problem: control characters of a damaged name would break
// the line apart, so they show as "?".
void WriteLines(const std::string& file, const std::vector<views::Problem>& problems, std::ostream& out) {
  std::string line;
  for (const views::Problem& p : problems) {
    line = file;
    line += ':';
    line += std::to_string(p.line);
    line += ": ";
    line += SeverityWord(views::SeverityOf(p.rule));
    line += ": ";
    mission::Text text = views::ProblemText(p);
    for (char16_t& c : text) {
      if (c < u' ' || c == u'\x7F') c = u'?';
    }
    mission::AppendUtf8(text, line);
    line += '\n';
    out << line;
  }
}

void WriteJson(const std::string& file, const std::vector<views::Problem>& problems, JsonWriter& json) {
  for (const views::Problem& p : problems) {
    json.BeginObject();
    json.Key("file");
    json.String(std::string_view(file));
    json.Key("line");
    json.Number(p.line);
    json.Key("severity");
    json.String(std::string_view(SeverityWord(views::SeverityOf(p.rule))));
    json.Key("operator");
    json.String(p.op);
    json.Key("text");
    json.String(views::ProblemText(p));
    json.EndObject();
  }
}

}  // namespace

std::optional<CheckOptions> ParseCheckArguments(std::span<const char* const> args) {
  CheckOptions options;
  std::size_t i = 0;
  if (i < args.size() && std::strcmp(args[i], "--format") == 0) {
    if (i + 1 >= args.size()) return std::nullopt;
    if (std::strcmp(args[i + 1], "json") == 0) {
      options.format = CheckFormat::kJson;
    } else if (std::strcmp(args[i + 1], "text") != 0) {
      return std::nullopt;
    }
    i += 2;
  }
  for (; i < args.size(); ++i) options.files.emplace_back(args[i]);
  if (options.files.empty()) return std::nullopt;
  return options;
}

int RunCheck(const CheckOptions& options, std::ostream& out, std::ostream& err) {
  std::optional<JsonWriter> json;
  if (options.format == CheckFormat::kJson) {
    json.emplace(out);
    json->BeginArray();
  }
  views::ProblemCounts total;
  std::size_t checked = 0;
  bool unreadable = false;
  for (const std::string& file : options.files) {
    mission::Mission mission;
    const mission::LoadResult loaded = LoadMission(file, mission);
    if (!loaded.ok) {
      out.flush();
      err << "torvk32: cannot open " << file << ": " << loaded.error << '\n';
      unreadable = true;
      continue;
    }
    const std::vector<views::Problem> problems = views::CheckMission(mission);
    const views::ProblemCounts counts = views::CountProblems(problems);
    total.errors += counts.errors;
    total.warnings += counts.warnings;
    ++checked;
    if (json) {
      WriteJson(file, problems, *json);
    } else {
      WriteLines(file, problems, out);
    }
  }
  if (json) {
    json->EndArray();
    json->Finish();
  }
  out.flush();
  err << views::CountsText(total, checked) << '\n';
  return total.errors > 0 || unreadable ? 1 : 0;
}

void WriteCheckJson(const std::string& file, const mission::Mission& mission, std::ostream& out) {
  JsonWriter json(out);
  json.BeginArray();
  WriteJson(file, views::CheckMission(mission), json);
  json.EndArray();
  json.Finish();
}

}  // namespace app
