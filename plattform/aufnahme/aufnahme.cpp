// The PNG captures: an observer of the devices that keeps the last shown
// frame for --capture and writes each shown frame into --capture-dir.
#include "plattform/aufnahme/aufnahme.h"

#include <cstdio>
#include <memory>
#include <new>

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

  // The frame just presented is number Bildnummer() - 1. Out of memory
  // loses the frame, and the failure is named at the end.
  void Praesentiert(const Praesentiertes_Bild* pBild) override {
    if (!pBild) return;
    char szName[32];
    std::snprintf(szName, sizeof szName, "frame-%05u.png", Bildnummer() - 1);
    try {
      LetztesBild.resize(std::size_t(pBild->nBreite) * pBild->nHoehe * 3);
      Farben_Aus_Puffer(pBild->pBits, pBild->nPitch, pBild->nBreite, pBild->nHoehe, pBild->Format,
                        LetztesBild.data(), 3);
    } catch (const std::bad_alloc&) {
      LetztesBild.clear();
      if (grundDatei.empty())
        grundDatei = "out of memory at frame " + std::to_string(Bildnummer() - 1);
      if (!Ordner.empty() && grundOrdner.empty()) grundOrdner = grundDatei;
      return;
    }
    nBreite = pBild->nBreite;
    nHoehe = pBild->nHoehe;
    if (Ordner.empty()) return;
    const std::string grund = Png_Schreiben(Ordner + "/" + szName, nBreite, nHoehe, LetztesBild);
    if (!grund.empty() && grundOrdner.empty()) grundOrdner = std::string(szName) + ": " + grund;
  }

  // A frame that could not go into the folder does not keep the last frame
  // from its file: each failure is named with its reason, "; " between
  // them.
  bool Abschliessen(std::string& fehler) const {
    if (!grundOrdner.empty())
      fehler = "cannot write every frame into " + Lesbar(Ordner) + ": " + grundOrdner;
    std::string datei;
    if (!Datei.empty() && LetztesBild.empty()) {
      datei = grundDatei.empty()
                  ? "no frame was presented, so " + Lesbar(Datei) + " was not written"
                  : "cannot write " + Lesbar(Datei) + ": " + grundDatei;
    } else if (!Datei.empty()) {
      const std::string grund = Png_Schreiben(Datei, nBreite, nHoehe, LetztesBild);
      if (!grund.empty()) datei = "cannot write " + Lesbar(Datei) + ": " + grund;
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
  std::string grundOrdner;  // the first frame the folder did not get, and why
  std::string grundDatei;   // why the last frame could not be kept
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
