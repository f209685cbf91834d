// Keyboard and mouse: set-up, per-frame poll and release on the DirectInput
// stand-in, the stand-in's acquire rules, and the input script.
#include "eingabe/eingabe.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "app/app.h"
#include "plattform/dinput_intern.h"
#include "plattform/ersatz.h"

namespace {

constexpr unsigned kVerloren = 2147942430u;          // DIERR_INPUTLOST
constexpr unsigned kNichtErworben = 2147942412u;     // DIERR_NOTACQUIRED
constexpr unsigned kAndereHatVorrang = 2147942405u;  // DIERR_OTHERAPPHASPRIO

std::string Datei_Schreiben(const std::string& name, const std::string& inhalt) {
  const std::string pfad = testing::TempDir() + name;
  std::ofstream(pfad) << inhalt;
  return pfad;
}

class Eingabe : public testing::Test {
 protected:
  void SetUp() override {
    pProtokoll = std::tmpfile();
    hWnd = reinterpret_cast<HWND>(0x100);
    bEsc = bNeuWachsen = bFlach = bSGedrueckt = bHilfe = 0;
    MausDX = MausDY = MausDZ = 0;
    bOhneGeraetGemeldet = 0;
  }
  void TearDown() override {
    DI_Freigeben();
    std::fclose(pProtokoll);
    pProtokoll = nullptr;
    hWnd = nullptr;
    ersatz::Fehler_Loeschen();
    ersatz::Eingabe_Fokus(true);
    for (int i = 0; i < 256; ++i) ersatz::Taste_Setzen(i, false);
    std::string fehler;
    ersatz::Eingabe_Skript_Laden(Datei_Schreiben("leer.txt", ""), fehler);
  }

  static std::string Protokoll() {
    std::fflush(pProtokoll);
    std::rewind(pProtokoll);
    std::string text;
    for (int c; (c = std::fgetc(pProtokoll)) != EOF;) text += static_cast<char>(c);
    return text;
  }
  static void Protokoll_Leeren() {
    std::fclose(pProtokoll);
    pProtokoll = std::tmpfile();
  }
  static void Taste(SDL_Scancode nTaste, bool bUnten) { ersatz::Eingabe_Taste(nTaste, bUnten); }
  static void Erzeugt() {
    ASSERT_EQ(DI_Erzeugen(nullptr), 1);
    Protokoll_Leeren();
  }
};

TEST_F(Eingabe, SetUpAcquiresBothDevicesAndLogsEach) {
  EXPECT_EQ(DI_Erzeugen(nullptr), 1);
  EXPECT_EQ(Protokoll(), "Tastatur online.\nMaus online.\n");
  EXPECT_EQ(ersatz::Geraete_Anzahl(), 2u);
  EXPECT_EQ(bEsc | bNeuWachsen | bFlach | bHilfe | MausDX | MausDY | MausDZ, 0);
}

struct Einrichtungsfehler {
  const char* szFehler;
  const char* szMeldung;  // message box text, "" for none
  const char* szProtokoll;
  bool bDI, bTastatur, bMaus;  // which objects exist afterwards
};

void PrintTo(const Einrichtungsfehler& f, std::ostream* os) { *os << f.szFehler; }

class EingabeEinrichtung : public Eingabe,
                           public testing::WithParamInterface<Einrichtungsfehler> {};

TEST_P(EingabeEinrichtung, FailedStepReportsAndStops) {
  const Einrichtungsfehler& f = GetParam();
  ASSERT_TRUE(ersatz::Fehler_Setzen(f.szFehler));
  testing::internal::CaptureStderr();
  EXPECT_EQ(DI_Erzeugen(nullptr), 0);
  const std::string meldung = testing::internal::GetCapturedStderr();
  EXPECT_EQ(meldung, *f.szMeldung ? std::string("XXX: ") + f.szMeldung + "\n" : "");
  EXPECT_EQ(Protokoll(), f.szProtokoll);
  EXPECT_EQ(pDI != nullptr, f.bDI);
  EXPECT_EQ(pTastatur != nullptr, f.bTastatur);
  EXPECT_EQ(pMaus != nullptr, f.bMaus);
  EXPECT_EQ(ersatz::Geraete_Anzahl(), unsigned(f.bTastatur) + unsigned(f.bMaus));
  DI_Freigeben();
  EXPECT_EQ(ersatz::Geraete_Anzahl(), 0u);
  EXPECT_TRUE(pDI == nullptr && pTastatur == nullptr && pMaus == nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    JederSchritt, EingabeEinrichtung,
    testing::Values(
        Einrichtungsfehler{"DirectInput8Create", "ERROR : DI HauptInterface erzeugen.", "", false,
                           false, false},
        Einrichtungsfehler{"CreateDevice.Keyboard", "ERROR : DI Keyboard DeviceInterface erzeugen.",
                           "", true, false, false},
        Einrichtungsfehler{"SetDataFormat.Keyboard", "ERROR : DI Keyboard Datenformat setzen.", "",
                           true, true, false},
        Einrichtungsfehler{"SetCooperativeLevel.Keyboard", "ERROR : DI Keyboard SetCoopLevel()", "",
                           true, true, false},
        Einrichtungsfehler{"Acquire.Keyboard", "", "Keyboard Aquire : return 2147942405", true,
                           true, false},
        Einrichtungsfehler{"CreateDevice.Mouse", "ERROR : DI Mouse DeviceInterface erzeugen.",
                           "Tastatur online.\n", true, true, false},
        Einrichtungsfehler{"SetDataFormat.Mouse", "ERROR : DI Maus Datenformat setzen.",
                           "Tastatur online.\n", true, true, true},
        Einrichtungsfehler{"SetCooperativeLevel.Mouse", "ERROR : DI Maus SetCoopLevel",
                           "Tastatur online.\n", true, true, true},
        Einrichtungsfehler{"Acquire.Mouse", "",
                           "Tastatur online.\nMouse Aquire : return 2147942405", true, true, true}),
    [](const testing::TestParamInfo<Einrichtungsfehler>& info) {
      std::string name = info.param.szFehler;
      std::replace(name.begin(), name.end(), '.', '_');
      return name;
    });

TEST_F(Eingabe, ReleaseWithNothingCreatedIsHarmless) {
  DI_Freigeben();
  EXPECT_TRUE(pDI == nullptr && pTastatur == nullptr && pMaus == nullptr);
  EXPECT_EQ(DI_Erzeugen(nullptr), 1);
  DI_Freigeben();
  EXPECT_EQ(ersatz::Geraete_Anzahl(), 0u);
}

TEST_F(Eingabe, KeysBecomeFlagsWhileDown) {
  Erzeugt();
  Taste(SDL_SCANCODE_ESCAPE, true);
  Taste(SDL_SCANCODE_F1, true);
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(bEsc, 1);
  EXPECT_EQ(bHilfe, 1);
  EXPECT_EQ(TastenPuffer[DIK_ESCAPE], 0x80);
  Taste(SDL_SCANCODE_ESCAPE, false);
  Taste(SDL_SCANCODE_F1, false);
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(bEsc + bHilfe, 0);
  EXPECT_EQ(Protokoll(), "");
}

TEST_F(Eingabe, RAndSpaceEachOrTogetherRequestRegrow) {
  Erzeugt();
  const SDL_Scancode Tasten[][2] = {{SDL_SCANCODE_R, SDL_SCANCODE_UNKNOWN},
                                    {SDL_SCANCODE_SPACE, SDL_SCANCODE_UNKNOWN},
                                    {SDL_SCANCODE_R, SDL_SCANCODE_SPACE}};
  for (const auto& gedrueckt : Tasten) {
    for (SDL_Scancode t : gedrueckt) Taste(t, true);
    DI_Abfrage();
    EXPECT_EQ(bNeuWachsen, 1) << gedrueckt[0] << "+" << gedrueckt[1];
    for (SDL_Scancode t : gedrueckt) Taste(t, false);
    DI_Abfrage();
    EXPECT_EQ(bNeuWachsen, 0);
  }
}

TEST_F(Eingabe, HeldSFlipsShadingOnceUntilSeenUp) {
  Erzeugt();
  Taste(SDL_SCANCODE_S, true);
  for (int i = 0; i < 3; ++i) {
    DI_Abfrage();
    EXPECT_EQ(bFlach, 1) << "poll " << i;
    EXPECT_EQ(bSGedrueckt, 1);
  }
  Taste(SDL_SCANCODE_S, false);
  DI_Abfrage();
  EXPECT_EQ(bFlach, 1);
  EXPECT_EQ(bSGedrueckt, 0);
  Taste(SDL_SCANCODE_S, true);
  DI_Abfrage();
  EXPECT_EQ(bFlach, 0);
  // A press and release between two reads is never seen.
  Taste(SDL_SCANCODE_S, false);
  DI_Abfrage();
  Taste(SDL_SCANCODE_S, true);
  Taste(SDL_SCANCODE_S, false);
  DI_Abfrage();
  EXPECT_EQ(bFlach, 0);
}

TEST_F(Eingabe, MouseMovementAddsUpBetweenReadsAndEachReadClearsIt) {
  ersatz::Eingabe_Maus(50, 50, 120);  // no mouse acquired yet: dropped
  Erzeugt();
  ersatz::Eingabe_Maus(3, -4, 120);
  ersatz::Eingabe_Maus(2, 1, 240);
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(MausDX, 5);
  EXPECT_EQ(MausDY, -3);
  EXPECT_EQ(MausDZ, 360);
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(MausDX | MausDY | MausDZ, 0);
}

TEST_F(Eingabe, OutputsStayZeroUntilTheFirstSuccessfulPoll) {
  Erzeugt();
  ASSERT_TRUE(ersatz::Fehler_Setzen("GetDeviceState.Keyboard"));
  Taste(SDL_SCANCODE_ESCAPE, true);
  Taste(SDL_SCANCODE_S, true);
  ersatz::Eingabe_Maus(7, 7, 7);
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(bEsc | bNeuWachsen | bFlach | bSGedrueckt | bHilfe | MausDX | MausDY | MausDZ, 0);
}

TEST_F(Eingabe, LostMouseIsReacquiredAndLogsEvenWhenThatWorks) {
  Erzeugt();
  Taste(SDL_SCANCODE_F1, true);
  ersatz::Eingabe_Maus(4, 5, 120);
  ASSERT_EQ(DI_Abfrage(), 1);
  ASSERT_TRUE(ersatz::Fehler_Setzen("GetDeviceState.Mouse"));
  Taste(SDL_SCANCODE_F1, false);
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(Protokoll(), "DI_Init: Maus->Reacquiring failed \nERROR : MausAbfrage fehlgeschlagen.");
  EXPECT_EQ(MausDX | MausDY | MausDZ, 0);
  EXPECT_EQ(bHilfe, 1);  // key flags keep the last poll's values
  ersatz::Fehler_Loeschen();
  ersatz::Eingabe_Maus(1, 2, 3);
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(MausDX + MausDY + MausDZ, 6);
  EXPECT_EQ(bHilfe, 0);
}

TEST_F(Eingabe, OtherMouseFailureWritesOnlyItsLine) {
  Erzeugt();
  ersatz::Eingabe_Maus(4, 5, 120);
  ASSERT_EQ(DI_Abfrage(), 1);
  ASSERT_TRUE(ersatz::Fehler_Setzen("GetDeviceState.Mouse.Generic"));
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(Protokoll(), "ERROR : MausAbfrage fehlgeschlagen.");
  EXPECT_EQ(MausDX | MausDY | MausDZ, 0);
}

TEST_F(Eingabe, LostKeyboardSkipsTheMouseAndIsReacquired) {
  Erzeugt();
  Taste(SDL_SCANCODE_R, true);
  ASSERT_EQ(DI_Abfrage(), 1);
  ASSERT_TRUE(ersatz::Fehler_Setzen("GetDeviceState.Keyboard"));
  Taste(SDL_SCANCODE_R, false);
  ersatz::Eingabe_Maus(9, 0, 0);
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(Protokoll(), "Keyboard GetDeviceState : return " + std::to_string(kVerloren) +
                             "ERROR : TastenAbfrage fehlgeschlagen.\n");
  EXPECT_EQ(bNeuWachsen, 1);
  ersatz::Fehler_Loeschen();
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(bNeuWachsen, 0);
  EXPECT_EQ(MausDX, 9);  // the mouse was not read in the failed frame
}

TEST_F(Eingabe, FocusLossTakesBothDevicesAndRegainBringsThemBack) {
  Erzeugt();
  Taste(SDL_SCANCODE_ESCAPE, true);
  ASSERT_EQ(DI_Abfrage(), 1);
  ersatz::Eingabe_Fokus(false);
  ersatz::Eingabe_Maus(5, 5, 5);  // not seen: the window is away
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(DI_Abfrage(), 0);  // re-acquire fails without focus
  EXPECT_EQ(bEsc, 1);
  const std::string kFehlt = "ERROR : TastenAbfrage fehlgeschlagen.\n";
  const std::string kTaste = "Keyboard GetDeviceState : return ";
  EXPECT_EQ(Protokoll(), kTaste + std::to_string(kVerloren) + kFehlt + kTaste +
                             std::to_string(kNichtErworben) + kFehlt);
  Protokoll_Leeren();

  ersatz::Eingabe_Fokus(true);
  Taste(SDL_SCANCODE_ESCAPE, false);
  EXPECT_EQ(DI_Abfrage(), 0);  // keyboard asked back
  EXPECT_EQ(DI_Abfrage(), 0);  // mouse reports its loss and is asked back
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(bEsc, 0);
  EXPECT_EQ(MausDX, 0);
  EXPECT_EQ(Protokoll(),
            kTaste + std::to_string(kNichtErworben) + kFehlt +
                "DI_Init: Maus->Reacquiring failed \nERROR : MausAbfrage fehlgeschlagen.");
}

TEST_F(Eingabe, PollWithoutDevicesFailsQuietlyAfterOneLine) {
  ASSERT_TRUE(ersatz::Fehler_Setzen("Acquire.Keyboard"));  // the mouse is never created
  testing::internal::CaptureStderr();
  DI_Erzeugen(nullptr);
  testing::internal::GetCapturedStderr();
  Protokoll_Leeren();
  bFlach = 1;
  bEsc = 1;
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(Protokoll(), "ERROR : DI_Abfrage ohne Tastatur oder Maus, keine Eingabe.\n");
  EXPECT_EQ(bFlach + bEsc, 2);
}

// The stand-in's own rules, as the platform has them.
class DirectInputErsatz : public Eingabe {
 protected:
  void SetUp() override {
    Eingabe::SetUp();
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
  const std::pair<const char*, const char*> Faelle[] = {
      {"1 down NOSUCHKEY", "unknown key 'NOSUCHKEY'"},
      {"1 down", "missing key"},
      {"1 mouse 1 2", "three numbers"},
      {"1 mouse 1 x 2", "'x' is not a number"},
      {"1 mouse 1 2 99999999999", "'99999999999' is not a number"},
      {"1 up R now", "unexpected 'now'"},
      {"-1 up R", "frame '-1'"},
      {"x up R", "frame 'x'"},
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
  }
  std::string fehler;
  EXPECT_FALSE(ersatz::Eingabe_Skript_Laden(testing::TempDir() + "fehlt/nicht.txt", fehler));
  EXPECT_NE(fehler.find("fehlt/nicht.txt"), std::string::npos);
}

}  // namespace
