// The World panel in Debian's chromium against a real kolvane-server on
// loopback: the page served by the server plays a game from the server's
// ticket, submits it and sees it verified and ranked, and watches it from the
// world table to the runner's last frame; the page from another origin lists
// the table through the server's CORS; text from a server shows as text.
//
//   node tests/app/web/world.test.mjs --site build-web --out build-web/world-test \
//     --native build/src/app/kolvane-sim --server build/src/server/kolvane-server
//
// The page runs on the real clock here (the server ranks only games played
// in real time), so a game lasts as long as it takes the ship to crash.
import { spawn, spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { chromium } from 'playwright-core';
import { CHROMIUM_ARGS, check, differingPixels, grab, serve, stepRunner } from './browser.mjs';
import { readPng } from './png.mjs';

const options = { site: '', out: '', native: '', server: '', chromium: '/usr/bin/chromium' };
for (let i = 2; i < process.argv.length; i += 2) {
  const name = process.argv[i].replace(/^--/, '');
  if (!(name in options)) {
    console.error(`world.test: unknown option ${process.argv[i]}`);
    process.exit(2);
  }
  options[name] = process.argv[i + 1];
}
if (!options.site || !options.out || !options.native || !options.server) {
  console.error('usage: world.test.mjs --site BUILD_WEB --out DIR --native KOLVANE_SIM --server KOLVANE_SERVER [--chromium PATH]');
  process.exit(2);
}
const site = resolve(options.site);
const out = resolve(options.out);
mkdirSync(out, { recursive: true });

// --- the steps ---------------------------------------------------------------
let page;
const { results, step } = stepRunner(out, () => page);

// kolvane-server on a free loopback port with a database of its own, letting
// pages from `cors` call it; resolves to the process and its address.
function startServer(folder, cors) {
  const server = spawn(options.server, ['--listen', '127.0.0.1:0', '--db', `sqlite:${join(folder, 'leaderboard.sqlite')}`,
    '--web', site, '--workers', '1', '--cors', cors], { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((done, fail) => {
    const timer = setTimeout(() => fail(new Error('kolvane-server did not start in 10 s')), 10000);
    let said = '';
    server.stdout.on('data', (data) => {
      said += data;
      const address = /listening on (http:\/\/127\.0\.0\.1:\d+\/)/.exec(said);
      if (address) {
        clearTimeout(timer);
        done({ process: server, address: address[1] });
      }
    });
    server.on('exit', (code) => fail(new Error(`kolvane-server exited with ${code}`)));
  });
}

// A page loaded anew has shown its first frame.
const started = () => !document.getElementById('stage').hidden && Module.kolvaneFrames > 0;
const consoleErrors = [];
function watchConsole(opened) {
  opened.on('console', (message) => {
    if (message.type() === 'error') consoleErrors.push(message.text());
  });
  opened.on('pageerror', (error) => consoleErrors.push(String(error)));
  opened.on('dialog', (dialog) => {
    consoleErrors.push(`unexpected dialog: ${dialog.message()}`);
    dialog.dismiss();
  });
}
// The verdict beside a kept game, once it is one.
async function verdictOf(opened, name) {
  const cell = `#games tr[data-name="${name}"] .verdict`;
  await opened.waitForFunction((selector) => /^(verified|rejected|refused|not sent|no verdict|queued: not)/
    .test(document.querySelector(selector).textContent), cell, { timeout: 60000, polling: 200 });
  return opened.textContent(cell);
}

const folder = mkdtempSync(join(tmpdir(), 'kolvane-world-'));
const hanging = [];
const elsewhere = await serve(site);
const otherOrigin = `http://127.0.0.1:${elsewhere.address().port}`;
let leaderboard;
let context;
try {
  leaderboard = await startServer(folder, otherOrigin);
  const serverAddress = leaderboard.address;
  context = await chromium.launchPersistentContext(join(folder, 'profile'), {
    executablePath: options.chromium, headless: true, args: CHROMIUM_ARGS, viewport: { width: 1200, height: 800 },
  });
  page = context.pages()[0] || (await context.newPage());
  watchConsole(page);
  const requests = [];
  page.on('request', (request) => requests.push({ url: request.url(), headers: request.headers() }));

  let kept;
  await step('the page served by kolvane-server plays a game from its ticket', async () => {
    await page.goto(serverAddress);
    await page.waitForFunction(started, null, { timeout: 10000, polling: 50 });
    const ticket = await page.evaluate(() => Module.kolvane.ticket);
    check(ticket && Number.isInteger(ticket.clock), `no ticket: ${JSON.stringify(ticket)}`);
    check(requests.some((r) => r.url === `${serverAddress}api/tickets`), 'no ticket asked for');
    // Up held: the ship crashes into the rocks until its lives are spent.
    await page.keyboard.press('s');
    await page.keyboard.down('ArrowUp');
    await page.waitForFunction(() => Array.from(document.querySelectorAll('#games tbody tr'))
      .some((row) => row.cells[1].textContent !== '-'), null, { timeout: 120000, polling: 500 });
    await page.keyboard.up('ArrowUp');
    kept = await page.evaluate(async () => {
      const row = Array.from(document.querySelectorAll('#games tbody tr')).find((r) => r.cells[1].textContent !== '-');
      return { name: row.dataset.name, text: (await Module.kolvane.kept(row.dataset.name)).text };
    });
    check(kept.text.includes(`\nclock ${ticket.clock}\n`) && kept.text.includes(`\nticket ${ticket.token}\n`),
      'the recording does not start from the ticket');
  });

  let id;
  await step('the game is submitted, verified and ranked in the World panel; the key goes only in its header', async () => {
    await page.fill('#world-name', 'Tester');
    await page.click(`#games tr[data-name="${kept.name}"] .submit`);
    const verdict = await verdictOf(page, kept.name);
    check(/^verified: score \d+, rank 1$/.test(verdict), `the verdict is "${verdict}"`);
    const row = await page.$eval('#world-table tbody tr', (r) => ({ cells: Array.from(r.cells, (c) => c.textContent), id: r.dataset.recording }));
    check(row.cells[0] === '1' && row.cells[1] === 'Tester', `the table's first row is ${JSON.stringify(row.cells)}`);
    id = row.id;
    const key = await page.evaluate(() => localStorage.getItem('kolvane.world-key'));
    check(/^[0-9a-f]{64}$/.test(key), 'no key kept');
    const sent = requests.filter((r) => r.url.startsWith(`${serverAddress}api/recordings?player=Tester`));
    check(sent.length === 1 && sent[0].headers.authorization === `Bearer ${key}`, 'the submission did not carry the key');
    check(requests.every((r) => !r.url.includes(key)), 'the key is in a URL');
    check(!(await page.evaluate(() => document.documentElement.outerHTML)).includes(key), 'the key is on the page');
  });

  await step('a world entry watched in the page ends on the runner\'s last frame', async () => {
    const recording = join(out, 'world.kolvane');
    const text = await (await fetch(`${serverAddress}api/recordings/${id}/file`)).text();
    writeFileSync(recording, text);
    // The same lines as a script (a recording holds no shot; its opening comment says it is one).
    const lines = text.split('\n').filter((line) => line && !line.startsWith('#'));
    writeFileSync(join(out, 'world-end.script'), [...lines, 'shot world-end.png', ''].join('\n'));
    const run = spawnSync(options.native, ['--out', out, join(out, 'world-end.script')], { encoding: 'utf8' });
    check(run.status === 0, `kolvane-sim exits ${run.status}: ${run.stderr}`);
    const native = readPng(join(out, 'world-end.png'));
    const ticks = text.split('\n').reduce((n, line) => n + (line.startsWith('tick ') ? Number(line.slice(5)) : 0), 0);

    await Promise.all([page.waitForNavigation(), page.click('#world-table tbody tr .watch')]);
    await page.waitForFunction(started, null, { timeout: 10000, polling: 50 });
    check(await page.isVisible('#watching'), 'the page does not say it is watching');
    await page.keyboard.down('ArrowRight');
    // Four ticks every 15 ms, and then some: until the runner's last frame shows.
    const until = Date.now() + (ticks / 4) * 15 + 20000;
    let differ;
    do {
      await page.waitForTimeout(500);
      differ = differingPixels(await grab(page), native);
    } while (differ !== 0 && Date.now() < until);
    await page.keyboard.up('ArrowRight');
    check(differ === 0, `${differ} pixels differ from the runner's last frame`);
    await page.keyboard.press('Escape');
    await page.waitForSelector('#ended', { state: 'visible', timeout: 2000 });
  });

  let other;
  await step('from another origin: no request until a server is named, then the table through its CORS', async () => {
    other = await context.newPage();
    page = other;
    watchConsole(other);
    const seen = [];
    other.on('request', (request) => seen.push(request.url()));
    await other.goto(`${otherOrigin}/`);
    await other.waitForFunction(started, null, { timeout: 10000, polling: 50 });
    check(!(await other.isVisible('#world-table')), 'a world table is shown with no server');
    check(seen.every((url) => url.startsWith(otherOrigin) && !url.includes('/api/')), `requests: ${seen.join(' ')}`);
    await other.fill('#world-server', serverAddress);
    await other.press('#world-server', 'Enter');
    await other.waitForSelector('#world-table tbody tr', { timeout: 10000 });
    const cells = await other.$eval('#world-table tbody tr', (r) => Array.from(r.cells, (c) => c.textContent));
    check(cells[1] === 'Tester', `the table's first row is ${JSON.stringify(cells)}`);
    const [download] = await Promise.all([other.waitForEvent('download'), other.click('#world-table tbody tr .download')]);
    const file = join(out, download.suggestedFilename());
    await download.saveAs(file);
    check(download.suggestedFilename() === `kolvane-${id.slice(0, 16)}.kolvane`, `named ${download.suggestedFilename()}`);
    const run = spawnSync(options.native, ['--verify', file], { encoding: 'utf8' });
    check(run.status === 0, `kolvane-sim --verify exits ${run.status}: ${run.stdout}${run.stderr}`);
  });

  await step('markup in a server\'s name and in the server\'s answer shows as text', async () => {
    const markup = '<img src=x onerror="window.marked=1">';
    await other.fill('#world-server', markup);
    await other.press('#world-server', 'Enter');
    check((await other.textContent('#world-status')).includes(markup), `says "${await other.textContent('#world-status')}"`);
    await other.fill('#world-server', serverAddress);
    await other.press('#world-server', 'Enter');
    // A kept "recording" with a line the server's reader refuses, in its words.
    const name = '2001-09-09_01-46-40_1.kolvane';
    await other.evaluate((named) => Module.kolvane.recordings.put({ name: named, startedAt: 1000000000, games: 1, score: 5,
      level: 1, text: 'clock 1000000000\nseed 1\nsize 740x580\n<b>bold</b>\n' }), name);
    await other.fill('#world-name', 'Guest');
    await other.click(`#games tr[data-name="${name}"] .submit`);
    const verdict = await verdictOf(other, name);
    check(verdict.includes('unknown command "<b>bold</b>"'), `the verdict is "${verdict}"`);
    const marked = await other.evaluate(() => [document.querySelectorAll('main img, main b').length, window.marked]);
    check(marked[0] === 0 && marked[1] === undefined, 'markup from the field or the server became HTML');
    // chromium reports the refusal (400) on the console.
    consoleErrors.splice(0, consoleErrors.length, ...consoleErrors.filter((e) => !/status of 400/.test(e)));
  });

  await step('a server that never answers delays the game\'s start by the ticket\'s time-out only', async () => {
    // It takes every connection and says nothing.
    const silent = createServer((socket) => hanging.push(socket));
    await new Promise((done) => silent.listen(0, '127.0.0.1', done));
    await other.fill('#world-server', `http://127.0.0.1:${silent.address().port}`);
    await other.press('#world-server', 'Enter');
    await other.reload();
    await other.waitForFunction(started, null, { timeout: 10000, polling: 50 });
    check((await other.evaluate(() => Module.kolvane.ticket)) === undefined, 'a ticket from a server that said nothing');
    const status = await other.textContent('#world-status');
    check(status.includes('No ticket for this session (no answer in time)'), `says "${status}"`);
    silent.close();
  });

  await step('no console error in the whole run', async () => {
    check(consoleErrors.length === 0, `console errors: ${consoleErrors.join(' | ')}`);
  });
} catch (error) {
  results.push({ name: 'the browser run', ok: false });
  console.log(`FAIL the browser run: ${error.message}`);
} finally {
  if (context) await context.close();
  elsewhere.close();
  hanging.forEach((socket) => socket.destroy());
  if (leaderboard) {
    const ended = new Promise((done) => leaderboard.process.on('exit', done));
    leaderboard.process.kill('SIGTERM');
    await Promise.race([ended, new Promise((done) => setTimeout(done, 10000))]);
  }
  rmSync(folder, { recursive: true, force: true });
}

const passed = results.filter((r) => r.ok).length;
const failed = results.length - passed;
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
