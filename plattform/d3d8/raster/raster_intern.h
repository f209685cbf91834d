#pragma once
// Between clipping and filling: the triangle filler, what its groups of
// four and of eight pixels share, and the lane moves they use.
#include <cstdint>

#include "plattform/d3d8/raster/raster.h"

// Lanes of a and b (numbered on from a's into b's) as one vector: with
// GCC __builtin_shuffle (its __builtin_shufflevector made the frame 9%
// slower in the filler), with clang __builtin_shufflevector, the only one
// it has.
#if defined(__clang__)
#define ERSATZ_MISCHEN(a, b, ...) __builtin_shufflevector(a, b, __VA_ARGS__)
#else
#define ERSATZ_MISCHEN(a, b, ...) __builtin_shuffle(a, b, decltype(a){__VA_ARGS__})
#endif

namespace ersatz {

// How a triangle is coloured: flat with one packed pixel (flat shading,
// or all three vertices of one colour), else Gouraud; either way the
// alpha is the first vertex's (a8, 0..255).
struct Schattierung {
  bool bFlach;
  std::uint32_t nPixel;
  int a8;
};

typedef std::uint16_t Acht __attribute__((vector_size(16)));

// Values that vary linearly across the screen, at the pixel (xRef, yRef)
// near the triangle and as steps per pixel to the right and per row
// down: depth, and for Gouraud shading the colour channels over w and
// 1/w. Set up in double, stepped in float.
struct Verlauf {
  int xRef, yRef;
  float z, zdx, zdy;
  Vier c, cdx, cdy;
};

// A row that holds pixels: its number and its span [xl, xr).
struct Spanne {
  int y, xl, xr;
};

// Everything a row needs, fixed for the whole triangle. Depth passes
// where (le & mX) ^ (ge & mY) ^ mZ, le and ge the comparisons of the new
// value with the stored one.
struct Fuellung {
  const Ziel* pZiel;
  Verlauf v;
  bool bTiefe, bSchreiben;
  Acht mX, mY, mZ;
  VierInt nFlach;
  Acht nFlach16;
  VierNat nAlpha;
  int xMax;  // the rightmost start of a group of four inside the row
  // The groups of eight's filler, or null where the four's fill.
  void (*pAcht)(const Fuellung& f, const Spanne* pS, int m);
  // The steps to the right, each in all four lanes.
  Vier zdx4, cdx4[4];
};

// T::Fuer<Pixel, F>() for the colour format F: the fillers are made for
// each format, and its pixel type.
template <typename T>
auto Nach_Format(D3DFORMAT F) {
  switch (F) {
    case D3DFMT_R5G6B5:
      return T::template Fuer<std::uint16_t, D3DFMT_R5G6B5>();
    case D3DFMT_X1R5G5B5:
      return T::template Fuer<std::uint16_t, D3DFMT_X1R5G5B5>();
    case D3DFMT_A1R5G5B5:
      return T::template Fuer<std::uint16_t, D3DFMT_A1R5G5B5>();
    case D3DFMT_A8R8G8B8:
      return T::template Fuer<std::uint32_t, D3DFMT_A8R8G8B8>();
    default:
      return T::template Fuer<std::uint32_t, D3DFMT_X8R8G8B8>();
  }
}

// The filler of spans pS[0..m) of a triangle in groups of eight pixels
// (raster_acht.cpp). Null unless groups of eight are on, the processor
// has AVX2 and the target is at least eight pixels wide (their masks
// count columns in 16 bits, so below 32768).
using Achterfueller_t = decltype(Fuellung::pAcht);
Achterfueller_t Achterfueller(const Ziel& ziel, bool bFlach, bool bLE);

// Fills a triangle whose vertices run clockwise on screen (positive
// doubled area, y down).
void Dreieck_Fuellen(const Ziel& ziel, const Rasterzustand& zustand, const Bildpunkt& a,
                     const Bildpunkt& b, const Bildpunkt& c, const Schattierung& s);

}  // namespace ersatz
