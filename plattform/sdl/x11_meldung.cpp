// A message box that an end request closes. SDL's box waits for the user
// in its own loop, so a signal (which only asks the run to end) would wait
// with it; under X a watcher sends the box the window manager's close
// message once the end is asked for, and the run goes on to its end.
// SDL shows the box from a forked child: the fork waits until the watcher
// is in its loop, holding no lock. A thread still starting may hold the
// allocator's, and the child then waits for it forever.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "plattform/sdl/sdl.h"
#include "plattform/win32/win32.h"

namespace ersatz {
namespace {

// Sends WM_DELETE_WINDOW to every window below w (depth nTiefe) that is a
// dialog of the program's window.
void Dialoge_Schliessen(Display* pAnzeige, Window w, Window eltern, int nTiefe) {
  Window wurzel = 0, oben = 0, *pKinder = nullptr;
  unsigned nKinder = 0;
  if (!XQueryTree(pAnzeige, w, &wurzel, &oben, &pKinder, &nKinder)) return;
  const Atom protokolle = XInternAtom(pAnzeige, "WM_PROTOCOLS", False);
  const Atom schliessen = XInternAtom(pAnzeige, "WM_DELETE_WINDOW", False);
  for (unsigned i = 0; i < nKinder; ++i) {
    Window fuer = 0;
    if (XGetTransientForHint(pAnzeige, pKinder[i], &fuer) && fuer == eltern) {
      XEvent e{};
      e.xclient.type = ClientMessage;
      e.xclient.window = pKinder[i];
      e.xclient.message_type = protokolle;
      e.xclient.format = 32;
      e.xclient.data.l[0] = static_cast<long>(schliessen);
      e.xclient.data.l[1] = CurrentTime;
      XSendEvent(pAnzeige, pKinder[i], False, NoEventMask, &e);
    } else if (nTiefe > 0) {
      Dialoge_Schliessen(pAnzeige, pKinder[i], eltern, nTiefe - 1);
    }
  }
  if (pKinder) XFree(pKinder);
}

Window X11_Fenster(SDL_Window* pFenster) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!pFenster || !SDL_GetWindowWMInfo(pFenster, &info) || info.subsystem != SDL_SYSWM_X11)
    return 0;
  return info.info.x11.window;
}

}  // namespace

void X11_Meldung_Zeigen(SDL_Window* pFenster, const char* szTitel, const char* szText) {
  const Window eltern = X11_Fenster(pFenster);
  std::atomic<bool> bFertig{false}, bWacht{false};
  std::thread waechter;
  if (eltern != 0) {
    waechter = std::thread([&] {
      bWacht = true;
      while (!bFertig && !Schliessen_Angefordert())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      // Until the box is gone: it may not be mapped yet when the request
      // comes.
      while (!bFertig) {
        if (Display* pAnzeige = XOpenDisplay(nullptr)) {
          Dialoge_Schliessen(pAnzeige, DefaultRootWindow(pAnzeige), eltern, 2);
          XCloseDisplay(pAnzeige);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
    });
    while (!bWacht) std::this_thread::yield();
  }
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, szTitel, szText, pFenster);
  bFertig = true;
  if (waechter.joinable()) waechter.join();
}

}  // namespace ersatz
