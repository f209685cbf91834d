#pragma once
// The primitives of an indexed draw call: how many indices it reads and
// which triangles they make. The device draws these triangles and the
// exporter takes them, so both walk a call the same way.
#include <cstddef>

#include "plattform/d3d8/d3d8.h"

namespace ersatz {

// Indices a call of nPrimitive primitives of Typ reads; 0 for the types the
// device does not draw (points and lines).
inline std::size_t Indexanzahl(D3DPRIMITIVETYPE Typ, UINT nPrimitive) {
  switch (Typ) {
    case D3DPT_TRIANGLELIST:
      return std::size_t{nPrimitive} * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
      return std::size_t{nPrimitive} + 2;
    default:
      return 0;
  }
}

// The vertex indices of triangle p in one winding: odd strip triangles swap
// their last two vertices. The first is the vertex flat shading takes
// (lists: vertex 3p, strips: vertex p, fans: vertex p + 1).
template <typename Index>
void Dreieck_Indizes(D3DPRIMITIVETYPE Typ, const Index* pI, UINT p, Index* i) {
  if (Typ == D3DPT_TRIANGLELIST) {
    i[0] = pI[3 * p], i[1] = pI[3 * p + 1], i[2] = pI[3 * p + 2];
  } else if (Typ == D3DPT_TRIANGLESTRIP) {
    i[0] = pI[p], i[1] = pI[p + 1 + (p & 1)], i[2] = pI[p + 2 - (p & 1)];
  } else {
    i[0] = pI[p + 1], i[1] = pI[p + 2], i[2] = pI[0];
  }
}

// Calls f(i) with the three indices of each triangle, in order, whose
// vertices all lie in the span the call handed over, [nMin, nMin +
// nAnzahl); a triangle naming memory outside it is left out. Typ is one the
// device draws.
template <typename Index, typename Funktion>
void Dreiecke_Durchlaufen(D3DPRIMITIVETYPE Typ, const Index* pI, UINT nPrimitive, UINT nMin,
                          UINT nAnzahl, Funktion&& f) {
  // An index below nMin wraps around to far above nAnzahl: one unsigned
  // comparison tests both ends.
  auto ausserhalb = [nMin, nAnzahl](Index n) {
    return std::size_t{n} - nMin >= std::size_t{nAnzahl};
  };
  for (UINT p = 0; p < nPrimitive; ++p) {
    Index i[3];
    Dreieck_Indizes(Typ, pI, p, i);
    if (ausserhalb(i[0]) || ausserhalb(i[1]) || ausserhalb(i[2])) continue;
    f(static_cast<const Index*>(i));
  }
}

}  // namespace ersatz
