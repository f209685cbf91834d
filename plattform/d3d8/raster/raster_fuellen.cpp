// Filling one screen triangle: exact fixed-point edge walking (top-left
// rule: a pixel centre on a left or top edge belongs to the triangle, one
// on a right or bottom edge does not, so triangles sharing an edge cover
// each pixel along it exactly once), depth test, flat or perspective-
// correct Gouraud colour. Pixels are worked on four side by side, and a
// row's pixels outside its span are read and written back unchanged:
// the triangles drawn are mostly slivers a pixel or two wide, where
// branching per pixel would cost more than the pixels themselves.
#include <xmmintrin.h>

#include <algorithm>
#include <cstring>

#include "plattform/d3d8/raster/raster_intern.h"

namespace ersatz {
namespace {

typedef std::uint64_t ZweiLang __attribute__((vector_size(16)));

constexpr Vier fSpur = {0.0f, 1.0f, 2.0f, 3.0f};

// floor(n / d) as quotient q and remainder 0 <= r < d, for d > 0 and
// |n|, d below 2^53, given fKehr = 1/d: the double estimate is off by at
// most one either way, and the remainder tells which way. No branches:
// their outcome would be a coin toss per edge.
void Teilen(std::int64_t n, std::int64_t d, double fKehr, std::int64_t& q, std::int64_t& r) {
  q = static_cast<std::int64_t>(static_cast<double>(n) * fKehr);
  r = n - q * d;
  const bool bUnter = r < 0;
  q -= bUnter;
  r += bUnter ? d : 0;
  const bool bUeber = r >= d;
  q += bUeber;
  r -= bUeber ? d : 0;
}

// The first pixel column at or right of an edge, row by row: the exact
// value c = ceil(x / 256) of the edge's x at each pixel-centre row, kept
// with how far c lies right of x (u / d pixels, 0 <= u < d) so that no row
// needs a division. A row down adds sq + sr / d pixels to x.
struct Kante {
  std::int64_t c = 0, u = 0, d = 1, sq = 0, sr = 0;

  Kante() = default;
  Kante(const Bildpunkt& a, const Bildpunkt& b, int y) {
    const std::int64_t dx = b.X - a.X, dy = b.Y - a.Y;
    d = nSub * dy;
    const double fKehr = 1.0 / static_cast<double>(d);
    std::int64_t r;
    Teilen(a.X * dy + (y * nSub - a.Y) * dx, d, fKehr, c, r);
    c += r > 0;
    u = r > 0 ? d - r : 0;
    Teilen(nSub * dx, d, fKehr, sq, sr);
  }
};

typedef double Zwei __attribute__((vector_size(16)));

Vier Vier_Aus(Zwei a, Zwei b) {
  return Vier{static_cast<float>(a[0]), static_cast<float>(a[1]), static_cast<float>(b[0]),
              static_cast<float>(b[1])};
}

// The planes through the sorted vertices p, from the reference pixel.
void Verlauf_Setzen(const Bildpunkt* const* p, int xRef, int yRef, bool bFarbe, Verlauf& w) {
  const double x0 = static_cast<double>(p[0]->X) / nSub, y0 = static_cast<double>(p[0]->Y) / nSub;
  const double x1 = static_cast<double>(p[1]->X) / nSub - x0;
  const double y1 = static_cast<double>(p[1]->Y) / nSub - y0;
  const double x2 = static_cast<double>(p[2]->X) / nSub - x0;
  const double y2 = static_cast<double>(p[2]->Y) / nSub - y0;
  const double f = 1.0 / (x1 * y2 - x2 * y1), u = xRef - x0, v = yRef - y0;
  // Two attributes at a time: their value at the reference pixel and
  // their steps along x and y.
  auto ebene = [&](Zwei a0, Zwei a1, Zwei a2, Zwei& dx, Zwei& dy) {
    a1 -= a0, a2 -= a0;
    dx = (a1 * y2 - a2 * y1) * f, dy = (a2 * x1 - a1 * x2) * f;
    return a0 + u * dx + v * dy;
  };
  w.xRef = xRef, w.yRef = yRef;
  Zwei dx, dy;
  const Zwei zq =
      ebene(Zwei{p[0]->z, p[0]->q}, Zwei{p[1]->z, p[1]->q}, Zwei{p[2]->z, p[2]->q}, dx, dy);
  w.z = static_cast<float>(zq[0]), w.zdx = static_cast<float>(dx[0]);
  w.zdy = static_cast<float>(dy[0]);
  if (!bFarbe) {
    w.c = w.cdx = w.cdy = Vier{};
    return;
  }
  Zwei dx2, dy2;
  const Zwei rg =
      ebene(Zwei{p[0]->r, p[0]->g}, Zwei{p[1]->r, p[1]->g}, Zwei{p[2]->r, p[2]->g}, dx2, dy2);
  Zwei dx3, dy3;
  const Zwei b = ebene(Zwei{p[0]->b, 0.0}, Zwei{p[1]->b, 0.0}, Zwei{p[2]->b, 0.0}, dx3, dy3);
  w.c = Vier_Aus(rg, Zwei{b[0], zq[1]});
  w.cdx = Vier_Aus(dx2, Zwei{dx3[0], dx[1]});
  w.cdy = Vier_Aus(dy2, Zwei{dy3[0], dy[1]});
}

// D3DCMP_NEVER..D3DCMP_ALWAYS minus one hold one bit each for "less",
// "equal" and "greater" passing; anything else lets every pixel pass.
void Vergleich_Setzen(D3DCMPFUNC f, Fuellung& u) {
  const int n = f >= D3DCMP_NEVER && f <= D3DCMP_ALWAYS ? f - D3DCMP_NEVER : 7;
  const int nKleiner = n & 1, nGleich = (n >> 1) & 1, nGroesser = (n >> 2) & 1;
  auto maske = [](int b) { return Acht{} - static_cast<std::uint16_t>(b); };
  u.mX = maske(nGroesser ^ nGleich);
  u.mY = maske(nKleiner ^ nGleich);
  u.mZ = maske(nKleiner ^ nGleich ^ nGroesser);
}

// The lanes [a, b) of a group of four as a mask, for a in 0..3 and b in
// 0..4.
constexpr std::uint64_t Spannmaske(int a, int b) {
  std::uint64_t m = 0;
  for (int k = a; k < b; ++k) m |= std::uint64_t{0xFFFF} << (16 * k);
  return m;
}

constexpr std::uint64_t nSpannmasken[4][5] = {
    {Spannmaske(0, 0), Spannmaske(0, 1), Spannmaske(0, 2), Spannmaske(0, 3), Spannmaske(0, 4)},
    {Spannmaske(1, 0), Spannmaske(1, 1), Spannmaske(1, 2), Spannmaske(1, 3), Spannmaske(1, 4)},
    {Spannmaske(2, 0), Spannmaske(2, 1), Spannmaske(2, 2), Spannmaske(2, 3), Spannmaske(2, 4)},
    {Spannmaske(3, 0), Spannmaske(3, 1), Spannmaske(3, 2), Spannmaske(3, 3), Spannmaske(3, 4)}};

Acht Acht_Aus(std::uint64_t n) { return reinterpret_cast<Acht>(ZweiLang{n, 0}); }

// Four 16-bit values in the low lanes.
Acht Laden(const std::uint16_t* p) {
  std::uint64_t n;
  std::memcpy(&n, p, sizeof(n));
  return Acht_Aus(n);
}

void Speichern(std::uint16_t* p, Acht a) {
  const std::uint64_t n = reinterpret_cast<ZweiLang>(a)[0];
  std::memcpy(p, &n, sizeof(n));
}

VierInt Laden(const std::uint32_t* p) {
  VierInt v;
  std::memcpy(&v, p, sizeof(v));
  return v;
}

void Speichern(std::uint32_t* p, VierInt v) { std::memcpy(p, &v, sizeof(v)); }

// Four values 0..65535 as the low 16-bit lanes: each 64-bit half folds
// its upper lane down next to its lower one, then the two halves join.
Acht Schmal(VierInt v) {
  ZweiLang z = reinterpret_cast<ZweiLang>(v);
  z |= z >> 16;
  const VierInt v2 = reinterpret_cast<VierInt>(z);
  return reinterpret_cast<Acht>(ERSATZ_MISCHEN(v2, v2, 0, 2, 0, 2));
}

// The low four 16-bit lanes of a mask, each widened to 32 bits.
VierInt Breit(Acht m) {
  return reinterpret_cast<VierInt>(ERSATZ_MISCHEN(m, m, 0, 0, 1, 1, 2, 2, 3, 3));
}

template <typename T>
T Mischen(T m, T neu, T alt) {
  return (neu & m) | (alt & ~m);
}

VierInt Tiefe16(Vier z) {
  z = Vier_Begrenzt(z, 1.0f);
  return __builtin_convertvector(z * 65535.0f + 0.5f, VierInt);
}

// The packed, perspective-correct colours of four pixels t to the right
// of the reference column: each channel round(c/w · w), clamped.
template <D3DFORMAT F>
VierInt Farben(const Fuellung& f, Vier cZeile, Vier t) {
  const Vier w = 1.0f / (cZeile[3] + t * f.cdx4[3]);
  auto kanal = [&](int k) {
    const Vier c = Vier_Begrenzt((cZeile[k] + t * f.cdx4[k]) * w + 0.5f, 255.0f);
    return __builtin_convertvector(__builtin_convertvector(c, VierInt), VierNat);
  };
  return VierInt(Kanaele_Packen(F, kanal(0), kanal(1), kanal(2), f.nAlpha));
}

// Four pixels from column x0 on, those in bIn drawn where the depth test
// lets them; bLE: the test is D3DCMP_LESSEQUAL, the usual one.
template <typename Pixel, D3DFORMAT F, bool bFlach, bool bLE>
inline void Gruppe(const Fuellung& f, Pixel* pF, std::uint16_t* pT, int x0, Acht bIn, float zZeile,
                   Vier cZeile) {
  const Vier t = static_cast<float>(x0 - f.v.xRef) + fSpur;
  if (f.bTiefe) {
    const Acht neu = Schmal(Tiefe16(zZeile + t * f.zdx4)), alt = Laden(pT + x0);
    const Acht le = reinterpret_cast<Acht>(neu <= alt);
    if constexpr (bLE) {
      bIn &= le;
    } else {
      bIn &= (le & f.mX) ^ (reinterpret_cast<Acht>(neu >= alt) & f.mY) ^ f.mZ;
    }
    if (f.bSchreiben) Speichern(pT + x0, Mischen(bIn, neu, alt));
  }
  if constexpr (sizeof(Pixel) == 2) {
    const Acht neu = bFlach ? f.nFlach16 : Schmal(Farben<F>(f, cZeile, t));
    Speichern(pF + x0, Mischen(bIn, neu, Laden(pF + x0)));
  } else {
    const VierInt neu = bFlach ? f.nFlach : Farben<F>(f, cZeile, t);
    Speichern(pF + x0, Mischen(Breit(bIn), neu, Laden(pF + x0)));
  }
}

// The pixels [xl, xr) of row y, xl < xr, group by group.
template <typename Pixel, D3DFORMAT F, bool bFlach, bool bLE>
inline void Zeile(const Fuellung& f, int y, int xl, int xr) {
  const Ziel& ziel = *f.pZiel;
  auto* pF = reinterpret_cast<Pixel*>(ziel.pFarbe + static_cast<size_t>(y) * ziel.nPitch);
  std::uint16_t* pT = f.bTiefe ? ziel.pTiefe + static_cast<size_t>(y) * ziel.nBreite : nullptr;
  const float fy = static_cast<float>(y - f.v.yRef);
  const float zZeile = f.v.z + fy * f.v.zdy;
  const Vier cZeile = f.v.c + fy * f.v.cdy;
  for (int lo = xl;;) {
    const int x0 = std::min(lo, f.xMax);
    const Acht bIn = Acht_Aus(nSpannmasken[lo - x0][std::min(xr - x0, 4)]);
    Gruppe<Pixel, F, bFlach, bLE>(f, pF, pT, x0, bIn, zZeile, cZeile);
    lo = x0 + 4;
    if (lo >= xr) break;
  }
}

// Walks the edges links and rechts down n rows from row y and packs the
// rows that hold pixels to the front of pS, their spans clipped to the
// target unless the triangle lies within its columns (bRand false).
// Returns how many there are. Without a branch: about every other row of
// a sliver is empty, at random.
template <bool bRand>
__attribute__((always_inline)) inline int Spannen(Kante& links, Kante& rechts, int y, int n,
                                                  int nBreite, Spanne* pS) {
  std::int64_t cl = links.c, ul = links.u, cr = rechts.c, ur = rechts.u;
  const std::int64_t sql = links.sq, srl = links.sr, dl = links.d;
  const std::int64_t sqr = rechts.sq, srr = rechts.sr, dr = rechts.d;
  Spanne* p = pS;
  for (const int yEnde = y + n; y < yEnde; ++y) {
    const int xl = bRand ? std::max(0, static_cast<int>(cl)) : static_cast<int>(cl);
    const int xr = bRand ? std::min(nBreite, static_cast<int>(cr)) : static_cast<int>(cr);
    *p = Spanne{y, xl, xr};
    p += xl < xr;
    // u falling below zero carries one more column: m is then all ones.
    ul -= srl, ur -= srr;
    const std::int64_t ml = ul >> 63, mr = ur >> 63;
    cl += sql - ml, cr += sqr - mr;
    ul += ml & dl, ur += mr & dr;
  }
  links.c = cl, links.u = ul, rechts.c = cr, rechts.u = ur;
  return static_cast<int>(p - pS);
}

// Spannen for a block of n rows from row y, its first nOben rows between
// links0 and rechts0, the others between links1 and rechts1: one call a
// block, not one for each pair of edges.
template <bool bRand>
int Blockspannen(Kante& links0, Kante& rechts0, Kante& links1, Kante& rechts1, int y, int nOben,
                 int n, int nBreite, Spanne* pS) {
  const int m = Spannen<bRand>(links0, rechts0, y, nOben, nBreite, pS);
  return m + Spannen<bRand>(links1, rechts1, y + nOben, n - nOben, nBreite, pS + m);
}

// The rows between the top and bottom vertex (sorted by y, rows y0 to
// y2, the middle vertex at row y1): the long edge on one side, the two
// short edges in turn on the other. The edges are walked a block of rows
// ahead of the filling, so that each loop keeps its values in registers.
template <typename Pixel, D3DFORMAT F, bool bFlach, bool bLE>
void Zeilen(const Fuellung& f, const Bildpunkt* const* p, bool bLangLinks, const int* yGrenzen) {
  constexpr int nBlock = 64;
  const int y0 = yGrenzen[0], y1 = std::max(y0, yGrenzen[1]), y2 = yGrenzen[2];
  Kante lang(*p[0], *p[2], y0), oben, unten;
  if (y0 < y1) oben = Kante(*p[0], *p[1], y0);
  if (y1 < y2) unten = Kante(*p[1], *p[2], y1);
  Kante& links0 = bLangLinks ? lang : oben;
  Kante& rechts0 = bLangLinks ? oben : lang;
  Kante& links1 = bLangLinks ? lang : unten;
  Kante& rechts1 = bLangLinks ? unten : lang;
  // Each edge's x lies between its ends: a triangle within the target's
  // columns needs no span clipped.
  const int nBreite = f.pZiel->nBreite;
  const std::int64_t xRand = nSub * nBreite;
  const bool bRand =
      std::min({p[0]->X, p[1]->X, p[2]->X}) < 0 || std::max({p[0]->X, p[1]->X, p[2]->X}) > xRand;
  const auto spannen = bRand ? Blockspannen<true> : Blockspannen<false>;
  Spanne s[nBlock];
  for (int y = y0; y < y2; y += nBlock) {
    const int n = std::min(nBlock, y2 - y), nOben = std::clamp(y1 - y, 0, n);
    const int m = spannen(links0, rechts0, links1, rechts1, y, nOben, n, nBreite, s);
    if (f.pAcht) {
      f.pAcht(f, s, m);
      continue;
    }
    for (int k = 0; k < m; ++k) Zeile<Pixel, F, bFlach, bLE>(f, s[k].y, s[k].xl, s[k].xr);
  }
}

using Zeilenfueller = void (*)(const Fuellung&, const Bildpunkt* const*, bool, const int*);

template <bool bFlach, bool bLE>
struct Zeilenwahl {
  template <typename Pixel, D3DFORMAT F>
  static Zeilenfueller Fuer() {
    return Zeilen<Pixel, F, bFlach, bLE>;
  }
};

// Everything fixed for the triangle p, whose first row is y0.
void Fuellung_Setzen(const Ziel& ziel, const Rasterzustand& zustand, const Bildpunkt* const* p,
                     int y0, const Schattierung& s, Fuellung& f) {
  f.pZiel = &ziel;
  const int x = static_cast<int>((p[0]->X + nSub / 2) >> nSubBits);
  Verlauf_Setzen(p, std::clamp(x, 0, ziel.nBreite - 1), y0, !s.bFlach, f.v);
  f.bTiefe = zustand.bTiefentest;
  f.bSchreiben = zustand.bTiefeSchreiben;
  // The fillers for the usual less-or-equal test have it built in.
  if (zustand.Vergleich != D3DCMP_LESSEQUAL) Vergleich_Setzen(zustand.Vergleich, f);
  f.nFlach = VierInt{} + static_cast<int>(s.nPixel);
  f.nFlach16 = Acht{} + static_cast<std::uint16_t>(s.nPixel);
  f.nAlpha = VierNat{} + static_cast<std::uint32_t>(s.a8);
  f.xMax = std::max(0, ziel.nBreite - 4);
  f.zdx4 = Vier{} + f.v.zdx;
  for (int k = 0; k < 4; ++k) f.cdx4[k] = Vier{} + f.v.cdx[k];
}

}  // namespace

// Sorts the vertices top to bottom, finds the rows the triangle covers
// on the target and the side its long edge is on, then fills.
void Dreieck_Fuellen(const Ziel& ziel, const Rasterzustand& zustand, const Bildpunkt& a,
                     const Bildpunkt& b, const Bildpunkt& c, const Schattierung& s) {
  const Bildpunkt* p[3] = {&a, &b, &c};
  if (p[1]->Y < p[0]->Y) std::swap(p[0], p[1]);
  if (p[2]->Y < p[1]->Y) std::swap(p[1], p[2]);
  if (p[1]->Y < p[0]->Y) std::swap(p[0], p[1]);
  const std::int64_t nKreuz =
      (p[2]->X - p[0]->X) * (p[1]->Y - p[0]->Y) - (p[1]->X - p[0]->X) * (p[2]->Y - p[0]->Y);
  if (nKreuz == 0) return;
  // The first pixel-centre row at or below Y: ceil(Y / 256).
  auto zeile = [](std::int64_t Y) { return static_cast<int>((Y + nSub - 1) >> nSubBits); };
  const int y[3] = {std::max(0, zeile(p[0]->Y)), std::clamp(zeile(p[1]->Y), 0, ziel.nHoehe),
                    std::min(ziel.nHoehe, zeile(p[2]->Y))};
  if (y[0] >= y[2]) return;
  static constexpr Zeilenfueller (*nFueller[2][2])(D3DFORMAT) = {
      {Nach_Format<Zeilenwahl<false, false>>, Nach_Format<Zeilenwahl<false, true>>},
      {Nach_Format<Zeilenwahl<true, false>>, Nach_Format<Zeilenwahl<true, true>>}};
  const bool bLE = zustand.Vergleich == D3DCMP_LESSEQUAL;
  const Zeilenfueller fuellen = nFueller[s.bFlach][bLE](ziel.Format);
  Fuellung f;
  f.pAcht = Achterfueller(ziel, s.bFlach, bLE);
  Fuellung_Setzen(ziel, zustand, p, y[0], s, f);
  fuellen(f, p, nKreuz < 0, y);
}

}  // namespace ersatz
