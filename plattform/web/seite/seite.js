// The page around the program: turns the address's parameters into the
// launcher's options, shows each frame on the canvas and, when the run
// ends, its log and device file. What the user does on the page (keys,
// mouse, touch, buttons, downloads) is bedienung.js's.
//   ?seed=N      the clock starts at N (default: the time of day), as --seed
//   ?frames=N    the run ends after N frames, as --frames
//   ?input=TEXT  scripted keys and mouse by frame, as --input's file; the
//                query goes to the server, which refuses a long one
//   #input=TEXT  the same in the fragment, which stays in the browser: long
//                scripts, and a script file chosen on the page, go there
//   ?headless    no canvas and no pacing: frames as fast as they go
'use strict';

var Module = (function () {
  const p = new URLSearchParams(location.search);
  const fragment = new URLSearchParams(location.hash.slice(1));
  const canvas = document.getElementById('bild');
  // Opaque: the compositor need not blend the picture.
  const zeichner = canvas.getContext('2d', { alpha: false });
  const saat = p.has('seed') ? p.get('seed') : String(Date.now() % 4294967296);
  document.getElementById('saat').value = saat;
  // The address always names the tree's seed, so that it can be shared.
  if (!p.has('seed')) {
    const adresse = new URL(location.href);
    adresse.searchParams.set('seed', saat);
    history.replaceState(null, '', adresse);
  }

  const DATEI = '/eingabe.txt';
  const quelle = fragment.has('input') ? '#input' : '?input';
  const skript = fragment.has('input') ? fragment.get('input') : p.get('input');
  const doppelt = p.has('input') && fragment.has('input');

  const args = ['--seed', saat];
  if (p.has('frames')) args.push('--frames', p.get('frames'));
  if (skript !== null) args.push('--input', DATEI);
  if (p.has('headless')) args.push('--headless');

  // The program's texts name the launcher's options and the file the page
  // wrote the script to, but the user typed address parameters. What the
  // texts quote is the user's own and stays as it was.
  const parameter = { seed: '?seed=', frames: '?frames=', input: quelle, headless: '?headless' };
  const datei = new RegExp(DATEI.replace(/\./g, '\\.') + '(?::(\\d+):)?', 'g');
  function fuer_seite(text) {
    return text.split(/('[^']*')/).map(function (teil, i) {
      if (i % 2) return teil;
      return teil
        .replace(datei, function (_, zeile) {
          return 'the input script (' + quelle + ')' + (zeile ? ', line ' + zeile + ':' : '');
        })
        .replace(/--(seed|frames|input|headless)\b/g, function (_, option) { return parameter[option]; });
    }).join('');
  }
  function melden(text) {
    document.getElementById('meldung').textContent = text;
  }

  const modul = {
    arguments: args,
    canvas: canvas,
    // The program's message pump takes its input events and the page's
    // requests from here (bedienung.js fills it).
    borkwerkEreignisse: [],
    borkwerkBilder: 0,
    borkwerkSaat: saat,
    borkwerkMelden: melden,
    // Two scripts would leave one of them unread without a word.
    noInitialRun: doppelt,
    preRun: [function () {
      if (skript !== null) FS.writeFile(DATEI, skript);
      modul.borkwerkBeginn = performance.now();
    }],
    postRun: [function () {
      if (doppelt) modul.borkwerkEnde(2, 'the input script comes once, as ?input or as #input, not both', 0);
    }],
    print: function (text) { console.log(text); },
    printErr: function (text) { console.error(text); },
    borkwerkBild: function (rgba, breite, hoehe) {
      if (canvas.width !== breite || canvas.height !== hoehe) {
        canvas.width = breite;
        canvas.height = hoehe;
      }
      zeichner.putImageData(new ImageData(rgba, breite, hoehe), 0, 0);
      modul.borkwerkBilder++;
      if (modul.borkwerkGezeigt) modul.borkwerkGezeigt();
    },
    borkwerkMeldung: function (titel, text) {
      melden(titel + ': ' + fuer_seite(text));
      console.error(titel + ': ' + text);
    },
    borkwerkHinweis: function (text) {
      melden(fuer_seite(text));
      console.log(text);
    },
    borkwerkEnde: function (code, meldung, bilder) {
      modul.borkwerkDauer = performance.now() - modul.borkwerkBeginn;
      document.exitPointerLock();
      let protokoll = '';
      try { protokoll = FS.readFile('/Protokoll.txt', { encoding: 'utf8' }); } catch (e) { }
      document.getElementById('protokoll').textContent = protokoll;
      document.getElementById('endetext').textContent = meldung
        ? 'The run did not start: ' + fuer_seite(meldung) + ' (exit code ' + code + ').'
        : 'The run ended (exit code ' + code + ') after ' + bilder + (bilder === 1 ? ' frame.' : ' frames.');
      const link = document.getElementById('geraet');
      try {
        const daten = FS.readFile('/device.gra');
        link.href = URL.createObjectURL(new Blob([daten], { type: 'application/octet-stream' }));
      } catch (e) {
        document.getElementById('geraetteil').hidden = true;
      }
      document.getElementById('ende').hidden = false;
      modul.borkwerkCode = code;
      if (modul.borkwerkBeendet) modul.borkwerkBeendet();
    },
  };

  // The fragment is part of the run, but a new fragment loads no page, and
  // a link to this very address would only move to it: both reload.
  window.addEventListener('hashchange', function () { location.reload(); });
  document.getElementById('nochmal').addEventListener('click', function (e) {
    e.preventDefault();
    location.reload();
  });

  // A chosen script file runs the same run again with it, carried as
  // #input; Chromium opens no address longer than 2 MB.
  const ADRESSE_HOECHSTENS = 2 * 1024 * 1024;
  document.getElementById('skriptdatei').addEventListener('change', async function (e) {
    const gewaehlt = e.target.files[0];
    if (!gewaehlt) return;
    const ziel = new URL(location.href);
    ziel.searchParams.delete('input');
    ziel.searchParams.set('seed', saat);
    ziel.hash = new URLSearchParams({ input: await gewaehlt.text() }).toString();
    if (ziel.href.length > ADRESSE_HOECHSTENS) {
      melden(gewaehlt.name + ' is too long: ' + Math.ceil(ziel.href.length / 1024) +
             ' KB in the address, which holds at most 2048 KB');
      return;
    }
    history.pushState(null, '', ziel);
    location.reload();
  });

  return modul;
})();
