#pragma once
// The rasteriser: clips triangles in homogeneous clip space, culls them by
// their winding on screen, and fills them into a 16- or 32-bit colour
// buffer with an optional 16-bit depth buffer. Screen y points down; pixel
// centres lie at integer coordinates; the top-left fill rule applies.
//   raster.cpp          clipping, projection, culling, pixel packing
//   raster_fuellen.cpp  filling one screen triangle (raster_intern.h)
//   raster_acht.cpp     its pixels eight at a time, where AVX2 is there
// It knows only the Direct3D 8 names: no window, file or library.
#include <xmmintrin.h>

#include <cstddef>
#include <cstdint>

#include "plattform/d3d8/d3d8.h"

namespace ersatz {

// A vertex after transform and lighting: clip-space position (row vector
// times World·View·Projection) and its final colour, channels 0..1.
struct Ecke {
  float x, y, z, w;
  float r, g, b, a;
};

// Sub-pixel precision of snapped screen positions: 1/256 pixel.
constexpr int nSubBits = 8;
constexpr std::int64_t nSub = 1 << nSubBits;

// A vertex on screen: position snapped to 1/256 pixel, depth z/w, and the
// values that vary linearly across the screen for perspective-correct
// shading: 1/w and each colour channel (0..255) over w.
struct Bildpunkt {
  std::int64_t X, Y;
  float z;
  float q;
  float r, g, b;
};

// A transformed vertex made ready for any triangle that uses it: which
// clip planes it lies outside of, and, valid when it needs no clipping,
// its screen point, its colour as a pixel of the target's format and its
// alpha as 0..255.
struct Eckpunkt {
  Ecke e;
  unsigned nAussen;
  Bildpunkt p;
  std::uint32_t nPixel;
  int a8;
};

// The filler reads and writes back groups of four pixels; on a target
// narrower than that a group runs past a row's end, so colour and depth
// buffers hold this many pixels more than their rows.
constexpr std::size_t nFuellerRand = 3;

// Where pixels go. pTiefe is null when there is no depth buffer; its rows
// are nBreite entries long.
struct Ziel {
  std::uint8_t* pFarbe = nullptr;
  int nPitch = 0;
  D3DFORMAT Format = D3DFMT_R5G6B5;
  std::uint16_t* pTiefe = nullptr;
  int nBreite = 0;
  int nHoehe = 0;
};

struct Rasterzustand {
  bool bFlach = false;
  D3DCULL Cull = D3DCULL_CCW;
  bool bTiefentest = true;
  bool bTiefeSchreiben = true;
  D3DCMPFUNC Vergleich = D3DCMP_LESSEQUAL;
};

// Fills in the rest of v from its transformed vertex v.e, for the
// target's screen size.
void Eckpunkt_Vorbereiten(const Ziel& ziel, Eckpunkt& v);
// Four values side by side.
typedef float Vier __attribute__((vector_size(16)));
typedef int VierInt __attribute__((vector_size(16)));
typedef std::uint32_t VierNat __attribute__((vector_size(16)));

// v clamped to [0, hi] lane by lane, NaN to 0: maxps and minps pick their
// second operand unless the first compares greater (less), so each is
// exactly one "v > 0 ? v : 0" and "v < hi ? v : hi" in one instruction,
// the same choices std::max(0, v) and std::min(hi, v) make.
inline Vier Vier_Begrenzt(Vier v, float hi) {
  return _mm_min_ps(_mm_max_ps(v, _mm_setzero_ps()), _mm_set1_ps(hi));
}

// Sets v[j]->e from lane j of k[0..7] (x, y, z, w, r, g, b, a) and does
// Eckpunkt_Vorbereiten for it, for the four vertices v[0..3] at once.
void Vier_Vorbereiten(const Ziel& ziel, const Vier* k, Eckpunkt* const* v);

// Draws the triangle a, b, c: clipped to 0 <= z <= w and to the screen,
// culled by its screen winding, flat shaded with a's colour or Gouraud
// shaded perspective-correctly, depth-tested and written.
void Dreieck_Zeichnen(const Ziel& ziel, const Rasterzustand& zustand, const Eckpunkt& a,
                      const Eckpunkt& b, const Eckpunkt& c);

// One colour channel 0..1 as an 8-bit value: round(v·255), clamped.
inline int Kanal8(float v) {
  const float f = v * 255.0f + 0.5f;
  return f <= 0.0f ? 0 : f >= 255.0f ? 255 : static_cast<int>(f);
}

// A pixel of the colour format from 8-bit channels; 16-bit formats keep
// the top bits of each channel, no dithering. X bits are written as 0.
// T is std::uint32_t or a vector of it, for several pixels at once.
template <typename T>
inline T Kanaele_Packen(D3DFORMAT Format, T r, T g, T b, T a) {
  switch (Format) {
    case D3DFMT_R5G6B5:
      return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    case D3DFMT_X1R5G5B5:
      return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case D3DFMT_A1R5G5B5:
      return ((a >> 7) << 15) | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case D3DFMT_A8R8G8B8:
      return (a << 24) | (r << 16) | (g << 8) | b;
    default:
      return (r << 16) | (g << 8) | b;
  }
}

inline std::uint32_t Pixel_Packen(D3DFORMAT Format, int r8, int g8, int b8, int a8) {
  return Kanaele_Packen(Format, static_cast<std::uint32_t>(r8), static_cast<std::uint32_t>(g8),
                        static_cast<std::uint32_t>(b8), static_cast<std::uint32_t>(a8));
}

// Whether the filler works on eight pixels at a time (with AVX2, where the
// processor has it) or four; the pictures are the same either way. It
// does unless told not to. Returns whether it now does.
bool Breite_Gruppen(bool bAn);

// Fills the rectangle [x1, x2) x [y1, y2) (already inside the target) with
// a packed colour and/or a depth value.
void Farbe_Fuellen(const Ziel& ziel, int x1, int y1, int x2, int y2, std::uint32_t nPixel);
void Tiefe_Fuellen(const Ziel& ziel, int x1, int y1, int x2, int y2, std::uint16_t nTiefe);

}  // namespace ersatz
