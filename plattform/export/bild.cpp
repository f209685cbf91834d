// One frame's triangles as the device got them: for each draw call its
// triangles and its own copy of each vertex they named.
#include <algorithm>
#include <cstring>

#include "plattform/d3d8/primitive.h"
#include "plattform/export/export.h"

namespace ersatz {
namespace {

D3DVECTOR Lesen(const std::uint8_t* p) {
  D3DVECTOR v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// The call's triangles as a list, three indices each, as the device draws
// them.
template <typename Index>
void Dreiecke_Lesen(const Beobachtete_Zeichnung& z, std::vector<std::uint32_t>& aus) {
  Dreiecke_Durchlaufen(z.Typ, static_cast<const Index*>(z.pIndizes), z.nPrimitive, z.nMin,
                       z.nAnzahl, [&](const Index* i) {
                         aus.insert(aus.end(), {i[0], i[1], i[2]});
                       });
}

// The list's indices numbered in the order they first appear: dreiecke
// becomes local numbers, indizes gets the caller's index of each.
void Lokal_Nummerieren(std::vector<std::uint32_t>& dreiecke, std::vector<std::uint32_t>& indizes) {
  indizes.clear();
  for (std::uint32_t& i : dreiecke) {
    const auto it = std::find(indizes.begin(), indizes.end(), i);
    const auto n = static_cast<std::uint32_t>(it - indizes.begin());
    if (it == indizes.end()) indizes.push_back(i);
    i = n;
  }
}

// The call is the previous frame's call again: the same arguments and the
// same indices. Then its lists stand as they are.
bool Wie_Vorher(const Beobachtete_Zeichnung& z, const Zeichnung_Listen& alt) {
  return z.Typ == alt.Typ && z.nMin == alt.nMin && z.nAnzahl == alt.nAnzahl &&
         z.nPrimitive == alt.nPrimitive && z.IndexFormat == alt.IndexFormat &&
         std::memcmp(z.pIndizes, alt.Roh.data(), alt.Roh.size()) == 0;
}

// The call's lists, read from its arguments; null when it names no
// triangle the device draws.
std::shared_ptr<const Zeichnung_Listen> Listen_Lesen(const Beobachtete_Zeichnung& z) {
  auto l = std::make_shared<Zeichnung_Listen>();
  l->Typ = z.Typ;
  l->nMin = z.nMin;
  l->nAnzahl = z.nAnzahl;
  l->nPrimitive = z.nPrimitive;
  l->IndexFormat = z.IndexFormat;
  const auto* pRoh = static_cast<const std::uint8_t*>(z.pIndizes);
  l->Roh.assign(
      pRoh, pRoh + Indexanzahl(z.Typ, z.nPrimitive) * (z.IndexFormat == D3DFMT_INDEX32 ? 4 : 2));
  if (z.IndexFormat == D3DFMT_INDEX32)
    Dreiecke_Lesen<std::uint32_t>(z, l->Dreiecke);
  else
    Dreiecke_Lesen<std::uint16_t>(z, l->Dreiecke);
  if (l->Dreiecke.empty()) return nullptr;
  Lokal_Nummerieren(l->Dreiecke, l->Indizes);
  return l;
}

}  // namespace

void Bild::Beginnen(unsigned nNummerNeu) {
  nNummer = nNummerNeu;
  nVersatz = 0;
  Zeichnungen.clear();
  Positionen.clear();
  Normalen.clear();
}

// The previous frame's call of the same index memory. Calls come in the
// same order from frame to frame, shifted where calls came or went (the
// children a fork adds are drawn before their parent), so the search
// starts where the last call was found.
const Bild_Zeichnung* Bild::Vorher_Finden(const std::vector<Bild_Zeichnung>& vorher,
                                          const void* pQuelle) {
  const std::ptrdiff_t nMitte = static_cast<std::ptrdiff_t>(Zeichnungen.size()) - nVersatz;
  const std::ptrdiff_t nAnzahl = static_cast<std::ptrdiff_t>(vorher.size());
  for (std::ptrdiff_t d = 0; d <= 8; ++d) {
    for (const std::ptrdiff_t j : {nMitte + d, nMitte - d}) {
      if (j < 0 || j >= nAnzahl || vorher[j].pIndexQuelle != pQuelle) continue;
      nVersatz = static_cast<std::ptrdiff_t>(Zeichnungen.size()) - j;
      return &vorher[j];
    }
  }
  return nullptr;
}

// A call the same as the previous frame's call of the same index memory
// shares its lists.
void Bild::Aufnehmen(const Beobachtete_Zeichnung& z, const Bild* pVorher) {
  if (z.pIndizes == nullptr || z.pEcken == nullptr) return;
  const Bild_Zeichnung* pAlt = pVorher ? Vorher_Finden(pVorher->Zeichnungen, z.pIndizes) : nullptr;
  Bild_Zeichnung neu;
  neu.Listen = pAlt && Wie_Vorher(z, *pAlt->Listen) ? pAlt->Listen : Listen_Lesen(z);
  if (!neu.Listen) return;
  neu.pIndexQuelle = z.pIndizes;
  neu.pEcken = z.pEcken;
  neu.Welt = z.Welt;
  neu.nAnfang = static_cast<std::uint32_t>(Positionen.size());
  const auto* pE = static_cast<const std::uint8_t*>(z.pEcken);
  for (const std::uint32_t i : neu.Listen->Indizes) {
    const std::uint8_t* pEcke = pE + std::size_t{i} * z.nStride;
    Positionen.push_back(Lesen(pEcke));
    Normalen.push_back(z.nNormale >= 0 ? Lesen(pEcke + z.nNormale) : D3DVECTOR{0, 0, 0});
  }
  Zeichnungen.push_back(std::move(neu));
  Material = z.Material;
}

}  // namespace ersatz
