// The page as the presentation's front-end: the canvas shows each frame,
// the browser's events (queued by seite.js) reach the input stand-in in the
// message pump, and the pump waits for real time to catch up with the
// clock, giving the browser its turn.
#include <emscripten.h>

#include <string>
#include <vector>

#include "plattform/anzeige/anzeige.h"
#include "plattform/dinput/dinput.h"
#include "plattform/web/web.h"
#include "plattform/win32/win32.h"

namespace ersatz {
namespace {

enum Ereignis_Art { Keins, Taste_Unten, Taste_Oben, Maus, Rad, Fokus_Da, Fokus_Weg };

// The next browser event of seite.js's queue: its kind, three numbers and
// a key code; Keins when the queue is empty.
EM_JS(int, Web_Ereignis, (int* pWerte, char* szCode, int nCode), {
  var q = Module.borkwerkEreignisse;
  if (!q || !q.length) return 0;
  var e = q.shift();
  HEAP32[pWerte >> 2] = e.a | 0;
  HEAP32[(pWerte >> 2) + 1] = e.b | 0;
  HEAP32[(pWerte >> 2) + 2] = e.c | 0;
  stringToUTF8(e.code || "", szCode, nCode);
  return e.art;
});

// The pixels as a view of the program's memory, good until it next grows.
EM_JS(void, Web_Bild, (const unsigned char* pRgba, int nBreite, int nHoehe), {
  if (Module.borkwerkBild)
    Module.borkwerkBild(new Uint8ClampedArray(HEAPU8.buffer, pRgba, nBreite * nHoehe * 4), nBreite,
                        nHoehe);
});

EM_JS(void, Web_Meldung, (const char* szTitel, const char* szText), {
  if (Module.borkwerkMeldung) Module.borkwerkMeldung(UTF8ToString(szTitel), UTF8ToString(szText));
});

EM_JS(void, Web_Titel, (const char* szTitel), { document.title = UTF8ToString(szTitel); });

EM_JS(void, Web_Cursor, (int bSichtbar), {
  if (Module.canvas) Module.canvas.style.cursor = bSichtbar ? "default" : "none";
});

bool bAktiv = false;
bool bFokus = true;
unsigned nGetaktet = ~0u;
double fEchtBeginn = 0;
std::uint32_t nUhrBeginn = 0;
std::vector<unsigned char> Rgba;

// Once a frame: sleep until real time has caught up with the clock. A page
// that fell far behind (a hidden tab) starts counting afresh instead of
// racing to catch up.
void Takt() {
  const double fJetzt = emscripten_get_now();
  if (nGetaktet == ~0u) fEchtBeginn = fJetzt, nUhrBeginn = Uhr_Stand();
  double fWarten = fEchtBeginn + static_cast<std::uint32_t>(Uhr_Stand() - nUhrBeginn) - fJetzt;
  if (fWarten < -200) {
    fEchtBeginn = fJetzt, nUhrBeginn = Uhr_Stand();
    fWarten = 0;
  }
  emscripten_sleep(fWarten > 0 ? static_cast<unsigned>(fWarten) : 0);
}

}  // namespace

bool Fenster_Fokus() { return !bAktiv || bFokus; }

bool Anzeige_Starten(bool, std::string&) {
  bAktiv = true;
  return true;
}

bool Anzeige_Aktiv() { return bAktiv; }

void Anzeige_Beenden() { bAktiv = false; }

void Anzeige_Fenster_Oeffnen(const char* szTitel, int, int) { Web_Titel(szTitel); }

void Anzeige_Fenster_Schliessen() {}

void Anzeige_Cursor(bool bSichtbar) { Web_Cursor(bSichtbar); }

// Called by the pump; the page never closes the window itself (Esc ends
// the program), so this asks for no close.
bool Anzeige_Ereignisse() {
  if (Bildnummer() != nGetaktet) {
    Takt();
    nGetaktet = Bildnummer();
  }
  int werte[3];
  char szCode[32];
  for (int nArt; (nArt = Web_Ereignis(werte, szCode, sizeof szCode)) != Keins;) {
    switch (nArt) {
      case Taste_Unten:
      case Taste_Oben:
        Taste_Setzen(Dik_Aus_Code(szCode), nArt == Taste_Unten);
        break;
      case Maus:
        Eingabe_Maus(werte[0], werte[1], 0);
        break;
      case Rad:
        Eingabe_Maus(0, 0, werte[2]);
        break;
      case Fokus_Da:
      case Fokus_Weg:
        bFokus = nArt == Fokus_Da;
        Eingabe_Fokus(bFokus);
        break;
      default:
        break;
    }
  }
  return false;
}

// The canvas gets the picture the PNG capture would: 5- and 6-bit colour
// widened the same way.
void Anzeige_Bild(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe, D3DFORMAT Format) {
  Rgba.resize(std::size_t(nBreite) * nHoehe * 4);
  Farben_Aus_Puffer(pBits, nPitch, nBreite, nHoehe, Format, Rgba.data(), 4);
  Web_Bild(Rgba.data(), static_cast<int>(nBreite), static_cast<int>(nHoehe));
}

void Anzeige_Meldung(const char* szTitel, const char* szText) { Web_Meldung(szTitel, szText); }

}  // namespace ersatz
