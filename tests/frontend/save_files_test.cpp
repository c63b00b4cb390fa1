// The two save files through start-up's load and the exit: their bytes, the messages, and
// what happens when the folder cannot be written.
#include "frontend/save_files.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "frontend_fixture.h"
#include "gameplay/game_state.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kRecordSaved = "新記録更新！データを保存しました。";
const char* const kNoRecord = "新記録更新できませんでした・・。";

class SaveFilesTest : public FrontendTest {
 protected:
  // Loads both files, plays a game that ends with `score`, and quits.
  void PlayAndQuit(std::int32_t score) {
    LoadSaveFiles();
    HiScore = std::max(HighScoreRec.HiScore, score);
    Score = score;
    ASSERT_TRUE(EndsProgram([] { QuitGame(); }));
  }
  int FileWrites(const std::string& name) {
    int writes = 0;
    for (const std::string& line : Lines("file"))
      if (line.find(name) != std::string::npos && line.find("\"write\"") != std::string::npos)
        ++writes;
    return writes;
  }
};

TEST_F(SaveFilesTest, FirstRecordGameWritesTheWorkedExampleBytes) {
  UserSettings = {3, True, False};
  Level = 7;
  DelSum = 250;
  MaxCombo = 4;
  PlayAndQuit(900);
  EXPECT_EQ(ReadFile("HighSc.sav"),
            (Bytes{0x00, 0x00, 0x84, 0x03, 0x00, 0x00, 0x84, 0x03, 0x00, 0x00, 0x07,
                   0x00, 0xFA, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00}));
  // Loading the missing settings file gave zeros; the settings written are those of the game.
  EXPECT_EQ(ReadFile("user.ini"), (Bytes{0x00, 0x00, 0x00, 0x00, 0x00}));
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_EQ(MessageTexts()[0], kRecordSaved);
}

TEST_F(SaveFilesTest, SettingsChangedDuringPlayAreWrittenAtExit) {
  LoadSaveFiles();
  UserSettings = {3, True, False};
  ASSERT_TRUE(EndsProgram([] { QuitGame(); }));
  EXPECT_EQ(ReadFile("user.ini"), (Bytes{0x03, 0xFF, 0xFF, 0x00, 0x00}));
}

TEST_F(SaveFilesTest, ReservedAndTrailingBytesSurviveARecord) {
  Bytes old(30);
  for (int i = 0; i < 30; ++i) old[i] = static_cast<std::uint8_t>(0xA0 + i);
  old[6] = 100, old[7] = old[8] = old[9] = 0;  // stored high score 100
  WriteFile("HighSc.sav", old);
  PlayAndQuit(101);
  Bytes now = ReadFile("HighSc.sav");
  ASSERT_EQ(now.size(), 30u);
  EXPECT_EQ(now[0], old[0]);
  EXPECT_EQ(now[1], old[1]);
  for (int i = 17; i < 30; ++i) EXPECT_EQ(now[i], old[i]) << "byte " << i;
  EXPECT_EQ(now[2], 101);  // RecScore
  EXPECT_EQ(now[6], 101);  // HiScore
  EXPECT_EQ(MessageTexts()[0], kRecordSaved);
}

TEST_F(SaveFilesTest, EqualScoreIsNoRecordAndLeavesTheFileAlone) {
  Bytes old = {1, 2, 0, 0, 0, 0, 0xE8, 0x03, 0, 0, 3, 0, 4, 0, 0, 0, 5, 6, 7, 8, 9};
  WriteFile("HighSc.sav", old);
  PlayAndQuit(1000);
  EXPECT_EQ(ReadFile("HighSc.sav"), old);
  EXPECT_EQ(FileWrites("HighSc.sav"), 0);
  EXPECT_EQ(MessageTexts()[0], kNoRecord);
}

TEST_F(SaveFilesTest, ShortSettingsFileReadsZerosAndGrowsToFiveBytes) {
  WriteFile("user.ini", {0x02, 0xFF, 0xFF});
  LoadSaveFiles();
  EXPECT_EQ(UserSettings.KeySense, 2);
  EXPECT_EQ(UserSettings.BgmOn, True);
  EXPECT_EQ(UserSettings.SoundOn, 0);
  ASSERT_TRUE(EndsProgram([] { QuitGame(); }));
  EXPECT_EQ(ReadFile("user.ini"), (Bytes{0x02, 0xFF, 0xFF, 0x00, 0x00}));
}

TEST_F(SaveFilesTest, StoredValuesAreTakenAsTheyStand) {
  WriteFile("user.ini", {200, 0x01, 0x00, 0xFF, 0xFF, 0x77});
  LoadSaveFiles();
  EXPECT_EQ(UserSettings.KeySense, 200);
  EXPECT_EQ(UserSettings.BgmOn, 1);
  EXPECT_EQ(UserSettings.SoundOn, True);
  ASSERT_TRUE(EndsProgram([] { QuitGame(); }));
  EXPECT_EQ(ReadFile("user.ini"), (Bytes{200, 0x01, 0x00, 0xFF, 0xFF, 0x77}));
}

TEST_F(SaveFilesTest, LeftoverOfAnInterruptedSaveNeitherHarmsNorBlocks) {
  // A save that died between writing its new copy and putting it in place leaves the old
  // file whole beside a stray copy.
  Bytes old = {0, 0, 0, 0, 0, 0, 50, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  WriteFile("HighSc.sav", old);
  WriteFile("HighSc.sav.new", {0xDE, 0xAD});
  LoadSaveFiles();
  EXPECT_EQ(HighScoreRec.HiScore, 50);
  HiScore = Score = 60;
  ASSERT_TRUE(EndsProgram([] { QuitGame(); }));
  EXPECT_EQ(ReadFile("HighSc.sav")[6], 60);
  EXPECT_EQ(ReadFile("HighSc.sav").size(), 21u);
  EXPECT_FALSE(std::filesystem::exists(Folder() / "HighSc.sav.new"));
}

TEST_F(SaveFilesTest, ExitMessageShowsTheWholeFramesPerSecond) {
  FPS = 20.97;
  Backend().Show(WindowId::Main);
  PlayAndQuit(0);
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_EQ(MessageTexts()[1],
            "このバージョンは体験版ですので、まだまだ制作中です。\\n"
            "この下の値を作者まで送っていただけると幸いです。\\n"
            "詳しくはReadme.txtをお読み下さい。\\n\\nFPS = 20");
  // The window is gone before the first message, and nothing follows the second.
  auto lines = Backend().Trace().Lines();
  auto hide = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find("\"op\":\"hide\"") != std::string::npos;
  });
  auto box = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find("\"msgbox\"") != std::string::npos;
  });
  EXPECT_LT(hide - lines.begin(), box - lines.begin());
  EXPECT_TRUE(Backend().Ended());
}

TEST_F(SaveFilesTest, ExitBeforeTheFirstSecondShowsZero) {
  PlayAndQuit(0);
  EXPECT_TRUE(MessageTexts()[1].ends_with("FPS = 0"));
}

// A folder the player cannot write to: the game still loads, plays and ends, the old files
// are untouched, and a record that could not be kept is not announced as kept.
TEST_F(SaveFilesTest, FolderWithoutWriteAccess) {
  Bytes old = {0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  WriteFile("HighSc.sav", old);
  std::filesystem::permissions(
      Folder(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                    std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Root may write anywhere: play the part of an ordinary player.
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
      _exit(10);
    LoadSaveFiles();
    if (HighScoreRec.HiScore != 10 || UserSettings.KeySense != 0) _exit(11);
    HiScore = Score = 500;
    if (!EndsProgram([] { QuitGame(); })) _exit(12);
    auto texts = MessageTexts();
    if (texts.size() != 2 || texts[0] == kRecordSaved || texts[0].find("新記録更新！") != 0)
      _exit(13);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile("HighSc.sav"), old);
  EXPECT_FALSE(std::filesystem::exists(Folder() / "user.ini"));
}

}  // namespace
