// The page's notice, shown in place of the form when the calculator cannot
// start: a page whose files are not all of one build (a host or a network
// cache caught between two builds), a file that could not be fetched, or any
// failure while the page wires itself up. It is the page's first script, so
// that a later one failing, or missing, still ends here and never in the
// start message. A notice that asks for a reload has its own Reload button:
// an installed app has no reload control.
'use strict';
(self.brawlwiseBuilds ??= {})['notice.js'] = '';  // this file's build, written when the page is built

/* exported showNotice, ofOneBuild, failedToStart, newerVersion */

// The page's scripts, each of which notes its build as it runs (the module's
// script is checked by calculator.js as it loads).
const STAMPED_SCRIPTS = ['notice.js', 'control-numbers.js', 'calculator.js', 'offline.js', 'page.js'];

function showNotice(text, { reload = false } = {}) {
  const notice = document.getElementById('notice');
  notice.querySelector('[data-notice-text]').textContent = text;
  const button = notice.querySelector('[data-command="reload"]');
  button.hidden = !reload;
  button.onclick = reloadAfresh;
  notice.hidden = false;
  document.getElementById('encounter').hidden = true;
  document.documentElement.dataset.stopped = '';
  performance.mark('brawlwise-started');
}

// A reload that fetches the page's files afresh first: a file of another
// build that the browser keeps under this build's address (asked for while
// the host was between builds) would otherwise come back from its cache.
async function reloadAfresh() {
  const stamp = document.documentElement.dataset.build;
  const files = [...document.querySelectorAll('script[src], link[rel="stylesheet"]')].map((e) => e.src || e.href);
  if (stamp) files.push(new URL(`brawlwise-module.js?v=${stamp}`, location.href).href);
  await Promise.allSettled(files.map((file) => fetch(file, { cache: 'reload' })));
  location.reload();
}

function newerVersion() {
  showNotice('A newer version of Brawlwise is on the host than the one this page started with, so this page ' +
    'does not calculate. Reload to use the new version.', { reload: true });
}

function failedToStart(error) {
  showNotice('Brawlwise could not start its calculator, so it cannot answer here. Reload to try again; if that ' +
    `does not help, use the Windows program. (${error && error.message ? error.message : error})`, { reload: true });
}

// Whether every script of the page is of the page's build; if not, says so.
function ofOneBuild() {
  const stamp = document.documentElement.dataset.build;
  if (!stamp) return true;  // a page not built by build_page.py: nothing to compare
  const builds = self.brawlwiseBuilds || {};
  const missing = STAMPED_SCRIPTS.filter((name) => !(name in builds));
  if (missing.length) {
    failedToStart(new Error(`${missing.join(', ')} did not load`));
    return false;
  }
  if (STAMPED_SCRIPTS.some((name) => builds[name] !== stamp)) {
    newerVersion();
    return false;
  }
  return true;
}

// Whatever fails before the page is ready, and has not said so itself.
const stillStarting = () => !document.documentElement.hasAttribute('data-ready') &&
  !document.documentElement.hasAttribute('data-stopped');
window.addEventListener('error', (event) => {
  if (event.target === window && stillStarting()) failedToStart(event.error || event.message);
});
window.addEventListener('unhandledrejection', (event) => {
  if (stillStarting()) failedToStart(event.reason);
});
// Every deferred script has run by now: one that did not load, or a page.js
// that stopped before its start, leaves the start message up for ever.
document.addEventListener('DOMContentLoaded', () => {
  if (stillStarting() && !document.documentElement.hasAttribute('data-starting') && ofOneBuild()) {
    failedToStart(new Error('page.js did not start'));
  }
});
