#pragma once
// The web page front-end (WebAssembly through emscripten). The presented
// frames go to the page's canvas; the browser's keys, mouse and focus are
// reported as input events; the message pump gives the browser its turn
// each frame. It fills the Win32 subset's front-end seam (win32/anzeige.h)
// and shows the frames as an observer of the devices.
//   anzeige_web.cpp   the page as a front-end: canvas, browser events,
//                     messages, pacing
//   tasten_web.cpp    the browser's key codes as DirectInput scan codes
//   seite/            the page itself: index.html and seite.js
// The clock is virtual, as a headless run's, so a seed grows the same tree
// to the same pixels as on Linux, and paced (Uhrgang::Getaktet): the pump
// waits until real time has caught up with it, which makes 25 frames a
// second and gives the browser its turn.
#include <string>

#include "plattform/win32/anzeige.h"

namespace ersatz {

// The page's canvas as the front-end, watching the devices until
// Web_Beenden.
Anzeige& Web_Starten();
void Web_Beenden();

// Scan code of the key a browser's KeyboardEvent.code names; -1 for keys
// outside a standard keyboard.
int Dik_Aus_Code(const std::string& code);

}  // namespace ersatz
