#include <chrono>

#include "plattform/win32/win32.h"

namespace ersatz {
namespace {

bool bUhrVirtuell = true;
std::uint32_t nUhrStart = 0;
std::uint32_t nUhrVirtuell = 0;
const auto tUhrBeginn = std::chrono::steady_clock::now();

std::uint32_t Echte_Millisekunden() {
  const auto dauer = std::chrono::steady_clock::now() - tUhrBeginn;
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(dauer).count());
}

}  // namespace

void Uhr_Starten(bool bVirtuell, std::uint32_t nStart) {
  bUhrVirtuell = bVirtuell;
  nUhrStart = nStart - Echte_Millisekunden();
  nUhrVirtuell = nStart;
}

std::uint32_t Uhr_Stand() {
  return bUhrVirtuell ? nUhrVirtuell : nUhrStart + Echte_Millisekunden();
}

}  // namespace ersatz

// Unsigned 32-bit milliseconds; wraps like the platform's counter. Every
// reading of a virtual clock moves it on by 1 ms, so a busy wait ends.
DWORD WINAPI GetTickCount(void) {
  using namespace ersatz;
  if (!bUhrVirtuell) return Uhr_Stand();
  return nUhrVirtuell++;
}
