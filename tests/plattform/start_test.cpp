// The launcher's options: values taken whole, one line for each bad one,
// and a help text that names every fault; and one run as Starten makes it
// with what a platform brings.
#include "plattform/start/start.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/app.h"
#include "plattform/dinput/dinput.h"
#include "plattform/fehler/fehler.h"
#include "plattform/headless/headless.h"
#include "plattform/win32/ereignisse.h"

namespace {

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
            "--capture-dir", "d", "--input", "s.txt", "--fault", "LockRect", "--export-origin",
            "program"}};
  ASSERT_TRUE(a.Lesen(e, fehler)) << fehler;
  EXPECT_TRUE(e.bHeadless);
  EXPECT_FALSE(e.bKeineOptionen);
  EXPECT_EQ(*e.nBilder, 7u);
  EXPECT_EQ(*e.nSaat, 4294967295u);
  EXPECT_EQ(e.capture, "x.png");
  EXPECT_EQ(e.captureOrdner, "d");
  EXPECT_EQ(e.eingabe, "s.txt");
  EXPECT_EQ(e.fehler, std::vector<std::string>{"LockRect"});
  EXPECT_EQ(e.bExportProgramm, true);
  EXPECT_FALSE(ersatz::Fehler("LockRect")) << "reading applies nothing; the launcher does";
  ersatz::Einstellungen basis;
  ASSERT_TRUE((Aufruf{{"--export-origin", "base"}}.Lesen(basis, fehler))) << fehler;
  EXPECT_EQ(basis.bExportProgramm, false);
}

TEST(Optionen, FalscheEingabenGebenEineZeile) {
  const std::vector<std::vector<const char*>> falsch = {
      {"--frames"},
      {"--frames", "0"},
      {"--frames", "abc"},
      {"--frames", "-3"},
      {"--frames", "5x"},
      {"--seed", "4294967296"},
      {"--fault", "Nichts"},
      {"--unbekannt"},
      {"--windowed", "--headless"},
      {"--capture"},
      {"--export-origin", "Base"},
      {"--export-origin"},
      {"--export-origin", "base", "--export-origin", "program"}};
  for (const auto& argumente : falsch) {
    ersatz::Einstellungen e;
    std::string fehler;
    Aufruf a{argumente};
    EXPECT_FALSE(a.Lesen(e, fehler)) << argumente[0];
    EXPECT_FALSE(fehler.empty());
    EXPECT_EQ(fehler.find('\n'), std::string::npos);
  }
}

TEST(Optionen, HilfeNenntJedenFehlernamen) {
  const std::string hilfe = ersatz::Optionen_Hilfe();
  for (const auto& name : ersatz::Fehler_Namen()) EXPECT_NE(hilfe.find(name), std::string::npos);
}

// A platform that records what Starten asks of it, in order.
std::vector<std::string> Schritte;
bool bEinrichtenGut = true;

ersatz::Plattform Testplattform() {
  return {[](ersatz::Einstellungen& e, std::string& meldung) {
            Schritte.push_back("einrichten " + std::to_string(e.nBilder.value_or(0)) +
                               (e.nSaat ? " seed " + std::to_string(*e.nSaat) : ""));
            if (!bEinrichtenGut) meldung = "nicht hier";
            return bEinrichtenGut;
          },
          [](ersatz::Einstellungen&, ersatz::Uhrgang& gang) -> ersatz::Anzeige& {
            Schritte.push_back("vorne");
            gang = ersatz::Uhrgang::Virtuell;
            return ersatz::Headless_Anzeige();
          },
          [] { Schritte.push_back("vorne beenden"); },
          [](const ersatz::Einstellungen&, int& nErgebnis) {
            Schritte.push_back("abschliessen " + std::to_string(nErgebnis));
            nErgebnis = 1;
          },
          [](const std::string& text) { Schritte.push_back("hinweis " + text); }};
}

// A run: the faults and the script apply, the platform sets up, chooses the
// front-end and finishes, the window closes after the frames, and an
// output's failure is the exit code. A script that cannot be read or a
// platform that refuses stops it before anything runs.
TEST(Starten, EinLaufMitDerPlattform) {
  const auto ordner = std::filesystem::path(testing::TempDir()) / "borkwerk_start_test";
  std::filesystem::remove_all(ordner);
  std::filesystem::create_directories(ordner);
  const auto vorher = std::filesystem::current_path();
  std::filesystem::current_path(ordner);
  std::ofstream("s.txt") << "1 down F1\n";
  ersatz::Einstellungen e;
  e.nBilder = 4;
  e.nSaat = 7;
  e.eingabe = "s.txt";
  e.fehler = {"GetDeviceState.Mouse.Generic"};
  Schritte.clear();
  bEnde = 0;  // a run before this one in the process ended
  std::string meldung;
  const unsigned nBild = ersatz::Bildnummer();
  EXPECT_EQ(ersatz::Starten(e, Testplattform(), meldung), 1);
  EXPECT_EQ(meldung, "");
  EXPECT_EQ(Schritte, (std::vector<std::string>{"einrichten 4 seed 7", "vorne", "vorne beenden",
                                                "abschliessen 0"}));
  EXPECT_EQ(ersatz::Bildnummer(), nBild + 4);
  EXPECT_TRUE(ersatz::Fehler("GetDeviceState.Mouse.Generic"));
  EXPECT_EQ(ersatz::Tastatur()[DIK_F1], 0x80) << "the script played at the pump";
  std::string protokoll((std::istreambuf_iterator<char>(std::ifstream("Protokoll.txt").rdbuf())),
                        {});
  EXPECT_NE(protokoll.find("ERROR : MausAbfrage fehlgeschlagen."), std::string::npos);

  Schritte.clear();
  e.eingabe = "fehlt.txt";
  EXPECT_EQ(ersatz::Starten(e, Testplattform(), meldung), 2);
  EXPECT_NE(meldung.find("fehlt.txt"), std::string::npos) << meldung;
  e.eingabe.clear();
  bEinrichtenGut = false;
  EXPECT_EQ(ersatz::Starten(e, Testplattform(), meldung), 2);
  EXPECT_EQ(meldung, "nicht hier");
  bEinrichtenGut = true;
  EXPECT_EQ(Schritte, std::vector<std::string>{"einrichten 4 seed 7"});
  std::filesystem::current_path(vorher);
  std::filesystem::remove_all(ordner);
}

// Headless, nobody can close the window: without --frames the run ends
// after one full growth and says so. Without --seed, the platform is told
// the clock's start, the time of day, so the exports can name it.
TEST(Starten, OhneFensterUndBilderEinWachstum) {
  const auto ordner = std::filesystem::path(testing::TempDir()) / "borkwerk_start_wachstum";
  std::filesystem::create_directories(ordner);
  const auto vorher = std::filesystem::current_path();
  std::filesystem::current_path(ordner);
  ersatz::Einstellungen e;
  Schritte.clear();
  bEnde = 0;  // a run before this one in the process ended
  std::string meldung;
  const unsigned nBild = ersatz::Bildnummer();
  const std::uint32_t nVorher = ersatz::Startzeit(e);
  EXPECT_EQ(ersatz::Starten(e, Testplattform(), meldung), 1);
  EXPECT_EQ(ersatz::Bildnummer(), nBild + ersatz::nBilderOhneFenster);
  ASSERT_EQ(Schritte.size(), 5u);
  const std::string soll = "einrichten 0 seed ";
  ASSERT_EQ(Schritte[0].rfind(soll, 0), 0u) << Schritte[0];
  EXPECT_LE(std::stoul(Schritte[0].substr(soll.size())) - nVorher, 60'000u) << Schritte[0];
  EXPECT_EQ(Schritte[2], "hinweis headless without --frames: one full growth, 150 frames");
  std::filesystem::current_path(vorher);
  std::filesystem::remove_all(ordner);
}

// Outputs are compared as the files they name: through links, "..", and
// a second name of the same file.
TEST(Starten, AusgabenAlsDateienVerglichen) {
  const auto ordner = std::filesystem::path(testing::TempDir()) / "borkwerk_ausgaben";
  std::filesystem::remove_all(ordner);
  std::filesystem::create_directories(ordner / "unter");
  const auto vorher = std::filesystem::current_path();
  std::filesystem::current_path(ordner);
  std::ofstream("Protokoll.txt") << "alt";
  std::filesystem::create_symlink("Protokoll.txt", "log.png");
  std::filesystem::create_hard_link("Protokoll.txt", "unter/zweiter.png");
  ersatz::Einstellungen e;
  std::string meldung;
  for (const char* szName : {"log.png", "unter/zweiter.png", "unter/../Protokoll.txt"}) {
    e.capture = szName;
    EXPECT_FALSE(ersatz::Ausgaben_Pruefen(e, meldung)) << szName;
    EXPECT_EQ(meldung, "--capture " + std::string(szName) + " would overwrite the program's log");
  }
  e.capture = "unter/bild.png";
  e.export_ = "unter/../unter/bild.png";
  EXPECT_FALSE(ersatz::Ausgaben_Pruefen(e, meldung));
  EXPECT_EQ(meldung, "--capture and --export name the same file, unter/bild.png");
  e.export_ = "unter/baum.glb";
  EXPECT_TRUE(ersatz::Ausgaben_Pruefen(e, meldung)) << meldung;
  const std::vector<ersatz::Datei_Angabe> material = {
      {"the material file of --export", "unter/../unter/bild.png"}};
  EXPECT_FALSE(ersatz::Ausgaben_Pruefen(e, meldung, material));
  EXPECT_EQ(meldung,
            "--capture and the material file of --export name the same file, unter/bild.png");
  std::filesystem::current_path(vorher);
  std::filesystem::remove_all(ordner);
}

}  // namespace
