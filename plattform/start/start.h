#pragma once
// The launcher: main() (start.cpp) reads the options (optionen.cpp),
// prepares the stand-in's pieces, then runs the system's WinMain, which
// reads no command line. It offers the options' reading and help text.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
  std::vector<std::string> fehler;       // --fault NAME, repeatable
  bool bHilfe = false;                   // --help
  bool bKeineOptionen = true;
};

// Reads argv[1..]; on an unknown option or bad value returns false with a
// one-line message in fehler.
bool Optionen_Lesen(int argc, const char* const* argv, Einstellungen& e, std::string& fehler);
std::string Optionen_Hilfe();
// Where the clock starts: --seed's value, or else the time of day in
// milliseconds.
std::uint32_t Startzeit(const Einstellungen& e);

}  // namespace ersatz
