#include "app/check.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <memory>
#include <ostream>
#include <system_error>

#include "app/export.h"
#include "app/json_writer.h"
#include "mission/file.h"
#include "mission/mission.h"
#include "views/campaign.h"
#include "views/campaign_check.h"
#include "views/campaign_files.h"

namespace app {
namespace {

using views::Problem;

const char* SeverityWord(views::Severity severity) {
  return severity == views::Severity::kError ? "error" : "warning";
}

const char* SeverityWord(views::Rule rule) { return SeverityWord(views::SeverityOf(rule)); }

// Where the problems of each mission go, in one of the three forms.
class CheckWriter {
 public:
  virtual ~CheckWriter() = default;
  virtual void Problems(const std::string& file, std::span<const Problem> problems) = 0;
  // A mission that could not be read (already said on standard error).
  virtual void Unreadable(const std::string& /*file*/, const std::string& /*reason*/) {}
  virtual void Finish() {}
};

// One line per problem: control characters of a damaged name would break
// the line apart, so they show as "?".
class TextWriter : public CheckWriter {
 public:
  explicit TextWriter(std::ostream& out) : out_(out) {}

  void Problems(const std::string& file, std::span<const Problem> problems) override {
    std::string line;
    for (const Problem& p : problems) {
      line = file;
      line += ':';
      line += std::to_string(p.line);
      line += ": ";
      line += SeverityWord(p.rule);
      line += ": ";
      mission::Text text = views::ProblemText(p);
      for (char16_t& c : text) {
        if (c < u' ' || c == u'\x7F') c = u'?';
      }
      mission::AppendUtf8(text, line);
      line += '\n';
      out_ << line;
    }
  }

 private:
  std::ostream& out_;
};

class JsonListWriter : public CheckWriter {
 public:
  explicit JsonListWriter(std::ostream& out) : json_(out) { json_.BeginArray(); }

  void Problems(const std::string& file, std::span<const Problem> problems) override {
    for (const Problem& p : problems) {
      json_.BeginObject();
      json_.Key("file");
      json_.String(std::string_view(file));
      json_.Key("line");
      json_.Number(p.line);
      json_.Key("severity");
      json_.String(std::string_view(SeverityWord(p.rule)));
      json_.Key("rule");
      json_.String(views::InfoOf(p.rule).id);
      json_.Key("operator");
      json_.String(p.op);
      json_.Key("text");
      json_.String(views::ProblemText(p));
      json_.EndObject();
    }
  }

  void Finish() override {
    json_.EndArray();
    json_.Finish();
  }

 private:
  JsonWriter json_;
};

// A SARIF 2.1.0 log of one run: the tool with its rules, a result per
// problem, and the missions that could not be read as notifications of the
// run's invocation. Written as the missions are checked.
class SarifWriter : public CheckWriter {
 public:
  SarifWriter(std::ostream& out, const std::string& version) : json_(out) {
    std::error_code failed;
    cwd_ = std::filesystem::current_path(failed);
    json_.BeginObject();
    json_.Key("$schema");
    json_.String(std::string_view("https://json.schemastore.org/sarif-2.1.0.json"));
    json_.Key("version");
    json_.String(std::string_view("2.1.0"));
    json_.Key("runs");
    json_.BeginArray();
    json_.BeginObject();
    Tool(version);
    json_.Key("results");
    json_.BeginArray();
  }

  void Problems(const std::string& file, std::span<const Problem> problems) override {
    if (problems.empty()) return;
    const std::string uri = FileUri(file, cwd_);
    for (const Problem& p : problems) {
      json_.BeginObject();
      json_.Key("ruleId");
      json_.String(views::InfoOf(p.rule).id);
      json_.Key("ruleIndex");
      json_.Number(static_cast<int>(p.rule));
      json_.Key("level");
      json_.String(std::string_view(SeverityWord(p.rule)));
      json_.Key("message");
      Message(views::ProblemText(p));
      json_.Key("locations");
      json_.BeginArray();
      Location(uri, p.line);
      json_.EndArray();
      json_.EndObject();
    }
  }

  void Unreadable(const std::string& file, const std::string& reason) override {
    unreadable_.push_back({file, reason});
  }

  void Finish() override {
    json_.EndArray();  // results
    json_.Key("invocations");
    json_.BeginArray();
    json_.BeginObject();
    json_.Key("executionSuccessful");
    json_.Bool(unreadable_.empty());
    json_.Key("toolExecutionNotifications");
    json_.BeginArray();
    for (const auto& [file, reason] : unreadable_) {
      json_.BeginObject();
      json_.Key("level");
      json_.String(std::string_view("error"));
      json_.Key("message");
      Message(mission::FromUtf8("cannot open " + file + ": " + reason));
      json_.Key("locations");
      json_.BeginArray();
      Location(FileUri(file, cwd_), 0);
      json_.EndArray();
      json_.EndObject();
    }
    json_.EndArray();
    json_.EndObject();
    json_.EndArray();  // invocations
    json_.EndObject();  // the run
    json_.EndArray();   // runs
    json_.EndObject();
    json_.Finish();
  }

 private:
  void Tool(const std::string& version) {
    json_.Key("tool");
    json_.BeginObject();
    json_.Key("driver");
    json_.BeginObject();
    json_.Key("name");
    json_.String(std::string_view("TORVEK32"));
    json_.Key("version");
    json_.String(std::string_view(version));
    json_.Key("rules");
    json_.BeginArray();
    for (const views::RuleInfo& rule : views::AllRules()) {
      json_.BeginObject();
      json_.Key("id");
      json_.String(rule.id);
      json_.Key("shortDescription");
      Message(mission::FromUtf8(rule.description));
      json_.Key("defaultConfiguration");
      json_.BeginObject();
      json_.Key("level");
      json_.String(std::string_view(SeverityWord(rule.severity)));
      json_.EndObject();
      json_.EndObject();
    }
    json_.EndArray();
    json_.EndObject();
    json_.EndObject();
  }

  void Message(const mission::Text& text) {
    json_.BeginObject();
    json_.Key("text");
    json_.String(text);
    json_.EndObject();
  }

  // A file and, from 1 on, a line of it.
  void Location(const std::string& uri, std::uint32_t line) {
    json_.BeginObject();
    json_.Key("physicalLocation");
    json_.BeginObject();
    json_.Key("artifactLocation");
    json_.BeginObject();
    json_.Key("uri");
    json_.String(std::string_view(uri));
    json_.EndObject();
    if (line > 0) {
      json_.Key("region");
      json_.BeginObject();
      json_.Key("startLine");
      json_.Number(line);
      json_.EndObject();
    }
    json_.EndObject();
    json_.EndObject();
  }

  JsonWriter json_;
  std::filesystem::path cwd_;
  std::vector<std::pair<std::string, std::string>> unreadable_;
};

std::unique_ptr<CheckWriter> WriterFor(const CheckOptions& options, std::ostream& out) {
  switch (options.format) {
    case CheckFormat::kJson: return std::make_unique<JsonListWriter>(out);
    case CheckFormat::kSarif: return std::make_unique<SarifWriter>(out, options.version);
    case CheckFormat::kText: break;
  }
  return std::make_unique<TextWriter>(out);
}

// The missions a list names, one a line; a line ending in CR LF counts
// without its CR, an empty line not at all. A line "-" is the file of that
// name: standard input is the list's, or no one's.
std::vector<std::string> ListedFiles(std::istream& list) {
  std::vector<std::string> files;
  std::string line;
  while (std::getline(list, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    files.push_back(line == "-" ? "./-" : line);
  }
  return files;
}

// Reads the list of missions; nothing, with the reason, when it cannot be read.
std::optional<std::vector<std::string>> ReadList(const std::string& name, std::istream& in, std::string& reason) {
  if (name == "-") return ListedFiles(in);
  const std::filesystem::path path = mission::PathOfArgument(name);
  std::error_code failed;
  if (std::filesystem::is_directory(path, failed)) {
    reason = std::strerror(EISDIR);
    return std::nullopt;
  }
  std::ifstream list(path, std::ios::binary);
  if (!list) {
    reason = std::strerror(errno);
    return std::nullopt;
  }
  std::vector<std::string> files = ListedFiles(list);
  if (list.bad()) {
    reason = std::strerror(errno);
    return std::nullopt;
  }
  return files;
}

// The value of an option that takes one, or nullptr when it has none.
const char* ValueOf(std::span<const char* const> args, std::size_t& i) {
  return i + 1 < args.size() ? args[++i] : nullptr;
}

bool Is(const char* arg, const char* option) { return std::strcmp(arg, option) == 0; }

// A path as UTF-8 with "/" between its parts (Windows' paths are UTF-16).
std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

// What the check has counted so far.
struct Tally {
  views::ProblemCounts total;
  std::size_t missions = 0;
  std::size_t campaigns = 0;
};

// Leaves warnings out when asked, counts and writes the problems of one file.
void Report(const CheckOptions& options, const std::string& file, std::vector<Problem>& problems, CheckWriter& writer,
            Tally& tally) {
  if (options.errors_only) {
    std::erase_if(problems, [](const Problem& p) { return views::SeverityOf(p.rule) != views::Severity::kError; });
  }
  const views::ProblemCounts counts = views::CountProblems(problems);
  tally.total.errors += counts.errors;
  tally.total.warnings += counts.warnings;
  writer.Problems(file, problems);
}

// A campaign and, once each, the missions it lists: the campaign's own
// problems first, then each mission's in campaign order under the path it
// was read from. The missions stay loaded until all are written, since the
// campaign's problems need them all.
void CheckCampaignFile(const CheckOptions& options, const std::string& file, const mission::Mission& loaded,
                       CheckWriter& writer, Tally& tally) {
  views::Campaign campaign = views::ReadCampaign(loaded);
  campaign.freeSpace1 = views::IsFreeSpace1Campaign(file);
  views::CampaignMissions missions;
  views::ReadCampaignMissions(campaign, file == kStandardInput ? std::string() : file, missions);
  views::CampaignCheck check = views::CheckCampaign(campaign, missions.files, options.settings);
  ++tally.campaigns;
  Report(options, file, check.campaign, writer, tally);
  for (std::size_t i = 0; i < missions.files.size(); ++i) {
    if (missions.files[i].mission == nullptr) continue;
    ++tally.missions;
    Report(options, missions.paths[i], check.missions[i], writer, tally);
  }
}

}  // namespace

bool IsCheckOption(std::string_view arg) {
  for (const char* option : {"--check", "--format", "--ignore", "--errors-only", "--unused", "--files-from"}) {
    if (arg == option) return true;
  }
  return false;
}

std::optional<CheckOptions> ParseCheckArguments(std::span<const char* const> args, std::string* error) {
  CheckOptions options;
  bool check = false, format = false;
  std::size_t i = 0;
  for (; i < args.size() && std::strncmp(args[i], "--", 2) == 0; ++i) {
    const char* arg = args[i];
    if (Is(arg, "--check") && !check) {
      check = true;
    } else if (Is(arg, "--format") && !format) {
      const char* value = ValueOf(args, i);
      if (value == nullptr) return std::nullopt;
      if (Is(value, "json")) {
        options.format = CheckFormat::kJson;
      } else if (Is(value, "sarif")) {
        options.format = CheckFormat::kSarif;
      } else if (!Is(value, "text")) {
        return std::nullopt;
      }
      format = true;
    } else if (Is(arg, "--ignore")) {
      const char* value = ValueOf(args, i);
      if (value == nullptr) return std::nullopt;
      const std::optional<views::Rule> rule = views::RuleOfId(value);
      if (!rule) {
        if (error != nullptr) *error = std::string("unknown rule ") + value;
        return std::nullopt;
      }
      views::Add(options.settings.ignored, *rule);
    } else if (Is(arg, "--errors-only") && !options.errors_only) {
      options.errors_only = true;
    } else if (Is(arg, "--unused") && !options.settings.unused) {
      options.settings.unused = true;
    } else if (Is(arg, "--files-from") && !options.files_from) {
      const char* value = ValueOf(args, i);
      if (value == nullptr) return std::nullopt;
      options.files_from = value;
    } else {
      return std::nullopt;  // an unknown option, or one given twice
    }
  }
  // The missions: an option among them was meant to come before them.
  for (; i < args.size(); ++i) {
    if (std::strncmp(args[i], "--", 2) == 0) return std::nullopt;
    options.files.emplace_back(args[i]);
  }
  if (!check || (options.files.empty() && !options.files_from)) return std::nullopt;
  if (options.files_from == "-" && std::find(options.files.begin(), options.files.end(), "-") != options.files.end()) {
    if (error != nullptr) *error = "standard input cannot be both the list and a mission";
    return std::nullopt;
  }
  return options;
}

int RunCheck(const CheckOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  std::vector<std::string> files = options.files;
  if (options.files_from) {
    std::string reason;
    const auto listed = ReadList(*options.files_from, in, reason);
    if (!listed) {
      err << "torvk32: cannot read the list " << *options.files_from << ": " << reason << '\n';
      return 2;
    }
    files.insert(files.end(), listed->begin(), listed->end());
  }
  const std::unique_ptr<CheckWriter> writer = WriterFor(options, out);
  Tally tally;
  bool unreadable = false;
  std::vector<Problem> problems;
  for (const std::string& file : files) {
    mission::Mission mission;
    const mission::LoadResult loaded = LoadMission(file, mission);
    if (!loaded.ok) {
      out.flush();
      err << "torvk32: cannot open " << file << ": " << loaded.error << '\n';
      writer->Unreadable(file, loaded.error);
      unreadable = true;
      continue;
    }
    if (views::LooksLikeCampaign(mission)) {
      CheckCampaignFile(options, file, mission, *writer, tally);
      continue;
    }
    problems = views::CheckMission(mission, options.settings);
    ++tally.missions;
    Report(options, file, problems, *writer, tally);
  }
  writer->Finish();
  out.flush();
  err << (options.errors_only ? views::ErrorsText(tally.total.errors, tally.missions, tally.campaigns)
                              : views::CountsText(tally.total, tally.missions, tally.campaigns))
      << '\n';
  return tally.total.errors > 0 || unreadable ? 1 : 0;
}

std::string FileUri(std::string_view file, const std::filesystem::path& cwd) {
  const std::filesystem::path path = mission::PathOfArgument(file).lexically_normal();
  std::string shown = Utf8(path);
  std::string uri;
  // On Windows a path from the root of the current drive ("/x") counts as
  // one from the root too.
  if (path.has_root_directory()) {
    const std::filesystem::path relative = cwd.empty() ? std::filesystem::path() : path.lexically_relative(cwd);
    const std::string inside = Utf8(relative);
    if (relative.empty() || inside == ".." || inside.starts_with("../")) {
      uri = shown.starts_with('/') ? "file://" : "file:///";  // file:///C:/...
    } else {
      shown = inside;
    }
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (alnum || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 15];
    }
  }
  return uri;
}

void WriteCheckJson(const std::string& file, const mission::Mission& mission, std::ostream& out) {
  JsonListWriter writer(out);
  writer.Problems(file, views::CheckMission(mission, views::CheckSettings()));
  writer.Finish();
}

}  // namespace app
