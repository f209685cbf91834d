// What the browser test's parts share: the checks' report, the Linux
// program's captures to compare with, the canvas's pixels, waiting for
// frames and for the end of a run, and a record of what the page queued
// for the program.
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');

const umgebung = { programm: '', tmp: '', fehler: 0 };

function einrichten(programm, tmp) {
  umgebung.programm = programm;
  umgebung.tmp = tmp;
}

function pruefe(name, gut, mehr) {
  console.log((gut ? 'ok   ' : 'FAIL ') + name + (gut || mehr === undefined ? '' : ' (' + mehr + ')'));
  if (!gut) umgebung.fehler = 1;
}

// A folder of its own in the test's temporary folder.
function ordner(name) {
  const o = path.join(umgebung.tmp, name);
  fs.mkdirSync(o, { recursive: true });
  return o;
}

// The Linux program headless in a folder of its own, with a script when
// one is given (text in the input script's format).
function linux_lauf(args, name, skript) {
  const o = ordner(name);
  const mit = skript === undefined ? args : [...args, '--input', path.join(o, 'eingabe.txt')];
  if (skript !== undefined) fs.writeFileSync(path.join(o, 'eingabe.txt'), skript);
  execFileSync(umgebung.programm, ['--headless', ...mit], { cwd: o });
  return o;
}

// The Linux headless capture of the same run, as RGBA.
function linux_bild(args, name, skript) {
  const o = linux_lauf([...args, '--capture', 'bild.png'], name, skript);
  return execFileSync('convert', [path.join(o, 'bild.png'), 'rgba:-'], { maxBuffer: 1 << 24 });
}

function rgba(png) {
  return execFileSync('convert', [png, 'rgba:-'], { maxBuffer: 1 << 24 });
}

function unterschied(a, b) {
  if (a.length !== b.length) return 'the canvas has ' + a.length + ' bytes, the capture ' + b.length;
  let anders = 0;
  for (let i = 0; i < a.length; i++) anders += a[i] !== b[i];
  return anders ? anders + ' bytes differ of ' + a.length : '';
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

// The canvas's RGBA bytes; they cross from the page as base64, which is far
// quicker than a list of numbers.
async function pixel(seite) {
  const p = await seite.evaluate(function () {
    const c = document.getElementById('bild');
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let text = '';
    for (let i = 0; i < d.length; i += 0x8000) text += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));
    return { breite: c.width, hoehe: c.height, daten: btoa(text) };
  });
  return { breite: p.breite, hoehe: p.hoehe, daten: Buffer.from(p.daten, 'base64') };
}

// How many bytes of the canvas differ from the Linux capture of the same run.
async function abweichung(seite, args, name, skript) {
  return unterschied((await pixel(seite)).daten, linux_bild(args, name, skript));
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

// The end panel, once the run has ended.
async function ende(seite) {
  await seite.waitForFunction('Module.borkwerkCode !== undefined', { timeout: 90000 });
  return seite.evaluate(function () {
    return { text: document.getElementById('endetext').textContent,
             protokoll: document.getElementById('protokoll').textContent,
             sichtbar: !document.getElementById('ende').hidden,
             meldung: document.getElementById('meldung').textContent,
             links: document.getElementById('links').innerText,
             code: Module.borkwerkCode };
  });
}

// The end of the run that tun starts by loading the page anew: a same-page
// move (a new fragment) ends no run and counts as a navigation too, so the
// old page is marked and its end does not count.
async function neues_ende(seite, tun) {
  await seite.evaluate('window.borkwerkAlt = true');
  await tun();
  await seite.waitForFunction('!window.borkwerkAlt && Module.borkwerkCode !== undefined', { timeout: 90000 });
  return ende(seite);
}

async function bis_bild(seite, n) {
  await seite.waitForFunction('Module.borkwerkBilder >= ' + n, { timeout: 60000, polling: 20 });
}

// k frames more than the page has shown so far.
async function weiter(seite, k) {
  await bis_bild(seite, (await seite.evaluate('Module.borkwerkBilder')) + k);
}

// A key held for two frames: the program reads the keyboard's state once a
// frame, as DirectInput's immediate mode does.
async function druecken(seite, taste) {
  await seite.keyboard.down(taste);
  await weiter(seite, 2);
  await seite.keyboard.up(taste);
}

// A new page of the browser or of one of its contexts.
async function neue_seite(browser, meldungen, ansicht) {
  const seite = await browser.newPage();
  await seite.setViewport(ansicht || { width: 1280, height: 1000 });
  seite.on('console', function (m) { if (m.type() === 'error') meldungen.push(m.text()); });
  seite.on('pageerror', function (e) { meldungen.push(e.message); });
  return seite;
}

// From now on the page notes each entry it queues for the program with the
// frame whose message pump takes it: the page runs only while the program
// sleeps in the pump of frame Module.borkwerkBilder, so that is the frame.
async function mitschreiben(seite) {
  await seite.evaluate(function () {
    const q = Module.borkwerkEreignisse;
    const anhaengen = q.push;
    window.borkwerkMitschrift = [];
    q.push = function (...neu) {
      for (const e of neu) window.borkwerkMitschrift.push({ bild: Module.borkwerkBilder, art: e.art, an: e.an,
                                                            code: e.code, a: e.a, b: e.b, c: e.c });
      return anhaengen.apply(q, neu);
    };
  });
}

async function mitschrift(seite) {
  return seite.evaluate('window.borkwerkMitschrift');
}

// The browser's key codes the tests press, by the input script's names.
const SKRIPT_TASTEN = { KeyR: 'R', KeyS: 'S', F1: 'F1', Escape: 'ESCAPE', Space: 'SPACE', Enter: 'RETURN' };

// What the page queued as an input script for the Linux program: the same
// events in the same frames.
function als_skript(eintraege) {
  return eintraege.map(function (e) {
    if (e.art === 1) return e.bild + ' ' + (e.an ? 'down' : 'up') + ' ' + SKRIPT_TASTEN[e.code] + '\n';
    if (e.art === 2) return e.bild + ' mouse ' + (e.a | 0) + ' ' + (e.b | 0) + ' ' + (e.c | 0) + '\n';
    return '';
  }).join('');
}

// Waits for a file to arrive whole in a download folder (the browser fills
// NAME.crdownload first); its name matches muster.
async function herunterladen_abwarten(ordnerPfad, muster, sekunden) {
  const bis = Date.now() + (sekunden || 30) * 1000;
  for (;;) {
    const namen = fs.readdirSync(ordnerPfad);
    const fertig = namen.find(function (n) { return muster.test(n); });
    if (fertig && !namen.some(function (n) { return n.endsWith('.crdownload'); })) return path.join(ordnerPfad, fertig);
    if (Date.now() > bis) throw new Error('no download matching ' + muster + ' in ' + ordnerPfad + ': ' + namen.join(', '));
    // A change in the folder, or a look again after half a second in case
    // it came before the watch began.
    await new Promise(function (weiter) {
      const wache = fs.watch(ordnerPfad, function () { fertig_warten(); });
      const zeit = setTimeout(fertig_warten, 500);
      function fertig_warten() {
        wache.close();
        clearTimeout(zeit);
        weiter();
      }
    });
  }
}

module.exports = {
  umgebung, einrichten, pruefe, ordner, linux_lauf, linux_bild, rgba, unterschied, zaehlen, pixel,
  abweichung, zeilen, ende, neues_ende, bis_bild, weiter, druecken, neue_seite, mitschreiben,
  mitschrift, als_skript, herunterladen_abwarten, KLAR,
};
