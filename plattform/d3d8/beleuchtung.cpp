#include "plattform/d3d8/beleuchtung.h"

#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ersatz {
namespace {

using Farbe = Eckenrechner::Farbe;
using Lichtquelle = Eckenrechner::Lichtquelle;

constexpr DWORD nTexturAnzahlMaske = 0xF00;
constexpr DWORD D3DTA_COMPLEMENT_BIT = 0x10;
constexpr DWORD D3DTA_ALPHAREPLICATE_BIT = 0x20;

void Mal(const float a[4][4], const float b[4][4], float c[4][4]) {
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      c[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + a[i][3] * b[3][j];
    }
  }
}

// The inverse transpose of the upper 3x3 of m, which carries normals as
// row vectors: the cofactor matrix over the determinant (zero if singular).
void Invers_Transponiert(const float m[4][4], float n[3][3]) {
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
      n[i][j] = m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1];
    }
  }
  const float det = m[0][0] * n[0][0] + m[0][1] * n[0][1] + m[0][2] * n[0][2];
  const float f = det == 0.0f ? 0.0f : 1.0f / det;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) n[i][j] *= f;
  }
}

void Richtung_Mal(const float v[3], const float m[4][4], float r[3]) {
  for (int j = 0; j < 3; ++j) r[j] = v[0] * m[0][j] + v[1] * m[1][j] + v[2] * m[2][j];
}

void Normieren(float v[3]) {
  const float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (l > 0.0f) {
    for (int j = 0; j < 3; ++j) v[j] /= l;
  }
}

Farbe Aus(const D3DCOLORVALUE& c) { return {c.r, c.g, c.b, c.a}; }

Farbe Aus_D3DCOLOR(DWORD c) {
  return {((c >> 16) & 0xFF) / 255.0f, ((c >> 8) & 0xFF) / 255.0f, (c & 0xFF) / 255.0f,
          (c >> 24) / 255.0f};
}

Farbe Lesen_Farbe(const std::uint8_t* p, int nVersatz, Farbe Vorgabe) {
  if (nVersatz < 0) return Vorgabe;
  DWORD c;
  std::memcpy(&c, p + nVersatz, sizeof(c));
  return Aus_D3DCOLOR(c);
}

float Begrenzt(float v) { return std::min(1.0f, std::max(0.0f, v)); }

// A light's position and direction in view space, and its cone as cosines.
Lichtquelle Licht_Vorbereiten(const D3DLIGHT8& l, const float sicht[4][4]) {
  Lichtquelle q{};
  q.Typ = l.Type;
  q.Diffus = Aus(l.Diffuse);
  q.Ambient = Aus(l.Ambient);
  const float d[3] = {l.Direction.x, l.Direction.y, l.Direction.z};
  Richtung_Mal(d, sicht, q.Richtung);
  Normieren(q.Richtung);
  for (float& x : q.Richtung) x = -x;
  const float p[3] = {l.Position.x, l.Position.y, l.Position.z};
  Richtung_Mal(p, sicht, q.Position);
  for (int j = 0; j < 3; ++j) q.Position[j] += sicht[3][j];
  q.fReichweite = l.Range;
  q.fAtt0 = l.Attenuation0;
  q.fAtt1 = l.Attenuation1;
  q.fAtt2 = l.Attenuation2;
  q.fCosTheta = std::cos(l.Theta * 0.5f);
  q.fCosPhi = std::cos(l.Phi * 0.5f);
  q.fFalloff = l.Falloff;
  return q;
}

// How strongly light q reaches the view-space point p, and from where (l).
float Lichtanteil(const Lichtquelle& q, const float p[3], float l[3]) {
  if (q.Typ == D3DLIGHT_DIRECTIONAL) {
    std::memcpy(l, q.Richtung, 3 * sizeof(float));
    return 1.0f;
  }
  for (int j = 0; j < 3; ++j) l[j] = q.Position[j] - p[j];
  const float d = std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2]);
  if (d > q.fReichweite) return 0.0f;
  Normieren(l);
  const float nenner = q.fAtt0 + q.fAtt1 * d + q.fAtt2 * d * d;
  float anteil = nenner > 0.0f ? 1.0f / nenner : 1.0f;
  if (q.Typ == D3DLIGHT_SPOT) {
    const float rho = -(l[0] * q.Richtung[0] + l[1] * q.Richtung[1] + l[2] * q.Richtung[2]);
    if (rho <= q.fCosPhi) return 0.0f;
    if (rho < q.fCosTheta) {
      anteil *= std::pow((rho - q.fCosPhi) / (q.fCosTheta - q.fCosPhi), q.fFalloff);
    }
  }
  return anteil;
}

Farbe Argument(DWORD nArg, const Farbe& diffus, const Farbe& spekular, const Farbe& faktor) {
  Farbe a = diffus;
  switch (nArg & D3DTA_SELECTMASK) {
    case D3DTA_TEXTURE:
      a = {1.0f, 1.0f, 1.0f, 1.0f};
      break;
    case D3DTA_TFACTOR:
      a = faktor;
      break;
    case D3DTA_SPECULAR:
      a = spekular;
      break;
    default:
      break;
  }
  if (nArg & D3DTA_COMPLEMENT_BIT) a = {1.0f - a.r, 1.0f - a.g, 1.0f - a.b, 1.0f - a.a};
  if (nArg & D3DTA_ALPHAREPLICATE_BIT) a = {a.a, a.a, a.a, a.a};
  return a;
}

// One texture-stage operation on all four channels. No texture is ever
// bound, so a texture argument reads as opaque white.
Farbe Stufe_Anwenden(const DWORD stufe[3], const Farbe& diffus, const Farbe& spekular,
                     const Farbe& faktor) {
  const Farbe a = Argument(stufe[1], diffus, spekular, faktor);
  const Farbe b = Argument(stufe[2], diffus, spekular, faktor);
  auto je = [&](auto f) {
    return Farbe{Begrenzt(f(a.r, b.r)), Begrenzt(f(a.g, b.g)), Begrenzt(f(a.b, b.b)),
                 Begrenzt(f(a.a, b.a))};
  };
  switch (stufe[0]) {
    case D3DTOP_SELECTARG1:
      return a;
    case D3DTOP_SELECTARG2:
      return b;
    case D3DTOP_MODULATE:
      return je([](float x, float y) { return x * y; });
    case 5:  // D3DTOP_MODULATE2X
      return je([](float x, float y) { return 2.0f * x * y; });
    case 6:  // D3DTOP_MODULATE4X
      return je([](float x, float y) { return 4.0f * x * y; });
    case 7:  // D3DTOP_ADD
      return je([](float x, float y) { return x + y; });
    case 10:  // D3DTOP_SUBTRACT
      return je([](float x, float y) { return x - y; });
    default:
      return diffus;
  }
}

bool Liest_Ecke(DWORD nArg) {
  const DWORD a = nArg & D3DTA_SELECTMASK;
  return a == D3DTA_DIFFUSE || a == D3DTA_CURRENT || a == D3DTA_SPECULAR;
}

// Whether a stage operation's result depends on the vertex colours.
bool Stufe_Liest_Ecke(const DWORD s[3]) {
  switch (s[0]) {
    case D3DTOP_SELECTARG1:
      return Liest_Ecke(s[1]);
    case D3DTOP_SELECTARG2:
      return Liest_Ecke(s[2]);
    case D3DTOP_MODULATE:
    case 5:
    case 6:
    case 7:
    case 10:
      return Liest_Ecke(s[1]) || Liest_Ecke(s[2]);
    default:
      return true;
  }
}

bool Ist_Diffus(DWORD nArg) { return nArg == D3DTA_DIFFUSE || nArg == D3DTA_CURRENT; }

// Whether the stage's colour result is its diffuse input, untouched.
bool Reicht_Durch(const DWORD s[3]) {
  switch (s[0]) {
    case D3DTOP_DISABLE:
      return true;
    case D3DTOP_SELECTARG1:
      return Ist_Diffus(s[1]);
    case D3DTOP_SELECTARG2:
      return Ist_Diffus(s[2]);
    case D3DTOP_MODULATE:
      return (Ist_Diffus(s[1]) && s[2] == D3DTA_TEXTURE) ||
             (Ist_Diffus(s[2]) && s[1] == D3DTA_TEXTURE);
    default:
      return false;
  }
}

}  // namespace

bool Eckenformat_Lesen(DWORD nFvf, Eckenformat& f) {
  const DWORD nBekannt =
      D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | nTexturAnzahlMaske;
  if ((nFvf & 0x00E) != D3DFVF_XYZ || (nFvf & ~nBekannt) != 0) return false;
  const UINT nTexturen = (nFvf & nTexturAnzahlMaske) >> 8;
  if (nTexturen > 8) return false;
  f = Eckenformat{};
  UINT n = 12;
  if (nFvf & D3DFVF_NORMAL) f.nNormale = static_cast<int>(n), n += 12;
  if (nFvf & D3DFVF_DIFFUSE) f.nDiffus = static_cast<int>(n), n += 4;
  if (nFvf & D3DFVF_SPECULAR) f.nSpekular = static_cast<int>(n), n += 4;
  f.nGroesse = n + 8 * nTexturen;
  return true;
}

void Eckenrechner::Einrichten(const Eckenrechner_Eingaben& e) {
  Format = e.Format;
  Mal(e.pWelt->m, e.pSicht->m, WeltSicht);
  Mal(WeltSicht, e.pProjektion->m, Gesamt);
  Invers_Transponiert(WeltSicht, Normalen);
  const DWORD* rs = e.pRenderStates;
  bLicht = rs[D3DRS_LIGHTING] != FALSE;
  bNormieren = rs[D3DRS_NORMALIZENORMALS] != FALSE;
  bEckenfarben = rs[D3DRS_COLORVERTEX] != FALSE;
  Quelle[0] = rs[D3DRS_DIFFUSEMATERIALSOURCE];
  Quelle[1] = rs[D3DRS_AMBIENTMATERIALSOURCE];
  Quelle[2] = rs[D3DRS_SPECULARMATERIALSOURCE];
  Quelle[3] = rs[D3DRS_EMISSIVEMATERIALSOURCE];
  const D3DMATERIAL8& m = *e.pMaterial;
  Material[0] = Aus(m.Diffuse);
  Material[1] = Aus(m.Ambient);
  Material[2] = Aus(m.Specular);
  Material[3] = Aus(m.Emissive);
  Grundlicht = Aus_D3DCOLOR(rs[D3DRS_AMBIENT]);
  Lichter.clear();
  bNurRichtungen = true;
  for (const D3DLIGHT8& l : e.Lichter) {
    Lichter.push_back(Licht_Vorbereiten(l, e.pSicht->m));
    bNurRichtungen = bNurRichtungen && l.Type == D3DLIGHT_DIRECTIONAL;
  }
  for (int k = 0; k < 3; ++k) {
    Farbstufe[k] = e.pStufe0[D3DTSS_COLOROP + k];
    Alphastufe[k] = e.pStufe0[D3DTSS_ALPHAOP + k];
  }
  Faktor = Aus_D3DCOLOR(rs[D3DRS_TEXTUREFACTOR]);
  bMaterialFest = !bEckenfarben || (Format.nDiffus < 0 && Format.nSpekular < 0);
  bFarbeDurch = Reicht_Durch(Farbstufe);
  bAlphaFest = Alphastufe[0] != D3DTOP_DISABLE && !Stufe_Liest_Ecke(Alphastufe);
  if (bAlphaFest) fAlpha = Stufe_Anwenden(Alphastufe, Faktor, Faktor, Faktor).a;
  const bool bStufeFest = Farbstufe[0] == D3DTOP_DISABLE ||
                          (bFarbeDurch && (Alphastufe[0] == D3DTOP_DISABLE || bAlphaFest));
  bVierfach = bLicht && bNurRichtungen && bMaterialFest && Format.nNormale >= 0 && bStufeFest;
  Umgebung = Grundlicht;
  for (const Lichtquelle& q : Lichter) {
    Umgebung.r += q.Ambient.r, Umgebung.g += q.Ambient.g, Umgebung.b += q.Ambient.b;
  }
  const bool bAlphaDiffus = Farbstufe[0] == D3DTOP_DISABLE || Alphastufe[0] == D3DTOP_DISABLE;
  fAlphaFest = bAlphaDiffus ? Begrenzt(Material[0].a) : fAlpha;
}

void Eckenrechner::Berechnen(const std::uint8_t* pEcke, Ecke& e) const {
  float v[3];
  std::memcpy(v, pEcke, sizeof(v));
  e.x = v[0] * Gesamt[0][0] + v[1] * Gesamt[1][0] + v[2] * Gesamt[2][0] + Gesamt[3][0];
  e.y = v[0] * Gesamt[0][1] + v[1] * Gesamt[1][1] + v[2] * Gesamt[2][1] + Gesamt[3][1];
  e.z = v[0] * Gesamt[0][2] + v[1] * Gesamt[1][2] + v[2] * Gesamt[2][2] + Gesamt[3][2];
  e.w = v[0] * Gesamt[0][3] + v[1] * Gesamt[1][3] + v[2] * Gesamt[2][3] + Gesamt[3][3];
  const Farbe weiss{1.0f, 1.0f, 1.0f, 1.0f};
  const Farbe schwarz{0.0f, 0.0f, 0.0f, 0.0f};
  Farbe diffus;
  if (bLicht) {
    float p[3] = {0.0f, 0.0f, 0.0f};
    if (!bNurRichtungen) {
      Richtung_Mal(v, WeltSicht, p);
      for (int j = 0; j < 3; ++j) p[j] += WeltSicht[3][j];
    }
    diffus = Beleuchten(pEcke, p);
  } else {
    diffus = Lesen_Farbe(pEcke, Format.nDiffus, weiss);
  }
  const Farbe c = Stufe0(diffus, Lesen_Farbe(pEcke, Format.nSpekular, schwarz));
  e.r = c.r;
  e.g = c.g;
  e.b = c.b;
  e.a = c.a;
}

void Eckenrechner::Alle_Berechnen(const std::uint8_t* pEcken, UINT nStride, const Ziel& ziel,
                                  Eckpunkt* pZiel) {
  const std::size_t n = Vorgemerkt.size();
  const std::uint32_t* pI = Vorgemerkt.data();
  std::size_t k = 0;
  if (bVierfach) {
    // A last group short of four repeats its last vertex: the same work
    // again, with the same result.
    for (; k < n; k += 4) {
      const std::uint8_t* p[4];
      Eckpunkt* v[4];
      for (std::size_t j = 0; j < 4; ++j) {
        const std::uint32_t i = pI[std::min(k + j, n - 1)];
        p[j] = pEcken + std::size_t{i} * nStride;
        v[j] = &pZiel[i];
      }
      Vier werte[8];
      Vier_Berechnen(p, werte);
      Vier_Vorbereiten(ziel, werte, v);
    }
  }
  for (; k < n; ++k) {
    Berechnen(pEcken + std::size_t{pI[k]} * nStride, pZiel[pI[k]].e);
    Eckpunkt_Vorbereiten(ziel, pZiel[pI[k]]);
  }
  Vorgemerkt.clear();
}

// Material colour k (diffuse, ambient, specular, emissive) of one vertex:
// from the material, or from the vertex's diffuse or specular colour.
static Farbe Materialfarbe(DWORD nQuelle, const Farbe& material, const std::uint8_t* pEcke,
                           const Eckenformat& f) {
  if (nQuelle == 1) return Lesen_Farbe(pEcke, f.nDiffus, material);
  if (nQuelle == 2) return Lesen_Farbe(pEcke, f.nSpekular, material);
  return material;
}

// Lights the view-space point p: ambient from the global ambient and each
// light, diffuse by N·L with N the transformed (normalised only on demand)
// normal; rgb clamped to 0..1, alpha from the diffuse material.
Farbe Eckenrechner::Beleuchten(const std::uint8_t* pEcke, const float p[3]) const {
  float n[3] = {0.0f, 0.0f, 0.0f};
  if (Format.nNormale >= 0) {
    float roh[3];
    std::memcpy(roh, pEcke + Format.nNormale, sizeof(roh));
    for (int j = 0; j < 3; ++j) {
      n[j] = roh[0] * Normalen[0][j] + roh[1] * Normalen[1][j] + roh[2] * Normalen[2][j];
    }
    if (bNormieren) Normieren(n);
  }
  Farbe m[4] = {Material[0], Material[1], Material[2], Material[3]};
  if (!bMaterialFest) {
    for (int k = 0; k < 4; ++k) m[k] = Materialfarbe(Quelle[k], Material[k], pEcke, Format);
  }
  Farbe amb = Grundlicht, diff{0.0f, 0.0f, 0.0f, 0.0f};
  for (const Lichtquelle& q : Lichter) {
    float l[3];
    const float anteil = Lichtanteil(q, p, l);
    if (anteil <= 0.0f) continue;
    const float nl = std::max(0.0f, n[0] * l[0] + n[1] * l[1] + n[2] * l[2]) * anteil;
    amb.r += anteil * q.Ambient.r, amb.g += anteil * q.Ambient.g, amb.b += anteil * q.Ambient.b;
    diff.r += nl * q.Diffus.r, diff.g += nl * q.Diffus.g, diff.b += nl * q.Diffus.b;
  }
  return {Begrenzt(m[1].r * amb.r + m[3].r + m[0].r * diff.r),
          Begrenzt(m[1].g * amb.g + m[3].g + m[0].g * diff.g),
          Begrenzt(m[1].b * amb.b + m[3].b + m[0].b * diff.b), Begrenzt(m[0].a)};
}

// Stage 0 of the texture cascade: colour and alpha each by their own
// operation. Later stages are never enabled by this device's callers.
Farbe Eckenrechner::Stufe0(const Farbe& diffus, const Farbe& spekular) const {
  if (Farbstufe[0] == D3DTOP_DISABLE) return diffus;
  const Farbe c = bFarbeDurch ? diffus : Stufe_Anwenden(Farbstufe, diffus, spekular, Faktor);
  float a = fAlpha;
  if (Alphastufe[0] == D3DTOP_DISABLE) {
    a = diffus.a;
  } else if (!bAlphaFest) {
    a = Stufe_Anwenden(Alphastufe, diffus, spekular, Faktor).a;
  }
  return {c.r, c.g, c.b, a};
}

// Berechnen for four vertices at once into k[0..7] (x, y, z, w, r, g, b,
// a side by side), each lane with the same operations
// in the same order as the single vertex, so the results are identical.
// A vertex with a normal holds at least 24 bytes: the position with the
// first four bytes after it, and the normal with the four before it, are
// each one 16-byte load, turned into lanes by transposing.
void Eckenrechner::Vier_Berechnen(const std::uint8_t* const* pEcke, Vier* k) const {
  __m128 v[4], roh[4];
  for (int j = 0; j < 4; ++j) {
    v[j] = _mm_loadu_ps(reinterpret_cast<const float*>(pEcke[j]));
    roh[j] = _mm_loadu_ps(reinterpret_cast<const float*>(pEcke[j] + Format.nNormale - 4));
  }
  _MM_TRANSPOSE4_PS(v[0], v[1], v[2], v[3]);
  _MM_TRANSPOSE4_PS(roh[0], roh[1], roh[2], roh[3]);
  __m128 n[3];
  for (int j = 0; j < 4; ++j) {
    k[j] = Vier(v[0]) * Gesamt[0][j] + Vier(v[1]) * Gesamt[1][j] + Vier(v[2]) * Gesamt[2][j] +
           Gesamt[3][j];
  }
  for (int j = 0; j < 3; ++j) {
    n[j] = Vier(roh[1]) * Normalen[0][j] + Vier(roh[2]) * Normalen[1][j] +
           Vier(roh[3]) * Normalen[2][j];
  }
  if (bNormieren) {
    const Vier l = _mm_sqrt_ps(Vier(n[0]) * n[0] + Vier(n[1]) * n[1] + Vier(n[2]) * n[2]);
    for (__m128& x : n) x = l > 0.0f ? Vier(x) / l : Vier(x);
  }
  Vier diff[3] = {};
  for (const Lichtquelle& q : Lichter) {
    Vier nl = Vier(n[0]) * q.Richtung[0] + Vier(n[1]) * q.Richtung[1] + Vier(n[2]) * q.Richtung[2];
    nl = _mm_max_ps(nl, _mm_setzero_ps());
    diff[0] += nl * q.Diffus.r, diff[1] += nl * q.Diffus.g, diff[2] += nl * q.Diffus.b;
  }
  const Farbe& m0 = Material[0];
  const Farbe& m1 = Material[1];
  const Farbe& m3 = Material[3];
  k[4] = Vier_Begrenzt(m1.r * Umgebung.r + m3.r + m0.r * diff[0], 1.0f);
  k[5] = Vier_Begrenzt(m1.g * Umgebung.g + m3.g + m0.g * diff[1], 1.0f);
  k[6] = Vier_Begrenzt(m1.b * Umgebung.b + m3.b + m0.b * diff[2], 1.0f);
  k[7] = Vier{} + fAlphaFest;
}

}  // namespace ersatz
