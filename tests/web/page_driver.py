"""Starting a browser and driving the page in it, shared by the page's tests
and its benchmark: as BrawlwiseDriver is for the Windows program.

A page is ready when its root carries data-ready: the module is instantiated
and the lists are filled.
"""
import sys
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / 'web'))
import build_page  # noqa: E402  (the page's build, for its words and numbers)

IS_READY = 'return document.documentElement.hasAttribute("data-ready")'


def control_numbers():
    """The control numbers by name, as the page's build reads them."""
    return build_page.identifiers(ROOT / 'core' / 'ControlNumbers.h')


def start_chromium(width=1200, height=900, browser_log=False):
    """Headless Chromium from Debian, through its driver."""
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for argument in ['--headless=new', '--no-sandbox', f'--window-size={width},{height}', '--disable-gpu']:
        options.add_argument(argument)
    if browser_log:
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


def program_words():
    """'window/control', 'window/caption' and 'menu/item' to the program's words."""
    return build_page.words(ROOT / 'windows' / 'Brawlwise.rc', control_numbers())


def wait(driver, condition, seconds=5):
    """Waits until condition() is true; returns its value."""
    return WebDriverWait(driver, seconds).until(lambda _: condition())


def open_page(driver, address):
    """Opens the page afresh at an address and waits until it is ready."""
    driver.get('about:blank')
    driver.get(address)
    wait(driver, lambda: driver.execute_script(IS_READY))
