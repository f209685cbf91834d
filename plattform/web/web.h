#pragma once
// The web page front-end (WebAssembly through emscripten). The presented
// frames go to the page's canvas; the browser's keys, mouse, touch and
// focus are reported as input events; the message pump gives the browser
// its turn each frame and answers the page's requests for files. It fills
// the Win32 subset's front-end seam (win32/anzeige.h) and shows the frames
// as an observer of the devices.
//   anzeige_web.cpp   the page as a front-end: canvas, browser events,
//                     requests, messages, pacing
//   tasten_web.cpp    the browser's key codes as DirectInput scan codes
//   seite/            the page itself: index.html, seite.js (the run) and
//                     bedienung.js (touch, buttons, downloads, film, link)
// The clock is virtual, as a headless run's, so a seed grows the same tree
// to the same pixels as on Linux, and paced (Uhrgang::Getaktet): the pump
// waits until real time has caught up with it, which makes 25 frames a
// second and gives the browser its turn.
#include <functional>
#include <string>

#include "plattform/win32/anzeige.h"

namespace ersatz {

// The files the page may ask for while the run goes on: the tree as the
// last presented frame drew it, and its growth. The launcher brings the
// writer (the exporter): it writes the file at pfad now, or says why not.
enum class Web_Datei { Baum, Wachstum };
using Web_Schreiber =
    std::function<bool(Web_Datei datei, const std::string& pfad, std::string& fehler)>;

// The page's canvas as the front-end, watching the devices until
// Web_Beenden. The page's requests are queued with its input events and
// answered in the message pump, never while the program sleeps; once the
// run has ended the page asks no more.
Anzeige& Web_Starten(Web_Schreiber schreiber);
void Web_Beenden();

// Scan code of the key a browser's KeyboardEvent.code names; -1 for keys
// outside a standard keyboard.
int Dik_Aus_Code(const std::string& code);

}  // namespace ersatz
