// Kolvane in a real browser: Debian's chromium, headless, driven by
// playwright-core. The page is served from the web build on 127.0.0.1 and
// played with the keyboard, one step after another, as a player would.
//
//   node tests/app/web/page.test.mjs --site build-web --out build-web/web-test
//
// The canvas is read with getImageData, so every pixel check is exact. A step
// that fails leaves a screenshot of the page in the output folder; the page
// in play is always saved there as web.png (the README's picture).
import { createServer } from 'node:http';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, extname, join, normalize, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { readPng } from './png.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const options = { site: '', out: '', golden: join(here, '..', '..', 'golden'), chromium: '/usr/bin/chromium' };
for (let i = 2; i < process.argv.length; i += 2) {
  const name = process.argv[i].replace(/^--/, '');
  if (!(name in options)) {
    console.error(`page.test: unknown option ${process.argv[i]}`);
    process.exit(2);
  }
  options[name] = process.argv[i + 1];
}
if (!options.site || !options.out) {
  console.error('usage: page.test.mjs --site BUILD_WEB --out DIR [--chromium PATH]');
  process.exit(2);
}
const site = resolve(options.site);
const out = resolve(options.out);
mkdirSync(out, { recursive: true });

const CLOCK_SECONDS = 1000000000;
const WIDTH = 740;
const HEIGHT = 580;
const WHITE = [255, 255, 255];
const ASTEROID_GREY = [192, 192, 192];
const BULLET_GREEN = [0, 255, 0];
const MESSAGE_GREY = [170, 170, 170];

// --- the page's own server -------------------------------------------------
const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm' };
function serve(root) {
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

// --- pixels ------------------------------------------------------------------
// The whole canvas as RGBA bytes.
async function grab(page) {
  const base64 = await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000) text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return btoa(text);
  });
  return { width: WIDTH, height: HEIGHT, rgba: Buffer.from(base64, 'base64') };
}

const at = (image, x, y) => Array.from(image.rgba.subarray(4 * (y * image.width + x), 4 * (y * image.width + x) + 3));
const is = (image, x, y, colour) => at(image, x, y).every((v, i) => v === colour[i]);

function count(image, colour, area = { left: 0, top: 0, right: WIDTH, bottom: HEIGHT }) {
  let n = 0;
  for (let y = area.top; y < area.bottom; y++) for (let x = area.left; x < area.right; x++) if (is(image, x, y, colour)) n++;
  return n;
}

// Where two frames differ in which pixels are white, inside an area.
function whiteMismatches(a, b, area) {
  let n = 0;
  for (let y = area.top; y < area.bottom; y++) {
    for (let x = area.left; x < area.right; x++) if (is(a, x, y, WHITE) !== is(b, x, y, WHITE)) n++;
  }
  return n;
}

// The centre of the white pixels in the field below the HUD, stars left out.
const STARS = [[95, 535], [118, 44], [195, 207], [543, 173], [616, 246], [198, 380], [64, 540], [392, 281], [331, 485],
  [331, 140], [486, 70], [501, 420], [728, 452], [587, 166], [706, 439], [94, 142], [65, 382], [313, 384], [591, 460]];
function whiteCentre(image) {
  let sx = 0;
  let sy = 0;
  let n = 0;
  for (let y = 60; y < 500; y++) {
    for (let x = 0; x < WIDTH; x++) {
      if (is(image, x, y, WHITE) && !STARS.some(([u, v]) => u === x && v === y)) {
        sx += x;
        sy += y;
        n++;
      }
    }
  }
  return n === 0 ? null : { x: sx / n, y: sy / n, n };
}

const TITLE_TEXTS = { left: 290, top: 240, right: 450, bottom: 330 };
const HELP_TEXTS = { left: 10, top: 510, right: 270, bottom: 560 };
const HUD = { left: 0, top: 0, right: 500, bottom: 20 };
const CENTRE = { left: 355, top: 275, right: 385, bottom: 305 };
// The message line's text rows (a star lies lower down, at y 44).
const MESSAGE_LINE = { left: 1, top: 20, right: 300, bottom: 40 };

// --- the steps -----------------------------------------------------------------
const results = [];
let page;
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
      await page.screenshot({ path: shot, fullPage: true });
    } catch {
      // The page itself may be gone; the message says what failed.
    }
    console.log(`FAIL ${name}: ${error.message}\n     screenshot: ${shot}`);
  }
}
function check(condition, message) {
  if (!condition) throw new Error(message);
}
// The page's clock is Playwright's: time passes only when the test says so,
// and the display frames come every 16 ms of it.
const play = (ms) => page.clock.runFor(ms);

const server = await serve(site);
const address = `http://127.0.0.1:${server.address().port}/`;
const profile = mkdtempSync(join(tmpdir(), 'kolvane-chromium-'));
const consoleErrors = [];
let context;
try {
  context = await chromium.launchPersistentContext(profile, {
    executablePath: options.chromium,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-quic'],
    // Shorter than the page, so that a key that scrolled would show.
    viewport: { width: 1000, height: 700 },
  });
  page = context.pages()[0] || (await context.newPage());
  page.on('console', (message) => {
    if (message.type() === 'error') consoleErrors.push(message.text());
  });
  page.on('pageerror', (error) => consoleErrors.push(String(error)));
  page.on('dialog', (dialog) => {
    consoleErrors.push(`unexpected dialog: ${dialog.message()}`);
    dialog.dismiss();
  });
  // The replay runner's default clock, so the random numbers are the golden frames'.
  await page.clock.install({ time: CLOCK_SECONDS * 1000 - 1000 });
  await page.clock.pauseAt(CLOCK_SECONDS * 1000);

  const golden = {
    title: readPng(join(options.golden, 'title_screen.png')),
    firstFrame: readPng(join(options.golden, 'first_frame.png')),
  };
  const starShown = () => {
    const canvas = document.getElementById('screen');
    const pixel = canvas.getContext('2d').getImageData(95, 535, 1, 1).data;
    return !canvas.hidden && pixel[0] === 255 && pixel[1] === 255 && pixel[2] === 255;
  };

  let opening;
  await step('the page loads with no console error', async () => {
    await page.goto(address);
    check((await page.title()) === 'Kolvane', `title is "${await page.title()}"`);
    check((await page.textContent('h1')) === 'Kolvane', 'no "Kolvane" heading');
    await page.waitForFunction(starShown, null, { timeout: 10000, polling: 50 });
    check(await page.isVisible('table'), 'the controls table is not shown');
    check(consoleErrors.length === 0, `console errors: ${consoleErrors.join(' | ')}`);
    opening = await grab(page);
  });

  await step('the first frame is the native first frame, pixel for pixel', async () => {
    let differ = 0;
    for (let p = 0; p < WIDTH * HEIGHT; p++) {
      if (opening.rgba.readUInt32BE(4 * p) !== golden.title.rgba.readUInt32BE(4 * p)) differ++;
    }
    check(differ === 0, `${differ} pixels differ from tests/golden/title_screen.png`);
  });

  await step('the title screen: white stars, "Game over", grey asteroids that move', async () => {
    await play(1500);
    const frame = await grab(page);
    check(is(frame, 95, 535, WHITE) && is(frame, 118, 44, WHITE), 'the fixed stars are not white');
    const title = whiteMismatches(frame, golden.title, TITLE_TEXTS);
    check(title === 0, `"Game over" and the title texts differ from the native frame in ${title} pixels`);
    const help = whiteMismatches(frame, golden.title, HELP_TEXTS);
    check(help === 0, `the help lines differ from the native frame in ${help} pixels`);
    check(count(frame, ASTEROID_GREY) > 500, 'no grey asteroids');
    check(!frame.rgba.equals(opening.rgba), 'the asteroids did not move in 1.5 s');
  });

  await step('S starts a game: HUD of a new game, the ship at the centre', async () => {
    await page.keyboard.press('s');
    await play(100);
    const frame = await grab(page);
    const hud = whiteMismatches(frame, golden.firstFrame, HUD);
    check(hud === 0, `the HUD (score 0, lives 3, level 1) differs from the native frame in ${hud} pixels`);
    check(count(frame, WHITE, CENTRE) > 20, 'no white hull at the centre');
    check(whiteMismatches(frame, golden.title, TITLE_TEXTS) > 100, 'the title texts are still drawn');
    const centre = whiteCentre(frame);
    check(centre && Math.abs(centre.x - 370) < 6 && Math.abs(centre.y - 290) < 6,
      `the ship is not at the centre (${JSON.stringify(centre)})`);
  });

  await step('P pauses, and another key resumes', async () => {
    // The shield and the message line count paints, so they would change a
    // paused picture: they are gone 100 paints after the start.
    await play(1600);
    const before = await grab(page);
    check(count(before, WHITE, MESSAGE_LINE) + count(before, MESSAGE_GREY, MESSAGE_LINE) === 0,
      'a message is still showing (the ship was hit?)');
    await page.keyboard.press('p');
    await play(100);
    const first = await grab(page);
    await play(500);
    const second = await grab(page);
    check(first.rgba.equals(second.rgba), 'the picture changed during the pause');
    await page.keyboard.press('a');
    await play(100);
    const third = await grab(page);
    check(!second.rgba.equals(third.rgba), 'the game did not resume');
  });

  await step('held Up moves the ship, and the page does not scroll', async () => {
    const before = whiteCentre(await grab(page));
    await page.keyboard.down('ArrowUp');
    await play(300);
    await page.keyboard.up('ArrowUp');
    await page.keyboard.press('ArrowDown');
    await play(50);
    const after = whiteCentre(await grab(page));
    check(after !== null, 'the ship is gone');
    const moved = Math.hypot(after.x - before.x, after.y - before.y);
    check(moved > 10, `the ship moved only ${moved.toFixed(1)} pixels`);
    check((await page.evaluate(() => window.scrollY)) === 0, 'the arrow keys scrolled the page');
  });

  await step('Space fires', async () => {
    const before = count(await grab(page), BULLET_GREEN);
    await page.keyboard.press(' ');
    await play(50);
    const frame = await grab(page);
    check(count(frame, BULLET_GREEN) > before, 'no green shot left the ship');
    check((await page.evaluate(() => window.scrollY)) === 0, 'Space scrolled the page');
    await page.screenshot({ path: join(out, 'web.png') });
  });

  await step('Escape ends the program and the page says so', async () => {
    await page.keyboard.press('Escape');
    await page.waitForSelector('#ended', { state: 'visible', timeout: 2000 });
    check((await page.textContent('#ended')).includes('Kolvane has ended'), 'no "Kolvane has ended"');
    check(!(await page.isVisible('#screen')), 'the canvas is still shown');
    const first = await grab(page);
    await play(500);
    const second = await grab(page);
    check(first.rgba.equals(second.rgba), 'the game goes on after Escape');
  });

  await step('Play again starts Kolvane anew', async () => {
    await page.click('#again');
    await page.waitForFunction(starShown, null, { timeout: 10000, polling: 50 });
    await play(100);
    const frame = await grab(page);
    check(whiteMismatches(frame, golden.title, TITLE_TEXTS) === 0, 'no title screen after the new start');
  });

  await step('no console error in the whole run', async () => {
    check(consoleErrors.length === 0, `console errors: ${consoleErrors.join(' | ')}`);
  });
} catch (error) {
  results.push({ name: 'the browser run', ok: false });
  console.log(`FAIL the browser run: ${error.message}`);
} finally {
  if (context) await context.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
}

const passed = results.filter((r) => r.ok).length;
const failed = results.length - passed;
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
