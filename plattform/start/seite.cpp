// The stand-in's entry point on the web page: seite.js turns the page's
// parameters into the launcher's options (seed, frames, input, headless);
// the run goes as on a desktop on the page's canvas (or headless), with the
// exporter watching so that the page can take the tree and its growth while
// the run goes on, and its end, with the exit code, is handed back to the
// page.
#include <emscripten.h>

#include <string>

#include "plattform/export/export.h"
#include "plattform/headless/headless.h"
#include "plattform/start/start.h"
#include "plattform/web/web.h"
#include "plattform/win32/win32.h"

namespace {

using ersatz::Einstellungen;

// The run's end: its exit code, why it did not start (empty when it ran)
// and how many frames it presented.
EM_JS(void, Web_Ende, (int nCode, const char* szMeldung, unsigned nBilder), {
  if (Module.borkwerkEnde) Module.borkwerkEnde(nCode, UTF8ToString(szMeldung), nBilder);
});

EM_JS(void, Web_Hinweis, (const char* szText), {
  if (Module.borkwerkHinweis) Module.borkwerkHinweis(UTF8ToString(szText));
});

// The canvas's run watches from its first frame, as --export-growth does on
// a desktop, and places the tree as the desktop does by default, so the
// page's files are the desktop's for the same seed and frame. A headless
// run offers no files.
bool Einrichten(Einstellungen& e, std::string& meldung) {
  if (e.bFenster || e.bHilfe || !e.capture.empty() || !e.captureOrdner.empty() ||
      !e.export_.empty() || !e.exportWachstum.empty() || e.bExportProgramm ||
      !e.bildzeiten.empty() || !e.film.empty()) {
    meldung = "in the browser only --seed, --frames, --input, --headless and --fault";
    return false;
  }
  ersatz::Export_Einstellen({ersatz::Export_Ursprung::Basis, e.nSaat});
  if (!e.bHeadless) ersatz::Export_Beobachten(true);
  return true;
}

bool Datei_Schreiben(ersatz::Web_Datei datei, const std::string& pfad, std::string& fehler) {
  return ersatz::Export_Schreiben(pfad, datei == ersatz::Web_Datei::Wachstum, fehler);
}

// The clock is virtual on the page too, so a seed grows the same tree to
// the same pixels as on a desktop; on the canvas it is paced to real time.
ersatz::Anzeige& Vorne_Starten(Einstellungen& e, ersatz::Uhrgang& gang) {
  gang = e.bHeadless ? ersatz::Uhrgang::Virtuell : ersatz::Uhrgang::Getaktet;
  return e.bHeadless ? ersatz::Headless_Anzeige() : ersatz::Web_Starten(Datei_Schreiben);
}

void Abschliessen(const Einstellungen&, int&) {}

void Hinweis(const std::string& text) { Web_Hinweis(text.c_str()); }

const ersatz::Plattform Seite = {Einrichten, Vorne_Starten, ersatz::Web_Beenden, Abschliessen,
                                 Hinweis};

}  // namespace

int main(int argc, char** argv) {
  Einstellungen e;
  std::string meldung;
  int nErgebnis = 2;
  if (ersatz::Optionen_Lesen(argc, argv, e, meldung))
    nErgebnis = ersatz::Starten(e, Seite, meldung);
  Web_Ende(nErgebnis, meldung.c_str(), ersatz::Bildnummer());
  return nErgebnis;
}
