// The SDL front-end's keys.
#include "plattform/sdl/sdl.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include "plattform/dinput/dinput.h"

namespace {

TEST(SdlAnzeige, TastenWerdenDirectInputCodes) {
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_ESCAPE), DIK_ESCAPE);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_F1), DIK_F1);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_R), DIK_R);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_S), DIK_S);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_SPACE), DIK_SPACE);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_KP_ENTER), DIK_NUMPADENTER);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_RIGHT), DIK_RIGHT);
  EXPECT_EQ(ersatz::Dik_Aus_Sdl(SDL_SCANCODE_UNKNOWN), -1);
}

}  // namespace
