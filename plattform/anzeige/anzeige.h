#pragma once
// Presentation: where the presented frames go and where the window's input
// comes from. The front-end calls below (Anzeige_*) are answered by SDL2
// here, or by the web page (plattform/web/, which leaves out SDL and PNG):
//   anzeige_sdl.cpp    SDL2: the real window (full screen, scaled and
//                      letterboxed, or windowed), its events, message boxes
//   sdl_tasten.cpp     SDL's scancodes as DirectInput scan codes
//   praesentation.cpp  every Present: frame count and times
//   aufnahme.cpp       PNG captures, an observer of the devices
//   png.cpp            PNG files (libpng)
// Without a display (headless) the SDL side is inactive and frames go only
// to the captures.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "plattform/d3d8/d3d8.h"

struct SDL_Window;

namespace ersatz {

// The front-end's window.
// false when there is no display, with the reason in grund.
bool Anzeige_Starten(bool bFenster, std::string& grund);
bool Anzeige_Aktiv();
void Anzeige_Beenden();
void Anzeige_Fenster_Oeffnen(const char* szTitel, int nBreite, int nHoehe);
void Anzeige_Fenster_Schliessen();
void Anzeige_Cursor(bool bSichtbar);
// Hands the window's events to the input stand-in; true when the user
// asked to close the window.
bool Anzeige_Ereignisse();
void Anzeige_Bild(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe, D3DFORMAT Format);
void Anzeige_Meldung(const char* szTitel, const char* szText);
// Whether the window has the input focus (always true without a window).
bool Fenster_Fokus();
// X errors of a window destroyed from outside end the run as the window's
// destruction (x11_fehler.cpp); set up for the window once it exists.
void X11_Fehler_Abfangen(SDL_Window* pFenster);
bool X11_Fenster_Verschwunden();
// Scan code of the key an SDL scancode stands for; -1 for keys outside a
// standard keyboard.
int Dik_Aus_Sdl(int nSdlScancode);

// Called by the device's Present with the back buffer's pixels.
void Praesentieren(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe, D3DFORMAT Format);
// Counts a presented frame; Praesentieren does, and a Present of a lost
// device calls it alone, so that frame reaches no screen (and no observer
// sees its picture).
void Bild_Zaehlen();
// Number of frames presented so far; frame k is the one presented as the
// (k+1)-th. The input poll and the message pump of frame k see k here.
unsigned Bildnummer();
// The clock's value at each of the last nZeitenFenster Presents, in order;
// a long run keeps no more.
constexpr std::size_t nZeitenFenster = 1000;
const std::deque<std::uint32_t>& Praesentationszeiten();

// 8-bit RGB of a back buffer; 5- and 6-bit fields widened by bit replication.
// Farben_Aus_Puffer writes the same into pZiel, nKanaele bytes a pixel (3,
// or 4 with an opaque alpha).
void Farben_Aus_Puffer(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe,
                       D3DFORMAT Format, std::uint8_t* pZiel, int nKanaele);
std::vector<std::uint8_t> Rgb_Aus_Puffer(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe,
                                         D3DFORMAT Format);
// datei: the last presented frame is kept for it; ordner: every frame is
// written there as frame-00000.png, ... Either may be empty.
void Aufnahme_Einrichten(const std::string& datei, const std::string& ordner);
// Writes the kept last frame to the capture file; false with a message
// when there was no frame or the file could not be written.
bool Aufnahme_Abschliessen(std::string& fehler);

// PNG files of captured frames: 8-bit RGB, rows top to bottom, each file
// written whole (Ganz_Schreiben).
bool Png_Schreiben(const std::string& pfad, unsigned nBreite, unsigned nHoehe,
                   const std::vector<std::uint8_t>& rgb);
bool Png_Lesen(const std::string& pfad, unsigned& nBreite, unsigned& nHoehe,
               std::vector<std::uint8_t>& rgb);

}  // namespace ersatz
