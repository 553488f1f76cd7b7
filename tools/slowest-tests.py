#!/usr/bin/env python3
"""The slowest tests in the logs of a suite of `make test`, slowest first, on
one line: "name 12.3 s, name 4.5 s". It reads the lines that ctest,
GoogleTest and the page's suite write when a test ends.

Usage: slowest-tests.py COUNT LOG...
"""
import re
import sys

PATTERNS = [
    # ctest: "1/2 Test #1: core_tests .......   Passed    0.52 sec"
    (re.compile(r'Test +#\d+: (\S+) \.+.*?([\d.]+) sec$'), 1.0),
    # GoogleTest: "[       OK ] Suite.Name (123 ms)", and its failures
    (re.compile(r'^\[ +(?:OK|FAILED) +\] (\S+) \((\d+) ms\)$'), 0.001),
    # the page's suite: "  FromDisk.test_keys (9.24 s)"
    (re.compile(r'^  (\w+\.test_\w+) \(([\d.]+) s\)$'), 1.0),
]


def durations(paths):
    for path in paths:
        try:
            lines = open(path, encoding='utf-8', errors='replace').read().splitlines()
        except OSError:
            continue
        for line in lines:
            for pattern, scale in PATTERNS:
                if match := pattern.search(line.rstrip('\r')):
                    yield float(match.group(2)) * scale, match.group(1)
                    break


def main():
    count = int(sys.argv[1])
    longest = {}  # a test met in two logs (a failure's output is in both) counts once
    for seconds, name in durations(sys.argv[2:]):
        longest[name] = max(seconds, longest.get(name, 0.0))
    found = sorted(((seconds, name) for name, seconds in longest.items()), reverse=True)[:count]
    print(', '.join(f'{name} {seconds:.1f} s' for seconds, name in found))


if __name__ == '__main__':
    main()
