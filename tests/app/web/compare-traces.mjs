// The same game, proven: replays scripts through the native replay runner
// and through the one built for node with emscripten, and checks that the
// traces are byte for byte the same and that every frame they write has the
// same pixels (and, for the golden scripts, the golden frame's pixels).
//
//   node tests/app/web/compare-traces.mjs --native build/src/app/kolvane-sim \
//        --web build-web/src/app/kolvane-sim.js --out build-web/trace-compare
//
// The scripts: every tests/golden/*.script with the options of its
// "# args:" line, and a few long games of random keys made here from fixed seeds.
import { spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { basename, dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { readPng } from './png.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const options = { native: '', web: '', out: '', golden: join(here, '..', '..', 'golden'), games: 3, ticks: 6000 };
for (let i = 2; i < process.argv.length; i += 2) {
  const name = process.argv[i].replace(/^--/, '');
  if (!(name in options)) {
    console.error(`compare-traces: unknown option ${process.argv[i]}`);
    process.exit(2);
  }
  options[name] = typeof options[name] === 'number' ? Number(process.argv[i + 1]) : process.argv[i + 1];
}
if (!options.native || !options.web || !options.out) {
  console.error('usage: compare-traces.mjs --native KOLVANE_SIM --web KOLVANE_SIM_JS --out DIR [--games N] [--ticks N]');
  process.exit(2);
}
const nativeSim = resolve(options.native);
const webSim = resolve(options.web);
const out = resolve(options.out);
rmSync(out, { recursive: true, force: true });
mkdirSync(join(out, 'scripts'), { recursive: true });

// A long game of random keys: S whenever no game runs, arrows held and let
// go, shots and secondary fire, a pause now and then. xorshift32, fixed seed.
function randomGame(seed, ticks) {
  let state = seed >>> 0 || 1;
  const next = (n) => {
    state ^= state << 13; state >>>= 0;
    state ^= state >>> 17;
    state ^= state << 5; state >>>= 0;
    return state % n;
  };
  const arrows = ['LEFT', 'RIGHT', 'UP', 'DOWN'];
  const lines = [`# A random game, seed ${seed}.`, `# args: --seed ${seed} --clock ${1000000000 + (seed % 100000) * 7919}`];
  const held = new Set();
  for (let done = 0; done < ticks;) {
    const roll = next(100);
    if (roll < 6) lines.push('press S');
    else if (roll < 30) lines.push('press SPACE');
    else if (roll < 36) lines.push('press X');
    else if (roll < 37) lines.push('press P', 'tick 3', 'press A');
    else if (roll < 60) {
      const key = arrows[next(4)];
      if (held.has(key)) { lines.push(`up ${key}`); held.delete(key); }
      else { lines.push(`down ${key}`); held.add(key); }
    }
    const count = 1 + next(12);
    lines.push(`tick ${count}`);
    done += count;
  }
  return lines.join('\n') + '\n';
}

const scripts = readdirSync(options.golden)
  .filter((f) => f.endsWith('.script'))
  .sort()
  .map((f) => ({ name: basename(f, '.script'), path: join(options.golden, f), golden: true }));
for (let g = 1; g <= options.games; g++) {
  const path = join(out, 'scripts', `random_game_${g}.script`);
  writeFileSync(path, randomGame(g * 104729, options.ticks));
  scripts.push({ name: `random_game_${g}`, path, golden: false });
}

function argsOf(text) {
  const line = text.split('\n').find((l) => l.startsWith('# args:'));
  return line ? line.slice('# args:'.length).trim().split(/\s+/).filter(Boolean) : [];
}

function run(command, args, cwd) {
  mkdirSync(cwd, { recursive: true });
  const started = process.hrtime.bigint();
  const result = spawnSync(command, args, { cwd, encoding: 'utf8' });
  const seconds = Number(process.hrtime.bigint() - started) / 1e9;
  return { status: result.status, stderr: (result.stderr || '') + (result.error ? String(result.error) : ''), seconds };
}

// The first line that differs, and which of its fields.
function firstDifference(a, b) {
  const la = a.split('\n');
  const lb = b.split('\n');
  for (let i = 0; i < Math.max(la.length, lb.length); i++) {
    if (la[i] === lb[i]) continue;
    const fields = [];
    try {
      const ja = JSON.parse(la[i]);
      const jb = JSON.parse(lb[i]);
      const walk = (x, y, path) => {
        if (typeof x === 'object' && x !== null && typeof y === 'object' && y !== null) {
          for (const k of new Set([...Object.keys(x), ...Object.keys(y)])) walk(x[k], y[k], `${path}.${k}`);
        } else if (x !== y) fields.push(`${path}: ${x} / ${y}`);
      };
      walk(ja, jb, '');
    } catch {
      fields.push('(not JSON)');
    }
    return `line ${i + 1}: ${fields.slice(0, 4).join('; ')}`;
  }
  return '';
}

const sameImage = (a, b) => a.width === b.width && a.height === b.height && a.rgba.equals(b.rgba);

let passed = 0;
let failed = 0;
let lines = 0;
let frames = 0;
let nativeSeconds = 0;
let webSeconds = 0;
for (const script of scripts) {
  const text = readFileSync(script.path, 'utf8');
  const args = [...argsOf(text), '--trace', 'trace.jsonl', script.path];
  const nativeDir = join(out, 'native', script.name);
  const webDir = join(out, 'web', script.name);
  const n = run(nativeSim, args, nativeDir);
  const w = run(process.execPath, [webSim, ...args], webDir);
  nativeSeconds += n.seconds;
  webSeconds += w.seconds;
  const problems = [];
  if (n.status !== 0) problems.push(`native runner exited ${n.status}: ${n.stderr.trim()}`);
  if (w.status !== 0) problems.push(`node runner exited ${w.status}: ${w.stderr.trim()}`);
  let count = 0;
  if (problems.length === 0) {
    const a = readFileSync(join(nativeDir, 'trace.jsonl'), 'utf8');
    const b = readFileSync(join(webDir, 'trace.jsonl'), 'utf8');
    count = a.split('\n').length - 1;
    lines += count;
    if (a !== b) problems.push(`traces differ at ${firstDifference(a, b)}`);
    for (const file of readdirSync(nativeDir).filter((f) => f.endsWith('.png')).sort()) {
      frames += 1;
      const webFile = join(webDir, file);
      if (!existsSync(webFile)) { problems.push(`${file}: not written by the node runner`); continue; }
      const native = readPng(join(nativeDir, file));
      if (!sameImage(native, readPng(webFile))) problems.push(`${file}: pixels differ`);
      const golden = join(options.golden, file);
      if (script.golden && existsSync(golden) && !sameImage(native, readPng(golden))) {
        problems.push(`${file}: differs from the golden frame`);
      }
    }
  }
  if (problems.length === 0) {
    passed += 1;
    console.log(`ok   ${script.name}: ${count} trace lines identical (native ${n.seconds.toFixed(2)} s, node ${w.seconds.toFixed(2)} s)`);
  } else {
    failed += 1;
    console.log(`FAIL ${script.name}: ${problems.join('\n       ')}`);
  }
}
console.log(`compare-traces: ${lines} trace lines and ${frames} frames over ${scripts.length} scripts; ` +
  `native ${nativeSeconds.toFixed(1)} s, node ${webSeconds.toFixed(1)} s`);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
