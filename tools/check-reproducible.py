#!/usr/bin/env python3
"""Proves that a release is the same bytes wherever it is built: copies this
tree (as it is, with its uncommitted changes) into two folders of other
names and depths, runs `make dist` in each, one after the other, under another
umask, time zone and language, and compares every file of the two dist/
folders byte for byte (the programs, the page's files, the zips and
SHA256SUMS), which `sha256sum -c` must also pass in each. On a difference
it names the file and the first byte that differs.

Usage: check-reproducible.py WORK_FOLDER
"""
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# Each build: its folder under WORK, its umask and its environment.
BUILDS = [
    ("first/brawlwise", 0o022, {"TZ": "UTC", "LANG": "C.UTF-8"}),
    ("second/a/deeper/folder/Brawlwise source", 0o077, {"TZ": "Pacific/Auckland", "LANG": "C"}),
]


def copy_tree(destination):
    """The tree's files, tracked or new, but for those it ignores."""
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            cwd=ROOT, check=True, capture_output=True).stdout.decode().split("\0")
    for name in filter(None, listed):
        source = ROOT / name
        if source.is_file():  # a file deleted from the work tree is not copied
            (destination / name).parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(source, destination / name)


def build(folder, umask, environment, epoch):
    log = folder.parent / (folder.name + ".log")
    env = dict(os.environ, SOURCE_DATE_EPOCH=epoch, **environment)
    with open(log, "w") as output:
        done = subprocess.run(["make", "--no-print-directory", "dist"], cwd=folder, env=env, stdout=output,
                              stderr=subprocess.STDOUT, preexec_fn=lambda: os.umask(umask))
    if done.returncode != 0:
        sys.exit(f"make dist failed in {folder}: see {log}")
    dist = folder / "dist"
    checked = subprocess.run(["sha256sum", "--quiet", "-c", "SHA256SUMS"], cwd=dist, capture_output=True, text=True)
    if checked.returncode != 0:
        sys.exit(f"sha256sum -c fails in {dist}:\n{checked.stdout}{checked.stderr}")
    return dist


def files(dist):
    return {path.relative_to(dist).as_posix(): path for path in dist.rglob("*") if path.is_file()}


def first_difference(one, other):
    a, b = one.read_bytes(), other.read_bytes()
    at = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
    show = lambda data: f"{data[at]:02x}" if at < len(data) else "the end"
    return f"the first differing byte is at {at} (0x{at:x}) of {len(a)} and {len(b)}: {show(a)} and {show(b)}"


def main():
    work = Path(sys.argv[1]).resolve()
    shutil.rmtree(work, ignore_errors=True)
    epoch = subprocess.run(["git", "log", "-1", "--format=%ct"], cwd=ROOT, check=True, capture_output=True,
                           text=True).stdout.strip()
    dists = []
    for name, umask, environment in BUILDS:
        folder = work / name
        copy_tree(folder)
        began = time.monotonic()
        dists.append(build(folder, umask, environment, epoch))
        print(f"built in {folder} ({time.monotonic() - began:.0f} s)")
    one, other = (files(dist) for dist in dists)
    faults = [f"only in one build: {name}" for name in sorted(one.keys() ^ other.keys())]
    faults += [f"{name} differs: {first_difference(one[name], other[name])}"
               for name in sorted(one.keys() & other.keys()) if one[name].read_bytes() != other[name].read_bytes()]
    if faults:
        sys.exit("The two builds differ:\n  " + "\n  ".join(faults))
    print(f"The two builds are the same, {len(one)} files byte for byte; SHA256SUMS:")
    print((dists[0] / "SHA256SUMS").read_text(), end="")


if __name__ == "__main__":
    main()
