#pragma once
// 2D drawing: the software text renderer and its built-in font.
#include "plattform/plattform.h"

// Writes text with its baseline at row y, pen starting at column x, in the
// colour of (r, g, b) packed to R5G6B5 and written in the surface's format.
// 1 when done (also when nothing was drawn), 0 when the surface could not be
// locked.
int M_T(int x, int y, int r, int g, int b, IDirect3DSurface8* pSurface, const char* szText);

// One glyph of the built-in font. nZeilen[k] is cell row y - 8 + k for a
// baseline y; each row is nVorschub - 1 bits wide, its leftmost column in the
// highest of those bits. The pen moves by nVorschub, so a blank column follows.
const int nGlyphZeilen = 11;
struct Glyphe {
  unsigned char nCode;
  unsigned char nVorschub;
  unsigned short nZeilen[nGlyphZeilen];
};

const int nGlyphen = 79;
extern const Glyphe Zeichensatz[nGlyphen];

// The glyph of a byte, or null for a byte drawn as a 4-pixel blank.
const Glyphe* Glyphe_Suchen(unsigned char nCode);
