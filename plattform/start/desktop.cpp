// The stand-in's entry point on a desktop system: reads the launcher's
// options and runs the program on SDL's window, or headless without a
// display, with the PNG captures, the film and the exports as its outputs.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "plattform/aufnahme/aufnahme.h"
#include "plattform/datei/datei.h"
#include "plattform/export/export.h"
#include "plattform/fehler/fehler.h"
#include "plattform/film/film.h"
#include "plattform/headless/headless.h"
#include "plattform/sdl/sdl.h"
#include "plattform/start/start.h"
#include "plattform/win32/win32.h"

namespace {

using ersatz::Einstellungen;

// An end request from outside (kill, Ctrl-C, a closed terminal) closes the
// window as a user would, so the run ends through the normal shut-down: the
// log's end line and the captures are written. A file size limit makes a
// write fail (EFBIG) as a full disk does, instead of killing the process.
void Signale_Abfangen() {
  struct sigaction aktion = {};
  aktion.sa_handler = [](int) { ersatz::Schliessen_Anfordern(); };
  sigemptyset(&aktion.sa_mask);
  for (int nSignal : {SIGTERM, SIGINT, SIGHUP}) sigaction(nSignal, &aktion, nullptr);
  std::signal(SIGXFSZ, SIG_IGN);
}

bool Einrichten(Einstellungen& e, std::string& meldung) {
  if (!e.film.empty() && !ersatz::Film_Name_Pruefen(e.film, meldung)) return false;
  const std::string material = ersatz::Export_Materialdatei(e.export_);
  std::vector<ersatz::Datei_Angabe> weitere;
  if (!material.empty()) weitere.push_back({"the material file of --export", material});
  if (!ersatz::Ausgaben_Pruefen(e, meldung, weitere)) return false;
  if (!e.captureOrdner.empty()) {
    std::error_code fehlerCode;
    std::filesystem::create_directories(e.captureOrdner, fehlerCode);
    const std::string grund =
        fehlerCode ? fehlerCode.message() : Datei_Pruefen(e.captureOrdner + "/frame-00000.png");
    if (!grund.empty()) {
      meldung = "cannot write into " + ersatz::Lesbar(e.captureOrdner) + ": " + grund;
      return false;
    }
  }
  ersatz::Export_Einstellen({e.bExportProgramm.value_or(false) ? ersatz::Export_Ursprung::Programm
                                                               : ersatz::Export_Ursprung::Basis,
                             e.nSaat});
  if (!ersatz::Export_Einrichten(e.export_, e.exportWachstum, meldung)) return false;
  Signale_Abfangen();
  return true;
}

// SDL's window on a display; without one, headless: with no options at all
// one full growth to borkwerk.png, otherwise as asked, saying why.
ersatz::Anzeige& Vorne_Starten(Einstellungen& e, ersatz::Uhrgang& gang) {
  ersatz::Anzeige* pAnzeige = nullptr;
  std::string grund;
  if (!e.bHeadless) pAnzeige = ersatz::Sdl_Starten(e.bFenster, grund);
  if (!e.bHeadless && !pAnzeige) {
    if (e.bKeineOptionen) {
      e.nBilder = ersatz::nBilderOhneFenster;
      e.capture = "borkwerk.png";
    } else {
      std::fprintf(stderr, "borkwerk: no display (%s), running headless\n", grund.c_str());
    }
  }
  gang = pAnzeige ? ersatz::Uhrgang::Echt : ersatz::Uhrgang::Virtuell;
  ersatz::Aufnahme_Einrichten(e.capture, e.captureOrdner);
  // Only a headless run on a terminal shows the film's progress; one
  // without --frames presents one full growth.
  if (!e.film.empty())
    ersatz::Film_Einrichten(e.film, e.nBilder.value_or(pAnzeige ? 0 : ersatz::nBilderOhneFenster),
                            !pAnzeige && isatty(STDERR_FILENO));
  return pAnzeige ? *pAnzeige : ersatz::Headless_Anzeige();
}

void Abschliessen(const Einstellungen& e, int& nErgebnis) {
  std::string fehler;
  if (!ersatz::Film_Abschliessen(fehler)) {
    std::fprintf(stderr, "borkwerk: %s\n", fehler.c_str());
    if (nErgebnis == 0) nErgebnis = 1;
  }
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
  if (!e.bildzeiten.empty()) {
    const std::string grund = Datei_Ganz_Schreiben(e.bildzeiten, [](std::FILE* f) {
      for (const std::uint32_t n : ersatz::Praesentationszeiten()) std::fprintf(f, "%u\n", n);
      return std::ferror(f) == 0;
    });
    if (!grund.empty()) {
      std::fprintf(stderr, "borkwerk: cannot write %s: %s\n", ersatz::Lesbar(e.bildzeiten).c_str(),
                   grund.c_str());
      if (nErgebnis == 0) nErgebnis = 1;
    }
  }
  for (const std::string& datei : ersatz::Dateien_Mit_Schreibfehlern())
    std::fprintf(stderr, "borkwerk: not every line reached %s\n", ersatz::Lesbar(datei).c_str());
}

void Hinweis(const std::string& text) { std::fprintf(stderr, "borkwerk: %s\n", text.c_str()); }

const ersatz::Plattform Desktop = {Einrichten, Vorne_Starten, ersatz::Sdl_Beenden, Abschliessen,
                                   Hinweis};

}  // namespace

// Memory that runs out where no step has its own way out ends the run with
// a line, not an abort.
int main(int argc, char** argv) try {
  ersatz::Einstellungen e;
  std::string meldung;
  int nErgebnis = 2;
  if (ersatz::Optionen_Lesen(argc, argv, e, meldung)) {
    if (e.bHilfe) {
      std::fputs(ersatz::Optionen_Hilfe().c_str(), stdout);
      return 0;
    }
    nErgebnis = ersatz::Starten(e, Desktop, meldung);
  }
  if (!meldung.empty()) std::fprintf(stderr, "borkwerk: %s\n", meldung.c_str());
  return nErgebnis;
} catch (const std::bad_alloc&) {
  std::fputs("borkwerk: out of memory\n", stderr);
  return 1;
}
