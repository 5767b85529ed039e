// Keeps Vantel's page for offline use once it has been opened over https (or
// from localhost): the page, its manifest and its icons are stored at
// installation and served from the store first. A new release of the page comes
// with a new store name (the page's own digest), which replaces the old store.
const STORE = "vantel-@DIGEST@";
const FILES = ["vantel.html", "vantel.webmanifest", "vantel-192.png", "vantel-512.png"];

self.addEventListener("install", (event) => {
  event.waitUntil(
    caches
      .open(STORE)
      .then((store) => store.addAll(FILES))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((n) => n.startsWith("vantel-") && n !== STORE).map((n) => caches.delete(n))))
      .then(() => self.clients.claim()),
  );
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(
    caches.open(STORE).then((store) =>
      store.match(event.request, { ignoreSearch: true }).then((kept) => kept || fetch(event.request)),
    ),
  );
});
