// The PNG captures: an observer of the devices that keeps the last shown
// frame for --capture and writes each shown frame into --capture-dir.
#include "plattform/aufnahme/aufnahme.h"

#include <cstdio>
#include <memory>

#include "plattform/d3d8/beobachter.h"
#include "plattform/d3d8/farben.h"
#include "plattform/fehler/fehler.h"
#include "plattform/win32/win32.h"

namespace ersatz {
namespace {

class Aufnahme : public Angemeldeter_Beobachter {
 public:
  Aufnahme(const std::string& dateiNeu, const std::string& ordnerNeu)
      : Datei(dateiNeu), Ordner(ordnerNeu) {}

  // The frame just presented is number Bildnummer() - 1.
  void Praesentiert(const Praesentiertes_Bild* pBild) override {
    if (!pBild) return;
    LetztesBild =
        Rgb_Aus_Puffer(pBild->pBits, pBild->nPitch, pBild->nBreite, pBild->nHoehe, pBild->Format);
    nBreite = pBild->nBreite;
    nHoehe = pBild->nHoehe;
    if (Ordner.empty()) return;
    char szName[32];
    std::snprintf(szName, sizeof szName, "/frame-%05u.png", Bildnummer() - 1);
    if (!Png_Schreiben(Ordner + szName, nBreite, nHoehe, LetztesBild)) bOrdnerFehler = true;
  }

  // A frame that could not go into the folder does not keep the last frame
  // from its file: each failure is named, "; " between them.
  bool Abschliessen(std::string& fehler) const {
    if (bOrdnerFehler) fehler = "cannot write every frame into " + Lesbar(Ordner);
    std::string datei;
    if (!Datei.empty() && LetztesBild.empty()) {
      datei = "no frame was presented, so " + Lesbar(Datei) + " was not written";
    } else if (!Datei.empty() && !Png_Schreiben(Datei, nBreite, nHoehe, LetztesBild)) {
      datei = "cannot write " + Lesbar(Datei);
    }
    if (!datei.empty()) fehler += (fehler.empty() ? "" : "; ") + datei;
    return fehler.empty();
  }

 private:
  std::string Datei;
  std::string Ordner;
  std::vector<std::uint8_t> LetztesBild;
  UINT nBreite = 0;
  UINT nHoehe = 0;
  bool bOrdnerFehler = false;
};

std::unique_ptr<Aufnahme> pAufnahme;

}  // namespace

void Aufnahme_Einrichten(const std::string& datei, const std::string& ordner) {
  pAufnahme.reset();
  if (datei.empty() && ordner.empty()) return;
  pAufnahme = std::make_unique<Aufnahme>(datei, ordner);
}

bool Aufnahme_Abschliessen(std::string& fehler) {
  fehler.clear();
  if (!pAufnahme) return true;
  const bool bGut = pAufnahme->Abschliessen(fehler);
  pAufnahme.reset();
  return bGut;
}

}  // namespace ersatz
