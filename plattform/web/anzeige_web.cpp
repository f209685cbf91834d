// The page as a front-end: the canvas shows each presented frame, and the
// browser's events (queued by seite.js in the input events' own terms)
// reach the Win32 subset in the message pump, and so do the page's
// requests for files. The pump's paced clock gives the browser its turn.
#include <emscripten.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "plattform/d3d8/beobachter.h"
#include "plattform/d3d8/farben.h"
#include "plattform/web/web.h"
#include "plattform/win32/ereignisse.h"
#include "plattform/win32/win32.h"

namespace ersatz {
namespace {

// The next entry of seite.js's queue: an input event's kind (Ereignis::Art,
// counted from 1), four numbers (dx, dy, wheel, and down or focus gained)
// and a key code; or nAnfrage and the name of the file asked for; 0 when
// the queue is empty.
EM_JS(int, Web_Ereignis, (int* pWerte, char* szCode, int nCode), {
  var q = Module.borkwerkEreignisse;
  if (!q || !q.length) return 0;
  var e = q.shift();
  HEAP32[pWerte >> 2] = e.a | 0;
  HEAP32[(pWerte >> 2) + 1] = e.b | 0;
  HEAP32[(pWerte >> 2) + 2] = e.c | 0;
  HEAP32[(pWerte >> 2) + 3] = e.an | 0;
  stringToUTF8(e.code || "", szCode, nCode);
  return e.art;
});

// The pixels as a view of the program's memory, good until it next grows.
EM_JS(void, Web_Bild, (const unsigned char* pRgba, int nBreite, int nHoehe), {
  if (Module.borkwerkBild)
    Module.borkwerkBild(new Uint8ClampedArray(HEAPU8.buffer, pRgba, nBreite * nHoehe * 4), nBreite,
                        nHoehe);
});

const int nAnfrage = 4;

// The files by the names seite.js asks for them, and where in the page's
// file system they are written before the page takes them.
struct Anfrage {
  const char* szName;
  Web_Datei datei;
  const char* szPfad;
};
const Anfrage Anfragen[] = {{"baum", Web_Datei::Baum, "/baum.glb"},
                            {"wachstum", Web_Datei::Wachstum, "/wachstum.glb"}};

// The file asked for is written at szPfad (the page takes it from there)
// after nBilder frames, or could not be: szFehler says why.
EM_JS(void, Web_Datei_Geschrieben,
      (const char* szName, const char* szPfad, unsigned nBilder, const char* szFehler), {
        if (Module.borkwerkDatei)
          Module.borkwerkDatei(UTF8ToString(szName), UTF8ToString(szPfad), nBilder,
                               UTF8ToString(szFehler));
      });

EM_JS(void, Web_Meldung, (const char* szTitel, const char* szText), {
  if (Module.borkwerkMeldung) Module.borkwerkMeldung(UTF8ToString(szTitel), UTF8ToString(szText));
});

EM_JS(void, Web_Titel, (const char* szTitel), { document.title = UTF8ToString(szTitel); });

EM_JS(void, Web_Cursor, (int bSichtbar), {
  if (Module.canvas) Module.canvas.style.cursor = bSichtbar ? "default" : "none";
});

class Anzeige_Web final : public Anzeige, public Angemeldeter_Beobachter {
 public:
  explicit Anzeige_Web(Web_Schreiber schreiberNeu) : schreiber(std::move(schreiberNeu)) {}
  void Fenster_Oeffnen(const char* szTitel, int, int) override { Web_Titel(szTitel); }
  void Fenster_Schliessen() override {}
  bool Ereignisse_Holen() override;
  void Cursor_Zeigen(bool bSichtbar) override { Web_Cursor(bSichtbar); }
  void Meldung(const char* szTitel, const char* szText) override { Web_Meldung(szTitel, szText); }
  void Praesentiert(const Praesentiertes_Bild* pBild) override;

 private:
  void Beantworten(const std::string& name);

  Web_Schreiber schreiber;
  std::vector<unsigned char> Rgba;
};

void Anzeige_Web::Beantworten(const std::string& name) {
  for (const Anfrage& a : Anfragen) {
    if (name != a.szName) continue;
    std::string fehler;
    if (!schreiber(a.datei, a.szPfad, fehler) && fehler.empty()) fehler = "not written";
    Web_Datei_Geschrieben(a.szName, a.szPfad, Bildnummer(), fehler.c_str());
  }
}

// Reports the queued events and answers the requests among them. The page
// never closes the window itself (Esc ends the program), so this asks for
// no close. A window's focus on a page never takes a screen.
bool Anzeige_Web::Ereignisse_Holen() {
  int werte[4];
  char szCode[32];
  for (int nArt; (nArt = Web_Ereignis(werte, szCode, sizeof szCode)) != 0;) {
    if (nArt == nAnfrage) {
      Beantworten(szCode);
      continue;
    }
    Ereignis e;
    e.art = static_cast<Ereignis::Art>(nArt - 1);
    e.nDx = werte[0], e.nDy = werte[1], e.nRad = werte[2];
    e.bUnten = e.bFokus = werte[3] != 0;
    if (e.art == Ereignis::Art::Taste) e.nTaste = Dik_Aus_Code(szCode);
    Ereignis_Melden(e);
  }
  return false;
}

// The canvas gets the picture the PNG capture would: 5- and 6-bit colour
// widened the same way.
void Anzeige_Web::Praesentiert(const Praesentiertes_Bild* pBild) {
  if (!pBild) return;
  Rgba.resize(std::size_t(pBild->nBreite) * pBild->nHoehe * 4);
  Farben_Aus_Puffer(pBild->pBits, pBild->nPitch, pBild->nBreite, pBild->nHoehe, pBild->Format,
                    Rgba.data(), 4);
  Web_Bild(Rgba.data(), static_cast<int>(pBild->nBreite), static_cast<int>(pBild->nHoehe));
}

std::unique_ptr<Anzeige_Web> pAnzeige;

}  // namespace

Anzeige& Web_Starten(Web_Schreiber schreiber) {
  pAnzeige = std::make_unique<Anzeige_Web>(std::move(schreiber));
  return *pAnzeige;
}

void Web_Beenden() { pAnzeige.reset(); }

}  // namespace ersatz
