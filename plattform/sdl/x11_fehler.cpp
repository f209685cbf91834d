// X errors of the SDL window. Xlib's default handler ends the process on
// any X error; a window destroyed from outside (another client's
// XDestroyWindow) makes every later drawing into it such an error. Those
// errors are taken as the window's destruction instead, so the run ends
// through the normal shut-down; any other error goes to the handler before.
// A connection the server closed (another client's XKillClient) is the
// window's destruction too: Xlib's handlers would print and exit, ours
// return, and Xlib then drops every later request on the dead connection.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include "plattform/sdl/sdl.h"

namespace ersatz {
namespace {

int (*pVorigerHandler)(Display*, XErrorEvent*) = nullptr;
bool bFensterVerschwunden = false;
XID nFenster = 0;

// An error about our window may also come from an extension (GLX's
// BadDrawable when SDL draws with OpenGL), so the window's id counts too.
int Fehler_Behandeln(Display* pAnzeige, XErrorEvent* pFehler) {
  if (pFehler->error_code == BadWindow || pFehler->error_code == BadDrawable ||
      (nFenster != 0 && pFehler->resourceid == nFenster)) {
    bFensterVerschwunden = true;
    return 0;
  }
  return pVorigerHandler ? pVorigerHandler(pAnzeige, pFehler) : 0;
}

int Verbindung_Verloren(Display*) {
  bFensterVerschwunden = true;
  return 0;
}

void Verbindung_Verloren_Weiter(Display*, void*) { bFensterVerschwunden = true; }

}  // namespace

void X11_Fehler_Abfangen(SDL_Window* pFenster) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(pFenster, &info) || info.subsystem != SDL_SYSWM_X11) return;
  nFenster = info.info.x11.window;
  pVorigerHandler = XSetErrorHandler(Fehler_Behandeln);
  XSetIOErrorHandler(Verbindung_Verloren);
  XSetIOErrorExitHandler(info.info.x11.display, Verbindung_Verloren_Weiter, nullptr);
}

bool X11_Fenster_Verschwunden() { return bFensterVerschwunden; }

}  // namespace ersatz
