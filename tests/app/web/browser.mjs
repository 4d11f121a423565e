// What the browser tests share: chromium's flags, a server for the page's
// files on loopback, and the frame canvas read back exactly.
import { createServer } from 'node:http';
import { readFileSync, statSync } from 'node:fs';
import { extname, join, normalize } from 'node:path';

export const WIDTH = 740;
export const HEIGHT = 580;

// No traffic of chromium's own: nothing but what the page asks for.
export const CHROMIUM_ARGS = ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--disable-quic'];

// The page's files from root, on 127.0.0.1 at a free port.
const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm' };
export function serve(root) {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(root, path === '/' ? 'index.html' : path);
    let body;
    try {
      if (!file.startsWith(root) || !statSync(file).isFile()) throw new Error('not a file');
      body = readFileSync(file);
    } catch {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-store' });
    response.end(body);
  });
  return new Promise((done) => server.listen(0, '127.0.0.1', () => done(server)));
}

// The whole frame as RGBA bytes (the frame canvas: one pixel a frame pixel,
// before the page enlarges it).
export async function grab(page) {
  const base64 = await page.evaluate(() => {
    const canvas = document.getElementById('frame');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000) text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return btoa(text);
  });
  return { width: WIDTH, height: HEIGHT, rgba: Buffer.from(base64, 'base64') };
}

// How many pixels of two whole frames differ.
export function differingPixels(a, b) {
  let n = 0;
  for (let p = 0; p < WIDTH * HEIGHT; p++) if (a.rgba.readUInt32BE(4 * p) !== b.rgba.readUInt32BE(4 * p)) n++;
  return n;
}

// A test's steps: each runs, says ok or FAIL with its time, and on failure
// leaves a screenshot of the page in out.
export function stepRunner(out, currentPage) {
  const results = [];
  async function step(name, body) {
    const started = Date.now();
    try {
      await body();
      results.push({ name, ok: true });
      console.log(`ok   ${name} (${Date.now() - started} ms)`);
    } catch (error) {
      results.push({ name, ok: false });
      const shot = join(out, `failed-${results.length}-${name.replace(/[^a-z0-9]+/gi, '-').toLowerCase()}.png`);
      try {
        await currentPage().screenshot({ path: shot, fullPage: true });
      } catch {
        // The page itself may be gone; the message says what failed.
      }
      console.log(`FAIL ${name}: ${error.message}\n     screenshot: ${shot}`);
    }
  }
  return { results, step };
}

export function check(condition, message) {
  if (!condition) throw new Error(message);
}
