// The keyboard as the game knows it: SDL key symbols become the desktop's virtual-key codes,
// modifier keys the shift mask of the key events, and a few keys their key-press character.
#pragma once

#include <SDL.h>

// The virtual-key code of `key`, or 0 for a key the desktop has no code for.
int VirtualKeyCode(SDL_Keycode key);
// The shift mask of the key events: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftMask(Uint16 modifiers);
// The key-press character that a key-down of `key` makes by itself (Return and keypad Enter
// 13, Escape 27, Backspace 8, Tab 9), or 0 when the character, if any, comes as text.
int KeyPressCharacter(SDL_Keycode key);
