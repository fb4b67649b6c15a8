// The module's API for a web page, added to the module object that
// createTorvek32() resolves to. A mission is its bytes (a Uint8Array or an
// ArrayBuffer, as File.arrayBuffer() gives them); `name` stands where the
// command line has the file's name, "-" (standard input) when not given.
//
//   const torvek = await createTorvek32();
//   const json = torvek.exportJson(bytes, true, "m01.fs2");  // FreeSpace Open operators too
//   const problems = JSON.parse(torvek.check(bytes, "m01.fs2"));
//   const dot = torvek.exportDot(bytes);  // the event flow graph, for Graphviz
//
// Each returns the text the headless program prints; a failure (the
// mission does not fit in memory) throws an Error with the reason.

function torvek32Call(work, bytes, name) {
  bytes = bytes instanceof Uint8Array ? bytes : new Uint8Array(bytes);
  const nameBytes = new TextEncoder().encode(name === undefined ? '-' : String(name));
  const at = _malloc(bytes.length + nameBytes.length + 1);
  if (!at) throw new Error('Cannot allocate memory');
  try {
    HEAPU8.set(bytes, at);
    HEAPU8.set(nameBytes, at + bytes.length);
    HEAPU8[at + bytes.length + nameBytes.length] = 0;
    const ok = work(at, bytes.length, at + bytes.length);
    // The memory may have grown meanwhile: HEAPU8 is looked up again.
    const start = _torvk32_result();
    const text = new TextDecoder().decode(HEAPU8.subarray(start, start + _torvk32_result_size()));
    if (!ok) throw new Error(text);
    return text;
  } finally {
    _free(at);
    _torvk32_release();
  }
}

Module['exportJson'] = function (bytes, modern, name) {
  return torvek32Call((at, size, nameAt) => _torvk32_export(at, size, nameAt, 0, modern ? 1 : 0), bytes, name);
};

Module['exportText'] = function (bytes, modern, name) {
  return torvek32Call((at, size, nameAt) => _torvk32_export(at, size, nameAt, 1, modern ? 1 : 0), bytes, name);
};

Module['exportDot'] = function (bytes) {
  return torvek32Call((at, size, nameAt) => _torvk32_export(at, size, nameAt, 2, 0), bytes);
};

Module['check'] = function (bytes, name) {
  return torvek32Call((at, size, nameAt) => _torvk32_check(at, size, nameAt), bytes, name);
};
