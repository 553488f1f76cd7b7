#!/usr/bin/env python3
"""Serves the built page as a real static host does: each file with its
proper type (the module's script, the style sheet, the pictures, the help),
compressed with gzip for a browser that accepts it, and revalidated on every
load (Cache-Control: no-cache), so that a new build reaches the next load.

Usage: serve-web.py FOLDER HOST PORT
"""
import functools
import gzip
import http.server
import sys
from pathlib import Path

TYPES = {'.html': 'text/html; charset=utf-8', '.css': 'text/css; charset=utf-8',
         '.js': 'text/javascript; charset=utf-8', '.txt': 'text/plain; charset=utf-8',
         '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json',
         '.json': 'application/json', '.ico': 'image/x-icon', '.bmp': 'image/bmp', '.png': 'image/png'}
COMPRESSED = {'.html', '.css', '.js', '.txt', '.wasm', '.webmanifest', '.json', '.ico', '.bmp'}


class Host(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}
    packed = {}  # (path, modification time) -> gzip bytes

    def end_headers(self):
        self.send_header('Cache-Control', 'no-cache')
        self.send_header('X-Content-Type-Options', 'nosniff')
        super().end_headers()

    def send_head(self):
        path = Path(self.translate_path(self.path))
        if path.is_dir():
            path = path / 'index.html'
        wants_gzip = 'gzip' in self.headers.get('Accept-Encoding', '')
        if not (wants_gzip and path.is_file() and path.suffix in COMPRESSED):
            return super().send_head()
        key = (path, path.stat().st_mtime_ns)
        if key not in Host.packed:
            Host.packed[key] = gzip.compress(path.read_bytes(), 9, mtime=0)
        body = Host.packed[key]
        self.send_response(200)
        self.send_header('Content-Type', self.guess_type(str(path)))
        self.send_header('Content-Encoding', 'gzip')
        self.send_header('Vary', 'Accept-Encoding')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        if self.command == 'HEAD':
            return None
        self.wfile.write(body)
        return None


def main():
    folder, host, port = sys.argv[1], sys.argv[2], int(sys.argv[3])
    server = http.server.ThreadingHTTPServer((host, port), functools.partial(Host, directory=folder))
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == '__main__':
    main()
