// Times the page's calls in the WebAssembly module, as bench/core_bench.cpp
// times them natively, and sets both side by side with their ratio.
// Usage: node page_bench.mjs MODULE.wasm NATIVE_RESULTS.json
import { readFile } from 'node:fs/promises';
import { performance } from 'node:perf_hooks';

const [modulePath, nativePath] = process.argv.slice(2);
const { instance } = await WebAssembly.instantiate(await readFile(modulePath), {});
const bw = instance.exports;

function setText(control, text) {
  const bytes = new TextEncoder().encode(text);
  new Uint8Array(bw.memory.buffer, bw.bw_text_buffer(), bytes.length).set(bytes);
  bw.bw_set_text(control, bytes.length);
}

// The mean time of one call in microseconds, over five runs of at least
// 0.1 s each.
function time(run) {
  let iterations = 1;
  for (;;) {
    const start = performance.now();
    for (let i = 0; i < iterations; ++i) run();
    if (performance.now() - start >= 100) break;
    iterations *= 2;
  }
  const means = [];
  for (let repetition = 0; repetition < 5; ++repetition) {
    const start = performance.now();
    for (let i = 0; i < iterations; ++i) run();
    means.push(((performance.now() - start) * 1000) / iterations);
  }
  return means.reduce((a, b) => a + b) / means.length;
}

setText(4006, '5.680743');
setText(4007, '-4.9');
bw.bw_set_choice(1004, 0);
bw.bw_set_choice(1005, 5);
const wasm = { PageCalculate: time(() => bw.bw_calculate()) };
setText(4006, '3.4028235e38');
wasm.PageStatisticsAtLargestStatus = time(() => {
  bw.bw_statistics(0);
  bw.bw_statistics_text(1308);
});

const native = {};
for (const b of JSON.parse(await readFile(nativePath, 'utf8')).benchmarks) {
  if (b.aggregate_name === 'mean') native[b.run_name] = b.real_time;
}
console.log('\nThe page\'s calls, mean time of one call:');
console.log('  call                               native     WebAssembly  ratio');
for (const name of Object.keys(wasm)) {
  const ratio = wasm[name] / native[name];
  console.log(`  ${name.padEnd(32)} ${native[name].toFixed(2).padStart(7)} us ${wasm[name].toFixed(2).padStart(9)} us ` +
              `${ratio.toFixed(2).padStart(6)}  (goal: at most 2)`);
}
