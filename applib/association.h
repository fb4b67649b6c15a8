// Makes this program the one that opens documents of given extensions: a
// registry script in the text format of the Windows Registry Editor
// ("REGEDIT4") is written into the library's "shell" folder, and the
// document type it was written from goes to the platform, which applies the
// script or the type (see Platform::RegisterDocumentType).
#pragma once

#include <initializer_list>

#include <string>

#include "applib/library.h"
#include "applib/platform.h"
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

// The document type that AssociateFileType registers: the extensions that
// are given (IsGiven), in order.
DocumentType MakeDocumentType(TextView verb, TextView program_id, TextView description, TextView extra_arguments,
                              TextView extension1, TextView extension2, TextView extension3, TextView program);

// The script text: CR LF line breaks, no break after the last line. The
// extra arguments go between the program and the file argument when given.
Text AssociationScript(const DocumentType& type);

// Writes the script (creating the "shell" folder) and hands the type and
// the script to the platform. Reports nothing. `desktopExtensions` are
// matched by the desktop's MIME type only, not by the script.
void AssociateFileType(Library& lib, TextView verb, TextView program_id, TextView description,
                       TextView extra_arguments, TextView extension1, TextView extension2, TextView extension3,
                       std::initializer_list<TextView> desktopExtensions = {});

}  // namespace applib
