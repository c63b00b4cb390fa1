// The keyboard of the real back end: SDL key symbols to the desktop's key codes.
#include "platform/sdl/sdl_keys.h"

#include <gtest/gtest.h>

#include "platform/backend.h"

TEST(SdlKeys, GameKeysGetTheirDesktopCodes) {
  EXPECT_EQ(VirtualKeyCode(SDLK_ESCAPE), vbKeyEscape);
  EXPECT_EQ(VirtualKeyCode(SDLK_LEFT), vbKeyLeft);
  EXPECT_EQ(VirtualKeyCode(SDLK_UP), vbKeyUp);
  EXPECT_EQ(VirtualKeyCode(SDLK_RIGHT), vbKeyRight);
  EXPECT_EQ(VirtualKeyCode(SDLK_DOWN), vbKeyDown);
  EXPECT_EQ(VirtualKeyCode(SDLK_RETURN), vbKeyReturn);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_ENTER), vbKeyReturn);
  // SDL names letters in lower case; the codes are those of the capitals.
  EXPECT_EQ(VirtualKeyCode(SDLK_x), vbKeyX);
  EXPECT_EQ(VirtualKeyCode(SDLK_z), vbKeyZ);
  EXPECT_EQ(VirtualKeyCode(SDLK_a), 'A');
}

TEST(SdlKeys, OtherKeysKeepTheirCodesAndUnknownOnesGiveNone) {
  EXPECT_EQ(VirtualKeyCode(SDLK_0), '0');
  EXPECT_EQ(VirtualKeyCode(SDLK_9), '9');
  EXPECT_EQ(VirtualKeyCode(SDLK_F1), 112);
  EXPECT_EQ(VirtualKeyCode(SDLK_F12), 123);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_0), 96);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_9), 105);
  EXPECT_EQ(VirtualKeyCode(SDLK_SPACE), 32);
  EXPECT_EQ(VirtualKeyCode(SDLK_TAB), 9);
  EXPECT_EQ(VirtualKeyCode(SDLK_LSHIFT), 16);
  EXPECT_EQ(VirtualKeyCode(SDLK_RSHIFT), 16);
  EXPECT_EQ(VirtualKeyCode(SDLK_APPLICATION), 0);
  EXPECT_EQ(VirtualKeyCode(SDLK_UNKNOWN), 0);
}

TEST(SdlKeys, ReturnEnterAndEscapeMakeTheirCharacterFromTheKeyDown) {
  EXPECT_EQ(KeyPressCharacter(SDLK_RETURN), 13);
  EXPECT_EQ(KeyPressCharacter(SDLK_KP_ENTER), 13);
  EXPECT_EQ(KeyPressCharacter(SDLK_ESCAPE), 27);
  // Printable keys bring their character as text, and arrows make none.
  EXPECT_EQ(KeyPressCharacter(SDLK_z), 0);
  EXPECT_EQ(KeyPressCharacter(SDLK_SPACE), 0);
  EXPECT_EQ(KeyPressCharacter(SDLK_LEFT), 0);
}

TEST(SdlKeys, ModifiersBecomeTheShiftMask) {
  EXPECT_EQ(ShiftMask(KMOD_NONE), 0);
  EXPECT_EQ(ShiftMask(KMOD_LSHIFT), 1);
  EXPECT_EQ(ShiftMask(KMOD_RSHIFT), 1);
  EXPECT_EQ(ShiftMask(KMOD_RCTRL), 2);
  EXPECT_EQ(ShiftMask(KMOD_LALT | KMOD_RSHIFT), 5);
  EXPECT_EQ(ShiftMask(KMOD_LSHIFT | KMOD_LCTRL | KMOD_RALT), 7);
  // Lock keys are no part of it.
  EXPECT_EQ(ShiftMask(KMOD_NUM | KMOD_CAPS), 0);
}
