// Scripted window events reach the main window's handlers at the right pump, in the right
// order, and only while the window is there; paint and close behave as the window system's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/system.h"

namespace {

class HeadlessEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend_);
    MainWindowHandlers handlers;
    handlers.KeyDown = [this](int code, int) { Log("down " + std::to_string(code)); };
    handlers.KeyUp = [this](int code, int) { Log("up " + std::to_string(code)); };
    handlers.KeyPress = [this](int code) { Log("press " + std::to_string(code)); };
    handlers.Paint = [this] { Log("paint"); };
    handlers.QueryUnload = [this](int& cancel) {
      Log("query");
      cancel = cancelClose_;
    };
    backend_.SetMainHandlers(handlers);
  }
  void TearDown() override { SetBackend(nullptr); }

  void Log(const std::string& what) {
    log_.push_back(std::to_string(backend_.Elapsed()) + " " + what);
  }
  void ShowMainAndSettle() {
    backend_.Show(WindowId::Main);
    DoEvents();  // the window system's own paint after showing
    log_.clear();
  }
  void At(std::uint64_t time, ScriptEventKind kind, int code = 0) {
    backend_.Schedule({.time = time, .kind = kind, .code = code});
  }

  HeadlessBackend backend_;
  std::vector<std::string> log_;
  int cancelClose_ = 0;
};

TEST_F(HeadlessEventsTest, EventsArriveAtTheFirstPumpAtOrAfterTheirTimeInScriptOrder) {
  ShowMainAndSettle();
  At(10, ScriptEventKind::KeyDown, vbKeyLeft);
  At(5, ScriptEventKind::KeyDown, vbKeyZ);
  At(10, ScriptEventKind::KeyUp, vbKeyLeft);
  At(10, ScriptEventKind::KeyPress, 13);
  WaitSince(GetTickCount(), 4);
  DoEvents();
  EXPECT_TRUE(log_.empty());
  WaitSince(GetTickCount(), 8);  // no pump while waiting: nothing is delivered
  EXPECT_TRUE(log_.empty());
  DoEvents();
  EXPECT_EQ(log_,
            (std::vector<std::string>{"12 down 90", "12 down 37", "12 up 37", "12 press 13"}));
  DoEvents();
  EXPECT_EQ(log_.size(), 4u);  // each event once
}

TEST_F(HeadlessEventsTest, AHandlerThatPumpsContinuesWithTheNextEvent) {
  ShowMainAndSettle();
  MainWindowHandlers handlers;
  handlers.KeyDown = [this](int code, int) {
    Log("down " + std::to_string(code));
    if (code == vbKeyEscape) {
      WaitSince(GetTickCount(), 3);
      DoEvents();
    }
  };
  backend_.SetMainHandlers(handlers);
  At(0, ScriptEventKind::KeyDown, vbKeyEscape);
  At(2, ScriptEventKind::KeyDown, vbKeyX);
  At(50, ScriptEventKind::KeyDown, vbKeyZ);
  DoEvents();
  EXPECT_EQ(log_, (std::vector<std::string>{"0 down 27", "3 down 88"}));
}

TEST_F(HeadlessEventsTest, EventsBeforeTheMainWindowIsShownAreDropped) {
  At(0, ScriptEventKind::KeyDown, vbKeyLeft);
  At(0, ScriptEventKind::Paint);
  At(0, ScriptEventKind::Close);
  DoEvents();
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(backend_.DroppedEvents(), 3);
  backend_.Show(WindowId::Main);
  DoEvents();
  EXPECT_EQ(log_, std::vector<std::string>{"0 paint"});  // only the paint of the showing
}

TEST_F(HeadlessEventsTest, PaintShowsThePictureAgainBeforeTheHandlerRuns) {
  Surface main(4, 3);
  auto picture = std::make_shared<Image>(4, 3, RGB(10, 20, 30));
  main.SetPicture(picture);
  backend_.AttachSurface(WindowId::Main, &main);
  ShowMainAndSettle();
  main.SetPixel(1, 1, RGB(255, 0, 0));
  Colour seen = 0;
  MainWindowHandlers handlers;
  handlers.Paint = [&] { seen = main.Pixel(1, 1); };
  backend_.SetMainHandlers(handlers);
  At(0, ScriptEventKind::Paint);
  DoEvents();
  EXPECT_EQ(seen, RGB(10, 20, 30));
}

TEST_F(HeadlessEventsTest, ShowingPaintsOnceAfterTheQueuedEvents) {
  At(0, ScriptEventKind::KeyDown, vbKeyDown);
  backend_.Show(WindowId::Main);
  DoEvents();
  DoEvents();
  EXPECT_EQ(log_, (std::vector<std::string>{"0 down 40", "0 paint"}));
  backend_.Show(WindowId::Main);  // already shown: no new paint
  DoEvents();
  EXPECT_EQ(log_.size(), 2u);
}

TEST_F(HeadlessEventsTest, CloseCancelledKeepsTheWindow) {
  ShowMainAndSettle();
  cancelClose_ = -1;
  At(0, ScriptEventKind::Close);
  DoEvents();
  EXPECT_EQ(log_, std::vector<std::string>{"0 query"});
  EXPECT_TRUE(backend_.Loaded(WindowId::Main));
  EXPECT_FALSE(backend_.Ended());
}

TEST_F(HeadlessEventsTest, CloseNotCancelledUnloadsTheWindowAndEndsTheProgram) {
  ShowMainAndSettle();
  At(0, ScriptEventKind::Close);
  EXPECT_THROW(DoEvents(), ProgramEnded);
  EXPECT_EQ(log_, std::vector<std::string>{"0 query"});
  EXPECT_FALSE(backend_.Loaded(WindowId::Main));
  EXPECT_NE(backend_.Trace().Lines().back().find(R"("op":"unload")"), std::string::npos);
}

TEST_F(HeadlessEventsTest, SetEventsGoToTheStateSetterEvenWithoutAWindow) {
  std::vector<std::string> seen;
  backend_.SetStateSetter([&](const ScriptEvent& event) { seen = event.words; });
  backend_.Schedule({.time = 0, .kind = ScriptEventKind::Set, .words = {"Score", "12"}});
  DoEvents();
  EXPECT_EQ(seen, (std::vector<std::string>{"Score", "12"}));
  EXPECT_EQ(backend_.DroppedEvents(), 0);
}

}  // namespace
