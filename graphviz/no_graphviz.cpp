// Graphviz on a system where this program cannot load it (Windows,
// WebAssembly): every layout fails with a reason that says what to use
// instead.
#include "graphviz/graphviz.h"

namespace graphviz {

bool Render(const std::string& /*dot*/, const char* /*format*/, std::string& /*out*/, std::string& error) {
  error = "this build has no Graphviz (only the Linux build loads it); --export dot writes the graph for "
          "Graphviz's own dot program (dot -Tsvg)";
  return false;
}

bool Loaded() { return false; }

void SetLibrary(const char* /*library*/) {}

}  // namespace graphviz
