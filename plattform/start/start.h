#pragma once
// The launcher, the top of the stand-in: the only piece that knows the
// front-ends. A main reads the options (optionen.cpp), then hands them to
// Starten (start.cpp) with what its platform brings, and Starten prepares
// the stand-in's pieces and runs the system's WinMain, which reads no
// command line.
//   optionen.cpp  the options: reading (nothing applied yet) and help
//   start.cpp     one run, as both mains make it
//   ausgaben.cpp  the outputs' names, checked before the run
//   desktop.cpp   main on Linux: SDL or headless, PNG captures, films, exports
//   seite.cpp     main on the web page: the canvas or headless
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plattform/win32/anzeige.h"
#include "plattform/win32/win32.h"

namespace ersatz {

struct Einstellungen {
  bool bFenster = false;                 // --windowed: a normal window instead of full screen
  bool bHeadless = false;                // --headless: no window, virtual clock
  std::optional<unsigned long> nBilder;  // --frames N
  std::optional<std::uint32_t> nSaat;    // --seed N: the clock starts at N
  std::string eingabe;                   // --input FILE
  std::string capture;                   // --capture FILE.png
  std::string captureOrdner;             // --capture-dir DIR
  std::string export_;                   // --export FILE.glb or FILE.obj
  std::string exportWachstum;            // --export-growth FILE.glb
  std::optional<bool> bExportProgramm;   // --export-origin: program (true) or base
  std::string film;                      // --film FILE.mp4, .webm, .gif or .apng
  std::string bildzeiten;                // --frame-times FILE
  std::vector<std::string> fehler;       // --fault NAME, repeatable
  bool bHilfe = false;                   // --help
  bool bKeineOptionen = true;
};

// Reads argv[1..] into e and applies nothing; on an unknown option or bad
// value returns false with a one-line message in fehler.
bool Optionen_Lesen(int argc, const char* const* argv, Einstellungen& e, std::string& fehler);
std::string Optionen_Hilfe();
// Where the clock starts: --seed's value, or else the time of day in
// milliseconds.
std::uint32_t Startzeit(const Einstellungen& e);

// A file the run writes: who writes it, as the user is told, and its name.
struct Datei_Angabe {
  std::string wer;
  std::string pfad;
};

// Before the run: no two outputs (those the options name and the further
// ones a platform writes beside them) are the same file, none overwrites
// the log, the device file, the input script or a frame of --capture-dir,
// and each can be written; false with one line naming the files and the
// reason.
bool Ausgaben_Pruefen(const Einstellungen& e, std::string& meldung,
                      const std::vector<Datei_Angabe>& weitere = {});

// What a platform brings to a run (desktop.cpp, seite.cpp). Each says what
// it has to say the platform's way, except a reason not to start, which
// goes back in meldung.
struct Plattform {
  // Checks the settings against what the platform offers and sets up the
  // outputs that may refuse (a folder, an export file); false: the run does
  // not start.
  bool (*Einrichten)(Einstellungen& e, std::string& meldung);
  // The front-end for the settings and the clock it runs with; also where
  // else the frames go. May change the settings (no display).
  Anzeige& (*Vorne_Starten)(Einstellungen& e, Uhrgang& gang);
  void (*Vorne_Beenden)();
  // After WinMain: finishes the outputs; an output that failed turns a
  // successful exit code into 1.
  void (*Abschliessen)(const Einstellungen& e, int& nErgebnis);
  // Tells the user something about the run that goes on.
  void (*Hinweis)(const std::string& text);
};

// A run without a window to close and without --frames presents one full
// growth.
constexpr unsigned long nBilderOhneFenster = 150;

// One run: applies the settings (faults, input script, the platform's
// outputs and front-end, the clock, the window's closing after the frames:
// a headless run ends after nBilderOhneFenster unless told otherwise), runs
// WinMain and finishes. Returns the exit code: WinMain's, 1 when an
// output failed, 2 with meldung when the run did not start.
int Starten(Einstellungen e, const Plattform& plattform, std::string& meldung);

}  // namespace ersatz
