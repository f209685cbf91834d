// The web page in a real browser (Debian's Chromium, headless, through
// puppeteer-core) against a server of its own on 127.0.0.1:
//   node seite_test.js BUILD_WEB LINUX_PROGRAM TMP
// Prints "ok"/"FAIL" per check and exits 1 when one failed.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const { starten, browser_starten } = require('./server.js');
const h = require('./hilfen.js');
const bedienung = require('./bedienung_test.js');
const mitnahme = require('./mitnahme_test.js');

const [webOrdner, programm, tmp] = process.argv.slice(2).map(function (a) { return path.resolve(a); });
h.einrichten(programm, tmp);
const { pruefe, abweichung, ende, neues_ende, pixel, zeilen, zaehlen, bis_bild, weiter, druecken, neue_seite } = h;

async function fester_lauf(browser, basis) {
  const meldungen = [];
  const seite = await neue_seite(browser, meldungen);
  await seite.goto(basis + '?seed=17276&frames=150');
  const e = await ende(seite);
  const anders = await abweichung(seite, ['--seed', '17276', '--frames', '150'], 'fest');
  pruefe('seed 17276, frame 149: the canvas equals the Linux capture', anders === '', anders);
  pruefe('the page loads without console errors', meldungen.length === 0, meldungen.join(' | '));
  pruefe('after the frames, the end is shown with exit code 0 and the frame count',
         e.sichtbar && e.code === 0 && e.text === 'The run ended (exit code 0) after 150 frames.', e.text);
  pruefe('the log is shown', e.protokoll.includes('=========== SPIEL  ENDE ==========='));
  const groesse = await seite.evaluate(async function () {
    const a = document.getElementById('geraet');
    return (await (await fetch(a.href)).arrayBuffer()).byteLength;
  });
  pruefe('device.gra is offered (344,740 bytes)', groesse === 344740, groesse);
  await seite.close();
}

// A scripted run through ?input: the same keys give the same pixels.
const KURZ = '2 down S\n3 up S\n10 down F1\n30 mouse 200 -50 -120\n';
const KURZ_ARGS = ['--seed', '4711', '--frames', '40', '--input', path.join(tmp, 'kurz.txt')];
fs.writeFileSync(KURZ_ARGS[5], KURZ);
async function skript_lauf(browser, basis) {
  const seite = await neue_seite(browser, []);
  await seite.goto(basis + '?seed=4711&frames=40&input=' + encodeURIComponent(KURZ));
  await ende(seite);
  const anders = await abweichung(seite, KURZ_ARGS, 'kurz');
  pruefe('?input: the canvas equals the Linux capture with the same script', anders === '', anders);
  await seite.close();
}

// A script far longer than an address query may be: its events stand among
// hundreds of comment lines.
function langes_skript() {
  const ereignisse = ['5 down S', '6 up S', '12 mouse -300 80 240', '20 down F1'];
  let text = '';
  for (let i = 0; i < 400; i++) {
    text += '# line ' + i + ': a comment that makes the script longer than a server takes in an address\n';
    if (i % 100 === 50) text += ereignisse[i / 100 | 0] + '   # a real event\n';
  }
  return text;
}

// Long scripts go in the fragment, by hand or as a chosen file; the run
// restarts with it and gives the Linux capture's pixels.
async function lange_laeufe(browser, basis) {
  const skript = langes_skript();
  const datei = path.join(tmp, 'lang.txt');
  fs.writeFileSync(datei, skript);
  const args = ['--seed', '4711', '--frames', '40', '--input', datei];
  const seite = await neue_seite(browser, []);
  await seite.goto(basis + '?seed=4711&frames=40#' + new URLSearchParams({ input: skript }));
  let e = await ende(seite);
  let anders = await abweichung(seite, args, 'lang');
  pruefe('#input: a script of ' + skript.length + ' bytes runs, the canvas equals the Linux capture',
         skript.length > 20000 && e.code === 0 && anders === '', e.text + ' ' + anders);

  e = await neues_ende(seite, function () { return seite.click('#nochmal'); });
  anders = await abweichung(seite, args, 'lang');
  pruefe('"Grow again" runs the #input script again', e.code === 0 && anders === '', e.text + ' ' + anders);

  await seite.goto(basis + '?seed=4711&frames=40&input=' + encodeURIComponent(KURZ));
  await ende(seite);
  const wahl = await seite.$('#skriptdatei');
  e = await neues_ende(seite, function () { return wahl.uploadFile(datei); });
  anders = await abweichung(seite, args, 'lang');
  const adresse = new URL(seite.url());
  pruefe('a chosen script file restarts the run with it in place of ?input',
         e.code === 0 && anders === '' && !adresse.searchParams.has('input') &&
         new URLSearchParams(adresse.hash.slice(1)).get('input') === skript,
         e.text + ' ' + anders + ' ' + adresse.search);

  const riesig = path.join(tmp, 'riesig.txt');
  fs.writeFileSync(riesig, skript.repeat(70));
  await (await seite.$('#skriptdatei')).uploadFile(riesig);
  await seite.waitForFunction('document.getElementById("meldung").textContent.includes("too long")', { timeout: 10000 });
  const meldung = await seite.evaluate('document.getElementById("meldung").textContent');
  pruefe('a script file too long for an address is refused, the run stays', seite.url() === adresse.href &&
         /^riesig\.txt is too long: \d+ KB in the address, which holds at most 2048 KB$/.test(meldung), meldung);

  e = await neues_ende(seite, function () {
    return seite.evaluate(function (h) { location.hash = h; }, String(new URLSearchParams({ input: KURZ })));
  });
  anders = await abweichung(seite, KURZ_ARGS, 'kurz');
  pruefe('a new #input typed into the address restarts the run with it', e.code === 0 && anders === '',
         e.text + ' ' + anders);
  await seite.close();
}

// What went wrong is said in the address's terms, not the launcher's.
async function fehler_laeufe(browser, basis) {
  const seite = await neue_seite(browser, []);
  const faelle = [
    ['?seed=abc', "?seed= needs a whole number from 0 to 4294967295, not 'abc'"],
    ['?seed=1&frames=0', "?frames= needs a whole number from 1 to 4294967295, not '0'"],
    ['?seed=1&input=' + encodeURIComponent('1 down S\n3 down --seed\n'),
     "the input script (?input), line 2: unknown key '--seed'"],
    ['?seed=1#input=' + encodeURIComponent('# keys\n\n7 press S\n'),
     "the input script (#input), line 3: unknown event 'press' (down, up, mouse or focus)"],
    ['?seed=1&input=1+down+S#input=1+down+S', 'the input script comes once, as ?input or as #input, not both'],
  ];
  for (const [adresse, grund] of faelle) {
    await seite.goto(basis + adresse);
    const e = await ende(seite);
    const erwartet = 'The run did not start: ' + grund + ' (exit code 2).';
    pruefe(adresse.slice(0, 40) + ': the end says why in the page\'s terms and offers no device.gra',
           e.code === 2 && e.text === erwartet && e.links === 'Grow again',
           'saw "' + e.text + '" and "' + e.links + '", wanted "' + erwartet + '" and "Grow again"');
  }
  await seite.close();
}

// Headless without ?frames, the run ends by itself after one full growth,
// says so, and counts the frames it presented though it drew none.
async function headless_lauf(browser, basis) {
  const seite = await neue_seite(browser, []);
  await seite.goto(basis + '?headless&seed=5');
  const e = await ende(seite);
  pruefe('?headless: the run ends by itself after 150 frames',
         e.code === 0 && e.text === 'The run ended (exit code 0) after 150 frames.', e.text);
  pruefe('?headless: the page says it runs one full growth',
         e.meldung === 'headless without ?frames=: one full growth, 150 frames', e.meldung);
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

function abrufen(port, pfad) {
  return new Promise(function (fertig, fehlschlag) {
    http.get({ host: '127.0.0.1', port: port, path: pfad }, function (antwort) {
      antwort.resume();
      antwort.on('end', function () { fertig({ status: antwort.statusCode, art: antwort.headers['content-type'] }); });
    }).on('error', fehlschlag);
  });
}

// A bad address is answered and the server keeps serving.
async function server_pruefen(port) {
  const faelle = [['/%', 400], ['/%zz', 400], ['/..%2f..%2fetc/passwd', 403], ['/../../etc/passwd', 403],
                  ['/nicht-da.js', 404]];
  for (const [pfad, erwartet] of faelle) {
    const schlecht = await abrufen(port, pfad);
    const danach = await abrufen(port, '/');
    pruefe('server: ' + pfad + ' gets ' + erwartet + ', the next request 200',
           schlecht.status === erwartet && danach.status === 200, schlecht.status + ', then ' + danach.status);
  }
  const wasm = await abrufen(port, '/borkwerk.wasm');
  pruefe('server: borkwerk.wasm comes as application/wasm', wasm.status === 200 && wasm.art === 'application/wasm',
         wasm.status + ' ' + wasm.art);
}

(async function () {
  const server = await starten(path.resolve(webOrdner));
  const port = server.address().port;
  const basis = 'http://127.0.0.1:' + port + '/';
  const browser = await browser_starten(['--disable-background-timer-throttling',
                                         '--disable-renderer-backgrounding']);
  // Each part on its own: one that throws is a failure, and the rest run.
  const teile = [
    ['the server', function () { return server_pruefen(port); }],
    ['the fixed run', function () { return fester_lauf(browser, basis); }],
    ['the scripted run', function () { return skript_lauf(browser, basis); }],
    ['the long scripts', function () { return lange_laeufe(browser, basis); }],
    ['the runs that do not start', function () { return fehler_laeufe(browser, basis); }],
    ['the headless run', function () { return headless_lauf(browser, basis); }],
    ['the live page', function () { return live_lauf(browser, basis); }],
    ...bedienung.teile(browser, basis),
    ...mitnahme.teile(browser, basis, webOrdner),
  ];
  try {
    for (const [name, teil] of teile) {
      try {
        await teil();
      } catch (e) {
        pruefe('the browser test ran through ' + name, false, e.message);
      }
    }
  } finally {
    await browser.close();
    server.close();
  }
  process.exit(h.umgebung.fehler);
})();
