#pragma once
// The SDL front-end's way to the screen (bild_sdl.cpp): the presented
// picture converted and scaled straight onto the window's surface.
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "plattform/d3d8/beobachter.h"

namespace ersatz {

// What stays from frame to frame: the surface's format and its colour
// table, and the layout for the window's and the picture's sizes.
struct Uebertragung {
  std::uint32_t nZielFormat = 0;
  D3DFORMAT QuellFormat = D3DFMT_UNKNOWN;
  std::vector<std::uint32_t> Tabelle;  // surface pixel of each 16-bit value
  std::vector<int> Spalten;            // picture column of each window column
  SDL_Rect Ziel{};                     // where the picture lands
  int nBreite = 0, nHoehe = 0;         // the surface's size the layout is for
  UINT nQuellBreite = 0, nQuellHoehe = 0;
  bool bGanz = false;  // the whole surface is new
};

// The picture onto pZiel, scaled to it with its aspect kept and centred,
// black bars beside it; true when the whole surface changed (a new layout),
// false when only u.Ziel did.
bool Bild_Auf_Flaeche(SDL_Surface* pZiel, const Praesentiertes_Bild& bild, Uebertragung& u);
// The same onto the window's surface, and that to the screen.
void Bild_Uebertragen(SDL_Window* pFenster, const Praesentiertes_Bild& bild, Uebertragung& u);

}  // namespace ersatz
