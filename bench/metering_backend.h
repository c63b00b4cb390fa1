// A back end that wraps the real one and measures the game while it plays: frames against
// the clock, processor time and peak memory, from the first update of the caption clock to
// the last one. After `playSeconds` of play it asks to close the window and answers every
// message box itself, so a run needs nobody at the keyboard.
#pragma once

#include <cstdint>
#include <string>

#include "platform/backend.h"

struct PlayMeasure {
  std::uint32_t elapsedMs = 0;  // between the first and the last caption clock update
  std::int64_t frames = 0;      // play frames in that time
  double cpuSeconds = 0;        // processor time of the whole process (every thread)
  std::uint32_t longestFrameMs = 0;
  std::int64_t lateFrames = 0;  // frames that started more than 5 ms after their period
  long peakResidentKb = 0;
  double gameFps = 0;  // the game's own figure, as its exit message shows it
};

class MeteringBackend final : public Backend {
 public:
  MeteringBackend(Backend& real, double playSeconds, std::string reportPath);

  std::uint32_t TickCount() override { return real_.TickCount(); }
  void Idle() override { real_.Idle(); }
  void IdleFor(std::uint32_t msLeft) override { real_.IdleFor(msLeft); }
  void PumpEvents() override;
  std::uint32_t RandomSeed() override { return real_.RandomSeed(); }
  void SetMainHandlers(MainWindowHandlers handlers) override;
  void AttachSurface(WindowId w, Surface* s) override { real_.AttachSurface(w, s); }
  void SetCaption(WindowId window, const std::string& utf8) override;
  void SetIcon(WindowId w, ImagePtr icon) override { real_.SetIcon(w, std::move(icon)); }
  void SetClientSize(WindowId w, int x, int y) override { real_.SetClientSize(w, x, y); }
  void Move(WindowId w, int left, int top) override { real_.Move(w, left, top); }
  void Show(WindowId w) override { real_.Show(w); }
  void Hide(WindowId w) override { real_.Hide(w); }
  void Unload(WindowId w) override { real_.Unload(w); }
  WindowRect OuterRect(WindowId w) override { return real_.OuterRect(w); }
  void ClientSize(WindowId w, int& x, int& y) override { real_.ClientSize(w, x, y); }
  void ScreenSize(int& x, int& y) override { real_.ScreenSize(x, y); }
  MsgBoxAnswer MessageBox(const std::string& text, MsgBoxButtons buttons,
                          const std::string& caption) override;
  SoundSystem& Sound() override { return real_.Sound(); }
  std::string ProgramFolder() override { return real_.ProgramFolder(); }
  [[noreturn]] void End() override;

 private:
  void NoteFrame();
  void WriteReport();

  Backend& real_;
  double playSeconds_;
  std::string reportPath_;
  MainWindowHandlers handlers_;
  bool started_ = false;
  bool reported_ = false;
  bool closing_ = false;
  std::uint32_t startTick_ = 0;
  std::int64_t startFrames_ = 0;
  double startCpu_ = 0;
  PlayMeasure measure_;
  std::int32_t lastFrameCount_ = 0;
  std::uint32_t lastFrameTick_ = 0;
};
