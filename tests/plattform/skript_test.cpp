// The input script: its lines, the files it may come from, and its events
// reported frame by frame at the message pump.
#include "plattform/skript/skript.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "plattform/plattform.h"
#include "plattform/win32/ereignisse.h"

namespace {

std::string Datei_Schreiben(const std::string& name, const std::string& inhalt) {
  const std::string pfad = testing::TempDir() + name;
  std::ofstream(pfad) << inhalt;
  return pfad;
}

// Lines are parsed, sorted by frame (in line order within a frame), and
// each frame's events are reported once, when a frame at or after it comes.
TEST(EingabeSkript, MeldetTastenUndMausJeBild) {
  std::string fehler;
  ASSERT_TRUE(ersatz::Eingabe_Skript_Laden(Datei_Schreiben("gut.txt",
                                                           "# Kopf\n"
                                                           "\n"
                                                           "4 UP s   # S los\n"
                                                           "2 down S\n"
                                                           "  3 mouse -10 20 -120\r\n"
                                                           "3 mouse 1 1 0\n"
                                                           "2 down escape\n"),
                                           fehler))
      << fehler;
  const auto& tasten = ersatz::Tastatur();
  const auto weg = ersatz::Mausweg();
  ersatz::Skript_Abspielen(1);
  EXPECT_EQ(tasten[DIK_S] | tasten[DIK_ESCAPE], 0);
  ersatz::Skript_Abspielen(2);
  EXPECT_EQ(tasten[DIK_S] & tasten[DIK_ESCAPE], 0x80);
  EXPECT_EQ(ersatz::Mausweg(), weg);
  ersatz::Skript_Abspielen(3);
  ersatz::Skript_Abspielen(3);  // once only
  EXPECT_EQ(ersatz::Mausweg()[0] - weg[0], -9);
  EXPECT_EQ(ersatz::Mausweg()[1] - weg[1], 21);
  EXPECT_EQ(ersatz::Mausweg()[2] - weg[2], -120);
  ersatz::Skript_Abspielen(10);  // frames no pump saw still take effect
  EXPECT_EQ(tasten[DIK_S], 0);
  EXPECT_EQ(tasten[DIK_ESCAPE], 0x80);
}

// A script's focus is the screen's: another program takes the whole screen.
TEST(EingabeSkript, FokusNimmtDenBildschirmMit) {
  std::string fehler;
  ASSERT_TRUE(ersatz::Eingabe_Skript_Lesen("1 focus out\n2 focus in\n", "f", fehler)) << fehler;
  const unsigned nVorher = ersatz::Bildschirmverluste();
  ersatz::Skript_Abspielen(1);
  EXPECT_FALSE(ersatz::Fokus());
  EXPECT_FALSE(ersatz::Bildschirm());
  EXPECT_EQ(ersatz::Bildschirmverluste(), nVorher + 1);
  ersatz::Skript_Abspielen(2);
  EXPECT_TRUE(ersatz::Fokus());
  EXPECT_TRUE(ersatz::Bildschirm());
}

// The message pump drains the script with its frame's number, so a script
// drives whichever front-end runs.
LRESULT CALLBACK Prozedur(HWND h, UINT n, WPARAM w, LPARAM l) { return DefWindowProcA(h, n, w, l); }

TEST(EingabeSkript, DiePumpeSpieltDieEreignisseIhresBildes) {
  WNDCLASSEXA k = {};
  k.cbSize = sizeof k;
  k.lpfnWndProc = Prozedur;
  k.lpszClassName = "SkriptKlasse";
  ASSERT_NE(RegisterClassExA(&k), 0);
  HWND h = CreateWindowExA(0, "SkriptKlasse", "t", WS_POPUP, 0, 0, 4, 3, NULL, NULL, NULL, NULL);
  ASSERT_NE(h, nullptr);
  const unsigned n = ersatz::Bildnummer();
  std::string fehler;
  ASSERT_TRUE(ersatz::Eingabe_Skript_Lesen(
      std::to_string(n) + " down R\n" + std::to_string(n + 1) + " down F1\n", "s", fehler))
      << fehler;
  ersatz::Ereignisquelle_Setzen(ersatz::Skript_Abspielen);
  MSG msg = {};
  PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);
  EXPECT_EQ(ersatz::Tastatur()[DIK_R], 0x80);
  EXPECT_EQ(ersatz::Tastatur()[DIK_F1], 0) << "the next frame's event waits for its pump";
  ersatz::Bild_Zaehlen();
  PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);
  EXPECT_EQ(ersatz::Tastatur()[DIK_F1], 0x80);
  DestroyWindow(h);
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
  }
}

TEST(EingabeSkript, BadLinesNameFileLineAndFault) {
  const std::pair<std::string, const char*> Faelle[] = {
      {"1 down NOSUCHKEY", "unknown key 'NOSUCHKEY'"},
      {"1 down", "missing key"},
      {"1 mouse 1 2", "three numbers"},
      {"1 mouse 1 x 2", "'x' is not a number"},
      {"1 mouse 1 2 99999999999", "'99999999999' is not a number"},
      {"1 up R now", "unexpected 'now'"},
      {"-1 up R", "frame '-1'"},
      {"x up R", "frame 'x'"},
      {"+3 up R", "frame '+3'"},
      {"1 down \xC3\xA4", "unknown key '\xC3\xA4'"},
      {"1 down \xE2\x80\xAEX", "unknown key '\\xE2\\x80\\xAEX'"},
      {"1 down R\x01", "control character 0x01"},
      {std::string("1 down R\0", 9), "control character 0x00"},
      {"5", "missing event"},
      {"5 press R", "unknown event 'press'"},
  };
  for (const auto& [szZeile, szWas] : Faelle) {
    const std::string pfad =
        Datei_Schreiben("schlecht.txt", std::string("0 down R\n# ok\n") + szZeile + "\n");
    std::string fehler;
    EXPECT_FALSE(ersatz::Eingabe_Skript_Laden(pfad, fehler)) << szZeile;
    EXPECT_EQ(fehler.rfind(pfad + ":3: ", 0), 0u) << fehler;
    EXPECT_NE(fehler.find(szWas), std::string::npos) << fehler;
    EXPECT_EQ(fehler.find('\n'), std::string::npos);
    for (const unsigned char c : fehler)
      EXPECT_TRUE(c >= 0x20 && c != 0x7F) << "raw control byte in " << fehler;
  }
  std::string fehler;
  EXPECT_FALSE(ersatz::Eingabe_Skript_Laden(testing::TempDir() + "fehlt/nicht.txt", fehler));
  EXPECT_NE(fehler.find("fehlt/nicht.txt"), std::string::npos);
}

// Only a small plain text file is a script: a directory, a device (which
// would never end) or a pipe (which could block for ever) is refused before
// it is read, and so are a file over 4 MiB and a byte-order mark.
TEST(EingabeSkript, NurEineKleineTextdatei) {
  std::string fehler;
  EXPECT_FALSE(ersatz::Eingabe_Skript_Laden(testing::TempDir(), fehler));
  EXPECT_NE(fehler.find("not a regular file"), std::string::npos) << fehler;
  EXPECT_FALSE(ersatz::Eingabe_Skript_Laden("/dev/zero", fehler));
  EXPECT_NE(fehler.find("not a regular file"), std::string::npos) << fehler;
  const std::string fifo = testing::TempDir() + "borkwerk_fifo";
  std::remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ersatz::Eingabe_Skript_Laden(fifo, fehler)) << "must not block on the pipe";
  std::remove(fifo.c_str());
  EXPECT_FALSE(ersatz::Eingabe_Skript_Laden(
      Datei_Schreiben("gross.txt", std::string(4 * 1024 * 1024 + 1, '#')), fehler));
  EXPECT_NE(fehler.find("larger than 4 MiB"), std::string::npos) << fehler;
  EXPECT_FALSE(ersatz::Eingabe_Skript_Laden(Datei_Schreiben("bom.txt",
                                                            "\xEF\xBB\xBF"
                                                            "0 down R\n"),
                                            fehler));
  EXPECT_NE(fehler.find(":1: starts with a UTF-8 byte-order mark"), std::string::npos) << fehler;
  EXPECT_TRUE(ersatz::Eingabe_Skript_Laden(
      Datei_Schreiben("genau.txt", "0 down R\r\n" + std::string(4 * 1024 * 1024 - 11, '#')),
      fehler))
      << fehler;
}

}  // namespace
