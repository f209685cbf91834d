// The real window through SDL2: full screen on the desktop (or a normal
// window), the back buffer scaled with its aspect kept onto the window's
// surface (bild_sdl.cpp), keyboard, mouse and focus reported as input
// events.
#include <SDL.h>
#include <X11/Xlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <string>

#include "plattform/d3d8/beobachter.h"
#include "plattform/fehler/fehler.h"
#include "plattform/sdl/bild_sdl.h"
#include "plattform/sdl/sdl.h"
#include "plattform/win32/ereignisse.h"

namespace ersatz {
namespace {

class Anzeige_Sdl final : public Anzeige, public Angemeldeter_Beobachter {
 public:
  explicit Anzeige_Sdl(bool bVollbildNeu) : bVollbild(bVollbildNeu) {}

  void Fenster_Oeffnen(const char* szTitel, int nBreite, int nHoehe) override {
    pFenster = SDL_CreateWindow(szTitel, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, nBreite,
                                nHoehe, SDL_WINDOW_HIDDEN);
    if (pFenster) X11_Fehler_Abfangen(pFenster);
  }

  // The platform's own closing hides the window; the focus it loses then
  // is not the user switching away, so it takes neither input nor screen.
  void Fenster_Schliessen() override {
    bGeschlossen = true;
    if (pFenster && !X11_Fenster_Verschwunden()) SDL_HideWindow(pFenster);
    SDL_SetRelativeMouseMode(SDL_FALSE);
  }

  bool Ereignisse_Holen() override;

  void Cursor_Zeigen(bool bSichtbar) override {
    SDL_ShowCursor(bSichtbar ? SDL_ENABLE : SDL_DISABLE);
  }

  void Meldung(const char* szTitel, const char* szText) override {
    X11_Meldung_Zeigen(pFenster, szTitel, szText);
  }

  void Praesentiert(const Praesentiertes_Bild* pBild) override;

  // A window destroyed from outside must not be destroyed again: SDL's
  // clean-up would raise one more X error, and Xlib's handler, back in
  // place by then, ends the process. The process ends right after this
  // anyway.
  ~Anzeige_Sdl() override {
    if (X11_Fenster_Verschwunden()) return;
    if (pFenster) SDL_DestroyWindow(pFenster);
    SDL_Quit();
  }

 private:
  void Fenster_Zeigen(UINT nBreite, UINT nHoehe);
  void Fokus_Setzen(bool bNeu);

  bool bVollbild;
  bool bGezeigt = false;
  bool bGeschlossen = false;
  SDL_Window* pFenster = nullptr;
  Uebertragung uebertragung;
};

// The window is created hidden at the program's 400 x 300; the first frame
// shows it over the whole desktop (or, windowed, at the back buffer's size
// where it fits).
void Anzeige_Sdl::Fenster_Zeigen(UINT nBreite, UINT nHoehe) {
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
    SDL_SetWindowPosition(pFenster, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  SDL_ShowWindow(pFenster);
  if (bVollbild) SDL_SetWindowFullscreen(pFenster, SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_RaiseWindow(pFenster);
  SDL_SetRelativeMouseMode(SDL_TRUE);
  bGezeigt = true;
}

// Only a full-screen window gives up the screen with the focus; a normal
// window keeps its device.
void Anzeige_Sdl::Fokus_Setzen(bool bNeu) {
  if (bGeschlossen) return;
  if (bGezeigt) SDL_SetRelativeMouseMode(bNeu ? SDL_TRUE : SDL_FALSE);
  Ereignis e;
  e.art = Ereignis::Art::Fokus;
  e.bFokus = bNeu;
  e.bBildschirm = bVollbild;
  Ereignis_Melden(e);
}

bool Anzeige_Sdl::Ereignisse_Holen() {
  bool bSchliessen = false;
  SDL_Event ereignis;
  while (SDL_PollEvent(&ereignis)) {
    Ereignis e;
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
        if (ereignis.key.repeat) break;
        e.nTaste = Dik_Aus_Sdl(ereignis.key.keysym.scancode);
        e.bUnten = ereignis.type == SDL_KEYDOWN;
        Ereignis_Melden(e);
        break;
      case SDL_MOUSEMOTION:
        e.art = Ereignis::Art::Maus;
        e.nDx = ereignis.motion.xrel;
        e.nDy = ereignis.motion.yrel;
        Ereignis_Melden(e);
        break;
      case SDL_MOUSEWHEEL:
        e.art = Ereignis::Art::Maus;
        e.nRad =
            ereignis.wheel.y * (ereignis.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1) * 120;
        Ereignis_Melden(e);
        break;
      default:
        break;
    }
  }
  return bSchliessen || X11_Fenster_Verschwunden();
}

void Anzeige_Sdl::Praesentiert(const Praesentiertes_Bild* pBild) {
  if (!pBild || !pFenster || X11_Fenster_Verschwunden()) return;
  if (!bGezeigt) Fenster_Zeigen(pBild->nBreite, pBild->nHoehe);
  Bild_Uebertragen(pFenster, *pBild, uebertragung);
}

std::unique_ptr<Anzeige_Sdl> pAnzeige;

// What the environment names as the display; "" when unset or empty.
std::string Umgebung(const char* szName) {
  const char* szWert = SDL_getenv(szName);
  return szWert ? szWert : "";
}

// Whether the display the environment names can be reached, and if not,
// which one and why. An X display that answers is taken before Wayland, as
// SDL does, and then without SDL probing Wayland in vain (and saying so).
bool Anzeige_Erreichbar(std::string& grund) {
  if (!Umgebung("SDL_VIDEODRIVER").empty()) return true;
  const std::string x = Umgebung("DISPLAY"), wayland = Umgebung("WAYLAND_DISPLAY");
  if (!x.empty()) {
    if (Display* pAnzeige = XOpenDisplay(x.c_str())) {
      XCloseDisplay(pAnzeige);
      SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
      return true;
    }
    if (wayland.empty()) {
      grund = "the X display '" + Lesbar(x) + "' (DISPLAY) does not answer";
      return false;
    }
  }
  if (wayland.empty()) {
    grund = "DISPLAY is not set";
    return false;
  }
  const std::string laufzeit = Umgebung("XDG_RUNTIME_DIR");
  if (wayland[0] != '/' && laufzeit.empty()) {
    grund = "WAYLAND_DISPLAY is set but XDG_RUNTIME_DIR is not";
    return false;
  }
  struct stat s;
  const std::string pfad = wayland[0] == '/' ? wayland : laufzeit + "/" + wayland;
  if (stat(pfad.c_str(), &s) != 0 || !S_ISSOCK(s.st_mode)) {
    grund = "the Wayland display '" + Lesbar(wayland) + "' (WAYLAND_DISPLAY) does not answer";
    return false;
  }
  return true;
}

}  // namespace

Anzeige* Sdl_Starten(bool bFenster, std::string& grund) {
  if (!Anzeige_Erreichbar(grund)) return nullptr;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    grund = SDL_GetError();
    return nullptr;
  }
  // SDL falls back to drivers that show nothing; for us that is no display.
  // Under X the window's surface goes out through the X server's shared
  // memory, not through an OpenGL texture that software would draw.
  const std::string treiber = SDL_GetCurrentVideoDriver();
  if (treiber == "x11") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (treiber == "offscreen" || treiber == "dummy" || treiber == "evdev") {
    const std::string wayland = Umgebung("WAYLAND_DISPLAY");
    grund = wayland.empty()
                ? "only SDL's " + treiber + " video driver"
                : "the Wayland display '" + Lesbar(wayland) + "' (WAYLAND_DISPLAY) does not answer";
    SDL_Quit();
    return nullptr;
  }
  pAnzeige = std::make_unique<Anzeige_Sdl>(!bFenster);
  return pAnzeige.get();
}

void Sdl_Beenden() { pAnzeige.reset(); }

}  // namespace ersatz
