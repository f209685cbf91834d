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

// The locked pixels as 16-bit words and the part of them that may be written.
struct Flaeche {
  WORD* pPixel;
  int nWorteProZeile;
  int nBreite;
};

// R5G6B5 from the low 5, 6 and 5 bits of the three components.
WORD Farbe_Packen(int r, int g, int b) {
  return static_cast<WORD>(((r & 0x1F) << 11) | ((g & 0x3F) << 5) | (b & 0x1F));
}

// Sets the glyph's pixels with its leftmost column at nStift and its cell's
// top row at nOben. The caller has checked that the cell lies inside.
void Glyphe_Setzen(const Flaeche& flaeche, const Glyphe& glyphe, int nStift, int nOben,
                   WORD nFarbe) {
  const int nBreite = glyphe.nVorschub - 1;
  for (int k = 0; k < nGlyphZeilen; ++k) {
    WORD* pZeile = flaeche.pPixel + (nOben + k) * flaeche.nWorteProZeile + nStift;
    const unsigned nBits = glyphe.nZeilen[k];
    for (int j = 0; j < nBreite; ++j) {
      if (nBits & (1u << (nBreite - 1 - j))) pZeile[j] = nFarbe;
    }
  }
}

// Lays out n bytes from pen column x on baseline y. Bytes left of column 0
// are skipped, the string ends at the first glyph past column 788 or past
// the surface's right edge, and bytes without a glyph are blanks.
void Zeile_Setzen(const Flaeche& flaeche, int x, int y, WORD nFarbe, const char* szText,
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

// Writes szText in the built-in font into a 16-bit surface, baseline row y,
// first pen column x, colour packed from (r, g, b) and written unchanged.
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
  const Flaeche flaeche{static_cast<WORD*>(Gesperrt.pBits), Gesperrt.Pitch / 2,
                        static_cast<int>(Beschreibung.Width)};
  Zeile_Setzen(flaeche, x, y, Farbe_Packen(r, g, b), szText, n);
  pSurface->UnlockRect();
  return 1;
}
