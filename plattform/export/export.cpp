// The exporter as the launcher uses it: an observer of the devices that
// keeps the last presented frame (and the growth, when asked), and the
// files written when the run ends.
#include "plattform/export/export.h"

#include <memory>
#include <new>

#include "plattform/fehler/fehler.h"

namespace ersatz {
namespace {

// The growth file's size, which sets how many frames become samples: the
// heaviest tree gets every second frame (linear in between), and writing
// it stays a small part of a run.
const std::size_t nWachstumBudget = 4'000'000;

bool Endet_Auf(const std::string& text, const std::string& ende) {
  return text.size() >= ende.size() &&
         text.compare(text.size() - ende.size(), ende.size(), ende) == 0;
}

// Two frames take turns: the one being drawn and the last presented one.
// A frame the device lost is dropped. Out of memory, it stops watching and
// the files are not written.
class Exporteur : public Angemeldeter_Beobachter {
 public:
  explicit Exporteur(bool bWachstumNeu) : bWachstum(bWachstumNeu) {}

  void Gezeichnet(const Beobachtete_Zeichnung& z) override {
    if (bOhneSpeicher) return;
    try {
      Anfangen();
      Bilder[nAktuell].Aufnehmen(z, bLetztes ? &Bilder[1 - nAktuell] : nullptr);
    } catch (const std::bad_alloc&) {
      Aufgeben();
    }
  }

  void Praesentiert(const Praesentiertes_Bild* pBild) override {
    if (bOhneSpeicher) return;
    try {
      if (pBild) {
        Anfangen();
        nAktuell = 1 - nAktuell;
        bLetztes = true;
        if (bWachstum) wachstum.Bild_Nehmen(Letztes());
      }
    } catch (const std::bad_alloc&) {
      Aufgeben();
    }
    bAngefangen = false;
    ++nNummer;
  }

  const Bild* Letztes_Bild() const { return bLetztes ? &Letztes() : nullptr; }
  const Wachstum& Gewachsen() const { return wachstum; }
  bool Ohne_Speicher() const { return bOhneSpeicher; }

 private:
  const Bild& Letztes() const { return Bilder[1 - nAktuell]; }
  void Anfangen() {
    if (!bAngefangen) Bilder[nAktuell].Beginnen(nNummer);
    bAngefangen = true;
  }
  void Aufgeben() {
    bOhneSpeicher = true;
    Bilder[0] = Bild();
    Bilder[1] = Bild();
    wachstum = Wachstum();
  }

  Bild Bilder[2];
  int nAktuell = 0;
  bool bAngefangen = false;
  bool bLetztes = false;
  unsigned nNummer = 0;
  bool bWachstum;
  Wachstum wachstum;
  bool bOhneSpeicher = false;
};

std::unique_ptr<Exporteur> pExporteur;
std::string ExportDatei;
std::string WachstumDatei;

bool Wachstum_Schreiben(const Bild& ende, const Netz& netz, std::string& fehler) {
  const auto& bilder = pExporteur->Gewachsen().Proben();
  std::vector<unsigned> nummern;
  for (const auto& b : bilder) nummern.push_back(b.nNummer);
  const auto wahl =
      Proben_Waehlen(nummern, netz.Zeichnung.size(), netz.Dreiecke.size() / 3, nWachstumBudget);
  std::vector<unsigned> probenNummern;
  for (const std::size_t k : wahl) probenNummern.push_back(nummern[k]);
  std::vector<const Probe*> proben;
  for (const std::size_t k : wahl) proben.push_back(&bilder[k]);
  Wachstum_Platzierung platzierung(netz, ende, proben);
  const auto positionen = [&](std::size_t k, float* pAus) { platzierung.Im_Bild(k, pAus); };
  return Wachstum_Glb_Schreiben(WachstumDatei, netz, positionen, probenNummern, ende.nNummer,
                                fehler);
}

}  // namespace

bool Export_Einrichten(const std::string& datei, const std::string& wachstumDatei,
                       std::string& fehler) {
  if (!datei.empty() && !Endet_Auf(datei, ".glb") && !Endet_Auf(datei, ".obj")) {
    fehler = "--export needs a file ending in .glb or .obj, not '" + Lesbar(datei) + "'";
    return false;
  }
  if (!wachstumDatei.empty() && !Endet_Auf(wachstumDatei, ".glb")) {
    fehler = "--export-growth needs a file ending in .glb, not '" + Lesbar(wachstumDatei) + "'";
    return false;
  }
  ExportDatei = datei;
  WachstumDatei = wachstumDatei;
  if (datei.empty() && wachstumDatei.empty()) return true;
  pExporteur = std::make_unique<Exporteur>(!wachstumDatei.empty());
  return true;
}

bool Export_Abschliessen(std::string& fehler) {
  fehler.clear();
  if (!pExporteur) return true;
  const Bild* pEnde = pExporteur->Letztes_Bild();
  std::string eins;
  auto melden = [&](const std::string& text) { fehler += (fehler.empty() ? "" : "; ") + text; };
  for (const std::string* pDatei : {&ExportDatei, &WachstumDatei}) {
    if (pDatei->empty()) continue;
    if (pExporteur->Ohne_Speicher()) {
      melden("cannot write " + Lesbar(*pDatei) + ": out of memory");
      continue;
    }
    if (!pEnde || pEnde->Zeichnungen.empty()) {
      melden("the last frame drew no triangles, so " + Lesbar(*pDatei) + " was not written");
      continue;
    }
    bool bGut;
    try {
      const Netz netz = Netz_Aus_Bild(*pEnde);
      if (pDatei == &WachstumDatei)
        bGut = Wachstum_Schreiben(*pEnde, netz, eins);
      else if (Endet_Auf(ExportDatei, ".obj"))
        bGut = Obj_Schreiben(ExportDatei, netz, eins);
      else
        bGut = Glb_Schreiben(ExportDatei, netz, eins);
    } catch (const std::bad_alloc&) {
      bGut = false;
      eins = "cannot write " + Lesbar(*pDatei) + ": out of memory";
    }
    if (!bGut) melden(eins);
  }
  pExporteur.reset();
  return fehler.empty();
}

}  // namespace ersatz
