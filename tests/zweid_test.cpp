// Text renderer and font: glyph shapes, clipping, colour, locking.
#include "zweid/zweid.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/app.h"
#include "tests/testhilfe.h"

namespace {

const WORD nHintergrund = 0x5A5A;  // what the "scene" left; no test colour packs to it
const WORD nGruen = 0x07E0;

// A 16-bit surface over a std::vector with a wider pitch than its width and
// guard words on both sides, counting its locks.
class Testflaeche final : public IDirect3DSurface8 {
 public:
  static const UINT nRand = 64;  // guard words before and after the pixels
  Testflaeche(UINT nB, UINT nH)
      : nBreite(nB), nHoehe(nH), nWorte(nB + 5), Speicher(nRand * 2 + nWorte * nH, nHintergrund) {}
  ~Testflaeche() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++nReferenzen; }
  ULONG STDMETHODCALLTYPE Release() override { return --nReferenzen; }
  HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* pDesc) override {
    if (bBeschreibungVerweigern) return E_FAIL;
    *pDesc = D3DSURFACE_DESC{};
    pDesc->Format = Format;
    pDesc->Width = nBreite;
    pDesc->Height = nHoehe;
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* pGesperrt, const RECT* pRect,
                                     DWORD Flags) override {
    ++nSperren;
    if (pRect || Flags) ++nSperrenMitArgumenten;
    if (bSperreVerweigern || bGesperrt) return D3DERR_INVALIDCALL;
    bGesperrt = true;
    pGesperrt->Pitch = static_cast<INT>(nWorte * 2);
    pGesperrt->pBits = &Speicher[nRand];
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE UnlockRect() override {
    ++nEntsperren;
    if (!bGesperrt) return D3DERR_INVALIDCALL;
    bGesperrt = false;
    return D3D_OK;
  }

  WORD Pixel(int x, int y) const { return Speicher[nRand + y * nWorte + x]; }
  // The region as '#' for pixels that differ from the background, '.' otherwise.
  std::vector<std::string> Bild(int x0, int y0, int nB, int nH) const {
    std::vector<std::string> zeilen(nH, std::string(nB, '.'));
    for (int y = 0; y < nH; ++y)
      for (int x = 0; x < nB; ++x)
        if (Pixel(x0 + x, y0 + y) != nHintergrund) zeilen[y][x] = '#';
    return zeilen;
  }
  // Every word that is not the background, guards and pitch padding included.
  int Geaendert() const {
    int n = 0;
    for (WORD w : Speicher) n += w != nHintergrund;
    return n;
  }
  bool AussenUnberuehrt() const {
    for (UINT i = 0; i < Speicher.size(); ++i) {
      const bool bInnen =
          i >= nRand && i < nRand + nWorte * nHoehe && (i - nRand) % nWorte < nBreite;
      if (!bInnen && Speicher[i] != nHintergrund) return false;
    }
    return true;
  }

  UINT nBreite, nHoehe, nWorte;
  D3DFORMAT Format = D3DFMT_R5G6B5;
  std::vector<WORD> Speicher;
  ULONG nReferenzen = 1;
  int nSperren = 0, nEntsperren = 0, nSperrenMitArgumenten = 0;
  bool bGesperrt = false, bSperreVerweigern = false, bBeschreibungVerweigern = false;
};

struct Tabellenglyphe {
  int nCode;
  int nVorschub;
  const char* szZeilen;  // rows y-8 to y+2, '#' set, '.' untouched
};

const Tabellenglyphe Tabelle[] = {
    // clang-format off
    {0x21,  2, "# # # # # # # . # . ."},
    {0x28,  4, "..# .#. .#. #.. #.. #.. #.. #.. .#. .#. ..#"},
    {0x29,  4, "#.. .#. .#. ..# ..# ..# ..# ..# .#. .#. #.."},
    {0x2A,  6, "..... ..... ..#.. ##### ..#.. .#.#. ..... ..... ..... ..... ....."},
    {0x2B,  6, "..... ..... ..#.. ..#.. ##### ..#.. ..#.. ..... ..... ..... ....."},
    {0x2C,  2, ". . . . . . . . # # ."},
    {0x2D,  4, "... ... ... ... ... ### ... ... ... ... ..."},
    {0x2E,  2, ". . . . . . . . # . ."},
    {0x2F,  4, "..# ..# ..# .#. .#. .#. #.. #.. #.. ... ..."},
    {0x30,  5, ".##. #..# #..# #..# #..# #..# #..# #..# .##. .... ...."},
    {0x31,  4, "..# .## #.# ..# ..# ..# ..# ..# ..# ... ..."},
    {0x32,  6, ".###. #...# ....# ....# ...#. ...#. ..#.. .#... ##### ..... ....."},
    {0x33,  6, ".###. #...# ....# ....# ..##. ....# ....# #...# .###. ..... ....."},
    {0x34,  6, "...#. ..##. ..##. .#.#. .#.#. #..#. ##### ...#. ...#. ..... ....."},
    {0x35,  6, ".#### .#... #.... ####. #...# ....# ....# #...# .###. ..... ....."},
    {0x36,  6, ".###. #...# #.... #.##. ##..# #...# #...# #...# .###. ..... ....."},
    {0x37,  6, "##### ...#. ...#. ..#.. ..#.. ..#.. .#... .#... .#... ..... ....."},
    {0x38,  6, ".###. #...# #...# #...# .###. #...# #...# #...# .###. ..... ....."},
    {0x39,  6, ".###. #...# #...# #...# #..## .##.# ....# #...# .###. ..... ....."},
    {0x3A,  2, ". . . # . . . . # . ."},
    {0x3B,  2, ". . . # . . . . # # ."},
    {0x3C,  6, "..... ..... ...## .##.. #.... .##.. ...## ..... ..... ..... ....."},
    {0x3D,  5, ".... .... .... #### .... .... #### .... .... .... ...."},
    {0x3E,  6, "..... ..... ##... ..##. ....# ..##. ##... ..... ..... ..... ....."},
    {0x3F,  6, ".###. #...# #...# ....# ...#. ..#.. ..#.. ..... ..#.. ..... ....."},
    {0x41,  8, "...#... ..#.#.. ..#.#.. ..#.#.. .#...#. .#####. .#...#. #.....# #.....# ....... ......."},
    {0x42,  6, "####. #...# #...# #...# ####. #...# #...# #...# ####. ..... ....."},
    {0x43,  7, "..##.. .#..#. #....# #..... #..... #..... #....# .#..#. ..##.. ...... ......"},
    {0x44,  7, "####.. #...#. #....# #....# #....# #....# #....# #...#. ####.. ...... ......"},
    {0x45,  6, "##### #.... #.... #.... ##### #.... #.... #.... ##### ..... ....."},
    {0x46,  6, "##### #.... #.... #.... ####. #.... #.... #.... #.... ..... ....."},
    {0x47,  7, "..##.. .#..#. #....# #..... #..### #....# #....# .#..#. ..##.. ...... ......"},
    {0x48,  6, "#...# #...# #...# #...# ##### #...# #...# #...# #...# ..... ....."},
    {0x49,  2, "# # # # # # # # # . ."},
    {0x4A,  6, "....# ....# ....# ....# ....# ....# ....# #...# .###. ..... ....."},
    {0x4B,  7, "#....# #...#. #..#.. #.#... ##.... #.#... #..#.. #...#. #....# ...... ......"},
    {0x4C,  6, "#.... #.... #.... #.... #.... #.... #.... #.... ##### ..... ....."},
    {0x4D,  8, "#.....# ##...## ##...## #.#.#.# #.#.#.# #.#.#.# #.#.#.# #..#..# #..#..# ....... ......."},
    {0x4E,  7, "#....# ##...# ##...# #.#..# #.#..# #..#.# #...## #...## #....# ...... ......"},
    {0x4F,  7, "..##.. .#..#. #....# #....# #....# #....# #....# .#..#. ..##.. ...... ......"},
    {0x50,  6, "####. #...# #...# #...# ####. #.... #.... #.... #.... ..... ....."},
    {0x51,  7, "..##.. .#..#. #....# #....# #....# #....# #..#.# .#..#. ..##.# ...... ......"},
    {0x52,  6, "####. #...# #...# #...# ####. #.#.. #..#. #...# #...# ..... ....."},
    {0x53,  6, ".###. #...# #...# #.... .###. ....# #...# #...# .###. ..... ....."},
    {0x54,  6, "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..... ....."},
    {0x55,  7, "#....# #....# #....# #....# #....# #....# #....# .#..#. ..##.. ...... ......"},
    {0x56,  7, "#....# #....# #....# .#..#. .#..#. .#..#. ..##.. ..##.. ..##.. ...... ......"},
    {0x57, 10, "#.......# #...#...# #...#...# .#..#..#. .#.#.#.#. .#.#.#.#. .#.#.#.#. ..#...#.. ..#...#.. ......... ........."},
    {0x58,  6, "#...# #...# .#.#. .#.#. ..#.. .#.#. .#.#. #...# #...# ..... ....."},
    {0x59,  6, "#...# #...# .#.#. .#.#. ..#.. ..#.. ..#.. ..#.. ..#.. ..... ....."},
    {0x5A,  7, "###### ....#. ...#.. ...#.. ..#... ..#... .#.... .#.... ###### ...... ......"},
    {0x5B,  3, "## #. #. #. #. #. #. #. #. #. ##"},
    {0x5D,  3, "## .# .# .# .# .# .# .# .# .# ##"},
    {0x61,  6, "..... ..... .###. #...# ....# .#### #...# #..## .##.# ..... ....."},
    {0x62,  6, "#.... #.... #.##. ##..# #...# #...# #...# ##..# #.##. ..... ....."},
    {0x63,  5, ".... .... .##. #..# #... #... #... #..# .##. .... ...."},
    {0x64,  6, "....# ....# .##.# #..## #...# #...# #...# #..## .##.# ..... ....."},
    {0x65,  6, "..... ..... .###. #...# #...# ##### #.... #...# .###. ..... ....."},
    {0x66,  5, "..## .#.. ###. .#.. .#.. .#.. .#.. .#.. .#.. .... ...."},
    {0x67,  6, "..... ..... .##.# #..## #...# #...# #...# #..## .##.# ....# ####."},
    {0x68,  6, "#.... #.... #.##. ##..# #...# #...# #...# #...# #...# ..... ....."},
    {0x69,  2, "# . # # # # # # # . ."},
    {0x6A,  3, ".# .. .# .# .# .# .# .# .# #. .."},
    {0x6B,  6, "#.... #.... #...# #..#. #.#.. ###.. #..#. #..#. #...# ..... ....."},
    {0x6C,  3, "#. #. #. #. #. #. #. #. .# .. .."},
    {0x6D, 10, "......... ......... #.##..##. ##..##..# #...#...# #...#...# #...#...# #...#...# #...#...# ......... ........."},
    {0x6E,  6, "..... ..... #.##. ##..# #...# #...# #...# #...# #...# ..... ....."},
    {0x6F,  6, "..... ..... .###. #...# #...# #...# #...# #...# .###. ..... ....."},
    {0x70,  6, "..... ..... #.##. ##..# #...# #...# #...# ##..# #.##. #.... #...."},
    {0x71,  6, "..... ..... .##.# #..## #...# #...# #...# #..## .##.# ....# ....#"},
    {0x72,  4, "... ... #.# ##. #.. #.. #.. #.. #.. ... ..."},
    {0x73,  6, "..... ..... .###. #...# #.... .###. ....# #...# .###. ..... ....."},
    {0x74,  4, ".#. .#. ### .#. .#. .#. .#. .#. .## ... ..."},
    {0x75,  6, "..... ..... #...# #...# #...# #...# #...# #...# .#### ..... ....."},
    {0x76,  6, "..... ..... #...# #...# .#.#. .#.#. .#.#. ..#.. ..#.. ..... ....."},
    {0x77, 10, "......... ......... #...#...# #...#...# .#.#.#.#. .#.#.#.#. .#.#.#.#. ..#...#.. ..#...#.. ......... ........."},
    {0x78,  6, "..... ..... #...# .#.#. .#.#. ..#.. .#.#. .#.#. #...# ..... ....."},
    {0x79,  6, "..... ..... #...# #...# .#.#. .#.#. .#.#. ..#.. ..#.. ..#.. .#..."},
    {0x7A,  6, "..... ..... ##### ...#. ...#. ..#.. .#... .#... ##### ..... ....."},
    // clang-format on
};

std::vector<std::string> Zeilen_Trennen(const std::string& s) {
  std::vector<std::string> zeilen;
  std::size_t i = 0;
  for (std::size_t j; (j = s.find(' ', i)) != std::string::npos; i = j + 1)
    zeilen.push_back(s.substr(i, j - i));
  zeilen.push_back(s.substr(i));
  return zeilen;
}

const Tabellenglyphe& Eintrag(char c) {
  for (const Tabellenglyphe& t : Tabelle)
    if (t.nCode == c) return t;
  throw std::out_of_range("no glyph");
}

int Gesetzte_Pixel(char c) {
  int n = 0;
  for (const char* p = Eintrag(c).szZeilen; *p; ++p) n += *p == '#';
  return n;
}

// Rows y-8..y+2 of the letter I one column wide: the marker for where the pen stands.
bool Ist_I_Spalte(const Testflaeche& f, int x, int y) {
  for (int k = 0; k < 11; ++k)
    if ((f.Pixel(x, y - 8 + k) == nGruen) != (k <= 8)) return false;
  return true;
}

TEST(Zeichensatz, JedeGlypheSetztDiePixelUndDenVorschubDerTabelle) {
  ASSERT_EQ(sizeof(Tabelle) / sizeof(Tabelle[0]), 79u);
  for (const Tabellenglyphe& t : Tabelle) {
    SCOPED_TRACE(static_cast<char>(t.nCode));
    Testflaeche f(40, 30);
    const char szText[] = {static_cast<char>(t.nCode), 'I', 0};
    ASSERT_EQ(M_T(10, 20, 0, 255, 0, &f, szText), 1);
    std::vector<std::string> erwartet = Zeilen_Trennen(t.szZeilen);
    ASSERT_EQ(erwartet.size(), 11u);
    for (int k = 0; k < 11; ++k) erwartet[k] += k <= 8 ? ".#" : "..";
    EXPECT_EQ(f.Bild(10, 12, t.nVorschub + 1, 11), erwartet);
    EXPECT_TRUE(Ist_I_Spalte(f, 10 + t.nVorschub, 20));
    EXPECT_EQ(f.Geaendert(), Gesetzte_Pixel(static_cast<char>(t.nCode)) + 9);  // 9 for the I
  }
}

TEST(Zeichensatz, BytesOhneGlypheSindLeerzeichenVonVierPixeln) {
  std::vector<bool> bGlyphe(256, false);
  for (const Tabellenglyphe& t : Tabelle) bGlyphe[t.nCode] = true;
  for (int nCode = 1; nCode < 256; ++nCode) {
    if (bGlyphe[nCode]) continue;
    SCOPED_TRACE(nCode);
    Testflaeche f(30, 30);
    const char szText[] = {static_cast<char>(nCode), 'I', 0};
    M_T(10, 20, 0, 255, 0, &f, szText);
    EXPECT_TRUE(Ist_I_Spalte(f, 14, 20));
    EXPECT_EQ(f.Geaendert(), 9);
  }
}

TEST(Text, WortlaengenUndLeerzeichen) {
  Testflaeche f(200, 30);
  M_T(10, 10, 0, 255, 0, &f, "SHADINGI");
  EXPECT_TRUE(Ist_I_Spalte(f, 10 + 43, 10));
  M_T(10, 25, 0, 255, 0, &f, "   SHADING : FLATI");
  EXPECT_TRUE(Ist_I_Spalte(f, 10 + 91, 25));

  Testflaeche g(40, 30);
  M_T(10, 20, 0, 255, 0, &g, "a bI");
  EXPECT_EQ(g.Bild(10, 12, 5, 11), Zeilen_Trennen(Eintrag('a').szZeilen));
  EXPECT_EQ(g.Bild(15, 12, 5, 11), std::vector<std::string>(11, "....."));
  EXPECT_EQ(g.Bild(20, 12, 5, 11), Zeilen_Trennen(Eintrag('b').szZeilen));
  EXPECT_TRUE(Ist_I_Spalte(g, 26, 20));
}

TEST(Text, GrundlinieAusserhalbZeichnetNichtsUndSperrtNicht) {
  Testflaeche f(797, 603);
  EXPECT_EQ(M_T(10, 7, 0, 255, 0, &f, "E"), 1);
  EXPECT_EQ(M_T(10, 601, 0, 255, 0, &f, "E"), 1);
  EXPECT_EQ(f.nSperren, 0);
  EXPECT_EQ(f.Geaendert(), 0);

  M_T(0, 8, 0, 255, 0, &f, "E");
  EXPECT_EQ(f.Bild(0, 0, 6, 1)[0], "#####.");
  M_T(100, 600, 0, 255, 0, &f, "g");
  EXPECT_EQ(f.Bild(100, 601, 5, 2), (std::vector<std::string>{"....#", "####."}));
  EXPECT_TRUE(f.AussenUnberuehrt());
}

TEST(Text, StiftLinksUndRechtsDerGrenzen) {
  Testflaeche f(797, 603);
  M_T(-5, 20, 0, 255, 0, &f, "ABI");
  EXPECT_EQ(f.Bild(0, 12, 5, 11), std::vector<std::string>(11, "....."));
  EXPECT_EQ(f.Bild(5, 12, 5, 3), (std::vector<std::string>{"####.", "#...#", "#...#"}));
  EXPECT_TRUE(Ist_I_Spalte(f, 11, 20));

  Testflaeche g(797, 603);
  EXPECT_EQ(M_T(-25, 20, 0, 255, 0, &g, "ABC"), 1);
  EXPECT_EQ(g.Geaendert(), 0);
  EXPECT_EQ(g.nSperren, 1);

  Testflaeche w(797, 603);
  M_T(788, 20, 0, 255, 0, &w, "WW");
  EXPECT_EQ(w.Bild(788, 12, 9, 1)[0], "#.......#");
  EXPECT_EQ(w.Geaendert(), Gesetzte_Pixel('W'));
  EXPECT_TRUE(w.AussenUnberuehrt());
  M_T(789, 40, 0, 255, 0, &w, "!");
  EXPECT_EQ(w.Geaendert(), Gesetzte_Pixel('W'));
}

TEST(Text, FarbeAusDenNiedrigenBits) {
  struct {
    int r, g, b;
    WORD nErwartet;
  } const faelle[] = {{0, 255, 0, 0x07E0}, {0, 64, 0, 0x0000}, {255, 255, 255, 0xFFFF},
                      {31, 0, 0, 0xF800},  {32, 0, 0, 0x0000}, {0, 0, 0x1F1, 0x0011}};
  for (const auto& fall : faelle) {
    Testflaeche f(20, 20);
    M_T(2, 10, fall.r, fall.g, fall.b, &f, "!");
    for (int k = 0; k < 11; ++k) {
      const bool bGesetzt = k <= 6 || k == 8;
      EXPECT_EQ(f.Pixel(2, 2 + k), bGesetzt ? fall.nErwartet : nHintergrund) << fall.r << " " << k;
    }
  }
}

// In a 15-bit surface the same pixels get the same colour, green cut to
// its top five bits; the alpha format's pixels are opaque.
TEST(Text, FuenfzehnBitFormateBekommenDieselbeFarbe) {
  struct {
    D3DFORMAT Format;
    int r, g, b;
    WORD nErwartet;
  } const faelle[] = {{D3DFMT_X1R5G5B5, 0, 255, 0, 0x03E0},
                      {D3DFMT_A1R5G5B5, 0, 255, 0, 0x83E0},
                      {D3DFMT_X1R5G5B5, 255, 255, 255, 0x7FFF},
                      {D3DFMT_X1R5G5B5, 31, 1, 4, 0x7C04}};
  for (const auto& fall : faelle) {
    Testflaeche f(20, 20), g(20, 20);
    f.Format = fall.Format;
    M_T(2, 10, fall.r, fall.g, fall.b, &f, "!");
    M_T(2, 10, fall.r, fall.g, fall.b, &g, "!");
    for (int k = 0; k < 11; ++k) {
      EXPECT_EQ(f.Pixel(2, 2 + k) != nHintergrund, g.Pixel(2, 2 + k) != nHintergrund) << k;
      if (f.Pixel(2, 2 + k) != nHintergrund) {
        EXPECT_EQ(f.Pixel(2, 2 + k), fall.nErwartet);
      }
    }
  }
}

TEST(Text, EineSperreJeText) {
  Testflaeche f(100, 30);
  EXPECT_EQ(M_T(10, 20, 0, 255, 0, &f, ""), 1);
  EXPECT_EQ(f.nSperren, 1);
  EXPECT_EQ(f.nEntsperren, 1);
  EXPECT_EQ(f.Geaendert(), 0);
  EXPECT_EQ(M_T(10, 20, 0, 255, 0, &f, "Zoom Zoom Zoom"), 1);
  EXPECT_EQ(f.nSperren, 2);
  EXPECT_EQ(f.nEntsperren, 2);
  EXPECT_EQ(f.nSperrenMitArgumenten, 0);
  EXPECT_FALSE(f.bGesperrt);
  EXPECT_EQ(f.nReferenzen, 1u);
}

using TextProtokoll = Protokoll_Test;

TEST_F(TextProtokoll, VerweigerteSperreWirdProtokolliert) {
  Testflaeche f(100, 30);
  f.bSperreVerweigern = true;
  int nErgebnis = M_T(10, 20, 0, 255, 0, &f, "R");
  EXPECT_EQ(Protokoll(), "2D Fehler: M_T LockRect() failed\n");
  EXPECT_EQ(nErgebnis, 0);
  EXPECT_EQ(f.nEntsperren, 0);
  EXPECT_EQ(f.Geaendert(), 0);

  Protokoll_Leeren();
  Testflaeche g(100, 30);
  g.bBeschreibungVerweigern = true;
  nErgebnis = M_T(10, 20, 0, 255, 0, &g, "R");
  EXPECT_EQ(Protokoll(), "2D Fehler: M_T GetDesc() failed\n");
  EXPECT_EQ(nErgebnis, 0);
  EXPECT_EQ(g.nSperren, 0);
}

TEST(Text, KleineFlaecheWirdNieUeberschritten) {
  Testflaeche f(640, 400);
  M_T(10, 398, 0, 255, 0, &f, "E");  // cell would end on row 400
  EXPECT_EQ(f.Geaendert(), 0);
  EXPECT_EQ(f.nSperren, 0);
  M_T(10, 397, 0, 255, 0, &f, "g");
  EXPECT_EQ(f.Bild(10, 399, 5, 1)[0], "####.");
  M_T(622, 20, 0, 255, 0, &f, "WWI");  // the second W would reach column 640
  EXPECT_EQ(f.Bild(622, 12, 9, 11), Zeilen_Trennen(Eintrag('W').szZeilen));
  EXPECT_EQ(f.Bild(631, 12, 9, 11), std::vector<std::string>(11, "........."));
  EXPECT_TRUE(f.AussenUnberuehrt());

  std::mt19937 zufall(7);
  Testflaeche klein(90, 25);
  for (int i = 0; i < 3000; ++i) {
    std::string text(zufall() % 12, ' ');
    for (char& c : text) c = static_cast<char>(1 + zufall() % 255);
    const int x = static_cast<int>(zufall() % 150) - 30, y = static_cast<int>(zufall() % 40);
    M_T(x, y, 0, 255, 0, &klein, text.c_str());
  }
  EXPECT_GT(klein.Geaendert(), 0);
  EXPECT_TRUE(klein.AussenUnberuehrt());
}

}  // namespace
