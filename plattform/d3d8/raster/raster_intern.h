#pragma once
// Between clipping and filling: the triangle filler, and the lane moves
// both use.
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

// Fills a triangle whose vertices run clockwise on screen (positive
// doubled area, y down).
void Dreieck_Fuellen(const Ziel& ziel, const Rasterzustand& zustand, const Bildpunkt& a,
                     const Bildpunkt& b, const Bildpunkt& c, const Schattierung& s);

}  // namespace ersatz
