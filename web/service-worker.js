// The page offline: keeps every file of one build in a cache named after the
// build's content and answers from it first. A page asks for its files with
// its build's stamp (page.js?v=STAMP), so every file it gets is of the build
// it started with, whichever worker answers; a load of the page, and what the
// browser asks for itself (an installed app's icons), gets this worker's
// build. A new build installs in the background and takes over as soon as it
// is ready, so the next load of the page runs it; the pages already open keep
// their own build, whose cache is deleted once no open page runs it.
// build_page.py writes BUILD, STAMP and FILES above this.
'use strict';

/* global BUILD, STAMP, FILES */

const CACHE = `brawlwise-${BUILD}`;
const STATE = 'brawlwise-pages';  // the build each page runs, by the page's client id
const SCOPE = new URL(self.registration.scope);

const keyOf = (name, stamp) => new URL(`${name}?v=${stamp}`, SCOPE).href;

async function hexDigest(bytes) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return [...digest].map((byte) => byte.toString(16).padStart(2, '0')).join('');
}

// Every file of this build, from the host and not the browser's cache, each
// after any redirects and checked against its digest: a host that has moved on to another build
// meanwhile fails the install, which the next load tries again.
async function keepBuild() {
  const cache = await caches.open(CACHE);
  await Promise.all(Object.entries(FILES).map(async ([name, digest]) => {
    const response = await fetch(new Request(new URL(name, SCOPE), { cache: 'reload' }));
    if (!response.ok) throw new Error(`${name}: ${response.status}`);
    const bytes = await response.arrayBuffer();
    if (await hexDigest(bytes) !== digest) throw new Error(`${name} is not of this build`);
    await cache.put(keyOf(name, STAMP), kept(response, bytes));
  }));
}

// What the host finally answered, as a response of its own: one marked as
// redirected (a host that sends index.html to its folder's address, a file
// moved) is refused by browsers as the answer to a page's load.
function kept(response, bytes) {
  return new Response(bytes, { status: response.status, statusText: response.statusText, headers: response.headers });
}

const pageKey = (clientId) => new URL(`page/${encodeURIComponent(clientId)}`, SCOPE).href;

// Deletes the cache of each build that no open page runs (never this one's),
// and the notes of pages gone; while the build of an open page is unknown (a
// page loaded before any worker answered it), deletes nothing.
async function tidy() {
  const state = await caches.open(STATE);
  const open = await self.clients.matchAll({ type: 'window', includeUncontrolled: true });
  const used = new Set([CACHE]);
  let unknown = false;
  for (const page of open) {
    const note = await state.match(pageKey(page.id));
    if (note) used.add(await note.text());
    else unknown = true;
  }
  const openKeys = new Set(open.map((page) => pageKey(page.id)));
  for (const request of await state.keys()) {
    // A note of this build may be of a page whose load is still under way.
    if (!openKeys.has(request.url) && (await (await state.match(request)).text()) !== CACHE) {
      await state.delete(request);
    }
  }
  if (unknown) return;
  for (const name of await caches.keys()) {
    if (name !== STATE && !used.has(name) && name.startsWith('brawlwise-')) await caches.delete(name);
  }
}

// A load of the page: this build's page, noted as the build that page runs.
async function answerLoad(event) {
  const page = await (await caches.open(CACHE)).match(keyOf('index.html', STAMP));
  if (!page) return fetch(event.request);
  if (event.resultingClientId) {
    await (await caches.open(STATE)).put(pageKey(event.resultingClientId), new Response(CACHE));
  }
  return page;
}

async function answer(request, name, stamp) {
  const found = stamp ? await caches.match(keyOf(name, stamp))
    : await (await caches.open(CACHE)).match(keyOf(name, STAMP));
  return found || fetch(request);
}

self.addEventListener('install', (event) => event.waitUntil(keepBuild().then(() => self.skipWaiting())));
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim().then(tidy)));
self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== SCOPE.origin || !url.pathname.startsWith(SCOPE.pathname)) {
    return;  // not the page's: the browser's own way
  }
  const name = url.pathname.slice(SCOPE.pathname.length) || 'index.html';
  if (!Object.hasOwn(FILES, name)) return;
  if (event.request.mode === 'navigate' && name === 'index.html') {
    const answered = answerLoad(event);
    event.respondWith(answered);
    event.waitUntil(answered.then(tidy));
  } else {
    event.respondWith(answer(event.request, name, url.searchParams.get('v')));
  }
});
