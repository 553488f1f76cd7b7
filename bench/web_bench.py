"""Times the page in headless Chromium, each figure beside its floor in the
same run: the page ready (module instantiated, lists filled) after the start
of navigation, beside the same page whose module is missing; Calculate to
Results shown and SSS at 3.4028235e38 to statistics shown, beside opening the
same window with fixed texts; and the bytes the page loads.

Usage: /usr/bin/python3 web_bench.py PAGE_FOLDER
"""
import gzip
import shutil
import statistics
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'tests' / 'web'))
import page_driver  # noqa: E402

PAGE = Path(sys.argv[1]).resolve()
ID = page_driver.control_numbers()
# What the page loads, and over http its service worker, which keeps them.
LOADED = ['index.html', 'brawlwise.css', 'brawlwise-module.js', 'control-numbers.js', 'calculator.js',
          'offline.js', 'page.js', 'service-worker.js',
          'graphics/res1.ico', 'graphics/tick.bmp', 'graphics/cross.bmp']
RUNS = 20

# Milliseconds from a click to the next frame after it, the window open.
TIME_WINDOW = """
const [main, button, window, fixed, done] = arguments;
const dialog = document.querySelector(`dialog[data-window="${window}"]`);
const start = performance.now();
if (fixed) {
  for (const box of dialog.querySelectorAll('.box')) box.textContent = 'A fixed text of some length';
  dialog.showModal();
} else {
  document.querySelector(`[data-window="${main}"] [data-control="${button}"]`).click();
}
requestAnimationFrame(() => setTimeout(() => {
  const took = performance.now() - start;
  const open = dialog.open;
  dialog.close();
  done(open ? took : -1);
}));
"""


def ready_ms(driver, index):
    times = []
    for _ in range(RUNS):
        driver.get('about:blank')
        driver.get(index.as_uri())
        times.append(driver.execute_async_script(
            'const done = arguments[0]; const look = () => { const m = performance.getEntriesByName('
            '"brawlwise-started"); if (m.length) done(m[0].startTime); else setTimeout(look, 5); }; look();'))
    return statistics.median(times)


def window_ms(driver, button, window, fixed):
    times = [driver.execute_async_script(TIME_WINDOW, ID['IDD_MAIN'], ID[button], ID[window], fixed)
             for _ in range(RUNS)]
    assert min(times) >= 0, 'the window did not open'
    return statistics.median(times)


def main():
    driver = page_driver.engine('chromium').start()
    try:
        with tempfile.TemporaryDirectory() as copy:
            shutil.copytree(PAGE, copy, dirs_exist_ok=True)
            (Path(copy) / 'brawlwise-module.js').write_text("var brawlwiseModuleBytes = '';\n")
            floor = ready_ms(driver, Path(copy) / 'index.html')
        ready = ready_ms(driver, PAGE / 'index.html')
        driver.get((PAGE / 'index.html').as_uri() + '#v=1&4006=3.4028235e38&4007=-4.9&1004=Gate&1005=0.5')
        ready_ms(driver, PAGE / 'index.html')
        driver.execute_script('location.hash = "#v=1&4006=3.4028235e38&4007=-4.9&1004=Gate&1005=0.5"')
        rows = [
            ('page ready after navigation start', ready, 'the same page without its module', floor,
             round(1.2 * floor, 1)),  # at most 1.2 times the page without its module
            ('Calculate to Results shown', window_ms(driver, 'IDC_MAIN_CALCULATE', 'IDD_RESULTS', False),
             'Results opened with fixed texts', window_ms(driver, 'IDC_MAIN_CALCULATE', 'IDD_RESULTS', True), 16),
            ('SSS at 3.4028235e38 to statistics shown', window_ms(driver, 'IDC_MAIN_PLAYER1_SSS', 'IDD_STATISTICS', False),
             'statistics opened with fixed texts', window_ms(driver, 'IDC_MAIN_PLAYER1_SSS', 'IDD_STATISTICS', True), 16),
        ]
    finally:
        driver.quit()
    print(f'\nThe page in headless Chromium, medians of {RUNS} runs:')
    for name, took, floor_name, floor_took, goal in rows:
        print(f'  {name:42} {took:7.1f} ms   beside {floor_name}: {floor_took:6.1f} ms   (goal: within {goal} ms)')
    raw = sum((PAGE / name).stat().st_size for name in LOADED)
    packed = sum(len(gzip.compress((PAGE / name).read_bytes(), 9)) for name in LOADED)
    print(f'  everything the page loads: {raw / 1000:.1f} KB, {packed / 1000:.1f} KB gzip-compressed '
          '(goal: within 250 KB, 100 KB compressed)')


if __name__ == '__main__':
    main()
