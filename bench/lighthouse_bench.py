"""Lighthouse on the built page, served compressed as every real static host
serves it (tools/serve-web.py on 127.0.0.1), in Debian's Chromium: the mobile
profile (a mid-range phone on slow 4G, simulated) and the desktop one, three
runs each; prints the median of each category's score, the largest paint,
the blocked main thread and the bytes, beside the goals.

Usage: /usr/bin/python3 lighthouse_bench.py PAGE_FOLDER
"""
import json
import socket
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
LIGHTHOUSE = ROOT / 'tools' / 'node_modules' / 'lighthouse' / 'cli' / 'index.js'
CHROMIUM = '/usr/bin/chromium'
# As root Chromium needs --no-sandbox; the machine's closed network wants
# Chromium's own background connections off.
CHROMIUM_FLAGS = ('--headless=new --no-sandbox --disable-gpu --no-first-run --disable-background-networking '
                  '--disable-component-update --disable-sync --disable-quic')
RUNS = 3
CATEGORIES = ['performance', 'accessibility', 'best-practices', 'seo']
GOALS = {'mobile': {'largest paint': 1200, 'blocking time': 50}, 'desktop': {'blocking time': 50}}


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


def lighthouse(address, profile, report):
    command = ['node', str(LIGHTHOUSE), address, '--quiet', '--output=json', f'--output-path={report}',
               f'--chrome-path={CHROMIUM}', f'--chrome-flags={CHROMIUM_FLAGS}',
               f'--only-categories={",".join(CATEGORIES)}']
    if profile == 'desktop':
        command.append('--preset=desktop')
    subprocess.run(command, check=True)
    return json.loads(Path(report).read_text())


def figures(result):
    audits = result['audits']
    found = {category: result['categories'][category]['score'] for category in CATEGORIES}
    found['largest paint'] = audits['largest-contentful-paint']['numericValue']
    found['blocking time'] = audits['total-blocking-time']['numericValue']
    found['bytes'] = audits['total-byte-weight']['numericValue']
    return found


def shortfalls(result):
    """The audits that cost a category points, by title."""
    lost = set()
    for category in CATEGORIES:
        for ref in result['categories'][category]['auditRefs']:
            audit = result['audits'][ref['id']]
            if ref['weight'] > 0 and audit['score'] is not None and audit['score'] < 1:
                lost.add(f'{category}: {audit["title"]} ({audit["score"]:.2f})')
    return sorted(lost)


def main():
    page = Path(sys.argv[1]).resolve()
    port = free_port()
    server = subprocess.Popen([sys.executable, str(ROOT / 'tools' / 'serve-web.py'), str(page), '127.0.0.1', str(port)],
                              stderr=subprocess.DEVNULL)
    address = f'http://127.0.0.1:{port}/'
    try:
        for _ in range(50):
            try:
                socket.create_connection(('127.0.0.1', port), 0.1).close()
                break
            except OSError:
                time.sleep(0.1)
        version = json.loads((LIGHTHOUSE.parents[1] / 'package.json').read_text())['version']
        print(f'\nLighthouse {version} in {subprocess.run([CHROMIUM, "--version"], capture_output=True, text=True).stdout.strip()}, '
              f'the page served compressed, medians of {RUNS} runs:')
        with tempfile.TemporaryDirectory() as folder:
            for profile in ('mobile', 'desktop'):
                runs = [lighthouse(address, profile, Path(folder) / f'{profile}-{run}.json') for run in range(RUNS)]
                median = {key: statistics.median(figures(run)[key] for run in runs) for key in figures(runs[0])}
                scores = '  '.join(f'{category} {median[category]:.2f}' for category in CATEGORIES)
                print(f'  {profile:8} {scores}')
                print(f'  {"":8} largest paint {median["largest paint"]:.0f} ms, blocking time '
                      f'{median["blocking time"]:.0f} ms, {median["bytes"] / 1000:.1f} KB transferred')
                goals = GOALS[profile]
                failed = [category for category in CATEGORIES if median[category] < 1]
                failed += [f'{name} over {limit} ms' for name, limit in goals.items() if median[name] > limit]
                for lost in sorted({line for run in runs for line in shortfalls(run)}):
                    print(f'  {"":8} lost: {lost}')
                goal_text = ', '.join(f'{name} at most {limit} ms' for name, limit in goals.items())
                print(f'  {"":8} goal: every category 1.00, {goal_text}: {"met" if not failed else "MISSED"}')
    finally:
        server.terminate()
        server.wait()


if __name__ == '__main__':
    main()
