// The page's first script, written into the page itself when it is built (so
// that it can never be missing) and in ES5 (so that every browser runs it,
// however old). It marks the page as scripted, keeps note of each control the
// user changes before the other scripts run, and shows the page's notice in
// place of the form when the calculator cannot start: a page whose files are
// not all of one build, a file that could not be fetched or did not run, a
// browser too old for them, or any failure while the page wires itself up.
// A page not ready within a few seconds says so, with Reload, while it goes
// on waiting. A notice that asks for a reload has its own Reload button: an
// installed app has no reload control.
'use strict';

var NEEDED_BROWSERS = 'Safari 16 or later (iOS and iPadOS 16 on an iPhone or iPad), Chrome or Edge 97 or later, ' +
  'or Firefox 102 or later';
// The page's scripts, each of which notes its build as it runs (the module's
// script is checked by calculator.js as it loads).
var STAMPED_SCRIPTS = ['control-numbers.js', 'calculator.js', 'offline.js', 'page.js'];
var SLOW_START_MS = 8000;

var page = document.documentElement;
page.setAttribute('data-scripted', '');

function stillStarting() {
  return !page.hasAttribute('data-ready') && !page.hasAttribute('data-stopped');
}

// A control changed before the page's scripts have run keeps what the user made of it.
function noteChanged(event) {
  if (stillStarting() && event.target && event.target.setAttribute) event.target.setAttribute('data-changed', '');
}
document.addEventListener('input', noteChanged, true);
document.addEventListener('change', noteChanged, true);

// A reload that fetches the page's files afresh first: a file of another
// build that the browser keeps under this build's address (asked for while
// the host was between builds) would otherwise come back from its cache.
function reloadAfresh() {
  var stamp = page.getAttribute('data-build');
  var elements = document.querySelectorAll('script[src], link[rel="stylesheet"]');
  var files = [];
  for (var i = 0; i < elements.length; i++) files.push(elements[i].src || elements[i].href);
  if (stamp) files.push(new URL('brawlwise-module.js?v=' + stamp, location.href).href);
  var left = files.length;
  var reload = function () {
    if (--left <= 0) location.reload();
  };
  if (!window.fetch) {
    location.reload();
    return;
  }
  for (var j = 0; j < files.length; j++) fetch(files[j], { cache: 'reload' }).then(reload, reload);
  setTimeout(function () { location.reload(); }, 5000);  // a fetch that hangs holds nothing up
}

function showNotice(text, options) {
  var notice = document.getElementById('notice');
  notice.querySelector('[data-notice-text]').textContent = text;
  var button = notice.querySelector('[data-command="reload"]');
  button.hidden = !(options && options.reload);
  button.onclick = reloadAfresh;
  notice.hidden = false;
  document.getElementById('encounter').hidden = true;
  document.getElementById('stalled').hidden = true;
  page.setAttribute('data-stopped', '');
  if (window.performance && performance.mark) performance.mark('brawlwise-started');
}

function newerVersion() {
  showNotice('A newer version of Brawlwise is on the host than the one this page started with, so this page ' +
    'does not calculate. Reload to use the new version.', { reload: true });
}

function failedToStart(error) {
  showNotice('Brawlwise could not start its calculator, so it cannot answer here. Reload to try again; if that ' +
    'does not help, use the Windows program. (' + (error && error.message ? error.message : error) + ')',
  { reload: true });
}

function tooOld() {
  showNotice('This browser is too old for Brawlwise\'s calculator. Brawlwise needs ' + NEEDED_BROWSERS +
    '; or use the Windows program.');
}

// Whether this browser has what the page's other scripts are written in.
function modernEnough() {
  return typeof Object.hasOwn === 'function' && typeof Array.prototype.at === 'function' &&
    typeof window.HTMLDialogElement === 'function';
}

var sawSyntaxError = false;

// Whether every script of the page ran and is of the page's build; if not, says so.
function ofOneBuild() {
  var stamp = page.getAttribute('data-build');
  var builds = self.brawlwiseBuilds || {};
  var missing = [];
  var other = false;
  for (var i = 0; i < STAMPED_SCRIPTS.length; i++) {
    var name = STAMPED_SCRIPTS[i];
    if (!Object.prototype.hasOwnProperty.call(builds, name)) missing.push(name);
    else if (stamp && builds[name] !== stamp) other = true;
  }
  if (missing.length) {
    if (sawSyntaxError || !modernEnough()) tooOld();
    else failedToStart(new Error(missing.join(', ') + ' did not load'));
    return false;
  }
  if (other) {
    newerVersion();
    return false;
  }
  return true;
}

// Whatever fails before the page is ready, and has not said so itself.
window.addEventListener('error', function (event) {
  if (event.target !== window) return;
  if ((event.error && event.error.name === 'SyntaxError') || /SyntaxError/.test(event.message || '')) {
    sawSyntaxError = true;
  }
  if (stillStarting() && page.hasAttribute('data-starting')) failedToStart(event.error || event.message);
});
window.addEventListener('unhandledrejection', function (event) {
  if (stillStarting()) failedToStart(event.reason);
});
// Every deferred script has run by now: one that did not load or run, or a
// page.js that stopped before its start, would leave the start message up.
document.addEventListener('DOMContentLoaded', function () {
  if (stillStarting() && !page.hasAttribute('data-starting') && ofOneBuild()) {
    failedToStart(new Error('page.js did not start'));
  }
});
// Counted from the start of the page: a script that hangs on the network
// holds up the events that come after it.
setTimeout(function () {
  var stalled = document.getElementById('stalled');
  if (!stalled || !stillStarting()) return;
  stalled.querySelector('[data-command="reload"]').onclick = function () {
    location.reload();
  };
  stalled.hidden = false;
}, SLOW_START_MS);
