// Clipping, projection and culling of triangles; filling is in
// raster_fuellen.cpp.
#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <cwchar>

#include "plattform/d3d8/raster/raster_intern.h"

namespace ersatz {
namespace {

// Vertices up to this many screen widths/heights outside need no clipping
// against the sides: the filler's fixed-point arithmetic holds there.
constexpr float fSchutz = 8.0f;

enum Ebene : unsigned {
  Nah = 1,
  Fern = 2,
  SchutzLinks = 4,
  SchutzRechts = 8,
  SchutzUnten = 16,
  SchutzOben = 32,
  Links = 64,
  Rechts = 128,
  Unten = 256,
  Oben = 512,
};
constexpr unsigned nZuSchneiden =
    Nah | Fern | SchutzLinks | SchutzRechts | SchutzUnten | SchutzOben;
constexpr int nMaxEcken = 3 + 6;

// Signed distance of e to a clip plane, >= 0 inside.
float Abstand(const Ecke& e, unsigned ebene) {
  switch (ebene) {
    case Nah:
      return e.z;
    case Fern:
      return e.w - e.z;
    case SchutzLinks:
      return e.x + fSchutz * e.w;
    case SchutzRechts:
      return fSchutz * e.w - e.x;
    case SchutzUnten:
      return e.y + fSchutz * e.w;
    default:
      return fSchutz * e.w - e.y;
  }
}

unsigned Aussen(const Ecke& e) {
  unsigned c = 0;
  if (e.z < 0.0f) c |= Nah;
  if (e.z > e.w) c |= Fern;
  if (e.x < -fSchutz * e.w) c |= SchutzLinks;
  if (e.x > fSchutz * e.w) c |= SchutzRechts;
  if (e.y < -fSchutz * e.w) c |= SchutzUnten;
  if (e.y > fSchutz * e.w) c |= SchutzOben;
  if (e.x < -e.w) c |= Links;
  if (e.x > e.w) c |= Rechts;
  if (e.y < -e.w) c |= Unten;
  if (e.y > e.w) c |= Oben;
  return c;
}

Ecke Mischen(const Ecke& a, const Ecke& b, float t) {
  auto m = [t](float x, float y) { return x + (y - x) * t; };
  return {m(a.x, b.x), m(a.y, b.y), m(a.z, b.z), m(a.w, b.w),
          m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

// Sutherland-Hodgman against one plane; all attributes are linear in
// clip space, so cut points interpolate them exactly.
int Schneiden(const Ecke* ein, int n, Ecke* aus, unsigned ebene) {
  int m = 0;
  for (int i = 0; i < n; ++i) {
    const Ecke& a = ein[i];
    const Ecke& b = ein[(i + 1) % n];
    const float da = Abstand(a, ebene), db = Abstand(b, ebene);
    if (da >= 0.0f) aus[m++] = a;
    if ((da >= 0.0f) != (db >= 0.0f)) aus[m++] = Mischen(a, b, da / (da - db));
  }
  return m;
}

// Nearest integer, halves up; fast where the library call is not.
std::int64_t Runden(float v) {
  const float f = v + 0.5f;
  const auto n = static_cast<std::int64_t>(f);
  return n > f ? n - 1 : n;
}

Bildpunkt Projizieren(const Ziel& ziel, const Ecke& e) {
  const float q = 1.0f / e.w;
  const float xs = (e.x * q + 1.0f) * 0.5f * static_cast<float>(ziel.nBreite);
  const float ys = (1.0f - e.y * q) * 0.5f * static_cast<float>(ziel.nHoehe);
  Bildpunkt p;
  p.X = Runden(xs * static_cast<float>(nSub));
  p.Y = Runden(ys * static_cast<float>(nSub));
  p.z = std::min(1.0f, std::max(0.0f, e.z * q));
  p.q = q;
  p.r = e.r * 255.0f * q;
  p.g = e.g * 255.0f * q;
  p.b = e.b * 255.0f * q;
  return p;
}

std::int64_t Flaeche2(const Bildpunkt& a, const Bildpunkt& b, const Bildpunkt& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y);
}

bool Verworfen(D3DCULL cull, std::int64_t nFlaeche) {
  if (nFlaeche == 0) return true;
  if (cull == D3DCULL_CCW) return nFlaeche < 0;
  if (cull == D3DCULL_CW) return nFlaeche > 0;
  return false;
}

// A triangle of one colour everywhere is filled as a flat one: no
// division per pixel, and exactly the colour its vertices have.
bool Einfarbig(const Ecke& a, const Ecke& b, const Ecke& c) {
  return a.r == b.r && a.r == c.r && a.g == b.g && a.g == c.g && a.b == b.b && a.b == c.b;
}

// A vertex's colour as a pixel of the target's format.
std::uint32_t Ecke_Packen(D3DFORMAT Format, const Ecke& e) {
  return Pixel_Packen(Format, Kanal8(e.r), Kanal8(e.g), Kanal8(e.b), Kanal8(e.a));
}

// How the triangle a, b, c is coloured, given a's packed colour and alpha.
Schattierung Schattierung_Aus(const Rasterzustand& zustand, const Ecke& a, const Ecke& b,
                              const Ecke& c, std::uint32_t nPixel, int a8) {
  return Schattierung{zustand.bFlach || Einfarbig(a, b, c), nPixel, a8};
}

// Culls the convex polygon on screen by its winding and fills it as a
// fan of clockwise triangles.
void Vieleck_Fuellen(const Ziel& ziel, const Rasterzustand& zustand, const Bildpunkt* p, int n,
                     const Schattierung& s) {
  std::int64_t nFlaeche = 0;
  for (int i = 1; i + 1 < n; ++i) nFlaeche += Flaeche2(p[0], p[i], p[i + 1]);
  if (Verworfen(zustand.Cull, nFlaeche)) return;
  for (int i = 1; i + 1 < n; ++i) {
    const std::int64_t f = Flaeche2(p[0], p[i], p[i + 1]);
    if (nFlaeche > 0 && f > 0) Dreieck_Fuellen(ziel, zustand, p[0], p[i], p[i + 1], s);
    if (nFlaeche < 0 && f < 0) Dreieck_Fuellen(ziel, zustand, p[0], p[i + 1], p[i], s);
  }
}

// Clips the triangle against the planes it crosses, then projects and
// fills what is left.
void Geschnitten_Zeichnen(const Ziel& ziel, const Rasterzustand& zustand, const Ecke& a,
                          const Ecke& b, const Ecke& c, unsigned nSchnitte) {
  Ecke puffer[2][nMaxEcken];
  puffer[0][0] = a, puffer[0][1] = b, puffer[0][2] = c;
  int n = 3, k = 0;
  for (unsigned ebene = Nah; ebene <= SchutzOben && n >= 3; ebene <<= 1) {
    if (!(nSchnitte & ebene)) continue;
    n = Schneiden(puffer[k], n, puffer[1 - k], ebene);
    k = 1 - k;
  }
  Bildpunkt p[nMaxEcken];
  for (int i = 0; i < n; ++i) {
    if (!(puffer[k][i].w > 0.0f)) return;
    p[i] = Projizieren(ziel, puffer[k][i]);
  }
  if (n >= 3) {
    Vieleck_Fuellen(ziel, zustand, p, n,
                    Schattierung_Aus(zustand, a, b, c, Ecke_Packen(ziel.Format, a), Kanal8(a.a)));
  }
}

// n values v from p on. glibc's wide-character fill stores as its memset
// does, with the widest stores the processor has, where a loop of the
// compiler's stays at about half memset's speed; other C libraries (the
// web page's) fill one value at a time, slower than the compiler's loop
// in four-wide vectors. A value of four equal bytes (depth 1.0, black)
// takes memset itself, which glibc makes faster still for large fills.
// A 16-bit value goes in pairs from a 4-byte boundary.
void Fuellen(std::uint32_t* p, std::size_t n, std::uint32_t v) {
#if defined(__GLIBC__)
  static_assert(sizeof(wchar_t) == 4, "wmemset fills 32-bit units");
  if ((v & 0xFFu) * 0x01010101u == v) {
    std::memset(p, static_cast<int>(v & 0xFFu), n * sizeof(v));
  } else {
    std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(v), n);
  }
#else
  std::fill_n(p, n, v);
#endif
}

void Fuellen(std::uint16_t* p, std::size_t n, std::uint16_t v) {
  if (n > 0 && reinterpret_cast<std::uintptr_t>(p) % 4 != 0) *p++ = v, --n;
  Fuellen(reinterpret_cast<std::uint32_t*>(p), n / 2, v * 0x10001u);
  if (n % 2 != 0) p[n - 1] = v;
}

// The rectangle [x1, x2) x [y1, y2) of rows nZeile values apart, from
// pErste, filled row by row, or as one run where its rows join up.
template <typename T>
void Rechteck_Fuellen(T* pErste, std::size_t nZeile, int x1, int y1, int x2, int y2, T v) {
  const auto nBreite = static_cast<std::size_t>(x2 - x1);
  if (nBreite == nZeile) {
    Fuellen(pErste + static_cast<std::size_t>(y1) * nZeile, nBreite * (y2 - y1), v);
    return;
  }
  for (int y = y1; y < y2; ++y)
    Fuellen(pErste + static_cast<std::size_t>(y) * nZeile + x1, nBreite, v);
}

}  // namespace

void Farbe_Fuellen(const Ziel& ziel, int x1, int y1, int x2, int y2, std::uint32_t nPixel) {
  if (ziel.Format == D3DFMT_X8R8G8B8 || ziel.Format == D3DFMT_A8R8G8B8) {
    Rechteck_Fuellen(reinterpret_cast<std::uint32_t*>(ziel.pFarbe), ziel.nPitch / 4u, x1, y1, x2,
                     y2, nPixel);
  } else {
    Rechteck_Fuellen(reinterpret_cast<std::uint16_t*>(ziel.pFarbe), ziel.nPitch / 2u, x1, y1, x2,
                     y2, static_cast<std::uint16_t>(nPixel));
  }
}

void Tiefe_Fuellen(const Ziel& ziel, int x1, int y1, int x2, int y2, std::uint16_t nTiefe) {
  Rechteck_Fuellen(ziel.pTiefe, static_cast<std::size_t>(ziel.nBreite), x1, y1, x2, y2, nTiefe);
}

void Eckpunkt_Vorbereiten(const Ziel& ziel, Eckpunkt& v) {
  v.nAussen = Aussen(v.e);
  if (v.nAussen & nZuSchneiden) return;
  v.p = Projizieren(ziel, v.e);
  v.a8 = Kanal8(v.e.a);
  v.nPixel = Ecke_Packen(ziel.Format, v.e);
}

namespace {

// Kanal8 for four values.
VierNat Vier_Kanal8(Vier v) {
  const Vier f = v * 255.0f + 0.5f;
  VierInt n = __builtin_convertvector(f, VierInt);
  n = f >= 255.0f ? 255 : n;
  return reinterpret_cast<VierNat>(f <= 0.0f ? 0 : n);
}

// Aussen for four vertices, lane by lane.
VierInt Vier_Aussen(Vier x, Vier y, Vier z, Vier w) {
  const Vier s = fSchutz * w;
  const Vier ms = -fSchutz * w;
  const Vier mw = -w;
  auto bit = [](VierInt m, Ebene e) { return m & static_cast<int>(e); };
  return bit(z < 0.0f, Nah) | bit(z > w, Fern) | bit(x < ms, SchutzLinks) |
         bit(x > s, SchutzRechts) | bit(y < ms, SchutzUnten) | bit(y > s, SchutzOben) |
         bit(x < mw, Links) | bit(x > w, Rechts) | bit(y < mw, Unten) | bit(y > w, Oben);
}

// Runden for four values; exact where |v + 0.5| < 2^30, which bGut tells.
// The other lanes (far off screen, or not a number) are clamped into that
// range before the conversion, so none of them overflows; their results
// are not used.
VierInt Vier_Runden(Vier v, VierInt& bGut) {
  const float fGrenze = 1073741824.0f;
  const Vier f = v + 0.5f;
  const Vier fBetrag = reinterpret_cast<Vier>(reinterpret_cast<VierInt>(f) & 0x7FFFFFFF);
  bGut &= fBetrag < fGrenze;
  // minps hands back its second operand for a NaN lane.
  const Vier fSicher = _mm_max_ps(_mm_min_ps(f, Vier{} + fGrenze), Vier{} - fGrenze);
  const VierInt n = __builtin_convertvector(fSicher, VierInt);
  return n + (__builtin_convertvector(n, Vier) > fSicher);
}

}  // namespace

// Eckpunkt_Vorbereiten with the same operations lane by lane; a lane
// whose screen position would not fit 32 bits (far outside, or not a
// number) goes the single way.
void Vier_Vorbereiten(const Ziel& ziel, const Vier* k, Eckpunkt* const* v) {
  const Vier x = k[0], y = k[1], z = k[2], w = k[3], r = k[4], g = k[5], b = k[6], a = k[7];
  __m128 zeilen[8] = {x, y, z, w, r, g, b, a};
  _MM_TRANSPOSE4_PS(zeilen[0], zeilen[1], zeilen[2], zeilen[3]);
  _MM_TRANSPOSE4_PS(zeilen[4], zeilen[5], zeilen[6], zeilen[7]);
  for (int j = 0; j < 4; ++j) {
    _mm_storeu_ps(&v[j]->e.x, zeilen[j]);
    _mm_storeu_ps(&v[j]->e.r, zeilen[4 + j]);
  }
  const VierNat a8 = Vier_Kanal8(a);
  const VierNat nPixel =
      Kanaele_Packen(ziel.Format, Vier_Kanal8(r), Vier_Kanal8(g), Vier_Kanal8(b), a8);
  const VierInt nAussen = Vier_Aussen(x, y, z, w);
  const Vier q = 1.0f / w;
  const Vier xs = (x * q + 1.0f) * 0.5f * static_cast<float>(ziel.nBreite);
  const Vier ys = (1.0f - y * q) * 0.5f * static_cast<float>(ziel.nHoehe);
  VierInt bGut = VierInt{} - 1;
  const VierInt X = Vier_Runden(xs * static_cast<float>(nSub), bGut);
  const VierInt Y = Vier_Runden(ys * static_cast<float>(nSub), bGut);
  const Vier zq = Vier_Begrenzt(z * q, 1.0f);
  const Vier rq = r * 255.0f * q, gq = g * 255.0f * q, bq = b * 255.0f * q;
  // Each lane's screen point and pixel go out in whole stores, not lane by
  // lane: X and Y widened to 64 bits side by side, z, q, r and g
  // transposed, nPixel beside a8. A lane to be clipped gets them too,
  // unread there.
  const VierInt sX = X >> 31, sY = Y >> 31;
  const VierInt x01 = ERSATZ_MISCHEN(X, sX, 0, 4, 1, 5), x23 = ERSATZ_MISCHEN(X, sX, 2, 6, 3, 7);
  const VierInt y01 = ERSATZ_MISCHEN(Y, sY, 0, 4, 1, 5), y23 = ERSATZ_MISCHEN(Y, sY, 2, 6, 3, 7);
  const VierInt xy[4] = {ERSATZ_MISCHEN(x01, y01, 0, 1, 4, 5), ERSATZ_MISCHEN(x01, y01, 2, 3, 6, 7),
                         ERSATZ_MISCHEN(x23, y23, 0, 1, 4, 5),
                         ERSATZ_MISCHEN(x23, y23, 2, 3, 6, 7)};
  __m128 zqrg[4] = {zq, q, rq, gq};
  _MM_TRANSPOSE4_PS(zqrg[0], zqrg[1], zqrg[2], zqrg[3]);
  const VierNat pa[2] = {ERSATZ_MISCHEN(nPixel, a8, 0, 4, 1, 5),
                         ERSATZ_MISCHEN(nPixel, a8, 2, 6, 3, 7)};
  static_assert(offsetof(Bildpunkt, Y) == offsetof(Bildpunkt, X) + 8 &&
                    offsetof(Bildpunkt, r) == offsetof(Bildpunkt, z) + 8 &&
                    offsetof(Bildpunkt, g) == offsetof(Bildpunkt, z) + 12 &&
                    offsetof(Eckpunkt, a8) == offsetof(Eckpunkt, nPixel) + 4,
                "whole stores need the fields side by side");
  for (int j = 0; j < 4; ++j) {
    Eckpunkt& e = *v[j];
    e.nAussen = static_cast<unsigned>(nAussen[j]);
    auto* pPunkt = reinterpret_cast<unsigned char*>(&e.p);
    std::memcpy(pPunkt + offsetof(Bildpunkt, X), &xy[j], 16);
    std::memcpy(pPunkt + offsetof(Bildpunkt, z), &zqrg[j], 16);
    e.p.b = bq[j];
    std::memcpy(reinterpret_cast<unsigned char*>(&e) + offsetof(Eckpunkt, nPixel),
                reinterpret_cast<const unsigned char*>(&pa[j / 2]) + 8 * (j % 2), 8);
    if (!bGut[j] && !(e.nAussen & nZuSchneiden)) Eckpunkt_Vorbereiten(ziel, e);
  }
}

void Dreieck_Zeichnen(const Ziel& ziel, const Rasterzustand& zustand, const Eckpunkt& a,
                      const Eckpunkt& b, const Eckpunkt& c) {
  if (a.nAussen & b.nAussen & c.nAussen) return;
  const unsigned nSchnitte = (a.nAussen | b.nAussen | c.nAussen) & nZuSchneiden;
  if (nSchnitte) {
    Geschnitten_Zeichnen(ziel, zustand, a.e, b.e, c.e, nSchnitte);
    return;
  }
  const std::int64_t nFlaeche = Flaeche2(a.p, b.p, c.p);
  if (Verworfen(zustand.Cull, nFlaeche)) return;
  // Unclipped, a's packed colour is at hand.
  const Schattierung s = Schattierung_Aus(zustand, a.e, b.e, c.e, a.nPixel, a.a8);
  if (nFlaeche > 0) {
    Dreieck_Fuellen(ziel, zustand, a.p, b.p, c.p, s);
  } else {
    Dreieck_Fuellen(ziel, zustand, a.p, c.p, b.p, s);
  }
}

}  // namespace ersatz
