#pragma once
// Between clipping and filling: the triangle filler.
#include <cstdint>

#include "plattform/raster.h"

namespace ersatz {

// Fills a triangle whose vertices run clockwise on screen (positive
// doubled area, y down). nFlach: the packed flat colour, used when
// zustand.bFlach is set.
void Dreieck_Fuellen(const Ziel& ziel, const Rasterzustand& zustand, const Bildpunkt& a,
                     const Bildpunkt& b, const Bildpunkt& c, std::uint32_t nFlach);

}  // namespace ersatz
