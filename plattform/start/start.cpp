// The stand-in's entry point: reads the launcher's options, prepares the
// platform, then runs the system's WinMain, which reads no command line.
#include "plattform/start/start.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "plattform/anzeige/anzeige.h"
#include "plattform/dinput/dinput.h"
#include "plattform/export/export.h"
#include "plattform/fehler/fehler.h"
#include "plattform/win32/win32.h"

namespace {

int Abbruch(const std::string& meldung) {
  std::fprintf(stderr, "borkwerk: %s\n", meldung.c_str());
  return 2;
}

// An end request from outside (kill, Ctrl-C, a closed terminal) closes the
// window as a user would, so the run ends through the normal shut-down: the
// log's end line and the captures are written.
void Signale_Abfangen() {
  struct sigaction aktion = {};
  aktion.sa_handler = [](int) { ersatz::Schliessen_Anfordern(); };
  sigemptyset(&aktion.sa_mask);
  for (int nSignal : {SIGTERM, SIGINT, SIGHUP}) sigaction(nSignal, &aktion, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  ersatz::Einstellungen e;
  std::string fehler;
  if (!ersatz::Optionen_Lesen(argc, argv, e, fehler)) return Abbruch(fehler);
  if (e.bHilfe) {
    std::fputs(ersatz::Optionen_Hilfe().c_str(), stdout);
    return 0;
  }
  if (!e.eingabe.empty() && !ersatz::Eingabe_Skript_Laden(e.eingabe, fehler))
    return Abbruch(fehler);
  if (!e.captureOrdner.empty()) {
    std::error_code fehlerCode;
    std::filesystem::create_directories(e.captureOrdner, fehlerCode);
    if (fehlerCode)
      return Abbruch("cannot create " + ersatz::Lesbar(e.captureOrdner) + ": " +
                     fehlerCode.message());
  }
  if (!ersatz::Export_Einrichten(e.export_, e.exportWachstum, fehler)) return Abbruch(fehler);
  Signale_Abfangen();
  bool bHeadless = e.bHeadless;
  std::string grund;
  if (!bHeadless && !ersatz::Anzeige_Starten(e.bFenster, grund)) {
    bHeadless = true;
    if (e.bKeineOptionen) {
      e.nBilder = 150;
      e.capture = "borkwerk.png";
    } else {
      std::fprintf(stderr, "borkwerk: no display (%s), running headless\n", grund.c_str());
    }
  }
  ersatz::Uhr_Starten(bHeadless, ersatz::Startzeit(e));
  ersatz::Fenster_Schliessen_Nach(e.nBilder.value_or(0));
  ersatz::Aufnahme_Einrichten(e.capture, e.captureOrdner);

  char szKeineZeile[] = "";
  int nErgebnis = WinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, szKeineZeile, 1);

  ersatz::Anzeige_Beenden();
  if (!ersatz::Aufnahme_Abschliessen(fehler)) {
    std::fprintf(stderr, "borkwerk: %s\n", fehler.c_str());
    if (nErgebnis == 0) nErgebnis = 1;
  } else if (e.bKeineOptionen && !e.capture.empty()) {
    std::printf("%s\n", std::filesystem::absolute(e.capture).c_str());
  }
  if (!ersatz::Export_Abschliessen(fehler)) {
    std::fprintf(stderr, "borkwerk: %s\n", fehler.c_str());
    if (nErgebnis == 0) nErgebnis = 1;
  }
  return nErgebnis;
}
