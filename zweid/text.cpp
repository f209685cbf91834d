#include <cstring>

#include "app/app.h"
#include "zweid/zweid.h"

namespace {

const int nGrundlinieMin = 8;    // the cell's top row, y - 8, must not lie above row 0
const int nGrundlinieMax = 600;  // with its descenders the cell then ends at row 602
const int nUnterlaenge = 2;      // rows of the cell below the baseline
const int nStiftMax = 788;       // the widest glyph (9 columns) still ends at column 796
const int nSchrittLinks = 10;    // pen step for every byte left of column 0
const int nLeerVorschub = 4;     // pen step for a byte without a glyph

// The locked pixels, rows nPitch bytes apart, and the width that may be
// written.
struct Flaeche {
  BYTE* pBits;
  int nPitch;
  int nBreite;
};

// R5G6B5 from the low 5, 6 and 5 bits of the three components.
WORD Farbe_Packen(int r, int g, int b) {
  return static_cast<WORD>(((r & 0x1F) << 11) | ((g & 0x3F) << 5) | (b & 0x1F));
}

bool Vier_Bytes(D3DFORMAT Format) { return Format == D3DFMT_X8R8G8B8 || Format == D3DFMT_A8R8G8B8; }

// The packed R5G6B5 colour as a pixel of the surface's format, so the text
// keeps its colour on a 15- or 32-bit back buffer too (the mode choice takes
// one where the adapter has no 16-bit mode of the wanted size): 5-bit green
// keeps green's top bits, 8-bit fields repeat their top bits below, alpha is
// opaque. A format the renderer does not know gets the word unchanged.
DWORD Farbe_Im_Format(WORD n565, D3DFORMAT Format) {
  const DWORD r = n565 >> 11, g = (n565 >> 5) & 0x3F, b = n565 & 0x1F;
  switch (Format) {
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
      return (Format == D3DFMT_A1R5G5B5 ? 0x8000u : 0u) | (r << 10) | ((g >> 1) << 5) | b;
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8R8G8B8:
      return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
    default:
      return n565;
  }
}

// Sets the glyph's pixels with its leftmost column at nStift and its cell's
// top row at nOben. The caller has checked that the cell lies inside.
template <typename Pixel>
void Glyphe_Setzen(const Flaeche& flaeche, const Glyphe& glyphe, int nStift, int nOben,
                   Pixel nFarbe) {
  const int nBreite = glyphe.nVorschub - 1;
  for (int k = 0; k < nGlyphZeilen; ++k) {
    Pixel* pZeile = reinterpret_cast<Pixel*>(flaeche.pBits + (nOben + k) * flaeche.nPitch) + nStift;
    const unsigned nBits = glyphe.nZeilen[k];
    for (int j = 0; j < nBreite; ++j) {
      if (nBits & (1u << (nBreite - 1 - j))) pZeile[j] = nFarbe;
    }
  }
}

// Lays out n bytes from pen column x on baseline y. Bytes left of column 0
// are skipped, the string ends at the first glyph past column 788 or past
// the surface's right edge, and bytes without a glyph are blanks.
template <typename Pixel>
void Zeile_Setzen(const Flaeche& flaeche, int x, int y, Pixel nFarbe, const char* szText,
                  std::size_t n) {
  int nStift = x;
  for (std::size_t i = 0; i < n; ++i) {
    if (nStift < 0) {
      nStift += nSchrittLinks;
      continue;
    }
    if (nStift > nStiftMax) return;
    const Glyphe* pGlyphe = Glyphe_Suchen(static_cast<unsigned char>(szText[i]));
    if (!pGlyphe) {
      nStift += nLeerVorschub;
      continue;
    }
    if (nStift + pGlyphe->nVorschub - 1 > flaeche.nBreite) return;
    Glyphe_Setzen(flaeche, *pGlyphe, nStift, y - nGrundlinieMin, nFarbe);
    nStift += pGlyphe->nVorschub;
  }
}

}  // namespace

// Writes szText in the built-in font into a surface, baseline row y, first
// pen column x, colour packed from (r, g, b) into R5G6B5 and written in the
// surface's format.
// Locks the whole surface once. Nothing is drawn outside the surface: a
// baseline whose cell would leave it draws nothing, and the string ends at
// the first glyph that would cross its right edge.
int M_T(int x, int y, int r, int g, int b, IDirect3DSurface8* pSurface, const char* szText) {
  if (y < nGrundlinieMin || y > nGrundlinieMax) return 1;
  D3DSURFACE_DESC Beschreibung;
  if (FAILED(pSurface->GetDesc(&Beschreibung))) {
    Protokoll_Schreiben("2D Fehler: M_T GetDesc() failed\n");
    return 0;
  }
  if (static_cast<UINT>(y + nUnterlaenge) >= Beschreibung.Height) return 1;
  const std::size_t n = std::strlen(szText);

  D3DLOCKED_RECT Gesperrt;
  if (FAILED(pSurface->LockRect(&Gesperrt, nullptr, 0))) {
    Protokoll_Schreiben("2D Fehler: M_T LockRect() failed\n");
    return 0;
  }
  const Flaeche flaeche{static_cast<BYTE*>(Gesperrt.pBits), Gesperrt.Pitch,
                        static_cast<int>(Beschreibung.Width)};
  const DWORD nFarbe = Farbe_Im_Format(Farbe_Packen(r, g, b), Beschreibung.Format);
  if (Vier_Bytes(Beschreibung.Format))
    Zeile_Setzen<DWORD>(flaeche, x, y, nFarbe, szText, n);
  else
    Zeile_Setzen<WORD>(flaeche, x, y, static_cast<WORD>(nFarbe), szText, n);
  pSurface->UnlockRect();
  return 1;
}
