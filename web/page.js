// The page: reads and writes the controls, opens the windows, keeps the
// encounter in the address's fragment. What any input means, the calculator
// says (calculator.js); the page only shows it.
'use strict';
(self.brawlwiseBuilds ??= {})['page.js'] = '';  // this file's build, written when the page is built

/* global loadCalculator, ofThisBuild, LIST_ITEMS, showNotice, ofOneBuild, failedToStart, newerVersion */
/* global NEEDED_BROWSERS, offerApp, useNewVersion, tellOffline */
/* global IDD_MAIN, IDD_ABOUT, IDD_RESULTS, IDD_STATISTICS, IDM_FILE_CLEAR, IDM_HELP_ABOUT */
/* global IDC_MAIN_PLAYER1_NAME, IDC_MAIN_PLAYER2_NAME, IDC_MAIN_PLAYER1_STATUS, IDC_MAIN_PLAYER2_STATUS */
/* global IDC_MAIN_LOCATION, IDC_MAIN_SYSTEM_SECURITY, IDC_MAIN_SAME_CORPORATION, IDC_MAIN_SAME_ALLIANCE */
/* global IDC_MAIN_SAME_GANG, IDC_MAIN_WARRING_CORPS, IDC_MAIN_CONCORD, IDC_MAIN_FLAGGED_TO_PLAYER1 */
/* global IDC_MAIN_FLAGGED_TO_CORPMATE, IDC_MAIN_FLAGGED_TO_GANGMATE, IDC_MAIN_KILLRIGHTS, IDC_MAIN_CALCULATE */
/* global IDC_MAIN_CLEAR, IDC_MAIN_PLAYER1_SSS, IDC_MAIN_PLAYER2_SSS, IDC_ABOUT_OK, IDC_RESULTS_CLOSE */
/* global IDC_RESULTS_LINE1, IDC_RESULTS_LINE2, IDC_RESULTS_LINE3, IDC_RESULTS_LINE4, IDC_RESULTS_AGGRESSION */
/* global IDC_RESULTS_AGGRESSION_SHIPKILL, IDC_RESULTS_AGGRESSION_SHIPKILL_PODKILL, IDC_RESULTS_VERDICT */
/* global IDC_STATISTICS_CLOSE, IDC_STATISTICS_A_OUTLAW, IDC_STATISTICS_AS_OUTLAW, IDC_STATISTICS_ASP_OUTLAW */
/* global IDC_STATISTICS_A_BOTTOM, IDC_STATISTICS_AS_BOTTOM, IDC_STATISTICS_ASP_BOTTOM, IDC_STATISTICS_TRAVEL */

const BOXES = [IDC_MAIN_PLAYER1_NAME, IDC_MAIN_PLAYER2_NAME, IDC_MAIN_PLAYER1_STATUS, IDC_MAIN_PLAYER2_STATUS];
const LISTS = [IDC_MAIN_LOCATION, IDC_MAIN_SYSTEM_SECURITY];
const TICKS = [IDC_MAIN_SAME_CORPORATION, IDC_MAIN_SAME_ALLIANCE, IDC_MAIN_SAME_GANG, IDC_MAIN_WARRING_CORPS,
  IDC_MAIN_CONCORD, IDC_MAIN_FLAGGED_TO_PLAYER1, IDC_MAIN_FLAGGED_TO_CORPMATE, IDC_MAIN_FLAGGED_TO_GANGMATE,
  IDC_MAIN_KILLRIGHTS];
const RESULTS_BOXES = [IDC_RESULTS_LINE1, IDC_RESULTS_LINE2, IDC_RESULTS_LINE3, IDC_RESULTS_LINE4,
  IDC_RESULTS_AGGRESSION, IDC_RESULTS_AGGRESSION_SHIPKILL, IDC_RESULTS_AGGRESSION_SHIPKILL_PODKILL];
const STATISTICS_BOXES = [IDC_STATISTICS_A_OUTLAW, IDC_STATISTICS_AS_OUTLAW, IDC_STATISTICS_ASP_OUTLAW,
  IDC_STATISTICS_A_BOTTOM, IDC_STATISTICS_AS_BOTTOM, IDC_STATISTICS_ASP_BOTTOM, IDC_STATISTICS_TRAVEL];
const MESSAGE_OK = 1;  // the message box's OK button, as Windows numbers it
const MAX_CHARACTERS = 29;  // what a box takes, as a paste is clipped
const LINK_VERSION = '1';
// The link is written this long after the last change: browsers limit how
// often a page may rewrite its address (WebKit refuses past 100 in 10 s).
const LINK_DELAY_MS = 300;
const VERDICT_PICTURES = [
  { src: ofThisBuild('graphics/tick.bmp'), alt: 'Tick: player 1 may attack without sanction' },
  { src: ofThisBuild('graphics/cross.bmp'), alt: 'Cross: the attack has consequences for player 1' },
];

const mainWindow = document.querySelector(`[data-window="${IDD_MAIN}"]`);
const control = (number) => mainWindow.querySelector(`[data-control="${number}"]`);
const windowOf = (number) => document.querySelector(`dialog[data-window="${number}"]`);
const inWindow = (dialog, number) => dialog.querySelector(`[data-control="${number}"]`);

let calculator = null;

// ---- the controls and the calculator

function tellControls() {
  for (const box of BOXES) calculator.setText(box, control(box).value);
  for (const list of LISTS) calculator.setChoice(list, control(list).selectedIndex);
  for (const tick of TICKS) calculator.setTick(tick, control(tick).checked);
}

// What the last command wrote into the controls: default names, or Clear.
function takeBackControls() {
  for (const box of BOXES) {
    if (calculator.boxChanged(box)) control(box).value = calculator.boxText(box);
  }
  for (const list of LISTS) control(list).selectedIndex = calculator.choice(list);
  for (const tick of TICKS) control(tick).checked = calculator.ticked(tick);
}

// The lists' items are the page's own (written when the page is built), so
// that a link fills them before the module is ready. The page's lists start
// with an empty item, which goes; a choice made before is kept.
function fillLists() {
  for (const list of LISTS) {
    const chosen = changedBeforeStart(list) ? control(list).value : '';
    control(list).replaceChildren(...LIST_ITEMS[list].map((item) => new Option(item, item)));
    control(list).selectedIndex = LIST_ITEMS[list].indexOf(chosen);
  }
}

// Whether the user changed a control before the page's scripts ran (the
// first script notes it), or typed into a box.
function changedBeforeStart(number) {
  const element = control(number);
  return element.hasAttribute('data-changed') || (element.type === 'text' && element.value !== '');
}

// ---- windows

// Where the focus was before each open window, the last opened last: windows
// opened over each other give it back in order.
const focusBefore = [];

// A window opened from a menu gives the focus back to the menu's button, as
// its command is hidden when the menu closes.
function openWindow(dialog, focused) {
  const active = document.activeElement;
  focusBefore.push(active && active.closest('.menu-items') ? menuButtonOf(active) : active);
  closeMenus();
  document.documentElement.classList.add('window-open');
  dialog.showModal();
  focused.focus();
}

function onWindowClosed() {
  if (!document.querySelector('dialog[open]')) document.documentElement.classList.remove('window-open');
  const back = focusBefore.pop();
  if (back && document.contains(back)) back.focus();
}

function showMessage(caption, text) {
  const box = windowOf('message');
  box.querySelector('[data-caption]').textContent = caption;
  box.querySelector('[data-message]').textContent = text;
  openWindow(box, inWindow(box, MESSAGE_OK));
}

function showRefusal() {
  showMessage(calculator.refusalCaption(), calculator.refusal());
}

function showResults() {
  const dialog = windowOf(IDD_RESULTS);
  for (const box of RESULTS_BOXES) inWindow(dialog, box).textContent = calculator.resultsText(box);
  const picture = VERDICT_PICTURES[calculator.verdict() === 0 ? 0 : 1];
  const image = inWindow(dialog, IDC_RESULTS_VERDICT);
  image.src = picture.src;
  image.alt = picture.alt;
  openWindow(dialog, inWindow(dialog, IDC_RESULTS_CLOSE));
}

function showStatistics() {
  const dialog = windowOf(IDD_STATISTICS);
  dialog.querySelector('[data-caption]').textContent = calculator.statisticsText(IDD_STATISTICS);
  for (const box of STATISTICS_BOXES) inWindow(dialog, box).textContent = calculator.statisticsText(box);
  openWindow(dialog, inWindow(dialog, IDC_STATISTICS_CLOSE));
}

// ---- commands

function calculate() {
  tellControls();
  const refused = calculator.calculate();
  takeBackControls();
  writeLinkNow();
  if (refused) showRefusal();
  else showResults();
}

function statistics(player) {
  tellControls();
  calculator.statistics(player);
  showStatistics();
}

function clear() {
  calculator.clear();
  takeBackControls();
  setAddress(location.href.split('#')[0]);
}

// Where the device's share sheet is the way to pass a link on: a touch-first
// device, or the page as an installed app. A desktop browser copies.
function sharesFirst() {
  return matchMedia('(pointer: coarse)').matches || matchMedia('(display-mode: standalone)').matches ||
    navigator.standalone === true;
}

// The encounter's address, for an installed app that has no address bar:
// shared where the device shares first, else copied, else shown to be copied.
async function copyLink() {
  closeMenus();
  writeLinkNow();
  const address = location.href;
  try {
    if (navigator.share && sharesFirst()) {
      await navigator.share({ title: document.title, url: address });
    } else {
      await navigator.clipboard.writeText(address);
      say('Link copied.');
    }
  } catch (error) {
    if (error && error.name === 'AbortError') return;  // the user closed the share sheet
    showMessage('Link', address);
  }
}

let sayTimer = 0;

// A line in the status region, for four seconds from the last one said.
function say(text) {
  const said = document.getElementById('said');
  said.textContent = text;
  said.hidden = false;
  clearTimeout(sayTimer);
  sayTimer = setTimeout(() => { said.hidden = true; }, 4000);
}

function about() {
  const dialog = windowOf(IDD_ABOUT);
  openWindow(dialog, inWindow(dialog, IDC_ABOUT_OK));
  tellOffline(dialog);
}

// ---- the menus: each a button that shows or hides its commands

function closeMenus(except) {
  for (const button of document.querySelectorAll('[data-menu]')) {
    if (button === except) continue;
    button.setAttribute('aria-expanded', 'false');
    document.getElementById(button.getAttribute('aria-controls')).hidden = true;
  }
}

function menuButtonOf(element) {
  return element.closest('.menu').querySelector('[data-menu]');
}

function toggleMenu(button) {
  const open = button.getAttribute('aria-expanded') !== 'true';
  closeMenus(button);
  button.setAttribute('aria-expanded', String(open));
  document.getElementById(button.getAttribute('aria-controls')).hidden = !open;
}

// ---- the encounter as a link: #v=1&4001=...&1004=Gate&1012=1

// A rewrite of the address that the browser refuses (too many too fast)
// stops nothing: the next change writes the link again.
function setAddress(address) {
  clearTimeout(linkTimer);
  try {
    history.replaceState(null, '', address);
  } catch {
    // the link stays as it was until the next change
  }
}

let linkTimer = 0;

function writeLinkSoon() {
  clearTimeout(linkTimer);
  linkTimer = setTimeout(writeLinkNow, LINK_DELAY_MS);
}

function writeLinkNow() {
  const link = new URLSearchParams({ v: LINK_VERSION });
  for (const box of BOXES) if (control(box).value !== '') link.append(String(box), control(box).value);
  for (const list of LISTS) {
    const select = control(list);
    if (select.selectedIndex >= 0) link.append(String(list), select.options[select.selectedIndex].value);
  }
  for (const tick of TICKS) if (control(tick).checked) link.append(String(tick), '1');
  setAddress(`${location.href.split('#')[0]}#${link}`);
}

// A link's text as a box could hold it from typing: without NUL and the
// other control characters, which a box shows but the module stops at.
function typable(text) {
  return text.replace(/[\u0000-\u001f\u007f-\u009f]/g, '');
}

// The first characters of `text` that a box takes, never half of one.
function clip(text) {
  let clipped = '';
  for (const character of text) {
    if (clipped.length + character.length > MAX_CHARACTERS) break;
    clipped += character;
  }
  return clipped;
}

// Fills the controls from the fragment: what it names and the page knows,
// as a person could have entered it; everything else empty. Opens nothing.
// At the start a control the user already changed (the form is drawn before
// the scripts run) keeps what the user made of it.
function readLink(atStart = false) {
  let link;
  try {
    link = new URLSearchParams(location.hash.slice(1));
  } catch {
    link = new URLSearchParams();
  }
  const value = (number) => link.get(String(number));
  // A link of another version is read as this one: its controls' numbers
  // mean the same; what this page does not know is left out, and it says so.
  if (link.has('v') && link.get('v') !== LINK_VERSION) {
    say('This link is of another version of Brawlwise: what this page knows of it is filled in.');
  }
  const kept = (number) => atStart && changedBeforeStart(number);
  for (const box of BOXES) {
    if (!kept(box)) control(box).value = clip(typable(value(box) ?? ''));
  }
  for (const list of LISTS) {
    const select = control(list);
    if (!kept(list)) select.selectedIndex = [...select.options].findIndex((option) => option.value === value(list));
  }
  for (const tick of TICKS) {
    if (!kept(tick)) control(tick).checked = value(tick) === '1';
  }
}

// ---- before the calculator is ready

// The form is shown, and a link fills it, at once; the commands pressed
// before the module is ready run in order as soon as it is, with the controls
// as they are then, but none opens its window over one open by then (the
// user's since): the page names those it did not run.
const pending = [];

function whenReady(command, name, opensWindow = true) {
  return () => {
    if (calculator) {
      command();
    } else {
      pending.push({ command, name, opensWindow });
      document.getElementById('starting').textContent =
        'Starting the calculator: your commands run as soon as it is ready.';
    }
  };
}

function runPending() {
  const notRun = [];
  for (const { command, name, opensWindow } of pending.splice(0)) {
    if (opensWindow && document.querySelector('dialog[open]')) notRun.push(name);
    else command();
  }
  if (notRun.length) say(`Not run, as a window was open: ${notRun.join(', ')}.`);
}

// A menu's command: the menu closes and its button takes the focus, as the
// command's own button is hidden; a window the command opens gives it back there.
function fromMenu(command) {
  return (event) => {
    const button = menuButtonOf(event.currentTarget);
    closeMenus();
    button.focus();
    command();
  };
}

const nameOf = (number) => control(number).textContent.trim();

function wire() {
  control(IDC_MAIN_CALCULATE).addEventListener('click', whenReady(calculate, nameOf(IDC_MAIN_CALCULATE)));
  control(IDC_MAIN_CLEAR).addEventListener('click', whenReady(clear, nameOf(IDC_MAIN_CLEAR), false));
  control(IDC_MAIN_PLAYER1_SSS).addEventListener('click',
    whenReady(() => statistics(0), `${nameOf(IDC_MAIN_PLAYER1_SSS)} (player 1)`));
  control(IDC_MAIN_PLAYER2_SSS).addEventListener('click',
    whenReady(() => statistics(1), `${nameOf(IDC_MAIN_PLAYER2_SSS)} (player 2)`));
  for (const button of document.querySelectorAll('[data-menu]')) {
    button.addEventListener('click', () => toggleMenu(button));
  }
  document.querySelector(`[data-command="${IDM_FILE_CLEAR}"]`).addEventListener('click',
    fromMenu(whenReady(clear, nameOf(IDC_MAIN_CLEAR), false)));
  document.querySelector(`[data-command="${IDM_HELP_ABOUT}"]`).addEventListener('click', fromMenu(about));
  document.querySelector('[data-command="copy-link"]').addEventListener('click', fromMenu(copyLink));
  document.querySelector('[data-command="help"]').addEventListener('click', () => closeMenus());
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape' && document.querySelector('[data-menu][aria-expanded="true"]')) {
      const open = document.querySelector('[data-menu][aria-expanded="true"]');
      closeMenus();
      open.focus();
    }
  });
  document.addEventListener('click', (event) => {
    if (!event.target.closest('.menu')) closeMenus();
  });
  // A menu closes when the focus moves to anything outside it (not on a
  // click inside it, which in Safari takes the focus from the menu to nowhere).
  document.addEventListener('focusin', (event) => {
    const menu = event.target.closest('.menu');
    closeMenus(menu ? menu.querySelector('[data-menu]') : undefined);
  });
  // A focused box stays in view when an on-screen keyboard takes part of the screen.
  if (window.visualViewport) {
    window.visualViewport.addEventListener('resize', () => {
      const focused = document.activeElement;
      if (focused && focused.matches('input, select')) focused.scrollIntoView({ block: 'nearest' });
    });
  }

  const closers = { [IDD_RESULTS]: IDC_RESULTS_CLOSE, [IDD_STATISTICS]: IDC_STATISTICS_CLOSE, [IDD_ABOUT]: IDC_ABOUT_OK,
    message: MESSAGE_OK };
  for (const [number, button] of Object.entries(closers)) {
    const dialog = windowOf(number);
    inWindow(dialog, button).addEventListener('click', () => dialog.close());
    dialog.addEventListener('close', onWindowClosed);
  }

  for (const box of BOXES) control(box).addEventListener('input', writeLinkSoon);
  for (const number of [...LISTS, ...TICKS]) control(number).addEventListener('change', writeLinkSoon);
  window.addEventListener('hashchange', () => readLink());
}

// Whether the page's security policy refused to run the module: an engine
// that does not know the policy's WebAssembly keyword refuses it.
let refusedByPolicy = false;
document.addEventListener('securitypolicyviolation', (event) => {
  if (event.violatedDirective.startsWith('script-src')) refusedByPolicy = true;
});

// A new build is whole on this device: the page offers it, keeping the encounter.
function offerNewVersion() {
  const line = document.getElementById('update');
  line.hidden = false;
  line.querySelector('[data-command="update"]').onclick = () => {
    writeLinkNow();
    useNewVersion();
  };
}

async function start() {
  document.documentElement.dataset.starting = '';
  if (!ofOneBuild()) return;
  // A browser with WebAssembly turned off (a lockdown or no-JIT mode): a
  // reload would not help.
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    showNotice('This browser runs no WebAssembly here, which Brawlwise\'s calculator needs: it may be turned off ' +
      `(as in a lockdown or no-JIT mode). Brawlwise needs ${NEEDED_BROWSERS}, with WebAssembly on; ` +
      'or use the Windows program.');
    return;
  }
  try {
    offerApp(offerNewVersion);
    wire();
    fillLists();
    readLink(true);
    // What the user changed before the start is in the link at once.
    if ([...BOXES, ...LISTS, ...TICKS].some((number) => control(number).hasAttribute('data-changed'))) writeLinkNow();
  } catch (error) {
    failedToStart(error);
    return;
  }
  const encounter = document.getElementById('encounter');
  let loaded;
  try {
    loaded = await loadCalculator();
  } catch (error) {
    if (error.name === 'OtherBuildError') {
      newerVersion();
      return;
    }
    // The violation is reported in a task queued with the refusal; WebKit
    // reports none for WebAssembly, only the refusal's own message.
    await new Promise((later) => { setTimeout(later, 0); });
    if (/unsafe-eval|Content Security Policy/i.test(error.message)) refusedByPolicy = true;
    if (refusedByPolicy) {
      showNotice(`This browser does not run Brawlwise's calculator under the page's security policy. ` +
        `Brawlwise needs ${NEEDED_BROWSERS}; or use the Windows program.`);
    } else {
      failedToStart(error);
    }
    return;
  }
  calculator = loaded;
  encounter.removeAttribute('aria-busy');
  document.getElementById('starting').hidden = true;
  document.getElementById('stalled').hidden = true;
  document.documentElement.dataset.ready = '';
  performance.mark('brawlwise-started');
  runPending();
}

start();
