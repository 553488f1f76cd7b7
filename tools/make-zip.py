#!/usr/bin/env python3
"""Packs a folder into a zip that is the same, byte for byte, wherever and
whenever it is made: its entries in a fixed order (by path, folders before
what they hold), each dated SOURCE_DATE_EPOCH (in UTC, and no earlier than
1980, the first time a zip can hold), with fixed permissions (folders 755,
files 644) and no owner, host or build folder in it.

Usage: make-zip.py ZIP FOLDER   (FOLDER is stored under its own name)
"""
import os
import sys
import time
import zipfile
from pathlib import Path

EARLIEST = 315532800  # 1980-01-01 00:00:00 UTC


def entry(name, when, mode):
    info = zipfile.ZipInfo(name, date_time=time.gmtime(when)[:6])
    info.create_system = 3  # Unix, whose permissions the next field holds
    info.external_attr = mode << 16
    return info


def main():
    archive, folder = Path(sys.argv[1]), Path(sys.argv[2])
    when = max(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), EARLIEST)
    paths = [folder] + sorted(folder.rglob("*"), key=lambda path: path.relative_to(folder).parts)
    with zipfile.ZipFile(archive, "w") as zip_file:
        for path in paths:
            name = path.relative_to(folder.parent).as_posix()
            if path.is_dir():
                zip_file.writestr(entry(name + "/", when, 0o40755), b"")
            else:
                zip_file.writestr(entry(name, when, 0o100644), path.read_bytes(), zipfile.ZIP_DEFLATED, 9)


if __name__ == "__main__":
    main()
