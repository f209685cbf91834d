#pragma once
// How the pieces of the stand-in platform reach each other. Nothing in the
// system includes this; tests and the launcher do.
#include <cstdint>
#include <string>
#include <vector>

#include "plattform/plattform.h"

namespace ersatz {

// Faults: a named platform call that is set to fail, fails every time.
bool Fehler(const char* szName);
bool Fehler_Setzen(const std::string& name);  // false for an unknown name
void Fehler_Loeschen();
const std::vector<std::string>& Fehler_Namen();

// The millisecond clock behind GetTickCount: virtual (each reading moves it
// on by 1 ms, so waits cost no real time) or real; it starts at nStart.
void Uhr_Starten(bool bVirtuell, std::uint32_t nStart);
std::uint32_t Uhr_Stand();  // the clock's value, without moving a virtual clock

// Number of frames presented so far; frame k is the one presented as the
// (k+1)-th. The input poll and the message pump of frame k see k here.
unsigned Bildnummer();

// Called by the device's Present with the back buffer's pixels.
void Praesentieren(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe, D3DFORMAT Format);

// The clock's value at each Present, in order.
const std::vector<std::uint32_t>& Praesentationszeiten();

// Whether the window has the input focus (always true without a window).
bool Fenster_Fokus();

// The DirectInput stand-in's inputs: SDL scancodes, relative mouse motion
// and wheel in DirectInput units (120 a notch), focus changes.
void Eingabe_Taste(int nSdlScancode, bool bUnten);
void Eingabe_Maus(int nDx, int nDy, int nRad);
void Eingabe_Fokus(bool bFokus);
// Loads a scripted input file; on a bad line returns false with a one-line
// message naming the file and line.
bool Eingabe_Skript_Laden(const std::string& pfad, std::string& fehler);

// Creates the software device for CreateDevice.
HRESULT Geraet_Erzeugen(const D3DPRESENT_PARAMETERS& Parameter, HWND hFenster,
                        IDirect3DDevice8** ppGeraet);

}  // namespace ersatz
