// The page's speed against the native stand-in, in one run: the heaviest
// tree's headless run (seed 17276, frames as given) natively and in
// Chromium's WebAssembly, each the best of three, as milliseconds a frame;
// then the live page (25 frames a second): what it loaded (each file as a
// server sends it gzip-compressed, level 9) and, for ten seconds, the
// frames it showed and the main thread's busy time, the tab's CPU use.
//   node tools/web_bildzeit.js [FRAMES]      (build-web/ and build/borkwerk)
'use strict';
const path = require('path');
const zlib = require('zlib');
const { execFileSync } = require('child_process');
const { starten, browser_starten } = require('../tests/web/server.js');

const oben = path.resolve(__dirname, '..');
const bilder = Number(process.argv[2] || 600);

function nativ() {
  const t0 = process.hrtime.bigint();
  execFileSync(path.join(oben, 'build/borkwerk'),
               ['--headless', '--seed', '17276', '--frames', String(bilder)], { cwd: require('os').tmpdir() });
  return Number(process.hrtime.bigint() - t0) / 1e6;
}

(async function () {
  const server = await starten(path.join(oben, 'build-web'));
  const basis = 'http://127.0.0.1:' + server.address().port + '/';
  const browser = await browser_starten();
  try {
    const seite = await browser.newPage();
    const web = [];
    for (let i = 0; i < 3; i++) {
      await seite.goto(basis + '?headless&seed=17276&frames=' + bilder);
      await seite.waitForFunction('Module.borkwerkDauer !== undefined', { timeout: 300000 });
      web.push(await seite.evaluate('Module.borkwerkDauer'));
    }
    const n = Math.min(nativ(), nativ(), nativ()) / bilder;
    const w = Math.min(...web) / bilder;
    console.log('heaviest tree, ' + bilder + ' headless frames: native ' + n.toFixed(3) +
                ' ms a frame, Chromium ' + w.toFixed(3) + ' ms a frame: ' + (w / n).toFixed(2) + 'x');

    const geladen = [];
    seite.on('response', function (antwort) { geladen.push(antwort.buffer()); });
    await seite.goto(basis + '?seed=17276');
    await seite.waitForFunction('Module.borkwerkBilder >= 140', { timeout: 60000 });
    const dateien = await Promise.all(geladen);
    const roh = dateien.reduce(function (n, d) { return n + d.length; }, 0);
    const gepackt = dateien.reduce(function (n, d) {
      return n + zlib.gzipSync(d, { level: 9 }).length;
    }, 0);
    console.log('live page: ' + dateien.length + ' files, ' + (roh / 1024).toFixed(1) + ' KB, ' +
                (gepackt / 1024).toFixed(1) + ' KB gzip (' + gepackt + ' bytes)');
    const vorher = await seite.metrics();
    const b0 = await seite.evaluate('Module.borkwerkBilder');
    await new Promise(function (r) { setTimeout(r, 10000); });
    const nachher = await seite.metrics();
    const b1 = await seite.evaluate('Module.borkwerkBilder');
    const sekunden = nachher.Timestamp - vorher.Timestamp;
    console.log('live page, grown tree: ' + ((b1 - b0) / sekunden).toFixed(1) + ' frames a second, main thread busy ' +
                (100 * (nachher.TaskDuration - vorher.TaskDuration) / sekunden).toFixed(1) + '% of one core');
  } finally {
    await browser.close();
    server.close();
  }
})();
