// The page's entry point: seite.js turns the page's parameters into the
// launcher's options (seed, frames, input, headless); the run goes as on
// Linux, and its end, with the exit code, is handed back to the page.
#include <emscripten.h>

#include <string>

#include "plattform/anzeige/anzeige.h"
#include "plattform/dinput/dinput.h"
#include "plattform/start/start.h"
#include "plattform/win32/win32.h"

namespace {

EM_JS(void, Web_Ende, (int nCode, const char* szMeldung), {
  if (Module.borkwerkEnde) Module.borkwerkEnde(nCode, UTF8ToString(szMeldung));
});

int Ende(int nCode, const std::string& meldung) {
  Web_Ende(nCode, meldung.c_str());
  return nCode;
}

}  // namespace

int main(int argc, char** argv) {
  ersatz::Einstellungen e;
  std::string fehler;
  if (!ersatz::Optionen_Lesen(argc, argv, e, fehler)) return Ende(2, fehler);
  if (e.bFenster || e.bHilfe || !e.capture.empty() || !e.captureOrdner.empty() ||
      !e.export_.empty() || !e.exportWachstum.empty())
    return Ende(2, "in the browser only --seed, --frames, --input, --headless and --fault");
  if (!e.eingabe.empty() && !ersatz::Eingabe_Skript_Laden(e.eingabe, fehler))
    return Ende(2, fehler);
  std::string grund;
  if (!e.bHeadless) ersatz::Anzeige_Starten(false, grund);
  ersatz::Uhr_Starten(true, ersatz::Startzeit(e));
  ersatz::Fenster_Schliessen_Nach(e.nBilder.value_or(0));

  char szKeineZeile[] = "";
  const int nErgebnis = WinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, szKeineZeile, 1);
  ersatz::Anzeige_Beenden();
  return Ende(nErgebnis, "");
}
