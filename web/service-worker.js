// The page offline: keeps every file of one build in a cache named after the
// build's content and answers from it first. A page asks for its files with
// its build's stamp (page.js?v=STAMP), so every file it gets is of the build
// it started with, whichever worker answers; a load of the page, and what the
// browser asks for itself (an installed app's icons), gets this worker's
// build. A new build installs in the background and takes over as soon as it
// is ready, so the next load of the page runs it; the pages already open keep
// their own build, whose cache is deleted once no open page runs it. No cache
// of a build on its way (installing or waiting) is deleted, nor for a week
// that of a build whose install failed: the next try fetches only the files
// it lacks. Each build's state is noted for the page's About window.
// build_page.py writes BUILD, STAMP and FILES above this.
'use strict';

/* global BUILD, STAMP, FILES */

const CACHE = `brawlwise-${BUILD}`;
const STATE = 'brawlwise-pages';  // the build each page runs, by the page's client id; each build's state
const KEEP_TRYING_MS = 7 * 24 * 60 * 60 * 1000;  // how long a failed install's files are kept for the next try
const SCOPE = new URL(self.registration.scope);

const keyOf = (name, stamp) => new URL(`${name}?v=${stamp}`, SCOPE).href;

async function hexDigest(bytes) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return [...digest].map((byte) => byte.toString(16).padStart(2, '0')).join('');
}

// Every file of this build, from the host and not the browser's cache, each
// after any redirects and checked against its digest: a host that has moved on to another build
// meanwhile fails the install, which the next load tries again.
// Fetches only the files not kept yet; fails naming each file that failed.
async function keepBuild() {
  const cache = await caches.open(CACHE);
  const failed = [];
  await Promise.all(Object.entries(FILES).map(async ([name, digest]) => {
    if (await cache.match(keyOf(name, STAMP))) return;
    try {
      const response = await fetch(new Request(new URL(name, SCOPE), { cache: 'reload' }));
      if (!response.ok) throw new Error(`${name}: ${response.status} ${response.statusText}`.trim());
      const bytes = await response.arrayBuffer();
      if (await hexDigest(bytes) !== digest) throw new Error(`${name} is not of this version`);
      await cache.put(keyOf(name, STAMP), kept(response, bytes));
    } catch (error) {
      failed.push(error.message);
    }
  }));
  if (failed.length) throw new Error(failed.join('; '));
}

// A cache found missing or incomplete (deleted by the browser to make room,
// or an install that failed on a first visit) is filled again on a load,
// one refill at a time: a load and each of the page's files may ask.
let refilling = null;
function refill() {
  refilling ??= complete().then((done) => done || keepAndNote().catch(() => {})).finally(() => { refilling = null; });
  return refilling;
}

const buildKey = (cache) => new URL(`build/${cache}`, SCOPE).href;

// Notes this build's state: 'failed' (and why) or 'kept'.
async function note(state, why = '') {
  await (await caches.open(STATE)).put(buildKey(CACHE),
    new Response(JSON.stringify({ stamp: STAMP, state, why, at: Date.now() })));
}

// Keeps the build, noting how it went.
async function keepAndNote() {
  try {
    await keepBuild();
  } catch (error) {
    await note('failed', error.message);
    throw error;
  }
  await note('kept');
}

// Whether this build's cache was last found whole: it stays so unless the
// browser deletes it to make room, which a load of the page checks for.
let whole = false;

async function complete() {
  whole = (await (await caches.open(CACHE)).keys()).length >= Object.keys(FILES).length;
  return whole;
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
// page loaded before any worker answered it), deletes nothing, nor while
// another build is on its way: that one tidies once it answers a load. A failed
// install's files are kept a week for its next try. Only the page's own
// windows count: a help tab runs no build.
async function tidy() {
  if (self.registration.installing || self.registration.waiting) return;
  const state = await caches.open(STATE);
  const open = (await self.clients.matchAll({ type: 'window', includeUncontrolled: true })).filter((client) => {
    const name = new URL(client.url).pathname.slice(SCOPE.pathname.length);
    return name === '' || name === 'index.html';
  });
  const used = new Set([CACHE]);
  for (const request of await state.keys()) {
    if (!request.url.startsWith(buildKey(''))) continue;
    const { state: how, at } = await (await state.match(request)).json();
    if (how !== 'kept' && Date.now() - at < KEEP_TRYING_MS) used.add(request.url.slice(buildKey('').length));
  }
  let unknown = false;
  for (const page of open) {
    const note = await state.match(pageKey(page.id));
    if (note) used.add(await note.text());
    else unknown = true;
  }
  const openKeys = new Set(open.map((page) => pageKey(page.id)));
  for (const request of await state.keys()) {
    if (!request.url.startsWith(pageKey(''))) continue;
    // A note of this build may be of a page whose load is still under way.
    if (!openKeys.has(request.url) && (await (await state.match(request)).text()) !== CACHE) {
      await state.delete(request);
    }
  }
  if (unknown) return;
  for (const name of await caches.keys()) {
    if (name !== STATE && !used.has(name) && name.startsWith('brawlwise-')) {
      await caches.delete(name);
      await state.delete(buildKey(name));
    }
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

// Where a build is in use, it stays when this one fails, and the next load
// tries this one again. With none on this device yet, this one takes over as
// it is and fetches what it lacks on each later load (some engines drop what
// a failed install kept, which would fetch the whole build each time).
self.addEventListener('install', (event) => event.waitUntil(keepAndNote().catch((error) => {
  if (self.registration.active) throw error;
}).then(() => self.skipWaiting())));
// The old builds' caches are tidied on the next load this worker answers,
// not as it takes over: a page of the old build whose load was answered a
// moment before may not be listed among the open pages yet.
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));
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
    event.waitUntil(answered.then(refill).then(tidy));
  } else {
    event.respondWith(answer(event.request, name, url.searchParams.get('v')));
    // A browser may answer a load of the page from its own cache without
    // asking this worker: the page's files, asked for next, still ask it.
    if (url.searchParams.get('v') === STAMP && !whole) event.waitUntil(refill());
  }
});
