// The Win32 subset: window classes, the one window, the message queue with
// its pump and window-procedure dispatch, cursor and message box. What the
// user sees of them is the chosen front-end's (anzeige.h).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "plattform/fehler/fehler.h"
#include "plattform/win32/anzeige.h"
#include "plattform/win32/ereignisse.h"
#include "plattform/win32/win32.h"

struct HWND__ {
  std::string klasse;
  std::string titel;
  WNDPROC pProzedur = nullptr;
  bool bZerstoert = false;
};

namespace ersatz {
namespace {

std::map<std::string, WNDCLASSEXA> Klassen;
std::unique_ptr<HWND__> pFenster;
std::deque<MSG> Warteschlange;
bool bQuitGepostet = false;
int nQuitCode = 0;
bool bSchliessenGesendet = false;
int nCursorZaehler = 0;
unsigned long nSchliessenNach = 0;
volatile std::sig_atomic_t bSchliessenAngefordert = 0;
Anzeige* pAnzeige = nullptr;

// Every program on the stand-in chooses its front-end before it makes a
// window; one that did not is a fault of that program.
Anzeige& Vorne() {
  if (!pAnzeige) {
    std::fputs("borkwerk: no front-end was chosen before the first window call\n", stderr);
    std::abort();
  }
  return *pAnzeige;
}

// Stand-in handles for stock objects; never dereferenced.
template <typename H>
H Griff(std::uintptr_t nWert) {
  return reinterpret_cast<H>(nWert);
}

// False when the queue has no room (out of memory); the caller tries again
// at the next pump.
bool Posten(HWND h, UINT nNachricht, WPARAM w = 0, LPARAM l = 0) {
  MSG msg{};
  msg.hwnd = h;
  msg.message = nNachricht;
  msg.wParam = w;
  msg.lParam = l;
  msg.time = Uhr_Stand();
  try {
    Warteschlange.push_back(msg);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// The pump paces a paced clock, then takes the events: the front-end's,
// then the script's of this frame. The
// platform closes the window as a user would: in the pump of the last frame
// of --frames N, whenever the user closes the real window, and when the
// process was asked to end (SIGTERM, SIGINT, SIGHUP).
void Pumpen() {
  Uhr_Takten();
  const bool bBenutzer = Vorne().Ereignisse_Holen();
  Ereignisquelle_Abholen(Bildnummer());
  if (!pFenster || pFenster->bZerstoert || bSchliessenGesendet) return;
  const bool bLetztesBild = nSchliessenNach && Bildnummer() + 1 >= nSchliessenNach;
  if (bLetztesBild || bBenutzer || bSchliessenAngefordert)
    bSchliessenGesendet = Posten(pFenster.get(), WM_CLOSE);
}

}  // namespace

void Anzeige_Waehlen(Anzeige& anzeige) { pAnzeige = &anzeige; }

void Fenster_Schliessen_Nach(unsigned long nBilder) { nSchliessenNach = nBilder; }

void Schliessen_Anfordern() { bSchliessenAngefordert = 1; }

bool Schliessen_Angefordert() { return bSchliessenAngefordert != 0; }

void Fenster_Zuruecksetzen() {
  Klassen.clear();
  pFenster.reset();
  Warteschlange.clear();
  bQuitGepostet = false;
  nQuitCode = 0;
  bSchliessenGesendet = false;
  nCursorZaehler = 0;
  nSchliessenNach = 0;
  bSchliessenAngefordert = 0;
}

}  // namespace ersatz

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) { return ersatz::Griff<HICON>(0x10); }
HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) { return ersatz::Griff<HCURSOR>(0x20); }
HGDIOBJ WINAPI GetStockObject(int i) { return ersatz::Griff<HGDIOBJ>(0x30 + std::uintptr_t(i)); }

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* pKlasse) {
  using namespace ersatz;
  if (Fehler("RegisterClassExA") || !pKlasse || pKlasse->cbSize != sizeof(WNDCLASSEXA) ||
      !pKlasse->lpfnWndProc || !pKlasse->lpszClassName || Klassen.count(pKlasse->lpszClassName))
    return 0;
  try {
    Klassen[pKlasse->lpszClassName] = *pKlasse;
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return static_cast<ATOM>(0xC000 + Klassen.size());
}

// One top-level window: creation sends WM_NCCREATE and WM_CREATE to its
// procedure, as the platform does.
HWND WINAPI CreateWindowExA(DWORD, LPCSTR szKlasse, LPCSTR szTitel, DWORD, int, int, int nBreite,
                            int nHoehe, HWND, HMENU, HINSTANCE, LPVOID) {
  using namespace ersatz;
  if (Fehler("CreateWindowExA") || !szKlasse || !Klassen.count(szKlasse)) return nullptr;
  if (pFenster && !pFenster->bZerstoert) return nullptr;
  bSchliessenGesendet = false;
  try {
    auto pNeu = std::make_unique<HWND__>();
    pNeu->klasse = szKlasse;
    pNeu->titel = szTitel ? szTitel : "";
    pNeu->pProzedur = Klassen[szKlasse].lpfnWndProc;
    pFenster = std::move(pNeu);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  HWND h = pFenster.get();
  if (!h->pProzedur(h, WM_NCCREATE, 0, 0) || h->pProzedur(h, WM_CREATE, 0, 0) == -1) {
    pFenster.reset();
    return nullptr;
  }
  Vorne().Fenster_Oeffnen(h->titel.c_str(), nBreite, nHoehe);
  return h;
}

BOOL WINAPI DestroyWindow(HWND h) {
  using namespace ersatz;
  if (!h || h != pFenster.get() || h->bZerstoert) return FALSE;
  h->bZerstoert = true;
  Vorne().Fenster_Schliessen();
  h->pProzedur(h, WM_DESTROY, 0, 0);
  h->pProzedur(h, WM_NCDESTROY, 0, 0);
  return TRUE;
}

int WINAPI ShowCursor(BOOL bZeigen) {
  using namespace ersatz;
  nCursorZaehler += bZeigen ? 1 : -1;
  Vorne().Cursor_Zeigen(nCursorZaehler >= 0);
  return nCursorZaehler;
}

BOOL WINAPI PeekMessageA(MSG* pMsg, HWND, UINT, UINT, UINT nEntfernen) {
  using namespace ersatz;
  Pumpen();
  if (Warteschlange.empty()) {
    if (!bQuitGepostet || !Posten(nullptr, WM_QUIT, static_cast<WPARAM>(nQuitCode))) return FALSE;
    if (nEntfernen & PM_REMOVE) bQuitGepostet = false;
  }
  *pMsg = Warteschlange.front();
  if (nEntfernen & PM_REMOVE) Warteschlange.pop_front();
  return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* pMsg) {
  HWND h = pMsg->hwnd;
  if (!h || h != ersatz::pFenster.get() || h->bZerstoert) return 0;
  return h->pProzedur(h, pMsg->message, pMsg->wParam, pMsg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND h, UINT nNachricht, WPARAM, LPARAM) {
  switch (nNachricht) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(h);
      return 0;
    default:
      return 0;
  }
}

void WINAPI PostQuitMessage(int nCode) {
  ersatz::bQuitGepostet = true;
  ersatz::nQuitCode = nCode;
}

// Returns once the user has seen the message, as the platform's box does.
int WINAPI MessageBoxA(HWND, LPCSTR szText, LPCSTR szTitel, UINT) {
  ersatz::Vorne().Meldung(szTitel ? szTitel : "", szText ? szText : "");
  return 1;
}
