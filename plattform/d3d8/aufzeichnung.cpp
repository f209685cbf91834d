#include "plattform/d3d8/aufzeichnung.h"

#include <utility>

namespace ersatz {
namespace {

struct Aufzeichnung_Zustand {
  bool bLaeuft = false;
  std::vector<Aufruf> Aufrufe;
};

Aufzeichnung_Zustand& Zustand() {
  static Aufzeichnung_Zustand zustand;
  return zustand;
}

}  // namespace

void Aufzeichnung_Starten() {
  Zustand().Aufrufe.clear();
  Zustand().bLaeuft = true;
}

void Aufzeichnung_Beenden() { Zustand().bLaeuft = false; }

bool Aufzeichnung_Laeuft() { return Zustand().bLaeuft; }

const std::vector<Aufruf>& Aufzeichnung() { return Zustand().Aufrufe; }

void Aufzeichnen(Aufruf aufruf) {
  if (Zustand().bLaeuft) Zustand().Aufrufe.push_back(std::move(aufruf));
}

void Aufzeichnen(Aufruf_Art Art, HRESULT hErgebnis, DWORD nTyp, DWORD nWert, DWORD nStufe) {
  if (!Zustand().bLaeuft) return;
  Aufruf a;
  a.Art = Art;
  a.hErgebnis = hErgebnis;
  a.nTyp = nTyp;
  a.nWert = nWert;
  a.nStufe = nStufe;
  Zustand().Aufrufe.push_back(std::move(a));
}

}  // namespace ersatz
