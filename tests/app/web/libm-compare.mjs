// Runs libm_probe built natively and for node, and counts, function by
// function, the results that differ and by how many units in the last place,
// and how many would still differ once stored as floats.
//
//   node tests/app/web/libm-compare.mjs NATIVE_PROBE WEB_PROBE_JS OUT_DIR
import { spawnSync } from 'node:child_process';
import { mkdirSync, readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';

const [nativeProbe, webProbe, outDir] = process.argv.slice(2).map((p) => resolve(p));
if (!outDir) {
  console.error('usage: libm-compare.mjs NATIVE_PROBE WEB_PROBE_JS OUT_DIR');
  process.exit(2);
}
mkdirSync(outDir, { recursive: true });
const run = (command, args) => {
  const r = spawnSync(command, args, { stdio: 'inherit' });
  if (r.status !== 0) process.exit(1);
};
run(nativeProbe, [join(outDir, 'native.bin')]);
run(process.execPath, [webProbe, join(outDir, 'web.bin')]);
const a = readFileSync(join(outDir, 'native.bin'));
const b = readFileSync(join(outDir, 'web.bin'));
const names = ['sin', 'cos', 'atan', 'pow', 'sqrt'];
const n = a.length / 8 / names.length;
console.log(`function  samples  differ  max ulp  differ as float`);
names.forEach((name, f) => {
  let differ = 0;
  let maxUlp = 0n;
  let asFloat = 0;
  for (let i = 0; i < n; i++) {
    const at = 8 * (f * n + i);
    const x = a.readBigInt64LE(at);
    const y = b.readBigInt64LE(at);
    if (x === y) continue;
    differ++;
    const ulp = x > y ? x - y : y - x;
    if (ulp > maxUlp) maxUlp = ulp;
    if (Math.fround(a.readDoubleLE(at)) !== Math.fround(b.readDoubleLE(at))) asFloat++;
  }
  console.log(`${name.padEnd(8)}  ${String(n).padStart(7)}  ${String(differ).padStart(6)}  ${String(maxUlp).padStart(7)}  ${String(asFloat).padStart(15)}`);
});
