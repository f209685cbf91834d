// The exporter as the launcher uses it: an observer of the devices that
// keeps the last presented frame (and the growth, when asked), and the
// files written when the run ends.
#include "plattform/export/export.h"

#include <algorithm>
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
Export_Angaben Angaben;

// The mesh as the files hold it (netz: without the triangles that have no
// area, moved by versatz) and the frame's whole mesh it came from (ganz,
// herkunft: each vertex's number there), on which the samples are placed.
struct Ausgabenetz {
  Netz ganz;
  Netz netz;
  std::vector<std::uint32_t> herkunft;
  std::array<float, 3> versatz{0, 0, 0};
};

// The growth's samples on the file's mesh: placed on the whole mesh,
// gathered through herkunft and moved as the last frame is.
bool Wachstum_Schreiben(const std::string& pfad, const Bild& ende, const Ausgabenetz& a,
                        std::string& fehler) {
  const Netz& netz = a.netz;
  const auto& bilder = pExporteur->Gewachsen().Proben();
  std::vector<unsigned> nummern;
  for (const auto& b : bilder) nummern.push_back(b.nNummer);
  const auto wahl =
      Proben_Waehlen(nummern, netz.Zeichnung.size(), netz.Dreiecke.size() / 3, nWachstumBudget);
  std::vector<unsigned> probenNummern;
  for (const std::size_t k : wahl) probenNummern.push_back(nummern[k]);
  std::vector<const Probe*> proben;
  for (const std::size_t k : wahl) proben.push_back(&bilder[k]);
  Wachstum_Platzierung platzierung(a.ganz, ende, proben);
  std::vector<float> alle(a.ganz.Positionen.size());
  const auto positionen = [&](std::size_t k, float* pAus) {
    platzierung.Im_Bild(k, alle.data());
    for (std::size_t i = 0; i < a.herkunft.size(); ++i)
      std::copy_n(&alle[3 * a.herkunft[i]], 3, pAus + 3 * i);
    Verschieben(pAus, a.herkunft.size(), a.versatz);
  };
  return Wachstum_Glb_Schreiben(pfad, netz, positionen, probenNummern, ende.nNummer, fehler);
}

// The names a file may have: .glb or .obj for the tree, .glb for the growth.
bool Name_Pruefen(const std::string& pfad, bool bWachstum, std::string& fehler) {
  if (pfad.empty() || Endet_Auf(pfad, ".glb") || (!bWachstum && Endet_Auf(pfad, ".obj")))
    return true;
  fehler = bWachstum ? "--export-growth needs a file ending in .glb, not '" + Lesbar(pfad) + "'"
                     : "--export needs a file ending in .glb or .obj, not '" + Lesbar(pfad) + "'";
  return false;
}

}  // namespace

std::string Export_Materialdatei(const std::string& pfad) {
  return Endet_Auf(pfad, ".obj") ? pfad.substr(0, pfad.size() - 4) + ".mtl" : "";
}

bool Export_Einrichten(const std::string& datei, const std::string& wachstumDatei,
                       std::string& fehler) {
  if (!Name_Pruefen(datei, false, fehler) || !Name_Pruefen(wachstumDatei, true, fehler))
    return false;
  ExportDatei = datei;
  WachstumDatei = wachstumDatei;
  if (datei.empty() && wachstumDatei.empty()) return true;
  Export_Beobachten(!wachstumDatei.empty());
  return true;
}

void Export_Einstellen(const Export_Angaben& angaben) { Angaben = angaben; }

void Export_Beobachten(bool bWachstum) { pExporteur = std::make_unique<Exporteur>(bWachstum); }

bool Export_Schreiben(const std::string& pfad, bool bWachstum, std::string& fehler) {
  if (!Name_Pruefen(pfad, bWachstum, fehler)) return false;
  const Bild* pEnde = pExporteur ? pExporteur->Letztes_Bild() : nullptr;
  if (pExporteur && pExporteur->Ohne_Speicher()) {
    fehler = "cannot write " + Lesbar(pfad) + ": out of memory";
    return false;
  }
  if (!pEnde || pEnde->Zeichnungen.empty()) {
    fehler = "the last frame drew no triangles, so " + Lesbar(pfad) + " was not written";
    return false;
  }
  try {
    Ausgabenetz a;
    a.ganz = Netz_Aus_Bild(*pEnde);
    a.ganz.nSaat = Angaben.nSaat;
    a.netz = Netz_Verdichten(a.ganz, a.herkunft);
    if (a.netz.Dreiecke.empty()) {
      fehler =
          "the last frame drew no triangle with an area, so " + Lesbar(pfad) + " was not written";
      return false;
    }
    if (Angaben.Ursprung == Export_Ursprung::Basis) a.versatz = Basis_Versatz(a.netz);
    Verschieben(a.netz.Positionen.data(), a.herkunft.size(), a.versatz);
    if (bWachstum) return Wachstum_Schreiben(pfad, *pEnde, a, fehler);
    if (Endet_Auf(pfad, ".obj")) return Obj_Schreiben(pfad, a.netz, fehler);
    return Glb_Schreiben(pfad, a.netz, fehler);
  } catch (const std::bad_alloc&) {
    fehler = "cannot write " + Lesbar(pfad) + ": out of memory";
    return false;
  }
}

bool Export_Abschliessen(std::string& fehler) {
  fehler.clear();
  if (!pExporteur) return true;
  std::string eins;
  for (const std::string* pDatei : {&ExportDatei, &WachstumDatei}) {
    if (pDatei->empty() || Export_Schreiben(*pDatei, pDatei == &WachstumDatei, eins)) continue;
    fehler += (fehler.empty() ? "" : "; ") + eins;
  }
  pExporteur.reset();
  return fehler.empty();
}

}  // namespace ersatz
