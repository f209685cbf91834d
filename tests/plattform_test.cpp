// The stand-in's own pieces: runtime random numbers, launcher options,
// clock, window and message pump, frame conversion and PNG files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "plattform/ersatz.h"
#include "plattform/optionen.h"
#include "plattform/png.h"
#include "plattform/praesentation.h"

namespace {

TEST(Laufzeit, RandFolgtDerWindowsLaufzeit) {
  srand(1);
  const int erwartet[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int nWert : erwartet) EXPECT_EQ(rand(), nWert);
  srand(12345);
  const int nErster = rand();
  srand(12345);
  EXPECT_EQ(rand(), nErster);
  for (int i = 0; i < 100000; ++i) {
    const int n = rand();
    ASSERT_GE(n, 0);
    ASSERT_LE(n, 32767);
  }
}

struct Aufruf {
  std::vector<const char*> argumente;
  bool Lesen(ersatz::Einstellungen& e, std::string& fehler) {
    std::vector<const char*> argv = {"borkwerk"};
    argv.insert(argv.end(), argumente.begin(), argumente.end());
    return ersatz::Optionen_Lesen(static_cast<int>(argv.size()), argv.data(), e, fehler);
  }
};

TEST(Optionen, GueltigeOptionenWerdenUebernommen) {
  ersatz::Einstellungen e;
  std::string fehler;
  Aufruf a{{"--headless", "--frames", "7", "--seed", "4294967295", "--capture", "x.png",
            "--capture-dir", "d", "--input", "s.txt", "--fault", "LockRect"}};
  ASSERT_TRUE(a.Lesen(e, fehler)) << fehler;
  EXPECT_TRUE(e.bHeadless);
  EXPECT_FALSE(e.bKeineOptionen);
  EXPECT_EQ(*e.nBilder, 7u);
  EXPECT_EQ(*e.nSaat, 4294967295u);
  EXPECT_EQ(e.capture, "x.png");
  EXPECT_EQ(e.captureOrdner, "d");
  EXPECT_EQ(e.eingabe, "s.txt");
  EXPECT_TRUE(ersatz::Fehler("LockRect"));
  EXPECT_FALSE(ersatz::Fehler("CreateDevice"));
  ersatz::Fehler_Loeschen();
  EXPECT_FALSE(ersatz::Fehler("LockRect"));
}

TEST(Optionen, FalscheEingabenGebenEineZeile) {
  const std::vector<std::vector<const char*>> falsch = {
      {"--frames"},          {"--frames", "0"},  {"--frames", "abc"},
      {"--frames", "-3"},    {"--frames", "5x"}, {"--seed", "4294967296"},
      {"--fault", "Nichts"}, {"--unbekannt"},    {"--windowed", "--headless"},
      {"--capture"}};
  for (const auto& argumente : falsch) {
    ersatz::Einstellungen e;
    std::string fehler;
    Aufruf a{argumente};
    EXPECT_FALSE(a.Lesen(e, fehler)) << argumente[0];
    EXPECT_FALSE(fehler.empty());
    EXPECT_EQ(fehler.find('\n'), std::string::npos);
  }
  ersatz::Fehler_Loeschen();
}

TEST(Optionen, HilfeNenntJedenFehlernamen) {
  const std::string hilfe = ersatz::Optionen_Hilfe();
  for (const auto& name : ersatz::Fehler_Namen()) EXPECT_NE(hilfe.find(name), std::string::npos);
}

TEST(Uhr, VirtuelleUhrLaeuftJeAbfrageUmEineMillisekunde) {
  ersatz::Uhr_Starten(true, 4294967294u);
  EXPECT_EQ(GetTickCount(), 4294967294u);
  EXPECT_EQ(GetTickCount(), 4294967295u);
  EXPECT_EQ(GetTickCount(), 0u);
  EXPECT_EQ(ersatz::Uhr_Stand(), 1u);
  EXPECT_EQ(ersatz::Uhr_Stand(), 1u);
  // A wait of 40 ms across the wrap ends after 40 readings.
  const DWORD nStart = GetTickCount();
  int nLesungen = 0;
  while (static_cast<DWORD>(GetTickCount() - nStart) < 40) ++nLesungen;
  EXPECT_EQ(nLesungen, 39);
}

std::vector<UINT> Nachrichten;

LRESULT CALLBACK TestProzedur(HWND h, UINT n, WPARAM w, LPARAM l) {
  Nachrichten.push_back(n);
  if (n == WM_DESTROY) PostQuitMessage(7);
  return DefWindowProcA(h, n, w, l);
}

WNDCLASSEXA Testklasse(const char* szName) {
  WNDCLASSEXA k = {};
  k.cbSize = sizeof k;
  k.lpfnWndProc = TestProzedur;
  k.lpszClassName = szName;
  return k;
}

TEST(Fenster, KlasseUndFensterWieAufDerPlattform) {
  const WNDCLASSEXA k = Testklasse("KlasseA");
  EXPECT_NE(RegisterClassExA(&k), 0);
  EXPECT_EQ(RegisterClassExA(&k), 0) << "a class is registered once";
  WNDCLASSEXA ohne = Testklasse("KlasseOhne");
  ohne.lpfnWndProc = nullptr;
  EXPECT_EQ(RegisterClassExA(&ohne), 0);
  EXPECT_EQ(CreateWindowExA(0, "Fehlt", "t", WS_POPUP, 0, 0, 4, 3, NULL, NULL, NULL, NULL),
            nullptr);

  Nachrichten.clear();
  HWND h = CreateWindowExA(0, "KlasseA", "t", WS_POPUP, 0, 0, 4, 3, NULL, NULL, NULL, NULL);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Nachrichten, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));

  // Closing goes WM_CLOSE -> DefWindowProcA -> WM_DESTROY, and the quit
  // message comes last, carrying the exit code.
  Nachrichten.clear();
  MSG msg = {};
  EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
  DefWindowProcA(h, WM_CLOSE, 0, 0);
  EXPECT_EQ(Nachrichten, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
  EXPECT_FALSE(DestroyWindow(h)) << "a window is destroyed once";
}

TEST(Fenster, LetztesBildSchliesstDasFensterImPump) {
  const WNDCLASSEXA k = Testklasse("KlasseB");
  ASSERT_NE(RegisterClassExA(&k), 0);
  HWND h = CreateWindowExA(0, "KlasseB", "t", WS_POPUP, 0, 0, 4, 3, NULL, NULL, NULL, NULL);
  ASSERT_NE(h, nullptr);
  auto& e = ersatz::Aktive_Einstellungen();
  e.nBilder = ersatz::Bildnummer() + 2;
  MSG msg = {};
  EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) << "not yet the last frame";
  const std::vector<std::uint16_t> bild(4 * 3, 0);
  ersatz::Praesentieren(bild.data(), 8, 4, 3, D3DFMT_R5G6B5);

  Nachrichten.clear();
  std::vector<UINT> abgeholt;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    abgeholt.push_back(msg.message);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(abgeholt, (std::vector<UINT>{WM_CLOSE, WM_QUIT}));
  EXPECT_EQ(Nachrichten, (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) << "the window is closed once";
  e.nBilder.reset();
}

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

}  // namespace
