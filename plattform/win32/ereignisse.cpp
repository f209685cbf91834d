// Input events and the state they leave: the keyboard, the mouse's motion,
// focus and screen.
#include "plattform/win32/ereignisse.h"

#include <utility>

namespace ersatz {
namespace {

std::array<std::uint8_t, 256> Tasten{};
std::array<std::int64_t, 3> Weg{};
bool bFokus = true;
unsigned nFokusverluste = 0;
bool bBildschirm = true;
unsigned nBildschirmverluste = 0;
std::function<void(unsigned)> Quelle;

}  // namespace

void Ereignis_Melden(const Ereignis& e) {
  switch (e.art) {
    case Ereignis::Art::Taste:
      if (e.nTaste > 0 && e.nTaste < static_cast<int>(Tasten.size()))
        Tasten[e.nTaste] = e.bUnten ? 0x80 : 0;
      break;
    case Ereignis::Art::Maus:
      Weg[0] += e.nDx;
      Weg[1] += e.nDy;
      Weg[2] += e.nRad;
      break;
    case Ereignis::Art::Fokus:
      if (bFokus && !e.bFokus) ++nFokusverluste;
      bFokus = e.bFokus;
      if (!e.bBildschirm) break;
      if (bBildschirm && !e.bFokus) ++nBildschirmverluste;
      bBildschirm = e.bFokus;
      break;
  }
}

const std::array<std::uint8_t, 256>& Tastatur() { return Tasten; }
const std::array<std::int64_t, 3>& Mausweg() { return Weg; }
bool Fokus() { return bFokus; }
unsigned Fokusverluste() { return nFokusverluste; }
bool Bildschirm() { return bBildschirm; }
unsigned Bildschirmverluste() { return nBildschirmverluste; }

void Ereignisquelle_Setzen(std::function<void(unsigned nBild)> quelle) {
  Quelle = std::move(quelle);
}

void Ereignisquelle_Abholen(unsigned nBild) {
  if (Quelle) Quelle(nBild);
}

void Ereignisse_Zuruecksetzen() {
  Tasten.fill(0);
  bFokus = bBildschirm = true;
  Quelle = nullptr;
}

}  // namespace ersatz
