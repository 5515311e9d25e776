// The web folder's server: `node scripts/web-server.mjs FOLDER [PORT]` serves
// FOLDER on 127.0.0.1 (port 8000 by default; 0 takes a free one), as it is, to
// a browser that takes gzip compressed, as most web servers send it. Every
// answer carries validators (ETag, Last-Modified) and asks the browser to check
// them on each use, so a file that has not changed is answered "304 Not
// Modified" without its bytes. The page's tests and benchmark use `serve` from
// here too.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzip as gzipAsync } from 'node:zlib';
import { promisify } from 'node:util';

const gzip = promisify(gzipAsync);

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.txt': 'text/plain; charset=utf-8',
  '.webmanifest': 'application/manifest+json',
  '.png': 'image/png',
  '.bmp': 'image/bmp',
};

// The file's validator: its size and time of change, and whether the body is gzipped.
const entityTag = ({ size, mtimeMs }, zip) => `"${size.toString(16)}-${Math.floor(mtimeMs).toString(16)}${zip ? '-gz' : ''}"`;

// True when the browser's copy (its If-None-Match, else its If-Modified-Since) is the file's.
function unchanged(request, tag, modified) {
  const tags = request.headers['if-none-match'];
  if (tags !== undefined) return tags.split(',').some((t) => t.trim().replace(/^W\//, '') === tag || t.trim() === '*');
  const since = Date.parse(request.headers['if-modified-since'] || '');
  return !Number.isNaN(since) && Math.floor(modified / 1000) * 1000 <= since;
}

// Serves `folder`; `refuse(path)` true answers that path with 404. With `compress`
// the bodies go gzipped to a browser that takes it; each is compressed once
// while its file stays as it was. `stats` counts the bytes and requests sent
// (an unchanged file's answer counts as no bytes, `unchanged` true).
export async function serve(folder, { refuse = () => false, compress = true, port = 0 } = {}) {
  const stats = { bytes: 0, requests: [] };
  const zipped = new Map();  // path -> { mtimeMs, body }
  const zippedBody = async (file, mtimeMs) => {
    const kept = zipped.get(file);
    if (kept && kept.mtimeMs === mtimeMs) return kept.body;
    const body = await gzip(await readFile(file));
    zipped.set(file, { mtimeMs, body });
    return body;
  };
  const server = createServer(async (request, response) => {
    try {
      const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
      if (path.includes('..') || refuse(path)) throw new Error('refused');
      const file = join(folder, path.endsWith('/') ? path + 'index.html' : path);
      const info = await stat(file);
      if (!info.isFile()) throw new Error('not a file');
      const zip = compress && /\bgzip\b/.test(request.headers['accept-encoding'] || '');
      const tag = entityTag(info, zip);
      const headers = {
        'Content-Type': types[extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-cache',
        ETag: tag,
        'Last-Modified': new Date(info.mtimeMs).toUTCString(),
        Vary: 'Accept-Encoding',
      };
      if (unchanged(request, tag, info.mtimeMs)) {
        stats.requests.push({ path, bytes: 0, unchanged: true, at: performance.now() });
        response.writeHead(304, headers);
        response.end();
        return;
      }
      const body = zip ? await zippedBody(file, info.mtimeMs) : await readFile(file);
      stats.bytes += body.length;
      stats.requests.push({ path, bytes: body.length, at: performance.now() });
      if (zip) headers['Content-Encoding'] = 'gzip';
      response.writeHead(200, headers);
      response.end(request.method === 'HEAD' ? undefined : body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', done);
  });
  // close() also ends the connections the browser keeps open, so that a page
  // finds the server gone at once.
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    stats,
    close: () => {
      server.close();
      server.closeAllConnections();
    },
  };
}

if (import.meta.url === pathToFileURL(process.argv[1] || '').href) {
  const [folder, port = '8000'] = process.argv.slice(2);
  if (!folder || !/^\d+$/.test(port)) {
    console.error('usage: node web-server.mjs FOLDER [PORT]');
    process.exit(2);
  }
  try {
    const server = await serve(resolve(folder), { port: Number(port) });
    console.log(`web: serving on ${server.url} (Ctrl-C ends)`);
  } catch (error) {
    console.error(`web: cannot serve on 127.0.0.1:${port}: ${error.message}`);
    process.exit(1);
  }
}
