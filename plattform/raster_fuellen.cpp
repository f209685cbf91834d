// Filling one screen triangle: exact fixed-point edge walking (top-left
// rule: a pixel centre on a left or top edge belongs to the triangle, one
// on a right or bottom edge does not, so triangles sharing an edge cover
// each pixel along it exactly once), depth test, flat or perspective-
// correct Gouraud colour.
#include <algorithm>

#include "plattform/raster_intern.h"

namespace ersatz {
namespace {

// floor(n / d) for d > 0 and |n|, d below 2^53: a double division, then
// corrected by one where its rounding went past the exact quotient.
void Teilen(std::int64_t n, std::int64_t d, std::int64_t& q, std::int64_t& r) {
  const double f = static_cast<double>(n) / static_cast<double>(d);
  q = static_cast<std::int64_t>(f);
  if (static_cast<double>(q) > f) --q;
  r = n - q * d;
  if (r < 0) {
    --q;
    r += d;
  } else if (r >= d) {
    ++q;
    r -= d;
  }
}

// The first pixel column at or right of an edge, row by row: the exact
// value ceil(x / 256) of the edge's x at each pixel-centre row, kept as
// quotient and remainder so that no row needs a division.
struct Kante {
  std::int64_t q, r, d, sq, sr;

  Kante(const Bildpunkt& a, const Bildpunkt& b, int y) {
    const std::int64_t dx = b.X - a.X, dy = b.Y - a.Y;
    d = nSub * dy;
    Teilen(a.X * dy + (y * nSub - a.Y) * dx, d, q, r);
    Teilen(nSub * dx, d, sq, sr);
  }
  int X() const { return static_cast<int>(q + (r > 0)); }
  void Weiter() {
    q += sq;
    r += sr;
    if (r >= d) ++q, r -= d;
  }
};

// A value that varies linearly across the screen: a + x·dx + y·dy, set
// up from the three vertex values in double precision.
struct Ebene {
  double a, dx, dy;
  double Wert(double x, double y) const { return a + x * dx + y * dy; }
};

// Depth, and for Gouraud shading the colour channels over w and 1/w.
struct Ebenen {
  Ebene z, r, g, b, q;
};

Ebenen Ebenen_Aus(const Bildpunkt* p, bool bFarbe) {
  const double x0 = static_cast<double>(p[0].X) / nSub, y0 = static_cast<double>(p[0].Y) / nSub;
  const double x1 = static_cast<double>(p[1].X) / nSub - x0;
  const double y1 = static_cast<double>(p[1].Y) / nSub - y0;
  const double x2 = static_cast<double>(p[2].X) / nSub - x0;
  const double y2 = static_cast<double>(p[2].Y) / nSub - y0;
  const double f = 1.0 / (x1 * y2 - x2 * y1);
  auto ebene = [&](float Bildpunkt::*pWert) {
    const double a0 = p[0].*pWert, a1 = p[1].*pWert - a0, a2 = p[2].*pWert - a0;
    const double dx = (a1 * y2 - a2 * y1) * f, dy = (a2 * x1 - a1 * x2) * f;
    return Ebene{a0 - x0 * dx - y0 * dy, dx, dy};
  };
  Ebenen e{};
  e.z = ebene(&Bildpunkt::z);
  if (bFarbe) {
    e.r = ebene(&Bildpunkt::r);
    e.g = ebene(&Bildpunkt::g);
    e.b = ebene(&Bildpunkt::b);
    e.q = ebene(&Bildpunkt::q);
  }
  return e;
}

std::uint16_t Tiefe16(float z) {
  return static_cast<std::uint16_t>(std::min(1.0f, std::max(0.0f, z)) * 65535.0f + 0.5f);
}

bool Besteht(D3DCMPFUNC f, std::uint16_t neu, std::uint16_t alt) {
  switch (f) {
    case D3DCMP_NEVER:
      return false;
    case D3DCMP_LESS:
      return neu < alt;
    case D3DCMP_EQUAL:
      return neu == alt;
    case D3DCMP_LESSEQUAL:
      return neu <= alt;
    case D3DCMP_GREATER:
      return neu > alt;
    case D3DCMP_NOTEQUAL:
      return neu != alt;
    case D3DCMP_GREATEREQUAL:
      return neu >= alt;
    default:
      return true;
  }
}

// Four floats side by side: the colour channels over w and 1/w of a
// pixel, worked on together.
typedef float Vier __attribute__((vector_size(16)));
typedef int VierInt __attribute__((vector_size(16)));

Vier Vier_Aus(const Ebenen& e, double x, double y) {
  return Vier{static_cast<float>(e.r.Wert(x, y)), static_cast<float>(e.g.Wert(x, y)),
              static_cast<float>(e.b.Wert(x, y)), static_cast<float>(e.q.Wert(x, y))};
}

// The perspective-correct 8-bit channels of one pixel: round(c/w · w).
VierInt Kanaele(Vier v) {
  const float w = 1.0f / v[3];
  Vier c = v * w + 0.5f;
  c = c < 0.0f ? 0.0f : c;
  c = c > 255.0f ? 255.0f : c;
  return __builtin_convertvector(c, VierInt);
}

// One row of pixels [xl, xr) at row y.
template <typename Pixel, D3DFORMAT F, bool bFlach>
inline void Spanne(const Ziel& ziel, const Rasterzustand& zustand, const Ebenen& e, int y, int xl,
                   int xr, std::uint32_t nFlach) {
  auto* pF = reinterpret_cast<Pixel*>(ziel.pFarbe + static_cast<size_t>(y) * ziel.nPitch);
  std::uint16_t* pT =
      zustand.bTiefentest ? ziel.pTiefe + static_cast<size_t>(y) * ziel.nBreite : nullptr;
  const float z0 = static_cast<float>(e.z.Wert(xl, y)), dz = static_cast<float>(e.z.dx);
  Vier v0{}, dv{};
  if (!bFlach) {
    v0 = Vier_Aus(e, xl, y);
    dv = Vier{static_cast<float>(e.r.dx), static_cast<float>(e.g.dx),
              static_cast<float>(e.b.dx), static_cast<float>(e.q.dx)};
  }
  const int a8 = static_cast<int>((nFlach >> 15) & 1) * 255;
  for (int x = xl; x < xr; ++x) {
    const float i = static_cast<float>(x - xl);
    if (zustand.bTiefentest) {
      const std::uint16_t d = Tiefe16(z0 + i * dz);
      if (!Besteht(zustand.Vergleich, d, pT[x])) continue;
      if (zustand.bTiefeSchreiben) pT[x] = d;
    }
    if (bFlach) {
      pF[x] = static_cast<Pixel>(nFlach);
    } else {
      const VierInt k = Kanaele(v0 + i * dv);
      pF[x] = static_cast<Pixel>(Pixel_Packen(F, k[0], k[1], k[2], a8));
    }
  }
}

// The rows between the top and bottom vertex (sorted by y, rows y0 to
// y2, the middle vertex at row y1): the long edge on one side, the two
// short edges in turn on the other.
template <typename Pixel, D3DFORMAT F, bool bFlach>
void Zeilen(const Ziel& ziel, const Rasterzustand& zustand, const Bildpunkt* p,
            bool bLangLinks, const int* yGrenzen, std::uint32_t nFlach) {
  const Ebenen e = Ebenen_Aus(p, !bFlach);
  const int y0 = yGrenzen[0], y1 = yGrenzen[1], y2 = yGrenzen[2];
  Kante lang(p[0], p[2], y0);
  for (int teil = 0; teil < 2; ++teil) {
    const int ya = teil == 0 ? y0 : std::max(y0, y1), yb = teil == 0 ? std::min(y1, y2) : y2;
    if (ya >= yb) continue;
    Kante kurz = teil == 0 ? Kante(p[0], p[1], ya) : Kante(p[1], p[2], ya);
    for (int y = ya; y < yb; ++y, lang.Weiter(), kurz.Weiter()) {
      const int xl = std::max(0, bLangLinks ? lang.X() : kurz.X());
      const int xr = std::min(ziel.nBreite, bLangLinks ? kurz.X() : lang.X());
      if (xl < xr) Spanne<Pixel, F, bFlach>(ziel, zustand, e, y, xl, xr, nFlach);
    }
  }
}

using Zeilenfueller = void (*)(const Ziel&, const Rasterzustand&, const Bildpunkt*, bool,
                               const int*, std::uint32_t);

template <bool bFlach>
Zeilenfueller Fueller_Fuer(D3DFORMAT F) {
  switch (F) {
    case D3DFMT_R5G6B5:
      return Zeilen<std::uint16_t, D3DFMT_R5G6B5, bFlach>;
    case D3DFMT_X1R5G5B5:
      return Zeilen<std::uint16_t, D3DFMT_X1R5G5B5, bFlach>;
    case D3DFMT_A1R5G5B5:
      return Zeilen<std::uint16_t, D3DFMT_A1R5G5B5, bFlach>;
    default:
      return Zeilen<std::uint32_t, D3DFMT_X8R8G8B8, bFlach>;
  }
}

}  // namespace

// Sorts the vertices top to bottom, finds the rows the triangle covers
// on the target and the side its long edge is on, then fills.
void Dreieck_Fuellen(const Ziel& ziel, const Rasterzustand& zustand, const Bildpunkt& a,
                     const Bildpunkt& b, const Bildpunkt& c, std::uint32_t nFlach) {
  Bildpunkt p[3] = {a, b, c};
  if (p[1].Y < p[0].Y) std::swap(p[0], p[1]);
  if (p[2].Y < p[1].Y) std::swap(p[1], p[2]);
  if (p[1].Y < p[0].Y) std::swap(p[0], p[1]);
  const std::int64_t nKreuz =
      (p[2].X - p[0].X) * (p[1].Y - p[0].Y) - (p[1].X - p[0].X) * (p[2].Y - p[0].Y);
  if (nKreuz == 0) return;
  // The first pixel-centre row at or below Y: ceil(Y / 256).
  auto zeile = [](std::int64_t Y) { return static_cast<int>((Y + nSub - 1) >> nSubBits); };
  const int y[3] = {std::max(0, zeile(p[0].Y)), std::clamp(zeile(p[1].Y), 0, ziel.nHoehe),
                    std::min(ziel.nHoehe, zeile(p[2].Y))};
  if (y[0] >= y[2]) return;
  const Zeilenfueller fuellen =
      zustand.bFlach ? Fueller_Fuer<true>(ziel.Format) : Fueller_Fuer<false>(ziel.Format);
  fuellen(ziel, zustand, p, nKreuz < 0, y, nFlach);
}

}  // namespace ersatz
