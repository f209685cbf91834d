// The Win32 stand-in: runtime random numbers, the clock, the window and
// its message pump.
#include <gtest/gtest.h>

#include <vector>

#include "plattform/anzeige/anzeige.h"
#include "plattform/plattform.h"

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
  ersatz::Fenster_Schliessen_Nach(ersatz::Bildnummer() + 2);
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
  ersatz::Fenster_Schliessen_Nach(0);
}

}  // namespace
