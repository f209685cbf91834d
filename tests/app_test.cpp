// The shell end to end in one process: start-up order, the frame loop's
// pacing on the virtual clock, shut-down and the exit code.
#include "app/app.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "baum/baum.h"
#include "grafik/grafik.h"

namespace {

std::vector<std::string> Zeilen(const std::string& pfad) {
  std::ifstream datei(pfad);
  std::vector<std::string> zeilen;
  for (std::string zeile; std::getline(datei, zeile);) zeilen.push_back(zeile);
  return zeilen;
}

TEST(Hauptschleife, KurzerLaufAufDerVirtuellenUhr) {
  const auto ordner = std::filesystem::path(testing::TempDir()) / "borkwerk_app_test";
  std::filesystem::remove_all(ordner);
  std::filesystem::create_directories(ordner);
  ASSERT_EQ(chdir(ordner.c_str()), 0);
  ersatz::Fenster_Schliessen_Nach(6);
  // The clock wraps during the run; the frames must not get longer.
  ersatz::Uhr_Starten(ersatz::Uhrgang::Virtuell, 0xFFFFFF00u);

  EXPECT_EQ(WinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, nullptr, 1), 0);

  const auto& zeiten = ersatz::Praesentationszeiten();
  ASSERT_EQ(zeiten.size(), 6u);
  for (std::size_t i = 1; i < zeiten.size(); ++i) {
    const std::uint32_t nDauer = zeiten[i] - zeiten[i - 1];
    EXPECT_GE(nDauer, 40u) << "frame " << i;
    EXPECT_LT(nDauer, 60u) << "frame " << i;
  }
  EXPECT_EQ(bEnde, 1);
  EXPECT_EQ(pBaum, nullptr) << "the tree is destroyed at shut-down";
  EXPECT_EQ(pProtokoll, nullptr) << "the log is closed";
  EXPECT_EQ(pDevice, nullptr) << "the device is released";

  const auto zeilen = Zeilen((ordner / "Protokoll.txt").string());
  ASSERT_GE(zeilen.size(), 6u);
  EXPECT_EQ(zeilen[0], "Farnkolonie09.");
  EXPECT_EQ(zeilen[1], "Window Registriert.");
  EXPECT_EQ(zeilen[2], "D3D_Init: Starte Initialisierung ");
  EXPECT_EQ(zeilen[zeilen.size() - 2], "=========== SPIEL  ENDE =========== ");
  EXPECT_EQ(zeilen.back(), " ");
  int nHauptschleife = 0;
  for (const auto& zeile : zeilen)
    nHauptschleife += zeile == "=========== HAUPTSCHLEIFE =========== ";
  EXPECT_EQ(nHauptschleife, 1);
}

TEST(Hauptschleife, FensterprozedurBeendetNurBeiDestroy) {
  bEnde = 0;
  EXPECT_EQ(WndProc(nullptr, WM_DESTROY, 0, 0), 1);
  EXPECT_EQ(bEnde, 1);
  MSG msg = {};
  ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 0u);
  bEnde = 0;
  WndProc(nullptr, WM_KEYDOWN, 0, 0);
  EXPECT_EQ(bEnde, 0);
}

}  // namespace
