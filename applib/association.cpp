#include "applib/association.h"

#include "applib/paths.h"

namespace applib {

using mission::IsGiven;

namespace {

constexpr TextView kBreak = u"\r\n";

Text ValueLine(TextView value) { return u"@=\"" + Text(value) + u"\""; }

}  // namespace

Text RegistryEscape(TextView text) {
  Text out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c == u'\\' || c == u'"') out += u'\\';
    out += c;
  }
  return out;
}

Text CommandLineQuote(TextView arg) {
  if (!arg.empty() && arg.find_first_of(u" \t\"") == TextView::npos) return Text(arg);
  Text out = u"\"";
  std::size_t backslashes = 0;
  for (const char16_t c : arg) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are literal unless a quote follows them.
    out.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, u'\\');  // before the closing quote
  return out + u"\"";
}

Text AssociatedProgram(const Library& lib) { return AddSlash(lib.pfad_main) + lib.ExecutableName(); }

Text AssociationScriptPath(const Library& lib) {
  const Text dir = AddSlash(lib.ad_brix);
  return dir + u"shell" + PathSeparator(dir) + ChangeExtension(lib.ExecutableName(), u"reg");
}

DocumentType MakeDocumentType(TextView verb, TextView program_id, TextView description, TextView extra_arguments,
                              TextView extension1, TextView extension2, TextView extension3, TextView program) {
  DocumentType type{Text(verb), Text(program_id), Text(description), Text(extra_arguments), {}, Text(program)};
  for (const TextView extension : {extension1, extension2, extension3}) {
    if (IsGiven(extension)) type.extensions.emplace_back(extension);
  }
  return type;
}

Text AssociationScript(const DocumentType& type) {
  // "n/a" or blanks mean no arguments; they never reach the command.
  const Text extra = IsGiven(type.extra_arguments) ? type.extra_arguments + u" " : Text();
  const Text command = RegistryEscape(CommandLineQuote(type.program)) + u" " + extra + u"\\\"%1\\\"";
  const Text root = u"[HKEY_CLASSES_ROOT\\";
  const Text& id = type.program_id;
  Text script = u"REGEDIT4" + Text(kBreak) + Text(kBreak);
  for (const Text& extension : type.extensions) {
    script += root + u"." + extension + u"]" + Text(kBreak) + ValueLine(id) + Text(kBreak) + Text(kBreak);
  }
  script += root + id + u"]" + Text(kBreak) + ValueLine(type.description) + Text(kBreak) + Text(kBreak);
  script += root + id + u"\\shell]" + Text(kBreak) + Text(kBreak);
  script += root + id + u"\\shell\\" + type.verb + u"]" + Text(kBreak) + ValueLine(u"") + Text(kBreak) + Text(kBreak);
  script += root + id + u"\\shell\\" + type.verb + u"\\command]" + Text(kBreak) + ValueLine(command);
  return script;
}

void AssociateFileType(Library& lib, TextView verb, TextView program_id, TextView description,
                       TextView extra_arguments, TextView extension1, TextView extension2, TextView extension3,
                       std::initializer_list<TextView> desktopExtensions) {
  DocumentType type = MakeDocumentType(verb, program_id, description, extra_arguments, extension1, extension2,
                                       extension3, AssociatedProgram(lib));
  for (const TextView extension : desktopExtensions) type.desktopExtensions.emplace_back(extension);
  const Text dir = AddSlash(lib.ad_brix);
  MakeDirs(dir + u"shell");
  const Text path = AssociationScriptPath(lib);
  WriteFileAtomic(path, mission::ToUtf8(AssociationScript(type)));
  lib.platform().RegisterDocumentType(type, path);
}

}  // namespace applib
