#pragma once
// The SDL2 front-end: the program's window on a real display, full screen
// (scaled with its aspect kept) or as a normal window; its keyboard, mouse
// and focus as input events. It fills the Win32 subset's front-end seam
// (win32/anzeige.h) and shows each presented frame as an observer of the
// devices.
//   anzeige_sdl.cpp  the window, its events, message boxes
//   bild_sdl.cpp     the picture onto the window's surface
//   tasten_sdl.cpp   SDL's scancodes as DirectInput scan codes
//   x11_fehler.cpp   a window destroyed from outside under X
//   x11_meldung.cpp  a message box an end request (a signal) closes
#include <string>

#include "plattform/win32/anzeige.h"

struct SDL_Window;

namespace ersatz {

// Starts SDL's video on the display; null when there is none, with the
// reason in grund. bFenster: a normal window instead of full screen.
Anzeige* Sdl_Starten(bool bFenster, std::string& grund);
void Sdl_Beenden();

// Scan code of the key an SDL scancode stands for; -1 for keys outside a
// standard keyboard.
int Dik_Aus_Sdl(int nSdlScancode);

// X errors of a window destroyed from outside end the run as the window's
// destruction; set up for the window once it exists.
void X11_Fehler_Abfangen(SDL_Window* pFenster);
bool X11_Fenster_Verschwunden();

// SDL's message box over pFenster; returns when the user closed it, or when
// the run was asked to end (Schliessen_Anfordern).
void X11_Meldung_Zeigen(SDL_Window* pFenster, const char* szTitel, const char* szText);

}  // namespace ersatz
