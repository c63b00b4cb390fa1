// The modelled windows and message boxes of the headless back end, as the trace records
// them, and the replay script that drives it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/system.h"

namespace {

class HeadlessWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetBackend(&backend_); }
  void TearDown() override { SetBackend(nullptr); }
  const std::vector<std::string>& Lines() { return backend_.Trace().Lines(); }

  HeadlessBackend backend_;
};

TEST_F(HeadlessWindowsTest, TheMainWindowHasAFrameThatTheClientSizeDoesNotInclude) {
  backend_.SetClientSize(WindowId::Main, 380, 400);
  WindowRect outer = backend_.OuterRect(WindowId::Main);
  EXPECT_EQ(outer.width, 380 + 2 * HeadlessBackend::kFrameSide);
  EXPECT_EQ(outer.height, 400 + HeadlessBackend::kFrameCaption + HeadlessBackend::kFrameSide);
  int width = 0, height = 0;
  backend_.ScreenSize(width, height);
  backend_.Move(WindowId::Main, (width - outer.width) / 2, (height - outer.height) / 2);
  backend_.Show(WindowId::Main);
  ASSERT_EQ(Lines().size(), 3u);
  EXPECT_EQ(Lines()[0], R"({"t":0,"ev":"window","window":"main","op":"size","x":3,"y":26,)"
                        R"("w":380,"h":400})");
  EXPECT_EQ(Lines()[2], R"({"t":0,"ev":"window","window":"main","op":"show","x":322,"y":195,)"
                        R"("w":380,"h":400})");
}

TEST_F(HeadlessWindowsTest, TheSplashHasNoFrameAndOnlyRealChangesAreRecorded) {
  backend_.SetClientSize(WindowId::Splash, 200, 70);
  EXPECT_EQ(backend_.OuterRect(WindowId::Splash).width, 200);
  backend_.Move(WindowId::Splash, 412, 0);
  backend_.Move(WindowId::Splash, 412, 0);
  backend_.Show(WindowId::Splash);
  backend_.Show(WindowId::Splash);
  backend_.Unload(WindowId::Splash);
  backend_.Unload(WindowId::Splash);
  ASSERT_EQ(Lines().size(), 4u);
  EXPECT_NE(Lines()[1].find(R"("op":"move","x":412,"y":0,"w":200,"h":70)"), std::string::npos);
  EXPECT_NE(Lines()[3].find(R"("window":"splash","op":"unload")"), std::string::npos);
  EXPECT_FALSE(backend_.Loaded(WindowId::Splash));
}

TEST_F(HeadlessWindowsTest, CaptionsAreRecordedInUtf8AsSet) {
  backend_.SetCaption(WindowId::Main, "#Fumbo!2nd  （体験版） [ 1 分 ]");
  EXPECT_EQ(Lines().back(),
            R"({"t":0,"ev":"caption","window":"main","text":"#Fumbo!2nd  （体験版） [ 1 分 ]"})");
  EXPECT_EQ(backend_.Caption(WindowId::Main), "#Fumbo!2nd  （体験版） [ 1 分 ]");
}

TEST_F(HeadlessWindowsTest, MessageBoxesTakeQueuedAnswersThenTheDefaultButton) {
  backend_.QueueAnswer(MsgBoxAnswer::No);
  backend_.QueueAnswer(MsgBoxAnswer::Ok);
  EXPECT_EQ(MsgBox("終了しますか？", MsgBoxButtons::YesNo), MsgBoxAnswer::No);
  EXPECT_EQ(MsgBox("a\nb", MsgBoxButtons::Ok), MsgBoxAnswer::Ok);
  EXPECT_EQ(MsgBox("again", MsgBoxButtons::YesNo), MsgBoxAnswer::Yes);
  EXPECT_EQ(MsgBox("fine", MsgBoxButtons::Ok, "Other"), MsgBoxAnswer::Ok);
  ASSERT_EQ(Lines().size(), 4u);
  EXPECT_EQ(Lines()[0], R"({"t":0,"ev":"msgbox","caption":"#Fumbo2","text":"終了しますか？",)"
                        R"("buttons":"yesno","answer":"no"})");
  EXPECT_NE(Lines()[1].find(R"("text":"a\nb","buttons":"ok","answer":"ok")"), std::string::npos);
  EXPECT_NE(Lines()[3].find(R"("caption":"Other")"), std::string::npos);
}

TEST_F(HeadlessWindowsTest, AnAnswerThatIsNotOnTheBoxGivesItsDefault) {
  backend_.QueueAnswer(MsgBoxAnswer::No);
  backend_.QueueAnswer(MsgBoxAnswer::Ok);
  EXPECT_EQ(MsgBox("ok box", MsgBoxButtons::Ok), MsgBoxAnswer::Ok);
  EXPECT_EQ(MsgBox("yes/no box", MsgBoxButtons::YesNo), MsgBoxAnswer::Yes);
}

TEST_F(HeadlessWindowsTest, MessageBoxesTakeNoVirtualTime) {
  MsgBox("x", MsgBoxButtons::Ok);
  EXPECT_EQ(backend_.Elapsed(), 0u);
}

// --- The script.

TEST(ReplayScriptTest, ReadsEveryCommandWithCommentsAndBlankLines) {
  ReplayScript script = ParseReplayScriptText(
      "# a game\n\nseed 42\nclock 4294967000\nanswer no\nanswer yes # then quit\n"
      "at 100 key-down Left\nat 100 key-up 37\nat 5 key-press 13\nat 7 close\n"
      "at 8 paint\n  at 9\tset Board 3 1 2\nat 10 snap first\nend 60000\n");
  EXPECT_EQ(script.seed, 42u);
  EXPECT_EQ(script.clock, 4294967000u);
  EXPECT_EQ(script.answers, (std::vector<MsgBoxAnswer>{MsgBoxAnswer::No, MsgBoxAnswer::Yes}));
  ASSERT_EQ(script.events.size(), 7u);
  EXPECT_EQ(script.events[0].kind, ScriptEventKind::KeyDown);
  EXPECT_EQ(script.events[0].code, vbKeyLeft);
  EXPECT_EQ(script.events[0].line, 7);
  EXPECT_EQ(script.events[1].code, 37);
  EXPECT_EQ(script.events[2].kind, ScriptEventKind::KeyPress);
  EXPECT_EQ(script.events[5].words, (std::vector<std::string>{"Board", "3", "1", "2"}));
  EXPECT_EQ(script.events[6].words, std::vector<std::string>{"first"});
  EXPECT_EQ(script.endTime, 60000u);
}

TEST(ReplayScriptTest, DefaultsAreSeed1AndClock100000) {
  ReplayScript script = ParseReplayScriptText("");
  EXPECT_EQ(script.seed, 1u);
  EXPECT_EQ(script.clock, 100000u);
  EXPECT_FALSE(script.endTime);
}

TEST(ReplayScriptTest, KeyNames) {
  EXPECT_EQ(KeyCodeFromName("Escape"), vbKeyEscape);
  EXPECT_EQ(KeyCodeFromName("Return"), vbKeyReturn);
  EXPECT_EQ(KeyCodeFromName("X"), vbKeyX);
  EXPECT_EQ(KeyCodeFromName("90"), vbKeyZ);
  EXPECT_FALSE(KeyCodeFromName("left"));
  EXPECT_FALSE(KeyCodeFromName("0"));
  EXPECT_FALSE(KeyCodeFromName("-37"));
}

int ErrorLine(const std::string& text) {
  try {
    ParseReplayScriptText(text);
  } catch (const ScriptError& error) {
    return error.Line();
  }
  return -1;
}

TEST(ReplayScriptTest, UnreadableLinesAreReportedWithTheirNumber) {
  EXPECT_EQ(ErrorLine("seed 1\nsee 2\n"), 2);
  EXPECT_EQ(ErrorLine("\n\nat x key-down Left\n"), 3);
  EXPECT_EQ(ErrorLine("at 1 key-down Home\n"), 1);
  EXPECT_EQ(ErrorLine("at 1 key-press 256\n"), 1);
  EXPECT_EQ(ErrorLine("seed 4294967296\n"), 1);
  EXPECT_EQ(ErrorLine("seed -1\n"), 1);
  EXPECT_EQ(ErrorLine("answer maybe\n"), 1);
  EXPECT_EQ(ErrorLine("at 1 close now\n"), 1);
  EXPECT_EQ(ErrorLine("at 1 set Score\n"), 1);
  EXPECT_EQ(ErrorLine("at 1 snap ../escape\n"), 1);
  EXPECT_EQ(ErrorLine("end 5\nend 6\n"), 2);
  EXPECT_EQ(ErrorLine("# fine\nat 1 paint\n"), -1);
}

}  // namespace
