"""Starting a browser and driving the page in it, shared by the page's tests
and its benchmark: as BrawlwiseDriver is for the Windows program.

One adapter per engine: Chromium and WebKit (WebKitGTK's MiniBrowser, under
an X display) through their WebDriver servers and Selenium; Firefox through
WebDriver BiDi, which it speaks itself, behind an object with the part of
Selenium's interface that the tests use. What an engine's driver cannot do
raises NotAvailable, whose message says why.

A suite starts each engine once (Engine.launch) and gives each test a page
of its own that shares nothing with the last test's: a new browser context
in Chromium (over the DevTools protocol), a new user context in Firefox (over
WebDriver BiDi) and, as WebKit's driver has neither, a new browser with a
fresh profile in WebKit, started while the test before runs.

A page is ready when its root carries data-ready: the module is instantiated
and the lists are filled.
"""
import asyncio
import base64
import concurrent.futures
import itertools
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import (JavascriptException, NoAlertPresentException, NoSuchElementException,
                                        WebDriverException)
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

import accessibility  # noqa: E402  (beside this file)

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / 'web'))
import build_page  # noqa: E402  (the page's build, for its words and numbers)

IS_READY = 'return document.documentElement.hasAttribute("data-ready")'
ENGINES = ['chromium', 'webkit', 'firefox']
MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'
# What the error collector of a test copy of the page has seen.
COLLECTED = 'return window.brawlwiseTestErrors ? window.brawlwiseTestErrors.splice(0) : []'


class NotAvailable(Exception):
    """What this engine's driver cannot do; the message says why."""


def control_numbers():
    """The control numbers by name, as the page's build reads them."""
    return build_page.identifiers(ROOT / 'core' / 'ControlNumbers.h')


def program_words():
    """'window/control', 'window/caption' and 'menu/item' to the program's words."""
    return build_page.words(ROOT / 'windows' / 'Brawlwise.rc', control_numbers())


def soon(read, expected, seconds=10):
    """Reads until read() gives `expected` or `seconds` have passed; gives
    what it last read. The deadline is a bound, not a pause: the first
    matching read returns."""
    deadline = time.monotonic() + seconds
    while True:
        seen = read()
        if seen == expected or time.monotonic() > deadline:
            return seen
        time.sleep(0.02)


def wait(driver, condition, seconds=10):
    """Waits until condition() is true; returns its value, or fails with
    what it last gave."""
    return accessibility.until(condition, seconds, 'the awaited state')


def wait_ready(driver, seconds=10):
    """Waits until the page is ready: its module started and its form wired."""
    wait(driver, lambda: driver.execute_script(IS_READY), seconds)


def open_page(driver, address):
    """Opens the page afresh at an address and waits until it is ready."""
    driver.get('about:blank')
    driver.get(address)
    wait_ready(driver)


def test_copy(page, folder):
    """A copy of the built page in `folder` whose first script collects every
    uncaught error, refused promise, policy violation and console error or
    warning, in every engine alike; its service worker keeps the copy."""
    shutil.copytree(page, folder, dirs_exist_ok=True)
    shutil.copyfile(Path(__file__).with_name('collect-errors.js'), Path(folder) / 'collect-errors.js')
    index = Path(folder) / 'index.html'
    html = index.read_text()
    at = html.index('<title>')
    index.write_text(html[:at] + '<script src="collect-errors.js"></script>\n  ' + html[at:])
    build_page.restamp(folder)  # the copy is a build of its own
    return Path(folder)


# ---- the engines

class Engine:
    """One engine: how to start it, and what its driver adds to WebDriver's
    common ground."""
    name = ''

    def start(self, width=1200, height=900, font_size=None, dark=False, page_load='normal'):
        """A new browser with a fresh profile; font_size sets its default text
        size in CSS px, dark asks for the dark colour scheme where the engine
        can only be told so at its start; page_load 'none' lets a command
        act on a page that is still loading."""
        raise NotImplementedError

    # The options of start() that a page of a shared browser can take.
    page_options = frozenset()

    def launch(self):
        """This engine's browser for a suite, whose pages share nothing."""
        return FreshBrowsers(self)

    def version(self, driver):
        return driver.capabilities.get('browserVersion', '?')

    def errors(self, driver):
        """The page's errors since the last call: the collector's, and the browser's own log where it has one."""
        return driver.execute_script(COLLECTED)

    def set_screen(self, driver, width, height, dark=False):
        """Emulates a screen of this size in CSS px, light or dark, for the next page."""
        raise NotAvailable(f'{self.name} cannot emulate a screen size or colour scheme through its driver')

    # Whether its driver types characters beyond the Basic Multilingual Plane.
    types_astral = True
    # Whether the colour scheme can only be chosen when the browser starts.
    dark_at_start = False
    # Whether a larger default text is set on the page's root rather than in the browser.
    text_size_in_page = False

    def paste(self, driver, text):
        """Inserts text into the focused box as the user's editing does (the
        editing command a paste runs), maxlength and all."""
        driver.execute_script('document.execCommand("insertText", false, arguments[0])', text)

    def touch(self, driver, on):
        """Emulates a coarse (touch) pointer."""
        raise NotAvailable(f'{self.name} cannot emulate a touch screen through its driver')

    def accessibility_tree(self, driver):
        """The page's accessibility tree as accessibility.py gives it: plain
        nodes, one vocabulary of roles in every engine."""
        raise NotImplementedError

    def installability_errors(self, driver):
        raise NotAvailable(f"{self.name}'s driver cannot ask whether the page can be installed")

    def limit_storage(self, driver, origin, size):
        """Gives an origin only `size` bytes of storage, as a nearly full device would."""
        raise NotAvailable(f"{self.name}'s driver cannot lower a site's storage quota")

    def wheel(self, driver, delta_y):
        """Turns the mouse wheel over the middle of the window."""
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(driver).scroll_by_amount(0, delta_y).perform()


class Chromium(Engine):
    name = 'Chromium'

    def start(self, width=1200, height=900, font_size=None, dark=False, page_load='normal'):
        options = webdriver.ChromeOptions()
        options.page_load_strategy = page_load
        options.binary_location = '/usr/bin/chromium'
        for argument in ['--headless=new', '--no-sandbox', f'--window-size={width},{height}', '--disable-gpu',
                         '--disable-background-networking', '--disable-component-update', '--no-first-run']:
            options.add_argument(argument)
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        if font_size:
            driver.execute_cdp_cmd('Page.setFontSizes', {'fontSizes': {'standard': font_size, 'fixed': font_size}})
        return driver

    page_options = frozenset({'font_size'})

    def launch(self):
        return ChromiumContexts(self)

    def errors(self, driver):
        logged = [f"{e['level']}: {e['message']}" for e in driver.get_log('browser')
                  if e['level'] in ('SEVERE', 'WARNING')]
        return super().errors(driver) + logged

    def set_screen(self, driver, width, height, dark=False):
        driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
            'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': width < 600})
        driver.execute_cdp_cmd('Emulation.setEmulatedMedia', {
            'features': [{'name': 'prefers-color-scheme', 'value': 'dark' if dark else 'light'}]})

    def paste(self, driver, text):
        driver.execute_cdp_cmd('Input.insertText', {'text': text})

    def touch(self, driver, on):
        driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': on, 'maxTouchPoints': 5})

    def accessibility_tree(self, driver):
        return accessibility.read_chromium(driver)

    def installability_errors(self, driver):
        return driver.execute_cdp_cmd('Page.getInstallabilityErrors', {})['installabilityErrors']

    def limit_storage(self, driver, origin, size):
        driver.execute_cdp_cmd('Storage.overrideQuotaForOrigin', {'origin': origin, 'quotaSize': size})


class WebKit(Engine):
    """WebKitGTK's MiniBrowser, the engine of Safari and of every browser on
    an iPhone. It needs an X display, and its window is at least about 450 px
    wide: narrower screens are frames of the page."""
    name = 'WebKit'
    types_astral = False  # WebKitWebDriver drops them
    # MiniBrowser takes no default text size: the page's root text is set
    # instead, which its rem-based sizes follow alike.
    text_size_in_page = True
    narrowest = 460

    dark_at_start = True  # GTK's dark theme, which WebKitGTK follows
    starting = threading.Lock()
    page_options = frozenset({'font_size'})  # taken by the page itself

    def set_screen(self, driver, width, height, dark=False):
        if dark != driver.dark:
            raise NotAvailable('WebKitWebDriver cannot change the colour scheme of a running browser')
        if width < self.narrowest:
            raise NotAvailable(f"MiniBrowser's window is at least about {self.narrowest} px wide")
        driver.set_window_size(width, height)

    def start(self, width=1200, height=900, font_size=None, dark=False, page_load='normal'):
        from selenium.webdriver.webkitgtk.options import Options
        options = Options()
        options.page_load_strategy = page_load
        options.binary_location = MINIBROWSER
        options.add_argument('--automation')
        # GTK's theme, inherited by the driver and the browser it starts; one
        # start at a time, as a browser may be starting in another thread.
        # Its data and cache folders of its own, fresh: WebKit keeps service
        # workers' registrations there, which an automated browser's
        # ephemeral session does not cover.
        home = tempfile.mkdtemp(prefix='brawlwise-webkit-')
        with self.starting:
            chosen = {'GTK_THEME': 'Adwaita:dark' if dark else 'Adwaita',
                      'XDG_DATA_HOME': f'{home}/data', 'XDG_CACHE_HOME': f'{home}/cache',
                      'MESA_SHADER_CACHE_DISABLE': 'true'}
            before = {name: os.environ.get(name) for name in chosen}
            os.environ.update(chosen)
            try:
                driver = webdriver.WebKitGTK(options=options)
            finally:
                for name, value in before.items():
                    os.environ.pop(name) if value is None else os.environ.__setitem__(name, value)
        driver.home = home
        driver.dark = dark
        driver.set_window_size(width, height)
        return driver

    def accessibility_tree(self, driver):
        # Through AT-SPI: MiniBrowser registers there as a child of its driver.
        return accessibility.read_atspi(driver.service.process.pid, title=driver.title)


class Firefox(Engine):
    """Firefox ESR. The suite's browser has a window (in Xvfb, one at a time:
    the display's focus is one), so that its page has the focus and its
    accessibility tree is read through AT-SPI; a browser of a test's own,
    for a dark scheme or another text size, is headless."""
    name = 'Firefox'

    page_options = frozenset({'page_load'})

    def start(self, width=1200, height=900, font_size=None, dark=False, page_load='normal', window=False):
        return BidiDriver(width, height, font_size, dark, page_load, window)

    def launch(self):
        return FirefoxUserContexts(self)

    def accessibility_tree(self, driver):
        if not driver.window:
            raise NotAvailable('a headless Firefox registers no accessibility tree')
        return accessibility.read_atspi(driver.process.pid, title=driver.title)

    def version(self, driver):
        return driver.browser_version

    def errors(self, driver):
        return super().errors(driver) + driver.logged_errors()

    dark_at_start = True  # a preference of the profile

    def wheel(self, driver, delta_y):
        width, height = driver.execute_script('return [innerWidth, innerHeight]')
        driver.perform([{'type': 'wheel', 'id': 'wheel', 'actions': [
            {'type': 'scroll', 'x': width // 2, 'y': height // 2, 'deltaX': 0, 'deltaY': delta_y}]}])

    def set_screen(self, driver, width, height, dark=False):
        if dark != driver.dark:
            raise NotAvailable('WebDriver BiDi in Firefox ESR cannot change the colour scheme of a running browser')
        driver.command('browsingContext.setViewport',
                       {'context': driver.context, 'viewport': {'width': width, 'height': height}})


def engine(name):
    return {'chromium': Chromium, 'webkit': WebKit, 'firefox': Firefox}[name]()


# ---- a browser for a suite, a page of its own for each test

class FreshBrowsers:
    """A new browser with a fresh profile for each page, where the driver has
    no isolated context to offer: the next one starts while a page is in use."""

    def __init__(self, engine):
        self.engine = engine
        self.pool = concurrent.futures.ThreadPoolExecutor(1)
        self.next = self.pool.submit(engine.start)

    def page(self, **options):
        """A page that shares nothing with any before it, its driver."""
        driver = self.next.result()
        self.next = self.pool.submit(self.engine.start)
        return driver

    def close(self, driver):
        driver.quit()
        shutil.rmtree(getattr(driver, 'home', ''), ignore_errors=True)

    def quit(self):
        try:
            self.close(self.next.result())
        except Exception:  # noqa: BLE001  (a browser that never started has nothing to end)
            pass
        self.pool.shutdown()


class ChromiumContexts:
    """One Chromium for a suite; each page in a browser context of its own (as
    a private window is: its own storage, cache, workers, history and
    permissions), made and ended over the browser's DevTools protocol."""

    def __init__(self, engine):
        self.engine = engine
        self.driver = engine.start()
        self.home = self.driver.current_window_handle
        address = self.driver.capabilities['goog:chromeOptions']['debuggerAddress']
        with urllib.request.urlopen(f'http://{address}/json/version', timeout=30) as answer:
            self.browser = Socket(json.load(answer)['webSocketDebuggerUrl'])
        self.context = None

    def command(self, method, params):
        answer = self.browser.send(method, params)
        if 'error' in answer:
            raise WebDriverException(f"{method}: {answer['error']}")
        return answer['result']

    def page(self, font_size=None):
        self.context = self.command('Target.createBrowserContext', {'disposeOnDetach': True})['browserContextId']
        target = self.command('Target.createTarget', {'url': 'about:blank', 'browserContextId': self.context,
                                                      'width': 1200, 'height': 900})['targetId']
        self.driver.switch_to.window(target)  # its window handle is its target's id
        if font_size:
            self.driver.execute_cdp_cmd('Page.setFontSizes',
                                        {'fontSizes': {'standard': font_size, 'fixed': font_size}})
        return self.driver

    def close(self, driver):
        try:
            for handle in driver.window_handles:
                if handle != self.home:
                    driver.switch_to.window(handle)
                    driver.close()
            driver.switch_to.window(self.home)
        finally:
            self.command('Target.disposeBrowserContext', {'browserContextId': self.context})
            self.context = None

    def quit(self):
        self.browser.close()
        self.driver.quit()


class FirefoxUserContexts:
    """One Firefox for a suite; each page in a user context of its own (its
    own cookies, storage, cache and workers), made and removed over WebDriver
    BiDi."""

    def __init__(self, engine):
        self.driver = engine.start(window=True)

    def page(self, page_load='normal'):
        driver = self.driver
        driver.user_context = driver.command('browser.createUserContext', {})['userContext']
        driver.context = driver.command('browsingContext.create',
                                        {'type': 'tab', 'userContext': driver.user_context})['context']
        driver.command('browsingContext.activate', {'context': driver.context})  # the focus, and the tree shown
        driver.command('browsingContext.setViewport', {'context': driver.context, 'viewport': driver.viewport})
        driver.wait_for = 'none' if page_load == 'none' else 'complete'
        return driver

    def close(self, driver):
        driver.command('browser.removeUserContext', {'userContext': driver.user_context})  # and its tabs
        driver.context = driver.home

    def quit(self):
        self.driver.quit()


class Socket:
    """A WebSocket of numbered JSON commands and their answers, read by a
    thread of its own; what comes unasked is kept in `events`. The DevTools
    protocol and WebDriver BiDi both speak so."""

    def __init__(self, address):
        import websockets
        self.loop = asyncio.new_event_loop()
        threading.Thread(target=self.loop.run_forever, daemon=True).start()
        self.ids = itertools.count(1)
        self.pending = {}
        self.events = []

        async def connect():
            return await websockets.connect(address, max_size=None)
        self.socket = self._run(connect())
        asyncio.run_coroutine_threadsafe(self._read(), self.loop)

    def _run(self, coroutine, seconds=60):
        return asyncio.run_coroutine_threadsafe(coroutine, self.loop).result(seconds)

    async def _read(self):
        async for message in self.socket:
            answer = json.loads(message)
            if 'id' in answer and answer['id'] in self.pending:
                self.pending.pop(answer['id']).set_result(answer)
            else:
                self.events.append(answer)

    def send(self, method, params):
        """Sends a command and gives its answer, whole."""
        async def send():
            number = next(self.ids)
            future = self.loop.create_future()
            self.pending[number] = future
            await self.socket.send(json.dumps({'id': number, 'method': method, 'params': params}))
            return await future
        return self._run(send())

    def close(self):
        async def close():
            await self.socket.close()
        try:
            self._run(close(), 10)
        finally:
            self.loop.call_soon_threadsafe(self.loop.stop)


# ---- Firefox through WebDriver BiDi

class BidiDriver:
    """Firefox ESR with a fresh profile, driven over WebDriver BiDi. It offers
    what the tests use of Selenium's WebDriver: get, title, current_url,
    execute_script and execute_async_script, find_element(s), switch_to.alert,
    save_screenshot and quit. (Firefox's narrow screens are its own viewport:
    it needs no frames.)"""

    def __init__(self, width, height, font_size, dark, page_load, window):
        self.dark = dark
        self.window = window
        self.wait_for = 'none' if page_load == 'none' else 'complete'
        self.profile = tempfile.mkdtemp(prefix='brawlwise-firefox-')
        prefs = {'browser.shell.checkDefaultBrowser': False, 'datareporting.policy.dataSubmissionEnabled': False,
                 'browser.startup.homepage_override.mstone': 'ignore', 'app.update.disabledForTesting': True,
                 'network.captive-portal-service.enabled': False, 'focusmanager.testmode': True, 'browser.safebrowsing.update.enabled': False}
        if font_size:
            prefs['font.size.variable.x-western'] = font_size
        if dark:
            prefs['layout.css.prefers-color-scheme.content-override'] = 0
        if window:
            prefs['accessibility.force_disabled'] = -1  # registers with AT-SPI
        Path(self.profile, 'user.js').write_text(
            ''.join(f'user_pref("{key}", {json.dumps(value)});\n' for key, value in prefs.items()))
        # With a window, a start page as the last argument gives its window the
        # focus from the first page on.
        self.process = subprocess.Popen(
            ['firefox-esr', '--no-remote', '--profile', self.profile, '--remote-debugging-port', '0',
             '--width', str(width), '--height', str(height)] + (['data:text/html,'] if window else ['--headless']),
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        address = None
        for line in self.process.stderr:
            if match := re.search(r'WebDriver BiDi listening on (ws://\S+)', line):
                address = match.group(1)
                break
        if address is None:
            raise WebDriverException('Firefox did not start its WebDriver BiDi server')
        threading.Thread(target=self.process.stderr.read, daemon=True).start()  # its chatter, unread
        self.socket = Socket(address + '/session')
        session = self.command('session.new', {'capabilities': {
            'alwaysMatch': {'unhandledPromptBehavior': {'default': 'ignore'}}}})
        self.browser_version = session['capabilities']['browserVersion']
        self.command('session.subscribe', {'events': ['log.entryAdded', 'browsingContext.userPromptOpened']})
        self.context = self.home = self.command('browsingContext.getTree', {})['contexts'][0]['context']
        self.viewport = {'width': width, 'height': height}
        self.command('browsingContext.setViewport', {'context': self.context, 'viewport': self.viewport})
        self.switch_to = _SwitchTo(self)

    @property
    def events(self):
        return self.socket.events

    def set_script_timeout(self, seconds):
        self.script_seconds = seconds

    def implicitly_wait(self, seconds):
        pass  # finding an element never waits here

    def command(self, method, params):
        answer = self.socket.send(method, params)
        if answer.get('type') == 'error':
            raise WebDriverException(f"{method}: {answer['error']}: {answer.get('message')}")
        return answer['result']

    # -- scripts and values

    def _local(self, value):
        if isinstance(value, BidiElement):
            return {'sharedId': value.id}
        if value is None:
            return {'type': 'null'}
        if isinstance(value, bool):
            return {'type': 'boolean', 'value': value}
        if isinstance(value, (int, float)):
            return {'type': 'number', 'value': value}
        if isinstance(value, str):
            return {'type': 'string', 'value': value}
        if isinstance(value, (list, tuple)):
            return {'type': 'array', 'value': [self._local(v) for v in value]}
        if isinstance(value, dict):
            return {'type': 'object', 'value': [[str(k), self._local(v)] for k, v in value.items()]}
        raise TypeError(f'cannot hand {value!r} to a script')

    def _python(self, remote):
        kind = remote['type']
        if kind in ('undefined', 'null'):
            return None
        if kind == 'node':
            return BidiElement(self, remote['sharedId'])
        if kind == 'array':
            return [self._python(v) for v in remote.get('value', [])]
        if kind == 'object':
            return {k if isinstance(k, str) else self._python(k): self._python(v) for k, v in remote.get('value', [])}
        return remote.get('value')

    def _call(self, declaration, args, wait_promise):
        result = self.command('script.callFunction', {
            'functionDeclaration': declaration, 'arguments': [self._local(a) for a in args],
            'target': {'context': self.context}, 'awaitPromise': wait_promise, 'resultOwnership': 'none',
            'serializationOptions': {'maxDomDepth': 0, 'maxObjectDepth': 8}, 'userActivation': True})
        if result['type'] == 'exception':
            details = result['exceptionDetails']
            raise JavascriptException(details.get('text') or json.dumps(details)[:300])
        return self._python(result['result'])

    def execute_script(self, script, *args):
        return self._call(f'function() {{ {script}\n}}', args, False)

    def execute_async_script(self, script, *args):
        return self._call('function(...args) { return new Promise((done) => { (function() { '
                          f'{script}\n}}).apply(this, [...args, done]); }}); }}', args, True)

    # -- pages, elements, windows

    def get(self, address):
        self.command('browsingContext.navigate', {'context': self.context, 'url': address, 'wait': self.wait_for})

    def refresh(self):
        self.command('browsingContext.reload', {'context': self.context, 'wait': self.wait_for})

    @property
    def title(self):
        return self.execute_script('return document.title')

    @property
    def current_url(self):
        return self.execute_script('return location.href')

    def find_elements(self, by, value, scope=None):
        query = {By.CSS_SELECTOR: '(s || document).querySelectorAll(v)',
                 By.TAG_NAME: '(s || document).getElementsByTagName(v)',
                 By.ID: '[document.getElementById(v)].filter(Boolean)'}[by]
        return self.execute_script(f'const [v, s] = arguments; return [...{query}];', value, scope)

    def find_element(self, by, value, scope=None):
        found = self.find_elements(by, value, scope)
        if not found:
            raise NoSuchElementException(f'no element for {value}')
        return found[0]

    def perform(self, actions):
        self.command('input.performActions', {'context': self.context, 'actions': actions})

    def save_screenshot(self, path):
        data = self.command('browsingContext.captureScreenshot', {'context': self.context})['data']
        Path(path).write_bytes(base64.b64decode(data))

    def logged_errors(self):
        entries = [e for e in self.events if e.get('method') == 'log.entryAdded']
        for entry in entries:
            self.events.remove(entry)
        return [f"{e['params']['level']}: {e['params'].get('text')}" for e in entries
                if e['params'].get('level') in ('error', 'warn')]

    def quit(self):
        try:
            self.command('browser.close', {})
        except Exception:  # noqa: BLE001  (the browser may be gone already)
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        self.socket.loop.call_soon_threadsafe(self.socket.loop.stop)
        shutil.rmtree(self.profile, ignore_errors=True)


class BidiElement:
    """An element of the page, as Selenium's WebElement offers it to the tests."""

    def __init__(self, driver, shared_id):
        self.driver = driver
        self.id = shared_id

    def __eq__(self, other):
        return isinstance(other, BidiElement) and other.id == self.id

    def _js(self, body, *args):
        return self.driver.execute_script(f'const e = arguments[0]; {body}', self, *args)

    def find_element(self, by, value):
        return self.driver.find_element(by, value, self)

    def find_elements(self, by, value):
        return self.driver.find_elements(by, value, self)

    @property
    def tag_name(self):
        return self._js('return e.tagName.toLowerCase()')

    @property
    def text(self):
        return self._js('return (e.innerText ?? e.textContent).trim()')

    def get_attribute(self, name):
        return self._js('const n = arguments[1], p = e[n];'
                        'if (typeof p === "boolean") return p ? "true" : null;'
                        'if (p !== undefined && p !== null && typeof p !== "object" && typeof p !== "function")'
                        '  return String(p);'
                        'return e.getAttribute(n);', name)

    def get_property(self, name):
        return self._js('return e[arguments[1]]', name)

    def is_selected(self):
        return self._js('return !!(e.checked || e.selected)')

    def is_displayed(self):
        return self._js('return e.checkVisibility()')

    def clear(self):
        self._js('e.focus(); e.value = ""; e.dispatchEvent(new Event("input", {bubbles: true}));'
                 'e.dispatchEvent(new Event("change", {bubbles: true}));')

    def click(self):
        self._js('e.scrollIntoView({block: "center", inline: "nearest"})')
        origin = {'type': 'element', 'element': {'sharedId': self.id}}
        self.driver.perform([{'type': 'pointer', 'id': 'mouse', 'parameters': {'pointerType': 'mouse'},
                              'actions': [{'type': 'pointerMove', 'x': 0, 'y': 0, 'origin': origin},
                                          {'type': 'pointerDown', 'button': 0},
                                          {'type': 'pointerUp', 'button': 0}]}])

    def send_keys(self, *keys):
        self._js('if (document.activeElement !== e) e.focus();'
                 'try { e.setSelectionRange(e.value.length, e.value.length); } catch { /* not a text box */ }')
        actions = []
        for key in ''.join(keys):
            actions += [{'type': 'keyDown', 'value': key}, {'type': 'keyUp', 'value': key}]
        self.driver.perform([{'type': 'key', 'id': 'keyboard', 'actions': actions}])


class _Alert:
    def __init__(self, text):
        self.text = text


class _SwitchTo:
    def __init__(self, driver):
        self.driver = driver

    @property
    def alert(self):
        prompts = [e for e in self.driver.events if e.get('method') == 'browsingContext.userPromptOpened'
                   and e['params'].get('context') == self.driver.context]
        if not prompts:
            raise NoAlertPresentException('no alert is open')
        return _Alert(prompts[-1]['params'].get('message'))
