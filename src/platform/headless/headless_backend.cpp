#include "platform/headless/headless_backend.h"

#include <fcntl.h>

#include <algorithm>
#include <cstdio>

#include "platform/audio/sequencer_device.h"
#include "platform/audio/sound_system.h"
#include "platform/file_access.h"
#include "platform/system.h"

namespace {

// Calls of GetTickCount or DoEvents without one Idle() between them after which the run is
// taken to hang: far more than any frame of the game makes.
constexpr std::uint64_t kMaxSpinsWithoutIdle = 20'000'000;

// A window's size as the form designer leaves it, before the program fits it.
constexpr int kDesignWidth = 320;
constexpr int kDesignHeight = 240;

// Stands in if no virtual sound system can be made: nothing plays, no tune opens.
class SilentSoundSystem : public SoundSystem {
 public:
  std::unique_ptr<SequencerDevice> OpenSequencer(const std::string&, std::uint32_t* error,
                                                 std::string* why) override {
    if (error != nullptr) *error = 275;  // as a missing file
    if (why != nullptr) *why = "no sequencer";
    return nullptr;
  }

 protected:
  bool StartEffect(const std::string& path, EffectFailure& failure) override {
    int error = 0;
    if (OpenRegularFile(path, O_RDONLY, error)) return true;
    failure = EffectFailure::OfFile(error);
    return false;
  }
};

const char* WindowName(WindowId window) { return window == WindowId::Main ? "main" : "splash"; }

const char* AnswerName(MsgBoxAnswer answer) {
  switch (answer) {
    case MsgBoxAnswer::Yes:
      return "yes";
    case MsgBoxAnswer::No:
      return "no";
    default:
      return "ok";
  }
}

}  // namespace

HeadlessBackend::HeadlessBackend(HeadlessOptions options)
    : options_(std::move(options)), trace_(options_.traceSink, options_.keepTrace) {
  for (WindowId id : {WindowId::Main, WindowId::Splash}) {
    Window& window = Win(id);
    window.clientWidth = kDesignWidth - FrameWidth(id);
    window.clientHeight = kDesignHeight - FrameHeight(id);
  }
}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::LoadScript(const ReplayScript& script) {
  for (MsgBoxAnswer answer : script.answers) QueueAnswer(answer);
  for (const ScriptEvent& event : script.events) Schedule(event);
  if (script.endTime) SetEndTime(*script.endTime);
}

void HeadlessBackend::Schedule(const ScriptEvent& event) {
  auto& list = event.kind == ScriptEventKind::Snap ? snaps_ : events_;
  std::size_t first = event.kind == ScriptEventKind::Snap ? nextSnap_ : nextEvent_;
  auto at = std::upper_bound(
      list.begin() + static_cast<std::ptrdiff_t>(first), list.end(), event.time,
      [](std::uint64_t time, const ScriptEvent& other) { return time < other.time; });
  list.insert(at, event);
}

void HeadlessBackend::SetStateSetter(std::function<void(const ScriptEvent&)> setter) {
  stateSetter_ = std::move(setter);
}

void HeadlessBackend::SetSnapshotTaker(std::function<void(const std::string&)> taker) {
  snapshotTaker_ = std::move(taker);
}

void HeadlessBackend::RecordEnd(const std::string& reason) {
  trace_.Write(elapsed_, EndFields(reason));
}

// --- Time and events.

std::uint32_t HeadlessBackend::TickCount() {
  CountSpin();
  return Now();
}

void HeadlessBackend::Idle() {
  TakeEndSession();
  spinsSinceIdle_ = 0;
  ++elapsed_;
  TakeDueSnapshots();
  CheckEnd();
}

void HeadlessBackend::PumpEvents() {
  TakeEndSession();
  CountSpin();
  TakeDueSnapshots();
  CheckEnd();
  while (nextEvent_ < events_.size() && events_[nextEvent_].time <= elapsed_) {
    ScriptEvent event = events_[nextEvent_++];  // a handler may schedule more
    Deliver(event);
  }
  // The window system paints only when nothing else is queued.
  if (paintPending_ && Win(WindowId::Main).visible) DeliverPaint();
}

void HeadlessBackend::CountSpin() {
  if (++spinsSinceIdle_ > kMaxSpinsWithoutIdle)
    throw HeadlessStall("the program spins without waiting (no Idle) at virtual time " +
                        std::to_string(elapsed_) + " ms");
}

void HeadlessBackend::TakeDueSnapshots() {
  while (nextSnap_ < snaps_.size() && snaps_[nextSnap_].time <= elapsed_) {
    const std::string name = snaps_[nextSnap_++].words.at(0);
    if (snapshotTaker_) snapshotTaker_(name);
    trace_.Write(elapsed_, SnapFields(name));
  }
}

void HeadlessBackend::CheckEnd() {
  if (elapsed_ >= endTime_) throw ReplayEndReached{};
}

void HeadlessBackend::Deliver(const ScriptEvent& event) {
  if (event.kind == ScriptEventKind::Set) {
    if (stateSetter_) stateSetter_(event);
    return;
  }
  if (!Win(WindowId::Main).visible) {
    ++dropped_;  // nothing of ours has the focus yet (or any more)
    return;
  }
  switch (event.kind) {
    case ScriptEventKind::KeyDown:
      if (handlers_.KeyDown) handlers_.KeyDown(event.code, 0);
      break;
    case ScriptEventKind::KeyUp:
      if (handlers_.KeyUp) handlers_.KeyUp(event.code, 0);
      break;
    case ScriptEventKind::KeyPress:
      if (handlers_.KeyPress) handlers_.KeyPress(event.code);
      break;
    case ScriptEventKind::Paint:
      DeliverPaint();
      break;
    case ScriptEventKind::Close:
      DeliverClose();
      break;
    default:
      break;
  }
}

void HeadlessBackend::DeliverPaint() {
  paintPending_ = false;
  if (Surface* surface = Win(WindowId::Main).surface) surface->Cls();
  if (handlers_.Paint) handlers_.Paint();
}

void HeadlessBackend::TakeEndSession() {
  if (!endSessionRequested_) return;
  endSessionRequested_ = false;
  if (handlers_.EndSession) handlers_.EndSession();
  End();
}

void HeadlessBackend::DeliverClose() {
  int cancel = 0;
  if (handlers_.QueryUnload) handlers_.QueryUnload(cancel);
  if (cancel != 0) return;
  Unload(WindowId::Main);
  End();
}

// --- Windows.

void HeadlessBackend::SetMainHandlers(MainWindowHandlers handlers) {
  handlers_ = std::move(handlers);
}

void HeadlessBackend::AttachSurface(WindowId window, Surface* surface) {
  Win(window).surface = surface;
}

HeadlessBackend::Window& HeadlessBackend::Load(WindowId window) {
  Window& w = Win(window);
  w.loaded = true;
  return w;
}

void HeadlessBackend::SetCaption(WindowId window, const std::string& utf8) {
  Load(window).caption = utf8;
  trace_.Write(elapsed_, CaptionFields(WindowName(window), utf8));
}

void HeadlessBackend::SetIcon(WindowId window, ImagePtr icon) {
  Load(window).icon = std::move(icon);
}

void HeadlessBackend::SetClientSize(WindowId window, int width, int height) {
  Window& w = Load(window);
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (w.clientWidth == width && w.clientHeight == height) return;
  w.clientWidth = width;
  w.clientHeight = height;
  RecordWindow(window, "size");
}

void HeadlessBackend::Move(WindowId window, int left, int top) {
  Window& w = Load(window);
  if (w.left == left && w.top == top) return;
  w.left = left;
  w.top = top;
  RecordWindow(window, "move");
}

void HeadlessBackend::Show(WindowId window) {
  Window& w = Load(window);
  if (w.visible) return;
  w.visible = true;
  RecordWindow(window, "show");
  if (window == WindowId::Main) paintPending_ = true;
}

void HeadlessBackend::Hide(WindowId window) {
  Window& w = Load(window);
  if (!w.visible) return;
  w.visible = false;
  RecordWindow(window, "hide");
}

void HeadlessBackend::Unload(WindowId window) {
  Window& w = Win(window);
  if (!w.loaded) return;
  RecordWindow(window, "unload");
  // A window loaded again starts from its design, as a form does.
  w = Window{};
  w.clientWidth = kDesignWidth - FrameWidth(window);
  w.clientHeight = kDesignHeight - FrameHeight(window);
  if (window == WindowId::Main) paintPending_ = false;
}

int HeadlessBackend::FrameLeft(WindowId window) const {
  return window == WindowId::Main ? kFrameSide : 0;
}

int HeadlessBackend::FrameTop(WindowId window) const {
  return window == WindowId::Main ? kFrameCaption : 0;
}

int HeadlessBackend::FrameWidth(WindowId window) const {
  return window == WindowId::Main ? 2 * kFrameSide : 0;
}

int HeadlessBackend::FrameHeight(WindowId window) const {
  return window == WindowId::Main ? kFrameCaption + kFrameSide : 0;
}

void HeadlessBackend::RecordWindow(WindowId window, const char* op) {
  const Window& w = Win(window);
  trace_.Write(elapsed_, WindowFields(WindowName(window), op, w.left + FrameLeft(window),
                                      w.top + FrameTop(window), w.clientWidth, w.clientHeight));
}

WindowRect HeadlessBackend::OuterRect(WindowId window) {
  const Window& w = Win(window);
  return {w.left, w.top, w.clientWidth + FrameWidth(window), w.clientHeight + FrameHeight(window)};
}

void HeadlessBackend::ClientSize(WindowId window, int& width, int& height) {
  width = Win(window).clientWidth;
  height = Win(window).clientHeight;
}

void HeadlessBackend::ScreenSize(int& width, int& height) {
  width = kScreenWidth;
  height = kScreenHeight;
}

// --- Message boxes, sound, records, the end.

MsgBoxAnswer HeadlessBackend::MessageBox(const std::string& text, MsgBoxButtons buttons,
                                         const std::string& caption) {
  TakeEndSession();  // nobody is there to answer
  const MsgBoxAnswer fallback =
      buttons == MsgBoxButtons::YesNo ? MsgBoxAnswer::Yes : MsgBoxAnswer::Ok;
  MsgBoxAnswer answer = fallback;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
    const bool fits = (buttons == MsgBoxButtons::YesNo) == (answer != MsgBoxAnswer::Ok);
    if (!fits) {
      std::fprintf(stderr, "fumbo-replay: answer %s does not fit a %s box; taking %s\n",
                   AnswerName(answer), buttons == MsgBoxButtons::YesNo ? "Yes/No" : "OK",
                   AnswerName(fallback));
      answer = fallback;
    }
  }
  trace_.Write(elapsed_,
               MsgBoxFields(caption, text, buttons == MsgBoxButtons::YesNo ? "yesno" : "ok",
                            AnswerName(answer)));
  return answer;
}

SoundSystem& HeadlessBackend::Sound() {
  if (!sound_) {
    sound_ = CreateVirtualSoundSystem([this] { return Now(); });
    if (!sound_) sound_ = std::make_unique<SilentSoundSystem>();
  }
  return *sound_;
}

void HeadlessBackend::Record(const TraceEvent& event) { trace_.Write(elapsed_, event.json); }

void HeadlessBackend::End() {
  ended_ = true;
  throw ProgramEnded{};
}
