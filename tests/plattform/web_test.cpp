// The web page's keys: the browser's KeyboardEvent.code as DirectInput
// scan codes (the page itself is tested in Chromium, tests/web.sh).
#include "plattform/web/web.h"

#include <gtest/gtest.h>

#include <set>

#include "plattform/dinput/dinput.h"

namespace {

TEST(WebTasten, BrowserCodesWerdenDirectInputCodes) {
  EXPECT_EQ(ersatz::Dik_Aus_Code("Escape"), DIK_ESCAPE);
  EXPECT_EQ(ersatz::Dik_Aus_Code("F1"), DIK_F1);
  EXPECT_EQ(ersatz::Dik_Aus_Code("KeyR"), DIK_R);
  EXPECT_EQ(ersatz::Dik_Aus_Code("KeyS"), DIK_S);
  EXPECT_EQ(ersatz::Dik_Aus_Code("Space"), DIK_SPACE);
  EXPECT_EQ(ersatz::Dik_Aus_Code("Digit0"), DIK_0);
  EXPECT_EQ(ersatz::Dik_Aus_Code("NumpadEnter"), DIK_NUMPADENTER);
  EXPECT_EQ(ersatz::Dik_Aus_Code("ArrowUp"), DIK_UP);
  EXPECT_EQ(ersatz::Dik_Aus_Code("AltRight"), DIK_RMENU);
  // Codes are case-sensitive names, and keys off a standard keyboard have none.
  EXPECT_EQ(ersatz::Dik_Aus_Code("keyr"), -1);
  EXPECT_EQ(ersatz::Dik_Aus_Code("MediaPlayPause"), -1);
  EXPECT_EQ(ersatz::Dik_Aus_Code(""), -1);
}

// Every letter and digit and F-key, each its own scan code, as the key of
// the same name.
TEST(WebTasten, JedeTasteIhrEigenerCode) {
  std::set<int> gesehen;
  auto pruefen = [&](const std::string& code, const std::string& name) {
    const int nDik = ersatz::Dik_Aus_Code(code);
    EXPECT_EQ(nDik, ersatz::Dik_Aus_Name(name)) << code;
    EXPECT_TRUE(gesehen.insert(nDik).second) << code << " shares its scan code";
  };
  for (char c = 'A'; c <= 'Z'; ++c) pruefen(std::string("Key") + c, std::string(1, c));
  for (char c = '0'; c <= '9'; ++c) pruefen(std::string("Digit") + c, std::string(1, c));
  for (int f = 1; f <= 12; ++f) pruefen("F" + std::to_string(f), "F" + std::to_string(f));
  for (int n = 0; n <= 9; ++n) pruefen("Numpad" + std::to_string(n), "NUMPAD" + std::to_string(n));
}

}  // namespace
