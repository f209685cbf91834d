// The web page in a real browser (Debian's Chromium, headless, through
// puppeteer-core) against a server of its own on 127.0.0.1:
//   node seite_test.js BUILD_WEB LINUX_PROGRAM TMP
// Prints "ok"/"FAIL" per check and exits 1 when one failed.
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const { starten, browser_starten } = require('./server.js');

const [webOrdner, programm, tmp] = process.argv.slice(2).map(function (a) { return path.resolve(a); });
let fehler = 0;
function pruefe(name, gut, mehr) {
  console.log((gut ? 'ok   ' : 'FAIL ') + name + (gut || mehr === undefined ? '' : ' (' + mehr + ')'));
  if (!gut) fehler = 1;
}

// The Linux headless capture of the same run, as RGBA.
function linux_bild(args, name) {
  const ordner = path.join(tmp, name);
  fs.mkdirSync(ordner, { recursive: true });
  execFileSync(programm, ['--headless', ...args, '--capture', 'bild.png'], { cwd: ordner });
  return execFileSync('convert', [path.join(ordner, 'bild.png'), 'rgba:-'], { maxBuffer: 1 << 24 });
}

const KLAR = [206, 40, 41];
// Green overlay text in the top band, tree pixels below it.
function zaehlen(d, breite, hoehe) {
  let gruen = 0, baum = 0, klar = 0;
  for (let y = 0; y < hoehe; y++) {
    for (let x = 0; x < breite; x++) {
      const i = (y * breite + x) * 4;
      const [r, g, b] = [d[i], d[i + 1], d[i + 2]];
      const istKlar = r === KLAR[0] && g === KLAR[1] && b === KLAR[2];
      klar += istKlar;
      if (y < 130) gruen += g > 150 && r < 150 && b < 150;
      else baum += !istKlar;
    }
  }
  return { gruen, baum, klar };
}

async function pixel(seite) {
  return seite.evaluate(function () {
    const c = document.getElementById('bild');
    return { breite: c.width, hoehe: c.height,
             daten: Array.from(c.getContext('2d').getImageData(0, 0, c.width, c.height).data) };
  });
}

// Shading line and help lines, as green pixels of their rows.
async function zeilen(seite) {
  const p = await pixel(seite);
  let schattierung = '', hilfe = 0;
  for (let y = 10; y < 28; y++) {
    for (let x = 0; x < p.breite; x++) {
      const i = (y * p.breite + x) * 4;
      schattierung += p.daten[i + 1] > 150 && p.daten[i] < 150 ? '1' : '0';
    }
  }
  for (let y = 50; y < 130; y++) {
    for (let x = 0; x < p.breite; x++) {
      const i = (y * p.breite + x) * 4;
      hilfe += p.daten[i + 1] > 150 && p.daten[i] < 150;
    }
  }
  return { schattierung, hilfe };
}

async function bis_bild(seite, n) {
  await seite.waitForFunction('Module.borkwerkBilder >= ' + n, { timeout: 60000, polling: 20 });
}

// k frames more than the page has shown so far.
async function weiter(seite, k) {
  await bis_bild(seite, (await seite.evaluate('Module.borkwerkBilder')) + k);
}

// A key held for two frames: the program reads the keyboard's state once a
// frame, as DirectInput's immediate mode does, so a shorter tap may fall
// between two reads.
async function druecken(seite, taste) {
  await seite.keyboard.down(taste);
  await weiter(seite, 2);
  await seite.keyboard.up(taste);
}

async function neue_seite(browser, meldungen) {
  const seite = await browser.newPage();
  await seite.setViewport({ width: 1280, height: 1000 });
  seite.on('console', function (m) { if (m.type() === 'error') meldungen.push(m.text()); });
  seite.on('pageerror', function (e) { meldungen.push(e.message); });
  return seite;
}

async function fester_lauf(browser, basis) {
  const meldungen = [];
  const seite = await neue_seite(browser, meldungen);
  await seite.goto(basis + '?seed=17276&frames=150');
  await seite.waitForFunction('Module.borkwerkCode !== undefined', { timeout: 90000 });
  const p = await pixel(seite);
  const linux = linux_bild(['--seed', '17276', '--frames', '150'], 'fest');
  const web = Buffer.from(p.daten);
  let anders = 0;
  for (let i = 0; i < web.length; i++) anders += web[i] !== linux[i];
  pruefe('seed 17276, frame 149: the canvas equals the Linux capture', web.length === linux.length && anders === 0,
         anders + ' bytes differ of ' + web.length);
  pruefe('the page loads without console errors', meldungen.length === 0, meldungen.join(' | '));
  const ende = await seite.evaluate(function () {
    return { text: document.getElementById('endetext').textContent,
             protokoll: document.getElementById('protokoll').textContent,
             sichtbar: !document.getElementById('ende').hidden,
             code: Module.borkwerkCode };
  });
  pruefe('after the frames, the end is shown with exit code 0', ende.sichtbar && ende.code === 0, ende.text);
  pruefe('the log is shown', ende.protokoll.includes('=========== SPIEL  ENDE ==========='));
  const groesse = await seite.evaluate(async function () {
    const a = document.getElementById('geraet');
    return (await (await fetch(a.href)).arrayBuffer()).byteLength;
  });
  pruefe('device.gra is offered (344,740 bytes)', groesse === 344740, groesse);
  await seite.close();
}

// A scripted run through ?input: the same keys give the same pixels.
async function skript_lauf(browser, basis) {
  const skript = '2 down S\n3 up S\n10 down F1\n30 mouse 200 -50 -120\n';
  const seite = await neue_seite(browser, []);
  await seite.goto(basis + '?seed=4711&frames=40&input=' + encodeURIComponent(skript));
  await seite.waitForFunction('Module.borkwerkCode !== undefined', { timeout: 60000 });
  const p = await pixel(seite);
  fs.writeFileSync(path.join(tmp, 'skript.txt'), skript);
  const linux = linux_bild(['--seed', '4711', '--frames', '40', '--input', path.join(tmp, 'skript.txt')],
                           'skript');
  pruefe('?input: the canvas equals the Linux capture with the same script',
         Buffer.from(p.daten).equals(linux));
  await seite.close();
}

// The live page: the tree grows on the clear colour under the overlay, and
// the keys work as in the program's window.
async function live_lauf(browser, basis) {
  const meldungen = [];
  const seite = await neue_seite(browser, meldungen);
  await seite.goto(basis + '?seed=4711');
  await seite.focus('#bild');
  const stufen = [];
  for (const n of [20, 70, 135]) {
    await bis_bild(seite, n);
    const p = await pixel(seite);
    stufen.push(zaehlen(p.daten, p.breite, p.hoehe));
  }
  pruefe('the clear colour fills most of the picture', stufen[0].klar > 0.5 * 1152 * 864, stufen[0].klar);
  pruefe('the overlay is drawn', stufen[0].gruen > 100, stufen[0].gruen);
  pruefe('the tree grows over the first 132 frames',
         stufen[0].baum < stufen[1].baum && stufen[1].baum < stufen[2].baum,
         stufen.map(function (s) { return s.baum; }).join(' < '));

  const vorher = await zeilen(seite);
  await seite.keyboard.down('F1');
  await weiter(seite, 3);
  const mitHilfe = await zeilen(seite);
  await seite.keyboard.up('F1');
  await weiter(seite, 3);
  const ohneHilfe = await zeilen(seite);
  pruefe('F1 held shows the help lines', vorher.hilfe === 0 && mitHilfe.hilfe > 100, mitHilfe.hilfe);
  pruefe('F1 let go hides them', ohneHilfe.hilfe === 0, ohneHilfe.hilfe);

  await druecken(seite, 'KeyS');
  await weiter(seite, 3);
  const flach = await zeilen(seite);
  pruefe('S flips the shading line', flach.schattierung !== ohneHilfe.schattierung);

  const gross = zaehlen((await pixel(seite)).daten, 1152, 864).baum;
  await druecken(seite, 'KeyR');
  await weiter(seite, 3);
  const neu = zaehlen((await pixel(seite)).daten, 1152, 864).baum;
  pruefe('R grows a new tree', neu < gross / 4, gross + ' -> ' + neu);

  await seite.keyboard.down('Escape');
  await seite.waitForFunction('Module.borkwerkCode !== undefined', { timeout: 20000 });
  await seite.keyboard.up('Escape');
  const protokoll = await seite.evaluate('document.getElementById("protokoll").textContent');
  pruefe('Esc ends the run and shows the log', protokoll.includes('=========== SPIEL  ENDE ==========='));
  pruefe('the live page has no console errors', meldungen.length === 0, meldungen.join(' | '));
  await seite.close();
}

(async function () {
  const server = await starten(path.resolve(webOrdner));
  const basis = 'http://127.0.0.1:' + server.address().port + '/';
  const browser = await browser_starten(['--disable-background-timer-throttling',
                                         '--disable-renderer-backgrounding']);
  let stufe = 'start';
  try {
    stufe = 'the fixed run';
    await fester_lauf(browser, basis);
    stufe = 'the scripted run';
    await skript_lauf(browser, basis);
    stufe = 'the live page';
    await live_lauf(browser, basis);
  } catch (e) {
    pruefe('the browser test ran through ' + stufe, false, e.message);
  } finally {
    await browser.close();
    server.close();
  }
  process.exit(fehler);
})();
