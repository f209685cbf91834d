// What the user does on the page, in the program's own terms: keys, mouse,
// touch and the key buttons become input events; the take-home buttons
// become requests to the program or take the canvas; the seed is shared by
// link. Everything the program is to hear goes through one queue, which
// its message pump empties each frame (seite.js's Module).
//   queue entries: art 1 a key (an: down, code: KeyboardEvent.code),
//   2 mouse motion (a, b) and wheel (c, 120 a notch), 3 the focus (an:
//   gained), 4 a request for a file (code: 'baum' or 'wachstum').
'use strict';

(function (Module) {
  const canvas = Module.canvas;
  const schlange = Module.borkwerkEreignisse;
  const melden = Module.borkwerkMelden;
  const saat = Module.borkwerkSaat;
  const ohneBild = new URLSearchParams(location.search).has('headless');

  // The program reads the keyboard once a frame, so a key that went down
  // and up before the next read would be missed: its up waits for the next
  // frame, and so does everything after it, to keep the order.
  const untenSeit = new Map();
  let spaeter = [];
  function einreihen(e) {
    const bild = Module.borkwerkBilder;
    if (spaeter.length || (e.art === 1 && !e.an && untenSeit.get(e.code) === bild)) {
      spaeter.push(e);
      return;
    }
    if (e.art === 1 && e.an) untenSeit.set(e.code, bild);
    schlange.push(e);
    if (e.dann) e.dann(bild);
  }

  let film = null;
  Module.borkwerkGezeigt = function () {
    const warten = spaeter;
    spaeter = [];
    warten.forEach(einreihen);
    if (film) film.weiter();
  };

  // Keys go by their place on the keyboard (KeyboardEvent.code). Typing in
  // a field stays with the field, a button's own Enter and Space press the
  // button, and Tab moves the focus as always.
  function taste(an) {
    return function (e) {
      const ziel = e.target;
      if (ziel instanceof HTMLInputElement || ziel instanceof HTMLTextAreaElement) return;
      if (ziel instanceof HTMLButtonElement && /^(Enter|NumpadEnter|Space)$/.test(e.code)) return;
      if (e.code !== 'Tab') e.preventDefault();
      if (!e.repeat) einreihen({ art: 1, an: an, code: e.code });
    };
  }
  window.addEventListener('keydown', taste(1));
  window.addEventListener('keyup', taste(0));
  window.addEventListener('focus', function () { einreihen({ art: 3, an: 1 }); });
  window.addEventListener('blur', function () { einreihen({ art: 3, an: 0 }); });

  // Motion in whole units as a mouse gives them, the fractions carried on.
  let restX = 0, restY = 0, restRad = 0;
  function bewegen(dx, dy) {
    restX += dx;
    restY += dy;
    const x = Math.trunc(restX), y = Math.trunc(restY);
    restX -= x;
    restY -= y;
    if (x || y) einreihen({ art: 2, a: x, b: y });
  }
  function rad(kerbenTeil) {
    restRad += kerbenTeil;
    const kerben = Math.trunc(restRad);
    restRad -= kerben;
    if (kerben) einreihen({ art: 2, c: kerben * 120 });
  }

  // A mouse orbits with the pointer locked to the picture (a click locks
  // it); where there is no lock (touch, a pen, a refused lock), dragging
  // over the picture turns the camera by the same CSS pixels, and two
  // fingers zoom: twice their distance apart is eight notches nearer.
  const KERBEN_JE_VERDOPPLUNG = 8;
  const gesperrt = function () { return document.pointerLockElement === canvas; };
  document.addEventListener('mousemove', function (e) {
    if (gesperrt()) einreihen({ art: 2, a: e.movementX, b: e.movementY });
  });
  const zeiger = new Map();
  let abstand = 0;
  function fingerabstand() {
    if (zeiger.size !== 2) return 0;
    const [p, q] = zeiger.values();
    return Math.hypot(p.x - q.x, p.y - q.y);
  }
  canvas.addEventListener('pointerdown', function (e) {
    if (e.button !== 0 || gesperrt()) return;
    if (e.pointerType === 'mouse' && canvas.requestPointerLock) {
      const sperre = canvas.requestPointerLock();
      if (sperre && sperre.catch) sperre.catch(function () { });
    }
    canvas.setPointerCapture(e.pointerId);
    zeiger.set(e.pointerId, { x: e.clientX, y: e.clientY });
    abstand = fingerabstand();
    e.preventDefault();
  });
  canvas.addEventListener('pointermove', function (e) {
    const z = zeiger.get(e.pointerId);
    if (!z || gesperrt()) return;
    const dx = e.clientX - z.x, dy = e.clientY - z.y;
    z.x = e.clientX;
    z.y = e.clientY;
    if (zeiger.size === 1) bewegen(dx, dy);
    if (zeiger.size !== 2) return;
    const neu = fingerabstand();
    if (abstand > 0 && neu > 0) rad(KERBEN_JE_VERDOPPLUNG * Math.log2(neu / abstand));
    abstand = neu;
  });
  function loslassen(e) {
    if (!zeiger.delete(e.pointerId)) return;
    abstand = fingerabstand();
    if (zeiger.size === 0) restX = restY = restRad = 0;
  }
  canvas.addEventListener('pointerup', loslassen);
  canvas.addEventListener('pointercancel', loslassen);
  // A notch is 100 pixels or 3 lines; a short turn of a fine wheel still
  // counts once it is half a notch.
  let kerbenRest = 0;
  canvas.addEventListener('wheel', function (e) {
    e.preventDefault();
    kerbenRest -= e.deltaMode === 1 ? e.deltaY / 3 : e.deltaMode === 2 ? e.deltaY : e.deltaY / 100;
    const kerben = Math.trunc(kerbenRest) ||
      (e.deltaY !== 0 && Math.abs(kerbenRest) >= 0.5 ? Math.sign(kerbenRest) : 0);
    kerbenRest -= kerben;
    if (kerben) einreihen({ art: 2, c: kerben * 120 });
  }, { passive: false });

  // The key buttons: down while pressed by a pointer, Enter or Space; a
  // press without either (assistive technology) is a tap.
  for (const knopf of document.querySelectorAll('[data-taste]')) {
    const code = knopf.dataset.taste;
    let unten = false;
    const runter = function () {
      if (unten) return;
      unten = true;
      einreihen({ art: 1, an: 1, code: code });
    };
    const hoch = function () {
      if (!unten) return;
      unten = false;
      einreihen({ art: 1, an: 0, code: code });
    };
    knopf.addEventListener('pointerdown', function (e) {
      if (e.button !== 0) return;
      knopf.setPointerCapture(e.pointerId);
      runter();
    });
    for (const ende of ['pointerup', 'pointercancel', 'lostpointercapture', 'blur']) knopf.addEventListener(ende, hoch);
    knopf.addEventListener('keydown', function (e) {
      if (!/^(Enter|NumpadEnter|Space)$/.test(e.code)) return;
      e.preventDefault();
      if (!e.repeat) runter();
    });
    knopf.addEventListener('keyup', function (e) {
      if (!/^(Enter|NumpadEnter|Space)$/.test(e.code)) return;
      e.preventDefault();
      hoch();
    });
    knopf.addEventListener('click', function (e) {
      if (e.detail !== 0 || unten) return;
      runter();
      hoch();
    });
    knopf.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  }

  // Downloads are named by seed and frame, so that the desktop program
  // makes the same file again: --seed SEED --frames FRAME+1.
  const zuletzt = {};
  function anbieten(art, blob, name) {
    if (zuletzt[art]) URL.revokeObjectURL(zuletzt[art]);
    zuletzt[art] = URL.createObjectURL(blob);
    const a = document.createElement('a');
    a.href = zuletzt[art];
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
  }
  function name(was, bild, endung) {
    return 'borkwerk-' + saat + '-' + was + '-' + bild + endung;
  }

  // The tree and its growth come from the program's exporter, asked in its
  // message pump: the page never calls into the program while it sleeps.
  const dateien = {
    baum: { knopf: document.getElementById('baumdatei'), was: 'frame', text: 'the tree' },
    wachstum: { knopf: document.getElementById('wachstumsdatei'), was: 'growth', text: 'the growth' },
  };
  for (const art of Object.keys(dateien)) {
    const d = dateien[art];
    d.knopf.addEventListener('click', function () {
      d.knopf.disabled = true;
      melden('Writing ' + d.text + '...');
      schlange.push({ art: 4, code: art });
    });
  }
  Module.borkwerkDatei = function (art, pfad, bilder, fehler) {
    const d = dateien[art];
    const datei = name(d.was, bilder - 1, '.glb');
    d.knopf.disabled = Module.borkwerkCode !== undefined;
    if (fehler) {
      melden('No file of ' + d.text + ': ' + (bilder ? fehler.split(pfad).join(datei) : 'the program has shown no frame yet'));
      return;
    }
    const daten = FS.readFile(pfad);
    FS.unlink(pfad);
    anbieten(art, new Blob([daten], { type: 'model/gltf-binary' }), datei);
    melden('Saved ' + datei + ' (' + Math.ceil(daten.length / 1024) + ' KB)');
  };

  // The picture is the canvas's: the program's pixels, in the browser's PNG.
  document.getElementById('bilddatei').addEventListener('click', function () {
    const bild = Module.borkwerkBilder - 1;
    if (bild < 0) {
      melden('No picture yet: the program has shown no frame');
      return;
    }
    const datei = name('frame', bild, '.png');
    canvas.toBlob(function (blob) {
      if (!blob) {
        melden('The browser could not make ' + datei);
        return;
      }
      anbieten('bild', blob, datei);
      melden('Saved ' + datei);
    }, 'image/png');
  });

  // The film: the canvas as the browser's encoder records it, each frame
  // the program shows, from the frame of a regrow (a tap of R) to the grown
  // tree 132 frames later. It starts once that frame is on the canvas and
  // stops two frames after the grown one, so the encoder surely took that.
  // The run's frames are paced to real time, so the film plays at the
  // program's speed.
  const GEWACHSEN = 132;
  const filmKnopf = document.getElementById('film');
  const filmLink = document.getElementById('filmdatei');
  const filmText = filmKnopf.textContent;
  function film_anbieten(teile, typ, zusatz) {
    const blob = new Blob(teile, { type: typ });
    if (filmLink.href) URL.revokeObjectURL(filmLink.href);
    filmLink.href = URL.createObjectURL(blob);
    filmLink.download = 'borkwerk-' + saat + '-growth.webm';
    filmLink.hidden = false;
    melden('The film is ready (' + Math.ceil(blob.size / 1024) + ' KB)' + zusatz + ': ' + filmLink.textContent);
  }
  function webm() {
    if (typeof MediaRecorder === 'undefined' || !canvas.captureStream) return undefined;
    return ['video/webm;codecs=vp9', 'video/webm;codecs=vp8', 'video/webm'].find(function (t) {
      return MediaRecorder.isTypeSupported(t);
    });
  }
  filmKnopf.addEventListener('click', function () {
    const typ = webm();
    if (!typ) {
      melden('This browser cannot record the canvas as WebM');
      return;
    }
    const strom = canvas.captureStream();
    const aufnahme = new MediaRecorder(strom, { mimeType: typ });
    const teile = [];
    let zusatz = '';
    aufnahme.ondataavailable = function (e) { if (e.data.size) teile.push(e.data); };
    aufnahme.onstop = function () {
      strom.getTracks().forEach(function (t) { t.stop(); });
      filmKnopf.textContent = filmText;
      filmKnopf.disabled = Module.borkwerkCode !== undefined;
      film_anbieten(teile, typ, zusatz);
    };
    aufnahme.onerror = function (e) {
      zusatz = ', cut short: ' + (e.error ? e.error.message : 'the encoder failed');
    };
    let von;
    const aufhoeren = function () {
      film = null;
      if (aufnahme.state !== 'inactive') aufnahme.stop();
    };
    film = {
      weiter: function () {
        if (von === undefined) return;
        const alter = Module.borkwerkBilder - 1 - von;
        if (alter === 0) aufnahme.start();
        filmKnopf.textContent = 'Recording... ' + Math.min(alter, GEWACHSEN) + '/' + GEWACHSEN;
        if (alter > GEWACHSEN + 1) aufhoeren();
      },
      beenden: function () {
        zusatz = ', cut short by the end of the run';
        if (aufnahme.state === 'inactive') {
          strom.getTracks().forEach(function (t) { t.stop(); });
          filmKnopf.textContent = filmText;
          melden('The run ended before the recording began');
          film = null;
          return;
        }
        aufhoeren();
      },
    };
    filmKnopf.disabled = true;
    filmLink.hidden = true;
    melden('Recording the growth: a new tree, until it is grown');
    einreihen({ art: 1, an: 1, code: 'KeyR', dann: function (bild) { von = bild; } });
    einreihen({ art: 1, an: 0, code: 'KeyR' });
  });

  // The address carries the seed (seite.js keeps it there).
  document.getElementById('teilen').addEventListener('click', function () {
    const link = location.href;
    if (!navigator.clipboard) {
      melden('This page may not write the clipboard here; the link is ' + link);
      return;
    }
    navigator.clipboard.writeText(link).then(function () {
      melden('Link copied: ' + link);
    }, function (e) {
      melden('The link could not be copied (' + e.message + '); it is ' + link);
    });
  });

  // Once the run has ended, nothing is left to ask the program; a headless
  // run draws no picture to take.
  const ablauf = document.querySelectorAll('[data-taste], #baumdatei, #wachstumsdatei, #film');
  Module.borkwerkBeendet = function () {
    ablauf.forEach(function (k) { k.disabled = true; });
    if (film) film.beenden();
  };
  if (ohneBild) {
    ablauf.forEach(function (k) { k.disabled = true; });
    document.getElementById('bilddatei').disabled = true;
  }
})(Module);
