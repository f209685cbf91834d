// The SDL front-end's keys, and its picture on a surface.
#include "plattform/sdl/sdl.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "plattform/dinput/dinput.h"
#include "plattform/sdl/bild_sdl.h"

namespace {

TEST(SdlAnzeige, TastenWerdenDirectInputCodes) {
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_ESCAPE), DIK_ESCAPE);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_F1), DIK_F1);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_R), DIK_R);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_S), DIK_S);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_SPACE), DIK_SPACE);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_KP_ENTER), DIK_NUMPADENTER);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_RIGHT), DIK_RIGHT);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_UNKNOWN), -1);
}

std::uint32_t Pixel(SDL_Surface* s, int x, int y) {
  std::uint32_t n;
  std::memcpy(&n, static_cast<std::uint8_t*>(s->pixels) + y * s->pitch + 4 * x, 4);
  return n;
}

// A 4 x 3 picture on an 8 x 8 surface: twice as large, centred between
// black bars, each pixel the colour the captures give it (5 and 6 bits
// widened); a second frame of the same layout changes only the picture.
TEST(SdlAnzeige, BildSkaliertUndMittig) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 8, 8, 32, SDL_PIXELFORMAT_XRGB8888);
  ASSERT_NE(s, nullptr);
  std::vector<std::uint16_t> bits(4 * 3, 0);
  bits[0] = 0xF800;      // red
  bits[1] = 0x07E0;      // green
  bits[4 + 2] = 0x0841;  // darkest grey
  bits[8 + 3] = 0xFFFF;  // white
  const ersatz::Praesentiertes_Bild bild{bits.data(), 8, 4, 3, D3DFMT_R5G6B5};
  ersatz::Uebertragung u;
  EXPECT_TRUE(ersatz::Bild_Auf_Flaeche(s, bild, u));
  EXPECT_EQ(u.Ziel.x, 0);
  EXPECT_EQ(u.Ziel.y, 1);
  EXPECT_EQ(u.Ziel.w, 8);
  EXPECT_EQ(u.Ziel.h, 6);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(Pixel(s, x, 0) & 0xFFFFFF, 0u) << "bar above, column " << x;
    EXPECT_EQ(Pixel(s, x, 7) & 0xFFFFFF, 0u) << "bar below, column " << x;
  }
  for (int y = 1; y < 3; ++y) {
    EXPECT_EQ(Pixel(s, 0, y) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Pixel(s, 1, y) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Pixel(s, 2, y) & 0xFFFFFF, 0x00FF00u);
  }
  EXPECT_EQ(Pixel(s, 4, 3) & 0xFFFFFF, 0x080808u);
  EXPECT_EQ(Pixel(s, 5, 4) & 0xFFFFFF, 0x080808u);
  EXPECT_EQ(Pixel(s, 7, 6) & 0xFFFFFF, 0xFFFFFFu);
  bits[0] = 0x001F;
  EXPECT_FALSE(ersatz::Bild_Auf_Flaeche(s, bild, u));
  EXPECT_EQ(Pixel(s, 0, 1) & 0xFFFFFF, 0x0000FFu);

  // At the surface's own size every pixel is its own.
  SDL_Surface* gleich = SDL_CreateRGBSurfaceWithFormat(0, 4, 3, 32, SDL_PIXELFORMAT_XRGB8888);
  ASSERT_NE(gleich, nullptr);
  EXPECT_TRUE(ersatz::Bild_Auf_Flaeche(gleich, bild, u));
  EXPECT_EQ(Pixel(gleich, 0, 0) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(Pixel(gleich, 1, 0) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(Pixel(gleich, 2, 1) & 0xFFFFFF, 0x080808u);
  EXPECT_EQ(Pixel(gleich, 3, 2) & 0xFFFFFF, 0xFFFFFFu);
  SDL_FreeSurface(gleich);
  SDL_FreeSurface(s);
}

}  // namespace
