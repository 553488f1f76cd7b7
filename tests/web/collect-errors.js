// Test hook, first script of a test copy of the page: keeps every uncaught
// error, failed load, refused promise, policy violation and console error or
// warning, for the tests to read in any engine.
'use strict';

window.brawlwiseTestErrors = [];
const keep = (text) => window.brawlwiseTestErrors.push(text);
window.addEventListener('error', (event) => {
  keep(event.target === window ? `uncaught: ${event.message}` : `failed to load: ${event.target.src || event.target.href}`);
}, true);
window.addEventListener('unhandledrejection', (event) => keep(`unhandled rejection: ${event.reason}`));
document.addEventListener('securitypolicyviolation', (event) => {
  keep(`policy violation: ${event.violatedDirective} ${event.blockedURI}`);
});
for (const level of ['error', 'warn']) {
  const original = console[level].bind(console);
  console[level] = (...parts) => {
    keep(`console.${level}: ${parts.join(' ')}`);
    original(...parts);
  };
}
// Whether a service worker answered this page's own load: one left by an
// earlier page would, where the page's own first registration would not.
window.brawlwiseTestControlledAtStart = !!(navigator.serviceWorker && navigator.serviceWorker.controller);
