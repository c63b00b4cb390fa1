// The main window's keys, paint and close, and the option controls.
#include "frontend/main_window_events.h"

#include "frontend_fixture.h"
#include "gameplay/game_state.h"
#include "gameplay/key_handling.h"
#include "gameplay/surfaces.h"

namespace {

class MainWindowEventsTest : public FrontendTest {
 protected:
  void SetUp() override {
    FrontendTest::SetUp();
    Main().SetPicture(GameBackgroundPicture());
    BackPSub().SetPicture(GameBackgroundPicture());
    Backend().AttachSurface(WindowId::Main, &Main());
    Backend().Show(WindowId::Main);
    UserSettings.SoundOn = True;
  }
  void Down(int key) { Form_KeyDown(static_cast<std::int16_t>(key), 0); }
  void Up(int key) { Form_KeyUp(static_cast<std::int16_t>(key), 0); }
  int Sounds(const std::string& name) {
    int count = 0;
    for (const std::string& line : Lines("sound")) count += line.find(name) != std::string::npos;
    return count;
  }
  bool MciSent(const std::string& command) {
    for (const std::string& line : Lines("mci"))
      if (line.find("\"cmd\":\"" + command + "\"") != std::string::npos) return true;
    return false;
  }
};

TEST_F(MainWindowEventsTest, GameKeysSetTheirStatesOnlyFromUp) {
  Down(vbKeyZ), Down(vbKeyX), Down(vbKeyLeft), Down(vbKeyRight), Down(vbKeyDown);
  EXPECT_EQ(PressZ + PressX + PressLeft + PressRight + PressDown, 5);
  PressLeft = 2;  // applied once in manual mode: the key's repeats leave it alone
  Down(vbKeyLeft), Down(vbKeyUp), Down(65);
  EXPECT_EQ(PressLeft, 2);
  EXPECT_EQ(OptCursor, 0);  // Up does nothing during play
  Up(vbKeyLeft);
  EXPECT_EQ(PressLeft, 0);
  EXPECT_EQ(PressZ + PressX + PressRight + PressDown, 4);
  Up(vbKeyZ), Up(vbKeyX), Up(vbKeyRight), Up(vbKeyDown), Up(vbKeyEscape);
  EXPECT_EQ(PressZ + PressX + PressRight + PressDown, 0);
}

TEST_F(MainWindowEventsTest, EscDuringALandingIsDroppedNotRemembered) {
  Busy = True;
  Down(vbKeyEscape);
  EXPECT_EQ(OptionShown, False);
  Busy = False;
  Backend().PumpEvents();
  EXPECT_EQ(OptionShown, False);
  const std::uint64_t start = Backend().Elapsed();
  Down(vbKeyEscape);
  EXPECT_EQ(OptionShown, True);
  EXPECT_EQ(Backend().Elapsed() - start, 41u * 30);
}

TEST_F(MainWindowEventsTest, OptionScreenKeysMoveTheCursorAndChangeValues) {
  Down(vbKeyEscape);
  Down(vbKeyUp);
  EXPECT_EQ(OptCursor, 3);
  EXPECT_EQ(OptPulseAngle, -45);
  Down(vbKeyDown);
  EXPECT_EQ(OptCursor, 0);
  EXPECT_EQ(Sounds("Select.wav"), 2);
  // Left and Right change the option and never reach the pair; Z and X still do.
  Down(vbKeyRight), Down(vbKeyRight);
  EXPECT_EQ(UserSettings.KeySense, 2);
  Down(vbKeyLeft);
  EXPECT_EQ(UserSettings.KeySense, 1);
  EXPECT_EQ(PressLeft + PressRight + PressDown, 0);
  Down(vbKeyZ);
  EXPECT_EQ(PressZ, 1);
  EXPECT_EQ(Sounds("Change.wav"), 3);
}

TEST_F(MainWindowEventsTest, KeySensitivityStopsAtItsLimitsSilently) {
  OptionShown = True;
  Down(vbKeyLeft);
  EXPECT_EQ(UserSettings.KeySense, 0);
  UserSettings.KeySense = 5;
  Down(vbKeyRight);
  EXPECT_EQ(UserSettings.KeySense, 5);
  EXPECT_EQ(Sounds("Change.wav"), 0);
  UserSettings.KeySense = 200;  // from the file: can be lowered, not raised
  Down(vbKeyRight);
  EXPECT_EQ(UserSettings.KeySense, 200);
  Down(vbKeyLeft);
  EXPECT_EQ(UserSettings.KeySense, 199);
}

TEST_F(MainWindowEventsTest, MusicSwitchRewindsAndPlaysTheGameTune) {
  OptionShown = True;
  OptCursor = 1;
  Down(vbKeyLeft);
  EXPECT_EQ(UserSettings.BgmOn, True);
  EXPECT_TRUE(MciSent("seek midifile to START"));
  EXPECT_TRUE(MciSent("play midifile"));
  Down(vbKeyRight);
  EXPECT_EQ(UserSettings.BgmOn, False);
  EXPECT_TRUE(MciSent("stop midifile "));
  EXPECT_EQ(Sounds("Change.wav"), 2);
  // A switch read as 1 shows "Off"; one press turns the music on.
  UserSettings.BgmOn = 1;
  Down(vbKeyRight);
  EXPECT_EQ(UserSettings.BgmOn, True);
}

TEST_F(MainWindowEventsTest, SoundSwitchIsHeardOnlyWhenTurnedOn) {
  OptionShown = True;
  OptCursor = 2;
  Down(vbKeyRight);
  EXPECT_EQ(UserSettings.SoundOn, False);
  EXPECT_EQ(Sounds("Change.wav"), 0);
  Down(vbKeyRight);
  EXPECT_EQ(UserSettings.SoundOn, True);
  EXPECT_EQ(Sounds("Change.wav"), 1);
  OptCursor = 3;
  Down(vbKeyRight);
  EXPECT_EQ(Sounds("Change.wav"), 1);
}

TEST_F(MainWindowEventsTest, ZHeldAcrossTheClosingTurnsOnce) {
  Down(vbKeyEscape);
  Down(vbKeyZ);
  Down(vbKeyEscape);
  EXPECT_EQ(OptionShown, False);
  EXPECT_EQ(PressZ, 1);
  CurPiece[0] = CurPiece[1] = 2;
  CurPos = 74;
  CurDir = 0;
  Backend().Idle();
  HandleKeys();
  const std::uint8_t turned = CurDir;
  EXPECT_NE(turned, 0);
  Down(vbKeyZ);  // the key's repeats
  HandleKeys();
  EXPECT_EQ(CurDir, turned);
}

TEST_F(MainWindowEventsTest, EnterOnTheQuitRowAsksAndNoCarriesOn) {
  OptionShown = True;
  OptCursor = 1;
  Form_KeyPress(vbKeyReturn);
  EXPECT_TRUE(MessageTexts().empty());
  OptCursor = 3;
  Backend().QueueAnswer(MsgBoxAnswer::No);
  Form_KeyPress(vbKeyReturn);
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_EQ(MessageTexts()[0], "終了しますか？");
  EXPECT_NE(Lines("msgbox")[0].find("\"caption\":\"#Fumbo2\""), std::string::npos);
  EXPECT_TRUE(Backend().Visible(WindowId::Main));
  EXPECT_EQ(OptionShown, True);
  EXPECT_EQ(OptCursor, 3);
  Backend().QueueAnswer(MsgBoxAnswer::Yes);
  EXPECT_TRUE(EndsProgram([] { Form_KeyPress(vbKeyReturn); }));
}

TEST_F(MainWindowEventsTest, CloseRequestHidesAsksAndQuitsOnYes) {
  InstallMainWindowHandlers();
  ScriptEvent close;
  close.kind = ScriptEventKind::Close;
  Backend().Schedule(close);
  EXPECT_TRUE(EndsProgram([this] { Backend().PumpEvents(); }));
  auto windows = Lines("window");
  EXPECT_NE(windows.back().find("\"op\":\"hide\""), std::string::npos);
  ASSERT_EQ(MessageTexts().size(), 3u);  // the question, the record message, the exit message
  EXPECT_EQ(MessageTexts()[0], "終了しますか？");
}

TEST_F(MainWindowEventsTest, PaintRedrawsTheOptionScreenWhileItIsOpen) {
  InstallMainWindowHandlers();
  OptionShown = True;
  OptPulseAngle = 0;
  ScriptEvent paint;
  paint.kind = ScriptEventKind::Paint;
  Backend().Schedule(paint);
  Backend().PumpEvents();
  EXPECT_EQ(OptPulseAngle, 5);
  EXPECT_EQ(Main().Pixel(367, 345), RGB(255, 255, 200));
}

}  // namespace
