// The main window's keys, paint and close, and the option controls.
#include "frontend/main_window_events.h"

#include "frontend/save_files.h"
#include "frontend_fixture.h"
#include "gameplay/game_state.h"
#include "gameplay/key_handling.h"
#include "platform/system.h"

namespace {

class MainWindowEventsTest : public FrontendTest {
 protected:
  void SetUp() override {
    FrontendTest::SetUp();
    ShowMain();
    InstallMainWindowHandlers();
    Backend().PumpEvents();  // the window's own first paint
    UserSettings.SoundOn = True;
  }
  void Down(int key) { Form_KeyDown(std::int16_t(key), 0); }
  void Up(int key) { Form_KeyUp(std::int16_t(key), 0); }
  int Count(const std::string& ev, const std::string& text) {
    int count = 0;
    for (const std::string& line : Lines(ev)) count += line.find(text) != std::string::npos;
    return count;
  }
  void Deliver(ScriptEventKind kind) {
    Backend().Schedule({.time = Backend().Elapsed(), .kind = kind});
    Backend().PumpEvents();
  }
};

TEST_F(MainWindowEventsTest, GameKeysDuringPlay) {
  Down(vbKeyZ), Down(vbKeyX), Down(vbKeyLeft), Down(vbKeyRight), Down(vbKeyDown);
  EXPECT_EQ(PressZ + PressX + PressLeft + PressRight + PressDown, 5);
  PressLeft = 2;  // applied once in manual mode: the key's repeats leave it so
  Down(vbKeyLeft), Down(vbKeyUp), Down(65);
  EXPECT_EQ(PressLeft, 2);
  EXPECT_EQ(OptCursor, 0);
  Up(vbKeyLeft);
  EXPECT_EQ(PressLeft, 0);
  EXPECT_EQ(PressZ + PressX + PressRight + PressDown, 4);  // only the released key
  Up(vbKeyZ), Up(vbKeyX), Up(vbKeyRight), Up(vbKeyDown);
  EXPECT_EQ(PressZ + PressX + PressRight + PressDown, 0);
}

TEST_F(MainWindowEventsTest, EscDuringALandingIsDroppedNotRemembered) {
  Busy = True;
  Down(vbKeyEscape);
  Busy = False;
  Backend().PumpEvents();
  EXPECT_EQ(OptionShown, False);
  Down(vbKeyEscape);
  EXPECT_EQ(OptionShown, True);
}

TEST_F(MainWindowEventsTest, CursorWrapsAndValuesChangeWithinLimits) {
  OptionShown = True;
  Down(vbKeyUp);
  EXPECT_EQ(OptCursor, 3);
  EXPECT_EQ(OptPulseAngle, -45);
  Down(vbKeyDown);
  EXPECT_EQ(OptCursor, 0);
  EXPECT_EQ(Count("sound", "Select.wav"), 2);
  Down(vbKeyLeft);  // at 0: no change, no sound
  Down(vbKeyRight), Down(vbKeyRight);
  EXPECT_EQ(UserSettings.KeySense, 2);
  EXPECT_EQ(Count("sound", "Change.wav"), 2);
  EXPECT_EQ(PressLeft + PressRight + PressDown, 0);
  UserSettings.KeySense = 200;  // from the file: lowered, never raised
  Down(vbKeyRight);
  EXPECT_EQ(UserSettings.KeySense, 200);
  Down(vbKeyLeft);
  EXPECT_EQ(UserSettings.KeySense, 199);
  UserSettings.KeySense = 5;
  Down(vbKeyRight);
  EXPECT_EQ(Count("sound", "Change.wav"), 3);
}

TEST_F(MainWindowEventsTest, MusicAndSoundSwitches) {
  OptionShown = True;
  OptCursor = 1;
  UserSettings.BgmOn = 1;  // read from a file: off, and one press turns it on
  Down(vbKeyLeft);
  EXPECT_EQ(UserSettings.BgmOn, True);
  EXPECT_EQ(Count("mci", "\"seek midifile to START\""), 1);
  EXPECT_EQ(Count("mci", "\"play midifile\""), 1);
  Down(vbKeyRight);
  EXPECT_EQ(UserSettings.BgmOn, False);
  EXPECT_EQ(Count("sound", "Change.wav"), 2);
  OptCursor = 2;
  Down(vbKeyRight);  // off: silent
  Down(vbKeyRight);
  EXPECT_EQ(UserSettings.SoundOn, True);
  EXPECT_EQ(Count("sound", "Change.wav"), 3);
}

TEST_F(MainWindowEventsTest, ZHeldAcrossTheClosingTurnsOnce) {
  Down(vbKeyEscape);
  Down(vbKeyZ);
  Down(vbKeyEscape);
  EXPECT_EQ(PressZ, 1);
  CurPiece[0] = CurPiece[1] = 2, CurPos = 74, CurDir = 0;
  HandleKeys();
  const std::uint8_t turned = CurDir;
  EXPECT_NE(turned, 0);
  Down(vbKeyZ);  // the key's repeats
  HandleKeys();
  EXPECT_EQ(CurDir, turned);
}

TEST_F(MainWindowEventsTest, QuitRowAsksAndNoCarriesOn) {
  OptionShown = True;
  OptCursor = 1;
  Form_KeyPress(vbKeyReturn);
  EXPECT_TRUE(MessageTexts().empty());
  OptCursor = 3;
  Backend().QueueAnswer(MsgBoxAnswer::No);
  Form_KeyPress(vbKeyReturn);
  EXPECT_EQ(Count("msgbox", "\"caption\":\"#Fumbo2\",\"text\":\"終了しますか？\""), 1);
  EXPECT_EQ(Count("window", "\"hide\""), 1);
  EXPECT_TRUE(Backend().Visible(WindowId::Main));
  EXPECT_EQ(OptionShown, True);
  EXPECT_TRUE(EndsProgram([this] { Deliver(ScriptEventKind::Close); }));  // Yes by default
  EXPECT_EQ(MessageTexts().size(), 4u);  // the question twice, then the two exit messages
}

// The session ends (a termination signal, the display gone): before the save files are read
// nothing is written; after, the exit's writes come first, with nothing of the window or the
// music before them and no message, also from the close question and from within the exit's
// own messages, where only what the exit has not written yet is written.
TEST_F(MainWindowEventsTest, EndOfSessionSavesFirstAndWithoutAMessage) {
  Backend().RequestEndSession();
  EXPECT_TRUE(EndsProgram([] { Idle(); }));
  EXPECT_FALSE(std::filesystem::exists(folder / "user.ini"));
  LoadSaveFiles();
  UserSettings.KeySense = 4;
  Score = HiScore = 7;
  const std::size_t before = Backend().Trace().Lines().size();
  Backend().RequestEndSession();
  EXPECT_TRUE(EndsProgram([] { MsgBox("終了しますか？", MsgBoxButtons::YesNo); }));
  EXPECT_TRUE(MessageTexts().empty());
  const auto& trace = Backend().Trace().Lines();
  ASSERT_EQ(trace.size(), before + 2);  // the two writes and nothing else
  EXPECT_NE(trace[before].find("\"name\":\"HighSc.sav\",\"op\":\"write\""), std::string::npos);
  EXPECT_NE(trace[before + 1].find("\"name\":\"user.ini\",\"op\":\"write\""), std::string::npos);
  EXPECT_EQ(ReadFile("user.ini"), (Bytes{4, 0, 0, 0, 0}));
  EXPECT_EQ(ReadFile("HighSc.sav"),
            (Bytes{0, 0, 7, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  HighScoreSaved = SettingsSaved = QuietExit = False;
  Score = HiScore = 9;
  UserSettings.KeySense = 5;
  Backend().RequestEndSession();  // taken at the record's message
  EXPECT_TRUE(EndsProgram([] { QuitGame(); }));
  EXPECT_TRUE(MessageTexts().empty());
  EXPECT_EQ(ReadFile("HighSc.sav")[2], 9);
  EXPECT_EQ(ReadFile("user.ini")[0], 5);
  EXPECT_EQ(Lines("file").size(), 6u);  // each file read once and written twice
}

TEST_F(MainWindowEventsTest, PaintRedrawsTheOpenOptionScreen) {
  OptionShown = True;
  Deliver(ScriptEventKind::Paint);
  EXPECT_EQ(OptPulseAngle, 5);
  EXPECT_EQ(Main().Pixel(367, 345), RGB(255, 255, 200));
}

}  // namespace
