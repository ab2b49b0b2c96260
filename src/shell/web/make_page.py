#!/usr/bin/env python3
"""Makes the page's folder: Vantrel.html, one file that holds its style, its
script, the core's worker (its script and WebAssembly) and its pictures, so
that it runs opened from disk; and beside it what installing it needs when
it is served: the manifest, the service worker and the icons.

Usage: make_page.py BUILT SOURCE ASSETS OUT ICON...
  BUILT   the build's folder: layout.js (the window, printed by
          vantrel-page-layout), vantrel-core.js and vantrel-core.wasm
  SOURCE  src/shell/web: Vantrel.html.in, vantrel.css, vantrel.js,
          service-worker.js
  ASSETS  assets: title.gif, vantrel.png and the icons
  OUT     the page's folder
  ICON    the icons of the installed page, PNG files in ASSETS
"""
import base64
import hashlib
import json
import os
import re
import shutil
import struct
import sys

PAGE = 'Vantrel.html'
MANIFEST = 'manifest.webmanifest'
SERVICE_WORKER = 'service-worker.js'


def read(folder, name):
    with open(os.path.join(folder, name), 'rb') as f:
        return f.read()


def data_url(kind, data):
    return f'data:{kind};base64,{base64.b64encode(data).decode()}'


def inline(text, name):
    """Text to put inside an element of the page, which must not end it."""
    if re.search(r'<!--|</?script|</style', text, re.IGNORECASE):
        sys.exit(f'make_page: {name} holds text that would end its element early')
    return text


def digest(text):
    return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode()).digest()).decode() + "'"


def main():
    built, source, assets, out, *icons = sys.argv[1:]
    layout_line = read(built, 'layout.js').decode()
    layout = json.loads(layout_line[layout_line.index('{'):layout_line.rindex('}') + 1])
    style = inline(read(source, 'vantrel.css').decode(), 'vantrel.css')
    script = inline(layout_line +
                    f"const titlePicture = '{data_url('image/gif', read(assets, 'title.gif'))}';\n" +
                    read(source, 'vantrel.js').decode(), 'vantrel.js')
    # The worker holds the WebAssembly, which it compiles from these bytes:
    # it fetches nothing.
    core = inline(f"const coreWasm = '{base64.b64encode(read(built, 'vantrel-core.wasm')).decode()}';\n" +
                  read(built, 'vantrel-core.js').decode(), 'vantrel-core.js')
    # Scripts and style by their hashes; the worker from the page's own text;
    # pictures inside the page; served, the manifest, its icons and the
    # service worker from its folder. Nothing else, and no connection
    # anywhere.
    policy = '; '.join([
        "default-src 'none'",
        f"script-src {digest(script)} 'wasm-unsafe-eval'",
        f"style-src {digest(style)}",
        "worker-src blob: 'self'",
        "img-src data: 'self'",
        "manifest-src 'self'",
        "base-uri 'none'",
        "form-action 'none'",
    ])
    values = {'POLICY': policy, 'ICON': data_url('image/png', read(assets, 'vantrel.png')),
              'STYLE': style, 'CORE': core, 'SCRIPT': script}
    page = re.sub(r'@([A-Z]+)@', lambda key: values[key[1]], read(source, 'Vantrel.html.in').decode())

    # The caption bar and the desktop behind the window, as the style has them.
    colors = dict(re.findall(r'--(caption|desktop):\s*(#[0-9a-f]+)', style))
    extensions = [pattern.replace('*', '') for pattern in layout['filter'].split('|')[1].split(';')]
    manifest = {
        'id': f'./{PAGE}',
        'name': layout['title'],
        'short_name': layout['caption'],
        'start_url': f'./{PAGE}',
        'scope': './',
        'display': 'standalone',
        'theme_color': colors['caption'],
        'background_color': colors['desktop'],
        'icons': [{'src': icon, 'sizes': '{}x{}'.format(*struct.unpack('>II', read(assets, icon)[16:24])),
                   'type': 'image/png'} for icon in icons],
        # Installed, the page is offered to open .gba files, which it gets
        # with a handle to write them through.
        'file_handlers': [{'action': f'./{PAGE}', 'accept': {'application/x-gba-rom': extensions}}],
    }
    files = [PAGE, MANIFEST, *icons]
    # The cache's name changes with any of its files, so that a new page
    # replaces the old one.
    version = hashlib.sha256(page.encode() + json.dumps(manifest).encode() +
                             b''.join(read(assets, icon) for icon in icons)).hexdigest()[:16]
    kept = {'name': f'vantrel-{version}', 'files': [f'./{name}' for name in files]}

    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, PAGE), 'w', encoding='utf-8') as f:
        f.write(page)
    with open(os.path.join(out, MANIFEST), 'w', encoding='utf-8') as f:
        json.dump(manifest, f, indent=2)
        f.write('\n')
    with open(os.path.join(out, SERVICE_WORKER), 'w', encoding='utf-8') as f:
        f.write(f'const kept = {json.dumps(kept)};\n' + read(source, SERVICE_WORKER).decode())
    for icon in icons:
        shutil.copyfile(os.path.join(assets, icon), os.path.join(out, icon))


if __name__ == '__main__':
    main()
