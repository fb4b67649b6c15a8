#include "applib/ini.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <vector>

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

// The file's bytes; nothing when it is not an ordinary file or cannot be
// read to its end.
std::optional<std::string> ReadWholeFile(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::optional<std::string> content;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    content.emplace();
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) content.reset();
      if (n <= 0) break;
      content->append(buffer, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  return content;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Temporary files are named ".<name>.tmp<pid>.<n>" beside their target.
std::string TemporaryPrefix(const fs::path& target) { return "." + target.filename().string() + ".tmp"; }

bool IsTemporaryOf(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return false;
  name.remove_prefix(prefix.size());
  const std::size_t dot = name.find('.');
  const auto digits = [](std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return dot != std::string_view::npos && digits(name.substr(0, dot)) && digits(name.substr(dot + 1));
}

// A writer holds a lock on its temporary file from creation until the file
// has been renamed, so a temporary file that nobody holds locked was left by
// a writer that died (a crash, a kill, a power cut) and is removed. Where the
// file system has no locks nothing is removed.
void RemoveDeadTemporaries(const fs::path& target) {
  const std::string prefix = TemporaryPrefix(target);
  std::error_code error;
  for (fs::directory_iterator it(target.parent_path().empty() ? "." : target.parent_path(), error), end;
       !error && it != end; it.increment(error)) {
    const fs::path path = it->path();
    if (!IsTemporaryOf(path.filename().string(), prefix)) continue;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat locked {}, named {};
    // Unlink only the very file we locked: its writer may have renamed it
    // into place meanwhile.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &locked) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
      ::unlink(path.c_str());
    }
    ::close(fd);
  }
}

// Opens a new temporary file beside `target` and locks it; the mode is the
// usual one for new files (the umask applies).
int OpenTemporary(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target;
    temporary.replace_filename(TemporaryPrefix(target) + std::to_string(::getpid()) + "." +
                               std::to_string(counter++));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return fd;
    // Without locks on this file system we go on unlocked: no clean-up
    // can lock, so none removes our file either.
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    // Another writer's clean-up may have taken the file between its
    // creation and our lock; then it is gone and we start again.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_nlink > 0) return fd;
    ::close(fd);
  }
  return -1;
}

// Makes a rename in `folder` last through a power cut. Best effort: some
// file systems cannot sync a folder, and the rename has happened anyway.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes `content` to a temporary file beside `target` and renames it over
// `target`. The data reach the disk before the rename, so after a crash or
// power cut the target holds either its old or its new text, complete. An
// existing file keeps its permissions.
bool ReplaceFile(const fs::path& target, std::string_view content) {
  RemoveDeadTemporaries(target);
  fs::path temporary;
  const int fd = OpenTemporary(target, temporary);
  if (fd < 0) return false;
  struct stat old {};
  bool ok = WriteAll(fd, content);
  if (ok && ::stat(target.c_str(), &old) == 0) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  ok = ok && ::fsync(fd) == 0;
  // Renamed while still locked, so that no clean-up takes it first.
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  ::close(fd);
  if (ok) SyncFolder(target.parent_path());
  return ok;
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
  struct stat info {};
  // Write through a link to the file it names, so the link stays a link.
  if (::lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    std::error_code error;
    target = fs::weakly_canonical(target, error);
    if (error) return false;
  }
  std::string content;
  if (::lstat(target.c_str(), &info) == 0) {
    // A settings file made read-only stays as it is, as if written in place:
    // no write permission bit at all means read-only for everybody, root
    // included (for whom access() would say yes).
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0) return false;
    auto old = ReadWholeFile(target);
    if (!old) return false;  // never clobber what we could not read
    content = std::move(*old);
  } else if (errno != ENOENT) {
    return false;
  }
  const auto updated = IniUpdate(content, section, key, value);
  return updated && ReplaceFile(target, *updated);
}

bool WriteFileAtomic(TextView path, std::string_view bytes) { return ReplaceFile(ToFsPath(path), bytes); }

}  // namespace applib
