// The page as an app and offline: over http(s) it names its manifest and
// registers its service worker (through Workbox's window helper), offers a
// new version once one is ready ("A new version is ready", Reload), and the
// About window tells whether this version works offline on this device
// and, if not, why, in a player's words. Bundled when the page is built.
import { Workbox } from 'workbox-window/Workbox.mjs';
import { messageSW } from 'workbox-window/messageSW.mjs';

const NOTES = 'install-notes-of-brawlwise';  // what a failed install left, by the worker's scope
const ROOM_NEEDED = 1024 * 1024;  // less room than this for the site, and storage is taken as full
const RETRY = 'It will try again the next time the page is opened.';
const WORKERS_OFF = 'This page does not work offline here: service workers are turned off in this browser.';

let workbox = null;
let registration = null;
let refused = null;  // why the worker could not register
let registering = false;
let takingOver = false;

const canHaveWorker = () => location.protocol.startsWith('http') && window.isSecureContext;

// A page served over http(s) can be installed as an app, and works offline
// after its first visit; from disk a manifest could not load and no worker
// may register, so the page names neither there. `onNewVersion` is called
// when a new build is whole on this device and waits for this page.
function offerApp(onNewVersion) {
  if (!location.protocol.startsWith('http')) return;
  const link = document.createElement('link');
  link.rel = 'manifest';
  link.href = self.ofThisBuild('manifest.webmanifest');
  document.head.append(link);
  // Over plain http from another machine (no secure context) there is no
  // worker: the page then works as from disk.
  if (!canHaveWorker() || !('serviceWorker' in navigator)) return;
  navigator.serviceWorker.addEventListener('message', hearWorker);
  workbox = new Workbox('service-worker.js');
  workbox.addEventListener('waiting', onNewVersion);
  // Another page of this site took the new build: this one's next file
  // would be of it, so it offers the reload too.
  workbox.addEventListener('controlling', (event) => {
    if (takingOver) location.reload();
    else if (event.isExternal) onNewVersion();
  });
  registering = true;
  workbox.register().then((found) => {
    registration = found || null;
    if (registration) watchForNewVersion(onNewVersion);
  }, (error) => {
    refused = error;
  }).finally(() => {
    registering = false;
  });
}

// Calls onNewVersion once a new build waits behind the one in use, also one
// that was still installing when the page registered (Workbox's window
// helper then misses it). A first build is never offered: it is "waiting"
// only for the moment before it takes over.
function watchForNewVersion(onNewVersion) {
  const check = async () => {
    const waiting = registration.waiting;
    if (!waiting || !registration.active) return;
    // Not the build this page runs already (loaded from the host while it installed).
    const state = await workerState(waiting);
    if (!state || state.stamp !== document.documentElement.dataset.build) onNewVersion();
  };
  const follow = (worker) => {
    if (worker) worker.addEventListener('statechange', check);
  };
  follow(registration.installing);
  registration.addEventListener('updatefound', () => follow(registration.installing));
  check();
}

// What a failed install told this page, should its note not be kept.
let toldFailure = null;
function hearWorker(event) {
  const note = event.data && event.data.type === 'BRAWLWISE_INSTALL_FAILED' && event.data.note;
  // Only this copy's: a worker tells every page of the site.
  if (note && note.scope === new URL('.', location.href).href) toldFailure = note;
}

// Runs the new build: it takes over, and the page loads again under it (at
// once where the browser never says it took over).
function useNewVersion() {
  if (!registration || !registration.waiting) {
    location.reload();
    return;
  }
  takingOver = true;
  workbox.messageSkipWaiting();
  setTimeout(() => location.reload(), 3000);
}

// What the active worker says of itself ({ stamp, whole }), or null.
async function workerState(worker) {
  if (!worker) return null;
  const timeout = new Promise((resolve) => { setTimeout(() => resolve(null), 2000); });
  return Promise.race([messageSW(worker, { type: 'BRAWLWISE_STATE' }).catch(() => null), timeout]);
}

// What the last failed install of this page's scope (its folder) left or
// told: { stamp, file, full }, or null.
async function failedInstall() {
  try {
    if (!await caches.has(NOTES)) return toldFailure;
    const note = await (await caches.open(NOTES)).match(new URL('install-failed', location.href).href);
    return note ? await note.json() : toldFailure;
  } catch {
    return toldFailure;
  }
}

// Whether the site has no room left on this device, as the browser tells.
async function storageFull() {
  try {
    const { usage, quota } = await navigator.storage.estimate();
    return quota - usage < ROOM_NEEDED;
  } catch {
    return false;
  }
}

function whyNotKept(failure, full) {
  if (full || (failure && failure.full)) return "the device's storage is full";
  if (failure && failure.file) return `a file of it could not be fetched (${failure.file})`;
  return 'a file of it could not be fetched';
}

function refusal() {
  if (refused && refused.name === 'SecurityError') return WORKERS_OFF;
  return 'This page does not work offline here: the host did not give its offline part (service-worker.js), ' +
    'so it works only with a network.';
}

async function offlineState() {
  if (!location.protocol.startsWith('http')) return 'Opened from a file: it works without a network as it is.';
  if (!canHaveWorker()) return 'This page does not work offline here: that needs an https address.';
  if (!('serviceWorker' in navigator) || typeof caches === 'undefined') return WORKERS_OFF;
  if (refused) return refusal();
  // Until the page has registered (after its load), the registration the browser has.
  const found = registration || (registering ? await navigator.serviceWorker.getRegistration().catch(() => null) : null);
  if (!found) {
    return registering ? 'This version is being kept on this device, to work offline.'
      : 'This version does not work offline yet: it will be kept the next time the page is opened.';
  }
  const stamp = document.documentElement.dataset.build;
  const state = await workerState(found.active);
  const failure = await failedInstall();
  const full = await storageFull();
  if (state && state.whole && state.stamp === stamp) {
    const works = 'This version works offline on this device.';
    if (found.waiting) return `${works} A new version is ready: Reload to use it.`;
    if (found.installing) return `${works} A new version is being kept on this device.`;
    if (failure && failure.stamp !== stamp) {
      return `${works} A newer version on the host could not be kept on this device: ${whyNotKept(failure, full)}. ` +
        RETRY;
    }
    return works;
  }
  if (found.installing) return 'This version is being kept on this device, to work offline.';
  if (found.waiting) return 'A new version is ready on this device: Reload to use it, also offline.';
  const own = failure && failure.stamp === stamp ? failure : null;
  const why = own || full ? whyNotKept(own, full) : 'it is not kept on this device yet';
  if (state && state.whole) {
    return `This version does not work offline on this device: ${why}. Offline, the version kept earlier opens. ${RETRY}`;
  }
  return `This version does not work offline yet: ${why}. ${RETRY}`;
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

Object.assign(self, { offerApp, useNewVersion, tellOffline });
