// The three browser engines the page is tried in, each behind the same few
// calls, as the page's tests and its bench drive them: Debian's Chromium and
// Firefox ESR through puppeteer-core (the DevTools protocol, and WebDriver
// BiDi), and WebKitGTK's MiniBrowser through WebKitWebDriver, spoken to in
// plain W3C WebDriver requests (it needs an X display). A tab:
//   goto(url)          loads the page and waits for its window and its core
//   run(fn, ...args)   runs fn in the page and gives what it returns
//   click(selector)    a click as the user's
//   press(key)         a key pressed and released ('Tab')
//   choose(path)       the file given to the page's file input, through Open
//                      where the engine lets the test answer the picker
//   inject(source)     runs a script's text in the page, whatever its policy
//   screenshot(selector, path)
//   close()
// Chromium's and Firefox's tabs can also run a function in the page before
// its own script (beforeLoad); Chromium's also drop a file from disk
// (dropFile), go offline (offline) and ask the browser about the page's
// manifest (manifest).
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../../..');

// Resolves to the server process, the page's address, and the paths it was
// asked for.
export async function servePage(folder) {
  const server = spawn(path.join(root, 'scripts/serve-page'), ['--log', folder], {stdio: ['ignore', 'pipe', 'inherit']});
  process.on('exit', () => server.kill());
  const lines = [];
  let buffered = '';
  server.stdout.on('data', (data) => {
    buffered += data;
    const ended = buffered.split('\n');
    buffered = ended.pop();
    lines.push(...ended);
  });
  while (!lines.length) await new Promise((resolve) => setTimeout(resolve, 10));
  return {server, address: lines.shift(), requested: lines};
}

const ready = () => document.body.dataset.ready !== undefined &&
  performance.getEntriesByName('vantrel-core-started').length > 0;

// ---- Chromium and Firefox, through puppeteer-core ----------------------------

function puppeteerTab(page, extra) {
  return {
    async goto(url) {
      await page.goto(url);
      await page.waitForFunction(ready);
    },
    run: (fn, ...args) => page.evaluate(fn, ...args),
    inject: (source) => page.evaluate(source),
    beforeLoad: (fn) => page.evaluateOnNewDocument(fn),
    click: (selector) => page.click(selector),
    press: (key) => page.keyboard.press(key),
    async choose(file) {
      const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#cmdOpen')]);
      await chooser.accept([file]);
    },
    screenshot: async (selector, file) => (await page.$(selector)).screenshot({path: file}),
    close: () => page.browserContext().close(),
    ...extra,
  };
}

// A browser whose tabs each have a context of their own, so that nothing
// one case leaves (storage, a service worker) is met by the next.
function puppeteerBrowser(browser, extra) {
  return {
    async newTab() {
      const page = await (await browser.createBrowserContext()).newPage();
      return puppeteerTab(page, extra(page));
    },
    close: () => browser.close(),
  };
}

// Debian's Chromium: no sandbox (these run as root), none of its own
// connections, which a closed network refuses, and the browser's prompts
// answered no (a write into a file dropped from disk asks one).
const chromium = {
  name: 'Chromium',
  async launch() {
    const browser = await puppeteer.launch({
      executablePath: '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--deny-permission-prompts'],
    });
    return puppeteerBrowser(browser, (page) => ({
      // The file dragged from disk and dropped on the page, which then gets
      // its handle as well as its File.
      async dropFile(file) {
        const data = {items: [], files: [file], dragOperationsMask: 1};
        const at = {x: 100, y: 100};
        await page.mouse.dragEnter(at, data);
        await page.mouse.dragOver(at, data);
        await page.mouse.drop(at, data);
      },
      offline: (offline) => page.setOfflineMode(offline),
      // What Chromium makes of the page's manifest, and why it would not
      // offer to install the page.
      async manifest() {
        const session = await page.createCDPSession();
        const {errors, manifest} = await session.send('Page.getAppManifest');
        const {installabilityErrors} = await session.send('Page.getInstallabilityErrors');
        return {errors, manifest, installabilityErrors};
      },
    }));
  },
};

// Debian's Firefox ESR, headless, over WebDriver BiDi.
const firefox = {
  name: 'Firefox',
  async launch() {
    const browser = await puppeteer.launch({
      browser: 'firefox',
      executablePath: fs.realpathSync('/usr/bin/firefox-esr'),
      headless: true,
    });
    return puppeteerBrowser(browser, () => ({}));
  },
};

// ---- WebKit, through WebKitWebDriver ------------------------------------------

async function freePort() {
  const server = net.createServer().listen(0, '127.0.0.1');
  await new Promise((resolve) => server.once('listening', resolve));
  const {port} = server.address();
  await new Promise((resolve) => server.close(resolve));
  return port;
}

// Debian installs MiniBrowser in webkit2gtk-4.1/ under the architecture's
// library folder.
function miniBrowser() {
  const found = fs.readdirSync('/usr/lib')
    .map((folder) => path.join('/usr/lib', folder, 'webkit2gtk-4.1/MiniBrowser'))
    .find((file) => fs.existsSync(file));
  if (!found) throw new Error('no MiniBrowser: install libwebkit2gtk-4.1-0 and webkit2gtk-driver');
  return found;
}

const keys = {Tab: '\uE004'};

const webkit = {
  name: 'WebKit',
  async launch() {
    if (!process.env.DISPLAY) throw new Error('WebKit needs an X display (scripts/with-xvfb)');
    const port = await freePort();
    // A home of its own, so that MiniBrowser's profile and the downloads the
    // page gives are made there and go with it. On Xvfb, which has no GPU
    // buffers to share, WebKit paints nothing unless it renders without them.
    const home = fs.mkdtempSync(path.join(os.tmpdir(), 'vantrel-webkit-'));
    const env = {...process.env, HOME: home, XDG_CONFIG_HOME: `${home}/.config`, XDG_DATA_HOME: `${home}/.local/share`,
      XDG_CACHE_HOME: `${home}/.cache`, MESA_SHADER_CACHE_DISABLE: 'true', WEBKIT_DISABLE_DMABUF_RENDERER: '1'};
    const driver = spawn('WebKitWebDriver', [`--port=${port}`], {stdio: 'ignore', env});
    const call = async (method, where, body) => {
      const response = await fetch(`http://127.0.0.1:${port}${where}`, {
        method, headers: {'content-type': 'application/json'}, body: body && JSON.stringify(body),
      });
      const {value} = await response.json();
      if (!response.ok) throw new Error(`WebDriver ${where}: ${value.error}: ${value.message}`);
      return value;
    };
    for (let tries = 0; ; ++tries) {
      try {
        await call('GET', '/status');
        break;
      } catch (error) {
        if (tries === 100) throw error;
        await new Promise((resolve) => setTimeout(resolve, 50));
      }
    }
    // A MiniBrowser for each tab, as the other engines give each a context
    // of its own (and one that loaded the page twice here, in two cases,
    // now and then crashed in the next load).
    async function newTab() {
      const {sessionId} = await call('POST', '/session', {capabilities: {alwaysMatch: {
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': {binary: miniBrowser(), args: ['--automation']},
      }}});
      const session = (method, where, body) => call(method, `/session/${sessionId}${where}`, body);
      const element = async (selector) =>
        Object.values(await session('POST', '/element', {using: 'css selector', value: selector}))[0];
      const tab = {
        async goto(url) {
          await session('POST', '/url', {url});
          await waitFor(tab, ready);
        },
        // The page's policy holds for what is run in it too: no eval, so the
        // function goes as the script's text, and the answer as JSON.
        run: (fn, ...args) => session('POST', '/execute/sync', {script: `return (${fn}).apply(null, arguments)`, args}),
        inject: (source) => session('POST', '/execute/sync', {script: source, args: []}),
        click: async (selector) => session('POST', `/element/${await element(selector)}/click`, {}),
        press: (key) => session('POST', '/actions', {actions: [{type: 'key', id: 'keyboard', actions: [
          {type: 'keyDown', value: keys[key]}, {type: 'keyUp', value: keys[key]}]}]}),
        // MiniBrowser's picker cannot be answered: the file goes to the input.
        choose: async (file) => session('POST', `/element/${await element('#chooser')}/value`, {text: file}),
        async screenshot(selector, file) {
          fs.writeFileSync(file, Buffer.from(await session('GET', `/element/${await element(selector)}/screenshot`), 'base64'));
        },
        // A session WebKit ended itself (after a crash) is gone already.
        close: () => session('DELETE', '').catch(() => {}),
      };
      return tab;
    }
    return {
      newTab,
      async close() {
        const exited = new Promise((resolve) => driver.once('exit', resolve));
        driver.kill();
        await exited;
        // MiniBrowser's processes may still be writing their caches there.
        fs.rmSync(home, {recursive: true, force: true, maxRetries: 10, retryDelay: 100});
      },
    };
  },
};

// VANTREL_PAGE_ENGINE=Chromium, Firefox or WebKit keeps that engine alone.
export const engines = [chromium, firefox, webkit]
  .filter(({name}) => [undefined, name].includes(process.env.VANTREL_PAGE_ENGINE));

// Waits until fn, run in the page, gives something true, and gives it.
export async function waitFor(tab, fn, ...args) {
  const until = Date.now() + 10000;
  for (;;) {
    const value = await tab.run(fn, ...args);
    if (value) return value;
    if (Date.now() > until) throw new Error(`timed out waiting for ${fn}`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}
