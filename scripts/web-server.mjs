// The web folder's server: `node scripts/web-server.mjs FOLDER [PORT]` serves
// FOLDER on 127.0.0.1 (port 8000 by default; 0 takes a free one), as it is, to
// a browser that takes gzip compressed, as most web servers send it. The page's
// tests and benchmark use `serve` from here too.
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
  '.png': 'image/png',
  '.bmp': 'image/bmp',
};

// Serves `folder`; `refuse(path)` true answers that path with 404. With `compress`
// the bodies go gzipped to a browser that takes it; each is compressed once
// while its file stays as it was. `stats` counts the bytes and requests sent.
export async function serve(folder, { refuse = () => false, compress = true, port = 0 } = {}) {
  const stats = { bytes: 0, requests: [] };
  const zipped = new Map();  // path -> { mtimeMs, body }
  const zippedBody = async (file) => {
    const { mtimeMs } = await stat(file);
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
      const zip = compress && /\bgzip\b/.test(request.headers['accept-encoding'] || '');
      const body = zip ? await zippedBody(file) : await readFile(file);
      stats.bytes += body.length;
      stats.requests.push({ path, bytes: body.length, at: performance.now() });
      const headers = { 'Content-Type': types[extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache' };
      if (zip) headers['Content-Encoding'] = 'gzip';
      response.writeHead(200, headers);
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', done);
  });
  return { url: `http://127.0.0.1:${server.address().port}/`, stats, close: () => server.close() };
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
