// The page in headless Chromium, driven as a user drives it: the window as
// the desktop shows it, FireRed 1.0 and 1.1 images opened and written
// through both paths (a file handle, which an origin-private file gives,
// and the download), an image without a cry byte left alone, a cry played
// with the samples vantrel-cli exports, and no request but for the page's
// own files.
// Usage: node page_test.mjs PAGE_DIR VANTREL_CLI SMOKE_SH [SCREENSHOT_PNG]
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {launchChromium, servePage} from './browser.mjs';

const [pageDir, cli, smoke, screenshot] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vantrel-page-'));

// Images from the smoke tests' maker: FireRed 1.0 with Charizard (6) and its
// wave; 1.1 is the same with its header's version and its code 0x14 later.
const cryAt = {'1.0': 0x791ee, '1.1': 0x79202};
function image(version) {
  const file = path.join(work, `FireRed ${version}.gba`);
  execFileSync('bash', ['-c', `set -euo pipefail; source "$1"; make_image "$2" 6`, '-', smoke, file]);
  const bytes = fs.readFileSync(file);
  if (version === '1.1') {
    bytes.copyWithin(0x72100 + 0x14, 0x72100, 0x79210);
    bytes.fill(0, 0x72100, 0x72100 + 0x14);
    bytes[0xbc] = 1;
    fs.writeFileSync(file, bytes);
  }
  return {file, bytes};
}

// Differences from `before`, as [offset, value] pairs.
function changes(before, after) {
  assert.equal(after.length, before.length, 'the image changed its size');
  const changed = [];
  for (let at = 0; at < before.length; ++at) if (after[at] !== before[at]) changed.push([at, after[at]]);
  return changed;
}

const {server, address} = await servePage(pageDir);
const browser = await launchChromium();
const requested = [];

// A fresh page; `picker` false takes the File System Access API away, as in
// Firefox and Safari. The samples handed to Web Audio are recorded.
async function openPage(picker) {
  const context = await browser.newContext({acceptDownloads: true});
  context.on('request', (request) => requested.push(request.url()));
  const page = await context.newPage();
  page.on('pageerror', (error) => assert.fail(`the page failed: ${error.message}`));
  await page.addInitScript((picker) => {
    if (!picker) delete window.showOpenFilePicker;
    window.handed = [];
    const copy = AudioBuffer.prototype.copyToChannel;
    AudioBuffer.prototype.copyToChannel = function (samples, ...rest) {
      window.handed.push({rate: this.sampleRate, samples: Array.from(samples)});
      return copy.call(this, samples, ...rest);
    };
  }, picker);
  await page.goto(address);
  await page.waitForSelector('body[data-ready]');
  return page;
}

async function box(page) {
  await page.waitForSelector('#box[open]');
  const shown = [await page.textContent('#box-title'), await page.textContent('#box-text')];
  await page.click('#box-ok');
  await page.waitForSelector('#box:not([open])', {state: 'attached'});
  return shown;
}

async function openByInput(page, file) {
  const chooser = page.waitForEvent('filechooser');
  await page.click('#cmdOpen');
  await (await chooser).setFiles(file);
}

const opened = ['Vantrel', 'ROM opened successfully!'];
const writes = [
  ['#cmdSave', 'ROM saved successfully!', 25],
  ['#Command1', 'Cry removed successfully!', 0],
  ['#cryRestore', 'Cry restored successfully!', 6],
];

// ---- the window, and the download path, on FireRed 1.0 ----------------------
{
  const page = await openPage(false);
  const form = await page.locator('#form').boundingBox();
  assert.deepEqual([form.width, form.height], [383, 275]);
  // Each control at its place in the layout table, in pixels (twips / 15).
  for (const [id, ...place] of [
    ['Image1', 0, 0, 408, 296], ['Label1', 32, 136, 105, 25], ['cmbPoke', 56, 136, 129, 24],
    ['cmdPlay', 192, 136, 49, 24], ['cmdOpen', 0, 216, 73, 33], ['cmdSave', 80, 216, 81, 33],
    ['Command1', 168, 216, 73, 33], ['cryRestore', 248, 216, 121, 33], ['Label2', 0, 248, 225, 25],
  ]) {
    const box = await page.locator(`#${id}`).boundingBox();
    assert.deepEqual([box.x - form.x, box.y - form.y, box.width, box.height], place, id);
  }
  for (const caption of ['Open ROM', 'Save ROM', 'Remove Cry', 'Restore Removed Cry', 'Play cry']) {
    await page.getByRole('button', {name: caption, exact: true}).waitFor();
  }
  assert.equal(await page.isDisabled('#cmdSave'), true, 'Save is enabled with no image open');

  const {file, bytes} = image('1.0');
  await openByInput(page, file);
  assert.deepEqual(await box(page), opened);
  const list = page.getByRole('combobox', {name: 'Select Pokémon:'});
  assert.equal(await list.inputValue(), 'Charizard');
  assert.equal(await page.getAttribute('#cmdSave', 'title'), 'FireRed 1.0.gba');
  assert.equal(await page.getAttribute('#cmdPlay', 'title'), "Play Charizard's cry from FireRed 1.0.gba");
  if (screenshot) await page.locator('#window').screenshot({path: screenshot});

  await page.focus('#cmdOpen');
  const order = ['cmdOpen'];
  for (let i = 0; i < 5; ++i) {
    await page.keyboard.press('Tab');
    order.push(await page.evaluate(() => document.activeElement.id));
  }
  assert.deepEqual(order, ['cmdOpen', 'cmdSave', 'cmbPoke', 'cmdPlay', 'cryRestore', 'Command1']);

  // Play twice: each time the samples vantrel-cli exports, at their rate.
  execFileSync(cli, ['cry', file, '6', '-o', path.join(work, 'cry.wav')]);
  const wav = fs.readFileSync(path.join(work, 'cry.wav'));
  const data = wav.indexOf('data') + 8;
  await page.click('#cmdPlay');
  await page.click('#cmdPlay');
  await page.waitForFunction(() => window.handed.length === 2);
  await page.waitForFunction(() => audio.state === 'running');
  await page.evaluate(() => {
    delete window.AudioContext;
    audio = null;
  });
  await page.click('#cmdPlay');
  assert.deepEqual(await box(page), ['Vantrel', 'Vantrel cannot play sound: this browser has no Web Audio.']);
  for (const {rate, samples} of await page.evaluate(() => window.handed)) {
    assert.equal(rate, wav.readUInt32LE(24));
    assert.deepEqual(samples.map((sample) => sample * 128 + 128), [...wav.subarray(data)]);
  }

  await list.selectOption('Pikachu');
  for (const [button, success, cry] of writes) {
    const download = page.waitForEvent('download');
    await page.click(button);
    const saved = await download;
    assert.equal(saved.suggestedFilename(), 'FireRed 1.0.gba');
    assert.deepEqual(await box(page), ['Vantrel', success]);
    assert.deepEqual(changes(bytes, fs.readFileSync(await saved.path())), cry === 6 ? [] : [[cryAt['1.0'], cry]]);
  }

  // An image dropped on the page opens as if chosen.
  await page.evaluate((encoded) => {
    const dropped = new DataTransfer();
    dropped.items.add(new File([Uint8Array.from(atob(encoded), (c) => c.charCodeAt(0))], 'dropped.gba'));
    document.body.dispatchEvent(new DragEvent('drop', {dataTransfer: dropped, bubbles: true, cancelable: true}));
  }, bytes.toString('base64'));
  assert.deepEqual(await box(page), opened);
  assert.equal(await page.getAttribute('#cmdSave', 'title'), 'dropped.gba');

  // No cry byte: not opened, nothing offered to write, nothing downloaded.
  const blank = path.join(work, 'blank.gba');
  fs.writeFileSync(blank, bytes.subarray(0, 0x79000));
  let downloads = 0;
  page.on('download', () => ++downloads);
  await openByInput(page, blank);
  const [title, text] = await box(page);
  assert.equal(title, 'Vantrel');
  assert.match(text, /^Vantrel cannot find the title screen's cry byte in this image \(.*\) and will not write to it\.$/);
  for (const control of ['#cmbPoke', '#cmdSave', '#Command1', '#cryRestore', '#cmdPlay']) {
    assert.equal(await page.isDisabled(control), true, `${control} is enabled`);
  }
  assert.equal(downloads, 0);
}

// ---- in place, through a file handle, on FireRed 1.1 ------------------------
{
  const page = await openPage(true);
  const {bytes} = image('1.1');
  await page.evaluate(async (encoded) => {
    const folder = await navigator.storage.getDirectory();
    const handle = await folder.getFileHandle('FireRed 1.1.gba', {create: true});
    const writable = await handle.createWritable();
    await writable.write(Uint8Array.from(atob(encoded), (c) => c.charCodeAt(0)));
    await writable.close();
    window.showOpenFilePicker = async () => [handle];
  }, bytes.toString('base64'));
  const fileNow = async () =>
    Buffer.from(await page.evaluate(async () => {
      const folder = await navigator.storage.getDirectory();
      const file = await (await folder.getFileHandle('FireRed 1.1.gba')).getFile();
      const bytes = new Uint8Array(await file.arrayBuffer());
      let text = '';
      for (let at = 0; at < bytes.length; at += 0x8000) text += String.fromCharCode(...bytes.subarray(at, at + 0x8000));
      return btoa(text);
    }), 'base64');

  await page.click('#cmdOpen');
  assert.deepEqual(await box(page), opened);
  assert.equal(await page.inputValue('#cmbPoke'), 'Charizard');
  await page.selectOption('#cmbPoke', 'Pikachu');
  for (const [button, success, cry] of writes) {
    await page.click(button);
    assert.deepEqual(await box(page), ['Vantrel', success]);
    assert.deepEqual(changes(bytes, await fileNow()), cry === 6 ? [] : [[cryAt['1.1'], cry]]);
  }

  // Cancel changes nothing; an image that cannot be read is not opened, and
  // the one open stays the one written; a write the browser refuses shows
  // its failure and writes nothing.
  const open = (picked) => page.evaluate((picked) => {
    window.showOpenFilePicker = async () => {
      const folder = await navigator.storage.getDirectory();
      const real = await folder.getFileHandle('FireRed 1.1.gba');
      if (picked === 'cancel') throw new DOMException('cancelled', 'AbortError');
      const refused = (name) => async () => { throw new DOMException(picked, name); };
      if (picked === 'gone') return [{kind: 'file', name: 'gone.gba', getFile: refused('NotFoundError')}];
      return [{kind: 'file', name: real.name, getFile: () => real.getFile(), createWritable: refused('NotAllowedError')}];
    };
  }, picked).then(() => page.click('#cmdOpen'));
  await open('cancel');
  await page.waitForTimeout(200);
  assert.equal(await page.isVisible('#box'), false);
  await open('gone');
  assert.deepEqual(await box(page), ['Error: 53', 'File not found']);
  await page.click('#cmdSave');
  assert.deepEqual(await box(page), ['Vantrel', 'ROM saved successfully!']);
  assert.deepEqual(changes(bytes, await fileNow()), [[cryAt['1.1'], 25]]);
  await open('refusing');
  assert.deepEqual(await box(page), opened);
  await page.click('#Command1');
  assert.deepEqual(await box(page), ['Error: 70', 'Permission denied']);
  assert.deepEqual(changes(bytes, await fileNow()), [[cryAt['1.1'], 25]]);

  // The file gone from under the window: the failure box, as on the desktop.
  await page.evaluate(async () => (await navigator.storage.getDirectory()).removeEntry('FireRed 1.1.gba'));
  await page.click('#cmdSave');
  assert.deepEqual(await box(page), ['Error: 53', 'File not found']);
}

await browser.close();
server.kill();
fs.rmSync(work, {recursive: true});

// Nothing but the page's own files was asked for.
const own = new Set(fs.readdirSync(pageDir));
for (const url of requested) {
  const {origin, pathname} = new URL(url);
  assert.equal(origin, new URL(address).origin, `a request left the page: ${url}`);
  assert.ok(pathname === '/' || own.has(pathname.slice(1)), `the page asked for ${url}`);
}
console.log('page: all cases passed');
