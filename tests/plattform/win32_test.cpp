// The Win32 stand-in: runtime random numbers, the clock, the window and
// its message pump, the front-end seam, and the input events' state.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "plattform/plattform.h"
#include "plattform/win32/anzeige.h"
#include "plattform/win32/ereignisse.h"
#include "tests/testhilfe.h"

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
  ersatz::Uhr_Starten(ersatz::Uhrgang::Virtuell, 4294967294u);
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

// A long run keeps only the last frames' times, the newest last.
TEST(Uhr, PraesentationszeitenBleibenBegrenzt) {
  ersatz::Uhr_Starten(ersatz::Uhrgang::Virtuell, 5000);
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
  ersatz::Bild_Zaehlen();

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

// A paced clock stays virtual (the same readings), and once a frame the
// pump waits until real time has caught up with it.
TEST(Uhr, GetakteteUhrWartetImPumpBisDieZeitAufgeholtHat) {
  ersatz::Uhr_Starten(ersatz::Uhrgang::Getaktet, 100);
  EXPECT_EQ(GetTickCount(), 100u);
  ersatz::Uhr_Takten();  // the pacing starts counting here
  for (int i = 0; i < 60; ++i) GetTickCount();
  ersatz::Bild_Zaehlen();
  const auto tVorher = std::chrono::steady_clock::now();
  ersatz::Uhr_Takten();
  ersatz::Uhr_Takten();  // once a frame
  const auto nGewartet = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - tVorher)
                             .count();
  EXPECT_GE(nGewartet, 50) << "60 ms of clock since the pacing began";
  EXPECT_EQ(ersatz::Uhr_Stand(), 161u) << "pacing reads the clock without moving it";
  ersatz::Uhr_Starten(ersatz::Uhrgang::Virtuell, 0);
}

// Focus and screen: every focus loss counts, a loss that takes the screen
// counts for the screen too, and a second loss while away counts for
// neither. Keys outside the scan codes are no keys.
TEST(Ereignisse, FokusBildschirmUndTasten) {
  const unsigned nFokus = ersatz::Fokusverluste(), nBildschirm = ersatz::Bildschirmverluste();
  Fokus(false, false);
  EXPECT_FALSE(ersatz::Fokus());
  EXPECT_TRUE(ersatz::Bildschirm()) << "a window's focus keeps the screen";
  Fokus(false, true);
  EXPECT_FALSE(ersatz::Bildschirm());
  EXPECT_EQ(ersatz::Fokusverluste(), nFokus + 1);
  EXPECT_EQ(ersatz::Bildschirmverluste(), nBildschirm + 1);
  Fokus(true, true);
  EXPECT_TRUE(ersatz::Fokus() && ersatz::Bildschirm());
  Taste(DIK_F1, true);
  Taste(0, true);
  Taste(256, true);
  Taste(-1, true);
  int nUnten = 0;
  for (const auto n : ersatz::Tastatur()) nUnten += n != 0;
  EXPECT_EQ(nUnten, 1);
  EXPECT_EQ(ersatz::Tastatur()[DIK_F1], 0x80);
}

// What the front-end is asked for, in order: the window's opening with its
// title and size, the cursor, an event pump per PeekMessageA, the message
// box; a close the user asked for becomes WM_CLOSE.
class Aufzeichnende_Anzeige final : public ersatz::Anzeige {
 public:
  void Fenster_Oeffnen(const char* szTitel, int nBreite, int nHoehe) override {
    Aufrufe.push_back("oeffnen " + std::string(szTitel) + " " + std::to_string(nBreite) + "x" +
                      std::to_string(nHoehe));
  }
  void Fenster_Schliessen() override { Aufrufe.push_back("schliessen"); }
  bool Ereignisse_Holen() override {
    Aufrufe.push_back("ereignisse");
    Taste(DIK_SPACE, true);
    return bSchliessen;
  }
  void Cursor_Zeigen(bool bSichtbar) override {
    Aufrufe.push_back(bSichtbar ? "cursor an" : "cursor aus");
  }
  void Meldung(const char* szTitel, const char* szText) override {
    Aufrufe.push_back("meldung " + std::string(szTitel) + ": " + szText);
  }
  std::vector<std::string> Aufrufe;
  bool bSchliessen = false;
};

TEST(Fenster, DieAnzeigeZeigtFensterCursorUndMeldungen) {
  Aufzeichnende_Anzeige anzeige;
  ersatz::Anzeige_Waehlen(anzeige);
  const WNDCLASSEXA k = Testklasse("KlasseC");
  ASSERT_NE(RegisterClassExA(&k), 0);
  HWND h = CreateWindowExA(0, "KlasseC", "Titel", WS_POPUP, 0, 0, 40, 30, NULL, NULL, NULL, NULL);
  ASSERT_NE(h, nullptr);
  ShowCursor(FALSE);
  MSG msg = {};
  EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
  EXPECT_EQ(ersatz::Tastatur()[DIK_SPACE], 0x80) << "the front-end's events are input events";
  anzeige.bSchliessen = true;
  ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
  DispatchMessageA(&msg);
  MessageBoxA(NULL, "Text", "Titel", MB_OK);
  EXPECT_EQ(anzeige.Aufrufe,
            (std::vector<std::string>{"oeffnen Titel 40x30", "cursor aus", "ereignisse",
                                      "ereignisse", "schliessen", "meldung Titel: Text"}));
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
  }
}

// The real clock is quiet: a reading that finds the millisecond the reading
// before it found returns only once that millisecond is over, so a 20 ms
// wait takes a few dozen readings, not hundreds of thousands, and sees the
// values in order.
TEST(Uhr, EchteUhrWartetStillAufDieNaechsteMillisekunde) {
  ersatz::Uhr_Starten(ersatz::Uhrgang::Echt, 1000);
  const DWORD nStart = GetTickCount();
  DWORD nZuletzt = nStart;
  int nLesungen = 0;
  while (true) {
    const DWORD n = GetTickCount();
    ++nLesungen;
    ASSERT_GE(n, nZuletzt);
    if (n == nZuletzt && nLesungen > 1) {
      EXPECT_GT(ersatz::Uhr_Stand(), n);
    }
    nZuletzt = n;
    if (n - nStart >= 20) break;
  }
  EXPECT_LT(nLesungen, 100);
  ersatz::Uhr_Starten(ersatz::Uhrgang::Virtuell, 0);
}

}  // namespace
