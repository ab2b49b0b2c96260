// The page's figures in Chromium, Firefox and WebKit (run by scripts/bench
// after the web preset is built, on a virtual display for WebKit): the size
// of Vantrel.html, and in each engine, opened from disk and served, its
// load to the window ready, opening a 32 MiB image of a known release, and
// Play's click to the first sample handed to Web Audio. Times are printed,
// never judged.
// Usage: node bench/page_bench.mjs PAGE_DIR SMOKE_SH
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';
import zlib from 'node:zlib';
import {engines, servePage, waitFor} from '../tests/shell/web/engines.mjs';

const [pageDir, smoke] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vantrel-page-bench-'));
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const spread = (values) => `**${median(values).toFixed(1)}** (${Math.min(...values).toFixed(1)} to ${Math.max(...values).toFixed(1)})`;

// ---- size: the page, and what installing it needs beside it ---------------
console.log('## the page\'s files\n\n| file | bytes | gzip -9 |\n|---|---|---|');
for (const name of fs.readdirSync(pageDir).filter((name) => !name.endsWith('.txt')).sort()) {
  const bytes = fs.readFileSync(path.join(pageDir, name));
  console.log(`| ${name} | ${bytes.length} | ${zlib.gzipSync(bytes, {level: 9}).length} |`);
}
const core = fs.readFileSync(path.join(pageDir, 'Vantrel.html'), 'utf8').match(/const coreWasm = '([^']*)'/)[1];
console.log(`\nThe WebAssembly's base64 within Vantrel.html: ${core.length} bytes.\n`);

// The marks the figures are taken between, dated in the page: the file
// chosen, the box shown, Play clicked, the first samples handed on.
function mark() {
  window.marks = {};
  const at = (name) => () => (window.marks[name] = performance.now());
  addEventListener('change', at('chosen'), true);
  addEventListener('click', (event) => event.target.id === 'cmdPlay' && at('clicked')(), true);
  new MutationObserver(() => document.getElementById('box').open && at('box')()).observe(document.getElementById('box'), {
    attributes: true, attributeFilter: ['open'],
  });
  const copy = AudioBuffer.prototype.copyToChannel;
  AudioBuffer.prototype.copyToChannel = function (...args) {
    if (!window.marks.handed) at('handed')();
    return copy.apply(this, args);
  };
}

const image = path.join(work, 'FireRed.gba');
execFileSync('bash', ['-c', 'set -euo pipefail; source "$1"; make_image "$2" 6', '-', smoke, image]);
fs.truncateSync(image, 32 << 20);

// The image chosen through the file input (not Chromium's picker, which a
// bench cannot answer); resolves to the chosen-to-box time.
async function open(tab) {
  await tab.run(() => {
    delete window.showOpenFilePicker;
    delete window.marks.box;
  });
  await tab.choose(image);
  const taken = await waitFor(tab, () => window.marks.box && window.marks.box - window.marks.chosen);
  await tab.click('#box-ok');
  return taken;
}

const {server, address} = await servePage(pageDir);
const ways = {'from disk': pathToFileURL(path.join(pageDir, 'Vantrel.html')).href, served: address};
const rows = [];
for (const engine of engines) {
  const browser = await engine.launch();
  for (const [way, url] of Object.entries(ways)) {
    const figures = {ready: [], started: [], first: [], second: [], play: []};
    // Each load in a tab of its own (Chromium and Firefox: a new private
    // context, so nothing is cached; the server also says no-store).
    for (let run = 0; run < 20; ++run) {
      const tab = await browser.newTab();
      await tab.goto(url);
      const [ready, started] = await tab.run(() => ['vantrel-ready', 'vantrel-core-started']
        .map((name) => performance.getEntriesByName(name)[0].startTime));
      figures.ready.push(ready);
      figures.started.push(started);
      await tab.close();
    }
    for (let run = 0; run < 10; ++run) {
      const tab = await browser.newTab();
      await tab.goto(url);
      await tab.run(mark);
      figures.first.push(await open(tab));
      figures.second.push(await open(tab));
      await tab.click('#cmdPlay');
      figures.play.push(await waitFor(tab, () => window.marks.handed && window.marks.handed - window.marks.clicked));
      await tab.close();
    }
    rows.push(`| ${engine.name} | ${way} | ${Object.values(figures).map(spread).join(' | ')} |`);
  }
  await browser.close();
}
server.kill();
fs.rmSync(work, {recursive: true});

console.log('## times in ms: median (fastest to slowest)\n');
console.log('Load: navigation start to the window ready and to the core started, 20 loads. Open: the file chosen');
console.log('to its box shown, a 32 MiB FireRed 1.0 image, the first and the second in one page, 10 pages; Play:');
console.log('the click to the first samples handed to Web Audio, in the same pages.\n');
console.log('| engine | way | window ready | core started | first open | second open | Play |');
console.log('|---|---|---|---|---|---|---|');
console.log(rows.join('\n'));
