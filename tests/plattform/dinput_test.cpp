// The DirectInput stand-in's own rules, as the platform has them: creation,
// data formats, cooperation and acquire, focus loss, key names and the
// input script.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "plattform/fehler/fehler.h"
#include "plattform/plattform.h"

namespace {

constexpr unsigned kAndereHatVorrang = 2147942405u;  // DIERR_OTHERAPPHASPRIO

std::string Datei_Schreiben(const std::string& name, const std::string& inhalt) {
  const std::string pfad = testing::TempDir() + name;
  std::ofstream(pfad) << inhalt;
  return pfad;
}

class DirectInputErsatz : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, (LPVOID*)&pDI,
                                 nullptr),
              DI_OK);
  }
  LPDIRECTINPUTDEVICE8 Geraet(const GUID& art, LPCDIDATAFORMAT pFormat, DWORD dwKoop) {
    LPDIRECTINPUTDEVICE8 p = nullptr;
    EXPECT_EQ(pDI->CreateDevice(art, &p, nullptr), DI_OK);
    EXPECT_EQ(p->SetDataFormat(pFormat), DI_OK);
    EXPECT_EQ(p->SetCooperativeLevel(hWnd, dwKoop), DI_OK);
    return p;
  }
  void TearDown() override {
    for (auto* p : {pTastatur, pMaus}) {
      if (!p) continue;
      p->Unacquire();
      p->Release();
    }
    if (pDI) pDI->Release();
    ersatz::Fehler_Loeschen();
    ersatz::Eingabe_Fokus(true);
    for (int i = 0; i < 256; ++i) ersatz::Taste_Setzen(i, false);
    std::string fehler;
    ersatz::Eingabe_Skript_Laden(Datei_Schreiben("leer.txt", ""), fehler);
  }

  const HWND hWnd = reinterpret_cast<HWND>(0x100);
  LPDIRECTINPUT8 pDI = nullptr;
  LPDIRECTINPUTDEVICE8 pTastatur = nullptr;
  LPDIRECTINPUTDEVICE8 pMaus = nullptr;
};

TEST_F(DirectInputErsatz, CreationChecksVersionInterfaceAndDevice) {
  LPVOID p = nullptr;
  EXPECT_EQ(DirectInput8Create(nullptr, 0x0700, IID_IDirectInput8A, &p, nullptr),
            DIERR_OLDDIRECTINPUTVERSION);
  EXPECT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, GUID_SysMouse, &p, nullptr),
            DIERR_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  LPDIRECTINPUTDEVICE8 pGeraet = nullptr;
  EXPECT_EQ(pDI->CreateDevice(IID_IDirectInput8A, &pGeraet, nullptr), DIERR_DEVICENOTREG);
  EXPECT_EQ(pGeraet, nullptr);
  EXPECT_EQ(pDI->QueryInterface(IID_IDirectInputDevice8A, &p), E_NOINTERFACE);
  ASSERT_EQ(pDI->QueryInterface(IID_IDirectInput8A, &p), S_OK);
  EXPECT_EQ(p, pDI);
  EXPECT_EQ(pDI->Release(), 1u);  // the reference QueryInterface added
}

TEST_F(DirectInputErsatz, FormatAndSizeMustMatchTheDevice) {
  ASSERT_EQ(pDI->CreateDevice(GUID_SysKeyboard, &pTastatur, nullptr), DI_OK);
  EXPECT_EQ(pTastatur->SetDataFormat(&c_dfDIMouse), DIERR_INVALIDPARAM);
  EXPECT_EQ(pTastatur->Acquire(), DIERR_INVALIDPARAM);  // no format yet
  EXPECT_EQ(pTastatur->SetDataFormat(&c_dfDIKeyboard), DI_OK);
  EXPECT_EQ(pTastatur->SetCooperativeLevel(hWnd, DISCL_FOREGROUND), DIERR_INVALIDPARAM);
  EXPECT_EQ(pTastatur->Acquire(), DI_OK);
  EXPECT_EQ(pTastatur->Acquire(), DI_NOEFFECT);
  EXPECT_EQ(pTastatur->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
  BYTE Puffer[256];
  EXPECT_EQ(pTastatur->GetDeviceState(255, Puffer), DIERR_INVALIDPARAM);
  EXPECT_EQ(pTastatur->GetDeviceState(256, Puffer), DI_OK);
}

TEST_F(DirectInputErsatz, ForegroundDeviceIsLostOnceThenNotAcquired) {
  pMaus = Geraet(GUID_SysMouse, &c_dfDIMouse, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
  pTastatur = Geraet(GUID_SysKeyboard, &c_dfDIKeyboard, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  ASSERT_EQ(pMaus->Acquire(), DI_OK);
  ASSERT_EQ(pTastatur->Acquire(), DI_OK);
  ersatz::Eingabe_Fokus(false);
  DIMOUSESTATE Stand;
  BYTE Tasten[256];
  EXPECT_EQ(pTastatur->GetDeviceState(256, Tasten), DI_OK);  // background keeps its input
  EXPECT_EQ(pMaus->GetDeviceState(sizeof Stand, &Stand), DIERR_INPUTLOST);
  EXPECT_EQ(pMaus->GetDeviceState(sizeof Stand, &Stand), DIERR_NOTACQUIRED);
  EXPECT_EQ(static_cast<unsigned>(pMaus->Acquire()), kAndereHatVorrang);
  ersatz::Eingabe_Fokus(true);
  EXPECT_EQ(pMaus->Acquire(), DI_OK);
  EXPECT_EQ(pMaus->GetDeviceState(sizeof Stand, &Stand), DI_OK);
}

TEST(EingabeTasten, NamesAndCodesMatchThePlatformHeader) {
  std::ifstream kopf("/usr/share/mingw-w64/include/dinput.h");
  if (!kopf) GTEST_SKIP() << "mingw-w64 dinput.h not installed";
  std::stringstream text;
  text << kopf.rdbuf();
  const std::string inhalt = text.str();
  const std::regex zeile(R"(#define DIK_(\w+)\s+0x([0-9A-Fa-f]{2})\b)");
  int nGeprueft = 0;
  for (std::sregex_iterator i(inhalt.begin(), inhalt.end(), zeile), ende; i != ende; ++i) {
    EXPECT_EQ(ersatz::Dik_Aus_Name((*i)[1]), std::stoi((*i)[2], nullptr, 16)) << (*i)[1];
    ++nGeprueft;
  }
  EXPECT_GT(nGeprueft, 140);
  EXPECT_EQ(ersatz::Dik_Aus_Name("pgdn"), DIK_NEXT);
  EXPECT_EQ(ersatz::Dik_Aus_Name("DIK_ESCAPE"), -1);
}

// Script: lines are parsed, then fed by frame as the reads ask for them.
TEST_F(DirectInputErsatz, ScriptFeedsKeysAndMouseByFrame) {
  pTastatur = Geraet(GUID_SysKeyboard, &c_dfDIKeyboard, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
  pMaus = Geraet(GUID_SysMouse, &c_dfDIMouse, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
  ASSERT_EQ(pTastatur->Acquire(), DI_OK);
  ASSERT_EQ(pMaus->Acquire(), DI_OK);
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
  BYTE Tasten[256];
  DIMOUSESTATE Stand;
  const auto Lesen = [&](unsigned nBild) {
    ersatz::Skript_Abspielen(nBild);
    EXPECT_EQ(pTastatur->GetDeviceState(256, Tasten), DI_OK);
    EXPECT_EQ(pMaus->GetDeviceState(sizeof Stand, &Stand), DI_OK);
  };
  Lesen(1);
  EXPECT_EQ(Tasten[DIK_S] | Tasten[DIK_ESCAPE], 0);
  Lesen(2);
  EXPECT_EQ(Tasten[DIK_S] & Tasten[DIK_ESCAPE], 0x80);
  EXPECT_EQ(Stand.lX, 0);
  Lesen(3);
  EXPECT_EQ(Stand.lX, -9);
  EXPECT_EQ(Stand.lY, 21);
  EXPECT_EQ(Stand.lZ, -120);
  Lesen(10);  // frames that no read saw still take effect
  EXPECT_EQ(Tasten[DIK_S], 0);
  EXPECT_EQ(Tasten[DIK_ESCAPE], 0x80);
  EXPECT_EQ(Stand.lX, 0);
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
      {"1 down \xC3\xA4", "unknown key '\\xC3\\xA4'"},
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
      EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "raw byte in " << fehler;
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
