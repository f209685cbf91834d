// The frames of a tree's growth, kept while the geometry changes.
#include <algorithm>
#include <cstring>

#include "plattform/export/export.h"

namespace ersatz {
namespace {

// At most this many frames are kept; beyond it every second one goes
// (a tree grows in some 130 frames, each kept frame holds its positions).
const std::size_t nHoechstens = 128;

bool Gleiche_Zeichnungen(const std::vector<Bild_Zeichnung>& a,
                         const std::vector<Bild_Zeichnung>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t n = 0; n < a.size(); ++n) {
    if (a[n].pIndexQuelle != b[n].pIndexQuelle || a[n].Listen != b[n].Listen ||
        std::memcmp(&a[n].Welt, &b[n].Welt, sizeof(D3DMATRIX)) != 0)
      return false;
  }
  return true;
}

// Every draw call of the frame before is drawn again: the same tree.
bool Fortsetzung(const std::vector<Bild_Zeichnung>& vorher,
                 const std::vector<Bild_Zeichnung>& jetzt) {
  static std::vector<const void*> alt, neu;
  alt.clear();
  neu.clear();
  for (const auto& z : vorher) alt.push_back(z.pIndexQuelle);
  for (const auto& z : jetzt) neu.push_back(z.pIndexQuelle);
  std::sort(alt.begin(), alt.end());
  std::sort(neu.begin(), neu.end());
  return std::includes(neu.begin(), neu.end(), alt.begin(), alt.end());
}

}  // namespace

void Wachstum::Bild_Nehmen(const Bild& bild) {
  if (bild.Zeichnungen.empty()) return;
  const bool bGleich =
      !proben.empty() && Gleiche_Zeichnungen(*proben.back().Zeichnungen, bild.Zeichnungen);
  // The same calls give the same number of vertices.
  if (bGleich && std::memcmp(proben.back().Positionen.data(), bild.Positionen.data(),
                             bild.Positionen.size() * sizeof(D3DVECTOR)) == 0)
    return;
  if (!proben.empty() && !bGleich && !Fortsetzung(*proben.back().Zeichnungen, bild.Zeichnungen))
    proben.clear();
  Probe probe;
  probe.nNummer = bild.nNummer;
  probe.Zeichnungen = bGleich
                          ? proben.back().Zeichnungen
                          : std::make_shared<const std::vector<Bild_Zeichnung>>(bild.Zeichnungen);
  probe.Positionen = bild.Positionen;
  proben.push_back(std::move(probe));
  if (proben.size() > nHoechstens) {
    std::vector<Probe> duenner;
    for (std::size_t n = 0; n < proben.size(); n += 2) duenner.push_back(std::move(proben[n]));
    if (proben.size() % 2 == 0) duenner.push_back(std::move(proben.back()));
    proben = std::move(duenner);
  }
}

}  // namespace ersatz

namespace ersatz {
namespace {

// The file's size for n samples: the mesh, n - 1 targets with their
// description, and the weights (a key per sample and one more).
std::size_t Groesse(std::size_t n, std::size_t nEcken, std::size_t nDreiecke) {
  return 24 * nEcken + 12 * nDreiecke + (n - 1) * (12 * nEcken + 400) + 4 * (n + 1) * n + 4096;
}

std::vector<std::size_t> Gewaehlt(const std::vector<unsigned>& nummern, unsigned nSchritt) {
  std::vector<std::size_t> wahl = {0};
  for (std::size_t j = 1; j + 1 < nummern.size(); ++j)
    if (nummern[j] >= nummern[wahl.back()] + nSchritt) wahl.push_back(j);
  if (nummern.size() > 1) wahl.push_back(nummern.size() - 1);
  return wahl;
}

}  // namespace

std::vector<std::size_t> Proben_Waehlen(const std::vector<unsigned>& nummern, std::size_t nEcken,
                                        std::size_t nDreiecke, std::size_t nBudget) {
  if (nummern.empty()) return {};
  for (unsigned nSchritt = 1;; ++nSchritt) {
    std::vector<std::size_t> wahl = Gewaehlt(nummern, nSchritt);
    if (wahl.size() <= 2 || Groesse(wahl.size(), nEcken, nDreiecke) <= nBudget) return wahl;
  }
}

}  // namespace ersatz
