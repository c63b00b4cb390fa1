#include "platform/audio/sound_system.h"

#include "platform/file_access.h"

EffectFailure EffectFailure::OfFile(int error, std::size_t limit) {
  return EffectFailure{NoRegularFileThere(error), UnusableFileReason(error, limit)};
}

bool SoundSystem::PlayEffect(const std::string& path, EffectFailure* failure) {
  auto known = failedEffects_.find(path);
  if (known == failedEffects_.end()) {
    EffectFailure why;
    if (StartEffect(path, why)) return true;
    known = failedEffects_.emplace(path, std::move(why)).first;
  }
  if (failure != nullptr) *failure = known->second;
  return false;
}
