// The page served on 127.0.0.1 and the machine's Chromium, headless, as
// both the page's tests and its bench start them.
import {spawn} from 'node:child_process';
import path from 'node:path';
import {chromium} from 'playwright-core';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../../..');

// Resolves to the server process and the page's address.
export async function servePage(folder) {
  const server = spawn(path.join(root, 'scripts/serve-page'), [folder], {stdio: ['ignore', 'pipe', 'inherit']});
  const address = await new Promise((resolve) => server.stdout.once('data', (line) => resolve(String(line).trim())));
  return {server, address};
}

// Debian's Chromium with a profile of its own (Playwright makes a new one),
// no sandbox (these run as root), and none of its own connections, which a
// closed network refuses.
export function launchChromium() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
}
