// The page offline: keeps every file of one build in a cache named after the
// build's content and answers from it first. A page asks for its files with
// its build's stamp (page.js?v=STAMP), so every file it gets is of the build
// it started with, whichever worker answers; a page that names no stamp (a
// new load, the icons of an installed app) gets this worker's build. A new
// build installs in the background and takes over once no page of the old one
// is open; it keeps the old one's cache for a page that a reload started
// while it was taking over, and deletes it when the build after it takes over.
// build_page.py writes BUILD, STAMP and FILES above this.
'use strict';

/* global BUILD, STAMP, FILES */

const CACHE = `brawlwise-${BUILD}`;
const STATE = 'brawlwise-state';  // which build's cache the page last ran on
const SCOPE = new URL(self.registration.scope);

const keyOf = (name, stamp) => new URL(`${name}?v=${stamp}`, SCOPE).href;

async function hexDigest(bytes) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return [...digest].map((byte) => byte.toString(16).padStart(2, '0')).join('');
}

// Every file of this build, from the host and not the browser's cache, each
// checked against its digest: a host that has moved on to another build
// meanwhile fails the install, which the next load tries again.
async function keepBuild() {
  const cache = await caches.open(CACHE);
  await Promise.all(Object.entries(FILES).map(async ([name, digest]) => {
    const response = await fetch(new Request(new URL(name, SCOPE), { cache: 'reload' }));
    if (!response.ok) throw new Error(`${name}: ${response.status}`);
    if (await hexDigest(await response.clone().arrayBuffer()) !== digest) {
      throw new Error(`${name} is not of this build`);
    }
    await cache.put(keyOf(name, STAMP), response);
  }));
}

// Only this build's cache and the one of the build before it stay.
async function takeOver() {
  const state = await caches.open(STATE);
  const last = await state.match('last');
  const before = last ? await last.text() : null;
  for (const name of await caches.keys()) {
    if (name !== CACHE && name !== STATE && name !== before && name.startsWith('brawlwise-')) await caches.delete(name);
  }
  if (before !== CACHE) await state.put('last', new Response(CACHE));
  await self.clients.claim();
}

async function answer(request, name, stamp) {
  const found = stamp ? await caches.match(keyOf(name, stamp))
    : await (await caches.open(CACHE)).match(keyOf(name, STAMP));
  return found || fetch(request);
}

self.addEventListener('install', (event) => event.waitUntil(keepBuild()));
self.addEventListener('activate', (event) => event.waitUntil(takeOver()));
self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== SCOPE.origin || !url.pathname.startsWith(SCOPE.pathname)) {
    return;  // not the page's: the browser's own way
  }
  const name = url.pathname.slice(SCOPE.pathname.length) || 'index.html';
  if (!Object.hasOwn(FILES, name)) return;
  event.respondWith(answer(event.request, name, url.searchParams.get('v')));
});
