// The README's pictures of the web page in Debian's Chromium, each as a
// palette PNG: at 1280 x 800 with the heaviest tree grown and the keys'
// help held (seite.png), and on a phone's touch screen, upright at
// 390 x 844 (seite-hoch.png) and on its side at 844 x 390 (seite-quer.png),
// the same tree turned by a finger's drag.
//   node tools/web_bild.js [FOLDER]      (docs/bilder/; make web first)
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const { starten, browser_starten } = require('../tests/web/server.js');

const oben = path.resolve(__dirname, '..');
const ziel = path.resolve(process.argv[2] || path.join(oben, 'docs/bilder'));

const ANSICHTEN = [
  { datei: 'seite.png', ansicht: { width: 1280, height: 800 } },
  { datei: 'seite-hoch.png', ansicht: { width: 390, height: 844, isMobile: true, hasTouch: true }, ziehen: true },
  { datei: 'seite-quer.png', ansicht: { width: 844, height: 390, isMobile: true, hasTouch: true }, ziehen: true },
];

async function aufnehmen(browser, basis, a) {
  const seite = await browser.newPage();
  await seite.setViewport(a.ansicht);
  await seite.goto(basis + '?seed=17276');
  await seite.waitForFunction('Module.borkwerkBilder >= 130', { timeout: 60000 });
  if (a.ziehen) {
    const b = await (await seite.$('#bild')).boundingBox();
    const finger = await seite.touchscreen.touchStart(b.x + b.width / 3, b.y + b.height / 2);
    for (let k = 1; k <= 8; k++) await finger.move(b.x + b.width / 3 + 10 * k, b.y + b.height / 2 - 2 * k);
    await finger.end();
  } else {
    await seite.keyboard.down('F1');
  }
  const n = await seite.evaluate('Module.borkwerkBilder');
  await seite.waitForFunction('Module.borkwerkBilder >= ' + (n + 6), { timeout: 10000 });
  const roh = path.join(ziel, a.datei + '.roh.png');
  await seite.screenshot({ path: roh });
  execFileSync('convert', [roh, '-strip', '-colors', '64', 'PNG8:' + path.join(ziel, a.datei)]);
  fs.unlinkSync(roh);
  await seite.close();
}

(async function () {
  const server = await starten(path.join(oben, 'build-web'));
  const browser = await browser_starten();
  try {
    const basis = 'http://127.0.0.1:' + server.address().port + '/';
    for (const a of ANSICHTEN) await aufnehmen(browser, basis, a);
  } finally {
    await browser.close();
    server.close();
  }
})();
