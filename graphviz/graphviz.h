// Graphviz's "dot" layout, loaded from the system's Graphviz library
// (libgvc.so.6) the first time a layout is asked for and kept for the rest
// of the process, with one Graphviz context. Only Graphviz's C functions
// are called; nothing of this program's C++ runtime crosses into it.
//
// Graphviz is not thread-safe: calls are made one at a time (a lock keeps
// them apart), and the window makes all of them on its layout thread.
#pragma once

#include <string>

namespace graphviz {

// Lays out a graph written in DOT with "dot" and writes the result in
// `format` ("plain", "svg", ...) into `out`. False with a reason in `error`
// when Graphviz is not installed, the text is not DOT, or the layout or the
// output failed. Graphviz's warnings are not printed.
bool Render(const std::string& dot, const char* format, std::string& out, std::string& error);

// Whether this process has loaded Graphviz.
bool Loaded();

// Loads `library` in place of Graphviz's, for a test of a machine without
// Graphviz; only before the first Render of the process.
void SetLibrary(const char* library);

}  // namespace graphviz
