// The page without a keyboard or a mouse, on a phone's touch screen: a
// finger's drag turns the camera and two fingers zoom, as the same motion
// scripted for the Linux program does; the key buttons do what their keys
// do, by touch and by keyboard focus; and at a phone's sizes the whole
// picture and every control fit the screen.
'use strict';
const h = require('./hilfen.js');
const { pruefe, abweichung, ende, bis_bild, weiter, neue_seite, mitschreiben, mitschrift, als_skript } = h;

const HOCH = { width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 1 };
const QUER = { width: 844, height: 390, isMobile: true, hasTouch: true, deviceScaleFactor: 1 };

function summe(eintraege, feld) {
  return eintraege.reduce(function (n, e) { return n + (e.art === 2 ? e[feld] | 0 : 0); }, 0);
}

// A run of the phone's page for nBilder frames with what tun does on it,
// then the canvas against the Linux capture of the same seed with what the
// page queued, frame by frame, as the script.
async function beruehrt(browser, basis, name, nBilder, tun) {
  const meldungen = [];
  const seite = await neue_seite(browser, meldungen, HOCH);
  await seite.goto(basis + '?seed=4711&frames=' + nBilder);
  await bis_bild(seite, 1);
  await mitschreiben(seite);
  await tun(seite);
  const e = await ende(seite);
  const eintraege = await mitschrift(seite);
  const args = ['--seed', '4711', '--frames', String(nBilder)];
  const anders = await abweichung(seite, args, name, als_skript(eintraege));
  const ohne = await abweichung(seite, args, name + '-ohne');
  await seite.close();
  return { e, eintraege, anders, ohne, meldungen };
}

async function mitte(seite, auswahl) {
  const b = await (await seite.$(auswahl)).boundingBox();
  return { x: b.x + b.width / 2, y: b.y + b.height / 2 };
}

// One finger: 120 CSS pixels right and 30 down in twelve moves, which the
// program gets as mouse motion of the same units.
async function ziehen(browser, basis) {
  const r = await beruehrt(browser, basis, 'ziehen', 60, async function (seite) {
    await bis_bild(seite, 15);
    const m = await mitte(seite, '#bild');
    const finger = await seite.touchscreen.touchStart(m.x - 60, m.y);
    for (let k = 1; k <= 12; k++) await finger.move(m.x - 60 + 10 * k, m.y + 2.5 * k);
    await finger.end();
  });
  const dx = summe(r.eintraege, 'a'), dy = summe(r.eintraege, 'b'), rad = summe(r.eintraege, 'c');
  pruefe('touch: a one-finger drag of 120 x 30 CSS pixels is mouse motion of 120 x 30, no wheel',
         dx === 120 && dy === 30 && rad === 0, dx + ' x ' + dy + ', wheel ' + rad);
  pruefe('touch: the drag turns the camera as the same motion scripted through --input does',
         r.anders === '' && r.ohne !== '' && r.e.code === 0, r.anders + ' / without it: ' + (r.ohne || 'the same'));
  pruefe('touch: the drag makes no console errors', r.meldungen.length === 0, r.meldungen.join(' | '));
}

// Two fingers 100 pixels apart spread to 230: 8 notches a doubling makes
// 9.6, so 9 notches (1080) nearer, and no turn.
async function kneifen(browser, basis) {
  const r = await beruehrt(browser, basis, 'kneifen', 60, async function (seite) {
    await bis_bild(seite, 15);
    const m = await mitte(seite, '#bild');
    const links = await seite.touchscreen.touchStart(m.x - 50, m.y);
    const rechts = await seite.touchscreen.touchStart(m.x + 50, m.y);
    for (let k = 1; k <= 13; k++) {
      await links.move(m.x - 50 - 5 * k, m.y);
      await rechts.move(m.x + 50 + 5 * k, m.y);
    }
    await links.end();
    await rechts.end();
  });
  const rad = summe(r.eintraege, 'c'), dx = summe(r.eintraege, 'a'), dy = summe(r.eintraege, 'b');
  pruefe('touch: spreading two fingers from 100 to 230 pixels is 9 notches nearer (wheel 1080), no turn',
         rad === 1080 && dx === 0 && dy === 0, 'wheel ' + rad + ', ' + dx + ' x ' + dy);
  pruefe('touch: the pinch zooms as the same wheel scripted through --input does',
         r.anders === '' && r.ohne !== '' && r.e.code === 0, r.anders + ' / without it: ' + (r.ohne || 'the same'));
}

function tasten(eintraege, code) {
  return eintraege.filter(function (e) { return e.art === 1 && e.code === code; });
}

// Regrow and Shading tapped, Keys held to the end: the same keys in the
// same frames as a script give the same picture, and a tap's key is up
// only from a later frame than its down, so the program's read saw it.
async function knoepfe(browser, basis) {
  let hilfe = null;
  const r = await beruehrt(browser, basis, 'knoepfe', 70, async function (seite) {
    await bis_bild(seite, 10);
    const n = await mitte(seite, '[data-taste=KeyR]');
    await seite.touchscreen.tap(n.x, n.y);
    await bis_bild(seite, 30);
    const s = await mitte(seite, '[data-taste=KeyS]');
    await seite.touchscreen.tap(s.x, s.y);
    await bis_bild(seite, 50);
    const k = await mitte(seite, '[data-taste=F1]');
    const finger = await seite.touchscreen.touchStart(k.x, k.y);
    await weiter(seite, 3);
    hilfe = await h.zeilen(seite);
    await ende(seite);
    await finger.end();
  });
  const taps = ['KeyR', 'KeyS'].map(function (c) { return tasten(r.eintraege, c); });
  const gehalten = tasten(r.eintraege, 'F1');
  pruefe('buttons: a tap of Regrow and of Shading is its key down, then up a frame or more later',
         taps.every(function (t) { return t.length === 2 && t[0].an === 1 && t[1].an === 0 && t[1].bild > t[0].bild; }),
         JSON.stringify(taps));
  pruefe('buttons: Keys held is F1 down until the finger leaves', gehalten.length >= 1 && gehalten[0].an === 1 &&
         gehalten.slice(1).every(function (e) { return e.bild >= 69; }), JSON.stringify(gehalten));
  pruefe('buttons: Keys held shows the help lines', hilfe && hilfe.hilfe > 100, hilfe && hilfe.hilfe);
  pruefe('buttons: Regrow, Shading and Keys give the pictures of R, S and F1 in the same frames',
         r.anders === '' && r.ohne !== '', r.anders + ' / without them: ' + (r.ohne || 'the same'));
}

// By keyboard focus: Space on Shading and Enter held on Keys press those
// buttons, not the program's Space (which would regrow); Tab moves the
// focus; a press without pointer or key (assistive technology) on End ends
// the run. Every control has a name.
async function fokus(browser, basis) {
  const meldungen = [];
  const seite = await neue_seite(browser, meldungen);
  await seite.goto(basis + '?seed=4711');
  await bis_bild(seite, 5);
  await mitschreiben(seite);
  const vorher = await h.zeilen(seite);
  await seite.focus('[data-taste=KeyS]');
  await seite.keyboard.press('Space');
  await weiter(seite, 3);
  const flach = await h.zeilen(seite);
  await seite.focus('[data-taste=F1]');
  await seite.keyboard.down('Enter');
  await weiter(seite, 3);
  const hilfe = await h.zeilen(seite);
  await seite.keyboard.up('Enter');
  await weiter(seite, 3);
  const ohne = await h.zeilen(seite);
  await seite.keyboard.press('Tab');
  await weiter(seite, 2);
  const fokusNach = await seite.evaluate('document.activeElement.dataset.taste');
  const codes = (await mitschrift(seite)).filter(function (e) { return e.art === 1; })
    .map(function (e) { return e.code + (e.an ? '+' : '-'); }).join(' ');
  pruefe('focus: Space on Shading flips the shading, Enter held on Keys shows the help while held',
         flach.schattierung !== vorher.schattierung && hilfe.hilfe > 100 && ohne.hilfe === 0,
         'help ' + hilfe.hilfe + ', then ' + ohne.hilfe);
  pruefe('focus: the program heard only the buttons\' keys and Tab', codes === 'KeyS+ KeyS- F1+ F1- Tab+ Tab-', codes);
  pruefe('focus: Tab moves on from Keys to End', fokusNach === 'Escape', fokusNach);

  const baum = await seite.accessibility.snapshot();
  const namen = [];
  (function sammeln(k) {
    if (k.role === 'button' || k.role === 'link' || k.role === 'textbox') namen.push(k.name);
    (k.children || []).forEach(sammeln);
  })(baum);
  const erwartet = ['Regrow', 'Shading', 'Keys', 'End', 'Download tree (.glb)', 'Download growth (.glb)',
                    'Save picture (.png)', 'Record the growth', 'Copy link', 'Seed', 'Grow'];
  pruefe('focus: every control has its accessible name',
         erwartet.every(function (n) { return namen.includes(n); }), namen.join(', '));

  await seite.evaluate('document.querySelector("[data-taste=Escape]").click()');
  const e = await ende(seite);
  pruefe('focus: End pressed by assistive technology ends the run', e.code === 0 && e.sichtbar, e.text);
  pruefe('focus: no console errors', meldungen.length === 0, meldungen.join(' | '));
  await seite.close();
}

// Each control, and the whole picture in its own shape, inside the screen,
// not covered by anything else; the page itself never scrolls.
async function passen(browser, basis, ansicht, name) {
  const seite = await neue_seite(browser, [], ansicht);
  await seite.goto(basis + '?seed=4711');
  await bis_bild(seite, 2);
  const r = await seite.evaluate(function () {
    const w = innerWidth, hoehe = innerHeight, draussen = [];
    const auswahl = 'button, input, a, label, #bild';
    for (const el of document.querySelectorAll(auswahl)) {
      if (el.closest('[hidden]') || el.getClientRects().length === 0) continue;
      const b = el.getBoundingClientRect();
      const oben = document.elementFromPoint(b.left + b.width / 2, b.top + b.height / 2);
      if (b.left < 0 || b.top < 0 || b.right > w || b.bottom > hoehe || !oben || !(el.contains(oben) || oben.contains(el)))
        draussen.push((el.id || el.textContent.trim()) + ' at ' + [b.left, b.top, b.right, b.bottom].map(Math.round));
    }
    const c = document.getElementById('bild').getBoundingClientRect();
    const stil = getComputedStyle(document.getElementById('bild'));
    const massstab = Math.min(c.width / 1152, c.height / 864);
    return { draussen: draussen, zahl: document.querySelectorAll(auswahl).length,
             bild: { breite: 1152 * massstab, hoehe: 864 * massstab, passt: stil.objectFit === 'contain' },
             rollt: document.documentElement.scrollWidth > w || document.documentElement.scrollHeight > hoehe };
  });
  pruefe(name + ': every control and the picture lie inside the screen, uncovered, and the page does not scroll',
         r.draussen.length === 0 && !r.rollt && r.zahl >= 14, r.draussen.join('; ') + (r.rollt ? '; the page scrolls' : ''));
  const gross = ansicht.width > ansicht.height ? r.bild.hoehe >= 0.95 * ansicht.height : r.bild.breite >= 0.95 * ansicht.width;
  pruefe(name + ': the whole picture shows in its 4:3 shape, across the screen\'s short side',
         r.bild.passt && gross, JSON.stringify(r.bild));
  await seite.close();
}

function teile(browser, basis) {
  return [
    ['the one-finger drag', function () { return ziehen(browser, basis); }],
    ['the pinch', function () { return kneifen(browser, basis); }],
    ['the key buttons by touch', function () { return knoepfe(browser, basis); }],
    ['the key buttons by keyboard focus', function () { return fokus(browser, basis); }],
    ['the phone upright', function () { return passen(browser, basis, HOCH, 'phone 390 x 844'); }],
    ['the phone on its side', function () { return passen(browser, basis, QUER, 'phone 844 x 390'); }],
  ];
}

module.exports = { teile };
