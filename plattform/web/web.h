#pragma once
// The web page front-end (WebAssembly through emscripten). The back buffer
// goes to the page's canvas; the browser's keys, mouse and focus go to the
// input stand-in; the message pump gives the browser its turn each frame.
//   anzeige_web.cpp   the presentation's calls (anzeige.h) answered by the
//                     page: canvas, browser events, messages, pacing
//   web_tasten.cpp    the browser's key codes as DirectInput scan codes
//   start_web.cpp     main: the page's parameters as launcher options, the
//                     run, and its end handed back to the page
//   seite/            the page itself: index.html and seite.js
// The clock is the launcher's virtual one, as a headless run's, so a seed
// grows the same tree to the same pixels as on Linux; the pump waits until
// real time has caught up with it, which makes 25 frames a second.
#include <string>

namespace ersatz {

// Scan code of the key a browser's KeyboardEvent.code names; -1 for keys
// outside a standard keyboard.
int Dik_Aus_Code(const std::string& code);

}  // namespace ersatz
