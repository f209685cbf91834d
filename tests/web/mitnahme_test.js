// What the page lets a user take home: the tree and its growth as glTF
// (the Linux program's own files for the same seed and frame, valid for
// the Khronos validator), the picture (the Linux capture's pixels), a
// film of the growth (WebM, as long as the growth), and the seed as a link.
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const h = require('./hilfen.js');
const { pruefe, bis_bild, weiter, neue_seite, ende, herunterladen_abwarten } = h;

const oben = path.resolve(__dirname, '../..');

// A page whose downloads land in a new folder of their own.
async function ladende_seite(browser, name, meldungen) {
  fs.rmSync(path.join(h.umgebung.tmp, name), { recursive: true, force: true });
  const ziel = h.ordner(name);
  const kontext = await browser.createBrowserContext({ downloadBehavior: { policy: 'allow', downloadPath: ziel } });
  return { seite: await neue_seite(kontext, meldungen), ziel, kontext };
}

function gueltig(dateien) {
  try {
    execFileSync('node', [path.join(oben, 'tools/gltf_pruefen.js'), ...dateien], { encoding: 'utf8' });
    return '';
  } catch (e) {
    return (e.stdout || '') + (e.stderr || e.message);
  }
}

async function meldung(seite, muster) {
  await seite.waitForFunction('new RegExp(' + JSON.stringify(muster) + ').test(document.getElementById("meldung").textContent)',
                              { timeout: 30000 });
  return seite.evaluate('document.getElementById("meldung").textContent');
}

// The grown tree of seed 17276, its growth and its picture, each named by
// seed and frame; then the Linux program's files of that seed and frame.
async function dateien(browser, basis) {
  const meldungen = [];
  const { seite, ziel, kontext } = await ladende_seite(browser, 'mitnahme', meldungen);
  await seite.goto(basis + '?seed=17276');
  await bis_bild(seite, 140);
  await seite.click('#baumdatei');
  const baum = await herunterladen_abwarten(ziel, /^borkwerk-17276-frame-\d+\.glb$/);
  await seite.click('#wachstumsdatei');
  const wachstum = await herunterladen_abwarten(ziel, /^borkwerk-17276-growth-\d+\.glb$/);
  await seite.click('#bilddatei');
  const bild = await herunterladen_abwarten(ziel, /^borkwerk-17276-frame-\d+\.png$/);
  const text = await meldung(seite, '^Saved .*\\.png$');
  await kontext.close();

  const bildNummer = function (datei) { return Number(/-(\d+)\.\w+$/.exec(datei)[1]); };
  const linux = h.linux_lauf(['--seed', '17276', '--frames', String(bildNummer(baum) + 1), '--export', 'baum.glb'], 'mitnahme-baum');
  const linuxWachstum = h.linux_lauf(['--seed', '17276', '--frames', String(bildNummer(wachstum) + 1),
                                      '--export-growth', 'wachstum.glb'], 'mitnahme-wachstum');
  const linuxBild = h.linux_bild(['--seed', '17276', '--frames', String(bildNummer(bild) + 1)], 'mitnahme-bild');
  const gleich = function (a, b) { return Buffer.compare(fs.readFileSync(a), fs.readFileSync(b)) === 0; };
  pruefe('download: the tree is the Linux --export of the same seed and frame, byte for byte (' +
         path.basename(baum) + ', ' + fs.statSync(baum).size + ' bytes)', gleich(baum, path.join(linux, 'baum.glb')));
  pruefe('download: the growth is the Linux --export-growth of the same seed and frame, byte for byte (' +
         fs.statSync(wachstum).size + ' bytes)', gleich(wachstum, path.join(linuxWachstum, 'wachstum.glb')));
  const fehler = gueltig([baum, wachstum]);
  pruefe('download: both .glb pass the Khronos validator', fehler === '', fehler);
  const anders = h.unterschied(h.rgba(bild), linuxBild);
  pruefe('download: the picture has the pixels of the Linux capture of its frame', anders === '', anders);
  pruefe('download: the page says what it saved', text === 'Saved ' + path.basename(bild), text);
  pruefe('download: no console errors', meldungen.length === 0, meldungen.join(' | '));
}

// Asked before the program's first frame (the page is read, the program
// not yet loaded), the tree is refused in the page's words, and the button
// can be pressed again.
async function zu_frueh(browser, basis) {
  const meldungen = [];
  const { seite, kontext } = await ladende_seite(browser, 'zu-frueh', meldungen);
  await seite.evaluateOnNewDocument(function () {
    document.addEventListener('DOMContentLoaded', function () { document.getElementById('baumdatei').click(); });
  });
  await seite.goto(basis + '?seed=17276');
  const text = await meldung(seite, '^No file');
  const frei = await seite.evaluate('!document.getElementById("baumdatei").disabled');
  pruefe('download: asked before the first frame, the tree is refused with the reason',
         text === 'No file of the tree: the program has shown no frame yet' && frei, text);
  await kontext.close();
}

// The film and what the frames of its first and last second show: the
// first a tree just born, the last the grown one.
function film_pruefen(datei) {
  const zeiten = execFileSync('ffprobe', ['-v', 'error', '-select_streams', 'v:0', '-show_entries',
                                          'packet=pts_time', '-of', 'csv=p=0', datei], { encoding: 'utf8' })
    .split('\n').filter(Boolean).map(Number);
  const format = execFileSync('ffprobe', ['-v', 'error', '-show_entries', 'format=format_name', '-of', 'csv=p=0', datei],
                              { encoding: 'utf8' }).trim();
  const w = 288, hoehe = 216;
  // Each recorded frame once, as the encoder stamped it (no frame rate of
  // ffmpeg's own that would repeat them).
  const roh = execFileSync('ffmpeg', ['-v', 'error', '-i', datei, '-fps_mode', 'passthrough', '-vf', 'scale=' + w + ':' + hoehe,
                                      '-f', 'rawvideo', '-pix_fmt', 'rgb24', '-'], { maxBuffer: 1 << 27 });
  const groesse = w * hoehe * 3;
  const bilder = roh.length / groesse;
  // Tree pixels: far from the clear colour, below the overlay's lines.
  const baum = function (k) {
    let n = 0;
    for (let i = k * groesse + 40 * w * 3; i < (k + 1) * groesse; i += 3)
      n += Math.abs(roh[i] - h.KLAR[0]) + Math.abs(roh[i + 1] - h.KLAR[1]) + Math.abs(roh[i + 2] - h.KLAR[2]) > 90;
    return n;
  };
  return { dauer: Math.max(...zeiten) - Math.min(...zeiten), format, bilder, erstes: baum(0), letztes: baum(bilder - 1) };
}

async function film(browser, basis) {
  const meldungen = [];
  const { seite, ziel, kontext } = await ladende_seite(browser, 'film', meldungen);
  await seite.goto(basis + '?seed=4711');
  await bis_bild(seite, 5);
  await seite.click('#film');
  const waehrend = await seite.evaluate('document.getElementById("meldung").textContent');
  await weiter(seite, 20);
  const knopf = await seite.evaluate('document.getElementById("film").textContent');
  await seite.waitForFunction('!document.getElementById("filmdatei").hidden', { timeout: 30000 });
  const fertig = await seite.evaluate('document.getElementById("meldung").textContent');
  await seite.click('#filmdatei');
  const datei = await herunterladen_abwarten(ziel, /^borkwerk-4711-growth\.webm$/);
  await kontext.close();
  pruefe('film: the page says it records, and how far', waehrend.startsWith('Recording the growth') &&
         /^Recording\.\.\. \d+\/132$/.test(knopf), waehrend + ' / ' + knopf);
  pruefe('film: then that the film is ready', /^The film is ready \(\d+ KB\): Save the film \(\.webm\)$/.test(fertig), fertig);
  const f = film_pruefen(datei);
  pruefe('film: a WebM at least as long as the growth (132 frames at 25 a second, 5.28 s)',
         f.format.includes('webm') && f.dauer >= 5.28 && f.dauer < 10, f.format + ', ' + f.dauer + ' s');
  pruefe('film: its first frame shows a new tree, its last the grown one',
         f.bilder >= 100 && f.erstes * 5 < f.letztes, f.bilder + ' frames, tree pixels ' + f.erstes + ' -> ' + f.letztes);
  pruefe('film: no console errors', meldungen.length === 0, meldungen.join(' | '));
}

// Without ?seed the address gets the seed the page chose; a seed grown from
// the form is in the address, the run is that seed's, and "Copy link"
// puts the address on the clipboard.
async function teilen(browser, basis) {
  const meldungen = [];
  const seite = await neue_seite(browser, meldungen);
  await browser.defaultBrowserContext().overridePermissions(basis.replace(/\/$/, ''),
                                                             ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  await seite.goto(basis);
  await bis_bild(seite, 1);
  const zuerst = await seite.evaluate(function () {
    return { saat: new URL(location.href).searchParams.get('seed'), feld: document.getElementById('saat').value };
  });
  pruefe('link: the address carries the seed the page chose', /^\d+$/.test(zuerst.saat || '') && zuerst.saat === zuerst.feld,
         JSON.stringify(zuerst));
  await seite.focus('#saat');
  await seite.$eval('#saat', function (feld) { feld.select(); });
  await seite.keyboard.type('31337');
  await Promise.all([seite.waitForNavigation(), seite.keyboard.press('Enter')]);
  await bis_bild(seite, 10);
  await seite.click('#teilen');
  const text = await meldung(seite, '^Link copied');
  const ablage = await seite.evaluate('navigator.clipboard.readText()');
  const adresse = seite.url();
  await seite.click('[data-taste=Escape]');
  const e = await ende(seite);
  const bilder = Number(/after (\d+) frames/.exec(e.text)[1]);
  const anders = await h.abweichung(seite, ['--seed', '31337', '--frames', String(bilder)], 'teilen');
  pruefe('link: after growing seed 31337 from the form the address is ?seed=31337',
         new URL(adresse).search === '?seed=31337', adresse);
  pruefe('link: and the run is that seed\'s (the canvas equals the Linux capture)', anders === '', anders);
  pruefe('link: "Copy link" puts the address on the clipboard and says so',
         ablage === adresse && text === 'Link copied: ' + adresse, ablage + ' / ' + text);
  pruefe('link: no console errors', meldungen.length === 0, meldungen.join(' | '));
  await seite.close();
}

function teile(browser, basis) {
  return [
    ['the downloads', function () { return dateien(browser, basis); }],
    ['a download before the first frame', function () { return zu_frueh(browser, basis); }],
    ['the film', function () { return film(browser, basis); }],
    ['the shared seed', function () { return teilen(browser, basis); }],
  ];
}

module.exports = { teile };
