// The soak's checker must see the faults it exists for: a run that passes is built by hand,
// then spoilt one way at a time.
#include "soak_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Hex(const Bytes& bytes) {
  std::string text;
  char pair[3];
  for (std::uint8_t b : bytes) std::snprintf(pair, sizeof pair, "%02x", b), text += pair;
  return text;
}

void PutLittleEndian(Bytes& bytes, std::size_t at, int width, std::uint32_t value) {
  for (int i = 0; i < width; ++i) bytes[at + i] = std::uint8_t(value >> (8 * i));
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string Bytes2Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class SoakCheckTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ =
        fs::temp_directory_path() / ("soak-check-" + std::to_string(::getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    run_.folder = root_ / "folder";
    run_.trace = root_ / "trace.jsonl";
    run_.out = root_ / "out";
    fs::create_directories(run_.folder);
    fs::create_directories(run_.out);
    // A stored record of 100 points with reserved bytes that a save must keep.
    Bytes stored(21, 0);
    stored[0] = 0xAB;
    stored[20] = 0xCD;
    PutLittleEndian(stored, 2, 4, 100);
    PutLittleEndian(stored, 6, 4, 100);
    game_.highScore = stored;
    game_.userIni = Bytes{3, 0xFF, 0xFF, 0, 0};
    saved_ = stored;
    PutLittleEndian(saved_, 2, 4, 250);
    PutLittleEndian(saved_, 6, 4, 250);
    PutLittleEndian(saved_, 10, 2, 3);
    PutLittleEndian(saved_, 12, 4, 40);
    saved_[16] = 2;
    settings_ = *game_.userIni;
    snapshot_ = R"({"Score":150,"HiScore":150,"Level":2,"DelSum":30,"MaxCombo":2})";
    end_ = "ended";
  }
  void TearDown() override { fs::remove_all(root_); }

  // A game that beat the record and ended by itself, as fumbo-replay would leave it.
  SoakOutcome Check() {
    const std::string written = Hex(saved_);
    Write(run_.trace,
          "{\"t\":0,\"ev\":\"file\",\"name\":\"HighSc.sav\",\"op\":\"read\",\"bytes\":\"" +
              Hex(*game_.highScore) + "\"}\n" +
              "{\"t\":0,\"ev\":\"file\",\"name\":\"user.ini\",\"op\":\"read\",\"bytes\":\"" +
              Hex(*game_.userIni) + "\"}\n" +
              "{\"t\":9000,\"ev\":\"file\",\"name\":\"HighSc.sav\",\"op\":\"write\",\"bytes\":\"" +
              written + "\"}\n" +
              "{\"t\":9000,\"ev\":\"msgbox\",\"caption\":\"#Fumbo2\",\"text\":\"" + recordText_ +
              "\",\"buttons\":\"ok\",\"answer\":\"ok\"}\n" +
              "{\"t\":9000,\"ev\":\"file\",\"name\":\"user.ini\",\"op\":\"write\",\"bytes\":\"" +
              Hex(settings_) + "\"}\n" +
              "{\"t\":9000,\"ev\":\"msgbox\",\"caption\":\"#Fumbo2\",\"text\":\"\\n\\nFPS = " +
              fps_ + "\",\"buttons\":\"ok\",\"answer\":\"ok\"}\n" +
              "{\"t\":9000,\"ev\":\"end\",\"reason\":\"" + end_ + "\"}\n");
    Write(run_.folder / "HighSc.sav", Bytes2Text(fileSaved_.value_or(saved_)));
    Write(run_.folder / "user.ini", Bytes2Text(settings_));
    Write(run_.out / "s0.json", snapshot_);
    return CheckSoakGame(game_, run_);
  }

  fs::path root_;
  SoakGame game_;
  SoakRun run_;
  Bytes saved_;
  std::optional<Bytes> fileSaved_;  // the file as left, when it differs from what was written
  Bytes settings_;
  std::string snapshot_;
  std::string end_;
  std::string recordText_ = "新記録更新！データを保存しました。";
  std::string fps_ = "20";
};

TEST_F(SoakCheckTest, AWholeRecordGamePasses) {
  const SoakOutcome outcome = Check();
  EXPECT_TRUE(outcome.passed) << outcome.failure;
  EXPECT_TRUE(outcome.gameOver);
  EXPECT_TRUE(outcome.newRecord);
  EXPECT_EQ(outcome.score, 250);
}

TEST_F(SoakCheckTest, SpoiltHighScoreFilesFail) {
  fileSaved_ = Bytes(saved_.begin(), saved_.end() - 1);  // a torn write
  EXPECT_FALSE(Check().passed);
  fileSaved_.reset();
  saved_[20] = 0;  // a reserved byte lost
  EXPECT_FALSE(Check().passed);
  saved_[20] = 0xCD;
  PutLittleEndian(saved_, 6, 4, 249);  // the record's HiScore apart from its score
  EXPECT_FALSE(Check().passed);
  PutLittleEndian(saved_, 6, 4, 250);
  PutLittleEndian(saved_, 2, 4, 100);  // a "record" that does not beat the stored one
  PutLittleEndian(saved_, 6, 4, 100);
  EXPECT_FALSE(Check().passed);
}

TEST_F(SoakCheckTest, ARecordBehindTheGamesOwnSnapshotFails) {
  snapshot_ = R"({"Score":300,"HiScore":300,"Level":2,"DelSum":30,"MaxCombo":2})";
  EXPECT_FALSE(Check().passed);
  snapshot_ = R"({"Score":150,"HiScore":150,"Level":2,"DelSum":30,"MaxCombo":5})";
  EXPECT_FALSE(Check().passed);
}

TEST_F(SoakCheckTest, SettingsThatAreNotWholeOrChangedUnaskedFail) {
  settings_ = {3, 0xFF, 0xFF, 0};
  EXPECT_FALSE(Check().passed);
  settings_ = {3, 0xFF, 0x00, 0, 0};  // half a Boolean
  EXPECT_FALSE(Check().passed);
  settings_ = {4, 0xFF, 0xFF, 0, 0};  // changed though the options were never opened
  EXPECT_FALSE(Check().passed);
  game_.opensOptions = true;
  EXPECT_TRUE(Check().passed);
}

TEST_F(SoakCheckTest, RunsThatDidNotEndCleanlyFail) {
  end_ = "time";
  EXPECT_FALSE(Check().passed);
  end_ = "ended";
  run_.standardError = "runtime error: signed integer overflow";
  EXPECT_FALSE(Check().passed);
  run_.standardError.clear();
  run_.exitStatus = 1;
  EXPECT_FALSE(Check().passed);
  run_.exitStatus = 0;
  fps_ = "21";  // more frames than the 49 ms period allows
  EXPECT_FALSE(Check().passed);
}

TEST_F(SoakCheckTest, AWriteWithoutTheRecordMessageFails) {
  recordText_ = "新記録更新できませんでした・・。";
  EXPECT_FALSE(Check().passed);
}

}  // namespace
