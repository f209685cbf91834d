// The PNG captures' files: written whole, read back the same.
#include "plattform/aufnahme/aufnahme.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/testhilfe.h"

namespace {

TEST(Aufnahme, PngHinUndZurueck) {
  const std::string pfad = testing::TempDir() + "borkwerk_png_test.png";
  std::vector<std::uint8_t> rgb(5 * 3 * 3);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 17);
  ASSERT_EQ(ersatz::Png_Schreiben(pfad, 5, 3, rgb), "");
  unsigned w = 0, h = 0;
  std::vector<std::uint8_t> zurueck;
  ASSERT_TRUE(ersatz::Png_Lesen(pfad, w, h, zurueck));
  EXPECT_EQ(w, 5u);
  EXPECT_EQ(h, 3u);
  EXPECT_EQ(zurueck, rgb);
  EXPECT_NE(ersatz::Png_Schreiben(pfad, 5, 4, rgb), "") << "size does not match the pixels";
  EXPECT_EQ(ersatz::Png_Schreiben("/nicht/da/x.png", 5, 3, rgb), "No such file or directory");
  std::remove(pfad.c_str());
}

// A write that fails half way (the disk full; here a file size limit)
// leaves the earlier file of the name whole, and no half-written file.
TEST(Aufnahme, MisslungenesSchreibenLaesstDieAlteDatei) {
  const std::string pfad = testing::TempDir() + "borkwerk_voll.png";
  std::vector<std::uint8_t> alt(64 * 64 * 3, 200), neu(256 * 256 * 3);
  for (std::size_t i = 0; i < neu.size(); ++i) neu[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
  ASSERT_EQ(ersatz::Png_Schreiben(pfad, 64, 64, alt), "");
  std::string grund;
  {
    Dateigrenze grenze(4096);
    grund = ersatz::Png_Schreiben(pfad, 256, 256, neu);
  }
  EXPECT_EQ(grund, "File too large");
  unsigned w = 0, h = 0;
  std::vector<std::uint8_t> gelesen;
  ASSERT_TRUE(ersatz::Png_Lesen(pfad, w, h, gelesen));
  EXPECT_EQ(gelesen, alt);
  EXPECT_EQ(Entwuerfe(testing::TempDir(), "borkwerk_voll.png"), std::vector<std::string>{});
  std::remove(pfad.c_str());
}

}  // namespace
