// The page's worker: the core runs here, on the messages the page posts,
// one command at a time, and what it shows goes back to the page as
// messages. The image is the File handed with the command; the core reads
// it a slice at a time, synchronously, which only a worker may do. The
// build puts the core's WebAssembly before this script (`coreWasm`, in
// base64), which it is compiled from: the worker fetches nothing.
'use strict';

let image = null;
// The name of the browser's last error (a DOMException's), for the core.
let failure = '';
const reader = new FileReaderSync();

// ---- called by the core ----------------------------------------------------

// The image is a File, or its bytes where this worker may not read the
// page's Files (`unreadable`).
function imageSize() {
  return image ? image.size ?? image.length : 0;
}

function readImage(offset, into, size) {
  if (!image) return -1;
  try {
    const bytes = image instanceof Uint8Array ? image.subarray(offset, offset + size)
      : new Uint8Array(reader.readAsArrayBuffer(image.slice(offset, offset + size)));
    HEAPU8.set(bytes, into);
    return bytes.length;
  } catch (error) {
    failure = error.name;
    return -1;
  }
}

function failureName(into, size) {
  stringToUTF8(failure, into, size);
}

function writeBytes(at, from, count) {
  postMessage({kind: 'write', at, bytes: HEAPU8.slice(from, from + count)});
}

function showSpecies(names) {
  postMessage({kind: 'species', names});
}

function showSelection(position) {
  postMessage({kind: 'selection', position});
}

function showEditing(enabled) {
  postMessage({kind: 'editing', enabled});
}

function showPlay(enabled, tooltip) {
  postMessage({kind: 'play-state', enabled, tooltip});
}

function showRom(name) {
  postMessage({kind: 'rom', name});
}

function showBox(text, title) {
  postMessage({kind: 'box', text, title});
}

function play(rate, samples) {
  postMessage({kind: 'play', rate, samples}, [samples.buffer]);
}

// ---- the page's messages ---------------------------------------------------

function withText(text, use) {
  const size = lengthBytesUTF8(text) + 1;
  const at = _malloc(size);
  try {
    stringToUTF8(text, at, size);
    use(at);
  } finally {
    _free(at);
  }
}

// A command has ended once the core has returned and any byte it wrote has
// been reported written.
function ended() {
  if (_vantrel_writing()) return;
  // The image's bytes go back to the page, which hands them with its next
  // command.
  if (image instanceof Uint8Array) {
    postMessage({kind: 'done', bytes: image}, [image.buffer]);
    image = null;
  } else {
    postMessage({kind: 'done'});
  }
}

const commands = {
  open: (message) => withText(message.name, _vantrel_open),
  click: (message) => _vantrel_click(message.row),
  select: (message) => _vantrel_select(message.position),
  written: (message) => {
    failure = message.failure || '';
    _vantrel_written(message.failure ? 1 : 0);
  },
};

// Whether a File from the page has been read here: where the engine lets
// no worker read the page's Files (WebKit, opened from disk), the first one
// is tried before the core runs, and the page hands the bytes instead.
let readable = false;

function unreadable(file) {
  if (readable || !(file instanceof Blob)) return false;
  try {
    reader.readAsArrayBuffer(file.slice(0, 1));
    readable = true;
  } catch (error) {
    return error.name === 'NotReadableError';
  }
  return false;
}

onmessage = ({data}) => {
  if (data.kind === 'no-sound') {
    withText(data.reason, _vantrel_no_sound);
    return;
  }
  if (data.kind !== 'written') {
    if (!data.tried && unreadable(data.file)) {
      postMessage({kind: 'unreadable'});
      return;
    }
    image = data.file || null;
    failure = data.failure || '';
  }
  commands[data.kind](data);
  ended();
};

var Module = {
  wasmBinary: Uint8Array.from(atob(coreWasm), (c) => c.charCodeAt(0)),
  onRuntimeInitialized() {
    _vantrel_start();
    postMessage({kind: 'started'});
  },
};
