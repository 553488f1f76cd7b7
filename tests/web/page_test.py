"""The page in real browsers, one engine a run (Chromium, WebKit or Firefox),
opened from disk and from a local server, used as a person would: through
the page's hooks (data-window, data-control, data-menu, data-command) and its
accessibility tree. What the windows show is checked against a calculator of
the module's own. The engine is a column of this one table: each check runs
in every engine, and what an engine's driver cannot do is a skipped check,
written with its reason to SKIPPED_CHECKS. The engine starts once; each test
has a page that shares nothing with the tests before it (a check that needs
a browser started otherwise, dark or with another text size, starts its own).
Every check of a state that an action changes waits for it, up to a
deadline, and says what it last saw. The time of each test is printed, and
the slowest are written beside SKIPPED_CHECKS.

Usage: /usr/bin/python3 page_test.py PAGE_FOLDER SCREENSHOT_FOLDER ENGINE [SKIPPED_CHECKS]
"""
import functools
import http.server
import json
import os
import re
import shutil
import sys
import tempfile
import threading
import time
import unittest
import urllib.parse
from pathlib import Path

from selenium.common.exceptions import NoAlertPresentException, WebDriverException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import accessibility
import page_driver
from page_driver import NotAvailable

PAGE = Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else None
SHOTS = Path(sys.argv[2]).resolve() if len(sys.argv) > 2 else None
ENGINE = page_driver.engine(sys.argv[3] if len(sys.argv) > 3 else 'chromium')
SKIPPED_CHECKS = Path(sys.argv[4]) if len(sys.argv) > 4 else None
COPY = None  # the test copy of the page, made at the start
BROWSER = None  # the engine's browser for the whole suite, started by the first test

BOXES = [4001, 4002, 4006, 4007]
TICKS = [1012, 1013, 1014, 1017, 1018, 1019, 1020, 1021, 1022]
RESULTS_BOXES = [1202, 1203, 1204, 1209, 1205, 1206, 1207]
STATISTICS_BOXES = [1307, 1302, 1303, 1308, 1304, 1305, 1306]
TAB_ORDER = [4001, 4006, 1023, 4002, 4007, 1024, 1004, 1005, 1012, 1013, 1014, 1017, 1019, 1020, 1021, 1018,
             1022, 1001, 1002]
MARKUP = '<img src=x onerror=alert(1)>'
LINK_EXAMPLE = '#v=1&4001=Ann&4002=Bob&4006=2.5&4007=-3&1004=Station&1005=0.4&1020=1'

# What a fresh calculator of the module's own says for the same entries.
EXPECTED = """
const [entries, command, done] = arguments;
loadCalculator().then((c) => {
  for (const [box, text] of Object.entries(entries.texts || {})) c.setText(Number(box), text);
  for (const [list, index] of Object.entries(entries.choices || {})) c.setChoice(Number(list), index);
  for (const tick of entries.ticks || []) c.setTick(tick, true);
  const out = {};
  if (command === 'calculate') {
    out.refused = c.calculate();
    out.refusal = c.refusal();
    out.boxes = Object.fromEntries([1202, 1203, 1204, 1209, 1205, 1206, 1207].map((n) => [n, c.resultsText(n)]));
    out.verdict = c.verdict();
  } else {
    c.statistics(command === 'sss1' ? 0 : 1);
    out.caption = c.statisticsText(1300);
    out.boxes = Object.fromEntries([1307, 1302, 1303, 1308, 1304, 1305, 1306].map((n) => [n, c.statisticsText(n)]));
  }
  out.names = { 4001: c.boxText(4001), 4002: c.boxText(4002) };
  done(out);
}, (error) => done({ error: String(error) }));
"""


# 300 changes of the controls within a few seconds, ending in a known encounter.
RAPID_CHANGES = """
const [count, done] = arguments;
const main = document.querySelector('[data-window="1000"]');
const box = (n) => main.querySelector(`[data-control="${n}"]`);
const input = (element) => element.dispatchEvent(new Event(element.type === 'text' ? 'input' : 'change',
                                                            { bubbles: true }));
let i = 0;
const step = () => {
  for (let j = 0; j < 10 && i < count; j++, i++) {
    const name = box(4001), status = box(4006), tick = box(1012), place = box(1005);
    if (i % 4 === 0) { name.value = `Ann${i}`; input(name); }
    if (i % 4 === 1) { status.value = String(i / 100 - 1); input(status); }
    if (i % 4 === 2) { tick.checked = !tick.checked; input(tick); }
    if (i % 4 === 3) { place.selectedIndex = i % 11; input(place); }
  }
  if (i < count) setTimeout(step, 5); else done(i);
};
step();
"""
# Every word of the visible text that runs over two lines though it would fit
# on one in its box, with the box's width.
BROKEN_WORDS = """
const broken = [];
const walker = document.createTreeWalker(arguments[0] || document.body, NodeFilter.SHOW_TEXT);
for (let node = walker.nextNode(); node; node = walker.nextNode()) {
  const box = node.parentElement;
  if (!box.checkVisibility || !box.checkVisibility()) continue;
  // The room of its lines: from where the text starts to the end of its box.
  const style = getComputedStyle(box);
  const whole = document.createRange();
  whole.selectNodeContents(node);
  const starts = [...whole.getClientRects()].map((r) => r.left);
  if (!starts.length) continue;
  const right = box.getBoundingClientRect().left + box.clientLeft + box.clientWidth - parseFloat(style.paddingRight);
  const room = right - Math.min(...starts);
  for (const match of node.data.matchAll(/\\S+/g)) {
    const range = document.createRange();
    range.setStart(node, match.index);
    range.setEnd(node, match.index + match[0].length);
    const rects = [...range.getClientRects()].filter((r) => r.width > 0.5);  // not the empty ones at a line's end
    const lines = new Set(rects.map((r) => Math.round(r.top)));
    const width = rects.reduce((sum, r) => sum + r.width, 0);
    if (lines.size > 1 && width <= room) broken.push(`${match[0]} (${Math.round(width)} of ${Math.round(room)} px)`);
  }
}
return broken;
"""
# Whether the whole of an element lies inside the (visual) viewport.
IN_VIEW = """
const r = arguments[0].getBoundingClientRect(), v = window.visualViewport;
const height = v ? v.height : innerHeight, width = v ? v.width : innerWidth;
return r.top >= -1 && r.left >= -1 && r.bottom <= height + 1 && r.right <= width + 1;
"""


class Quiet(http.server.SimpleHTTPRequestHandler):
    """Serves a Site's folder under its sub-path, as its settings say."""
    # The module's script is served once this is set, as on a slow network.
    module_released = threading.Event()
    module_released.set()

    def log_message(self, *args):
        pass

    def do_GET(self):
        site = self.server.site
        address = urllib.parse.urlsplit(self.path)
        path = address.path
        if path.endswith('/brawlwise-module.js'):
            Quiet.module_released.wait(30)
        with site.lock:
            site.asked.append(self.path)
        if path in site.late:
            site.late[path].wait(30)
        if self.path in site.missing:
            self.send_error(404)
            return
        if self.path in site.down_once:
            site.down_once.discard(self.path)
            self.send_error(503)
            return
        if path in site.redirects:
            status, target = site.redirects[path]
            self.send_response(status)
            self.send_header('Location', target + (f'?{address.query}' if address.query else ''))
            self.send_header('Content-Length', '0')
            self.end_headers()
            return
        if not path.startswith(site.under):
            self.send_error(404)
            return
        # A file moved by a redirect is served at its new address too.
        path = '/' + path[len(site.under):].removeprefix('moved/')
        self.path = path + (f'?{address.query}' if address.query else '')
        super().do_GET()

    def end_headers(self):
        # A Site's headers go with the page's files; the worker's own script
        # is served plain, as the README asks of a host (Firefox keeps no
        # worker whose script came with Vary: *).
        if urllib.parse.urlsplit(self.path).path != '/service-worker.js':
            for name, value in self.server.site.headers.items():
                self.send_header(name, value)
        super().end_headers()


# What a page can leave behind for a later one: storage, a cookie, a cache of
# its own and history; its worker is checked by LEFT_BEHIND.
LEAVE = """
const done = arguments[0];
localStorage.setItem('left', '1');
sessionStorage.setItem('left', '1');
document.cookie = 'left=1; max-age=600';
history.pushState(null, '', location.hash + '&left');
const cache = typeof caches === 'undefined' ? Promise.resolve() : caches.open('left');
cache.then(() => done(), (e) => done(String(e)));
"""
# What this page finds of that: the worker is one that answered the page's
# own load (the page's first registration never does; one left by another
# page would).
LEFT_BEHIND = """
const done = arguments[0];
const names = typeof caches === 'undefined' ? Promise.resolve([]) : caches.keys();
names.then((keys) => done({
  storage: [...Object.keys(localStorage), ...Object.keys(sessionStorage)].filter((k) => k === 'left').slice(0, 1),
  cookie: document.cookie, caches: keys.filter((k) => k === 'left'), history: history.length,
  worker: window.brawlwiseTestControlledAtStart,
}), (e) => done({ error: String(e) }));
"""

# The rows of the accessibility tree: each function gives, for a tree,
# (check, held, what was seen).
WORDS = page_driver.program_words()
# The boxes and lists, by their elements' ids; the buttons and tick boxes,
# which have none, by role and name (no tree knows data-* attributes).
BY_ID = [('c4001', 'textbox', '1000/1007'), ('c4006', 'textbox', '1000/1015'), ('c4002', 'textbox', '1000/1008'),
         ('c4007', 'textbox', '1000/1016'), ('c1004', 'combobox', '1000/1010'), ('c1005', 'combobox', '1000/1011')]
BY_NAME = [('button', 'menu/File'), ('button', 'menu/Help'), ('button', '1000/1001'), ('button', '1000/1002')] + \
    [('checkbox', f'1000/{tick}') for tick in TICKS]


def main_window_rows(tree):
    rows = [('the document is named by the caption', [d['name'] for d in accessibility.find(tree, 'document')],
             [WORDS['1000/caption']])]
    for element_id, role, word in BY_ID:
        node = accessibility.by_id(tree, element_id)
        rows.append((f'#{element_id}', node and (node['role'], node['name']), (role, WORDS[word].strip())))
    for role, word in BY_NAME:
        rows.append((f'{role} {WORDS[word].strip()!r}', len(accessibility.find(tree, role, WORDS[word].strip())), 1))
    # Each SSS button is described by its player's status label.
    rows.append(("the SSS buttons' descriptions", [n['description'] for n in accessibility.find(tree, 'button', 'SSS')],
                 [WORDS['1000/1015'].strip(), WORDS['1000/1016'].strip()]))
    return [(check, seen == wanted, seen) for check, seen, wanted in rows]


def window_rows(name, boxes=0, first=None, picture=False, role='dialog', description=None):
    """A window of this role and name, with `boxes` boxes of distinct names
    (the first `first`), a named picture, or this description."""
    def rows(tree):
        found = accessibility.find(tree, role, name)
        out = [(f'one {role} named {name!r}', len(found) == 1, accessibility.summary(tree))]
        if len(found) != 1:
            return out
        inside = accessibility.within(tree, found[0])
        names = [n['name'] for n in inside if n['role'] == 'textbox']
        out.append((f'{boxes} boxes of distinct names', len(names) == len(set(names)) == boxes and all(names)
                    and first in (None, *names[:1]), names))
        if picture:
            pictures = [n['name'] for n in inside if n['role'] == 'image']
            out.append(('a named picture', len(pictures) == 1 and all(pictures), pictures))
        if description is not None:
            out.append(('its description', found[0]['description'] == description, found[0]['description']))
        return out
    return rows


# The start of a script that reads the main window's controls.
CONTROLS = 'const control = (n) => document.querySelector(`[data-window="1000"] [data-control="${n}"]`);'

# Which files of a build (their cache keys, relative to the worker's scope)
# the worker of the page's address keeps, and its state; or 'none: why'.
WORKER_KEEPS = """
const [keys, done] = arguments;
if (!('serviceWorker' in navigator)) return done('none: no service workers on this page');
navigator.serviceWorker.getRegistration().then(async (r) => {
  if (!r) return done({ state: 'no worker registered', missing: keys });
  const cache = await caches.open(`workbox-precache-v2-${r.scope}`);
  const have = new Set((await cache.keys()).map((request) => request.url));
  done({ state: `active ${r.active && r.active.state}, installing ${Boolean(r.installing)}, `
    + `waiting ${Boolean(r.waiting)}`, missing: keys.filter((key) => !have.has(new URL(key, r.scope).href)) });
}, (error) => done(`none: ${error}`));
"""
# How many files the caches of Workbox's precaching hold on the page's site.
PRECACHED = """
const done = arguments[0];
caches.keys().then(async (names) => {
  let count = 0;
  for (const name of names.filter((n) => n.startsWith('workbox-precache'))) count += (await (await caches.open(name)).keys()).length;
  done(count);
});
"""
SETTLED = {'state': 'active activated, installing false, waiting false', 'missing': []}
# The build mark of the page, its style sheet, each of its four scripts, and
# the tick picture it would show.
BUILDS_SHOWN = """
const done = arguments[0];
const marks = [document.querySelector('meta[name="test-build"]').content,
  getComputedStyle(document.documentElement).getPropertyValue('--test-build').trim().replace(/"/g, ''),
  ...window.testBuilds];
fetch(`graphics/tick.bmp?v=${document.documentElement.dataset.build}`).then((r) => r.arrayBuffer())
  .then((bytes) => done([...marks, String.fromCharCode(new Uint8Array(bytes).at(-1))]), (e) => done(String(e)));
"""


class Site:
    """A folder served on 127.0.0.1 under a sub-path (`under`, which starts
    and ends with /) until stopped, a host of the suite's own: `redirects`
    maps a path to (status, where), as a host's "clean URLs" or a moved file."""

    def __init__(self, folder, under='/'):
        self.under = under
        self.redirects = {}
        # Addresses (a path and its query: page.js, not page.js?v=...) answered
        # 404, or 503 once.
        self.missing = set()
        self.down_once = set()
        self.headers = {}  # sent with every file but the worker's script
        self.late = {}  # paths answered once their event is set
        self.asked = []  # every address asked for, in order
        self.lock = threading.Lock()
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0),
                                                      functools.partial(Quiet, directory=str(folder)))
        self.server.site = self
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.origin = f'http://127.0.0.1:{self.server.server_address[1]}'
        self.address = self.origin + under

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


def marked_build(folder, mark):
    """A build of the test copy whose page, style sheet, scripts and tick
    picture each carry `mark`."""
    shutil.copytree(COPY, folder)
    for name in ('control-numbers.js', 'calculator.js', 'page.js', 'brawlwise-module.js'):
        with (folder / name).open('a') as script:
            script.write(f"\n(window.testBuilds = window.testBuilds || []).push('{mark}');\n")
    with (folder / 'brawlwise.css').open('a') as sheet:
        sheet.write(f'\n:root {{ --test-build: "{mark}"; }}\n')
    with (folder / 'graphics' / 'tick.bmp').open('ab') as picture:
        picture.write(mark.encode())
    index = folder / 'index.html'
    index.write_text(index.read_text().replace('<title>', f'<meta name="test-build" content="{mark}">\n  <title>'))
    page_driver.build_page.restamp(folder)
    return folder


def deploy(build, served):
    """Copies a build over the served folder as a host's new files: each
    modified later than anything served before, even within the second that
    a host's Last-Modified counts in."""
    newest = max([time.time()] + [path.stat().st_mtime for path in served.rglob('*')])
    shutil.copytree(build, served, dirs_exist_ok=True, copy_function=shutil.copyfile)
    later = newest + 2
    for path in served.rglob('*'):
        os.utime(path, (later, later))


def keys_of(build):
    """The cache keys of a build's files, as its worker names them."""
    worker = (build / 'service-worker.js').read_text()
    files = json.loads(re.search(r'self\.__WB_MANIFEST = (\[.*?\]);\n', worker, re.S).group(1))
    return [f"{entry['url']}?__WB_REVISION__={entry['revision']}" for entry in files]


def picture_path(picture):
    """A picture's address without its build stamp."""
    return urllib.parse.urlsplit(picture.get_attribute('src')).path


def skipped_check(check, reason):
    """Notes a check that this engine cannot make, with why, once."""
    line = f'{ENGINE.name}: {check}: {reason}'
    print(f'skipped check: {line}')
    if SKIPPED_CHECKS:
        known = SKIPPED_CHECKS.read_text().splitlines() if SKIPPED_CHECKS.exists() else []
        if line not in known:
            with SKIPPED_CHECKS.open('a') as out:
                out.write(line + '\n')


class PageTest:
    maxDiff = None
    """The checks; FromDisk and FromServer run them on either address."""

    def setUp(self):
        self.frame = None
        self.own = None
        self.start()
        self.open('')

    def start(self, **options):
        """A page of the suite's browser, or a browser of its own where the
        engine takes these options only at its start."""
        global BROWSER
        options = {name: value for name, value in options.items() if value and value != 'normal'}
        if not options.pop('own_browser', False) and set(options) <= ENGINE.page_options:
            if BROWSER is None:
                BROWSER = ENGINE.launch()
            self.driver = BROWSER.page(**options)
        else:
            self.driver = self.own = ENGINE.start(**options)
        if SKIPPED_CHECKS and not SKIPPED_CHECKS.with_name('engine.txt').exists():
            SKIPPED_CHECKS.with_name('engine.txt').write_text(f'{ENGINE.name} {ENGINE.version(self.driver)}\n')

    def stop(self):
        if self.own:
            self.own, own = None, self.own
            own.quit()
        else:
            BROWSER.close(self.driver)

    def tearDown(self):
        try:
            errors = ENGINE.errors(self.driver)
            if self.frame:
                self.driver.switch_to.default_content()
                errors += ENGINE.errors(self.driver)
        finally:
            self.stop()
        self.assertEqual(errors, [], 'console errors, uncaught errors or policy violations')

    def restart(self, **options):
        self.stop()
        self.frame = None
        self.start(**options)

    # ---- driving the page

    def open(self, fragment, base=None):
        page_driver.open_page(self.driver, (base or self.base) + fragment)

    def wait(self, condition, seconds=10):
        return page_driver.wait(self.driver, condition, seconds)

    def reload(self):
        """Reloads the page and waits until it is ready."""
        self.driver.refresh()
        page_driver.wait_ready(self.driver)

    def script_while_loading(self, script, *arguments):
        """The script's value on the page, or False while the page before it
        unloads (a script cannot run there)."""
        try:
            return self.driver.execute_script(script, *arguments)
        except WebDriverException:
            return False

    def assertSoon(self, read, expected, message=None, seconds=10):
        """Waits until read() gives `expected`; fails with what it last gave."""
        self.assertEqual(page_driver.soon(read, expected, seconds), expected, message)

    def main(self, number):
        return self.driver.find_element(By.CSS_SELECTOR, f'[data-window="1000"] [data-control="{number}"]')

    def window(self, number):
        return self.driver.find_element(By.CSS_SELECTOR, f'dialog[data-window="{number}"]')

    def in_window(self, number, control):
        return self.window(number).find_element(By.CSS_SELECTOR, f'[data-control="{control}"]')

    def is_open(self, number):
        return self.driver.execute_script('return arguments[0].open', self.window(number))

    def open_windows(self):
        return self.driver.execute_script(
            'return [...document.querySelectorAll("dialog[open]")].map((d) => d.dataset.window)')

    def texts(self, window, controls):
        """The texts of a window's controls, read in one script."""
        return self.driver.execute_script(
            'const w = document.querySelector(`dialog[data-window="${arguments[0]}"]`);'
            'return arguments[1].map((n) => w.querySelector(`[data-control="${n}"]`).textContent)', window, controls)

    def caption(self, number):
        return self.window(number).find_element(By.CSS_SELECTOR, '[data-caption]').text

    # What the main window's controls hold, each read in one script.
    def value(self, number):
        return self.values([number])[0]

    def values(self, numbers):
        return self.driver.execute_script(CONTROLS + 'return arguments[0].map((n) => control(n).value)', numbers)

    def choices(self, numbers=(1004, 1005)):
        return self.driver.execute_script(CONTROLS + 'return arguments[0].map((n) => control(n).selectedIndex)',
                                          list(numbers))

    def ticked(self):
        return self.driver.execute_script(CONTROLS + 'return arguments[0].filter((n) => control(n).checked)', TICKS)

    def type(self, number, text):
        box = self.main(number)
        box.clear()
        if text and not ENGINE.types_astral and any(ord(c) > 0xFFFF for c in text):
            box.click()
            ENGINE.paste(self.driver, text)
        elif text:
            box.send_keys(text)

    def choose(self, number, item):
        self.driver.execute_script(
            'const s = arguments[0]; s.selectedIndex = [...s.options].findIndex((o) => o.text === arguments[1]);'
            's.dispatchEvent(new Event("change"));', self.main(number), item)

    def enter(self, entries):
        for box, text in entries.get('texts', {}).items():
            self.type(box, text)
        for list_, index in entries.get('choices', {}).items():
            self.choose(list_, self.main(list_).find_elements(By.TAG_NAME, 'option')[index].text)
        for tick in entries.get('ticks', []):
            self.main(tick).click()

    def expected(self, entries, command):
        entries = {key: {str(k): v for k, v in value.items()} if isinstance(value, dict) else value
                   for key, value in entries.items()}
        out = self.driver.execute_async_script(EXPECTED, entries, command)
        self.assertNotIn('error', out)
        return out

    def key(self, *keys):
        self.driver.execute_script('return document.activeElement').send_keys(*keys)

    def escape(self):
        """Esc, which closes the open window; waits until none is open."""
        self.key(Keys.ESCAPE)
        self.assertSoon(self.open_windows, [], 'Esc closes the window')

    def press_focused(self, key):
        """Enter or Space on the focused button."""
        self.key(key)

    def assertTree(self, rows, what):
        """Reads the accessibility tree until every row of rows(tree), each
        (check, held, what was seen), holds; fails with those that do not."""
        try:
            accessibility.wait_for_tree(lambda: ENGINE.accessibility_tree(self.driver),
                                        lambda tree: [f'{check}: saw {seen!r}' for check, held, seen in rows(tree)
                                                      if not held], seconds=10, what=what)
        except AssertionError as failure:
            self.fail(str(failure))

    def focused_control(self):
        return self.driver.execute_script('return document.activeElement.dataset.control || null')

    def shot(self, name):
        if SHOTS:
            SHOTS.mkdir(parents=True, exist_ok=True)
            # after the next frame is painted, with what the page shows now
            self.driver.execute_async_script(
                'const done = arguments[0]; requestAnimationFrame(() => requestAnimationFrame(() => done()))')
            self.driver.save_screenshot(str(SHOTS / f'{ENGINE.name.lower()}-{name}.png'))

    def skipped(self, check, reason):
        skipped_check(check, reason)

    def at_size(self, width, height, fragment='', dark=False):
        """Opens the page on a screen of this size in CSS px: emulated where the
        engine can, else as a frame of that size in a page of its own."""
        if self.frame:
            self.driver.switch_to.default_content()
            self.frame = None
        if ENGINE.dark_at_start and dark != getattr(self.driver, 'dark', False):
            self.restart(dark=dark)
        try:
            ENGINE.set_screen(self.driver, width, height, dark)
            self.open(fragment)
            return
        except NotAvailable:
            if dark and not ENGINE.dark_at_start:
                raise
        holder = COPY / f'frame-{width}x{height}.html'
        holder.write_text('<!DOCTYPE html><meta charset="utf-8"><style>body{margin:0}iframe{border:0;display:block}'
                          f'</style><iframe src="index.html{fragment}" width="{width}" height="{height}"></iframe>')
        self.driver.get('about:blank')
        self.driver.get(self.base.replace('index.html', '') + holder.name)
        frame = self.driver.find_element(By.TAG_NAME, 'iframe')
        self.driver.switch_to.frame(frame)
        self.frame = frame
        page_driver.wait_ready(self.driver)

    def no_sideways_scroll(self, element=None):
        return self.driver.execute_script(
            'const e = arguments[0] || document.documentElement; return e.scrollWidth <= e.clientWidth', element)

    # ---- the checks

    def test_an_encounter_as_a_link(self):
        entries = {'texts': {4001: 'Ann & Bob', 4002: 'Ærø = 1', 4006: '-4.9'}, 'choices': {1004: 1, 1005: 5},
                   'ticks': [1012, 1022]}
        self.enter(entries)
        self.wait(lambda: '1022=1' in self.driver.current_url, 3)  # a moment after the last change
        link = self.driver.current_url
        fragment = link[link.index('#'):]
        self.open(fragment)
        self.assertSoon(lambda: self.values(BOXES), ['Ann & Bob', 'Ærø = 1', '-4.9', ''])
        self.assertSoon(self.choices, [1, 5])
        self.assertSoon(self.ticked, [1012, 1022])
        self.assertSoon(self.open_windows, [])
        # A fragment changed while the page is open fills the controls too.
        self.driver.execute_script('location.hash = "#v=1&4002=Cy&1005=0.0"')
        self.assertSoon(lambda: [self.values([4001, 4002]), self.choices([1005]), self.ticked()],
                        [['', 'Cy'], [10], []])
        self.assertSoon(self.open_windows, [])

    def test_a_browser_without_the_wasm_policy_keyword_is_told_which_browsers_will_do(self):
        # As an older Safari reads the page: the policy lacks 'wasm-unsafe-eval'.
        old = COPY / 'older.html'
        html = (COPY / 'index.html').read_text()
        self.assertIn(" 'wasm-unsafe-eval'", html)
        old.write_text(html.replace(" 'wasm-unsafe-eval'", ''))
        self.driver.get(self.base.replace('index.html', 'older.html'))
        notice = self.driver.find_element(By.ID, 'notice')
        self.wait(notice.is_displayed)
        for browser in ('Safari 16', 'Chrome', 'Firefox'):
            self.assertIn(browser, notice.text)
        self.assertSoon(self.driver.find_element(By.ID, 'encounter').is_displayed, False)
        ENGINE.errors(self.driver)  # the refusal's own report, where the engine makes one
        self.open('')

    def test_a_browser_that_cannot_run_the_page_is_told_so_without_reload(self):
        # WebAssembly turned off (a lockdown or no-JIT mode), or a script
        # whose syntax the browser does not know (as Safari 13 reads ??=):
        # which browsers will do. No script at all (JavaScript off, or the
        # scripts refused): the page says it needs JavaScript and offers no form.
        html = (COPY / 'index.html').read_text()
        (COPY / 'no-wasm.js').write_text('delete window.WebAssembly;\n')
        (COPY / 'old-browser.js').write_text('delete Object.hasOwn;\n')  # as Safari 13 lacks it
        (COPY / 'unknown-syntax.js').write_text('const notKnownHere = ;\n')
        rows = [('no WebAssembly', html.replace('<title>', '<script src="no-wasm.js"></script><title>', 1),
                 'notice', 'WebAssembly'),
                ('too old', re.sub(r'src="page\.js\?v=\w+"', 'src="unknown-syntax.js"', html).replace(
                    '<title>', '<script src="old-browser.js"></script><title>', 1), 'notice', 'too old'),
                ('no script', re.sub(r'<script\b.*?</script>', '', html, flags=re.S), 'no-script', 'needs JavaScript')]
        for number, (name, page, shown, words) in enumerate(rows):
            with self.subTest(browser=name):
                (COPY / f'cannot-{number}.html').write_text(page)  # an address of its own: none is cached
                self.driver.get(self.base.replace('index.html', f'cannot-{number}.html'))
                line = self.driver.find_element(By.ID, shown)
                self.assertSoon(lambda: words in line.text or line.text, True, 'the line (seen on the left)')
                # what Chromium's driver itself runs in the page
                self.driver.execute_script('Object.hasOwn ??= (o, k) => Object.prototype.hasOwnProperty.call(o, k)')
                self.assertSoon(self.driver.find_element(By.ID, 'encounter').is_displayed, False)
                self.assertFalse(any(button.is_displayed() for button in
                                     self.driver.find_elements(By.CSS_SELECTOR, '[data-command="reload"]')))
                ENGINE.errors(self.driver)  # the unknown syntax's own report
        self.open('')

    def test_a_test_leaves_nothing_to_the_next(self):
        # A page that leaves storage, a cookie, a cache, history and (over
        # http) a running worker; the next page, made as every test's is,
        # finds none of it.
        self.open('#v=1&4001=Left')

        def under_worker():
            # A load after the worker is active is its; on a busy machine it
            # may activate after this load, so the page is loaded again.
            if self.driver.execute_async_script(LEFT_BEHIND)['worker']:
                return True
            self.open('#v=1&4001=Left')
            return False
        if self.base.startswith('http'):
            self.assertSoon(under_worker, True, 'over http the page runs under its worker', seconds=30)
        self.driver.execute_async_script(LEAVE)
        left = self.driver.execute_async_script(LEFT_BEHIND)
        self.assertEqual(left['storage'], ['left'], 'what is left can be read back')
        self.restart()
        self.open('')
        found = self.driver.execute_async_script(LEFT_BEHIND)
        found['history'] = 'its own' if found['history'] < left['history'] else f"{found['history']} entries"
        self.assertEqual(found, {'storage': [], 'cookie': '', 'caches': [], 'history': 'its own', 'worker': False},
                         f'what the last page left: {left}')

    def test_over_http_the_page_can_be_installed_and_from_disk_names_no_manifest(self):
        manifest = self.driver.execute_script('const l = document.querySelector("link[rel=manifest]"); '
                                              'return l ? l.href : null')
        sizes = {}
        for name in ('icon-192.png', 'icon-512.png', 'icon-maskable-512.png', 'apple-touch-icon.png'):
            head = (COPY / 'graphics' / name).read_bytes()[:24]
            sizes[name] = (int.from_bytes(head[16:20], 'big'), int.from_bytes(head[20:24], 'big'))
        self.assertEqual(sizes, {'icon-192.png': (192, 192), 'icon-512.png': (512, 512),
                                 'icon-maskable-512.png': (512, 512), 'apple-touch-icon.png': (180, 180)})
        # What WebKit reads when the page is added to an iPhone's home screen:
        # an app of its own, named as the page, with its 180-pixel icon.
        home_screen = self.driver.execute_script(
            'const meta = (n) => { const m = document.querySelector(`meta[name="${n}"]`); return m && m.content; };'
            'const icon = document.querySelector("link[rel=apple-touch-icon]");'
            'return [meta("apple-mobile-web-app-capable"), meta("apple-mobile-web-app-title") === document.title,'
            '        icon && new URL(icon.href).pathname.split("/").pop()]')
        self.assertEqual(home_screen, ['yes', True, 'apple-touch-icon.png'])
        if self.base.startswith('file:'):
            self.assertIsNone(manifest, 'a manifest from disk costs console errors')
            return
        self.assertEqual(urllib.parse.urlsplit(manifest).path, '/manifest.webmanifest')
        # A private context is never installable: a browser of its own.
        self.restart(own_browser=True)
        self.open('')
        try:
            errors = ENGINE.installability_errors(self.driver)
        except NotAvailable as reason:
            return self.skipped('the page can be installed', reason)
        self.assertEqual(errors, [])


class WindowChecks:
    """The rows of the windows, keys and texts, which do not depend on the
    address the page is opened at: they run from disk."""

    def test_each_window_shows_the_programs_words(self):
        words = page_driver.program_words()
        self.assertEqual(self.driver.title, words['1000/caption'])
        self.assertEqual(self.driver.find_element(By.CSS_SELECTOR, '[data-window="1000"] [data-caption]').text,
                         words['1000/caption'])
        self.driver.find_element(By.CSS_SELECTOR, '[data-menu="Help"]').click()
        self.driver.find_element(By.CSS_SELECTOR, '[data-command="103"]').click()
        for key, text in words.items():
            window, control = key.split('/')
            if window == 'menu' or control == 'caption' or window == '1300' and control == 'caption':
                continue
            with self.subTest(key=key):
                scope = f'[data-window="{window}"]'
                element = self.driver.find_element(By.CSS_SELECTOR, f'{scope} [data-control="{control}"]')
                shown = element.get_attribute('textContent') if element.tag_name != 'input' else \
                    self.driver.execute_script('return arguments[0].labels[0].textContent', element)
                self.assertEqual(shown.strip(' '), text.strip(' '))
        self.assertEqual(self.caption(1100), words['1100/caption'])
        self.assertSoon(self.focused_control, '1101')
        self.shot('about')
        self.escape()
        self.assertSoon(self.open_windows, [])
        for list_, items in ((1004, ['Gate', 'Station', 'Other']),
                             (1005, ['1.0', '0.9', '0.8', '0.7', '0.6', '0.5', '0.4', '0.3', '0.2', '0.1', '0.0'])):
            self.assertEqual([o.text for o in self.main(list_).find_elements(By.TAG_NAME, 'option')], items)
        self.assertEqual(self.choices(), [-1, -1])
        self.assertEqual(self.ticked(), [])

    def test_calculate_shows_what_the_core_computes(self):
        rows = [
            {'texts': {4001: 'Ann', 4002: 'Bob', 4006: '5.680743', 4007: '-4.9'}, 'choices': {1004: 0, 1005: 5}},
            {'texts': {4006: '-9.98'}, 'choices': {1004: 1, 1005: 8}, 'ticks': [1020, 1022]},
            {'texts': {4001: 'Zed', 4006: '3.4028235e38', 4007: 'abc'}, 'choices': {1004: 2, 1005: 10}},
            {'texts': {4002: 'Eve', 4006: '1e300'}, 'choices': {1004: 0, 1005: 0}, 'ticks': [1012, 1018]},
            {'texts': {}, 'choices': {1004: 2, 1005: 3}, 'ticks': TICKS},
        ]
        pictures = set()
        for number, row in enumerate(rows):
            with self.subTest(row=row):
                self.main(1002).click()
                self.enter(row)
                expected = self.expected(row, 'calculate')
                self.main(1001).click()
                self.assertSoon(self.open_windows, ['1200'])
                self.assertEqual(self.caption(1200), 'Results')
                self.assertEqual(self.texts(1200, RESULTS_BOXES), [expected['boxes'][str(box)] for box in RESULTS_BOXES])
                picture = self.in_window(1200, 1210)
                self.assertTrue(picture_path(picture).endswith(
                    'tick.bmp' if expected['verdict'] == 0 else 'cross.bmp'))
                pictures.add((expected['verdict'], picture.get_attribute('alt')))
                self.assertSoon(lambda: self.driver.execute_script('return arguments[0].naturalWidth', picture), 48)
                self.assertSoon(lambda: self.values([4001, 4002]),
                                [expected['names']['4001'], expected['names']['4002']])
                self.shot(f'results-{number}')
                self.in_window(1200, 1201).click()
                self.assertSoon(self.open_windows, [])
        self.assertEqual(len({alt for _, alt in pictures}), len({verdict for verdict, _ in pictures}), pictures)
        self.assertEqual(len(pictures), 2, 'the rows give a tick and a cross')

    def test_a_worked_example(self):
        self.enter({'texts': {4006: '5', 4007: '0'}, 'choices': {1004: 0, 1005: 5}})
        self.main(1001).click()
        self.assertSoon(lambda: self.in_window(1200, 1205).text,
                        'Aggression: Player 1s security would change to 4.925000 - a change of 0.075000')
        self.assertTrue(picture_path(self.in_window(1200, 1210)).endswith('cross.bmp'))

    def test_refusals_come_in_order_and_write_default_names_back(self):
        rows = [({}, 'You need to specify a location'),
                ({1005: 2}, 'You need to specify a location'),
                ({1004: 1}, 'You need to specify a system security')]
        for choices, message in rows:
            with self.subTest(choices=choices):
                self.main(1002).click()
                self.enter({'choices': choices})
                self.main(1001).click()
                self.assertSoon(self.open_windows, ['message'])
                self.assertEqual(self.caption('message'), 'Error')
                self.assertEqual(self.window('message').find_element(By.CSS_SELECTOR, '[data-message]').text, message)
                self.assertSoon(self.focused_control, '1')
                self.assertSoon(lambda: self.values([4001, 4002, 4006]),
                                ['Player 1', 'Player 2', ''])
                self.press_focused(Keys.ENTER)
                self.assertSoon(self.open_windows, [])
                self.assertSoon(self.focused_control, '1001', 'the focus returns')

    def test_sss_shows_either_players_statistics_and_writes_nothing_back(self):
        rows = [(1023, 'sss1', {4006: '3.4028235e38'}), (1024, 'sss2', {4002: 'Bob', 4007: '-4.9'}),
                (1023, 'sss1', {4001: 'Ann'}), (1024, 'sss2', {4007: '-10'})]
        for button, command, texts in rows:
            with self.subTest(texts=texts):
                self.main(1002).click()
                self.enter({'texts': texts})
                expected = self.expected({'texts': texts}, command)
                self.main(button).click()
                self.assertSoon(self.open_windows, ['1300'])
                self.assertEqual(self.caption(1300), expected['caption'])
                self.assertEqual(self.texts(1300, STATISTICS_BOXES), [expected['boxes'][str(box)] for box in STATISTICS_BOXES])
                self.assertSoon(lambda: self.value(4001), texts.get(4001, ''))
                self.assertSoon(self.focused_control, '1301')
                if texts.get(4006):
                    self.shot('statistics')
                self.escape()
                self.assertSoon(self.open_windows, [])
                self.assertSoon(self.focused_control, str(button))

    def test_clear_from_button_and_menu(self):
        for way in ('button', 'menu'):
            with self.subTest(way=way):
                self.enter({'texts': {4001: 'Ann', 4007: '2'}, 'choices': {1004: 1, 1005: 4}, 'ticks': [1013, 1022]})
                self.wait(lambda: '4001=Ann' in self.driver.current_url, 3)
                if way == 'button':
                    self.main(1002).click()
                else:
                    self.driver.find_element(By.CSS_SELECTOR, '[data-menu="File"]').click()
                    self.driver.find_element(By.CSS_SELECTOR, '[data-command="102"]').click()
                self.assertSoon(lambda: self.values(BOXES), [''] * 4)
                self.assertSoon(self.choices, [-1, -1])
                self.assertSoon(self.ticked, [])
                self.assertSoon(lambda: '#' in self.driver.current_url, False)
                self.main(1001).click()
                self.assertSoon(self.open_windows, ['message'])
                self.escape()

    def test_boxes_take_29_characters_typed_or_pasted(self):
        self.type(4001, 'k' * 35)
        self.assertSoon(lambda: self.value(4001), 'k' * 29)
        self.main(4002).click()
        try:
            ENGINE.paste(self.driver, 'p' * 40)
        except NotAvailable as reason:
            return self.skipped('29 characters pasted', reason)
        self.assertSoon(lambda: self.value(4002), 'p' * 29)

    def test_keys(self):
        # Esc and Enter in the main window, Enter in a box and a list: nothing.
        for number in (4001, 1004, 1012):
            with self.subTest(control=number):
                self.main(number).send_keys(Keys.ENTER)
                self.main(number).send_keys(Keys.ESCAPE)
                self.assertSoon(self.open_windows, [])
        # Enter and Space press a focused button; Esc closes every window.
        self.enter({'choices': {1004: 0, 1005: 0}})
        for press in (Keys.ENTER, Keys.SPACE):
            for button, window in ((1001, '1200'), (1023, '1300')):
                with self.subTest(button=button, key=press):
                    self.driver.execute_script('arguments[0].focus()', self.main(button))
                    self.press_focused(press)
                    self.assertSoon(self.open_windows, [window])
                    self.escape()
                    self.assertSoon(self.open_windows, [])
                    self.assertSoon(self.focused_control, str(button))
        # Tab goes in reading order.
        self.main(4001).click()
        order = [page_driver.soon(self.focused_control, str(TAB_ORDER[0]))]
        for number in TAB_ORDER[1:]:
            self.key(Keys.TAB)
            order.append(page_driver.soon(self.focused_control, str(number)))
        self.assertEqual(order, [str(n) for n in TAB_ORDER])

    def test_bad_fragments_fill_what_they_can(self):
        long_name = 'x' * 40
        rows = [
            ('#v=1&4001=Ann&4001=Bob', {4001: 'Ann'}, {}, []),
            ('#v=1&4001=' + long_name, {4001: 'x' * 29}, {}, []),
            ('#v=1&4001=%E2%82%AC%zz&4006=%', {4001: '€%zz', 4006: '%'}, {}, []),
            ('#v=2&4002=Bob&9999=1&x=<b>', {4002: 'Bob'}, {}, []),
            ('#v=1&1004=Moon&1005=0.55&1012=yes&1013=1&1018=', {}, {}, [1013]),
            ('#4001=' + MARKUP + '&1004=Gate', {4001: MARKUP[:29]}, {1004: 0}, []),
            ('#v=1&4001', {}, {}, []),
            ('#v=1&4001=A%00n%01n%7F&4002=B%09o%0Ab', {4001: 'Ann', 4002: 'Bob'}, {}, []),
            ('#%', {}, {}, []),
            ('#v=1&1004=Station&1005=1.0&4007=' + '%F0%9F%98%80' * 20, {4007: '😀' * 14}, {1004: 1, 1005: 0}, []),
            ('#' + '&'.join(f'{n}=1' for n in TICKS) + '&' + 'z' * 5000, {}, {}, TICKS),
        ]
        for fragment, texts, choices, ticks in rows:
            with self.subTest(fragment=fragment[:60]):
                self.open(fragment)
                self.assertSoon(lambda: self.values(BOXES), [texts.get(b, '') for b in BOXES])
                self.assertSoon(self.choices, [choices.get(n, -1) for n in (1004, 1005)])
                self.assertSoon(self.ticked, ticks)
                self.assertSoon(self.open_windows, [])
                with self.assertRaises(NoAlertPresentException):
                    self.driver.switch_to.alert.text

    def test_the_status_line_tells_another_links_version_and_keeps_the_newest_line(self):
        self.open('#v=2&4002=Bob')
        said = self.driver.find_element(By.ID, 'said')
        self.assertSoon(lambda: 'another version' in said.text or said.text, True, 'the status (on the left)')
        self.assertSoon(lambda: self.value(4002), 'Bob')
        # The first line's timer runs after the second line is said: the
        # second stays. The page's timers are the test's while it says them.
        shown = self.driver.execute_script("""
            const timers = new Map();
            const real = [window.setTimeout, window.clearTimeout];
            let next = 1;
            window.setTimeout = (run) => { timers.set(next, run); return next++; };
            window.clearTimeout = (id) => { timers.delete(id); };
            say('first');
            const first = [...timers.keys()].pop();
            say('second');
            [window.setTimeout, window.clearTimeout] = real;
            if (timers.has(first)) timers.get(first)();
            const line = document.getElementById('said');
            return [line.textContent, line.hidden];""")
        self.assertEqual(shown, ['second', False])

    def test_typed_markup_stays_text(self):
        self.enter({'texts': {4001: MARKUP[:29], 4002: MARKUP[:29]}, 'choices': {1004: 0, 1005: 0}})
        shown = MARKUP[:29]
        self.main(1001).click()
        self.assertSoon(self.open_windows, ['1200'])
        self.assertIn(shown, self.in_window(1200, 1202).text)
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, 'img[src="x"]'), [])
        self.escape()
        self.main(1024).click()
        self.assertSoon(self.open_windows, ['1300'])
        self.assertIn(shown, self.caption(1300))
        self.escape()
        self.open(self.driver.current_url[self.driver.current_url.index('#'):])
        self.assertSoon(lambda: self.value(4001), shown)
        with self.assertRaises(NoAlertPresentException):
            self.driver.switch_to.alert.text

    def test_characters_beyond_ascii_as_the_windows_program_holds_them(self):
        rows = [('Ærø', 'Ærø'), ('Łódź', '?ód?'), ('刀', '?'), ('Ann 😀', 'Ann ?'), ('€ Šaš', '€ Šaš')]
        for typed, held in rows:
            with self.subTest(typed=typed):
                self.main(1002).click()
                self.enter({'texts': {4002: typed}, 'choices': {1004: 0, 1005: 0}, 'ticks': [1020]})
                self.main(1001).click()
                self.assertSoon(self.open_windows, ['1200'])
                self.assertTrue(self.in_window(1200, 1202).text.startswith(f'{held} is a valid target'))
                self.escape()
                self.assertSoon(lambda: self.value(4002), typed, 'the box keeps what was typed')

    def test_accessible_names(self):
        # Every control's role and name, each window a dialog named by its
        # caption with boxes of distinct names, the Error box an alert dialog
        # described by its message: in the accessibility tree that a screen
        # reader reads (AT-SPI's for WebKit and Firefox).
        self.assertTree(main_window_rows, 'the main window')
        self.enter({'choices': {1004: 0, 1005: 0}})
        self.main(1001).click()
        self.assertTree(window_rows('Results', 7, picture=True), 'the Results window')
        self.escape()
        self.main(1023).click()
        self.assertSoon(self.open_windows, ['1300'])
        self.assertTree(window_rows(self.caption(1300), 7, first='Aggressions until Outlaw:'), 'the statistics window')
        self.escape()
        self.main(1002).click()
        self.main(1001).click()
        self.assertSoon(self.open_windows, ['message'])
        message = self.window('message').find_element(By.CSS_SELECTOR, '[data-message]').text
        self.assertTree(window_rows('Error', role='alertdialog', description=message), 'the Error box')
        self.escape()
        menu = self.driver.find_element(By.CSS_SELECTOR, '[data-menu="File"]')
        expanded = lambda: menu.get_attribute('aria-expanded')  # noqa: E731
        self.assertEqual(expanded(), 'false')
        menu.send_keys(Keys.ENTER)
        self.assertSoon(expanded, 'true')
        self.escape()
        self.assertSoon(expanded, 'false')

    def test_rapid_changes_never_stop_a_command(self):
        # Engines limit how often a page may rewrite its address (WebKit throws
        # past 100 in 10 s, Chromium ignores past 200): the link never stops a command.
        self.enter({'choices': {1004: 0}})
        self.driver.set_script_timeout(30)
        self.assertEqual(self.driver.execute_async_script(RAPID_CHANGES, 300), 300)
        name, status = self.values([4001, 4006])
        entries = {'texts': {4001: name, 4006: status}, 'choices': {1004: 0, 1005: self.choices([1005])[0]},
                   'ticks': [1012] if 1012 in self.ticked() else []}
        expected = self.expected(entries, 'calculate')
        self.main(1001).click()
        self.assertSoon(self.open_windows, ['1200'])
        self.assertEqual(self.texts(1200, RESULTS_BOXES), [expected['boxes'][str(box)] for box in RESULTS_BOXES])
        self.escape()
        link = self.driver.execute_script('return new URLSearchParams(location.hash.slice(1)).toString()')
        self.assertIn(f"4001={entries['texts'][4001]}", link)
        self.assertIn(f"4006={entries['texts'][4006]}", link)
        self.assertEqual('1012=1' in link, entries['ticks'] == [1012])
        self.main(1002).click()
        self.assertSoon(lambda: self.driver.execute_script('return location.hash'), '')
        # And the page keeps writing its link after the burst.
        self.type(4002, 'Cy')
        self.wait(lambda: '4002=Cy' in self.driver.execute_script('return location.hash'), 3)

    def test_menus_close_and_give_the_focus_back(self):
        help_menu = self.driver.find_element(By.CSS_SELECTOR, '[data-menu="Help"]')
        file_menu = self.driver.find_element(By.CSS_SELECTOR, '[data-menu="File"]')
        help_menu.click()
        self.driver.find_element(By.CSS_SELECTOR, '[data-command="103"]').click()
        self.assertSoon(self.open_windows, ['1100'])
        self.escape()
        # The window's close event comes a moment after the key.
        self.wait(lambda: self.driver.execute_script('return document.activeElement') == help_menu)
        # Esc closes a menu and gives the focus to its button; so does leaving it.
        file_menu.click()
        self.driver.find_element(By.CSS_SELECTOR, '[data-command="102"]').send_keys(Keys.ESCAPE)
        expanded = lambda: file_menu.get_attribute('aria-expanded')  # noqa: E731
        self.assertSoon(expanded, 'false')
        self.assertSoon(lambda: self.driver.execute_script('return document.activeElement'), file_menu)
        # After a command that opens no window, the focus is on its menu's button.
        self.driver.execute_script(
            "Object.defineProperty(navigator, 'share', {value: undefined, configurable: true});"
            "Object.defineProperty(navigator, 'clipboard', {configurable: true,"
            "  value: {writeText: async (text) => { window.copied = text; }}});")
        for command in ('102', 'copy-link'):
            with self.subTest(command=command):
                file_menu.click()
                self.driver.find_element(By.CSS_SELECTOR, f'[data-command="{command}"]').click()
                self.assertSoon(expanded, 'false')
                self.assertSoon(lambda: self.driver.execute_script('return document.activeElement'), file_menu)
        for leave in ('Tab', 'click'):
            with self.subTest(leave=leave):
                file_menu.click()
                self.assertSoon(expanded, 'true')
                if leave == 'Tab':
                    self.driver.find_element(By.CSS_SELECTOR, '[data-command="copy-link"]').send_keys(Keys.TAB)
                else:
                    self.main(1007).click()
                self.assertSoon(expanded, 'false')
                self.assertSoon(self.driver.find_element(By.ID, 'menu-file').is_displayed, False)

    def test_the_encounter_can_be_copied_as_a_link(self):
        # On a desktop (a fine pointer, in a tab) it copies, though the browser can share.
        self.driver.execute_script(
            "Object.defineProperty(navigator, 'share', {configurable: true,"
            "  value: async () => { window.shared = true; }});"
            "Object.defineProperty(navigator, 'clipboard', {configurable: true,"
            "  value: {writeText: async (text) => { window.copied = text; }}});")
        self.enter({'texts': {4001: 'Ann'}, 'choices': {1004: 1}})
        self.driver.find_element(By.CSS_SELECTOR, '[data-menu="File"]').click()
        self.driver.find_element(By.CSS_SELECTOR, '[data-command="copy-link"]').click()
        copied = self.wait(lambda: self.driver.execute_script('return window.copied || null'))
        self.assertEqual(copied, self.driver.current_url)
        self.assertIn('4001=Ann', copied)
        self.assertIn('1004=Station', copied)
        self.assertFalse(self.driver.execute_script('return !!window.shared'), 'no share sheet on a desktop')


class LayoutChecks:
    """How the page lays out on screens and text sizes: run from disk only,
    where the screenshots are taken, as the address does not change it."""

    def test_large_text_and_zoom_reflow(self):
        # 320 px with the text at 200 %, and 1280 px at 400 % zoom (320 CSS px).
        for font_size, name in ((32, 'text-200'), (None, 'zoom-400')):
            with self.subTest(text=name):
                self.restart(font_size=font_size)
                self.at_size(320, 640, LINK_EXAMPLE.replace('Ann', 'Corporation'))
                if font_size and ENGINE.text_size_in_page:
                    self.driver.execute_script(f'document.documentElement.style.fontSize = "{font_size / 16:.0%}"')
                self.driver.find_element(By.CSS_SELECTOR, '[data-menu="Help"]').click()
                self.assertTrue(self.no_sideways_scroll(), 'the page, with the Help menu open')
                self.assertEqual(self.driver.execute_script(BROKEN_WORDS), [])
                self.shot(f'web-main-{name}')
                self.driver.find_element(By.CSS_SELECTOR, '[data-menu="Help"]').click()
                for button, window in ((1001, 1200), (1023, 1300)):
                    self.main(button).click()
                    self.assertSoon(self.open_windows, [str(window)])
                    dialog = self.window(window)
                    self.assertTrue(self.no_sideways_scroll(dialog), f'window {window}')
                    self.assertEqual(self.driver.execute_script(BROKEN_WORDS, dialog), [], f'window {window}')
                    caption = dialog.find_element(By.CSS_SELECTOR, '[data-caption]')
                    self.assertTrue(self.no_sideways_scroll(caption), 'the caption wraps')
                    if window == 1300:
                        narrowest = self.driver.execute_script(
                            'return Math.min(...[...arguments[0].querySelectorAll(".counts [id^=l]")]'
                            '.map((l) => l.getBoundingClientRect().width / parseFloat(getComputedStyle(l).fontSize)))',
                            dialog)
                        self.assertGreaterEqual(narrowest, 6, 'each label is a few words wide (in em)')
                    self.shot(f'web-{window}-{name}')
                    self.escape()

    def test_small_screens_keep_every_line_and_close_in_view(self):
        long = '#v=1&4001=' + 'Ann%20Bee%20' * 3 + '&4002=' + 'Cy%20Dee%20' * 3 + '&4006=-4.9&1004=Gate&1005=0.5&1019=1'
        for width, height in ((320, 568), (568, 320), (360, 300)):
            with self.subTest(screen=f'{width}x{height}'):
                self.at_size(width, height, long)
                for button, window, close in ((1001, 1200, 1201), (1024, 1300, 1301)):
                    self.main(button).click()
                    self.assertSoon(self.open_windows, [str(window)])
                    top = self.driver.execute_script('return document.scrollingElement.scrollTop')
                    dialog = self.window(window)
                    self.assertTrue(self.driver.execute_script(IN_VIEW, dialog), 'the window fits the screen')
                    boxes = dialog.find_elements(By.CSS_SELECTOR, '.box')
                    for box in boxes:  # each line can be brought into view, with Close still in view
                        self.driver.execute_script('arguments[0].scrollIntoView({block: "nearest"})', box)
                        self.assertTrue(self.driver.execute_script(IN_VIEW, box))
                        self.assertTrue(self.driver.execute_script(IN_VIEW, self.in_window(window, close)))
                    ENGINE.wheel(self.driver, 400)
                    self.assertEqual(self.driver.execute_script('return document.scrollingElement.scrollTop'),
                                     top, 'the page behind an open window does not scroll')
                    self.shot(f'web-{window}-{width}x{height}')
                    self.escape()
                for box in (4002, 4007):  # a focused box is in view
                    self.main(box).click()
                    self.assertTrue(self.driver.execute_script(IN_VIEW, self.main(box)))

    def test_touch_targets_are_44_px_on_a_touch_screen(self):
        try:
            ENGINE.touch(self.driver, True)
            self.open('')
        except NotAvailable:
            # No touch emulation: a copy of the page whose style sheet takes
            # the touch screen's query as true, laid out by this engine.
            (COPY / 'touch.css').write_text(
                (COPY / 'brawlwise.css').read_text().replace('@media (any-pointer: coarse)', '@media all'))
            (COPY / 'touch.html').write_text((COPY / 'index.html').read_text().replace('brawlwise.css', 'touch.css'))
            self.open('', base=self.base.replace('index.html', 'touch.html'))
        self.driver.find_element(By.CSS_SELECTOR, '[data-menu="Help"]').click()
        small = self.driver.execute_script("""
            return [...document.querySelectorAll('button, label.tick, select, .menu-items a, .menu-items button')]
              .filter((e) => e.checkVisibility())
              .map((e) => [e.dataset.control || e.dataset.command || e.dataset.menu || e.textContent.trim(),
                           e.getBoundingClientRect()])
              .filter(([, r]) => r.width < 44 || r.height < 44)
              .map(([name, r]) => `${name}: ${Math.round(r.width)} x ${Math.round(r.height)}`);""")
        self.assertEqual(small, [])

    def test_any_screen(self):
        for width, dark in ((320, False), (320, True), (1200, False), (1200, True)):
            scheme = 'dark' if dark else 'light'
            size = 'narrow' if width < 600 else 'wide'
            with self.subTest(width=width, dark=dark):
                try:
                    self.at_size(width, 800 if width < 600 else 900, LINK_EXAMPLE, dark)
                except NotAvailable as reason:
                    self.skipped('the page in the dark colour scheme', reason)
                    continue
                self.assertTrue(self.no_sideways_scroll())
                self.shot(f'web-main-{size}-{scheme}')
                self.main(1001).click()
                self.assertSoon(self.open_windows, ['1200'])
                self.assertTrue(self.no_sideways_scroll())
                self.assertTrue(self.no_sideways_scroll(self.window(1200)))
                self.shot(f'web-results-{size}-{scheme}')
                self.escape()


class FromDisk(LayoutChecks, WindowChecks, PageTest, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.base = (COPY / 'index.html').as_uri()

    def test_without_its_module_the_page_says_so(self):
        with tempfile.TemporaryDirectory() as copy:
            shutil.copytree(COPY, copy, dirs_exist_ok=True)
            os.remove(Path(copy) / 'brawlwise-module.js')
            self.driver.get((Path(copy) / 'index.html').as_uri())
            notice = self.driver.find_element(By.ID, 'notice')
            self.wait(notice.is_displayed)
            self.assertIn('could not start', notice.text)
            self.assertSoon(self.driver.find_element(By.ID, 'encounter').is_displayed, False)
            errors = ENGINE.errors(self.driver)
            self.assertTrue(any('brawlwise-module.js' in e for e in errors), errors)  # the missing file's own
            self.open('')


class FromServer(PageTest, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.site = Site(COPY)
        cls.base = cls.site.address + 'index.html'

    @classmethod
    def tearDownClass(cls):
        cls.site.stop()

    # The screenshots come from the disk run.
    def shot(self, name):
        pass

    def keeps(self, build):
        """The state of the worker of the page's address, and which of
        `build`'s files it does not keep."""
        return self.driver.execute_async_script(WORKER_KEEPS, keys_of(build))

    def worker(self, build, seconds=10, state=SETTLED):
        """Waits until the worker of the page's address keeps every file of
        `build`, in this state (by default, active with nothing on its way);
        a skipped check where the engine runs no worker here."""
        first = self.keeps(build)
        if isinstance(first, str):
            self.skipped('the page offline and a new build taking over', first[len('none: '):])
            raise unittest.SkipTest(first)
        self.assertSoon(lambda: self.keeps(build), state, f'the worker keeps the build {build.name}', seconds)

    def running(self, folder, marks):
        """Builds of these marks in `folder`, the first on a site of its own
        and kept by the page's worker: (builds, served folder, site)."""
        builds = {mark: marked_build(Path(folder) / mark, mark) for mark in marks}
        served = Path(folder) / 'served'
        shutil.copytree(builds[marks[0]], served)
        site = Site(served)
        try:
            self.open('', base=site.address)
            self.worker(builds[marks[0]])
            self.assertEqual(self.builds_shown(), [marks[0]] * 7)
        except BaseException:
            site.stop()
            raise
        return builds, served, site

    def builds_shown(self):
        """The build of each file the page loaded, and of a picture it would show."""
        return self.driver.execute_async_script(BUILDS_SHOWN)

    def take_new_version(self, mark):
        """Presses the Reload of "A new version is ready" and waits until the
        page runs the build `mark`."""
        update = self.driver.find_element(By.ID, 'update')
        self.assertSoon(update.is_displayed, True, 'the page offers the new version')
        update.find_element(By.CSS_SELECTOR, '[data-command="update"]').click()
        self.wait(lambda: self.script_while_loading(
            'const m = document.querySelector("meta[name=test-build]");'
            'return document.documentElement.hasAttribute("data-ready") && m.content') == mark, 20)
        self.assertEqual(self.builds_shown(), [mark] * 7)

    def offline_line(self):
        """About's line on working offline, About open."""
        if not self.is_open(1100):
            self.driver.find_element(By.CSS_SELECTOR, '[data-menu="Help"]').click()
            self.driver.find_element(By.CSS_SELECTOR, '[data-command="103"]').click()
            self.assertSoon(self.open_windows, ['1100'])
        return self.in_window(1100, 'offline').text

    def assertOffline(self, *words, seconds=10):
        """Waits until About's offline line holds each of `words`."""
        self.assertSoon(lambda: all(w in self.offline_line() for w in words) or self.offline_line(), True,
                        f'About says {words} (seen on the left)', seconds)

    def test_after_a_first_visit_the_page_works_offline(self):
        with tempfile.TemporaryDirectory() as folder:
            shutil.copytree(COPY, folder, dirs_exist_ok=True)
            site = Site(folder)
            self.open('', base=site.address)
            self.worker(Path(folder))
            self.assertOffline('This version works offline on this device.')
            site.stop()
            self.open('#v=1&4001=Ann&4006=-2.5&1004=Station&1005=0.4&1020=1', base=site.address)
            self.main(1001).click()
            expected = self.expected({'texts': {4001: 'Ann', 4006: '-2.5'}, 'choices': {1004: 1, 1005: 4},
                                      'ticks': [1020]}, 'calculate')
            self.assertEqual(self.texts(1200, RESULTS_BOXES), [expected['boxes'][str(box)] for box in RESULTS_BOXES])
            self.assertSoon(lambda: self.driver.execute_script('return arguments[0].naturalWidth',
                                                               self.in_window(1200, 1210)), 48)

    def test_a_new_build_is_offered_and_runs_once_taken_and_open_pages_keep_theirs(self):
        # A new build installs while the page runs the old one, waits, and
        # is offered ("A new version is ready"); it runs after the offer's
        # Reload, which keeps the encounter. Its files replace the old build's.
        waiting = {'state': 'active activated, installing false, waiting true', 'missing': []}
        with tempfile.TemporaryDirectory() as folder:
            builds, served, site = self.running(folder, 'ABC')
            try:
                for old, new in (('A', 'B'), ('B', 'C')):
                    with self.subTest(new=new):
                        deploy(builds[new], served)
                        self.reload()
                        self.worker(builds[new], state=waiting)
                        self.assertEqual(self.builds_shown(), [old] * 7, 'the open page keeps its build')
                        self.type(4001, f'Ann{new}')
                        self.take_new_version(new)
                        self.assertEqual(self.value(4001), f'Ann{new}', 'the encounter is kept')
                        # read afresh: WebKit's page loaded while the build took over
                        # goes on seeing it take over
                        self.open('', base=site.address)
                        self.worker(builds[new])
                        gone = set(keys_of(builds[old])) - set(keys_of(builds[new]))
                        self.assertSoon(lambda: gone <= set(self.keeps(builds[old])['missing']), True,
                                        "the old build's files are gone")
            finally:
                site.stop()

    def test_any_host_redirects_headers_and_folder_addresses_work_online_and_offline(self):
        # The page at its folder's address or at index.html, from the root
        # and from a sub-path, with the host redirecting the page or a file
        # (each status a host may use), or sending headers that no cache
        # keeps: it opens, then opens offline.
        rows = [('/', {}, 'index.html', {}),
                ('/sub/', {}, '', {}),
                ('/', {'index.html': (301, '')}, '', {}),
                ('/sub/', {'index.html': (308, '')}, 'index.html', {}),
                ('/sub/', {'index.html': (302, ''), 'page.js': (307, 'moved/page.js')}, '', {}),
                ('/sub/', {'calculator.js': (301, 'moved/calculator.js'),
                           'brawlwise-module.js': (302, 'moved/brawlwise-module.js')}, 'index.html', {}),
                ('/sub/', {}, '', {'Vary': '*', 'Set-Cookie': 'session=1; Path=/',
                                   'Link': '</x.html>; rel=alternate, ' * 400})]
        for number, (under, redirects, opened, headers) in enumerate(rows):
            with self.subTest(under=under, redirects=redirects, opened=opened, headers=list(headers)):
                if number:
                    # a browser's page of its own: WebKit and Firefox came to fail a load
                    # offline with the workers of six sites behind it in one session
                    self.restart()
                site = Site(COPY, under)  # an origin of its own, with no worker yet
                site.redirects = {under + name: (status, under + where) for name, (status, where) in redirects.items()}
                site.headers = headers
                try:
                    self.open('', base=site.address + opened)
                    self.worker(COPY)
                    self.open('#v=1&1004=Gate&1005=0.5', base=site.address + opened)
                    # its pictures loaded before the host goes (Firefox reports one cut off as corrupt)
                    self.assertSoon(lambda: self.driver.execute_script('return document.readyState'), 'complete')
                finally:
                    site.stop()
                self.open('#v=1&1004=Gate&1005=0.5', base=site.address + opened)
                self.main(1001).click()
                self.assertSoon(self.open_windows, ['1200'], 'offline, the page calculates')
                self.assertSoon(lambda: self.driver.execute_script('return arguments[0].naturalWidth',
                                                                   self.in_window(1200, 1210)), 48,
                                'and shows its picture')
                self.open('', base=site.address)

    def test_reloads_while_a_new_build_installs_never_lose_the_offline_copy(self):
        with tempfile.TemporaryDirectory() as folder:
            builds = {mark: marked_build(Path(folder) / mark, mark) for mark in 'AB'}
            served = Path(folder) / 'served'
            shutil.copytree(builds['A'], served)
            site = Site(served, '/sub/')
            held = site.late['/sub/brawlwise-module.js'] = threading.Event()
            try:
                held.set()
                self.open('', base=site.address)
                self.worker(builds['A'])
                held.clear()  # B's install waits for its module
                deploy(builds['B'], served)
                self.reload()
                self.assertSoon(lambda: self.keeps(builds['B'])['state'], 'active activated, installing true, '
                                'waiting false', 'the browser finds the build B')
                for _ in range(2):
                    self.open('', base=site.address)  # loads answered by A's worker meanwhile
                    self.assertEqual(self.builds_shown(), ['A'] * 7)
                held.set()
                self.take_new_version('B')
                self.open('', base=site.address)
                self.worker(builds['B'])
            finally:
                held.set()
                site.stop()
            self.open('', base=site.address)
            self.assertEqual(self.builds_shown(), ['B'] * 7, 'offline, the new build')

    def test_a_first_visit_with_a_file_missing_works_online_and_tries_again_for_what_failed(self):
        site = Site(COPY, '/sub/')
        late_file = '/sub/graphics/icon-maskable-512.png'  # one the page itself never asks for
        site.missing = {late_file}
        fetched = lambda: site.asked.count('/sub/calculator.js')  # noqa: E731  (the worker asks without a stamp)
        try:
            self.open('', base=site.address)
            self.assertOffline('could not be fetched (graphics/icon-maskable-512.png)', 'try again')
            before = fetched()
            self.assertGreaterEqual(before, 1)
            for _ in range(2):
                asked = site.asked.count(late_file)
                self.open('', base=site.address)
                self.assertSoon(lambda: site.asked.count(late_file) > asked, True, 'it tries again')
                self.assertFalse(self.driver.find_element(By.ID, 'notice').is_displayed(), 'no notice online')
            if fetched() == before:
                pass  # only what failed was fetched again
            elif self.driver.execute_async_script(PRECACHED):
                self.fail(f'the whole build was fetched again: calculator.js {fetched()} times')
            else:
                self.skipped('a retry fetches only what failed', 'the engine hides what a failed first install kept')
            site.missing = set()

            def kept_on_a_load():
                # a load under the worker fetches what the engine hid of what
                # the failed installs kept (WebKit does)
                self.open('', base=site.address)
                return self.keeps(COPY)
            self.assertSoon(kept_on_a_load, SETTLED, 'the next loads keep the build', seconds=30)
            self.assertOffline('This version works offline on this device.')
            ENGINE.errors(self.driver)  # the missing file's own reports
        finally:
            site.stop()

    def test_a_newer_build_that_cannot_be_kept_leaves_the_last_one_working_and_is_told(self):
        # A file of the new build fails once (a phone network dropping a
        # request) or for good: the page runs the build it keeps, online and
        # offline, never claims a newer version it cannot run, and About
        # says what happened.
        rows = [('once', 'down_once'), ('for good', 'missing')]
        for how, failing in rows:
            with self.subTest(fails=how), tempfile.TemporaryDirectory() as folder:
                builds, served, site = self.running(folder, 'AB')
                try:
                    # a file of B's own, as its worker asks for it (the page adds its stamp)
                    getattr(site, failing).add('/brawlwise.css')
                    deploy(builds['B'], served)
                    self.reload()
                    self.assertEqual(self.builds_shown(), ['A'] * 7)
                    self.assertOffline('This version works offline on this device.',
                                       'A newer version on the host could not be kept',
                                       '(brawlwise.css)')
                    self.assertFalse(self.driver.find_element(By.ID, 'notice').is_displayed())
                    if how == 'once':
                        self.reload()
                        self.worker(builds['B'], state={'state': 'active activated, installing false, '
                                                        'waiting true', 'missing': []})
                        continue
                    for _ in range(2):
                        self.open(LINK_EXAMPLE, base=site.address)
                        self.assertEqual(self.builds_shown(), ['A'] * 7)
                        self.main(1001).click()
                        self.assertSoon(self.open_windows, ['1200'], 'the page calculates')
                    self.assertFalse(self.driver.find_element(By.ID, 'update').is_displayed())
                finally:
                    site.stop()
                if how == 'for good':
                    self.open('', base=site.address)
                    self.assertEqual(self.builds_shown(), ['A'] * 7, 'offline, the build kept')
                ENGINE.errors(self.driver)  # the failed file's own reports
                self.open('')

    def test_with_storage_full_every_load_starts_and_about_says_why(self):
        site = Site(COPY)
        try:
            ENGINE.limit_storage(self.driver, site.origin, 20_000)
        except NotAvailable as reason:
            site.stop()
            return self.skipped('storage full', reason)
        try:
            for _ in range(3):
                self.open(LINK_EXAMPLE, base=site.address)
                self.main(1001).click()
                self.assertSoon(self.open_windows, ['1200'], 'the page calculates')
            self.escape()
            self.assertOffline("does not work offline", "the device's storage is full")
        finally:
            site.stop()

    def test_two_copies_on_one_site_keep_their_own_offline_copies(self):
        with tempfile.TemporaryDirectory() as folder:
            copies = {name: marked_build(Path(folder) / name, mark) for name, mark in (('stable', 'A'), ('beta', 'B'))}
            site = Site(Path(folder))
            try:
                for name in ('stable', 'beta', 'stable'):
                    self.open('', base=f'{site.origin}/{name}/')
                    self.worker(copies[name])
                self.open('', base=f'{site.origin}/beta/')
                self.worker(copies['beta'])
            finally:
                site.stop()
            for name, mark in (('stable', 'A'), ('beta', 'B')):
                self.open('', base=f'{site.origin}/{name}/')
                self.assertEqual(self.builds_shown(), [mark] * 7, f'offline, {name} runs its own build')

    def test_without_its_worker_script_the_page_works_and_about_says_so(self):
        site = Site(COPY)
        site.missing = {'/service-worker.js'}
        try:
            self.open(LINK_EXAMPLE, base=site.address)
            self.main(1001).click()
            self.assertSoon(self.open_windows, ['1200'], 'the page calculates')
            self.escape()
            self.assertOffline('does not work offline', 'service-worker.js')
            ENGINE.errors(self.driver)  # the missing file's own reports
        finally:
            site.stop()

    def test_a_mixed_build_or_a_failed_start_ends_in_a_notice_with_reload(self):
        # A host caught between two builds, and a page whose wiring fails:
        # a notice with a Reload button, and nothing computed; once the
        # host serves one build, Reload starts it.
        def mixed(served, builds, page, rest):
            shutil.copytree(builds[rest], served)
            shutil.copyfile(builds[page] / 'index.html', served / 'index.html')

        def old_module(served, builds):
            shutil.copytree(builds['B'], served)
            shutil.copyfile(builds['A'] / 'brawlwise-module.js', served / 'brawlwise-module.js')

        def broken_page(served, builds):
            shutil.copytree(builds['B'], served)
            index = served / 'index.html'
            index.write_text(index.read_text().replace('data-control="1002"', 'data-control="x1002"'))

        def no_scripts(served, builds):
            shutil.copytree(builds['B'], served)
            for script in served.glob('*.js'):
                if script.name != 'service-worker.js':
                    script.unlink()

        rows = [('an old page with new files', lambda s, b: mixed(s, b, 'A', 'B'), 'newer version'),
                ('no script but the page itself', no_scripts, 'could not start'),
                ('a new page with old files', lambda s, b: mixed(s, b, 'B', 'A'), 'newer version'),
                ('a new page with an old module', old_module, 'newer version'),
                ('a page whose wiring fails', broken_page, 'could not start')]
        with tempfile.TemporaryDirectory() as folder:
            builds = {mark: marked_build(Path(folder) / mark, mark) for mark in 'AB'}
            for number, (name, make, words) in enumerate(rows):
                with self.subTest(host=name):
                    served = Path(folder) / f'served-{number}'
                    make(served, builds)
                    site = Site(served)  # an origin of its own: no worker of the last row's
                    try:
                        self.driver.get(site.address)
                        notice = self.driver.find_element(By.ID, 'notice')
                        self.assertSoon(lambda: words in notice.text or notice.text, True, 'the notice (seen on the left)')
                        self.assertSoon(self.driver.find_element(By.ID, 'encounter').is_displayed, False,
                                        'the form is gone: nothing is computed')
                        self.assertFalse(self.driver.execute_script(page_driver.IS_READY))
                        ENGINE.errors(self.driver)  # a broken page's own reports
                        deploy(builds['B'], served)
                        notice.find_element(By.CSS_SELECTOR, '[data-command="reload"]').click()
                        self.wait(lambda: self.driver.execute_script(  # read while the page reloads
                            'const page = document.documentElement; return !!page && page.hasAttribute("data-ready")'))
                        self.assertEqual(self.builds_shown()[:6], ['B'] * 6)
                    finally:
                        site.stop()
                    self.open('')

    def test_the_form_shows_and_keeps_commands_while_the_module_loads(self):
        # Commands pressed before the module is ready run in order once it
        # is, but none opens over a window already open: the page names those.
        rows = [('SSS', [1023], ['1300'], None),
                ('SSS, then Calculate', [1023, 1001], ['1300'], 'Calculate'),
                ('Calculate, then About', [1001, 'about'], ['1100'], 'Calculate')]
        self.restart(page_load='none')
        for name, presses, windows, not_run in rows:
            with self.subTest(pressed=name):
                site = Site(COPY)  # an origin of its own: the module is not kept yet
                Quiet.module_released.clear()
                try:
                    self.driver.get(site.address)
                    self.wait(lambda: self.script_while_loading(
                        'return location.href === arguments[0] && typeof whenReady === "function"', site.address))
                    self.assertTrue(self.main(4001).is_displayed())
                    self.type(4001, 'Ann')
                    self.type(4006, '2.5')
                    for press in presses:
                        if press == 'about':
                            self.driver.find_element(By.CSS_SELECTOR, '[data-menu="Help"]').click()
                            self.driver.find_element(By.CSS_SELECTOR, '[data-command="103"]').click()
                        else:
                            self.main(press).click()
                    self.assertFalse(self.driver.execute_script(page_driver.IS_READY), 'the module is held back')
                    self.wait(lambda: 'as soon as it is ready' in self.driver.find_element(By.ID, 'starting').text)
                    self.assertEqual(self.open_windows(), ['1100'] if 'about' in presses else [],
                                     'no command opens before the module is ready')
                    Quiet.module_released.set()
                    page_driver.wait_ready(self.driver)
                    self.assertSoon(self.open_windows, windows)
                    if '1300' in windows:
                        expected = self.expected({'texts': {4001: 'Ann', 4006: '2.5'}}, 'sss1')
                        self.assertEqual(self.caption(1300), expected['caption'])
                    if not_run:
                        said = self.driver.find_element(By.ID, 'said')
                        self.assertSoon(lambda: not_run in said.text or said.text, True, 'the status (on the left)')
                    self.assertSoon(self.driver.find_element(By.ID, 'starting').is_displayed, False)
                finally:
                    Quiet.module_released.set()
                    site.stop()

    def test_a_start_that_stalls_is_told_with_reload_while_the_page_waits(self):
        # The module, or one of the page's scripts, held back by the network.
        self.restart(page_load='none')
        for held in ('/brawlwise-module.js', '/calculator.js'):
            with self.subTest(held=held):
                site = Site(COPY)  # an origin of its own: nothing is kept yet
                release = site.late[held] = threading.Event()
                try:
                    self.driver.get(site.address)
                    stalled = self.wait(lambda: self.script_while_loading(
                        'return location.href === arguments[0] && document.getElementById("stalled")', site.address))
                    self.assertSoon(stalled.is_displayed, True, 'a line with Reload after a few seconds', seconds=15)
                    self.assertTrue(stalled.find_element(By.CSS_SELECTOR, '[data-command="reload"]').is_displayed())
                    self.assertTrue(self.main(4001).is_displayed(), 'the form stays')
                    release.set()
                    page_driver.wait_ready(self.driver)
                    self.assertSoon(stalled.is_displayed, False, 'the line goes once the calculator is ready')
                finally:
                    release.set()
                    site.stop()

    def test_what_the_user_did_before_the_scripts_ran_is_kept(self):
        # The form is drawn before the page's scripts run: a tick, a list
        # choice and typing made meanwhile stay, over an empty link.
        self.restart(page_load='none')
        site = Site(COPY)
        held = site.late['/page.js'] = threading.Event()
        try:
            self.driver.get(site.address + '#v=1&1014=1')
            self.wait(lambda: self.script_while_loading(CONTROLS + 'return !!control(1022) && location.href'))
            self.main(1012).click()
            self.main(1013).click()
            self.choose(1004, 'Station')
            self.type(4001, 'Ann')
            held.set()
            page_driver.wait_ready(self.driver)
            self.assertEqual([self.ticked(), self.choices(), self.value(4001)], [[1012, 1013, 1014], [1, -1], 'Ann'])
            self.assertSoon(lambda: all(f in self.driver.current_url for f in ('1012=1', '1004=Station', '4001=Ann')),
                            True, 'and they are in the link')
        finally:
            held.set()
            site.stop()

    def test_a_link_is_never_lost_while_the_module_loads(self):
        # The link fills every control at once; what is typed meanwhile wins
        # for that box only; Copy link gives what is on screen.
        self.restart(page_load='none')
        Quiet.module_released.clear()
        try:
            self.driver.get(self.base + LINK_EXAMPLE)
            self.wait(lambda: self.script_while_loading(CONTROLS + 'return !!control(1005)'))
            self.assertSoon(lambda: [self.values(BOXES), self.choices(), self.ticked()],
                            [['Ann', 'Bob', '2.5', '-3'], [1, 6], [1020]], 'the link fills the form before ready')
            self.driver.execute_script(
                "Object.defineProperty(navigator, 'share', {value: undefined, configurable: true});"
                "Object.defineProperty(navigator, 'clipboard', {configurable: true,"
                "  value: {writeText: async (text) => { window.copied = text; }}});")
            self.type(4002, 'Cy')
            self.driver.find_element(By.CSS_SELECTOR, '[data-menu="File"]').click()
            self.driver.find_element(By.CSS_SELECTOR, '[data-command="copy-link"]').click()
            copied = self.wait(lambda: self.driver.execute_script('return window.copied || null'))
            self.assertIn('4002=Cy', copied)
            self.assertIn('4001=Ann', copied)
            self.assertFalse(self.driver.execute_script(page_driver.IS_READY), 'the module is held back')
            Quiet.module_released.set()
            page_driver.wait_ready(self.driver)
            self.assertSoon(lambda: [self.values(BOXES), self.choices(), self.ticked()],
                            [['Ann', 'Cy', '2.5', '-3'], [1, 6], [1020]], 'the link and what was typed, once ready')
            self.main(1001).click()
            self.assertSoon(self.open_windows, ['1200'])
            self.assertIn('1004=Station', self.driver.current_url)
        finally:
            Quiet.module_released.set()


class TimedResult(unittest.TextTestResult):
    """Prints each test's time after its verdict, as "(1.23 s)"."""

    def startTest(self, test):
        self.started = time.monotonic()
        super().startTest(test)

    def stopTest(self, test):
        super().stopTest(test)
        self.stream.writeln(f'  {test.id().split(".", 1)[1]} ({time.monotonic() - self.started:.2f} s)')
        self.stream.flush()


if __name__ == '__main__':
    if SKIPPED_CHECKS:  # this run's own
        SKIPPED_CHECKS.unlink(missing_ok=True)
        SKIPPED_CHECKS.with_name('engine.txt').unlink(missing_ok=True)
    with tempfile.TemporaryDirectory(prefix='brawlwise-page-') as folder:
        COPY = page_driver.test_copy(PAGE, folder)
        print(f'{ENGINE.name}: the page from disk and from 127.0.0.1, one browser, a page of its own for each test')
        chosen = os.environ.get('PAGE_TESTS', '').split()  # e.g. PAGE_TESTS='-k keys'
        runner = unittest.TextTestRunner(verbosity=2, resultclass=TimedResult)
        try:
            result = unittest.main(argv=sys.argv[:1] + chosen, testRunner=runner, exit=False).result
        finally:
            if BROWSER:
                BROWSER.quit()
    sys.exit(0 if result.wasSuccessful() else 1)
