// Filling in groups of eight pixels with AVX2, chosen at run time where
// the processor has it: the same steps, lane for lane, as the groups of
// four take, so the pictures are the same. Two slivers' rows of up to four
// pixels share a group, where groups of four would leave half their
// lanes idle.
#include "plattform/d3d8/raster/raster_intern.h"

#if (defined(__x86_64__) || defined(__i386__)) && !defined(__EMSCRIPTEN__)
#define ERSATZ_AVX2_DA 1
#include <immintrin.h>
#else
#define ERSATZ_AVX2_DA 0
#endif

#include <algorithm>

namespace ersatz {
namespace {

#if ERSATZ_AVX2_DA
#define ERSATZ_AVX2 __attribute__((target("avx2"), always_inline)) inline

// The same steps, lane for lane, as Gruppe and Farben take for four.
ERSATZ_AVX2 __m256 Begrenzt(__m256 v, float hi) {
  return _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), _mm256_set1_ps(hi));
}

// A triangle's planes with each value in all eight lanes, made once for
// its groups: loads of these fold into the arithmetic, broadcasts do not.
struct Ebenen8 {
  __m256 z, zdy, zdx;
  __m256 c[4], cdy[4], cdx[4];
};

ERSATZ_AVX2 Ebenen8 Ebenen8_Aus(const Verlauf& v) {
  Ebenen8 e;
  e.z = _mm256_set1_ps(v.z), e.zdy = _mm256_set1_ps(v.zdy), e.zdx = _mm256_set1_ps(v.zdx);
  for (int k = 0; k < 4; ++k) {
    e.c[k] = _mm256_set1_ps(v.c[k]);
    e.cdy[k] = _mm256_set1_ps(v.cdy[k]);
    e.cdx[k] = _mm256_set1_ps(v.cdx[k]);
  }
  return e;
}

ERSATZ_AVX2 __m256 Eben(__m256 a, __m256 ady, __m256 adx, __m256 fy, __m256 t) {
  return _mm256_add_ps(_mm256_add_ps(a, _mm256_mul_ps(fy, ady)), _mm256_mul_ps(t, adx));
}

// Eight 32-bit lanes 0..65535 as eight 16-bit ones.
ERSATZ_AVX2 __m128i Schmal8(__m256i v) {
  return _mm_packus_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
}

ERSATZ_AVX2 VierNat Haelfte(__m256i v, int k) {
  return reinterpret_cast<VierNat>(k ? _mm256_extracti128_si256(v, 1) : _mm256_castsi256_si128(v));
}

// Lambdas do not take their function's target, hence no lambda here.
ERSATZ_AVX2 __m256i Kanal8(const Ebenen8& e, int k, __m256 fy, __m256 t, __m256 w) {
  const __m256 c = _mm256_add_ps(_mm256_mul_ps(Eben(e.c[k], e.cdy[k], e.cdx[k], fy, t), w),
                                 _mm256_set1_ps(0.5f));
  return _mm256_cvttps_epi32(Begrenzt(c, 255.0f));
}

// Packed four lanes at a time by the groups of four's packing: on eight,
// that shared function would take 256-bit vectors outside AVX2 code.
template <D3DFORMAT F>
ERSATZ_AVX2 __m256i Farben8(const Ebenen8& e, VierNat nAlpha, __m256 fy, __m256 t) {
  const __m256 w = _mm256_div_ps(_mm256_set1_ps(1.0f), Eben(e.c[3], e.cdy[3], e.cdx[3], fy, t));
  const __m256i r = Kanal8(e, 0, fy, t, w), g = Kanal8(e, 1, fy, t, w), b = Kanal8(e, 2, fy, t, w);
  const VierNat lo = Kanaele_Packen(F, Haelfte(r, 0), Haelfte(g, 0), Haelfte(b, 0), nAlpha);
  const VierNat hi = Kanaele_Packen(F, Haelfte(r, 1), Haelfte(g, 1), Haelfte(b, 1), nAlpha);
  return _mm256_set_m128i(reinterpret_cast<__m128i>(hi), reinterpret_cast<__m128i>(lo));
}

// Eight 16-bit values from p0 and p1, four each; and back, p1 first.
ERSATZ_AVX2 __m128i Laden8(const std::uint16_t* p0, const std::uint16_t* p1) {
  return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0)),
                            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p1)));
}

ERSATZ_AVX2 void Speichern8(std::uint16_t* p0, std::uint16_t* p1, __m128i m, __m128i neu,
                            __m128i alt) {
  const __m128d d = _mm_castsi128_pd(_mm_or_si128(_mm_and_si128(m, neu), _mm_andnot_si128(m, alt)));
  _mm_storeh_pd(reinterpret_cast<double*>(p1), d);
  _mm_storel_pd(reinterpret_cast<double*>(p0), d);
}

// The lanes of a group of eight whose first half counts columns from
// its own first column in [loA, hiA) and whose second half in [loB, hiB).
ERSATZ_AVX2 __m128i Maske8(int loA, int hiA, int loB, int hiB) {
  auto zwei = [](int a, int b) {
    return _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(a)),
                              _mm_set1_epi16(static_cast<short>(b)));
  };
  const __m128i nSpur = _mm_setr_epi16(0, 1, 2, 3, 0, 1, 2, 3);
  return _mm_andnot_si128(_mm_cmplt_epi16(nSpur, zwei(loA, loB)),
                          _mm_cmplt_epi16(nSpur, zwei(hiA, hiB)));
}

// Four pixels from column xa of row ya and four from column xb of row yb
// as one group of eight, those in bIn drawn where the depth test lets
// them. The second four are written back first: when they are the first
// four again, with no lane inside, the first four's pixels win.
template <typename Pixel, D3DFORMAT F, bool bFlach, bool bLE>
ERSATZ_AVX2 void Acht_Pixel(const Fuellung& f, const Ebenen8& e, int ya, int xa, int yb, int xb,
                            __m128i bIn) {
  const Ziel& ziel = *f.pZiel;
  const __m256 fy = _mm256_cvtepi32_ps(
      _mm256_set_m128i(_mm_set1_epi32(yb - f.v.yRef), _mm_set1_epi32(ya - f.v.yRef)));
  const __m256 t = _mm256_cvtepi32_ps(_mm256_add_epi32(
      _mm256_set_m128i(_mm_set1_epi32(xb - f.v.xRef), _mm_set1_epi32(xa - f.v.xRef)),
      _mm256_setr_epi32(0, 1, 2, 3, 0, 1, 2, 3)));
  if (f.bTiefe) {
    std::uint16_t* pA = ziel.pTiefe + static_cast<size_t>(ya) * ziel.nBreite + xa;
    std::uint16_t* pB = ziel.pTiefe + static_cast<size_t>(yb) * ziel.nBreite + xb;
    const __m256 z = Eben(e.z, e.zdy, e.zdx, fy, t);
    const __m128i neu = Schmal8(_mm256_cvttps_epi32(_mm256_add_ps(
        _mm256_mul_ps(Begrenzt(z, 1.0f), _mm256_set1_ps(65535.0f)), _mm256_set1_ps(0.5f))));
    const __m128i alt = Laden8(pA, pB);
    const __m128i le = _mm_cmpeq_epi16(_mm_min_epu16(neu, alt), neu);
    if constexpr (bLE) {
      bIn = _mm_and_si128(bIn, le);
    } else {
      const __m128i ge = _mm_cmpeq_epi16(_mm_max_epu16(neu, alt), neu);
      const Acht m =
          (reinterpret_cast<Acht>(le) & f.mX) ^ (reinterpret_cast<Acht>(ge) & f.mY) ^ f.mZ;
      bIn = _mm_and_si128(bIn, reinterpret_cast<__m128i>(m));
    }
    if (f.bSchreiben) Speichern8(pA, pB, bIn, neu, alt);
  }
  auto* pA = reinterpret_cast<Pixel*>(ziel.pFarbe + static_cast<size_t>(ya) * ziel.nPitch) + xa;
  auto* pB = reinterpret_cast<Pixel*>(ziel.pFarbe + static_cast<size_t>(yb) * ziel.nPitch) + xb;
  if constexpr (sizeof(Pixel) == 2) {
    const __m128i neu =
        bFlach ? reinterpret_cast<__m128i>(f.nFlach16) : Schmal8(Farben8<F>(e, f.nAlpha, fy, t));
    Speichern8(pA, pB, bIn, neu, Laden8(pA, pB));
  } else {
    const __m256i neu = bFlach ? _mm256_set1_epi32(f.nFlach[0]) : Farben8<F>(e, f.nAlpha, fy, t);
    auto* p0 = reinterpret_cast<__m128i*>(pA);
    auto* p1 = reinterpret_cast<__m128i*>(pB);
    const __m256i alt = _mm256_set_m128i(_mm_loadu_si128(p1), _mm_loadu_si128(p0));
    const __m256i m = _mm256_cvtepi16_epi32(bIn);
    const __m256i d = _mm256_or_si256(_mm256_and_si256(m, neu), _mm256_andnot_si256(m, alt));
    _mm_storeu_si128(p1, _mm256_extracti128_si256(d, 1));
    _mm_storeu_si128(p0, _mm256_castsi256_si128(d));
  }
}

// The spans pS[0..m) in groups of eight: a span of up to four pixels
// (most of them) shares its group with the next such span, a wider one
// takes groups of eight of its own row. A group moved left to stay inside
// the row leaves the columns before its span to the group before it.
template <typename Pixel, D3DFORMAT F, bool bFlach, bool bLE>
__attribute__((target("avx2"), noinline)) void Spannen_Breit(const Fuellung& f, const Spanne* pS,
                                                             int m) {
  const int xMax8 = f.pZiel->nBreite - 8;
  const Ebenen8 e = Ebenen8_Aus(f.v);
  bool bOffen = false;
  int yO = 0, xO = 0, loO = 0, hiO = 0;
  for (int k = 0; k < m; ++k) {
    const Spanne s = pS[k];
    if (s.xr - s.xl <= 4) {
      const int x0 = std::min(s.xl, f.xMax);
      if (bOffen) {
        Acht_Pixel<Pixel, F, bFlach, bLE>(f, e, yO, xO, s.y, x0,
                                          Maske8(loO, hiO, s.xl - x0, s.xr - x0));
      } else {
        yO = s.y, xO = x0, loO = s.xl - x0, hiO = s.xr - x0;
      }
      bOffen = !bOffen;
      continue;
    }
    for (int lo = s.xl; lo < s.xr; lo += 8) {
      const int x0 = std::min(lo, xMax8);
      Acht_Pixel<Pixel, F, bFlach, bLE>(f, e, s.y, x0, s.y, x0 + 4,
                                        Maske8(lo - x0, s.xr - x0, lo - x0 - 4, s.xr - x0 - 4));
    }
  }
  if (bOffen) Acht_Pixel<Pixel, F, bFlach, bLE>(f, e, yO, xO, yO, xO, Maske8(loO, hiO, 0, 0));
}

template <bool bFlach, bool bLE>
struct Wahl {
  template <typename Pixel, D3DFORMAT F>
  static Achterfueller_t Fuer() {
    return Spannen_Breit<Pixel, F, bFlach, bLE>;
  }
};

bool Avx2_Da() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}

const bool bDa = Avx2_Da();
#else
const bool bDa = false;
#endif

bool bAn = bDa;

}  // namespace

bool Breite_Gruppen(bool bWunsch) {
  bAn = bWunsch && bDa;
  return bAn;
}

Achterfueller_t Achterfueller(const Ziel& ziel, bool bFlach, bool bLE) {
  if (!bAn || ziel.nBreite < 8 || ziel.nBreite >= 32768) return nullptr;
#if ERSATZ_AVX2_DA
  static constexpr Achterfueller_t (*nFueller[2][2])(D3DFORMAT) = {
      {Nach_Format<Wahl<false, false>>, Nach_Format<Wahl<false, true>>},
      {Nach_Format<Wahl<true, false>>, Nach_Format<Wahl<true, true>>}};
  return nFueller[bFlach][bLE](ziel.Format);
#else
  (void)bFlach, (void)bLE;
  return nullptr;
#endif
}

}  // namespace ersatz
