// The record of calls: an observer that keeps every call while it runs.
#include "plattform/d3d8/aufzeichnung.h"

namespace ersatz {
namespace {

class Aufzeichner final : public Geraete_Beobachter {
 public:
  bool Jeder_Aufruf() const override { return true; }
  void Aufgerufen(const Aufruf& aufruf) override { Aufrufe.push_back(aufruf); }

  std::vector<Aufruf> Aufrufe;
  bool bLaeuft = false;
};

Aufzeichner& Der_Aufzeichner() {
  static Aufzeichner aufzeichner;
  return aufzeichner;
}

}  // namespace

void Aufzeichnung_Starten() {
  Aufzeichnung_Beenden();
  Der_Aufzeichner().Aufrufe.clear();
  Der_Aufzeichner().bLaeuft = true;
  Beobachter_Anmelden(&Der_Aufzeichner());
}

void Aufzeichnung_Beenden() {
  if (Der_Aufzeichner().bLaeuft) Beobachter_Abmelden(&Der_Aufzeichner());
  Der_Aufzeichner().bLaeuft = false;
}

const std::vector<Aufruf>& Aufzeichnung() { return Der_Aufzeichner().Aufrufe; }

}  // namespace ersatz
