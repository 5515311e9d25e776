// A static file server on 127.0.0.1 for the page's tests and benchmark: the
// web folder as it is, and a count of the bytes it sent.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import { gzipSync } from 'node:zlib';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.txt': 'text/plain; charset=utf-8',
  '.png': 'image/png',
  '.bmp': 'image/bmp',
};

// Serves `folder`; `refuse(path)` true answers that path with 404. With `gzip`
// the bodies go compressed to a browser that takes it, as most web servers send them.
export async function serve(folder, refuse = () => false, gzip = false) {
  const stats = { bytes: 0, requests: [] };
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(folder, path.endsWith('/') ? path + 'index.html' : path);
    try {
      if (path.includes('..') || refuse(path)) throw new Error('refused');
      const zip = gzip && /gzip/.test(request.headers['accept-encoding'] || '');
      const body = zip ? gzipSync(await readFile(file)) : await readFile(file);
      stats.bytes += body.length;
      stats.requests.push({ path, bytes: body.length, at: performance.now() });
      const type = types[extname(file)] || 'application/octet-stream';
      response.writeHead(200, zip ? { 'Content-Type': type, 'Content-Encoding': 'gzip' } : { 'Content-Type': type });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, stats, close: () => server.close() };
}

// Headless Debian chromium with a fresh profile, as root may run it.
export async function launchChromium(puppeteer, profile) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM,  // found on PATH by the calling script
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--window-size=800,600'],
  });
}
