// The game state by name: the snapshot object and `set NAME V...`.
#include "gameplay/state_json.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gameplay/game_state.h"
#include "replay/json_value.h"

namespace {

class StateJsonTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameState(); }
  void TearDown() override { ResetGameState(); }
  static JsonValue State() { return JsonValue::Parse(GameStateJson()); }
};

TEST_F(StateJsonTest, TheSnapshotHasExactlyTheKeysOfTheReplayFormat) {
  const std::vector<std::string> expected = {
      "Board",        "Marked",      "Changed",   "CurPiece",      "CurPos",     "CurDir",
      "FallOfs",      "NextPiece",   "Score",     "HiScore",       "Level",      "DelSum",
      "LevelSum",     "LevelNorm",   "Combo",     "MaxCombo",      "SuperAt",    "SuperCount",
      "SuperArmed",   "Kinds",       "FallStep",  "FallWait",      "ForceClear", "HidePair",
      "Busy",         "OptionShown", "OptCursor", "OptPulseAngle", "PulseAngle", "LampOn",
      "NextAnim",     "Landed",      "PressLeft", "PressRight",    "PressDown",  "PressZ",
      "PressX",       "KeySense",    "BgmOn",     "SoundOn",       "TickExp",    "FPS",
      "PlayStartTick"};
  EXPECT_EQ(GameStateNames(), expected);
  JsonValue state = State();
  ASSERT_EQ(state.kind, JsonValue::Kind::Object);
  EXPECT_EQ(state.members.size(), expected.size());
  for (const std::string& name : expected) EXPECT_TRUE(state.Has(name)) << name;
}

TEST_F(StateJsonTest, ArraysBooleansAndValuesAreWrittenAsTheGameHoldsThem) {
  Board[0] = 3;
  Board[159] = kSuperCell;
  Marked[159] = True;
  CurPiece[0] = 2, CurPiece[1] = 7;
  Busy = True;
  Score = -5;  // the widths are the game's: written as the signed value it holds
  PlayStartTick = 4294967000u;
  UserSettings.BgmOn = True;
  JsonValue state = State();
  ASSERT_EQ(state["Board"].items.size(), 161u);
  ASSERT_EQ(state["Marked"].items.size(), 160u);
  ASSERT_EQ(state["Changed"].items.size(), 160u);
  EXPECT_EQ(state["Board"][0].Int(), 3);
  EXPECT_EQ(state["Board"][159].Int(), 255);
  EXPECT_EQ(state["Marked"][159].Int(), -1);
  EXPECT_EQ(state["CurPiece"][1].Int(), 7);
  EXPECT_EQ(state["Busy"].Int(), -1);
  EXPECT_EQ(state["LampOn"].Int(), 0);
  EXPECT_EQ(state["Score"].Int(), -5);
  EXPECT_EQ(state["PlayStartTick"].Int(), 4294967000LL);
  EXPECT_EQ(state["BgmOn"].Int(), -1);
}

TEST_F(StateJsonTest, FpsIsNullUntilItHasAValue) {
  EXPECT_TRUE(State()["FPS"].IsNull());
  FPS = 0.0;
  EXPECT_EQ(State()["FPS"].kind, JsonValue::Kind::Number);
  FPS = 20.375;
  EXPECT_DOUBLE_EQ(State()["FPS"].number, 20.375);
}

TEST_F(StateJsonTest, SetWritesScalarsCellsFromAnIndexAndBothCellsOfAPair) {
  EXPECT_EQ(SetGameStateVariable({"Score", "1234"}), "");
  EXPECT_EQ(SetGameStateVariable({"Board", "8", "4", "4", "255"}), "");
  EXPECT_EQ(SetGameStateVariable({"NextPiece", "255", "255"}), "");
  EXPECT_EQ(SetGameStateVariable({"KeySense", "3"}), "");
  EXPECT_EQ(SetGameStateVariable({"SuperArmed", "-1"}), "");
  EXPECT_EQ(SetGameStateVariable({"FPS", "19.5"}), "");
  EXPECT_EQ(Score, 1234);
  EXPECT_EQ(Board[7], 0);
  EXPECT_EQ(Board[8], 4);
  EXPECT_EQ(Board[10], 255);
  EXPECT_EQ(Board[11], 0);
  EXPECT_EQ(NextPiece[0], 255);
  EXPECT_EQ(UserSettings.KeySense, 3);
  EXPECT_EQ(SuperArmed, True);
  EXPECT_EQ(FPS, 19.5);
  EXPECT_EQ(SetGameStateVariable({"FPS", "null"}), "");
  EXPECT_FALSE(FPS.has_value());
}

TEST_F(StateJsonTest, BadAssignmentsAreRefusedAndChangeNothing) {
  Board[158] = 9;
  const std::vector<std::vector<std::string>> bad = {
      {"Scor", "1"},         {"Score"},
      {"Score", "1", "2"},   {"Score", "2147483648"},
      {"CurPos", "-1"},      {"CurPos", "256"},
      {"Level", "32768"},    {"FallStep", "3"},
      {"Board", "160", "1"}, {"Board", "158", "1", "2", "3"},
      {"Board", "0"},        {"Board", "x", "1"},
      {"NextPiece", "3"},    {"Marked", "0", "1.5"},
      {"FPS", "inf"},        {"FPS", "twenty"},
      {"Score", "0x10"}};
  for (const auto& words : bad) {
    EXPECT_NE(CheckGameStateAssignment(words), "") << words[0];
    EXPECT_NE(SetGameStateVariable(words), "") << words[0];
  }
  EXPECT_EQ(Score, 0);
  EXPECT_EQ(Board[158], 9);
  EXPECT_EQ(Board[159], 0);
  EXPECT_EQ(Board[160], 0);
  EXPECT_EQ(CurPos, 0);
}

TEST_F(StateJsonTest, CheckingDoesNotChangeTheState) {
  EXPECT_EQ(CheckGameStateAssignment({"Score", "77"}), "");
  EXPECT_EQ(Score, 0);
}

}  // namespace
