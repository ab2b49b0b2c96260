// The served page's service worker: it keeps the page's files, so that an
// installed page starts with the network gone. The build puts `kept` before
// this: the cache's name, which changes with the files, and the files.
'use strict';

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kept.name).then((cache) => cache.addAll(kept.files)).then(() => self.skipWaiting()));
});

// A new page's files replace an old one's.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith('vantrel-') && name !== kept.name)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  event.respondWith(caches.match(event.request, {ignoreSearch: true}).then((file) => file || fetch(event.request)));
});
