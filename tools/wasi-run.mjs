// Runs a wasm32-wasi program under Node's WASI with the given arguments and
// no access to files or the environment; its exit status is the program's.
// Usage: node wasi-run.mjs PROGRAM.wasm [arguments]
import { readFile } from 'node:fs/promises';
import { WASI } from 'node:wasi';

process.removeAllListeners('warning');  // WASI's notice that it is experimental
const [program, ...args] = process.argv.slice(2);
const wasi = new WASI({ version: 'preview1', args: [program, ...args], env: {}, preopens: {}, returnOnExit: true });
const module = await WebAssembly.compile(await readFile(program));
const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi.wasiImport });
process.exitCode = wasi.start(instance);
