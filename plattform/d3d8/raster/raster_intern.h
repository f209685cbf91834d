#pragma once
// Between clipping and filling: the triangle filler.
#include <cstdint>

#include "plattform/d3d8/raster/raster.h"

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
