#pragma once
// The input script (--input FILE): keys, mouse movement and focus by frame
// number, read before the run and reported as input events (win32/
// ereignisse.h) at the message pump of each frame, so a script drives
// whichever front-end runs.
//   skript.cpp  reading a script, and playing it frame by frame
#include <string>

namespace ersatz {

// Loads a scripted input file; on a bad line returns false with a one-line
// message naming the file and line.
bool Eingabe_Skript_Laden(const std::string& pfad, std::string& fehler);
// The same for a script's text; pfad only names it in messages.
bool Eingabe_Skript_Lesen(const std::string& inhalt, const std::string& pfad, std::string& fehler);
// Reports the loaded script's events of every frame up to nBild that were
// not reported yet; the message pump's event source (Ereignisquelle_Setzen).
void Skript_Abspielen(unsigned nBild);

}  // namespace ersatz
