"""A trial by hand of accessibility.py: the page's tree in each engine named,
one browser at a time, as the page's tests would read it, with the rows
those tests would check; in Firefox with a window, also whether it has the
focus, whether Enter and Space press a focused button and whether Tab out of
an open menu closes it, and the same in headless Firefox to compare. It
prints what each engine gives and each row's outcome, and the times.

It starts the browsers the way the adapters would have to (see
accessibility-adapters.md beside it), changing page_driver's Firefox from
outside, as page_driver is being rewritten.

Usage: /usr/bin/python3 try_accessibility.py PAGE_FOLDER [chromium|webkit|firefox ...]
(it runs itself again inside `dbus-run-session -- xvfb-run -a`).
"""
import os
import subprocess
import sys
import time
from pathlib import Path

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import accessibility as ax
import page_driver

WRAPPED = 'BRAWLWISE_ACCESSIBILITY_SESSION'
WORDS = page_driver.program_words()
TICKS = [1012, 1013, 1014, 1017, 1018, 1019, 1020, 1021, 1022]
# Box id, role, name: the boxes and lists, which have ids.
BY_ID = [('c4001', 'textbox', 'Player 1 Name:'), ('c4006', 'textbox', 'Player 1 Security Status:'),
         ('c4002', 'textbox', 'Player 2 Name:'), ('c4007', 'textbox', 'Player 2 Security Status:'),
         ('c1004', 'combobox', 'Location:'), ('c1005', 'combobox', 'Solar System Security:')]
# Role and name of the controls without ids, each once in the page.
BY_NAME = [('button', WORDS['menu/File']), ('button', WORDS['menu/Help']), ('button', WORDS['1000/1001']),
           ('button', WORDS['1000/1002'])] + [('checkbox', WORDS[f'1000/{t}'].strip()) for t in TICKS]
SHOWN = {'button', 'textbox', 'combobox', 'checkbox', 'dialog', 'alertdialog', 'alert', 'document'}
results = []


def row(engine, check, ok, saw):
    results.append((engine, check, ok))
    print(f"  {'ok  ' if ok else 'FAIL'} {check}: {saw}")


def timed(what, call):
    start = time.monotonic()
    value = call()
    print(f'  time: {what} {time.monotonic() - start:.2f} s')
    return value


# ---- starting the engines as the adapters would

def firefox(window):
    """page_driver's Firefox, with a window or headless, with the profile's
    accessibility switched on and a start page given last: with a window
    under Xvfb it then has the focus from its first page on."""
    real = subprocess.Popen

    def popen(args, **options):
        args = list(args)
        profile = Path(args[args.index('--profile') + 1])
        with open(profile / 'user.js', 'a') as prefs:
            prefs.write('user_pref("accessibility.force_disabled", -1);\n')
        if window:
            args.remove('--headless')
            args.append('data:text/html,')
        return real(args, **options)

    page_driver.subprocess.Popen = popen
    try:
        return page_driver.Firefox().start()
    finally:
        page_driver.subprocess.Popen = real


def start(engine):
    if engine == 'chromium':
        driver = page_driver.Chromium().start()
        return driver, lambda: ax.read_chromium(driver)
    if engine == 'webkit':
        driver = page_driver.WebKit().start()
        pid = driver.service.process.pid  # WebKitWebDriver's; MiniBrowser is its child
    else:
        driver = firefox(window=True)
        pid = driver.process.pid
    return driver, lambda: ax.read_atspi(pid, title=driver.title)


# ---- the page

def control(driver, number):
    return driver.find_element(By.CSS_SELECTOR, f'[data-window="1000"] [data-control="{number}"]')


def choose_location(driver):
    for number in (1004, 1005):
        driver.execute_script('arguments[0].selectedIndex = 0; arguments[0].dispatchEvent(new Event("change"));',
                              control(driver, number))


def key(driver, name):
    driver.execute_script('return document.activeElement').send_keys(name)


def expanded(driver, menu):
    return driver.find_element(By.CSS_SELECTOR, f'[data-menu="{menu}"]').get_attribute('aria-expanded')


def open_windows(driver):
    return driver.execute_script('return [...document.querySelectorAll("dialog[open]")].map(d => d.dataset.window)')


def load_rows(tree):
    """(check, held, what was seen) of the page as it opens."""
    out = []
    documents = [d['name'] for d in ax.find(tree, 'document')]
    out.append(('the document is named by the caption', documents == [WORDS['1000/caption']], documents))
    for element_id, role, name in BY_ID:
        node = ax.by_id(tree, element_id)
        saw = node and (node['role'], node['name'])
        out.append((f'#{element_id} is a {role} named {name!r}', saw == (role, name), saw))
    for role, name in BY_NAME:
        found = len(ax.find(tree, role, name))
        out.append((f'one {role} named {name!r}', found == 1, found))
    descriptions = [n['description'] for n in ax.find(tree, 'button', 'SSS')]
    out.append(("the SSS buttons' descriptions", descriptions == [WORDS['1000/1015'], WORDS['1000/1016']],
                descriptions))
    return out


def window_rows(role, name, boxes=None, first=None, description=None):
    """The rows of a window: its role and name, and its boxes' names or its description."""
    def rows(tree):
        found = ax.find(tree, role, name)
        out = [(f'one {role} named {name!r}', len(found) == 1, summary_of(ax.find(tree, role) or tree))]
        if len(found) != 1:
            return out
        if boxes:
            names = [n['name'] for n in ax.within(tree, found[0]) if n['role'] == 'textbox']
            out.append((f'its {boxes} boxes have names of their own' + (f', the first {first!r}' if first else ''),
                        len(set(names)) == boxes and all(names) and first in (None, names[0]), names))
        if description is not None:
            out.append((f'it is described by its message {description!r}', found[0]['description'] == description,
                        found[0]['description']))
        return out
    return rows


def summary_of(nodes):
    return [(n['role'], n['name'], n['engine_role']) for n in nodes][:8]


def check(engine, read, rows, what):
    """Reads the tree until every row holds (or 5 s have passed), and prints the rows."""
    start = time.monotonic()
    try:
        tree = ax.wait_for_tree(read, lambda t: [f'{c}: saw {saw!r}' for c, held, saw in rows(t) if not held],
                                what=what)
    except AssertionError as failure:
        print(f'  {failure}')
        tree = read()
    print(f'  time: until {what} {time.monotonic() - start:.2f} s')
    for check_, held, saw in rows(tree):
        row(engine, check_, held, saw)
    return tree


def closed(read, name):
    ax.until(lambda: not ax.find(read(), name=name), 3, f'the {name!r} window gone from the tree')


def trial(engine, address):
    print(f'\n== {engine}')
    driver, read = timed('start', lambda: start(engine))
    try:
        page_driver.open_page(driver, address)
        tree = timed('first tree read (with finding the application and document)', read)
        timed('tree read', read)
        print(f'  {len(tree)} nodes')
        tree = check(engine, read, load_rows, 'the page as it opens')
        for node in tree:
            if node['role'] in SHOWN:
                print(f"    {node['role']:<10} {node['name']!r:<40} desc={node['description']!r} "
                      f"id={node['id']} ({node['engine_role']})")

        choose_location(driver)
        control(driver, 1001).click()
        results_caption = WORDS['1200/caption']
        tree = check(engine, read, window_rows('dialog', results_caption, 7), 'the Results window')
        show(tree, results_caption)
        key(driver, Keys.ESCAPE)
        closed(read, results_caption)

        control(driver, 1023).click()
        caption = driver.execute_script('return document.querySelector("[data-window=\'1300\'] [data-caption]")'
                                        '.textContent')
        tree = check(engine, read, window_rows('dialog', caption, 7, WORDS['1300/4012']), 'the statistics window')
        show(tree, caption)
        key(driver, Keys.ESCAPE)
        closed(read, caption)

        control(driver, 1002).click()
        control(driver, 1001).click()
        message = driver.execute_script('return document.getElementById("message-text").textContent')
        tree = check(engine, read, window_rows('alertdialog', 'Error', description=message), 'the Error box')
        show(tree, 'Error')
        key(driver, Keys.ESCAPE)
        if engine == 'firefox':
            focus(driver, engine)
    finally:
        driver.quit()


def show(tree, name):
    for node in ax.find(tree, name=name):
        print(f"    {node['engine_role']!r} -> {node['role']!r} {node['name']!r}, "
              f"description {node['description']!r}, xml-roles {node['attributes'].get('xml-roles')!r}")


def focus(driver, engine):
    """The checks that need the focus: Enter and Space on a focused button, Tab out of a menu."""
    ax.until(lambda: not open_windows(driver), 3, 'the Error box closed')
    row(engine, 'document.hasFocus()', driver.execute_script('return document.hasFocus()'), 'as said')
    choose_location(driver)
    control(driver, 1001).send_keys(Keys.ENTER)
    try:
        ax.until(lambda: open_windows(driver) == ['1200'], 3, 'the Results window open', repr)
        row(engine, 'Enter on a focused Calculate opens Results', True, open_windows(driver))
    except AssertionError as failure:
        row(engine, 'Enter on a focused Calculate opens Results', False, failure)
    key(driver, Keys.ESCAPE)
    ax.until(lambda: not open_windows(driver), 3, 'the Results window closed')
    control(driver, 1023).send_keys(' ')
    try:
        ax.until(lambda: open_windows(driver) == ['1300'], 3, 'the statistics window open', repr)
        row(engine, 'Space on a focused SSS opens the statistics', True, open_windows(driver))
    except AssertionError as failure:
        row(engine, 'Space on a focused SSS opens the statistics', False, failure)
    key(driver, Keys.ESCAPE)
    ax.until(lambda: not open_windows(driver), 3, 'the statistics window closed')
    driver.find_element(By.CSS_SELECTOR, '[data-menu="File"]').click()
    ax.until(lambda: expanded(driver, 'File') == 'true', 3, 'the File menu open')
    driver.find_element(By.CSS_SELECTOR, '[data-command="copy-link"]').send_keys(Keys.TAB)
    try:
        ax.until(lambda: expanded(driver, 'File') == 'false', 3, 'the File menu closed by Tab',
                 lambda _: f"aria-expanded {expanded(driver, 'File')}")
        row(engine, 'Tab out of an open menu closes it', True, 'closed')
    except AssertionError as failure:
        row(engine, 'Tab out of an open menu closes it', False, failure)


def headless_firefox(address):
    """Headless Firefox as the page's tests start it today, to compare: its
    start, whether it has the focus, and whether it registers with AT-SPI."""
    print('\n== firefox, headless, to compare')
    driver = timed('start', lambda: firefox(window=False))
    try:
        page_driver.open_page(driver, address)
        print(f"  document.hasFocus(): {driver.execute_script('return document.hasFocus()')}")
        try:
            ax.read_atspi(driver.process.pid, seconds=5)
            print('  it registers with AT-SPI')
        except AssertionError as failure:
            print(f'  no tree: {failure}')
    finally:
        driver.quit()


def main():
    if not os.environ.get(WRAPPED):
        os.environ[WRAPPED] = '1'
        os.execvp('dbus-run-session', ['dbus-run-session', '--', 'xvfb-run', '-a', '-s', '-screen 0 1280x1024x24',
                                       sys.executable, *sys.argv])
    address = (Path(sys.argv[1]).resolve() / 'index.html').as_uri()
    engines = sys.argv[2:] or ['chromium', 'webkit', 'firefox']
    for engine in engines:  # one browser at a time
        trial(engine, address)
    if 'firefox' in engines:
        headless_firefox(address)
    failed = [r for r in results if not r[2]]
    print(f'\n{len(results) - len(failed)} of {len(results)} rows held' +
          ''.join(f'\n  FAIL {engine}: {check}' for engine, check, _ in failed))
    sys.exit(1 if failed else 0)


if __name__ == '__main__':
    main()
