// The presented picture onto the window's own surface, in one pass: each
// pixel converted through a table of the surface's format and scaled to the
// window with its aspect kept (nearest pixel), with no texture and no
// renderer between. Where no GPU helps, that is the cheapest way to the
// screen.
#include "plattform/sdl/bild_sdl.h"

#include <algorithm>
#include <cstring>

namespace ersatz {
namespace {

// 5- and 6-bit fields widened by bit replication, as every other view of
// the back buffer widens them.
std::uint8_t Breiter(unsigned nWert, unsigned nBits) {
  const unsigned n = nWert << (8 - nBits);
  return static_cast<std::uint8_t>(n | (n >> nBits));
}

void Rgb_Von(D3DFORMAT Format, std::uint32_t p, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
  if (Format == D3DFMT_R5G6B5) {
    r = Breiter(p >> 11, 5), g = Breiter((p >> 5) & 63, 6), b = Breiter(p & 31, 5);
  } else if (Format == D3DFMT_X1R5G5B5 || Format == D3DFMT_A1R5G5B5) {
    r = Breiter((p >> 10) & 31, 5), g = Breiter((p >> 5) & 31, 5), b = Breiter(p & 31, 5);
  } else {
    r = std::uint8_t(p >> 16), g = std::uint8_t(p >> 8), b = std::uint8_t(p);
  }
}

void Pixel_Setzen(std::uint8_t* pZiel, int nBytes, std::uint32_t n) {
  if (nBytes == 4) {
    std::memcpy(pZiel, &n, 4);
  } else if (nBytes == 2) {
    const auto k = static_cast<std::uint16_t>(n);
    std::memcpy(pZiel, &k, 2);
  } else {
    for (int i = 0; i < nBytes; ++i) pZiel[i] = std::uint8_t(n >> (8 * i));
  }
}

// The common row: 16-bit pixels at the window's own size onto a 32-bit
// surface, a table lookup each.
void Zeile_Gleich_Gross(const std::uint8_t* pQuelle, const std::uint32_t* pTabelle, int nBreite,
                        std::uint8_t* pZiel) {
  for (int x = 0; x < nBreite; ++x, pQuelle += 2, pZiel += 4) {
    std::uint16_t p;
    std::memcpy(&p, pQuelle, 2);
    std::memcpy(pZiel, pTabelle + p, 4);
  }
}

// One row of the window from one row of the picture; nBytes is the
// surface's pixel size, fixed here so a 4-byte pixel is one store.
template <int nBytes>
void Zeile(const std::uint8_t* pQuelle, bool b32, const std::vector<std::uint32_t>& tabelle,
           const SDL_PixelFormat* pFormat, const std::vector<int>& spalten, std::uint8_t* pZiel) {
  for (const int x : spalten) {
    std::uint32_t n;
    if (!b32) {
      std::uint16_t p;
      std::memcpy(&p, pQuelle + 2 * x, 2);
      n = tabelle[p];
    } else {
      std::uint32_t p;
      std::memcpy(&p, pQuelle + 4 * x, 4);
      n = SDL_MapRGB(pFormat, std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p));
    }
    Pixel_Setzen(pZiel, nBytes, n);
    pZiel += nBytes;
  }
}

}  // namespace

// The layout (where the picture lands, which column of it each window
// column shows) and the colour table are made again only when the surface,
// its format or the picture changed.
bool Bild_Auf_Flaeche(SDL_Surface* pZiel, const Praesentiertes_Bild& bild, Uebertragung& u) {
  const bool b32 = bild.Format == D3DFMT_X8R8G8B8 || bild.Format == D3DFMT_A8R8G8B8;
  if (pZiel->format->format != u.nZielFormat || bild.Format != u.QuellFormat) {
    u.Tabelle.assign(b32 ? 0 : 65536, 0);
    for (std::uint32_t p = 0; p < u.Tabelle.size(); ++p) {
      std::uint8_t r, g, b;
      Rgb_Von(bild.Format, p, r, g, b);
      u.Tabelle[p] = SDL_MapRGB(pZiel->format, r, g, b);
    }
    u.nZielFormat = pZiel->format->format;
    u.QuellFormat = bild.Format;
    u.nBreite = 0;
  }
  if (pZiel->w != u.nBreite || pZiel->h != u.nHoehe || bild.nBreite != u.nQuellBreite ||
      bild.nHoehe != u.nQuellHoehe) {
    const double fMass = std::min(double(pZiel->w) / bild.nBreite, double(pZiel->h) / bild.nHoehe);
    u.Ziel.w = std::max(1, int(bild.nBreite * fMass));
    u.Ziel.h = std::max(1, int(bild.nHoehe * fMass));
    u.Ziel.x = (pZiel->w - u.Ziel.w) / 2;
    u.Ziel.y = (pZiel->h - u.Ziel.h) / 2;
    u.Spalten.resize(u.Ziel.w);
    for (int x = 0; x < u.Ziel.w; ++x)
      u.Spalten[x] = int(std::int64_t(x) * bild.nBreite / u.Ziel.w);
    u.nBreite = pZiel->w;
    u.nHoehe = pZiel->h;
    u.nQuellBreite = bild.nBreite;
    u.nQuellHoehe = bild.nHoehe;
    SDL_FillRect(pZiel, nullptr, SDL_MapRGB(pZiel->format, 0, 0, 0));
    u.bGanz = true;
  }
  const bool bGanz = u.bGanz;
  u.bGanz = false;
  if (SDL_MUSTLOCK(pZiel) && SDL_LockSurface(pZiel) != 0) return bGanz;
  const int nBytes = pZiel->format->BytesPerPixel;
  auto* pZeilen = static_cast<std::uint8_t*>(pZiel->pixels);
  int nVorher = -1;
  for (int y = 0; y < u.Ziel.h; ++y) {
    std::uint8_t* pZeile =
        pZeilen + std::ptrdiff_t(u.Ziel.y + y) * pZiel->pitch + std::ptrdiff_t(u.Ziel.x) * nBytes;
    const int nQuelle = int(std::int64_t(y) * bild.nHoehe / u.Ziel.h);
    if (nQuelle == nVorher) {
      std::memcpy(pZeile, pZeile - pZiel->pitch, std::size_t(u.Ziel.w) * nBytes);
      continue;
    }
    nVorher = nQuelle;
    const auto* pQuelle =
        static_cast<const std::uint8_t*>(bild.pBits) + std::ptrdiff_t(nQuelle) * bild.nPitch;
    if (nBytes == 4 && !b32 && UINT(u.Ziel.w) == bild.nBreite)
      Zeile_Gleich_Gross(pQuelle, u.Tabelle.data(), u.Ziel.w, pZeile);
    else if (nBytes == 4)
      Zeile<4>(pQuelle, b32, u.Tabelle, pZiel->format, u.Spalten, pZeile);
    else if (nBytes == 2)
      Zeile<2>(pQuelle, b32, u.Tabelle, pZiel->format, u.Spalten, pZeile);
    else
      Zeile<3>(pQuelle, b32, u.Tabelle, pZiel->format, u.Spalten, pZeile);
  }
  if (SDL_MUSTLOCK(pZiel)) SDL_UnlockSurface(pZiel);
  return bGanz;
}

// After a new layout the bars go out once; then only the picture does.
void Bild_Uebertragen(SDL_Window* pFenster, const Praesentiertes_Bild& bild, Uebertragung& u) {
  SDL_Surface* pZiel = SDL_GetWindowSurface(pFenster);
  if (!pZiel) return;
  if (Bild_Auf_Flaeche(pZiel, bild, u))
    SDL_UpdateWindowSurface(pFenster);
  else
    SDL_UpdateWindowSurfaceRects(pFenster, &u.Ziel, 1);
}

}  // namespace ersatz
