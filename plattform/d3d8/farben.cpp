// A surface's pixels as 8-bit colour channels, for the captures, the web
// page's canvas and the tests' comparisons.
#include "plattform/d3d8/farben.h"

#include <array>
#include <cstring>

namespace ersatz {
namespace {

std::uint8_t Breiter(unsigned nWert, unsigned nBits) {
  const unsigned n = nWert << (8 - nBits);
  return static_cast<std::uint8_t>(n | (n >> nBits));
}

// One row; the channel count is fixed here so each pixel's copy is a move
// of its own, not a call.
template <int nKanaele>
void Zeile_Schreiben(const std::uint8_t* pZeile, UINT nBreite, bool b32,
                     const std::array<std::array<std::uint8_t, 4>, 65536>& tabelle, std::uint8_t* pZiel) {
  for (UINT x = 0; x < nBreite; ++x, pZiel += nKanaele) {
    std::array<std::uint8_t, 4> farbe;
    if (b32) {
      std::uint32_t p;
      std::memcpy(&p, pZeile + 4 * x, 4);
      farbe = {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p), 255};
    } else {
      std::uint16_t p;
      std::memcpy(&p, pZeile + 2 * x, 2);
      farbe = tabelle[p];
    }
    std::memcpy(pZiel, farbe.data(), nKanaele);
  }
}

}  // namespace

// Each pixel's 8-bit channels, nKanaele bytes to a pixel (3: RGB; 4: RGBA
// with opaque alpha). A 16-bit format goes through a table of its 65,536
// values, made once, in static memory: the conversion never allocates.
void Farben_Aus_Puffer(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe, D3DFORMAT Format,
                       std::uint8_t* pZiel, int nKanaele) {
  static D3DFORMAT TabellenFormat = D3DFMT_UNKNOWN;
  static std::array<std::array<std::uint8_t, 4>, 65536> Tabelle;
  const bool b32 = Format == D3DFMT_X8R8G8B8 || Format == D3DFMT_A8R8G8B8;
  if (!b32 && TabellenFormat != Format) {
    for (unsigned p = 0; p < 65536; ++p) {
      Tabelle[p] =
          Format == D3DFMT_R5G6B5
              ? std::array<std::uint8_t, 4>{Breiter(p >> 11, 5), Breiter((p >> 5) & 63, 6),
                                            Breiter(p & 31, 5), 255}
              : std::array<std::uint8_t, 4>{Breiter((p >> 10) & 31, 5), Breiter((p >> 5) & 31, 5),
                                            Breiter(p & 31, 5), 255};
    }
    TabellenFormat = Format;
  }
  for (UINT y = 0; y < nHoehe; ++y) {
    const auto* pZeile = static_cast<const std::uint8_t*>(pBits) + std::ptrdiff_t(y) * nPitch;
    const std::size_t nZeile = std::size_t(y) * nBreite * nKanaele;
    if (nKanaele == 4)
      Zeile_Schreiben<4>(pZeile, nBreite, b32, Tabelle, pZiel + nZeile);
    else
      Zeile_Schreiben<3>(pZeile, nBreite, b32, Tabelle, pZiel + nZeile);
  }
}

std::vector<std::uint8_t> Rgb_Aus_Puffer(const void* pBits, int nPitch, UINT nBreite, UINT nHoehe,
                                         D3DFORMAT Format) {
  std::vector<std::uint8_t> rgb(std::size_t(nBreite) * nHoehe * 3);
  Farben_Aus_Puffer(pBits, nPitch, nBreite, nHoehe, Format, rgb.data(), 3);
  return rgb;
}

}  // namespace ersatz
