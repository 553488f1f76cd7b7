// Bundles the page's offline part with what it takes of Workbox (pinned by
// package-lock.json) into the built folder, so that the page loads nothing
// from another site: service-worker.js (to which build_page.py adds the
// build's files) and offline.js. The same sources give the same bytes.
//
// It first checks that the page's first script (notice.js, which the page
// holds) is ES5, which every browser parses: the page's notices never depend
// on a browser being new enough for the other scripts.
//
// Usage: node bundle.mjs OUTPUT_FOLDER
import { parse } from 'acorn';
import { build } from 'esbuild';
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import path from 'node:path';

const here = path.dirname(fileURLToPath(import.meta.url));
const output = process.argv[2];
const first = path.join(here, 'notice.js');
try {
  parse(readFileSync(first, 'utf8'), { ecmaVersion: 5, sourceType: 'script' });
} catch (error) {
  console.error(`${first}: not ES5, which every browser parses: ${error.message}`);
  process.exit(1);
}
const common = {
  bundle: true,
  minify: true,
  format: 'iife',
  target: ['safari16', 'chrome97', 'firefox102'],
  define: { 'process.env.NODE_ENV': '"production"' },
  legalComments: 'none',
  charset: 'utf8',
  logLevel: 'warning',
};
const workbox = "// Includes parts of Workbox, MIT License, Copyright Google LLC.";

await build({
  ...common,
  entryPoints: [path.join(here, 'service-worker.js')],
  outfile: path.join(output, 'service-worker.js'),
  banner: { js: `// Brawlwise's service worker, bundled when the page is built.\n${workbox}` },
});
await build({
  ...common,
  entryPoints: [path.join(here, 'offline.js')],
  outfile: path.join(output, 'offline.js'),
  // Each script notes the build it belongs to as it runs: written when the page is built.
  banner: { js: `// Brawlwise's offline part, bundled when the page is built.\n${workbox}\n` +
    "(self.brawlwiseBuilds ??= {})['offline.js'] = '';  // this file's build, written when the page is built" },
});
