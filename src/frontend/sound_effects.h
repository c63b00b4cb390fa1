// The front end's sound effects: played only while sound effects are switched on.
#pragma once

#include <string>

#include "gameplay/game_state.h"
#include "platform/system.h"

// `name` begins with a backslash, as every sound of the game ("\\Select.wav").
inline void PlayFrontendSound(const char* name) {
  if (UserSettings.SoundOn == True) PlaySoundA((AppPath() + name).c_str(), nullptr, SND_ASYNC);
}
