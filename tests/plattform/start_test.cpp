// The launcher's options: values taken whole, one line for each bad one,
// and a help text that names every fault.
#include "plattform/start/start.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plattform/fehler/fehler.h"

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

}  // namespace
