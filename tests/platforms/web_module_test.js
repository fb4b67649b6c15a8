// The WebAssembly core module for web pages, under Node.js: its exportJson,
// exportText, exportDot and check must give, byte for byte, what the native headless
// program prints for the same missions.
//
// usage: node web_module_test.js TORVK32_CORE_JS NATIVE_TORVK32 MISSION...
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');

const [moduleJs, native, ...missions] = process.argv.slice(2);
if (!native || missions.length === 0) {
  console.error('usage: node web_module_test.js TORVK32_CORE_JS NATIVE_TORVK32 MISSION...');
  process.exit(2);
}

function nativeOutput(args, input) {
  const done = spawnSync(native, args, { input, maxBuffer: 1 << 30 });
  return done.stdout;
}

function firstDifference(a, b) {
  let i = 0;
  while (i < a.length && i < b.length && a[i] === b[i]) ++i;
  return i;
}

async function main() {
  const createTorvek32 = require(path.resolve(moduleJs));
  // A web page fetches the .wasm beside the script; here it is handed over,
  // as Node.js has no fetch for local files.
  const wasm = moduleJs.replace(/\.js$/, '.wasm');
  const torvek = await createTorvek32({ wasmBinary: fs.readFileSync(wasm) });
  let runs = 0;
  let failed = 0;
  const compare = (what, got, want) => {
    ++runs;
    const bytes = Buffer.from(got, 'utf8');
    if (!bytes.equals(want)) {
      const at = firstDifference(bytes, want);
      console.log(`FAIL: module: ${what}: differs at byte ${at} (${bytes.length} bytes, native ${want.length})`);
      ++failed;
    }
  };
  for (const mission of missions) {
    const bytes = fs.readFileSync(mission);
    compare(`exportJson ${mission}`, torvek.exportJson(bytes, false, mission),
            nativeOutput(['--export', 'json', mission]));
    compare(`exportJson modern ${mission}`, torvek.exportJson(bytes, true, mission),
            nativeOutput(['--export', 'json', '--modern-operators', mission]));
    compare(`exportText ${mission}`, torvek.exportText(bytes, false, mission),
            nativeOutput(['--export', 'text', mission]));
    compare(`exportDot ${mission}`, torvek.exportDot(bytes), nativeOutput(['--export', 'dot', mission]));
    compare(`check ${mission}`, torvek.check(bytes, mission),
            nativeOutput(['--check', '--format', 'json', mission]));
  }
  // Without a name a mission is "-", as standard input; an ArrayBuffer does
  // as well as a Uint8Array.
  const first = fs.readFileSync(missions[0]);
  const buffer = first.buffer.slice(first.byteOffset, first.byteOffset + first.length);
  compare('exportJson of an ArrayBuffer without a name', torvek.exportJson(buffer),
          nativeOutput(['--export', 'json', '-'], first));
  compare('check without a name', torvek.check(first), nativeOutput(['--check', '--format', 'json', '-'], first));
  console.log(`module: ${runs - failed} of ${runs} results as the native build (${missions.length} missions)`);
  process.exit(failed ? 1 : 0);
}

main().catch((error) => {
  console.log(`FAIL: module: ${error.stack || error}`);
  process.exit(1);
});
