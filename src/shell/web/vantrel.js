// The page: renders the window the layout describes (`layout`, and the
// title picture, `titlePicture`, which the build puts before this script);
// passes clicks, the list's choices and the image to the core in its
// worker; and does what only the page can: the file picker and drops,
// writing the byte into the file (or giving the patched image as a
// download), the boxes and the sound. Served, it can also be installed.
'use strict';

// The worker from the page's own text: a page opened from disk may start
// none from a file.
const core = URL.createObjectURL(new Blob([document.getElementById('core').textContent], {type: 'text/javascript'}));
const worker = new Worker(core);
const controls = new Map();
// The image the window has open: its File and, where the browser gives
// one, the handle to write it through.
let image = null;
// The image being opened, until the core says whether it opened.
let opening = null;
// Commands run one at a time, each on the image as it is now, the first
// once the core has started.
let started = () => {};
let queue = new Promise((resolve) => (started = resolve));
let commandEnded = () => {};

// ---- the window ----------------------------------------------------------

function fontOf(font) {
  const families = font.families.map((family) => `"${family}"`).join(', ');
  return `${font.bold ? 'bold ' : ''}${font.points}pt ${families}, sans-serif`;
}

function makeControl(control, row) {
  let element;
  switch (control.kind) {
    case 'button':
      element = document.createElement('button');
      element.type = 'button';
      element.textContent = control.caption;
      element.addEventListener('click', () => clicked(row));
      break;
    case 'list':
      element = document.createElement('select');
      for (const species of layout.species) element.add(new Option(species));
      element.selectedIndex = -1;
      element.addEventListener('change', () =>
        run({kind: 'select', position: element.selectedIndex}));
      break;
    case 'label':
      element = document.createElement(control.name === layout.listLabel ? 'label' : 'div');
      element.className = 'label';
      element.textContent = control.caption;
      break;
    case 'picture':
      element = document.createElement('img');
      element.src = titlePicture;
      element.alt = '';
      break;
  }
  element.id = control.name;
  element.disabled = !control.enabled;
  const style = element.style;
  style.left = `${control.left}px`;
  style.top = `${control.top}px`;
  style.width = `${control.width}px`;
  style.height = `${control.height}px`;
  if (control.font) style.font = fontOf(control.font);
  if (control.fore) style.color = control.fore;
  if (control.back) style.background = control.back;
  return element;
}

// The font standing in for the table's is wider in some engines than in
// others: a caption that would touch its button's edges, or be cut off, is
// set a little smaller until it leaves 2 pixels each side, as on the desktop.
function fitCaption(button) {
  const text = document.createRange();
  text.selectNodeContents(button);
  let points = parseFloat(getComputedStyle(button).fontSize) * 0.75;
  while (text.getBoundingClientRect().width > button.clientWidth - 4 && points > 6) {
    points -= 0.25;
    button.style.fontSize = `${points}pt`;
  }
}

function render() {
  document.title = layout.caption;
  document.getElementById('caption').textContent = layout.caption;
  const form = document.getElementById('form');
  form.style.width = `${layout.width}px`;
  form.style.height = `${layout.height}px`;
  form.style.font = fontOf(layout.font);
  // The table lists the topmost control first; the page lists the controls
  // that take the focus in their tab order, which screen readers follow too.
  layout.controls.forEach((control, row) => {
    const element = makeControl(control, row);
    element.style.zIndex = String(layout.controls.length - row);
    controls.set(control.name, element);
  });
  const focused = new Set(layout.tabOrder);
  for (const control of layout.controls) {
    if (!focused.has(control.name)) form.append(controls.get(control.name));
  }
  for (const name of layout.tabOrder) form.append(controls.get(name));
  for (const element of form.querySelectorAll('button')) fitCaption(element);
  controls.get(layout.listLabel).htmlFor = layout.list;
  controls.get(layout.play).setAttribute('aria-label', layout.playName);
  chooser.accept = filterOf(layout.filter).extensions.join(',');
  performance.mark('vantrel-ready');
  document.body.dataset.ready = '';
}

// "GBA ROMs (*.gba)|*.gba": the description and its extensions.
function filterOf(filter) {
  const [description, patterns] = filter.split('|');
  return {description, extensions: patterns.split(';').map((pattern) => pattern.replace('*', ''))};
}

// The script comes after the page it renders.
const chooser = document.getElementById('chooser');
chooser.addEventListener('change', () => {
  if (chooser.files.length) openImage({file: chooser.files[0], name: chooser.files[0].name});
  chooser.value = '';
});
document.getElementById('box').addEventListener('close', boxClosed);
document.addEventListener('dragover', (event) => {
  event.preventDefault();
  document.body.classList.add('dropping');
});
document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
document.addEventListener('drop', dropped);
render();

const shown = {
  started: () => {
    performance.mark('vantrel-core-started');
    URL.revokeObjectURL(core);
    started();
  },
  species: (message) => {
    const list = controls.get(layout.list);
    list.replaceChildren(...message.names.map((name) => new Option(name)));
    list.selectedIndex = -1;
  },
  selection: (message) => {
    controls.get(layout.list).selectedIndex = message.position;
  },
  editing: (message) => {
    for (const name of layout.imageControls) controls.get(name).disabled = !message.enabled;
  },
  'play-state': (message) => {
    const play = controls.get(layout.play);
    play.disabled = !message.enabled;
    play.title = message.tooltip;
  },
  rom: (message) => {
    // The core keeps the image chosen, or none.
    image = message.name ? opening || image : null;
    for (const name of layout.imageControls) controls.get(name).title = message.name;
  },
  box: (message) => showBox(message.text, message.title),
  play: (message) => playCry(message.rate, message.samples),
  write: (message) =>
    writeBytes(message.at, message.bytes).then(
      () => worker.postMessage({kind: 'written'}),
      (error) => worker.postMessage({kind: 'written', failure: error.name || 'Error'})),
  done: (message) => commandEnded(message),
  unreadable: (message) => commandEnded(message),
};
worker.onmessage = ({data}) => shown[data.kind](data);

// ---- commands ------------------------------------------------------------

// Posts a command with the File to read: taken anew from the handle, so
// that the core reads the file as it is now.
function run(command, on = image, before = null) {
  queue = queue.then(async () => {
    await before;
    if (command.kind === 'open') opening = on;
    const message = {...command, file: on && on.file};
    if (on && on.handle) {
      try {
        message.file = on.file = await on.handle.getFile();
      } catch (error) {
        message.file = null;
        message.failure = error.name;
      }
    } else if (on && copying) {
      message.file = await inMemory(on);
    }
    if ((await ended(message, on)).kind === 'unreadable') {
      // The worker may not read the File the page reads: from now on it gets
      // the image's bytes.
      message.file = await inMemory(on);
      copying = message.file !== on.file;
      await ended({...message, tried: true}, on);
    }
    opening = null;
  });
}

// WebKit lets the worker of a page opened from disk read no Blob the page
// hands it; the worker says so (`unreadable`) before the core reads the
// first image it is handed.
let copying = false;

// The image's bytes, read once, or its File where the page cannot read it
// either (the core then says why).
async function inMemory(on) {
  try {
    on.bytes = on.bytes || new Uint8Array(await on.file.arrayBuffer());
    return on.bytes;
  } catch {
    return on.file;
  }
}

// Resolves to the worker's message that ended the command: 'done', or
// 'unreadable'. An image's bytes go to the worker and come back with
// 'done', rather than being copied each time.
async function ended(message, on) {
  const bytes = message.file instanceof Uint8Array ? [message.file.buffer] : [];
  const end = await new Promise((resolve) => {
    commandEnded = resolve;
    worker.postMessage(message, bytes);
  });
  if (end.bytes) on.bytes = end.bytes;
  return end;
}

function clicked(row) {
  const {name} = layout.controls[row];
  const {command} = layout.clicks.find((click) => click.button === name);
  if (command === 'open') {
    pickImage();
    return;
  }
  // Writing into the file needs the user's leave, asked for while the
  // click still counts as the user's.
  let allowed = null;
  if (command !== 'play' && image && image.handle && image.handle.requestPermission) {
    allowed = image.handle.requestPermission({mode: 'readwrite'}).catch(() => {});
  }
  run({kind: 'click', row}, image, allowed);
}

function openImage(chosen) {
  run({kind: 'open', name: chosen.name}, chosen);
}

// Chromium's picker gives a handle that Save can write through; elsewhere a
// file input gives only the File. Cancel changes nothing.
async function pickImage() {
  if (!window.showOpenFilePicker) {
    chooser.click();
    return;
  }
  const {description, extensions} = filterOf(layout.filter);
  let handle;
  try {
    [handle] = await window.showOpenFilePicker({
      types: [{description, accept: {'application/octet-stream': extensions}}],
    });
  } catch (error) {
    if (error.name !== 'AbortError') showBox(String(error.message), layout.title);
    return;
  }
  openImage({handle, file: null, name: handle.name});
}

// The first file dropped opens as if chosen.
async function dropped(event) {
  event.preventDefault();
  document.body.classList.remove('dropping');
  const item = [...event.dataTransfer.items].find((one) => one.kind === 'file');
  if (!item) return;
  // Both are taken while the drop lasts; the handle only where there is one.
  const handled = item.getAsFileSystemHandle ? item.getAsFileSystemHandle() : null;
  const file = item.getAsFile();
  const handle = handled && (await handled.catch(() => null));
  if (handle && handle.kind !== 'file') return;
  openImage(handle ? {handle, file, name: handle.name} : {file, name: file.name});
}

// ---- writing -------------------------------------------------------------

// The bytes, one run from `at`, into the file through its handle (Chromium
// writes a copy of the file and puts it in the file's place on close), or,
// without a handle, the patched image as a download under the image's own
// name.
async function writeBytes(at, data) {
  if (image.handle) {
    const writable = await image.handle.createWritable({keepExistingData: true});
    try {
      await writable.write({type: 'write', position: at, data});
    } catch (error) {
      await writable.abort().catch(() => {});
      throw error;
    }
    await writable.close();
    return;
  }
  const {file} = image;
  const patched = new Blob([file.slice(0, at), data, file.slice(at + data.length)], {
    type: 'application/octet-stream',
  });
  const link = document.createElement('a');
  link.href = URL.createObjectURL(patched);
  link.download = file.name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

// ---- boxes ---------------------------------------------------------------

const boxes = [];

function showBox(text, title) {
  boxes.push({text, title});
  if (boxes.length === 1) openBox();
}

function openBox() {
  document.getElementById('box-title').textContent = boxes[0].title;
  document.getElementById('box-text').textContent = boxes[0].text;
  document.getElementById('box').showModal();
}

function boxClosed() {
  boxes.shift();
  if (boxes.length) openBox();
}

// ---- sound ---------------------------------------------------------------

let audio = null;
let sounding = null;

// The cry at its own rate: Web Audio resamples it. A second Play stops the
// first and starts again.
function playCry(rate, samples) {
  try {
    if (!window.AudioContext) throw new Error('this browser has no Web Audio');
    audio = audio || new AudioContext();
    const buffer = audio.createBuffer(1, samples.length, rate);
    buffer.copyToChannel(Float32Array.from(samples, (sample) => sample / 128), 0);
    if (sounding) sounding.stop();
    sounding = audio.createBufferSource();
    sounding.buffer = buffer;
    sounding.connect(audio.destination);
    sounding.start();
    if (audio.state !== 'running') audio.resume().catch(noSound);
  } catch (error) {
    noSound(error);
  }
}

function noSound(error) {
  worker.postMessage({kind: 'no-sound', reason: String(error.message || error)});
}

// ---- installing, when served -----------------------------------------------

// Served over HTTPS or from this machine, the page can be installed: it then
// starts with the network gone and opens the .gba files it is handed, with
// their handles to write through. From a file:// address none of it can
// work, so none of it is tried.
if (window.isSecureContext && location.protocol !== 'file:' && navigator.serviceWorker) {
  const manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.append(manifest);
  navigator.serviceWorker.register('service-worker.js').catch((error) =>
    console.warn(`Vantrel will not start offline: ${error.message}`));
  if (window.launchQueue) {
    launchQueue.setConsumer(({files: [handle]}) => {
      if (handle) openImage({handle, file: null, name: handle.name});
    });
  }
}
