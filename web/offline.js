// The page as an app and offline: over http(s) it names its manifest and
// registers its worker, and the About window tells whether this version works
// offline on this device and, if not, why, in the worker's own words.
'use strict';
(self.brawlwiseBuilds ??= {})['offline.js'] = '';  // this file's build, written when the page is built

/* exported offerApp, tellOffline */
/* global ofThisBuild */

const WORKER_NOTES = 'brawlwise-pages';  // the worker's notes: each build's state, each page's build

// A page served over http(s) can be installed as an app, and works offline
// after its first visit; from disk a manifest could not load and no worker
// may register, so the page names neither there.
function offerApp() {
  if (!location.protocol.startsWith('http')) return;
  const link = document.createElement('link');
  link.rel = 'manifest';
  link.href = ofThisBuild('manifest.webmanifest');
  document.head.append(link);
  // Once the page has loaded, so as not to slow its start. Over plain http
  // from another machine (no secure context) there is no worker: the page
  // then works as from disk.
  if (!window.isSecureContext || !('serviceWorker' in navigator)) return;
  window.addEventListener('load', () => {
    navigator.serviceWorker.register('service-worker.js').catch(() => {});
  });
}

// What the worker noted of this page's build ({ state, why }), or null.
async function noteOfThisBuild() {
  if (!await caches.has(WORKER_NOTES)) return null;
  const notes = await caches.open(WORKER_NOTES);
  const stamp = document.documentElement.dataset.build;
  for (const request of await notes.keys()) {
    if (!new URL(request.url).pathname.includes('/build/')) continue;
    const note = await (await notes.match(request)).json();
    if (note.stamp === stamp) return note;
  }
  return null;
}

async function offlineState() {
  if (!location.protocol.startsWith('http')) return 'Opened from a file: it works without a network as it is.';
  if (!window.isSecureContext || !('serviceWorker' in navigator) || typeof caches === 'undefined') {
    return 'This page does not work offline here: that needs an https address.';
  }
  const note = await noteOfThisBuild().catch(() => null);
  if (note && note.state === 'kept') return 'This version works offline on this device.';
  if (note && note.state === 'failed') {
    return `This version does not work offline yet: a file of it could not be fetched (${note.why}). ` +
      'It will try again the next time the page is opened.';
  }
  return 'This version is being kept on this device, to work offline.';
}

// Tells the state in the About window, and again while it stays open.
let offlineTimer = 0;
async function tellOffline(dialog) {
  clearTimeout(offlineTimer);
  const said = dialog.querySelector('[data-control="offline"]');
  const text = await offlineState();
  if (said.textContent !== text) said.textContent = text;
  if (dialog.open) offlineTimer = setTimeout(() => tellOffline(dialog), 1000);
}
