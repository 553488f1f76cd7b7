// The calculator: the WebAssembly module of Brawlwise's core, whose bytes
// brawlwise-module.js holds, and a thin wrapper over its C interface
// (web/PageInterface.h). Texts cross in UTF-8; the module holds them as the
// Windows program does. Nothing here knows a rule of the game.
'use strict';
(self.brawlwiseBuilds ??= {})['calculator.js'] = '';  // this file's build, written when the page is built

/* exported loadCalculator, ofThisBuild */
/* global brawlwiseModuleBytes */

class Calculator {
  constructor(exports) {
    this.bw = exports;
    this.encoder = new TextEncoder();
    this.decoder = new TextDecoder();
  }

  // A zero-terminated UTF-8 text in the module's memory.
  read(pointer) {
    const memory = new Uint8Array(this.bw.memory.buffer);
    let end = pointer;
    while (memory[end] !== 0) end++;
    return this.decoder.decode(memory.subarray(pointer, end));
  }

  setText(control, text) {
    const buffer = new Uint8Array(this.bw.memory.buffer, this.bw.bw_text_buffer(), this.bw.bw_text_buffer_size());
    const { written } = this.encoder.encodeInto(text, buffer);
    this.bw.bw_set_text(control, written);
  }
  setChoice(control, index) { this.bw.bw_set_choice(control, index); }
  setTick(control, ticked) { this.bw.bw_set_tick(control, ticked ? 1 : 0); }

  // Calculate; true when it was refused.
  calculate() { return this.bw.bw_calculate() === 1; }
  statistics(player) { this.bw.bw_statistics(player); }
  clear() { this.bw.bw_clear(); }

  boxText(control) { return this.read(this.bw.bw_box_text(control)); }
  boxChanged(control) { return this.bw.bw_box_changed(control) === 1; }
  listItems(control) {
    const items = [];
    for (let i = 0; i < this.bw.bw_list_count(control); i++) items.push(this.read(this.bw.bw_list_item(control, i)));
    return items;
  }
  choice(control) { return this.bw.bw_choice(control); }
  ticked(control) { return this.bw.bw_ticked(control) === 1; }

  refusal() { return this.read(this.bw.bw_refusal()); }
  refusalCaption() { return this.read(this.bw.bw_refusal_caption()); }
  resultsText(control) { return this.read(this.bw.bw_results_text(control)); }
  verdict() { return this.bw.bw_verdict(); }
  statisticsText(control) { return this.read(this.bw.bw_statistics_text(control)); }
}

// A file of the page's own build, as its service worker keeps it: the page
// names each of its files with its build's stamp (page.js?v=STAMP).
function ofThisBuild(path) {
  const stamp = document.documentElement.dataset.build;
  return stamp ? `${path}?v=${stamp}` : path;
}

// Calls `then` once the page's first contents have been painted, or after
// half a second where the browser does not tell.
function afterFirstPaint(then) {
  let called = false;
  const once = () => {
    if (called) return;
    called = true;
    then();
  };
  setTimeout(once, 500);
  try {
    new PerformanceObserver((list, observer) => {
      if (!list.getEntriesByName('first-contentful-paint').length) return;
      observer.disconnect();
      once();
    }).observe({ type: 'paint', buffered: true });
  } catch {
    // no paint timing in this browser: the half second
  }
}

// The module's bytes. Its script is asked for once the form has been drawn,
// so that on a slow network it does not hold up the first paint.
let moduleScript = null;
function moduleBytes() {
  moduleScript ??= new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.id = 'module-script';
    script.src = ofThisBuild('brawlwise-module.js');
    script.addEventListener('load', () => {
      const stamp = document.documentElement.dataset.build;
      if (typeof brawlwiseModuleBytes !== 'string') {
        reject(new Error('brawlwise-module.js holds no module'));
      } else if (stamp && (self.brawlwiseBuilds || {})['brawlwise-module.js'] !== stamp) {
        // a module of another build is never run: its controls and rules may differ from the page's
        const error = new Error('brawlwise-module.js is of another build than the page');
        error.name = 'OtherBuildError';
        reject(error);
      } else {
        resolve(brawlwiseModuleBytes);
      }
    });
    script.addEventListener('error', () => reject(new Error('brawlwise-module.js did not load')));
    afterFirstPaint(() => document.head.append(script));
  });
  return moduleScript;
}

// A new calculator of its own; rejects when the module is missing or broken.
async function loadCalculator() {
  const text = atob(await moduleBytes());
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
  const { instance } = await WebAssembly.instantiate(bytes, {});
  return new Calculator(instance.exports);
}
