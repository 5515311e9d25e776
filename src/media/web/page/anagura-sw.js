// The page's service worker: keeps every file the game needs, so that after
// one visit the game opens without the server, and a second visit downloads
// nothing. scripts/web-app.py writes the list below (each file's path with a
// hash of its bytes) and the version it makes (a hash of the list) when the
// web folder is built; the page asks for its files with "?v=" and its version.
//
// A changed file changes this script, which the browser checks on each visit:
// the new worker fetches only the files whose hash changed and takes over at
// once. A page already open goes on with the files of its own version (they
// are kept until the version after next), so one visit never mixes two
// versions' files; the next visit opens the new one.
'use strict';

const kFiles = {};
const kVersion = '';
const kCache = 'anagura';
const kFetchesAtOnce = 4;

const scope = new URL(self.registration.scope);
const lists = new Map([[kVersion, kFiles]]);  // version -> its list, as far as known

// The cache's key of a file of a list: its path with its hash, so two
// versions' copies sit side by side.
const keyOf = (path, files) => new URL(`${path}?anagura=${files[path]}`, scope).href;
const listKey = (version) => new URL(`anagura-version-${version}.json`, scope).href;

// The path of a request inside the scope ('' for the folder itself), or null.
function pathOf(url) {
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return null;
  const path = decodeURIComponent(url.pathname.slice(scope.pathname.length));
  return path === '' ? 'index.html' : path;
}

async function hashOf(bytes) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return Array.from(digest.slice(0, 8), (b) => b.toString(16).padStart(2, '0')).join('');
}

// The list of `version`, kept in the cache when its worker was installed.
async function listOf(version) {
  if (!lists.has(version)) {
    const kept = await caches.match(listKey(version), { cacheName: kCache });
    lists.set(version, kept ? await kept.json() : null);
  }
  return lists.get(version);
}

// Fetches one file into the cache unless it is there already. A body that is
// not the one listed (the folder changed again meanwhile) fails the install;
// the browser tries again on a later visit.
async function keep(cache, path) {
  if (await cache.match(keyOf(path, kFiles))) return;
  const response = await fetch(new URL(`${path}?v=${kVersion}`, scope), { cache: 'no-cache' });
  if (!response.ok) throw new Error(`${path}: ${response.status}`);
  const bytes = await response.arrayBuffer();
  if ((await hashOf(bytes)) !== kFiles[path]) throw new Error(`${path} is not the version listed`);
  const headers = { 'Content-Type': response.headers.get('Content-Type') || 'application/octet-stream' };
  await cache.put(keyOf(path, kFiles), new Response(bytes, { headers }));
}

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(kCache);
    const queue = Object.keys(kFiles);
    const worker = async () => {
      for (let path = queue.shift(); path !== undefined; path = queue.shift()) await keep(cache, path);
    };
    await Promise.all(Array.from({ length: kFetchesAtOnce }, worker));
    await cache.put(listKey(kVersion), new Response(JSON.stringify(kFiles), { headers: { 'Content-Type': 'application/json' } }));
    await self.skipWaiting();
  })());
});

// Taking over: what only versions before the one it follows had goes.
self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(kCache);
    const current = await cache.match(new URL('anagura-version', scope).href);
    const before = current ? (await current.text()) : '';
    const keepVersions = new Set([kVersion, before]);
    const kept = new Set();
    for (const version of keepVersions) {
      const files = await listOf(version);
      if (files) Object.keys(files).forEach((path) => kept.add(keyOf(path, files)));
      kept.add(listKey(version));
    }
    for (const request of await cache.keys()) {
      const url = new URL(request.url);
      if (url.pathname.endsWith('/anagura-version')) continue;
      if (!kept.has(request.url)) await cache.delete(request);
    }
    await cache.put(new URL('anagura-version', scope).href, new Response(kVersion));
    await self.clients.claim();
  })());
});

// A file from the cache, of the version the page asks for (?v=; a page
// without one, the current version); the network only for a file not kept.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  const url = new URL(event.request.url);
  const path = pathOf(url);
  if (path === null) return;
  event.respondWith((async () => {
    const files = (await listOf(url.searchParams.get('v') || kVersion)) || kFiles;
    const kept = path in files ? await caches.match(keyOf(path, files), { cacheName: kCache }) : undefined;
    return kept || fetch(event.request);
  })());
});
