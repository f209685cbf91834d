// The millisecond clock behind GetTickCount, its pacing, and the frames
// presented by it: their number and their times.
#include <chrono>
#include <cmath>
#include <thread>

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>
#endif

#include "plattform/win32/win32.h"

namespace ersatz {
namespace {

using Millisekunden = std::chrono::duration<double, std::milli>;

Uhrgang Gang = Uhrgang::Virtuell;
std::uint32_t nUhrStart = 0;
std::uint32_t nUhrVirtuell = 0;
std::uint32_t nZuletzt = 0;  // the real clock's value the last reading returned
bool bGelesen = false;
const auto tUhrBeginn = std::chrono::steady_clock::now();
unsigned nBilder = 0;
std::deque<std::uint32_t> Zeiten;

// Pacing: the frame last paced, and where real time and the clock stood
// when the pacing last began counting.
unsigned nGetaktet = ~0u;
double fEchtBeginn = 0;
std::uint32_t nTaktBeginn = 0;

double Echte_Zeit() { return Millisekunden(std::chrono::steady_clock::now() - tUhrBeginn).count(); }

std::uint32_t Echte_Millisekunden() { return static_cast<std::uint32_t>(Echte_Zeit()); }

// On the web page the wait is the browser's turn, even when it is 0 ms.
void Schlafen(double fMs) {
#if defined(__EMSCRIPTEN__)
  emscripten_sleep(fMs > 0 ? static_cast<unsigned>(fMs) : 0);
#else
  if (fMs > 0) std::this_thread::sleep_for(Millisekunden(fMs));
#endif
}

}  // namespace

void Uhr_Starten(Uhrgang gang, std::uint32_t nStart) {
  Gang = gang;
  nUhrStart = nStart - Echte_Millisekunden();
  nUhrVirtuell = nStart;
  nGetaktet = ~0u;
  bGelesen = false;
}

std::uint32_t Uhr_Stand() {
  return Gang == Uhrgang::Echt ? nUhrStart + Echte_Millisekunden() : nUhrVirtuell;
}

// Once a frame: sleeps until real time has caught up with the clock. A run
// that fell far behind (a hidden browser tab) starts counting afresh
// instead of racing to catch up.
void Uhr_Takten() {
  if (Gang != Uhrgang::Getaktet || Bildnummer() == nGetaktet) return;
  const double fJetzt = Echte_Zeit();
  if (nGetaktet == ~0u) fEchtBeginn = fJetzt, nTaktBeginn = Uhr_Stand();
  nGetaktet = Bildnummer();
  double fWarten = fEchtBeginn + static_cast<std::uint32_t>(Uhr_Stand() - nTaktBeginn) - fJetzt;
  if (fWarten < -200) {
    fEchtBeginn = fJetzt, nTaktBeginn = Uhr_Stand();
    fWarten = 0;
  }
  Schlafen(fWarten);
}

void Bild_Zaehlen() {
  if (Zeiten.size() == nZeitenFenster) Zeiten.pop_front();
  Zeiten.push_back(Uhr_Stand());
  ++nBilder;
}

unsigned Bildnummer() { return nBilder; }

const std::deque<std::uint32_t>& Praesentationszeiten() { return Zeiten; }

void Bilder_Zuruecksetzen() {
  nBilder = 0;
  Zeiten.clear();
  nGetaktet = ~0u;
}

}  // namespace ersatz

// Unsigned 32-bit milliseconds; wraps like the platform's counter. Every
// reading of a virtual clock moves it on by 1 ms, so a busy wait ends.
// A reading of the real clock that finds the millisecond the reading before
// it found returns that value too, but only once the next millisecond has
// begun: a loop that waits for the clock (the frame loop's 40 ms) sees every
// value as before, leaves its wait as promptly, and gives the rest of the
// machine its time in between.
DWORD WINAPI GetTickCount(void) {
  using namespace ersatz;
  if (Gang != Uhrgang::Echt) return nUhrVirtuell++;
  const double fJetzt = Echte_Zeit();
  const std::uint32_t n = nUhrStart + static_cast<std::uint32_t>(fJetzt);
  if (bGelesen && n == nZuletzt)
    std::this_thread::sleep_until(tUhrBeginn + Millisekunden(std::floor(fJetzt) + 1.0));
  nZuletzt = n;
  bGelesen = true;
  return n;
}
