// The page around the program: turns the address's parameters into the
// launcher's options, queues the browser's events for the program's message
// pump, shows each frame on the canvas and, when the run ends, its log and
// device file.
//   ?seed=N      the clock starts at N (default: the time of day), as --seed
//   ?frames=N    the run ends after N frames, as --frames
//   ?input=TEXT  scripted keys and mouse by frame, as --input's file
//   ?headless    no canvas and no pacing: frames as fast as they go
'use strict';

var Module = (function () {
  const p = new URLSearchParams(location.search);
  const canvas = document.getElementById('bild');
  // Opaque: the compositor need not blend the picture.
  const zeichner = canvas.getContext('2d', { alpha: false });
  const saat = p.has('seed') ? p.get('seed') : String(Date.now() % 4294967296);
  document.getElementById('saat').value = saat;

  const args = ['--seed', saat];
  if (p.has('frames')) args.push('--frames', p.get('frames'));
  if (p.has('input')) args.push('--input', '/eingabe.txt');
  if (p.has('headless')) args.push('--headless');

  const ereignisse = [];
  const modul = {
    arguments: args,
    canvas: canvas,
    borkwerkEreignisse: ereignisse,
    borkwerkBilder: 0,
    preRun: [function () {
      if (p.has('input')) FS.writeFile('/eingabe.txt', p.get('input'));
      modul.borkwerkBeginn = performance.now();
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
    },
    borkwerkMeldung: function (titel, text) {
      document.getElementById('meldung').textContent = titel + ': ' + text;
      console.error(titel + ': ' + text);
    },
    borkwerkEnde: function (code, meldung) {
      modul.borkwerkDauer = performance.now() - modul.borkwerkBeginn;
      document.exitPointerLock();
      let protokoll = '';
      try { protokoll = FS.readFile('/Protokoll.txt', { encoding: 'utf8' }); } catch (e) { }
      document.getElementById('protokoll').textContent = protokoll;
      document.getElementById('endetext').textContent = meldung
        ? 'The run did not start: ' + meldung + ' (exit code ' + code + ').'
        : 'The run ended (exit code ' + code + ') after ' + modul.borkwerkBilder + ' frames.';
      const link = document.getElementById('geraet');
      try {
        const daten = FS.readFile('/device.gra');
        link.href = URL.createObjectURL(new Blob([daten], { type: 'application/octet-stream' }));
      } catch (e) {
        link.hidden = true;
      }
      document.getElementById('ende').hidden = false;
      modul.borkwerkCode = code;
    },
  };

  // The queue holds the program's input events: art 1 a key (an: down),
  // 2 mouse motion (a, b) and wheel (c), 3 the focus (an: gained).
  // Keys go by their place on the keyboard (KeyboardEvent.code). Typing in
  // the seed field stays with the field.
  function taste(an) {
    return function (e) {
      if (e.target instanceof HTMLInputElement) return;
      e.preventDefault();
      if (!e.repeat) ereignisse.push({ art: 1, an: an, code: e.code });
    };
  }
  window.addEventListener('keydown', taste(1));
  window.addEventListener('keyup', taste(0));
  // Relative movement needs the pointer locked to the picture.
  canvas.addEventListener('click', function () { canvas.requestPointerLock(); });
  document.addEventListener('mousemove', function (e) {
    if (document.pointerLockElement === canvas) ereignisse.push({ art: 2, a: e.movementX, b: e.movementY });
  });
  // 120 a notch, away from the user positive; a notch is 100 pixels or 3 lines.
  let rest = 0;
  canvas.addEventListener('wheel', function (e) {
    e.preventDefault();
    rest -= e.deltaMode === 1 ? e.deltaY / 3 : e.deltaMode === 2 ? e.deltaY : e.deltaY / 100;
    const kerben = Math.trunc(rest) || (e.deltaY !== 0 && Math.abs(rest) >= 0.5 ? Math.sign(rest) : 0);
    rest -= kerben;
    if (kerben) ereignisse.push({ art: 2, c: kerben * 120 });
  }, { passive: false });
  window.addEventListener('focus', function () { ereignisse.push({ art: 3, an: 1 }); });
  window.addEventListener('blur', function () { ereignisse.push({ art: 3, an: 0 }); });
  return modul;
})();
