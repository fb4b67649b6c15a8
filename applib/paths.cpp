#include "applib/paths.h"

#include <system_error>

#include "applib/ini.h"

namespace applib {

namespace fs = std::filesystem;
using mission::IsGiven;

namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// Windows-style wildcard match: "*" any run of characters, "?" one character.
// Greedy with one backtrack point, so it never revisits more than needed.
bool WildcardMatch(TextView pattern, TextView name) {
  std::size_t p = 0, n = 0, star = TextView::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      resume = n;
    } else if (star != TextView::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

bool IsOrdinaryFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool AnyFileMatches(TextView path) {
  Text directory, pattern;
  SplitPath(path, directory, pattern);
  std::error_code error;
  const fs::path dir = directory.empty() ? fs::path(".") : ToFsPath(directory);
  fs::directory_iterator it(dir, error), end;
  for (; !error && it != end; it.increment(error)) {
    if (WildcardMatch(pattern, FromFsPath(it->path().filename())) && IsOrdinaryFile(it->path())) return true;
  }
  return false;
}

}  // namespace

char16_t PathSeparator(TextView path) {
  const bool slash = (!path.empty() && path.front() == u'/') || path.find(u"//") != TextView::npos;
  return slash ? u'/' : u'\\';
}

Text AddSlash(TextView path) {
  Text result(path);
  if (result.size() >= 3 && !IsSeparator(result.back())) result += PathSeparator(path);
  return result;
}

void SplitPath(TextView path, Text& directory, Text& file) {
  const std::size_t last = path.find_last_of(u"/\\");
  if (last == TextView::npos) {
    directory.clear();
    file = Text(path);
    return;
  }
  directory = Text(path.substr(0, last + 1));
  file = Text(path.substr(last + 1));
}

void SplitExtension(TextView name, Text& base, Text& extension) {
  const std::size_t dot = name.rfind(u'.');
  if (dot == TextView::npos) {
    base = Text(name);
    extension.clear();
    return;
  }
  base = Text(name.substr(0, dot));
  extension = Text(name.substr(dot + 1));
}

Text ChangeExtension(TextView name, TextView extension) {
  Text base, old;
  SplitExtension(name, base, old);
  return base + u'.' + Text(extension);
}

int BoolToBit(std::int16_t flag) { return flag != 0 ? 1 : 0; }

fs::path ToFsPath(TextView path) {
  const std::string utf8 = mission::ToUtf8(path);
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

Text FromFsPath(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return mission::FromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

bool FileExists(TextView path) {
  if (!IsGiven(path)) return false;
  if (IsOrdinaryFile(ToFsPath(path))) return true;
  Text directory, name;
  SplitPath(path, directory, name);
  if (name.find_first_of(u"*?") == Text::npos) return false;
  return AnyFileMatches(path);
}

void KillFile(TextView path) {
  if (!FileExists(path)) return;
  std::error_code error;
  fs::remove(ToFsPath(path), error);
}

std::vector<Text> DirectoryLevels(TextView directory) {
  std::vector<Text> levels;
  // Position i (1-based) ends the level made of the first i - 1 characters.
  for (std::size_t i = 2; i < directory.size(); ++i) {
    const char16_t c = directory[i - 1];
    if ((c == u'\\' && i >= 4) || (c == u'/' && i >= 2)) levels.emplace_back(directory.substr(0, i - 1));
  }
  if (!directory.empty()) levels.emplace_back(directory);
  return levels;
}

bool MakeDirs(TextView directory) {
  for (const Text& level : DirectoryLevels(directory)) {
    std::error_code error;
    fs::create_directory(ToFsPath(level), error);
  }
  static constexpr TextView kProbe = u"mscreate.dir";
  IniWrite(directory, kProbe, u"Test", u"Test", u"Test");
  const bool writable = IniRead(directory, kProbe, u"Test", u"Test") == u"Test";
  // A file that cannot be deleted must not keep us here forever.
  const Text probe = AddSlash(directory) + Text(kProbe);
  for (int attempt = 0; attempt < 10 && FileExists(probe); ++attempt) KillFile(probe);
  return writable;
}

}  // namespace applib
