// The README's picture of the web page: the page at 1280 x 800 in Debian's
// Chromium, the heaviest tree grown, the keys' help held, as a palette PNG.
//   node tools/web_bild.js [FILE]      (docs/bilder/seite.png; make web first)
'use strict';
const path = require('path');
const { execFileSync } = require('child_process');
const { starten, browser_starten } = require('../tests/web/server.js');

const oben = path.resolve(__dirname, '..');
const ziel = path.resolve(process.argv[2] || path.join(oben, 'docs/bilder/seite.png'));

(async function () {
  const server = await starten(path.join(oben, 'build-web'));
  const browser = await browser_starten();
  try {
    const seite = await browser.newPage();
    await seite.setViewport({ width: 1280, height: 800 });
    await seite.goto('http://127.0.0.1:' + server.address().port + '/?seed=17276');
    await seite.waitForFunction('Module.borkwerkBilder >= 130', { timeout: 60000 });
    await seite.keyboard.down('F1');
    await seite.waitForFunction('Module.borkwerkBilder >= 136', { timeout: 10000 });
    const roh = ziel + '.roh.png';
    await seite.screenshot({ path: roh });
    execFileSync('convert', [roh, '-strip', '-colors', '64', 'PNG8:' + ziel]);
    require('fs').unlinkSync(roh);
  } finally {
    await browser.close();
    server.close();
  }
})();
