// The core as a WebAssembly module for a web page: a mission's bytes in, the
// export or the check's problems out. web_module.js wraps these functions
// as exportJson, exportText, exportDot and check; they are plain C++, tested
// natively.
#pragma once

#include <cstddef>

extern "C" {

// The exports' formats, as `--export` names them.
enum { kTorvk32Json = 0, kTorvk32Text = 1, kTorvk32Dot = 2 };

// Reads `size` bytes of a mission named `name` (as a file name would be
// given on the command line) and writes its export in `format`; with
// `modern` the FreeSpace Open operators are translated too (JSON and text).
// Returns 1 with the document as the result, or 0 with the reason as the
// result.
int torvk32_export(const char* bytes, std::size_t size, const char* name, int format, int modern);

// The same mission's problems as the JSON list of `--check --format json`.
int torvk32_check(const char* bytes, std::size_t size, const char* name);

// The result of the last call, valid until the next one: its bytes (UTF-8,
// without a terminating NUL) and their number.
const char* torvk32_result();
std::size_t torvk32_result_size();

// Gives back the memory of the result.
void torvk32_release();
}
