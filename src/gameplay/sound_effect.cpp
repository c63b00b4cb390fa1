#include "gameplay/sound_effect.h"

#include <string>

#include "gameplay/game_state.h"
#include "platform/system.h"

void PlayEffect(const char* name) {
  if (UserSettings.SoundOn != True) return;
  // The name is joined to the folder as it stands; the platform turns the backslash into
  // the separator of the file system.
  PlaySoundA((AppPath() + name).c_str(), nullptr, SND_ASYNC);
}
