// Applies the file-type associations of a registry script (the REGEDIT4
// text that the association writes) the freedesktop way, for the user:
//   $XDG_DATA_HOME/mime/packages/<id>.xml      a MIME type per program id,
//                                              globs for its extensions,
//                                              a sub-class of text/plain
//   $XDG_DATA_HOME/applications/<id>.desktop   the program, with the
//                                              script's command as Exec line
//                                              and the icon named <id>
//   $XDG_CONFIG_HOME/mimeapps.list             the program as the default
//                                              application of the type
// then starts update-mime-database and update-desktop-database without
// waiting for them.
#pragma once

#include <string>
#include <vector>

#include "applib/platform.h"
#include "base/text.h"

namespace applib {

using mission::Text;
using mission::TextView;

// One document type of a registry script.
struct DocumentType {
  Text program_id;               // "Veltrane_Suite.TORVEK32"
  Text description;              // the type's display name
  std::vector<Text> extensions;  // without the dot, as written ("FSM")
  Text command;                  // the open command, registry escaping undone
};

// The document types that a REGEDIT4 script gives HKEY_CLASSES_ROOT: every
// program id that has at least one extension and a shell command ("open"
// preferred, else the first verb).
std::vector<DocumentType> ParseRegistryScript(TextView script);

// Undoes registry string escaping: "\\" -> "\", "\"" -> """.
Text RegistryUnescape(TextView value);

// Splits a Windows command line into arguments: blanks separate them,
// double quotes group, and backslashes escape a quote (2n backslashes and a
// quote give n backslashes and a grouping quote, 2n+1 give n and a literal
// quote; other backslashes are literal).
std::vector<Text> SplitCommandLine(TextView command);

// The Exec value of a desktop entry for these arguments: "%1" becomes the
// file field code %f, other arguments are quoted by the Desktop Entry rules
// where needed, "%" is doubled, and the whole is escaped as a string value.
Text DesktopExec(const std::vector<Text>& argv);

// "application/x-veltrane_suite.torvek32"; and the file id used for the
// package and the desktop entry, "veltrane_suite.torvek32".
Text MimeTypeName(TextView program_id);
Text DesktopId(TextView program_id);

// The contents of the files written for a document type.
std::string MimePackage(const DocumentType& type);
std::string DesktopEntry(const DocumentType& type);

// Reads the script at `script_path` and applies every document type in it
// below the two folders; starts the desktop's cache updates through
// `platform`. False when the script could not be read or a file could not
// be written.
bool ImportRegistryScript(TextView script_path, TextView data_home, TextView config_home, Platform& platform);

}  // namespace applib
