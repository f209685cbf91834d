// The devices' observers, in the order they came.
#include "plattform/d3d8/beobachter.h"

#include <algorithm>
#include <vector>

namespace ersatz {
namespace {

std::vector<Geraete_Beobachter*> Beobachter;
std::size_t nJederAufruf = 0;  // how many of them want every call

}  // namespace

void Beobachter_Anmelden(Geraete_Beobachter* pBeobachter) {
  Beobachter.push_back(pBeobachter);
  if (pBeobachter->Jeder_Aufruf()) ++nJederAufruf;
}

void Beobachter_Abmelden(Geraete_Beobachter* pBeobachter) {
  const auto alt = Beobachter.size();
  Beobachter.erase(std::remove(Beobachter.begin(), Beobachter.end(), pBeobachter),
                   Beobachter.end());
  if (Beobachter.size() != alt && pBeobachter->Jeder_Aufruf()) --nJederAufruf;
}

bool Beobachter_Da() { return !Beobachter.empty(); }

bool Aufrufe_Beobachtet() { return nJederAufruf != 0; }

void Aufruf_Melden(const Aufruf& aufruf) {
  for (auto* p : Beobachter) {
    if (p->Jeder_Aufruf()) p->Aufgerufen(aufruf);
  }
}

void Aufruf_Melden(Aufruf_Art Art, HRESULT hErgebnis, DWORD nTyp, DWORD nWert, DWORD nStufe) {
  if (!Aufrufe_Beobachtet()) return;
  Aufruf a;
  a.Art = Art;
  a.hErgebnis = hErgebnis;
  a.nTyp = nTyp;
  a.nWert = nWert;
  a.nStufe = nStufe;
  Aufruf_Melden(a);
}

void Beobachter_Zeichnung(const Beobachtete_Zeichnung& zeichnung) {
  for (auto* p : Beobachter) p->Gezeichnet(zeichnung);
}

void Beobachter_Praesentiert(const Praesentiertes_Bild* pBild) {
  for (auto* p : Beobachter) p->Praesentiert(pBild);
}

}  // namespace ersatz
