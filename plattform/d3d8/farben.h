#pragma once
// A surface's pixels as 8-bit colour channels: 5- and 6-bit fields widened
// by bit replication, rows top to bottom.
#include <cstdint>
#include <vector>

#include "plattform/d3d8/d3d8.h"

namespace ersatz {

// Writes each pixel's channels into pZiel, nKanaele bytes a pixel (3: RGB;
// 4: RGBA with an opaque alpha).
void Farben_Aus_Puffer(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe, D3DFORMAT Format,
                       std::uint8_t* pZiel, int nKanaele);
std::vector<std::uint8_t> Rgb_Aus_Puffer(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe,
                                         D3DFORMAT Format);

}  // namespace ersatz
