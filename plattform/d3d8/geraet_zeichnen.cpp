// The device's drawing calls: vertex format and indexed drawing from the
// caller's memory. Each call transforms and lights only the vertices its
// indices name, each once, straight from the caller's vertex memory.
#include <algorithm>
#include <cstring>
#include <new>

#include "plattform/d3d8/beobachter.h"
#include "plattform/d3d8/geraet.h"
#include "plattform/d3d8/primitive.h"

namespace ersatz {
namespace {

D3DVECTOR Vektor_Lesen(const std::uint8_t* p) {
  D3DVECTOR v;
  std::memcpy(&v, p, sizeof(v));
  return v;
}

// The index list of a call and the position and normal of each vertex it
// names, for the observers of every call.
template <typename Index>
void Zeichnen_Melden(HRESULT hr, D3DPRIMITIVETYPE Typ, UINT nMin, UINT nAnzahl, UINT nPrimitive,
                     const void* pIndizes, D3DFORMAT IndexFormat, const void* pEcken, UINT nStride,
                     int nNormale) {
  Aufruf a;
  a.Art = Aufruf_Art::DrawIndexedPrimitiveUP;
  a.hErgebnis = hr;
  Aufruf_Zeichnen& z = a.Zeichnen;
  z = {Typ, nMin, nAnzahl, nPrimitive, IndexFormat, nStride, {}, {}};
  const auto* pI = static_cast<const Index*>(pIndizes);
  const auto* pE = static_cast<const std::uint8_t*>(pEcken);
  const std::size_t nIndizes = Indexanzahl(Typ, nPrimitive);
  for (std::size_t k = 0; pI != nullptr && k < nIndizes; ++k) {
    z.Indizes.push_back(pI[k]);
    if (pE == nullptr || pI[k] < nMin || pI[k] >= nMin + nAnzahl) continue;
    Aufruf_Ecke e;
    e.nIndex = pI[k];
    e.Position = Vektor_Lesen(pE + size_t{pI[k]} * nStride);
    if (nNormale >= 0) e.Normale = Vektor_Lesen(pE + size_t{pI[k]} * nStride + nNormale);
    z.Ecken.push_back(e);
  }
  Aufruf_Melden(a);
}

}  // namespace

// The tree sets its format before every draw call: the same format again
// keeps the transform-and-light stage as it is.
HRESULT Geraet::SetVertexShader(DWORD Handle) {
  Eckenformat format;
  const HRESULT hr = Eckenformat_Lesen(Handle, format) ? D3D_OK : D3DERR_INVALIDCALL;
  if (hr == D3D_OK && Handle != nShader) {
    nShader = Handle;
    Format = format;
    bRechnerVeraltet = true;
  }
  Aufruf_Melden(Aufruf_Art::SetVertexShader, hr, 0, Handle);
  return hr;
}

HRESULT Geraet::Zeichnen_Pruefen(D3DPRIMITIVETYPE Typ, UINT nMin, UINT nAnzahl, UINT nPrimitive,
                                 const void* pIndizes, D3DFORMAT IndexFormat, const void* pEcken,
                                 UINT nStride) const {
  if (!bSzene || pIndizes == nullptr || pEcken == nullptr || nAnzahl == 0 || Format.nGroesse == 0 ||
      nStride < Format.nGroesse || Indexanzahl(Typ, nPrimitive) == 0 ||
      (IndexFormat != D3DFMT_INDEX16 && IndexFormat != D3DFMT_INDEX32) ||
      std::uint64_t{nMin} + nAnzahl > (IndexFormat == D3DFMT_INDEX16 ? 0x10000u : 0x1000000u)) {
    return D3DERR_INVALIDCALL;
  }
  return D3D_OK;
}

// Draws triangles from 16- or 32-bit indices into the caller's vertices.
// Indices outside [MinVertexIndex, MinVertexIndex + NumVertexIndices) name
// memory the caller did not hand over; their triangles are left out.
HRESULT Geraet::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE Typ, UINT nMin, UINT nAnzahl,
                                       UINT nPrimitive, const void* pIndizes, D3DFORMAT IndexFormat,
                                       const void* pEcken, UINT nStride) {
  HRESULT hr = nPrimitive == 0 ? D3D_OK
                               : Zeichnen_Pruefen(Typ, nMin, nAnzahl, nPrimitive, pIndizes,
                                                  IndexFormat, pEcken, nStride);
  if (hr == D3D_OK && nPrimitive > 0) {
    const auto* pE = static_cast<const std::uint8_t*>(pEcken);
    try {
      if (IndexFormat == D3DFMT_INDEX16) {
        Zeichnen(Typ, nMin, nAnzahl, nPrimitive, static_cast<const std::uint16_t*>(pIndizes), pE,
                 nStride);
      } else {
        Zeichnen(Typ, nMin, nAnzahl, nPrimitive, static_cast<const std::uint32_t*>(pIndizes), pE,
                 nStride);
      }
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    }
  }
  if (hr == D3D_OK && nPrimitive > 0) {
    if (Beobachter_Da()) {
      Beobachter_Zeichnung({Typ, nMin, nAnzahl, nPrimitive, pIndizes, IndexFormat, pEcken, nStride,
                            Format.nNormale, Welt, Material});
    }
  }
  if (Aufrufe_Beobachtet()) {
    if (IndexFormat == D3DFMT_INDEX32) {
      Zeichnen_Melden<std::uint32_t>(hr, Typ, nMin, nAnzahl, nPrimitive, pIndizes, IndexFormat,
                                     pEcken, nStride, Format.nNormale);
    } else {
      Zeichnen_Melden<std::uint16_t>(hr, Typ, nMin, nAnzahl, nPrimitive, pIndizes, IndexFormat,
                                     pEcken, nStride, Format.nNormale);
    }
  }
  return hr;
}

Rasterzustand Geraet::Rasterzustand_Holen() const {
  Rasterzustand z;
  z.bFlach = RenderStates[D3DRS_SHADEMODE] == D3DSHADE_FLAT;
  z.Cull = static_cast<D3DCULL>(RenderStates[D3DRS_CULLMODE]);
  z.bTiefentest = !Tiefe.empty() && RenderStates[D3DRS_ZENABLE] != D3DZB_FALSE;
  z.bTiefeSchreiben = RenderStates[D3DRS_ZWRITEENABLE] != FALSE;
  z.Vergleich = static_cast<D3DCMPFUNC>(RenderStates[D3DRS_ZFUNC]);
  return z;
}

void Geraet::Eckenrechner_Aktualisieren() {
  if (!bRechnerVeraltet) return;
  Eckenrechner_Eingaben e;
  e.pWelt = &Welt;
  e.pSicht = &Sicht;
  e.pProjektion = &Projektion;
  e.pMaterial = &Material;
  for (const auto& [nIndex, eintrag] : Lichter) {
    if (eintrag.bAn) e.Lichter.push_back(eintrag.Licht);
  }
  e.pRenderStates = RenderStates;
  e.pStufe0 = Stufen[0];
  e.Format = Format;
  Rechner.Einrichten(e);
  bRechnerVeraltet = false;
}

// Transforms and lights each vertex the call's drawable triangles name,
// once, all before the first triangle is drawn.
template <typename Index>
void Geraet::Ecken_Berechnen(D3DPRIMITIVETYPE Typ, UINT nMin, UINT nAnzahl, UINT nPrimitive,
                             const Index* pI, const std::uint8_t* pEcken, UINT nStride) {
  Rechner.Platz_Fuer(nAnzahl);
  Dreiecke_Durchlaufen(Typ, pI, nPrimitive, nMin, nAnzahl, [this](const Index* i) {
    for (int k = 0; k < 3; ++k) {
      if (Stempel[i[k]] == nStempel) continue;
      Stempel[i[k]] = nStempel;
      Rechner.Vormerken(i[k]);
    }
  });
  Rechner.Alle_Berechnen(pEcken, nStride, Aktuelles_Ziel, Ecken.data());
}

// Assembles the primitives' triangles from the call's indices.
template <typename Index>
void Geraet::Zeichnen(D3DPRIMITIVETYPE Typ, UINT nMin, UINT nAnzahl, UINT nPrimitive,
                      const Index* pI, const std::uint8_t* pEcken, UINT nStride) {
  Eckenrechner_Aktualisieren();
  // Ecken grows first: Stempel never names a vertex Ecken has no room for,
  // also when memory runs out between the two.
  const size_t nEnde = size_t{nMin} + nAnzahl;
  if (Stempel.size() < nEnde) {
    Ecken.resize(nEnde);
    Stempel.resize(nEnde, 0);
  }
  if (++nStempel == 0) {
    std::fill(Stempel.begin(), Stempel.end(), 0);
    nStempel = 1;
  }
  Aktuelles_Ziel = Zeichenziel();
  Ecken_Berechnen(Typ, nMin, nAnzahl, nPrimitive, pI, pEcken, nStride);
  const Ziel& ziel = Aktuelles_Ziel;
  const Rasterzustand zustand = Rasterzustand_Holen();
  Dreiecke_Durchlaufen(Typ, pI, nPrimitive, nMin, nAnzahl, [&](const Index* i) {
    Dreieck_Zeichnen(ziel, zustand, Ecken[i[0]], Ecken[i[1]], Ecken[i[2]]);
  });
}

}  // namespace ersatz
