#include "platform/audio/sound_system.h"

#include "platform/file_access.h"

EffectFailure EffectFailure::OfFile(int error, std::size_t limit) {
  return EffectFailure{NoRegularFileThere(error), UnusableFileReason(error, limit)};
}

bool SoundSystem::PlayEffect(const std::string& path, EffectFailure* failure) {
  EffectFailure why;
  if (StartEffect(path, why)) return true;
  if (failure != nullptr) *failure = std::move(why);
  return false;
}
