#include "applib/freedesktop.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "applib/ini.h"
#include "applib/paths.h"

namespace applib {

using mission::FromUtf8;
using mission::LowerAscii;
using mission::ToUtf8;

namespace {

constexpr TextView kClassesRoot = u"hkey_classes_root\\";

struct ClassKey {
  Text description;
  std::map<Text, Text> commands;  // lower-case verb -> command
  Text first_verb;
};

TextView TrimLine(TextView line) {
  while (!line.empty() && (line.front() == u' ' || line.front() == u'\t')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == u' ' || line.back() == u'\t' || line.back() == u'\r')) line.remove_suffix(1);
  return line;
}

// The text of a quoted registry string at the start of `text`, escaping
// undone; nothing when it does not start with a quote.
std::optional<Text> QuotedValue(TextView text) {
  if (text.empty() || text.front() != u'"') return std::nullopt;
  Text raw;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size()) {
      raw += text.substr(i, 2);
      ++i;
    } else if (text[i] == u'"') {
      break;
    } else {
      raw += text[i];
    }
  }
  return RegistryUnescape(raw);
}

// Characters that make a Desktop Entry argument need quotes.
bool NeedsDesktopQuotes(TextView arg) {
  return arg.empty() || arg.find_first_of(u" \t\n\"'\\><~|&;$*?#()`") != TextView::npos;
}

Text XmlEscape(TextView text) {
  Text out;
  for (const char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// A Desktop Entry string value: backslashes and control characters escaped.
Text DesktopString(TextView text) {
  Text out;
  for (const char16_t c : text) {
    switch (c) {
      case u'\\': out += u"\\\\"; break;
      case u'\n': out += u"\\n"; break;
      case u'\r': out += u"\\r"; break;
      case u'\t': out += u"\\t"; break;
      default: out += c;
    }
  }
  return out;
}

// The program id's last dot-separated part: "TORVEK32".
Text ProgramName(TextView program_id) {
  const std::size_t dot = program_id.rfind(u'.');
  const TextView name = dot == TextView::npos ? program_id : program_id.substr(dot + 1);
  return Text(name.empty() ? program_id : name);
}

std::optional<std::string> ReadText(TextView path) {
  std::ifstream in(ToFsPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool WriteInFolder(TextView folder, TextView name, const std::string& content) {
  std::error_code error;
  std::filesystem::create_directories(ToFsPath(folder), error);
  return WriteFileAtomic(AddSlash(folder) + Text(name), content);
}

// Makes `desktop_file` the default application of `mime_type` and lists it
// first among the type's added associations, keeping the others.
bool SetDefaultApplication(TextView config_home, TextView mime_type, TextView desktop_file) {
  std::error_code error;
  std::filesystem::create_directories(ToFsPath(config_home), error);
  const Text entry = Text(desktop_file) + u";";
  Text added = IniRead(config_home, u"mimeapps.list", u"Added Associations", mime_type);
  if (added != entry && !added.starts_with(entry)) {
    // Drop an older mention further down the list, then put ours first.
    const Text mention = u";" + entry;
    if (const std::size_t at = (u";" + added).find(mention); at != Text::npos) added.erase(at, entry.size());
    added = entry + added;
  }
  return IniWrite(config_home, u"mimeapps.list", u"Default Applications", mime_type, desktop_file) &&
         IniWrite(config_home, u"mimeapps.list", u"Added Associations", mime_type, added);
}

}  // namespace

Text RegistryUnescape(TextView value) {
  Text out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == u'\\' && i + 1 < value.size() && (value[i + 1] == u'\\' || value[i + 1] == u'"')) ++i;
    out += value[i];
  }
  return out;
}

std::vector<DocumentType> ParseRegistryScript(TextView script) {
  std::map<Text, ClassKey> classes;          // lower-case program id -> its keys
  std::vector<std::pair<Text, Text>> extensions;  // (extension, program id) in script order
  std::vector<Text> order;                   // program ids as first named by an extension
  Text key;
  std::size_t start = 0;
  while (start <= script.size()) {
    std::size_t end = script.find(u'\n', start);
    if (end == TextView::npos) end = script.size();
    const TextView line = TrimLine(script.substr(start, end - start));
    start = end + 1;
    if (line.starts_with(u"[") && line.ends_with(u"]")) {
      key = Text(line.substr(1, line.size() - 2));
      continue;
    }
    if (!line.starts_with(u"@=") || !LowerAscii(key).starts_with(kClassesRoot)) continue;
    const auto value = QuotedValue(line.substr(2));
    if (!value) continue;
    const Text path = key.substr(kClassesRoot.size());
    const Text lower = LowerAscii(path);
    if (path.starts_with(u".") && path.find(u'\\') == Text::npos) {
      extensions.emplace_back(path.substr(1), *value);
      continue;
    }
    const std::size_t slash = path.find(u'\\');
    ClassKey& entry = classes[lower.substr(0, slash)];
    if (slash == Text::npos) {
      entry.description = *value;
      continue;
    }
    // progid\shell\verb\command
    const Text rest = lower.substr(slash + 1);
    if (!rest.starts_with(u"shell\\") || !rest.ends_with(u"\\command")) continue;
    const Text verb = rest.substr(6, rest.size() - 6 - 8);
    if (verb.empty() || verb.find(u'\\') != Text::npos) continue;
    if (entry.commands.empty()) entry.first_verb = verb;
    entry.commands[verb] = *value;
  }

  std::vector<DocumentType> types;
  std::map<Text, std::size_t> index;  // lower-case program id -> position in types
  for (const auto& [extension, program_id] : extensions) {
    const Text lower = LowerAscii(program_id);
    const auto found = classes.find(lower);
    if (found == classes.end() || found->second.commands.empty()) continue;
    auto [at, inserted] = index.emplace(lower, types.size());
    if (inserted) {
      const ClassKey& entry = found->second;
      const auto open = entry.commands.find(u"open");
      const Text& command = open != entry.commands.end() ? open->second : entry.commands.at(entry.first_verb);
      types.push_back({program_id, entry.description, {}, command});
    }
    types[at->second].extensions.push_back(extension);
  }
  return types;
}

std::vector<Text> SplitCommandLine(TextView command) {
  std::vector<Text> args;
  std::size_t i = 0;
  const auto blank = [&](std::size_t k) { return command[k] == u' ' || command[k] == u'\t'; };
  while (true) {
    while (i < command.size() && blank(i)) ++i;
    if (i >= command.size()) break;
    Text arg;
    bool quoted = false;
    while (i < command.size() && (quoted || !blank(i))) {
      if (command[i] == u'\\') {
        std::size_t count = 0;
        while (i < command.size() && command[i] == u'\\') ++count, ++i;
        if (i < command.size() && command[i] == u'"') {
          arg.append(count / 2, u'\\');
          if (count % 2 == 1) {
            arg += u'"';
            ++i;
          }
        } else {
          arg.append(count, u'\\');
        }
      } else if (command[i] == u'"') {
        quoted = !quoted;
        ++i;
      } else {
        arg += command[i++];
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

Text DesktopExec(const std::vector<Text>& argv) {
  Text exec;
  for (const Text& arg : argv) {
    if (!exec.empty()) exec += u' ';
    if (arg == u"%1") {
      exec += u"%f";
      continue;
    }
    Text quoted;
    for (const char16_t c : arg) {
      if (c == u'%') {
        quoted += u"%%";
        continue;
      }
      if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
      quoted += c;
    }
    exec += NeedsDesktopQuotes(arg) ? u"\"" + quoted + u"\"" : quoted;
  }
  return DesktopString(exec);
}

Text DesktopId(TextView program_id) {
  Text id = LowerAscii(program_id);
  for (char16_t& c : id) {
    const bool plain = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'.' || c == u'_' || c == u'-';
    if (!plain) c = u'_';
  }
  return id;
}

Text MimeTypeName(TextView program_id) { return u"application/x-" + DesktopId(program_id); }

std::string MimePackage(const DocumentType& type) {
  Text xml = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             u"<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             u"  <mime-type type=\"" + MimeTypeName(type.program_id) + u"\">\n"
             u"    <comment>" + XmlEscape(type.description) + u"</comment>\n"
             u"    <sub-class-of type=\"text/plain\"/>\n";
  // Globs match without regard to case unless told otherwise.
  for (const Text& extension : type.extensions) xml += u"    <glob pattern=\"*." + XmlEscape(LowerAscii(extension)) + u"\"/>\n";
  xml += u"  </mime-type>\n</mime-info>\n";
  return ToUtf8(xml);
}

// A menu entry like the one an installed package brings under the same id:
// this one takes its place for the user, so it must not hide it.
std::string DesktopEntry(const DocumentType& type) {
  const Text entry = u"[Desktop Entry]\n"
                     u"Type=Application\n"
                     u"Name=" + DesktopString(ProgramName(type.program_id)) + u"\n"
                     u"Comment=" + DesktopString(type.description) + u"\n"
                     u"Exec=" + DesktopExec(SplitCommandLine(type.command)) + u"\n"
                     u"Icon=" + DesktopId(type.program_id) + u"\n"
                     u"MimeType=" + MimeTypeName(type.program_id) + u";\n"
                     u"Terminal=false\n"
                     u"Categories=Development;\n";
  return ToUtf8(entry);
}

bool ImportRegistryScript(TextView script_path, TextView data_home, TextView config_home, Platform& platform) {
  const auto script = ReadText(script_path);
  if (!script) return false;
  bool ok = true;
  for (const DocumentType& type : ParseRegistryScript(FromUtf8(*script))) {
    const Text id = DesktopId(type.program_id);
    ok = WriteInFolder(AddSlash(data_home) + u"mime/packages", id + u".xml", MimePackage(type)) && ok;
    ok = WriteInFolder(AddSlash(data_home) + u"applications", id + u".desktop", DesktopEntry(type)) && ok;
    ok = SetDefaultApplication(config_home, MimeTypeName(type.program_id), id + u".desktop") && ok;
  }
  platform.StartProgram({u"update-mime-database", AddSlash(data_home) + u"mime"});
  platform.StartProgram({u"update-desktop-database", AddSlash(data_home) + u"applications"});
  return ok;
}

}  // namespace applib
