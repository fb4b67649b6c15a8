#include "applib/files.h"

#include <string>

namespace applib {

namespace fs = std::filesystem;

namespace {

// ".<name>.tmp" in the system's own characters, so that no name is
// converted on its way.
fs::path::string_type TemporaryPrefix(const fs::path& target) {
  return fs::path(".").native() + target.filename().native() + fs::path(".tmp").native();
}

bool IsDigits(const fs::path::string_type& s, std::size_t from, std::size_t to) {
  if (from >= to) return false;
  for (std::size_t i = from; i < to; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
  }
  return true;
}

// Whether `name` is the prefix followed by "<digits>.<digits>".
bool IsTemporaryName(const fs::path::string_type& name, const fs::path::string_type& prefix) {
  if (!name.starts_with(prefix)) return false;
  const std::size_t dot = name.find('.', prefix.size());
  return dot != fs::path::string_type::npos && IsDigits(name, prefix.size(), dot) &&
         IsDigits(name, dot + 1, name.size());
}

}  // namespace

fs::path TemporaryPath(const fs::path& target, unsigned long process, unsigned number) {
  fs::path temporary = target;
  temporary.replace_filename(TemporaryPrefix(target) +
                             fs::path(std::to_string(process) + "." + std::to_string(number)).native());
  return temporary;
}

std::vector<fs::path> TemporariesOf(const fs::path& target) {
  const fs::path::string_type prefix = TemporaryPrefix(target);
  std::vector<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator it(target.parent_path().empty() ? "." : target.parent_path(), error), end;
       !error && it != end; it.increment(error)) {
    if (IsTemporaryName(it->path().filename().native(), prefix)) found.push_back(it->path());
  }
  return found;
}

}  // namespace applib
