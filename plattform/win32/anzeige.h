#pragma once
// The front-end seam: what the Win32 subset needs from whatever shows the
// program's one window (SDL, the web page, or nothing at all, headless).
// The launcher chooses a front-end before WinMain runs; the window's calls
// reach it here, its events go to Ereignis_Melden (ereignisse.h), and the
// picture comes to it from the device's observers.
namespace ersatz {

class Anzeige {
 public:
  virtual ~Anzeige() = default;
  // CreateWindowExA made the program's window (hidden, of that size);
  // DestroyWindow destroyed it.
  virtual void Fenster_Oeffnen(const char* szTitel, int nBreite, int nHoehe) = 0;
  virtual void Fenster_Schliessen() = 0;
  // Called by every message pump: hands the front-end's pending events to
  // Ereignis_Melden; true when the user asked to close the window.
  virtual bool Ereignisse_Holen() = 0;
  // ShowCursor: whether the cursor shows over the window.
  virtual void Cursor_Zeigen(bool bSichtbar) = 0;
  // MessageBoxA: shows the message and returns once the user has seen it.
  virtual void Meldung(const char* szTitel, const char* szText) = 0;
};

// The front-end from now on: the launcher's choice, or a test's.
void Anzeige_Waehlen(Anzeige& anzeige);

}  // namespace ersatz
