// A frame as one mesh in glTF's convention, and the kept frames' positions
// on that mesh. Direct3D's world is left-handed with clockwise front faces;
// glTF's is right-handed with counter-clockwise ones: z changes sign and
// every triangle turns its winding round, so the picture stays the same.
#include <algorithm>
#include <cmath>
#include <tuple>
#include <unordered_map>

#include "plattform/export/export.h"

namespace ersatz {
namespace {

// p times the matrix's upper rows, as row vectors go (w = 1 or 0).
void Transformieren(const D3DMATRIX& M, const D3DVECTOR& p, float w, float* pAus) {
  for (int j = 0; j < 3; ++j)
    pAus[j] = p.x * M.m[0][j] + p.y * M.m[1][j] + p.z * M.m[2][j] + w * M.m[3][j];
  pAus[2] = -pAus[2];
}

// The world position of a vertex in glTF's convention.
void Gltf_Punkt(const D3DMATRIX& Welt, const D3DVECTOR& p, float* pAus) {
  Transformieren(Welt, p, 1.0f, pAus);
}

}  // namespace

// Normals are turned by the world transform and made unit length (the
// program hands the device unnormalised ones); one of zero length points
// up, as glTF allows no other.
Netz Netz_Aus_Bild(const Bild& bild) {
  Netz netz;
  for (std::uint32_t n = 0; n < bild.Zeichnungen.size(); ++n) {
    const Bild_Zeichnung& z = bild.Zeichnungen[n];
    const std::uint32_t nEnde = z.nAnfang + static_cast<std::uint32_t>(z.Listen->Indizes.size());
    for (std::uint32_t v = z.nAnfang; v < nEnde; ++v) {
      netz.Zeichnung.push_back(n);
      float p[3], q[3];
      Transformieren(z.Welt, bild.Positionen[v], 1.0f, p);
      Transformieren(z.Welt, bild.Normalen[v], 0.0f, q);
      const float fLaenge = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]);
      for (int j = 0; j < 3; ++j) q[j] = fLaenge > 0 ? q[j] / fLaenge : (j == 1 ? 1.0f : 0.0f);
      netz.Positionen.insert(netz.Positionen.end(), p, p + 3);
      netz.Normalen.insert(netz.Normalen.end(), q, q + 3);
    }
    const auto& d = z.Listen->Dreiecke;
    const std::uint32_t a = z.nAnfang;
    for (std::size_t k = 0; k < d.size(); k += 3)
      netz.Dreiecke.insert(netz.Dreiecke.end(), {a + d[k], a + d[k + 2], a + d[k + 1]});
  }
  netz.Material = bild.Material;
  netz.nBild = bild.nNummer;
  return netz;
}

namespace {

// The cross product of two edges is not zero; in double, where the
// floats' differences and their products lose nothing at a tree's sizes,
// so corners that repeat or lie on one line give exactly zero.
bool Hat_Flaeche(const float* a, const float* b, const float* c) {
  const double u[3] = {double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
  const double v[3] = {double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
  return u[1] * v[2] != u[2] * v[1] || u[2] * v[0] != u[0] * v[2] || u[0] * v[1] != u[1] * v[0];
}

}  // namespace

Netz Netz_Verdichten(const Netz& netz, std::vector<std::uint32_t>& herkunft) {
  const std::uint32_t nKeine = ~std::uint32_t{0};
  std::vector<std::uint32_t> neu(netz.Zeichnung.size(), nKeine);
  Netz aus;
  aus.Material = netz.Material;
  aus.nBild = netz.nBild;
  aus.nSaat = netz.nSaat;
  herkunft.clear();
  const float* p = netz.Positionen.data();
  for (std::size_t k = 0; k < netz.Dreiecke.size(); k += 3) {
    const std::uint32_t* t = &netz.Dreiecke[k];
    if (!Hat_Flaeche(p + 3 * t[0], p + 3 * t[1], p + 3 * t[2])) continue;
    for (int e = 0; e < 3; ++e) {
      if (neu[t[e]] == nKeine) {
        neu[t[e]] = static_cast<std::uint32_t>(herkunft.size());
        herkunft.push_back(t[e]);
      }
      aus.Dreiecke.push_back(neu[t[e]]);
    }
  }
  aus.Positionen.reserve(3 * herkunft.size());
  aus.Normalen.reserve(3 * herkunft.size());
  for (const std::uint32_t v : herkunft) {
    aus.Positionen.insert(aus.Positionen.end(), p + 3 * v, p + 3 * v + 3);
    aus.Normalen.insert(aus.Normalen.end(), &netz.Normalen[3 * v], &netz.Normalen[3 * v] + 3);
    aus.Zeichnung.push_back(netz.Zeichnung[v]);
  }
  return aus;
}

std::array<float, 3> Basis_Versatz(const Netz& netz) {
  const auto& p = netz.Positionen;
  if (p.empty()) return {0, 0, 0};
  float fUnten = p[1];
  for (std::size_t i = 1; i < p.size(); i += 3) fUnten = std::min(fUnten, p[i]);
  float fMin[2] = {p[0], p[2]}, fMax[2] = {p[0], p[2]};
  bool bErste = true;
  for (std::size_t i = 0; i < p.size(); i += 3) {
    if (p[i + 1] > fUnten + 0.001f) continue;
    for (int c = 0; c < 2; ++c) {
      const float f = p[i + 2 * c];
      fMin[c] = bErste ? f : std::min(fMin[c], f);
      fMax[c] = bErste ? f : std::max(fMax[c], f);
    }
    bErste = false;
  }
  return {-(fMin[0] + fMax[0]) / 2, -fUnten, -(fMin[1] + fMax[1]) / 2};
}

void Verschieben(float* pPositionen, std::size_t nEcken, const std::array<float, 3>& versatz) {
  for (std::size_t i = 0; i < 3 * nEcken; i += 3)
    for (int c = 0; c < 3; ++c) pPositionen[i + c] += versatz[c];
}

Wachstum_Platzierung::Wachstum_Platzierung(const Netz& netzNeu, const Bild& endeNeu,
                                           const std::vector<const Probe*>& probenNeu)
    : netz(netzNeu), ende(endeNeu), proben(probenNeu), bBekannt(netzNeu.Zeichnung.size()) {
  const std::size_t nEcken = netz.Zeichnung.size();
  // Vertices of the same caller's vertex come together when sorted by it.
  struct Schluessel {
    const void* pEcken;
    std::uint32_t nIndex, v;
    bool operator<(const Schluessel& b) const {
      return std::tie(pEcken, nIndex, v) < std::tie(b.pEcken, b.nIndex, b.v);
    }
  };
  std::vector<Schluessel> gleiche;
  for (std::uint32_t v = 0; v < nEcken; ++v) {
    const Bild_Zeichnung& z = ende.Zeichnungen[netz.Zeichnung[v]];
    gleiche.push_back({z.pEcken, z.Listen->Indizes[v - z.nAnfang], v});
  }
  std::sort(gleiche.begin(), gleiche.end());
  std::vector<std::pair<std::uint32_t, std::uint32_t>> kanten;
  for (std::size_t i = 0, j; i < gleiche.size(); i = j) {
    for (j = i; j < gleiche.size() && gleiche[j].pEcken == gleiche[i].pEcken &&
                gleiche[j].nIndex == gleiche[i].nIndex;
         ++j) {
    }
    for (std::size_t a = i; a < j; ++a)
      for (std::size_t b = i; b < j; ++b)
        if (a != b) kanten.emplace_back(gleiche[a].v, gleiche[b].v);
  }
  for (std::size_t k = 0; k < netz.Dreiecke.size(); k += 3)
    for (int e = 0; e < 3; ++e)
      for (int f = 1; f < 3; ++f)
        kanten.emplace_back(netz.Dreiecke[k + e], netz.Dreiecke[k + (e + f) % 3]);
  // By first vertex, each vertex's neighbours in the order they came.
  Anfang.assign(nEcken + 1, 0);
  for (const auto& [v, w] : kanten) ++Anfang[v + 1];
  for (std::size_t v = 0; v < nEcken; ++v) Anfang[v + 1] += Anfang[v];
  Liste.resize(kanten.size());
  std::vector<std::uint32_t> frei(Anfang.begin(), Anfang.end() - 1);
  for (const auto& [v, w] : kanten) Liste[frei[v]++] = w;

  std::unordered_map<const void*, std::size_t> quelle;
  for (std::size_t n = 0; n < ende.Zeichnungen.size(); ++n)
    quelle.emplace(ende.Zeichnungen[n].pIndexQuelle, n);
  std::vector<std::size_t> geburt(ende.Zeichnungen.size(), proben.size());
  for (std::size_t k = 0; k < proben.size(); ++k) {
    damals.emplace_back(ende.Zeichnungen.size(), nullptr);
    for (const auto& z : *proben[k]->Zeichnungen) {
      const auto it = quelle.find(z.pIndexQuelle);
      if (it == quelle.end() || ende.Zeichnungen[it->second].pEcken != z.pEcken) continue;
      damals[k][it->second] = &z;
      geburt[it->second] = std::min(geburt[it->second], k);
    }
  }
  for (std::uint32_t v = 0; v < nEcken; ++v) Geburt.push_back(geburt[netz.Zeichnung[v]]);
  Anker_Finden();
}

// Level by level of birth: breadth first into the level from the vertices
// born before it.
void Wachstum_Platzierung::Anker_Finden() {
  const std::size_t nEcken = Geburt.size();
  Anker.assign(nEcken, -1);
  std::vector<std::uint32_t> nachGeburt(nEcken);
  for (std::uint32_t v = 0; v < nEcken; ++v) nachGeburt[v] = v;
  std::stable_sort(nachGeburt.begin(), nachGeburt.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return Geburt[a] < Geburt[b]; });
  std::vector<std::uint8_t> bErreicht(nEcken, 0);
  for (std::size_t i = 0; i < nEcken;) {
    std::size_t j = i;
    while (j < nEcken && Geburt[nachGeburt[j]] == Geburt[nachGeburt[i]]) ++j;
    const std::size_t nStart = Reihe.size();
    for (std::size_t k = i; k < j; ++k) {
      const std::uint32_t v = nachGeburt[k];
      for (std::uint32_t n = Anfang[v]; n < Anfang[v + 1]; ++n) {
        if (Geburt[Liste[n]] >= Geburt[v]) continue;
        Anker[v] = Liste[n];
        bErreicht[v] = 1;
        Reihe.push_back(v);
        break;
      }
    }
    for (std::size_t k = nStart; k < Reihe.size(); ++k) {
      const std::uint32_t v = Reihe[k];
      for (std::uint32_t n = Anfang[v]; n < Anfang[v + 1]; ++n) {
        const std::uint32_t w = Liste[n];
        if (bErreicht[w] || Geburt[w] != Geburt[v]) continue;
        Anker[w] = v;
        bErreicht[w] = 1;
        Reihe.push_back(w);
      }
    }
    i = j;
  }
}

void Wachstum_Platzierung::Im_Bild(std::size_t nProbe, float* pAus) {
  std::fill(bBekannt.begin(), bBekannt.end(), 0);
  Gezeichnete(nProbe, pAus);
  Vertretene(nProbe, pAus);
  Ungeborene(pAus);
  for (std::size_t v = 0; v < bBekannt.size(); ++v)
    if (!bBekannt[v]) std::copy_n(&netz.Positionen[3 * v], 3, &pAus[3 * v]);
}

// A vertex the same call drew then: where it was.
void Wachstum_Platzierung::Gezeichnete(std::size_t nProbe, float* pAus) {
  const Probe& bild = *proben[nProbe];
  for (std::size_t n = 0; n < ende.Zeichnungen.size(); ++n) {
    const Bild_Zeichnung* pDamals = damals[nProbe][n];
    if (!pDamals) continue;
    const Bild_Zeichnung& z = ende.Zeichnungen[n];
    const auto& jetzt = z.Listen->Indizes;
    const auto& vorher = pDamals->Listen->Indizes;
    for (std::uint32_t i = 0; i < jetzt.size(); ++i) {
      const std::uint32_t j =
          pDamals->Listen == z.Listen
              ? i
              : static_cast<std::uint32_t>(std::find(vorher.begin(), vorher.end(), jetzt[i]) -
                                           vorher.begin());
      if (j == vorher.size()) continue;
      Gltf_Punkt(z.Welt, bild.Positionen[pDamals->nAnfang + j], &pAus[3 * (z.nAnfang + i)]);
      bBekannt[z.nAnfang + i] = 1;
    }
  }
}

// A triangle slot of the call that then held another vertex: that
// vertex's place (a branch's tip before the fork that replaced it).
void Wachstum_Platzierung::Vertretene(std::size_t nProbe, float* pAus) {
  const Probe& bild = *proben[nProbe];
  for (std::size_t n = 0; n < ende.Zeichnungen.size(); ++n) {
    const Bild_Zeichnung* pDamals = damals[nProbe][n];
    const Bild_Zeichnung& z = ende.Zeichnungen[n];
    // The same lists: every vertex was drawn, nothing to stand in for.
    if (!pDamals || pDamals->Listen == z.Listen) continue;
    const auto& jetzt = z.Listen->Dreiecke;
    const auto& vorher = pDamals->Listen->Dreiecke;
    for (std::size_t k = 0; k < jetzt.size() && k < vorher.size(); ++k) {
      const std::uint32_t v = z.nAnfang + jetzt[k];
      if (bBekannt[v]) continue;
      Gltf_Punkt(pDamals->Welt, bild.Positionen[pDamals->nAnfang + vorher[k]], &pAus[3 * v]);
      bBekannt[v] = 1;
    }
  }
}

// Not yet born (or not drawn by its call then): onto the neighbour it was
// reached from, born before it or reached before it.
void Wachstum_Platzierung::Ungeborene(float* pAus) {
  for (const std::uint32_t v : Reihe) {
    if (bBekannt[v] || !bBekannt[Anker[v]]) continue;
    std::copy_n(&pAus[3 * Anker[v]], 3, &pAus[3 * v]);
    bBekannt[v] = 1;
  }
}

}  // namespace ersatz
