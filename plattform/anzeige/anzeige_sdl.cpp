// The real window through SDL2: full screen on the desktop (or a normal
// window), the back buffer scaled with its aspect kept, keyboard, mouse and
// focus handed to the input stand-in.
#include <SDL.h>

#include <algorithm>
#include <string>

#include "plattform/anzeige/anzeige.h"
#include "plattform/dinput/dinput.h"

namespace ersatz {
namespace {

bool bAktiv = false;
bool bVollbild = true;
bool bGezeigt = false;
bool bFokus = true;
SDL_Window* pFenster = nullptr;
SDL_Renderer* pZeichner = nullptr;
SDL_Texture* pTextur = nullptr;
Uint32 nTexturFormat = 0;
int nTexturBreite = 0;
int nTexturHoehe = 0;

Uint32 Sdl_Format(D3DFORMAT Format) {
  switch (Format) {
    case D3DFMT_R5G6B5:
      return SDL_PIXELFORMAT_RGB565;
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
      return SDL_PIXELFORMAT_RGB555;
    default:
      return SDL_PIXELFORMAT_RGB888;
  }
}

// The window is created hidden at the program's 400 x 300; the first frame
// shows it over the whole desktop (or, windowed, at the back buffer's size
// where it fits).
void Fenster_Zeigen(UINT nBreite, UINT nHoehe) {
  SDL_Rect bereich{};
  const bool bBereich = SDL_GetDisplayBounds(0, &bereich) == 0;
  if (bVollbild && bBereich) {
    SDL_SetWindowPosition(pFenster, bereich.x, bereich.y);
    SDL_SetWindowSize(pFenster, bereich.w, bereich.h);
  } else if (!bVollbild) {
    int w = static_cast<int>(nBreite), h = static_cast<int>(nHoehe);
    if (SDL_GetDisplayUsableBounds(0, &bereich) == 0 && (w > bereich.w || h > bereich.h)) {
      const double fMass = std::min(double(bereich.w) / w, double(bereich.h) / h);
      w = int(w * fMass);
      h = int(h * fMass);
    }
    SDL_SetWindowSize(pFenster, w, h);
  }
  SDL_ShowWindow(pFenster);
  if (bVollbild) SDL_SetWindowFullscreen(pFenster, SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_RaiseWindow(pFenster);
  SDL_SetRelativeMouseMode(SDL_TRUE);
  bGezeigt = true;
}

void Textur_Vorbereiten(Uint32 nFormat, int nBreite, int nHoehe) {
  if (pTextur && nFormat == nTexturFormat && nBreite == nTexturBreite && nHoehe == nTexturHoehe)
    return;
  if (pTextur) SDL_DestroyTexture(pTextur);
  pTextur = SDL_CreateTexture(pZeichner, nFormat, SDL_TEXTUREACCESS_STREAMING, nBreite, nHoehe);
  nTexturFormat = nFormat;
  nTexturBreite = nBreite;
  nTexturHoehe = nHoehe;
  SDL_RenderSetLogicalSize(pZeichner, nBreite, nHoehe);
}

void Fokus_Setzen(bool bNeu) {
  bFokus = bNeu;
  if (bGezeigt) SDL_SetRelativeMouseMode(bNeu ? SDL_TRUE : SDL_FALSE);
  Eingabe_Fokus(bNeu);
  // Only a full-screen picture loses its device; a window keeps it.
  if (bVollbild) Geraete_Fokus(bNeu);
}

}  // namespace

bool Fenster_Fokus() { return !bAktiv || bFokus; }

bool Anzeige_Starten(bool bFenster, std::string& grund) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  // Without a display server SDL would only probe in vain (and say so).
  if (!SDL_getenv("DISPLAY") && !SDL_getenv("WAYLAND_DISPLAY") && !SDL_getenv("SDL_VIDEODRIVER")) {
    grund = "DISPLAY is not set";
    return false;
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    grund = SDL_GetError();
    return false;
  }
  // SDL falls back to drivers that show nothing; for us that is no display.
  const std::string treiber = SDL_GetCurrentVideoDriver();
  if (treiber == "offscreen" || treiber == "dummy" || treiber == "evdev") {
    grund = "only SDL's " + treiber + " video driver";
    SDL_Quit();
    return false;
  }
  bAktiv = true;
  bVollbild = !bFenster;
  return true;
}

bool Anzeige_Aktiv() { return bAktiv; }

void Anzeige_Beenden() {
  if (!bAktiv) return;
  bAktiv = false;
  // A window destroyed from outside must not be destroyed again: SDL's
  // clean-up would raise one more X error, and Xlib's handler, back in place
  // by then, ends the process. The process ends right after this anyway.
  if (X11_Fenster_Verschwunden()) return;
  if (pTextur) SDL_DestroyTexture(pTextur);
  if (pZeichner) SDL_DestroyRenderer(pZeichner);
  if (pFenster) SDL_DestroyWindow(pFenster);
  pTextur = nullptr;
  pZeichner = nullptr;
  pFenster = nullptr;
  SDL_Quit();
}

void Anzeige_Fenster_Oeffnen(const char* szTitel, int nBreite, int nHoehe) {
  pFenster = SDL_CreateWindow(szTitel, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, nBreite,
                              nHoehe, SDL_WINDOW_HIDDEN);
  if (pFenster) pZeichner = SDL_CreateRenderer(pFenster, -1, 0);
  if (pFenster) X11_Fehler_Abfangen(pFenster);
}

void Anzeige_Fenster_Schliessen() {
  if (pFenster && !X11_Fenster_Verschwunden()) SDL_HideWindow(pFenster);
  SDL_SetRelativeMouseMode(SDL_FALSE);
}

void Anzeige_Cursor(bool bSichtbar) { SDL_ShowCursor(bSichtbar ? SDL_ENABLE : SDL_DISABLE); }

bool Anzeige_Ereignisse() {
  bool bSchliessen = false;
  SDL_Event ereignis;
  while (SDL_PollEvent(&ereignis)) {
    switch (ereignis.type) {
      case SDL_QUIT:
        bSchliessen = true;
        break;
      case SDL_WINDOWEVENT:
        if (ereignis.window.event == SDL_WINDOWEVENT_CLOSE) bSchliessen = true;
        if (ereignis.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) Fokus_Setzen(true);
        if (ereignis.window.event == SDL_WINDOWEVENT_FOCUS_LOST) Fokus_Setzen(false);
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (!ereignis.key.repeat)
          Taste_Setzen(Dik_Aus_Sdl(ereignis.key.keysym.scancode), ereignis.type == SDL_KEYDOWN);
        break;
      case SDL_MOUSEMOTION:
        Eingabe_Maus(ereignis.motion.xrel, ereignis.motion.yrel, 0);
        break;
      case SDL_MOUSEWHEEL: {
        const int nRichtung = ereignis.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
        Eingabe_Maus(0, 0, ereignis.wheel.y * nRichtung * 120);
        break;
      }
      default:
        break;
    }
  }
  return bSchliessen || X11_Fenster_Verschwunden();
}

void Anzeige_Bild(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe, D3DFORMAT Format) {
  if (!pZeichner) return;
  if (!bGezeigt) Fenster_Zeigen(nBreite, nHoehe);
  Textur_Vorbereiten(Sdl_Format(Format), static_cast<int>(nBreite), static_cast<int>(nHoehe));
  if (!pTextur) return;
  SDL_UpdateTexture(pTextur, nullptr, pBits, nPitch);
  SDL_SetRenderDrawColor(pZeichner, 0, 0, 0, 255);
  SDL_RenderClear(pZeichner);
  SDL_RenderCopy(pZeichner, pTextur, nullptr, nullptr);
  SDL_RenderPresent(pZeichner);
}

void Anzeige_Meldung(const char* szTitel, const char* szText) {
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, szTitel, szText, pFenster);
}

}  // namespace ersatz
