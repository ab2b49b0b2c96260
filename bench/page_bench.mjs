// The page's figures in headless Chromium (run by scripts/bench after the
// web preset is built): the size of what it loads, its load to the window
// ready, opening a 32 MiB image of a known release, and Play's click to the
// first sample handed to Web Audio. Times are printed, never judged.
// Usage: node bench/page_bench.mjs PAGE_DIR SMOKE_SH
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import {launchChromium, servePage} from '../tests/shell/web/browser.mjs';

const [pageDir, smoke] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vantrel-page-bench-'));
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(1)} ms`;

// ---- size: the files the page loads (not its README or licence) -----------
const loaded = fs.readdirSync(pageDir).filter((name) => !name.endsWith('.txt')).sort();
let total = 0;
let compressed = 0;
console.log('## the page\'s files\n\n| file | bytes | gzip -9 |\n|---|---|---|');
for (const name of loaded) {
  const bytes = fs.readFileSync(path.join(pageDir, name));
  const packed = zlib.gzipSync(bytes, {level: 9}).length;
  total += bytes.length;
  compressed += packed;
  console.log(`| ${name} | ${bytes.length} | ${packed} |`);
}
console.log(`| all | **${total}** (${(total / 1024).toFixed(1)} KiB) | ${compressed} |\n`);

const {server, address} = await servePage(pageDir);
const browser = await launchChromium();

// Each load in a context of its own, so that nothing is cached; the server
// says no-store as well.
async function freshPage() {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.addInitScript(() => {
    // When the user's action began, and when its result was handed on.
    window.marks = {};
    const at = (name) => () => (window.marks[name] = performance.now());
    addEventListener('change', at('chosen'), true);
    addEventListener('click', (event) => event.target.id === 'cmdPlay' && at('clicked')(), true);
    new MutationObserver(() => document.querySelector('#box[open]') && at('box')()).observe(document, {
      subtree: true, attributes: true, attributeFilter: ['open'],
    });
    const copy = AudioBuffer.prototype.copyToChannel;
    AudioBuffer.prototype.copyToChannel = function (...args) {
      at('handed')();
      return copy.apply(this, args);
    };
  });
  await page.goto(address);
  await page.waitForSelector('body[data-ready]');
  await page.waitForFunction(() => performance.getEntriesByName('vantrel-core-started').length);
  return {context, page};
}

// ---- load to ready --------------------------------------------------------
const readies = [];
const starts = [];
for (let run = 0; run < 20; ++run) {
  const {context, page} = await freshPage();
  const at = (mark) => page.evaluate((mark) => performance.getEntriesByName(mark)[0].startTime, mark);
  readies.push(await at('vantrel-ready'));
  starts.push(await at('vantrel-core-started'));
  await context.close();
}
const spread = (values) =>
  `median ${ms(median(values))}, fastest ${ms(Math.min(...values))}, slowest ${ms(Math.max(...values))}`;
console.log('## load, 20 fresh loads\n');
console.log(`- to the window ready (navigation start to the controls in place): ${spread(readies)}`);
console.log(`- to the core started in its worker (the first command can run): ${spread(starts)}\n`);

// ---- open a 32 MiB FireRed 1.0 image --------------------------------------
const image = path.join(work, 'FireRed.gba');
execFileSync('bash', ['-c', 'set -euo pipefail; source "$1"; make_image "$2" 6', '-', smoke, image]);
fs.truncateSync(image, 32 << 20);
const opens = [];
const reopens = [];
const wholes = [];
const plays = [];
for (let run = 0; run < 10; ++run) {
  const {context, page} = await freshPage();
  const chooser = page.waitForEvent('filechooser');
  await page.evaluate(() => delete window.showOpenFilePicker);
  await page.click('#cmdOpen');
  await (await chooser).setFiles(image);
  await page.waitForSelector('#box[open]');
  opens.push(await page.evaluate(() => window.marks.box - window.marks.chosen));
  // The peer: the same File read whole, as a page that does not slice it.
  await page.evaluate(() => document.body.append(Object.assign(document.createElement('input'), {type: 'file', id: 'peer'})));
  await page.setInputFiles('#peer', image);
  wholes.push(await page.evaluate(async () => {
    const started = performance.now();
    await document.getElementById('peer').files[0].arrayBuffer();
    return performance.now() - started;
  }));
  await page.click('#box-ok');
  // Again in the same page, whose worker has read a File and shown a box.
  const first = await page.evaluate(() => window.marks.box);
  const again = page.waitForEvent('filechooser');
  await page.click('#cmdOpen');
  await (await again).setFiles(image);
  await page.waitForFunction((first) => window.marks.box !== first, first);
  reopens.push(await page.evaluate(() => window.marks.box - window.marks.chosen));
  await page.click('#box-ok');
  await page.click('#cmdPlay');
  await page.waitForFunction(() => window.marks.handed);
  plays.push(await page.evaluate(() => window.marks.handed - window.marks.clicked));
  await context.close();
}
console.log('## opening a 32 MiB FireRed 1.0 image (the file chosen to its box shown), 10 pages\n');
console.log(`- the first in a fresh page: ${spread(opens)}`);
console.log(`- the second in the same page: ${spread(reopens)}`);
console.log(`- the peer, the same File read whole in the page (\`arrayBuffer()\`): ${spread(wholes)}\n`);
console.log('## Play: the click to the first sample handed to Web Audio, 10 fresh pages\n');
console.log(`${spread(plays)}\n`);

await browser.close();
server.kill();
fs.rmSync(work, {recursive: true});
