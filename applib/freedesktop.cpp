#include "applib/freedesktop.h"

#include <algorithm>
#include <filesystem>

#include "applib/ini.h"
#include "applib/paths.h"

namespace applib {

using mission::IsGiven;
using mission::LowerAscii;
using mission::ToUtf8;

namespace {

// Characters that make a Desktop Entry argument need quotes.
bool NeedsDesktopQuotes(TextView arg) {
  return arg.empty() || arg.find_first_of(u" \t\n\"'\\><~|&;$*?#()`") != TextView::npos;
}

// One argument of an Exec line: "%" doubled (a lone one would start a field
// code); in double quotes, with the characters that stay special inside
// them escaped, when it holds a reserved character.
Text ExecArgument(TextView arg) {
  Text quoted;
  for (const char16_t c : arg) {
    if (c == u'%') {
      quoted += u"%%";
      continue;
    }
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
    quoted += c;
  }
  return NeedsDesktopQuotes(arg) ? u"\"" + quoted + u"\"" : quoted;
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

Text DesktopExec(const DocumentType& type) {
  Text exec = ExecArgument(type.program);
  if (IsGiven(type.extra_arguments)) {
    const TextView extra = type.extra_arguments;
    std::size_t at = 0;
    while ((at = extra.find_first_not_of(u" \t", at)) != TextView::npos) {
      const std::size_t end = std::min(extra.find_first_of(u" \t", at), extra.size());
      exec += u' ' + ExecArgument(extra.substr(at, end - at));
      at = end;
    }
  }
  exec += u" %f";
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
  for (const auto* list : {&type.extensions, &type.desktopExtensions}) {
    for (const Text& extension : *list) xml += u"    <glob pattern=\"*." + XmlEscape(LowerAscii(extension)) + u"\"/>\n";
  }
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
                     u"Exec=" + DesktopExec(type) + u"\n"
                     u"Icon=" + DesktopId(type.program_id) + u"\n"
                     u"MimeType=" + MimeTypeName(type.program_id) + u";\n"
                     u"Terminal=false\n"
                     u"Categories=Development;\n";
  return ToUtf8(entry);
}

bool ApplyDocumentType(const DocumentType& type, TextView data_home, TextView config_home, Platform& platform) {
  const Text id = DesktopId(type.program_id);
  bool ok = WriteInFolder(AddSlash(data_home) + u"mime/packages", id + u".xml", MimePackage(type));
  ok = WriteInFolder(AddSlash(data_home) + u"applications", id + u".desktop", DesktopEntry(type)) && ok;
  ok = SetDefaultApplication(config_home, MimeTypeName(type.program_id), id + u".desktop") && ok;
  platform.StartProgram({u"update-mime-database", AddSlash(data_home) + u"mime"});
  platform.StartProgram({u"update-desktop-database", AddSlash(data_home) + u"applications"});
  return ok;
}

}  // namespace applib
