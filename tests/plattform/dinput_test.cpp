// The DirectInput stand-in's own rules, as the platform has them: creation,
// data formats, cooperation and acquire, what the devices read, focus loss
// and the key names.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "plattform/plattform.h"
#include "tests/testhilfe.h"

namespace {

constexpr unsigned kAndereHatVorrang = 2147942405u;  // DIERR_OTHERAPPHASPRIO

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
  Fokus(false, false);
  DIMOUSESTATE Stand;
  BYTE Tasten[256];
  EXPECT_EQ(pTastatur->GetDeviceState(256, Tasten), DI_OK);  // background keeps its input
  EXPECT_EQ(pMaus->GetDeviceState(sizeof Stand, &Stand), DIERR_INPUTLOST);
  EXPECT_EQ(pMaus->GetDeviceState(sizeof Stand, &Stand), DIERR_NOTACQUIRED);
  EXPECT_EQ(static_cast<unsigned>(pMaus->Acquire()), kAndereHatVorrang);
  Fokus(true, false);
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

// The devices read what the window system received: the keyboard's state,
// the mouse's motion since the device's last read (none from before it was
// acquired), and a foreground device loses its input with the focus.
TEST_F(DirectInputErsatz, GeraeteLesenWasDasFenstersystemBekam) {
  pTastatur = Geraet(GUID_SysKeyboard, &c_dfDIKeyboard, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
  pMaus = Geraet(GUID_SysMouse, &c_dfDIMouse, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
  Maus(50, 50, 120);  // before the mouse is acquired: never read
  ASSERT_EQ(pTastatur->Acquire(), DI_OK);
  ASSERT_EQ(pMaus->Acquire(), DI_OK);
  Taste(DIK_S, true);
  Maus(-10, 20);
  Maus(1, 1, -120);
  BYTE Tasten[256];
  DIMOUSESTATE Stand;
  ASSERT_EQ(pTastatur->GetDeviceState(256, Tasten), DI_OK);
  EXPECT_EQ(Tasten[DIK_S], 0x80);
  EXPECT_EQ(Tasten[DIK_ESCAPE], 0);
  ASSERT_EQ(pMaus->GetDeviceState(sizeof Stand, &Stand), DI_OK);
  EXPECT_EQ(Stand.lX, -9);
  EXPECT_EQ(Stand.lY, 21);
  EXPECT_EQ(Stand.lZ, -120);
  ASSERT_EQ(pMaus->GetDeviceState(sizeof Stand, &Stand), DI_OK);
  EXPECT_EQ(Stand.lX | Stand.lY | Stand.lZ, 0) << "each motion is read once";
  Maus(7, 0);
  Fokus(false, false);
  Fokus(true, false);  // back before the next read: the input is still lost
  EXPECT_EQ(pMaus->GetDeviceState(sizeof Stand, &Stand), DIERR_INPUTLOST);
  EXPECT_EQ(pTastatur->GetDeviceState(256, Tasten), DIERR_INPUTLOST);
  ASSERT_EQ(pMaus->Acquire(), DI_OK);
  ASSERT_EQ(pMaus->GetDeviceState(sizeof Stand, &Stand), DI_OK);
  EXPECT_EQ(Stand.lX, 0) << "the motion before the loss is gone with it";
}

}  // namespace
