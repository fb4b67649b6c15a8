// Applies a document type the freedesktop way, for the user:
//   $XDG_DATA_HOME/mime/packages/<id>.xml      a MIME type per program id,
//                                              globs for its extensions,
//                                              a sub-class of text/plain
//   $XDG_DATA_HOME/applications/<id>.desktop   the program, with its extra
//                                              arguments and the document
//                                              as Exec line
//   $XDG_CONFIG_HOME/mimeapps.list             the program as the default
//                                              application of the type
// then starts update-mime-database and update-desktop-database without
// waiting for them. The files come from the same type that the registry
// script is written from.
#pragma once

#include <string>
#include <vector>

#include "applib/platform.h"
#include "base/text.h"

namespace applib {

using mission::Text;
using mission::TextView;

// The Exec value of a desktop entry for the type: the program, each
// blank-separated extra argument, and the file field code %f. Arguments are
// quoted by the Desktop Entry rules where needed, "%" is doubled, and the
// whole is escaped as a string value.
Text DesktopExec(const DocumentType& type);

// "application/x-veltrane_suite.torvek32"; and the file id used for the
// package and the desktop entry, "veltrane_suite.torvek32".
Text MimeTypeName(TextView program_id);
Text DesktopId(TextView program_id);

// The contents of the files written for a document type.
std::string MimePackage(const DocumentType& type);
std::string DesktopEntry(const DocumentType& type);

// Writes the files of the type below the two folders and starts the
// desktop's cache updates through `platform`. False when a file could not be
// written.
bool ApplyDocumentType(const DocumentType& type, TextView data_home, TextView config_home, Platform& platform);

}  // namespace applib
