#include "metering_backend.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "gameplay/game_state.h"

namespace {

constexpr std::uint32_t kFramePeriodMs = 49;
constexpr std::uint32_t kLateMs = 5;

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long PeakResidentKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

MeteringBackend::MeteringBackend(Backend& real, double playSeconds, std::string reportPath)
    : real_(real), playSeconds_(playSeconds), reportPath_(std::move(reportPath)) {}

void MeteringBackend::SetMainHandlers(MainWindowHandlers handlers) {
  handlers_ = handlers;
  real_.SetMainHandlers(std::move(handlers));
}

// A frame has ended when the game's frame count moves; the gap between two such moments is
// the frame's length, which the 49 ms period bounds from below.
void MeteringBackend::NoteFrame() {
  if (FrameCount == lastFrameCount_) return;
  const std::uint32_t now = real_.TickCount();
  if (started_ && !reported_ && FrameCount == lastFrameCount_ + 1) {
    const std::uint32_t gap = now - lastFrameTick_;
    if (gap > measure_.longestFrameMs) measure_.longestFrameMs = gap;
    if (gap > kFramePeriodMs + kLateMs) ++measure_.lateFrames;
  }
  lastFrameCount_ = FrameCount;
  lastFrameTick_ = now;
}

void MeteringBackend::PumpEvents() {
  NoteFrame();
  real_.PumpEvents();
  if (started_ && !closing_ && measure_.elapsedMs >= playSeconds_ * 1000) {
    closing_ = true;  // the player closes the window
    int cancel = 0;
    if (handlers_.QueryUnload) handlers_.QueryUnload(cancel);
    closing_ = cancel != 0;
  }
}

// The caption clock is set once per counted second at the start of a play frame: the same
// point of the frame every time, so frames and time between two updates compare exactly.
void MeteringBackend::SetCaption(WindowId window, const std::string& utf8) {
  real_.SetCaption(window, utf8);
  if (window != WindowId::Main || utf8.find(" [ ") == std::string::npos || reported_) return;
  const std::uint32_t now = real_.TickCount();
  if (!started_) {
    started_ = true;
    startTick_ = now;
    startFrames_ = FrameCount;
    startCpu_ = ProcessCpuSeconds();
    lastFrameCount_ = FrameCount;
    lastFrameTick_ = now;
    return;
  }
  measure_.elapsedMs = now - startTick_;
  measure_.frames = FrameCount - startFrames_;
  measure_.cpuSeconds = ProcessCpuSeconds() - startCpu_;
}

void MeteringBackend::End() {
  real_.End();
  std::abort();  // the real End never comes back
}

MsgBoxAnswer MeteringBackend::MessageBox(const std::string& text, MsgBoxButtons buttons,
                                         const std::string& caption) {
  (void)text;
  (void)caption;
  if (!reported_) WriteReport();
  return buttons == MsgBoxButtons::YesNo ? MsgBoxAnswer::Yes : MsgBoxAnswer::Ok;
}

void MeteringBackend::WriteReport() {
  reported_ = true;
  measure_.peakResidentKb = PeakResidentKb();
  measure_.gameFps = FPS.value_or(0);
  std::FILE* out = reportPath_.empty() ? stdout : std::fopen(reportPath_.c_str(), "w");
  if (out == nullptr) return;
  const double seconds = measure_.elapsedMs / 1000.0;
  std::fprintf(out,
               "play_seconds=%.3f frames=%lld frames_per_second=%.3f cpu_seconds=%.3f "
               "cpu_percent=%.2f longest_frame_ms=%u late_frames=%lld peak_rss_kb=%ld "
               "game_fps=%.3f\n",
               seconds, static_cast<long long>(measure_.frames),
               seconds > 0 ? measure_.frames / seconds : 0.0, measure_.cpuSeconds,
               seconds > 0 ? 100.0 * measure_.cpuSeconds / seconds : 0.0, measure_.longestFrameMs,
               static_cast<long long>(measure_.lateFrames), measure_.peakResidentKb,
               measure_.gameFps);
  if (out != stdout) std::fclose(out);
}
