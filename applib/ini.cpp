#include "applib/ini.h"

#include <filesystem>
#include <vector>

#include "applib/files.h"
#include "applib/paths.h"
#include "base/utf8.h"

namespace applib {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsBlank16(char16_t c) { return c == u' ' || c == u'\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

TextView Trim16(TextView s) {
  while (!s.empty() && IsBlank16(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank16(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view utf8, TextView name) {
  return mission::LowerAscii(mission::FromUtf8(utf8)) == mission::LowerAscii(name);
}

// One line of the file: its text without the line break, and where the
// whole line (break included) lies in the content.
struct Line {
  std::string_view text;
  std::size_t begin;
  std::size_t end;
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  std::size_t start = content.starts_with(kBom) ? kBom.size() : 0;
  while (start < content.size()) {
    std::size_t nl = content.find('\n', start);
    const std::size_t end = nl == std::string_view::npos ? content.size() : nl + 1;
    std::string_view text = content.substr(start, (nl == std::string_view::npos ? content.size() : nl) - start);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    lines.push_back({text, start, end});
    start = end;
  }
  return lines;
}

// The section name of a "[name]" line, trimmed; nothing for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  return Trim(line.substr(0, line.find(']')));
}

// Key and raw value of a "key=value" line; nothing for comments and lines
// without "=".
std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() == ';') return std::nullopt;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return std::make_pair(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
}

// Where the first matching section's lines are: [first, last) indexes of
// the lines after its header; nothing when absent.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const std::vector<Line>& lines, TextView section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i].text);
    if (!name || !SameName(*name, section)) continue;
    std::size_t j = i + 1;
    while (j < lines.size() && !SectionName(lines[j].text)) ++j;
    return std::make_pair(i + 1, j);
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, std::size_t first, std::size_t last, TextView key) {
  for (std::size_t i = first; i < last; ++i) {
    const auto kv = KeyValue(lines[i].text);
    if (kv && SameName(kv->first, key)) return i;
  }
  return std::nullopt;
}

bool HasLineBreakOrNul(TextView s) { return s.find_first_of(TextView(u"\r\n\0", 3)) != TextView::npos; }

std::string LineBreakOf(std::string_view content) {
  const std::size_t nl = content.find('\n');
  return nl != std::string_view::npos && nl > 0 && content[nl - 1] == '\r' ? "\r\n" : "\n";
}

}  // namespace

std::optional<Text> IniLookup(std::string_view content, TextView section, TextView key) {
  const std::vector<Line> lines = SplitLines(content);
  const auto range = FindSection(lines, section);
  if (!range) return std::nullopt;
  const auto index = FindKey(lines, range->first, range->second, key);
  if (!index) return std::nullopt;
  std::string_view raw = KeyValue(lines[*index].text)->second;
  if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') raw = raw.substr(1, raw.size() - 2);
  Text value = mission::FromUtf8(raw);
  if (value.size() > kIniMaxValue) {
    value.resize(kIniMaxValue);
    // Never leave half of a surrogate pair behind.
    if (mission::IsHighSurrogate(value.back())) value.pop_back();
  }
  return value;
}

std::string IniValueText(TextView value) {
  Text clean(value);
  for (char16_t& c : clean) {
    if (c == u'\r' || c == u'\n' || c == u'\0') c = u' ';
  }
  const bool blank_ends = !clean.empty() && (IsBlank16(clean.front()) || IsBlank16(clean.back()));
  const bool quoted = clean.size() >= 2 && clean.front() == u'"' && clean.back() == u'"';
  const std::string text = mission::ToUtf8(clean);
  return blank_ends || quoted ? "\"" + text + "\"" : text;
}

bool IsValidIniSection(TextView section) {
  return !Trim16(section).empty() && !HasLineBreakOrNul(section) && section.find(u']') == TextView::npos;
}

bool IsValidIniKey(TextView key) {
  const TextView name = Trim16(key);
  return !name.empty() && !HasLineBreakOrNul(key) && key.find(u'=') == TextView::npos && name.front() != u';' &&
         name.front() != u'[';
}

std::optional<std::string> IniUpdate(std::string_view content, TextView section, TextView key, TextView value) {
  if (!IsValidIniSection(section) || !IsValidIniKey(key)) return std::nullopt;
  const std::string br = LineBreakOf(content);
  const std::string entry = mission::ToUtf8(Trim16(key)) + "=" + IniValueText(value);
  const std::vector<Line> lines = SplitLines(content);
  std::string out;
  out.reserve(content.size() + entry.size() + section.size() + 8);

  const auto range = FindSection(lines, section);
  if (!range) {
    out.append(content);
    if (!out.empty() && out.back() != '\n') out += br;
    if (!lines.empty() && !Trim(lines.back().text).empty()) out += br;
    out += "[" + mission::ToUtf8(Trim16(section)) + "]" + br + entry + br;
    return out;
  }
  std::size_t at;  // the line replaced, or the line after which the entry goes
  bool replace = false;
  if (const auto index = FindKey(lines, range->first, range->second, key)) {
    at = *index;
    replace = true;
  } else {
    at = range->first - 1;  // the header itself
    for (std::size_t i = range->first; i < range->second; ++i) {
      if (!Trim(lines[i].text).empty()) at = i;
    }
  }
  const Line& line = lines[at];
  const std::size_t text_end = line.begin + line.text.size();
  if (replace) {
    out.append(content.substr(0, line.begin));
    out += entry;
    out.append(content.substr(text_end));
    return out;
  }
  out.append(content.substr(0, line.end));
  if (line.end == text_end) out += br;  // the last line had no line break
  out += entry + br;
  out.append(content.substr(line.end));
  return out;
}

Text IniPath(TextView directory, TextView file) {
  return directory.empty() ? Text(file) : AddSlash(directory) + Text(file);
}

Text IniRead(TextView directory, TextView file, TextView section, TextView key) {
  const auto content = ReadWholeFile(ToFsPath(IniPath(directory, file)));
  if (!content) return {};
  auto value = IniLookup(*content, section, key);
  if (!value || *value == u"$") return {};
  return *value;
}

bool IniWrite(TextView directory, TextView file, TextView section, TextView key, TextView value) {
  if (!IsValidIniSection(section) || !IsValidIniKey(key)) return false;
  fs::path target = ToFsPath(IniPath(directory, file));
  const auto content = ReadForUpdate(target);
  if (!content) return false;  // never clobber what we could not read
  const auto updated = IniUpdate(*content, section, key, value);
  return updated && ReplaceWholeFile(target, *updated);
}

bool WriteFileAtomic(TextView path, std::string_view bytes) { return ReplaceWholeFile(ToFsPath(path), bytes); }

}  // namespace applib
