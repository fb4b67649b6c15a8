// Makes this program the one that opens documents of given extensions: a
// registry script in the text format of the Windows Registry Editor
// ("REGEDIT4") is written into the library's "shell" folder and handed to
// the platform's importer.
#pragma once

#include <string>

#include "applib/library.h"
#include "base/text.h"

namespace applib {

using mission::Text;
using mission::TextView;

// Every "\" doubled and every """ preceded by "\", as registry strings need.
Text RegistryEscape(TextView text);

// An argument as a Windows command line needs it: unchanged unless it is
// empty or holds a blank or a quote; then in double quotes, with quotes and
// the backslashes before them escaped.
Text CommandLineQuote(TextView arg);

// The program that documents open with: the program directory followed by
// the running executable's name.
Text AssociatedProgram(const Library& lib);

// The script's path: ad_brix + "shell" + the executable's name with "reg".
Text AssociationScriptPath(const Library& lib);

// The script text: CR LF line breaks, no break after the last line. An
// empty extension is skipped; `extra_arguments` go between the program and
// the file argument when given.
Text AssociationScript(TextView verb, TextView program_id, TextView description, TextView extra_arguments,
                       TextView extension1, TextView extension2, TextView extension3, TextView program);

// Writes the script (creating the "shell" folder) and hands it to the
// platform's importer. Reports nothing.
void AssociateFileType(Library& lib, TextView verb, TextView program_id, TextView description,
                       TextView extra_arguments, TextView extension1, TextView extension2, TextView extension3);

}  // namespace applib
