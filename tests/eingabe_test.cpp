// Keyboard and mouse: set-up, per-frame poll and release on the DirectInput
// stand-in.
#include "eingabe/eingabe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "plattform/fehler/fehler.h"
#include "tests/testhilfe.h"

namespace {

constexpr unsigned kVerloren = 2147942430u;       // DIERR_INPUTLOST
constexpr unsigned kNichtErworben = 2147942412u;  // DIERR_NOTACQUIRED

class Eingabe : public Protokoll_Test {
 protected:
  void SetUp() override {
    Protokoll_Test::SetUp();
    hWnd = reinterpret_cast<HWND>(0x100);
    bEsc = bNeuWachsen = bFlach = bSGedrueckt = bHilfe = 0;
    MausDX = MausDY = MausDZ = 0;
    bOhneGeraetGemeldet = 0;
  }
  void TearDown() override {
    DI_Freigeben();
    Protokoll_Test::TearDown();
    hWnd = nullptr;
  }
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
  Taste(DIK_ESCAPE, true);
  Taste(DIK_F1, true);
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(bEsc, 1);
  EXPECT_EQ(bHilfe, 1);
  EXPECT_EQ(TastenPuffer[DIK_ESCAPE], 0x80);
  Taste(DIK_ESCAPE, false);
  Taste(DIK_F1, false);
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(bEsc + bHilfe, 0);
  EXPECT_EQ(Protokoll(), "");
}

TEST_F(Eingabe, RAndSpaceEachOrTogetherRequestRegrow) {
  Erzeugt();
  const int Tasten[][2] = {{DIK_R, 0}, {DIK_SPACE, 0}, {DIK_R, DIK_SPACE}};
  for (const auto& gedrueckt : Tasten) {
    for (int t : gedrueckt) Taste(t, true);
    DI_Abfrage();
    EXPECT_EQ(bNeuWachsen, 1) << gedrueckt[0] << "+" << gedrueckt[1];
    for (int t : gedrueckt) Taste(t, false);
    DI_Abfrage();
    EXPECT_EQ(bNeuWachsen, 0);
  }
}

TEST_F(Eingabe, HeldSFlipsShadingOnceUntilSeenUp) {
  Erzeugt();
  Taste(DIK_S, true);
  for (int i = 0; i < 3; ++i) {
    DI_Abfrage();
    EXPECT_EQ(bFlach, 1) << "poll " << i;
    EXPECT_EQ(bSGedrueckt, 1);
  }
  Taste(DIK_S, false);
  DI_Abfrage();
  EXPECT_EQ(bFlach, 1);
  EXPECT_EQ(bSGedrueckt, 0);
  Taste(DIK_S, true);
  DI_Abfrage();
  EXPECT_EQ(bFlach, 0);
  // A press and release between two reads is never seen.
  Taste(DIK_S, false);
  DI_Abfrage();
  Taste(DIK_S, true);
  Taste(DIK_S, false);
  DI_Abfrage();
  EXPECT_EQ(bFlach, 0);
}

TEST_F(Eingabe, MouseMovementAddsUpBetweenReadsAndEachReadClearsIt) {
  Maus(50, 50, 120);  // no mouse acquired yet: dropped
  Erzeugt();
  Maus(3, -4, 120);
  Maus(2, 1, 240);
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
  Taste(DIK_ESCAPE, true);
  Taste(DIK_S, true);
  Maus(7, 7, 7);
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(bEsc | bNeuWachsen | bFlach | bSGedrueckt | bHilfe | MausDX | MausDY | MausDZ, 0);
}

TEST_F(Eingabe, LostMouseIsReacquiredAndLogsEvenWhenThatWorks) {
  Erzeugt();
  Taste(DIK_F1, true);
  Maus(4, 5, 120);
  ASSERT_EQ(DI_Abfrage(), 1);
  ASSERT_TRUE(ersatz::Fehler_Setzen("GetDeviceState.Mouse"));
  Taste(DIK_F1, false);
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(Protokoll(), "DI_Init: Maus->Reacquiring failed \nERROR : MausAbfrage fehlgeschlagen.");
  EXPECT_EQ(MausDX | MausDY | MausDZ, 0);
  EXPECT_EQ(bHilfe, 0) << "the good keyboard read sets the flags whatever the mouse did";
  ersatz::Fehler_Loeschen();
  Maus(1, 2, 3);
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(MausDX + MausDY + MausDZ, 6);
}

// A mouse whose set-up acquire failed is asked back by every read until it
// comes; meanwhile the keys work.
TEST_F(Eingabe, UnacquiredMouseIsAskedBackAndKeysStillWork) {
  ASSERT_TRUE(ersatz::Fehler_Setzen("Acquire.Mouse"));
  EXPECT_EQ(DI_Erzeugen(nullptr), 0);
  Protokoll_Leeren();
  Taste(DIK_ESCAPE, true);
  Taste(DIK_S, true);
  Maus(7, 7, 7);
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(bEsc, 1);
  EXPECT_EQ(bFlach, 1);
  EXPECT_EQ(MausDX | MausDY | MausDZ, 0);
  EXPECT_EQ(Protokoll(), "ERROR : MausAbfrage fehlgeschlagen.");
  ersatz::Fehler_Loeschen();
  EXPECT_EQ(DI_Abfrage(), 0) << "this read asks the mouse back";
  Maus(1, 0, 0);
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(MausDX, 1);
}

// The mouse's one re-acquire after a loss fails (the window was still
// away); later reads must still bring it back, and the keys work meanwhile.
TEST_F(Eingabe, MouseComesBackAfterAFailedReacquire) {
  Erzeugt();
  ASSERT_TRUE(ersatz::Fehler_Setzen("GetDeviceState.Mouse"));
  ASSERT_TRUE(ersatz::Fehler_Setzen("Acquire.Mouse"));
  EXPECT_EQ(DI_Abfrage(), 0);
  ersatz::Fehler_Loeschen();
  Taste(DIK_F1, true);
  EXPECT_EQ(DI_Abfrage(), 0) << "not acquired: asked back";
  EXPECT_EQ(bHilfe, 1);
  Maus(3, 0, 0);
  EXPECT_EQ(DI_Abfrage(), 1);
  EXPECT_EQ(MausDX, 3);
}

TEST_F(Eingabe, OtherMouseFailureWritesOnlyItsLine) {
  Erzeugt();
  Maus(4, 5, 120);
  ASSERT_EQ(DI_Abfrage(), 1);
  ASSERT_TRUE(ersatz::Fehler_Setzen("GetDeviceState.Mouse.Generic"));
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(Protokoll(), "ERROR : MausAbfrage fehlgeschlagen.");
  EXPECT_EQ(MausDX | MausDY | MausDZ, 0);
}

TEST_F(Eingabe, LostKeyboardSkipsTheMouseAndIsReacquired) {
  Erzeugt();
  Taste(DIK_R, true);
  ASSERT_EQ(DI_Abfrage(), 1);
  ASSERT_TRUE(ersatz::Fehler_Setzen("GetDeviceState.Keyboard"));
  Taste(DIK_R, false);
  Maus(9, 0, 0);
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
  Taste(DIK_ESCAPE, true);
  ASSERT_EQ(DI_Abfrage(), 1);
  Fokus(false, false);
  Maus(5, 5, 5);  // not seen: the window is away
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(DI_Abfrage(), 0);  // re-acquire fails without focus
  EXPECT_EQ(bEsc, 1);
  const std::string kFehlt = "ERROR : TastenAbfrage fehlgeschlagen.\n";
  const std::string kTaste = "Keyboard GetDeviceState : return ";
  EXPECT_EQ(Protokoll(), kTaste + std::to_string(kVerloren) + kFehlt + kTaste +
                             std::to_string(kNichtErworben) + kFehlt);
  Protokoll_Leeren();

  Fokus(true, false);
  Taste(DIK_ESCAPE, false);
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
  ASSERT_TRUE(ersatz::Fehler_Setzen("CreateDevice.Keyboard"));  // the mouse is never created
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

// Without a mouse device the keyboard is still read every frame.
TEST_F(Eingabe, MissingMouseStillReadsTheKeyboard) {
  ASSERT_TRUE(ersatz::Fehler_Setzen("CreateDevice.Mouse"));
  testing::internal::CaptureStderr();
  EXPECT_EQ(DI_Erzeugen(nullptr), 0);
  testing::internal::GetCapturedStderr();
  Protokoll_Leeren();
  Taste(DIK_R, true);
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(bNeuWachsen, 1);
  Taste(DIK_R, false);
  Taste(DIK_ESCAPE, true);
  EXPECT_EQ(DI_Abfrage(), 0);
  EXPECT_EQ(bNeuWachsen, 0);
  EXPECT_EQ(bEsc, 1);
  EXPECT_EQ(Protokoll(), "ERROR : DI_Abfrage ohne Tastatur oder Maus, keine Eingabe.\n");
}

}  // namespace
