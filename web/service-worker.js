// The page offline, on Workbox's precaching: every file of one build, each
// checked against its digest, in one cache of this worker's scope (so two
// copies of the page on one site never touch each other's). An install that
// fails leaves the last whole build serving, and the next try fetches only
// what is missing or changed; old files go when a new build takes over.
// A load of the page is answered from the cache only while the build is
// whole there, and whatever goes wrong is answered from the network: never
// worse than no worker. Nothing here waits on a write before it answers.
// A new build waits until no page of the old one is open, or until a page
// asks it to take over (its "A new version is ready" Reload).
// build_page.py writes this build's files (self.__WB_MANIFEST) and the page's
// stamp (self.BRAWLWISE_STAMP) above the bundle.
import { PrecacheController } from 'workbox-precaching/PrecacheController.mjs';

const STAMP = self.BRAWLWISE_STAMP;
const SCOPE = new URL(self.registration.scope);
// What an install that failed leaves for the page's About window: the build,
// the file and whether storage was full. Best effort: a write refused for
// want of room leaves none, and the page then asks the browser for room.
const NOTES = 'install-notes-of-brawlwise';  // no "brawlwise-" name: the old design's worker deletes those
const NOTE = new URL('install-failed', SCOPE).href;
// The headers an answer keeps: what a page needs offline and what protects
// it. A host's others (Vary: *, Set-Cookie, a long Link) change nothing.
const KEPT_HEADERS = ['content-type', 'content-security-policy', 'cross-origin-opener-policy',
  'x-content-type-options', 'referrer-policy', 'permissions-policy'];

let fetching = '';  // the file being fetched by the install, which fetches one at a time

// Only a whole 200 answer is kept, as a response of its own with only the
// kept headers (which also drops a redirect's mark).
async function keepable(response) {
  if (!response || response.status !== 200) return null;
  const headers = new Headers();
  for (const name of KEPT_HEADERS) {
    if (response.headers.has(name)) headers.set(name, response.headers.get(name));
  }
  return new Response(await response.blob(), { status: 200, statusText: 'OK', headers });
}

const controller = new PrecacheController({
  plugins: [{
    requestWillFetch: async ({ request }) => {
      fetching = request.url;
      return request;
    },
    cacheWillUpdate: async ({ response }) => keepable(response),
  }],
});
controller.addToCacheList(self.__WB_MANIFEST);

const nameOf = (address) => new URL(address).pathname.slice(SCOPE.pathname.length) || 'index.html';

// Keeps the note, and tells it to the open pages of this scope at once.
async function noteFailure(error) {
  const note = { scope: SCOPE.href, stamp: STAMP, file: fetching ? nameOf(fetching) : '',
    full: error && error.name === 'QuotaExceededError' };
  try {
    await (await caches.open(NOTES)).put(NOTE, new Response(JSON.stringify(note)));
  } catch {
    // no room even for the note
  }
  try {
    for (const page of await self.clients.matchAll({ type: 'window', includeUncontrolled: true })) {
      page.postMessage({ type: 'BRAWLWISE_INSTALL_FAILED', note });
    }
  } catch {
    // no page to tell
  }
}

async function forgetFailure() {
  try {
    await (await caches.open(NOTES)).delete(NOTE);
  } catch {
    // nothing to forget
  }
}

// Whether every file of this build is in the cache: the browser may drop a
// cache to make room.
async function whole() {
  const kept = new Set((await (await caches.open(controller.strategy.cacheName)).keys()).map((r) => r.url));
  return [...controller.getURLsToCacheKeys().values()].every((key) => kept.has(key));
}

// The cache key of a request for a file of this build, or null: a request of
// another build (page.js?v=OTHER, from a page that started with it) or for
// anything else is the network's.
function keyOf(request) {
  if (request.method !== 'GET') return null;
  const url = new URL(request.url);
  if (url.origin !== SCOPE.origin || !url.pathname.startsWith(SCOPE.pathname)) return null;
  const stamp = url.searchParams.get('v');
  if (stamp !== null && stamp !== STAMP) return null;
  return controller.getCacheKeyForURL(new URL(nameOf(url.href), SCOPE).href) || null;
}

// Fetches the files of this build that the cache lacks, each checked against
// its digest and kept as the install keeps it; one repair at a time, and a
// file that fails is tried again at the next. WebKit hides what a failed
// first install had kept from the cache's list while still finding it by
// its key (so a later install counts it as kept): such a file is deleted
// before it is kept again, or it would stay hidden.
let repairing = null;
function repair() {
  repairing ??= (async () => {
    const cache = await caches.open(controller.strategy.cacheName);
    const kept = new Set((await cache.keys()).map((r) => r.url));
    for (const [url, key] of controller.getURLsToCacheKeys()) {
      if (kept.has(key)) continue;
      try {
        const integrity = controller.getIntegrityForCacheKey(key);
        const response = await keepable(await fetch(new Request(url, { integrity, cache: 'reload',
          credentials: 'same-origin' })));
        if (response) {
          await cache.delete(key);
          await cache.put(key, response);
        }
      } catch {
        // the next repair tries again
      }
    }
  })().catch(() => {}).finally(() => {
    repairing = null;
  });
  return repairing;
}

async function answer(request, key) {
  try {
    if (request.mode !== 'navigate' || await whole()) {
      const found = await (await caches.open(controller.strategy.cacheName)).match(key);
      if (found) return found;
    }
  } catch {
    // the network's, as with no worker
  }
  return fetch(request);
}

self.addEventListener('install', (event) => {
  event.waitUntil(controller.install(event).then(forgetFailure, async (error) => {
    await noteFailure(error);
    throw error;
  }));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(controller.activate(event).then(async () => {
    // This copy's files in the caches of the offline copy written by hand
    // before Workbox (shared by every copy on the site): a cache goes once empty.
    for (const name of await caches.keys()) {
      if (!/^brawlwise-(pages|[0-9a-f]{16})$/.test(name)) continue;
      const old = await caches.open(name);
      for (const request of await old.keys()) {
        if (request.url.startsWith(SCOPE.href)) await old.delete(request);
      }
      if (!(await old.keys()).length) await caches.delete(name);
    }
    // Not waited for: every load waits until this worker has taken over.
    if (!await whole()) repair();
  }));
});

// A load of the page also has what the cache lacks fetched, once it is answered.
self.addEventListener('fetch', (event) => {
  const key = keyOf(event.request);
  if (!key) return;
  const answered = answer(event.request, key);
  event.respondWith(answered);
  if (event.request.mode === 'navigate') {
    event.waitUntil(answered.then(whole).then((isWhole) => isWhole || repair()).catch(() => {}));
  }
});

self.addEventListener('message', (event) => {
  const type = event.data && event.data.type;
  if (type === 'SKIP_WAITING') {
    self.skipWaiting();
  } else if (type === 'BRAWLWISE_STATE' && event.ports[0]) {
    event.waitUntil(whole().catch(() => false).then((isWhole) => {
      event.ports[0].postMessage({ stamp: STAMP, whole: isWhole });
    }));
  }
});
