// The devices' observers, in the order they came.
#include "plattform/d3d8/beobachter.h"

#include <algorithm>
#include <vector>

namespace ersatz {
namespace {

std::vector<Geraete_Beobachter*> Beobachter;

}  // namespace

void Beobachter_Anmelden(Geraete_Beobachter* pBeobachter) { Beobachter.push_back(pBeobachter); }

void Beobachter_Abmelden(Geraete_Beobachter* pBeobachter) {
  Beobachter.erase(std::remove(Beobachter.begin(), Beobachter.end(), pBeobachter),
                   Beobachter.end());
}

bool Beobachter_Da() { return !Beobachter.empty(); }

void Beobachter_Zeichnung(const Beobachtete_Zeichnung& zeichnung) {
  for (auto* p : Beobachter) p->Gezeichnet(zeichnung);
}

void Beobachter_Praesentiert(const Praesentiertes_Bild* pBild) {
  for (auto* p : Beobachter) p->Praesentiert(pBild);
}

}  // namespace ersatz
