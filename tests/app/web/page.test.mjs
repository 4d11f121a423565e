// Kolvane in a real browser: Debian's chromium, headless, driven by
// playwright-core. The page is served from the web build on 127.0.0.1 and
// played with the keyboard, one step after another, as a player would.
//
//   node tests/app/web/page.test.mjs --site build-web --out build-web/web-test
//
// The canvas is read with getImageData, so every pixel check is exact. A step
// that fails leaves a screenshot of the page in the output folder; the page
// in play is always saved there as web.png (the README's picture).
import { spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { CHROMIUM_ARGS, HEIGHT, WIDTH, check, differingPixels, grab, serve, stepRunner } from './browser.mjs';
import { readPng } from './png.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const options = { site: '', out: '', native: '', golden: join(here, '..', '..', 'golden'), chromium: '/usr/bin/chromium' };
for (let i = 2; i < process.argv.length; i += 2) {
  const name = process.argv[i].replace(/^--/, '');
  if (!(name in options)) {
    console.error(`page.test: unknown option ${process.argv[i]}`);
    process.exit(2);
  }
  options[name] = process.argv[i + 1];
}
if (!options.site || !options.out || !options.native) {
  console.error('usage: page.test.mjs --site BUILD_WEB --out DIR --native KOLVANE_SIM [--chromium PATH]');
  process.exit(2);
}
const site = resolve(options.site);
const out = resolve(options.out);
mkdirSync(out, { recursive: true });

const CLOCK_SECONDS = 1000000000;
const WHITE = [255, 255, 255];
const ASTEROID_GREY = [192, 192, 192];
const BULLET_GREEN = [0, 255, 0];
const MESSAGE_GREY = [170, 170, 170];

// --- pixels ------------------------------------------------------------------
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
let page;
const { results, step } = stepRunner(out, () => page);
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
    args: CHROMIUM_ARGS,
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
    const canvas = document.getElementById('frame');
    const pixel = canvas.getContext('2d').getImageData(95, 535, 1, 1).data;
    return !document.getElementById('stage').hidden && pixel[0] === 255 && pixel[1] === 255 && pixel[2] === 255;
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

  await step('the sound starts with the first key; M and the button mute it, and it is kept', async () => {
    const audio = await page.evaluate(() => {
      const kept = Module.kolvane.audio;
      if (!kept) return null;
      // Listens to what the page sends to the speakers.
      const feed = kept.node.onaudioprocess;
      window.loudest = 0;
      kept.node.onaudioprocess = (event) => {
        feed(event);
        for (const v of event.outputBuffer.getChannelData(0)) window.loudest = Math.max(window.loudest, Math.abs(v));
      };
      return { rate: kept.context.sampleRate, block: kept.node.bufferSize, base: kept.context.baseLatency };
    });
    check(audio !== null, 'no audio context after the first key');
    console.log(`     audio: ${audio.rate} Hz, blocks of ${audio.block} frames, base latency ${audio.base}`);
    const loudestAfterShot = async () => {
      await page.evaluate(() => { window.loudest = 0; });
      await page.keyboard.press(' ');
      await play(50);
      await new Promise((done) => setTimeout(done, 400));  // the sound plays in real time
      return page.evaluate(() => window.loudest);
    };
    check((await loudestAfterShot()) > 0.01, 'a shot made no sound');
    await page.keyboard.press('m');
    check((await page.textContent('#mute')) === 'Sound: off', 'M did not mute');
    check((await loudestAfterShot()) === 0, 'a shot was heard while muted');
    check(/muted = true/.test(await page.evaluate(() => localStorage.getItem('kolvane.settings'))),
      'the mute state is not kept');
    await page.click('#mute');
    check((await page.textContent('#mute')) === 'Sound: on', 'the button did not turn the sound on');
  });

  await step('every key reaches the game: Shift, F13 and Tab end a pause', async () => {
    for (const key of ['Shift', 'F13', 'Tab']) {
      await page.keyboard.press('p');
      await play(100);
      const paused = await grab(page);
      await play(200);
      check(paused.rgba.equals((await grab(page)).rgba), `the game did not pause before ${key}`);
      if (key === 'F13') {
        // A key Playwright's keyboard lacks: the event as a browser sends it.
        await page.evaluate(() => {
          for (const type of ['keydown', 'keyup']) window.dispatchEvent(new KeyboardEvent(type, { key: 'F13', code: 'F13' }));
        });
      } else {
        await page.keyboard.press(key);
      }
      await play(100);
      check(!paused.rgba.equals((await grab(page)).rgba), `${key} did not end the pause`);
    }
    check((await page.evaluate(() => window.scrollY)) === 0, 'a key scrolled the page');
  });

  await step('Escape ends the program and the page says so', async () => {
    await page.keyboard.press('Escape');
    await page.waitForSelector('#ended', { state: 'visible', timeout: 2000 });
    check((await page.textContent('#ended')).includes('Kolvane has ended'), 'no "Kolvane has ended"');
    check(!(await page.isVisible('#stage')), 'the canvas is still shown');
    const first = await grab(page);
    await play(500);
    const second = await grab(page);
    check(first.rgba.equals(second.rgba), 'the game goes on after Escape');
  });

  // A page loaded anew has shown its first frame.
  const started = () => !document.getElementById('stage').hidden && Module.kolvaneFrames > 0;

  await step('Play again starts Kolvane anew', async () => {
    await Promise.all([page.waitForNavigation(), page.click('#again')]);
    await page.waitForFunction(started, null, { timeout: 10000, polling: 50 });
    await play(100);
    const frame = await grab(page);
    check(whiteMismatches(frame, golden.title, TITLE_TEXTS) === 0, 'no title screen after the new start');
  });

  // A game to its end: the ship thrusts about until its lives are spent.
  await step('a game played to its end is recorded, listed and in the high-score table', async () => {
    await page.keyboard.press('s');
    await page.keyboard.down('ArrowUp');
    let rows = [];
    for (let second = 0; second < 600; second += 10) {
      await play(10000);
      rows = await page.$$eval('#games tbody tr', (all) => all.map((row) => Array.from(row.cells, (c) => c.textContent)));
      if (rows.some((cells) => cells[1] !== '-')) break;
    }
    await page.keyboard.up('ArrowUp');
    check(rows.some((cells) => cells[1] !== '-'), `no finished game in the list: ${JSON.stringify(rows)}`);
    check(rows.length === 2, `${rows.length} sessions listed, not 2`);
    await play(200);
    const frame = await grab(page);
    const corner = { left: 450, top: 420, right: WIDTH, bottom: HEIGHT };
    check(count(frame, WHITE, corner) > 100, 'no high-score table over the title screen');
    check(/^\d+ \d+ /m.test(await page.evaluate(() => localStorage.getItem('kolvane.scores'))), 'no kept high score');
  });

  await step('a recording downloaded from the page verifies natively', async () => {
    const row = await page.$('#games tbody tr:has(td:nth-child(2):not(:text-is("-")))');
    const [download] = await Promise.all([page.waitForEvent('download'), row.$eval('.download', (b) => b.click())]);
    const file = join(out, download.suggestedFilename());
    await download.saveAs(file);
    check(/^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_\d+\.kolvane$/.test(download.suggestedFilename()), `named ${download.suggestedFilename()}`);
    check(/^# .*web page/m.test(readFileSync(file, 'utf8')), 'the recording does not name the web page');
    const run = spawnSync(options.native, ['--verify', file], { encoding: 'utf8' });
    check(run.status === 0, `kolvane-sim --verify exits ${run.status}: ${run.stdout}${run.stderr}`);
  });

  // A recording of these lines in the output folder, and the runner's last
  // frame of it, from a script of the same lines (a recording holds no shot).
  const recordingAndRunnerEnd = (name, lines) => {
    const recording = join(out, `${name}.kolvane`);
    writeFileSync(recording, [...lines, ''].join('\n'));
    writeFileSync(join(out, `${name}-end.script`), [...lines, `shot ${name}-end.png`, ''].join('\n'));
    const run = spawnSync(options.native, ['--out', out, join(out, `${name}-end.script`)], { encoding: 'utf8' });
    check(run.status === 0, `kolvane-sim exits ${run.status}: ${run.stderr}`);
    return { recording, native: readPng(join(out, `${name}-end.png`)) };
  };
  const watchFile = async (recording) => {
    await Promise.all([page.waitForNavigation(), page.setInputFiles('#watch-file', recording)]);
    await page.waitForFunction(started, null, { timeout: 10000, polling: 50 });
    check(await page.isVisible('#watching'), 'the page does not say it is watching');
  };
  // The page shows the runner's last frame; Escape then ends the watching.
  const endsOnRunnersFrame = async (native) => {
    const differ = differingPixels(await grab(page), native);
    check(differ === 0, `${differ} pixels differ from the runner's last frame`);
    await page.keyboard.press('Escape');
    await page.waitForSelector('#ended', { state: 'visible', timeout: 2000 });
    check((await page.textContent('#ended')).includes('The recording has ended'), 'watching did not end');
  };

  await step('a recording made natively, watched in the page, ends on the runner\'s frame', async () => {
    // The battle of the golden frames as a recording: its settings lines first.
    const script = readFileSync(join(options.golden, 'battle.script'), 'utf8').split('\n')
      .filter((line) => !line.startsWith('#') && !line.startsWith('shot'));
    const ticks = script.reduce((n, line) => n + (line.startsWith('tick ') ? Number(line.slice(5)) : 0), 0);
    const { recording, native } = recordingAndRunnerEnd('battle', ['clock 1000000000', 'seed 188', 'size 740x580', ...script]);
    await watchFile(recording);
    await page.keyboard.down('ArrowRight');
    await play(Math.ceil(ticks / 4) * 15 + 2000);
    await page.keyboard.up('ArrowRight');
    await endsOnRunnersFrame(native);
  });

  // The watch page losing the focus lets go of the viewer's keys only: the
  // keys the recording holds stay held, and it ends on the runner's frame.
  await step('the watch page blurred while the recording holds keys ends on the runner\'s frame', async () => {
    await Promise.all([page.waitForNavigation(), page.click('#again')]);
    await page.waitForFunction(started, null, { timeout: 10000, polling: 50 });
    const { recording, native } = recordingAndRunnerEnd('held', ['clock 1000000000', 'seed 1', 'size 740x580',
      'tick 20', 'press S', 'down LEFT', 'down UP', 'tick 200', 'up UP', 'tick 100', 'up LEFT', 'tick 30']);
    await watchFile(recording);
    // About 100 ticks in: Left and Up are held by the recording.
    await play(1500);
    await page.evaluate(() => window.dispatchEvent(new FocusEvent('blur')));
    await play(350 * 15 + 2000);
    await endsOnRunnersFrame(native);
  });

  await step('a file that is not a recording is refused with a message', async () => {
    await Promise.all([page.waitForNavigation(), page.click('#again')]);
    await page.waitForFunction(started, null, { timeout: 10000, polling: 50 });
    const junk = join(out, 'junk.kolvane');
    writeFileSync(junk, 'this is no recording\n');
    await page.setInputFiles('#watch-file', junk);
    await page.waitForSelector('#problem', { state: 'visible', timeout: 10000 });
    check((await page.textContent('#problem')).includes('junk.kolvane:1'), `says "${await page.textContent('#problem')}"`);
    consoleErrors.length = 0;  // the refusal is reported on the console too
  });

  // Pages of their own: a HiDPI screen, a touch screen, a gamepad.
  const browser = await chromium.launch({ executablePath: options.chromium, headless: true, args: CHROMIUM_ARGS });
  const openPage = async (contextOptions, before) => {
    const context = await browser.newContext(contextOptions);
    const opened = await context.newPage();
    opened.on('pageerror', (error) => consoleErrors.push(String(error)));
    await opened.clock.install({ time: CLOCK_SECONDS * 1000 - 1000 });
    await opened.clock.pauseAt(CLOCK_SECONDS * 1000);
    if (before) await opened.addInitScript(before);
    await opened.goto(address);
    await opened.waitForFunction(starShown, null, { timeout: 10000, polling: 50 });
    return opened;
  };
  try {
    await step('at devicePixelRatio 2 every frame pixel is a uniform 2 x 2 block', async () => {
      // The stage below the 40-pixel bar is exactly 740 x 580 CSS pixels.
      const hidpi = await openPage({ viewport: { width: 740, height: 620 }, deviceScaleFactor: 2 });
      await hidpi.clock.runFor(1500);
      const box = await hidpi.$eval('#screen', (c) => ({ w: c.width, css: c.getBoundingClientRect().width }));
      check(box.w === 1480 && box.css === 740, `the screen canvas is ${box.w} pixels, ${box.css} CSS pixels wide`);
      const shot = join(out, 'hidpi.png');
      await hidpi.screenshot({ path: shot, clip: { x: 0, y: 40, width: 740, height: 580 }, scale: 'device' });
      const image = readPng(shot);
      check(image.width === 1480 && image.height === 1160, `the screenshot is ${image.width} x ${image.height}`);
      const frame = await grab(hidpi);
      let bad = 0;
      for (let y = 0; y < HEIGHT; y++) {
        for (let x = 0; x < WIDTH; x++) {
          const want = frame.rgba.readUInt32BE(4 * (y * WIDTH + x)) >>> 8;
          for (const [dx, dy] of [[0, 0], [1, 0], [0, 1], [1, 1]]) {
            if (image.rgba.readUInt32BE(4 * ((2 * y + dy) * 1480 + 2 * x + dx)) >>> 8 !== want) bad++;
          }
        }
      }
      check(bad === 0, `${bad} device pixels differ from their frame pixel`);
      await hidpi.context().close();
    });

    await step('Ctrl held, then Up, thrusts; losing the focus lets go of held keys', async () => {
      const keys = await openPage({ viewport: { width: 900, height: 700 } });
      await keys.keyboard.press('s');
      await keys.clock.runFor(100);
      const before = whiteCentre(await grab(keys));
      await keys.keyboard.down('Control');
      await keys.keyboard.down('ArrowUp');
      await keys.clock.runFor(300);
      await keys.keyboard.up('ArrowUp');
      await keys.keyboard.up('Control');
      const after = whiteCentre(await grab(keys));
      check(before !== null && after !== null && Math.hypot(after.x - before.x, after.y - before.y) > 10,
        `Ctrl and Up did not thrust: from ${JSON.stringify(before)} to ${JSON.stringify(after)}`);
      // The page loses the focus with Left held: the game lets go of it.
      await keys.keyboard.down('ArrowLeft');
      await keys.clock.runFor(100);
      await keys.evaluate(() => window.dispatchEvent(new FocusEvent('blur')));
      await keys.clock.runFor(100);
      const text = await keys.evaluate(async () => {
        Module._kolvane_store_now();
        await Module.kolvane.recordings.stored();
        const names = await Module.kolvane.recordings.names();
        return (await Module.kolvane.recordings.get(names[0])).text;
      });
      const lines = text.trim().split('\n');
      check(/^press 0x11$/m.test(text) && /^down UP$/m.test(text), 'Ctrl and Up are not in the recording');
      check(lines.slice(-3).some((line) => line === 'up LEFT'), `Left is still held after the blur: ${lines.slice(-4).join(' | ')}`);
      await keys.context().close();
    });

    await step('the fullscreen button and F11 put the game alone on the screen and back; the two scaling modes', async () => {
      const screen = await openPage({ viewport: { width: 900, height: 700 } });
      const fullscreen = () => screen.evaluate(() => (document.fullscreenElement ? document.fullscreenElement.id : null));
      await screen.click('#fullscreen');
      await screen.waitForFunction(() => document.fullscreenElement !== null, null, { timeout: 5000 });
      check((await fullscreen()) === 'stage', `fullscreen shows ${await fullscreen()}`);
      await screen.keyboard.press('F11');
      await screen.waitForFunction(() => document.fullscreenElement === null, null, { timeout: 5000 });
      // A 900 x 660 stage: sharp fills its height, whole pixels keeps 1x.
      const width = () => screen.$eval('#screen', (c) => c.getBoundingClientRect().width);
      check(Math.round(await width()) === 842, `sharp mode shows the frame ${await width()} pixels wide`);
      await screen.selectOption('#scale', 'whole');
      check((await width()) === 740, `whole-pixels mode shows the frame ${await width()} pixels wide`);
      check(/scale_mode = whole/.test(await screen.evaluate(() => localStorage.getItem('kolvane.settings'))),
        'the scaling mode is not kept');
      await screen.context().close();
    });

    await step('a high-score table that cannot be read is kept aside, and the game plays', async () => {
      const bad = await openPage({ viewport: { width: 900, height: 700 } }, () => {
        if (!sessionStorage.getItem('seeded')) {
          sessionStorage.setItem('seeded', '1');
          localStorage.setItem('kolvane.scores', 'not a table\n');
          localStorage.setItem('kolvane.settings', 'volume = loud\n');
        }
      });
      await bad.waitForSelector('#problem', { state: 'visible', timeout: 5000 });
      check((await bad.textContent('#problem')).includes('high-score table'), `says "${await bad.textContent('#problem')}"`);
      const kept = await bad.evaluate(() => [localStorage.getItem('kolvane.scores'), localStorage.getItem('kolvane.scores.bad')]);
      check(kept[0] === null && kept[1] === 'not a table\n', `the table is ${JSON.stringify(kept)}`);
      await bad.keyboard.press('s');
      await bad.clock.runFor(100);
      check(count(await grab(bad), WHITE, CENTRE) > 20, 'the game did not start');
      await bad.context().close();
    });

    await step('on a touch screen the pad shows, and a tap on fire fires', async () => {
      const touch = await openPage({ viewport: { width: 900, height: 700 }, hasTouch: true, isMobile: true });
      check(await touch.isVisible('#pad-fire'), 'no touch pad');
      await touch.tap('#pad-start');
      await touch.clock.runFor(100);
      check(count(await grab(touch), WHITE, CENTRE) > 20, 'start did not start a game');
      await touch.clock.runFor(1600);
      const before = count(await grab(touch), BULLET_GREEN);
      await touch.tap('#pad-fire');
      await touch.clock.runFor(50);
      check(count(await grab(touch), BULLET_GREEN) > before, 'a tap on fire fired nothing');
      await touch.context().close();
    });

    await step('a gamepad (navigator.getGamepads stubbed) starts, fires and pauses', async () => {
      const pad = await openPage({ viewport: { width: 900, height: 700 } }, () => {
        const buttons = Array.from({ length: 17 }, () => ({ pressed: false, value: 0 }));
        window.testPad = { id: 'test pad', index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0], buttons };
        navigator.getGamepads = () => [window.testPad, null, null, null];
      });
      const button = (n, pressed) => pad.evaluate(([b, on]) => { window.testPad.buttons[b].pressed = on; }, [n, pressed]);
      const press = async (n) => {
        await button(n, true);
        await pad.clock.runFor(50);
        await button(n, false);
        await pad.clock.runFor(50);
      };
      await press(9);  // Start: S on the title screen
      check(count(await grab(pad), WHITE, CENTRE) > 20, 'Start did not start a game');
      await pad.clock.runFor(1600);
      const before = count(await grab(pad), BULLET_GREEN);
      await press(0);  // south: fire
      check(count(await grab(pad), BULLET_GREEN) > before, 'the south button fired nothing');
      await press(9);  // Start in a game: P
      const paused = await grab(pad);
      await pad.clock.runFor(300);
      check(paused.rgba.equals((await grab(pad)).rgba), 'Start did not pause the game');
      await press(9);  // Start while paused: ends the pause
      await pad.clock.runFor(100);
      check(!paused.rgba.equals((await grab(pad)).rgba), 'Start did not resume the game');
      await pad.context().close();
    });
  } finally {
    await browser.close();
  }

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
