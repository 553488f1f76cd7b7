#!/usr/bin/env python3
"""Builds the page into a folder: index.html with the Windows program's own
words taken from its resource script (a deliberate read of
windows/Brawlwise.rc at build time), the control numbers of
core/ControlNumbers.h as named constants for the page's script, the style
sheet and scripts, the module's bytes in a script file, the three pictures,
the icons and web app manifest of an installed page, the help file, the
headers a host should send (_headers), and the service worker that keeps
them all for a page offline: the page's offline part and the worker are
Workbox's, bundled by web/bundle.mjs (npm ci in web/ first), and the page's
first script (notice.js, in ES5) is written into the page itself, named by
its digest in the page's security policy. VERSION is the project's (each
build folder's version.txt), which the help file names.

Usage: build_page.py MODULE.wasm OUTPUT_FOLDER VERSION
"""
import base64
import hashlib
import html
import json
import re
import shutil
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent
STATIC_FILES = ["brawlwise.css", "calculator.js", "page.js"]
WORKER = "service-worker.js"
HEADERS = "_headers"  # for the host, not a file of the page
FIRST_SCRIPT = "notice.js"
# The headers a page cannot set for itself, as Netlify and Cloudflare Pages
# read them from the built folder (other hosts ignore the file).
HOST_HEADERS = """# The headers Brawlwise's page asks of its host, in the form that Netlify and
# Cloudflare Pages read; other hosts ignore this file (see the README).
/*
  Content-Security-Policy: frame-ancestors 'none'
  Cross-Origin-Opener-Policy: same-origin
  X-Content-Type-Options: nosniff
/service-worker.js
  Cache-Control: no-cache
"""
PICTURES = ["res1.ico", "tick.bmp", "cross.bmp"]

# A control statement of a dialog template: KEYWORD "text", IDENTIFIER, ...
CONTROL = re.compile(r'^\s*(?:LTEXT|CTEXT|RTEXT|PUSHBUTTON|DEFPUSHBUTTON|AUTOCHECKBOX|GROUPBOX|CONTROL)'
                     r'\s+"((?:[^"]|"")*)"\s*,\s*(\w+)')
DIALOG = re.compile(r'^(\w+)\s+DIALOGEX\b')
CAPTION = re.compile(r'^CAPTION\s+"((?:[^"]|"")*)"')
MENU_ITEM = re.compile(r'(?:0L \| (\w+), )?0x[0-9a-f]+, L"([^"\\]*)\\0"')


def identifiers(header):
    """The numbers of the resource header's identifiers."""
    numbers = {}
    for line in header.read_text().splitlines():
        match = re.match(r'#define\s+(\w+)\s+(\d+)', line)
        if match:
            numbers[match.group(1)] = int(match.group(2))
    return numbers


def words(script, numbers):
    """'window/control', 'window/caption' and 'menu/item' to the program's words."""
    found = {}
    window = None
    for line in script.read_text().splitlines():
        if match := DIALOG.match(line):
            window = numbers[match.group(1)]
        elif window is not None and (match := CAPTION.match(line)):
            found[f"{window}/caption"] = match.group(1).replace('""', '"')
        elif window is not None and (match := CONTROL.match(line)):
            found[f"{window}/{numbers[match.group(2)]}"] = match.group(1).replace('""', '"')
        elif line.startswith("END"):
            window = None
        for command, text in MENU_ITEM.findall(line):
            # The page has no mnemonics: "&About" reads "About".
            found[f"menu/{numbers[command] if command else text}"] = text.replace("&", "")
    return found


def fill(template, found):
    def replace(match):
        key = match.group(1)
        if key not in found:
            sys.exit(f"build_page.py: the resource script has no words for {{{{{key}}}}}")
        return html.escape(found[key], quote=True)
    return re.sub(r"\{\{([\w/]+)\}\}", replace, template)


def list_items(header, numbers):
    """The items of the main window's two lists, by control number, as
    core/MainWindowRules.h names them: the page fills its lists with them
    before the module is ready."""
    text = header.read_text()

    def items(name):
        return re.findall(r'"([^"]*)"', re.search(name + r"\[\]\s*=\s*\{(.*?)\};", text, re.S).group(1))
    return {numbers["IDC_MAIN_LOCATION"]: items("kLocationItems"),
            numbers["IDC_MAIN_SYSTEM_SECURITY"]: items("kSystemSecurityItems")}


def control_numbers_script(numbers, lists):
    """The control numbers as constants of the same names, and the lists'
    items, for the page's scripts."""
    lines = ["// The windows' control numbers, written from core/ControlNumbers.h when the page is built,",
             "// and the items of the main window's lists, from core/MainWindowRules.h.",
             "'use strict';", stamp_line("control-numbers.js"), ""]
    lines += [f"const {name} = {number};" for name, number in numbers.items()]
    lines.append(f"const LIST_ITEMS = {json.dumps({str(k): v for k, v in lists.items()})};")
    lines.insert(4, f"/* exported {', '.join(numbers)}, LIST_ITEMS */")
    return "\n".join(lines) + "\n"


MANIFEST = {
    "name": "Brawlwise",
    "short_name": "Brawlwise",
    "description": "What follows when one player attacks another, and how their security status changes.",
    "start_url": "./",
    "scope": "./",
    "display": "standalone",
    "background_color": "#f0f0f0",
    "theme_color": "#dde7f6",
    "icons": [
        {"src": "graphics/icon-192.png", "sizes": "192x192", "type": "image/png", "purpose": "any"},
        {"src": "graphics/icon-512.png", "sizes": "512x512", "type": "image/png", "purpose": "any"},
        {"src": "graphics/icon-maskable-512.png", "sizes": "512x512", "type": "image/png", "purpose": "maskable"},
        {"src": "graphics/icon.svg", "sizes": "any", "type": "image/svg+xml", "purpose": "any"},
    ],
}


def app_icons(folder):
    """The page's icons, drawn by the project's graphics script into `folder`;
    kept in build/icon-cache/ between builds, as drawing them takes seconds."""
    script = ROOT / "graphics" / "make_graphics.py"
    cache = ROOT / "build" / "icon-cache" / hashlib.sha256(script.read_bytes()).hexdigest()[:16]
    if not (cache / "icon.svg").exists():
        sys.path.insert(0, str(script.parent))
        import make_graphics
        make_graphics.write_app_icons(str(cache))
    for icon in cache.iterdir():
        shutil.copyfile(icon, folder / icon.name)


# Each script of the page notes the build it belongs to as it runs, which
# the page compares with its own: a host serving two builds at once is told
# apart from one build. The stamp is written when the page is built.
STAMP_IN_SCRIPT = re.compile(r"(\(self\.brawlwiseBuilds \?\?= \{\}\)\['[\w.-]+'\] = ')\w*(';)")


def stamp_line(name):
    return f"(self.brawlwiseBuilds ??= {{}})['{name}'] = '';  // this file's build, written when the page is built"


def set_stamps(folder, stamp):
    """Writes `stamp` into each script of the build that notes its build."""
    for path in folder.glob("*.js"):
        if path.name == WORKER:
            continue
        text = path.read_text()
        stamped = STAMP_IN_SCRIPT.sub(lambda match: match.group(1) + stamp + match.group(2), text)
        if stamped != text:
            path.write_text(stamped)


def digest(data):
    return hashlib.sha256(data).hexdigest()


def build_files(folder):
    """Every file of the build in `folder` by its path there, but the worker
    and the host's headers."""
    return {path.relative_to(folder).as_posix(): path for path in sorted(folder.rglob("*"))
            if path.is_file() and path.name not in (WORKER, HEADERS)}


def stamped_page(page, folder):
    """index.html naming each file of the build with the build's stamp
    (page.js?v=STAMP, the digest of every file but the page), so that a page
    is given the files of the build it started with."""
    set_stamps(folder, "")  # the stamp is of the files' contents without it
    files = build_files(folder)
    files.pop("index.html", None)
    stamp = digest("".join(f"{name} {digest(path.read_bytes())}\n" for name, path in files.items()).encode())[:16]

    def stamp_link(match):
        return f'{match.group(1)}="{match.group(2)}?v={stamp}"' if match.group(2) in files else match.group(0)
    set_stamps(folder, stamp)
    page = re.sub(r'\b(src|href)="([^"?#:]+)"', stamp_link, page)
    return page.replace("<html ", f'<html data-build="{stamp}" ', 1)


# The worker's first lines, this build's own, above Workbox's bundle.
WORKER_HEAD_END = "// ---- the bundle\n"


def write_service_worker(folder):
    """The service worker of the build in `folder`, written after every other
    file: each file with its revision and integrity (its digest), and the
    page's stamp, above the bundled worker already there."""
    folder = Path(folder)
    stamp = re.search(r'data-build="(\w+)"', (folder / "index.html").read_text()).group(1)
    manifest = []
    for name, path in build_files(folder).items():
        data = path.read_bytes()
        manifest.append({"url": name, "revision": digest(data)[:16],
                         "integrity": "sha256-" + base64.b64encode(hashlib.sha256(data).digest()).decode()})
    worker = folder / WORKER
    bundle = worker.read_text()
    if WORKER_HEAD_END in bundle:
        bundle = bundle.split(WORKER_HEAD_END, 1)[1]
    worker.write_text("// This build's files and stamp, written by build_page.py.\n"
                      "self.__WB_MANIFEST = [\n" + ",\n".join(json.dumps(entry) for entry in manifest) + "];\n"
                      f"self.BRAWLWISE_STAMP = '{stamp}';\n" + WORKER_HEAD_END + bundle)


def first_script(page):
    """The page with its first script written into it, and named by its
    digest in the page's security policy."""
    script = "\n" + (HERE / FIRST_SCRIPT).read_text()
    if "</script" in script.lower():
        sys.exit(f"build_page.py: {FIRST_SCRIPT} may not hold </script")
    tag = f'<script src="{FIRST_SCRIPT}"></script>'
    if tag not in page:
        sys.exit(f"build_page.py: the page has no {tag}")
    page = page.replace(tag, f"<script>{script}</script>")
    hashed = "'sha256-" + base64.b64encode(hashlib.sha256(script.encode()).digest()).decode() + "'"
    return page.replace("script-src 'self'", f"script-src 'self' {hashed}", 1)


def filled_lists(page, lists):
    """The page with its lists' items written in, after an empty item that is
    chosen: a choice made before the page's scripts run is kept."""
    for number, items in lists.items():
        options = '<option value="" selected hidden></option>' + "".join(
            f'<option value="{html.escape(item, quote=True)}">{html.escape(item)}</option>' for item in items)
        tag = f'data-control="{number}"></select>'
        if tag not in page:
            sys.exit(f"build_page.py: the page has no list {number}")
        page = page.replace(tag, f'data-control="{number}">{options}</select>')
    return page


def restamp(folder):
    """Stamps index.html afresh and writes the worker again: for a copy of a
    build whose files were changed after it was built."""
    folder = Path(folder)
    index = folder / "index.html"
    page = re.sub(r'<html data-build="\w+" ', "<html ", re.sub(r'\?v=\w+"', '"', index.read_text()), count=1)
    index.write_text(stamped_page(page, folder))
    write_service_worker(folder)


def main():
    module, output, version = Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3]
    numbers = identifiers(ROOT / "core" / "ControlNumbers.h")
    found = words(ROOT / "windows" / "Brawlwise.rc", numbers)
    output.mkdir(parents=True, exist_ok=True)
    lists = list_items(ROOT / "core" / "MainWindowRules.h", numbers)
    (output / "control-numbers.js").write_text(control_numbers_script(numbers, lists))
    for name in STATIC_FILES:
        shutil.copyfile(HERE / name, output / name)
    subprocess.run(["node", str(HERE / "bundle.mjs"), str(output)], check=True)
    (output / HEADERS).write_text(HOST_HEADERS)
    # The module's bytes in a script, which a page opened from disk may load
    # where it may not fetch.
    encoded = base64.b64encode(module.read_bytes()).decode("ascii")
    (output / "brawlwise-module.js").write_text(
        "// The calculator of Brawlwise: its WebAssembly module, built from the same core as the\n"
        "// Windows program.\n"
        f"var brawlwiseModuleBytes = '{encoded}';\n" + stamp_line("brawlwise-module.js") + "\n")
    (output / "graphics").mkdir(exist_ok=True)
    for name in PICTURES:
        shutil.copyfile(ROOT / "graphics" / name, output / "graphics" / name)
    app_icons(output / "graphics")
    (output / "manifest.webmanifest").write_text(json.dumps(MANIFEST, indent=2) + "\n")
    help_text = (ROOT / "docs" / "Brawlwise-Help.txt").read_text().replace("@VERSION@", version)
    (output / "Brawlwise-Help.txt").write_text(help_text)
    page = filled_lists(first_script(fill((HERE / "index.html").read_text(), found)), lists)
    (output / "index.html").write_text(stamped_page(page, output))
    write_service_worker(output)


if __name__ == "__main__":
    main()
