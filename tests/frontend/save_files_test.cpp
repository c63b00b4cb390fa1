// The two save files through start-up's load and the exit: their bytes, the messages, and a
// folder that cannot be written.
#include "frontend/save_files.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "frontend_fixture.h"
#include "gameplay/game_state.h"

namespace {

const char* const kRecordSaved = "新記録更新！データを保存しました。";

class SaveFilesTest : public FrontendTest {
 protected:
  // Loads both files, ends a game with `score`, and quits.
  bool PlayAndQuit(std::int32_t score) {
    LoadSaveFiles();
    HiScore = std::max(HighScoreRec.HiScore, score);
    Score = score;
    return EndsProgram([] { QuitGame(); });
  }
};

TEST_F(SaveFilesTest, FirstRecordGameWritesTheWorkedExample) {
  Backend().Show(WindowId::Main);
  ASSERT_TRUE(EndsProgram([] {
    LoadSaveFiles();  // both files missing: zeros
    UserSettings = {3, True, False};
    Score = HiScore = 900, Level = 7, DelSum = 250, MaxCombo = 4;
    QuitGame();
  }));
  EXPECT_EQ(ReadFile("HighSc.sav"),
            (Bytes{0, 0, 0x84, 3, 0, 0, 0x84, 3, 0, 0, 7, 0, 0xFA, 0, 0, 0, 4, 0, 0, 0, 0}));
  EXPECT_EQ(ReadFile("user.ini"), (Bytes{3, 0xFF, 0xFF, 0, 0}));
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_EQ(MessageTexts()[0], kRecordSaved);
  EXPECT_NE(Lines("window").back().find("\"op\":\"hide\""), std::string::npos);
}

TEST_F(SaveFilesTest, ReservedAndTrailingBytesSurviveARecord) {
  Bytes old(30);
  for (int i = 0; i < 30; ++i) old[i] = std::uint8_t(0xA0 + i);
  old[6] = 100, old[7] = old[8] = old[9] = 0;  // stored high score 100
  WriteFile("HighSc.sav", old);
  ASSERT_TRUE(PlayAndQuit(101));
  Bytes now = ReadFile("HighSc.sav");
  ASSERT_EQ(now.size(), 30u);
  for (int i : {0, 1, 17, 18, 19, 20, 21, 29}) EXPECT_EQ(now[i], old[i]) << "byte " << i;
  EXPECT_EQ(now[2], 101);  // RecScore
  EXPECT_EQ(now[6], 101);  // HiScore
}

TEST_F(SaveFilesTest, ShortAndOddSettingsAreTakenAsTheyStand) {
  WriteFile("user.ini", {2, 0xFF, 0xFF});
  ASSERT_TRUE(PlayAndQuit(0));
  EXPECT_EQ(UserSettings.BgmOn, True);
  EXPECT_EQ(UserSettings.SoundOn, 0);  // missing bytes read as zeros
  EXPECT_EQ(ReadFile("user.ini"), (Bytes{2, 0xFF, 0xFF, 0, 0}));
  WriteFile("user.ini", {200, 1, 0, 0xFF, 0xFF, 0x77});
  ASSERT_TRUE(PlayAndQuit(0));
  EXPECT_EQ(UserSettings.KeySense, 200);
  EXPECT_EQ(UserSettings.BgmOn, 1);
  EXPECT_EQ(ReadFile("user.ini"), (Bytes{200, 1, 0, 0xFF, 0xFF, 0x77}));
}

TEST_F(SaveFilesTest, CrashWhileSavingLeavesTheOldFileWhole) {
  const Bytes old = {0, 0, 0, 0, 0, 0, 50, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  WriteFile("HighSc.sav", old);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {  // killed by the file-size limit at the write of the record
    rlimit limit{0, 0}, noCore{0, 0};
    setrlimit(RLIMIT_FSIZE, &limit);
    setrlimit(RLIMIT_CORE, &noCore);
    PlayAndQuit(60);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
  EXPECT_EQ(ReadFile("HighSc.sav"), old);
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    EXPECT_TRUE(entry.path().filename() == "HighSc.sav" || entry.path().filename() == "user.ini")
        << entry.path() << " was left behind";
  // The next exit saves over what the crash left behind.
  ASSERT_TRUE(PlayAndQuit(60));
  EXPECT_EQ(ReadFile("HighSc.sav")[6], 60);
}

TEST_F(SaveFilesTest, EqualScoreIsNoRecordAndTheExitShowsWholeFramesPerSecond) {
  Bytes old = {1, 2, 0, 0, 0, 0, 0xE8, 3, 0, 0, 3, 0, 4, 0, 0, 0, 5, 6, 7, 8, 9};
  WriteFile("HighSc.sav", old);
  FPS = 20.97;
  ASSERT_TRUE(PlayAndQuit(1000));
  EXPECT_EQ(ReadFile("HighSc.sav"), old);
  EXPECT_EQ(MessageTexts()[0], "新記録更新できませんでした・・。");
  EXPECT_EQ(MessageTexts()[1],
            "このバージョンは体験版ですので、まだまだ制作中です。\\n"
            "この下の値を作者まで送っていただけると幸いです。\\n"
            "詳しくはReadme.txtをお読み下さい。\\n\\nFPS = 20");
  FPS.reset();  // quit before the first second of play
  ASSERT_TRUE(PlayAndQuit(0));
  EXPECT_TRUE(MessageTexts()[3].ends_with("FPS = 0"));
}

// The game still loads, plays and ends; the old file is untouched, and a record that could
// not be kept is not announced as kept.
TEST_F(SaveFilesTest, FolderWithoutWriteAccess) {
  Bytes old = {0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  WriteFile("HighSc.sav", old);
  std::filesystem::permissions(
      folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                  std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {  // as an ordinary player: root may write anywhere
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
      _exit(10);
    if (!PlayAndQuit(500)) _exit(11);
    auto texts = MessageTexts();
    bool honest = texts.size() == 2 && texts[0] != kRecordSaved && texts[0].starts_with("新記録");
    _exit(HighScoreRec.HiScore == 500 && honest ? 0 : 12);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile("HighSc.sav"), old);
  EXPECT_FALSE(std::filesystem::exists(folder / "user.ini"));
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
}

}  // namespace
