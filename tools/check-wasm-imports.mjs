// Checks that a WebAssembly module needs nothing from its host: it imports
// nothing and exports its functions and its memory. Prints its size.
// Usage: node check-wasm-imports.mjs MODULE.wasm
import { readFile } from 'node:fs/promises';
import { gzipSync } from 'node:zlib';

const bytes = await readFile(process.argv[2]);
const module = await WebAssembly.compile(bytes);
const imports = WebAssembly.Module.imports(module);
const exports = WebAssembly.Module.exports(module);
console.log(`${process.argv[2]}: ${bytes.length} bytes, ${gzipSync(bytes, { level: 9 }).length} gzip-compressed; ` +
            `${imports.length} imports, ${exports.length} exports`);
for (const i of imports) console.log(`  imports ${i.module}.${i.name} (${i.kind})`);
const hasMemory = exports.some((e) => e.kind === 'memory');
if (imports.length !== 0 || !hasMemory) {
  console.log(imports.length !== 0 ? 'FAILED: the module imports from its host' : 'FAILED: no memory exported');
  process.exitCode = 1;
}
