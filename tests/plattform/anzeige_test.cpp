// Presentation: frames widened to 8-bit RGB, PNG files, and the SDL
// front-end's keys.
#include "plattform/anzeige/anzeige.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "plattform/plattform.h"

namespace {

TEST(Praesentation, SechzehnBitWerdenDurchBitwiederholungBreiter) {
  const std::uint16_t bild565[] = {0xF800, 0x07E0, 0x001F, 0x0841, 0xFFFF, 0x0000};
  const auto rgb = ersatz::Rgb_Aus_Puffer(bild565, 12, 6, 1, D3DFMT_R5G6B5);
  EXPECT_EQ(rgb, (std::vector<std::uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255, 8, 8, 8, 255, 255, 255,
                                            0, 0, 0}));
  const std::uint16_t bild555[] = {0x7C00, 0x03E0, 0x8421};
  EXPECT_EQ(ersatz::Rgb_Aus_Puffer(bild555, 6, 3, 1, D3DFMT_X1R5G5B5),
            (std::vector<std::uint8_t>{255, 0, 0, 0, 255, 0, 8, 8, 8}));
  // Rows follow the pitch, not the width.
  const std::uint32_t bild888[] = {0x00102030, 0xdeadbeef, 0xff405060, 0xdeadbeef};
  EXPECT_EQ(ersatz::Rgb_Aus_Puffer(bild888, 8, 1, 2, D3DFMT_X8R8G8B8),
            (std::vector<std::uint8_t>{0x10, 0x20, 0x30, 0x40, 0x50, 0x60}));
}

// The canvas's RGBA is the RGB with an opaque alpha, in every format, and
// a format after another (a new table) gives its own colours.
TEST(Praesentation, RgbaWieRgbMitDeckendemAlpha) {
  const std::uint16_t bild565[] = {0xF800, 0x0841, 0x001F};
  const std::uint16_t bild555[] = {0x7C00, 0x8421, 0x001F};
  const std::uint32_t bild888[] = {0x00102030, 0xff405060, 0x00000000};
  const struct {
    const void* pBits;
    int nPitch;
    D3DFORMAT Format;
  } faelle[] = {{bild565, 6, D3DFMT_R5G6B5},
                {bild555, 6, D3DFMT_X1R5G5B5},
                {bild565, 6, D3DFMT_R5G6B5},
                {bild888, 12, D3DFMT_X8R8G8B8}};
  for (const auto& f : faelle) {
    const auto rgb = ersatz::Rgb_Aus_Puffer(f.pBits, f.nPitch, 3, 1, f.Format);
    std::vector<std::uint8_t> rgba(12, 0);
    ersatz::Farben_Aus_Puffer(f.pBits, f.nPitch, 3, 1, f.Format, rgba.data(), 4);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ((std::vector<std::uint8_t>(rgba.begin() + 4 * i, rgba.begin() + 4 * i + 3)),
                (std::vector<std::uint8_t>(rgb.begin() + 3 * i, rgb.begin() + 3 * i + 3)))
          << "format " << f.Format << " pixel " << i;
      EXPECT_EQ(rgba[4 * i + 3], 255);
    }
  }
  EXPECT_EQ(ersatz::Rgb_Aus_Puffer(bild555, 6, 3, 1, D3DFMT_X1R5G5B5)[0], 255);
  EXPECT_EQ(ersatz::Rgb_Aus_Puffer(bild565, 6, 3, 1, D3DFMT_R5G6B5)[3], 8);
}

TEST(Praesentation, PngHinUndZurueck) {
  const std::string pfad = testing::TempDir() + "borkwerk_png_test.png";
  std::vector<std::uint8_t> rgb(5 * 3 * 3);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 17);
  ASSERT_TRUE(ersatz::Png_Schreiben(pfad, 5, 3, rgb));
  unsigned w = 0, h = 0;
  std::vector<std::uint8_t> zurueck;
  ASSERT_TRUE(ersatz::Png_Lesen(pfad, w, h, zurueck));
  EXPECT_EQ(w, 5u);
  EXPECT_EQ(h, 3u);
  EXPECT_EQ(zurueck, rgb);
  EXPECT_FALSE(ersatz::Png_Schreiben(pfad, 5, 4, rgb)) << "size does not match the pixels";
  EXPECT_FALSE(ersatz::Png_Schreiben("/nicht/da/x.png", 5, 3, rgb));
  std::remove(pfad.c_str());
}

// A write that fails half way (the disk full; here a file size limit)
// leaves the earlier file of the name whole, and no half-written file.
TEST(Praesentation, MisslungenesSchreibenLaesstDieAlteDatei) {
  const std::string pfad = testing::TempDir() + "borkwerk_voll.png";
  std::vector<std::uint8_t> alt(64 * 64 * 3, 200), neu(256 * 256 * 3);
  for (std::size_t i = 0; i < neu.size(); ++i) neu[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
  ASSERT_TRUE(ersatz::Png_Schreiben(pfad, 64, 64, alt));
  rlimit vorher{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &vorher), 0);
  const auto signal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit eng = vorher;
  eng.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &eng), 0);
  const bool bGeschrieben = ersatz::Png_Schreiben(pfad, 256, 256, neu);
  setrlimit(RLIMIT_FSIZE, &vorher);
  std::signal(SIGXFSZ, signal);
  EXPECT_FALSE(bGeschrieben);
  unsigned w = 0, h = 0;
  std::vector<std::uint8_t> gelesen;
  ASSERT_TRUE(ersatz::Png_Lesen(pfad, w, h, gelesen));
  EXPECT_EQ(gelesen, alt);
  EXPECT_FALSE(std::ifstream(pfad + ".tmp").good());
  std::remove(pfad.c_str());
}

// A long run keeps only the last frames' times, the newest last.
TEST(Praesentation, ZeitenBleibenBegrenzt) {
  ersatz::Uhr_Starten(true, 5000);
  const unsigned nVorher = ersatz::Bildnummer();
  for (std::size_t i = 0; i < 2 * ersatz::nZeitenFenster + 5; ++i) {
    GetTickCount();
    ersatz::Bild_Zaehlen();
  }
  const auto& zeiten = ersatz::Praesentationszeiten();
  ASSERT_EQ(zeiten.size(), ersatz::nZeitenFenster);
  EXPECT_EQ(zeiten.back(), ersatz::Uhr_Stand());
  EXPECT_EQ(zeiten.back() - zeiten.front(), ersatz::nZeitenFenster - 1);
  EXPECT_EQ(ersatz::Bildnummer(), nVorher + 2 * ersatz::nZeitenFenster + 5);
}

TEST(Praesentation, SdlTastenWerdenDirectInputCodes) {
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_ESCAPE), DIK_ESCAPE);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_F1), DIK_F1);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_R), DIK_R);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_S), DIK_S);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_SPACE), DIK_SPACE);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_KP_ENTER), DIK_NUMPADENTER);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_RIGHT), DIK_RIGHT);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_UNKNOWN), -1);
}

}  // namespace
