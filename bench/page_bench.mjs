// Times the page's calls in the WebAssembly module beside the same calls
// natively (bench/core_bench.cpp's Page benchmarks), in interleaved batches:
// a native batch, then a WebAssembly batch, fifteen times over, so that a busy
// machine slows both alike; each side's figure is its fastest batch.
// Usage: node page_bench.mjs MODULE.wasm NATIVE_BENCHMARK_PROGRAM
import { execFileSync } from 'node:child_process';
import { readFile } from 'node:fs/promises';
import { performance } from 'node:perf_hooks';

const [modulePath, nativeProgram] = process.argv.slice(2);
const { instance } = await WebAssembly.instantiate(await readFile(modulePath), {});
const bw = instance.exports;
const BATCHES = 15;
const BATCH_MS = 100;

function setText(control, text) {
  const bytes = new TextEncoder().encode(text);
  new Uint8Array(bw.memory.buffer, bw.bw_text_buffer(), bytes.length).set(bytes);
  bw.bw_set_text(control, bytes.length);
}

// The page's calls, each with the entries it is timed with natively.
const calls = {
  PageCalculate: {
    enter() {
      setText(4006, '5.680743');
      setText(4007, '-4.9');
      bw.bw_set_choice(1004, 0);
      bw.bw_set_choice(1005, 5);
    },
    run: () => bw.bw_calculate(),
  },
  PageStatisticsAtLargestStatus: {
    enter() { setText(4006, '3.4028235e38'); },
    run() {
      bw.bw_statistics(0);
      bw.bw_statistics_text(1308);
    },
  },
};

// Iterations of a call that take about one batch's time.
function iterationsFor(run) {
  for (let iterations = 1; ; iterations *= 2) {
    const start = performance.now();
    for (let i = 0; i < iterations; ++i) run();
    if (performance.now() - start >= BATCH_MS) return iterations;
  }
}

// One batch's mean time of one call, in microseconds.
function batch(run, iterations) {
  const start = performance.now();
  for (let i = 0; i < iterations; ++i) run();
  return ((performance.now() - start) * 1000) / iterations;
}

function nativeBatch() {
  const out = execFileSync(nativeProgram, ['--benchmark_filter=^Page', `--benchmark_min_time=${BATCH_MS / 1000}`,
    '--benchmark_format=json'], { encoding: 'utf8' });
  return Object.fromEntries(JSON.parse(out).benchmarks.map((b) => [b.name, b.real_time]));
}

const iterations = {};
for (const [name, call] of Object.entries(calls)) {
  call.enter();
  iterations[name] = iterationsFor(call.run);
}
const fastest = { native: {}, wasm: {} };
const keep = (side, name, took) => { fastest[side][name] = Math.min(fastest[side][name] ?? Infinity, took); };
for (let b = 0; b < BATCHES; ++b) {
  for (const [name, took] of Object.entries(nativeBatch())) keep('native', name, took);
  for (const [name, call] of Object.entries(calls)) {
    call.enter();
    keep('wasm', name, batch(call.run, iterations[name]));
  }
}

console.log(`\nThe page's calls, one call's time in the fastest of ${BATCHES} interleaved batches:`);
console.log('  call                               native     WebAssembly  ratio');
for (const name of Object.keys(calls)) {
  const native = fastest.native[name];
  const wasm = fastest.wasm[name];
  console.log(`  ${name.padEnd(32)} ${native.toFixed(2).padStart(7)} us ${wasm.toFixed(2).padStart(9)} us ` +
              `${(wasm / native).toFixed(2).padStart(6)}  (goal: at most 1.5)`);
}
