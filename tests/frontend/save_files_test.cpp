// The two save files through start-up's load and the exit: their bytes, the messages, and a
// folder that cannot be written.
#include "frontend/save_files.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "frontend_fixture.h"
#include "gameplay/game_state.h"

namespace {

const char* const kRecordSaved = "新記録更新！データを保存しました。";

class SaveFilesTest : public FrontendTest {
 protected:
  // Loads both files, ends a game with `score`, and quits.
  bool PlayAndQuit(std::int32_t score) {
    HighScoreSaved = SettingsSaved = False;  // as in a new run of the program
    LoadSaveFiles();
    HiScore = std::max(HighScoreRec.HiScore, score);
    Score = score;
    return EndsProgram([] { QuitGame(); });
  }

  // Runs `body` in a child as an ordinary player (root may write anywhere); its exit status.
  static int AsPlayer(const std::function<int()>& body) {
    pid_t child = fork();
    if (child == 0) {
      if (geteuid() == 0 &&
          (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
        _exit(10);
      _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // The folder and these of its files belong to the player who runs AsPlayer.
  void GiveToPlayer(std::initializer_list<const char*> names) const {
    if (geteuid() != 0) return;
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    for (const char* name : names) ASSERT_EQ(chown((folder / name).c_str(), 65534, 65534), 0);
  }
  mode_t Mode(const std::string& name) const {
    struct stat info {};
    return lstat((folder / name).c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
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

// The file-size limit cuts the record's write after 10 bytes, over a whole record and over a
// file shorter than one: the old bytes and length come back, the game says the record was not
// saved, and it ends as usual.
TEST_F(SaveFilesTest, AWriteCutShortLeavesTheOldFileWhole) {
  const Bytes whole = {9, 9, 9, 9, 9, 9, 50, 0, 0, 0, 1, 0, 9, 9, 9, 9, 9, 9, 9, 9, 9};
  for (const Bytes& old : {whole, Bytes{9, 9, 9, 9}}) {
    WriteFile("HighSc.sav", old);
    int errors[2];
    ASSERT_EQ(pipe(errors), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {  // as a freshly started game, whose writes stop at 10 bytes
      dup2(errors[1], STDERR_FILENO);
      signal(SIGXFSZ, SIG_DFL);
      rlimit limit{10, 10}, noCore{0, 0};
      setrlimit(RLIMIT_FSIZE, &limit);
      setrlimit(RLIMIT_CORE, &noCore);
      if (!PlayAndQuit(60)) _exit(11);
      const auto texts = MessageTexts();
      _exit(texts.at(0) == "新記録更新！ですが、データを保存できませんでした・・。" &&
                    std::ranges::count(texts, kRecordSaved) == 0
                ? 0
                : 12);
    }
    close(errors[1]);
    int status = 0;
    waitpid(child, &status, 0);
    std::string said(4096, '\0');
    said.resize(std::max<ssize_t>(read(errors[0], said.data(), said.size()), 0));
    close(errors[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadFile("HighSc.sav"), old);
    EXPECT_NE(said.find("fumbo2: HighSc.sav was not saved: cannot write " +
                        (folder / "HighSc.sav").string() +
                        ": File too large; the file is left as it was\n"),
              std::string::npos)
        << said;
  }
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    EXPECT_TRUE(entry.path().filename() == "HighSc.sav" || entry.path().filename() == "user.ini")
        << entry.path() << " was left behind";
  // The next exit saves over the old file.
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
TEST_F(SaveFilesTest, FolderAndFileWithoutWriteAccess) {
  Bytes old = {0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  WriteFile("HighSc.sav", old);
  chmod((folder / "HighSc.sav").c_str(), 0444);  // a writable file would be saved in place
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

// A read-only record is read but not written, and said so; a private file stays private.
TEST_F(SaveFilesTest, PermissionsStayAsThePlayerSetThem) {
  Bytes high(21, 0);
  high[6] = 100;
  WriteFile("HighSc.sav", high);
  WriteFile("user.ini", {0, 0, 0, 0, 0});
  chmod((folder / "HighSc.sav").c_str(), 0444);
  chmod((folder / "user.ini").c_str(), 0600);
  GiveToPlayer({"HighSc.sav", "user.ini"});
  const int status = AsPlayer([this] {
    LoadSaveFiles();
    if (HighScoreRec.HiScore != 100) return 11;
    UserSettings.KeySense = 4;
    Score = HiScore = 500;
    if (!EndsProgram([] { QuitGame(); })) return 12;
    return MessageTexts()[0] == "新記録更新！ですが、データを保存できませんでした・・。" ? 0 : 13;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile("HighSc.sav"), high);
  EXPECT_EQ(Mode("HighSc.sav"), 0444u);
  EXPECT_EQ(ReadFile("user.ini"), (Bytes{4, 0, 0, 0, 0}));
  EXPECT_EQ(Mode("user.ini"), 0600u);
}

TEST_F(SaveFilesTest, AWritableFileInAFolderWithoutWriteAccessIsSaved) {
  WriteFile("HighSc.sav", Bytes(21, 0));
  WriteFile("user.ini", Bytes(5, 0));
  GiveToPlayer({"HighSc.sav", "user.ini"});
  chmod(folder.c_str(), 0555);
  const int status =
      AsPlayer([this] { return PlayAndQuit(500) && MessageTexts()[0] == kRecordSaved ? 0 : 11; });
  chmod(folder.c_str(), 0700);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile("HighSc.sav")[6], 0xF4);  // 500
}

// A linked save file is written through its link; a planted temporary name is left alone.
TEST_F(SaveFilesTest, LinksAreFollowedAndNoOtherNameIsTouched) {
  std::filesystem::create_directory(folder / "elsewhere");
  WriteFile("elsewhere/real.sav", Bytes(21, 0));
  WriteFile("elsewhere/victim", {1, 2, 3});
  std::filesystem::create_symlink("elsewhere/real.sav", folder / "HighSc.sav");
  std::filesystem::create_symlink("elsewhere/victim", folder / "HighSc.sav.new");
  ASSERT_TRUE(PlayAndQuit(500));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "HighSc.sav"));
  EXPECT_EQ(ReadFile("elsewhere/real.sav")[6], 0xF4);
  EXPECT_EQ(ReadFile("elsewhere/victim"), (Bytes{1, 2, 3}));
}

// Only the record's bytes are read: a long file costs no more than a short one.
TEST_F(SaveFilesTest, AHugeFileIsReadOnlyAsFarAsItsRecord) {
  constexpr std::uintmax_t kSize = 100 << 20;
  WriteFile("HighSc.sav", Bytes(21, 0));
  std::filesystem::resize_file(folder / "HighSc.sav", kSize);  // sparse: no disk used
  ASSERT_TRUE(PlayAndQuit(500));
  const std::string read = Lines("file").at(0);
  EXPECT_NE(read.find("\"bytes\":\"" + std::string(42, '0') + "\""), std::string::npos);
  EXPECT_EQ(std::filesystem::file_size(folder / "HighSc.sav"), kSize);
  char record[21] = {};
  std::ifstream(folder / "HighSc.sav", std::ios::binary).read(record, sizeof record);
  EXPECT_EQ(static_cast<std::uint8_t>(record[6]), 0xF4);
}

// The game joins its folder and the file's name with a backslash; the folder's own name may
// hold one too.
TEST_F(SaveFilesTest, AFolderWhoseNameHoldsABackslashIsTheFolderUsed) {
  const std::filesystem::path inner = folder / "bs\\lash";
  std::filesystem::create_directories(inner);
  std::filesystem::create_directories(folder / "bs" / "lash");
  WriteFile("bs\\lash/user.ini", {4, 0, 0, 0, 0});
  HeadlessBackend there({.programFolder = inner.string()});
  SetBackend(&there);
  const bool ended = EndsProgram([] {
    LoadSaveFiles();
    QuitGame();
  });
  SetBackend(&Backend());
  ASSERT_TRUE(ended);
  EXPECT_EQ(UserSettings.KeySense, 4);
  EXPECT_TRUE(std::filesystem::exists(inner / "HighSc.sav"));
  EXPECT_TRUE(std::filesystem::is_empty(folder / "bs" / "lash"));
}

}  // namespace
