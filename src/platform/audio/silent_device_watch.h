// Whether the audio device still takes sound, judged by its own progress: how long its
// callback has not run, counted by the game's own running time. A starved audio thread runs
// late, but runs; only a callback that stops running is silence.
#pragma once

#include <algorithm>
#include <cstdint>

class SilentDeviceWatch {
 public:
  // A gap between two looks longer than this is not the device's silence alone: the whole
  // process was stopped meanwhile (a shell's Ctrl+Z, a debugger), the audio thread with it,
  // while the clock went on. Only this much of such a gap counts, so the device has time to
  // run again once the process goes on. The game looks at every frame, far more often.
  static constexpr std::uint32_t kLongestLookGapMillis = 200;

  // `callbacks`: the device's runs of its callback so far; `now`: the clock in milliseconds,
  // which wraps at 2^32.
  SilentDeviceWatch(std::uint64_t callbacks, std::uint32_t now)
      : callbacks_(callbacks), lastLook_(now) {}

  // A look at the device, on the game's thread: at every frame, in every state.
  void Look(std::uint64_t callbacks, std::uint32_t now) {
    running_ += std::min(now - lastLook_, kLongestLookGapMillis);
    lastLook_ = now;
    if (callbacks != callbacks_) {
      callbacks_ = callbacks;
      lastRun_ = running_;
    }
  }

  // The game's running time up to the last look, in milliseconds.
  std::uint64_t RunningMillis() const { return running_; }

  // The running time in which the device has run no callback, counted from `since` (a
  // RunningMillis()) at the earliest.
  std::uint64_t SilentMillisSince(std::uint64_t since) const {
    return running_ - std::max(since, lastRun_);
  }

 private:
  std::uint64_t callbacks_;
  std::uint32_t lastLook_;
  std::uint64_t running_ = 0;
  std::uint64_t lastRun_ = 0;  // the running time at the look that saw the device run
};
