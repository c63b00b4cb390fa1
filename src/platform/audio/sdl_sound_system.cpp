#include "platform/audio/sound_system.h"
std::unique_ptr<SoundSystem> CreateSdlSoundSystem() { return nullptr; }
