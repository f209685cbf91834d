#pragma once
// The SDL2 side of the stand-in: the real window, its events and the
// picture. Without a display (headless) none of it is active.
#include <cstdint>

#include "plattform/plattform.h"

namespace ersatz {

bool Anzeige_Starten(bool bFenster);  // false when there is no display
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

}  // namespace ersatz
