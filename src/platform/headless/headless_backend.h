// The headless back end: the whole game without a screen, under a virtual clock.
//
// - Time: GetTickCount starts at `clock` and advances exactly 1 ms per Idle(), never
//   otherwise, so a replay takes no wall time for its waits and gives the same result on
//   every machine.
// - Input: key, paint and close events and state changes are scheduled at virtual times
//   (from a script, or by a test through Schedule) and delivered at the first PumpEvents at
//   or after their time, in the order given among equal times. Key, paint and close events
//   reach the main window's handlers only while it is shown; earlier ones are dropped, as
//   the window system would (the splash has no handlers).
// - Message boxes are answered at once from a queue; beyond the queue, with the default
//   button (Yes for Yes/No, OK otherwise).
// - Windows are modelled with a fixed frame (3 px sides and bottom, 26 px caption on the
//   main window; the splash has none) on a 1024 x 768 screen, so the start-up's own
//   arithmetic decides every position.
// - Output: captions, window operations, message boxes and whatever the platform records
//   (sounds, MCI commands, files) go to the trace, each with its virtual time.
// - End() throws ProgramEnded; reaching the end time throws ReplayEndReached from Idle()
//   or PumpEvents().
//
// Typical test use:
//   HeadlessBackend backend({.clock = 4294967000u});
//   SetBackend(&backend);
//   backend.Schedule({.time = 50, .kind = ScriptEventKind::KeyDown, .code = vbKeyLeft});
//   ... run game code; inspect backend.Trace().Lines(), backend.Caption(WindowId::Main) ...
//   SetBackend(nullptr);
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/replay_script.h"
#include "platform/headless/trace_writer.h"

// Thrown by Idle() or PumpEvents() when the virtual clock reaches the end time.
struct ReplayEndReached {};

// Thrown when the program spins without ever calling Idle(): the virtual clock would never
// move, so the run would hang.
class HeadlessStall : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct HeadlessOptions {
  std::uint32_t clock = 100000;  // GetTickCount at the start
  std::uint32_t seed = 1;        // RandomSeed()
  std::string programFolder = ".";
  std::ostream* traceSink = nullptr;  // JSON lines, when given
  bool keepTrace = true;              // keep the trace lines in memory (Trace().Lines())
};

class HeadlessBackend : public Backend {
 public:
  static constexpr int kScreenWidth = 1024;
  static constexpr int kScreenHeight = 768;
  static constexpr int kFrameSide = 3;  // main window frame, left, right and bottom
  static constexpr int kFrameCaption = 26;

  explicit HeadlessBackend(HeadlessOptions options = {});
  ~HeadlessBackend() override;

  // --- Script and hooks.
  // Takes the answers, events and end time of a script (its seed and clock belong to the
  // options, given at construction).
  void LoadScript(const ReplayScript& script);
  void Schedule(const ScriptEvent& event);
  void QueueAnswer(MsgBoxAnswer answer) { answers_.push_back(answer); }
  void SetEndTime(std::uint64_t time) { endTime_ = time; }
  // Runs `set` events (the game state lives above the platform layer).
  void SetStateSetter(std::function<void(const ScriptEvent&)> setter);
  // Writes snapshot NAME; the trace line is added here after it returns.
  void SetSnapshotTaker(std::function<void(const std::string& name)> taker);
  // As a termination signal would: the main window's EndSession runs at the next Idle,
  // PumpEvents or message box (before the box is shown or recorded), and the program ends.
  // Scripts have no such event, so replays never meet it.
  void RequestEndSession() { endSessionRequested_ = true; }

  // --- What a test or the replay tool looks at.
  std::uint64_t Elapsed() const { return elapsed_; }  // virtual ms since the start
  TraceWriter& Trace() { return trace_; }
  void RecordEnd(const std::string& reason);  // the "end" line of the trace
  std::string Caption(WindowId window) const { return Win(window).caption; }
  bool Loaded(WindowId window) const { return Win(window).loaded; }
  bool Visible(WindowId window) const { return Win(window).visible; }
  Surface* AttachedSurface(WindowId window) const { return Win(window).surface; }
  int DroppedEvents() const { return dropped_; }
  bool Ended() const { return ended_; }

  // --- Backend.
  std::uint32_t TickCount() override;
  void Idle() override;
  void PumpEvents() override;
  std::uint32_t RandomSeed() override { return options_.seed; }
  void SetMainHandlers(MainWindowHandlers handlers) override;
  void AttachSurface(WindowId window, Surface* surface) override;
  void SetCaption(WindowId window, const std::string& utf8) override;
  void SetIcon(WindowId window, ImagePtr icon) override;
  void SetClientSize(WindowId window, int width, int height) override;
  void Move(WindowId window, int left, int top) override;
  void Show(WindowId window) override;
  void Hide(WindowId window) override;
  void Unload(WindowId window) override;
  WindowRect OuterRect(WindowId window) override;
  void ClientSize(WindowId window, int& width, int& height) override;
  void ScreenSize(int& width, int& height) override;
  MsgBoxAnswer MessageBox(const std::string& text, MsgBoxButtons buttons,
                          const std::string& caption) override;
  SoundSystem& Sound() override;
  std::string ProgramFolder() override { return options_.programFolder; }
  void Record(const TraceEvent& event) override;
  [[noreturn]] void End() override;

 private:
  struct Window {
    bool loaded = false;
    bool visible = false;
    int left = 0;  // outer frame, screen pixels
    int top = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    std::string caption;
    Surface* surface = nullptr;
    ImagePtr icon;
  };

  Window& Win(WindowId window) { return windows_[window == WindowId::Main ? 0 : 1]; }
  const Window& Win(WindowId window) const { return windows_[window == WindowId::Main ? 0 : 1]; }
  Window& Load(WindowId window);
  void RecordWindow(WindowId window, const char* op);
  int FrameLeft(WindowId window) const;
  int FrameTop(WindowId window) const;
  int FrameWidth(WindowId window) const;
  int FrameHeight(WindowId window) const;
  std::uint32_t Now() const { return options_.clock + static_cast<std::uint32_t>(elapsed_); }
  void CountSpin();
  void TakeDueSnapshots();
  void CheckEnd();
  void Deliver(const ScriptEvent& event);
  void DeliverPaint();
  void DeliverClose();
  void TakeEndSession();

  HeadlessOptions options_;
  TraceWriter trace_;
  std::uint64_t elapsed_ = 0;
  std::uint64_t spinsSinceIdle_ = 0;
  std::uint64_t endTime_ = std::numeric_limits<std::uint64_t>::max();
  std::vector<ScriptEvent> events_;  // by time, then in the order given
  std::size_t nextEvent_ = 0;
  std::vector<ScriptEvent> snaps_;  // by time
  std::size_t nextSnap_ = 0;
  std::deque<MsgBoxAnswer> answers_;
  Window windows_[2];
  MainWindowHandlers handlers_;
  bool paintPending_ = false;  // the window system's own paint after a show
  int dropped_ = 0;
  bool ended_ = false;
  bool endSessionRequested_ = false;
  std::function<void(const ScriptEvent&)> stateSetter_;
  std::function<void(const std::string&)> snapshotTaker_;
  std::unique_ptr<SoundSystem> sound_;
};
