// The browser edition's offline cache, for a page served over http(s): the one file and its
// manifest, kept at the first visit and answered from the cache from then on, with or without
// a network. Each build names its cache after the page, so that a new page replaces the old.
const kCache = "korvelian-@VERSION@";
const kFiles = ["korvelian.html", "korvelian.webmanifest"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kFiles)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((key) => key.startsWith("korvelian-") && key !== kCache)
                                    .map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(caches.open(kCache)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});
