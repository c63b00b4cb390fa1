#include "soak_game.h"

#include <random>
#include <sstream>

namespace {

// The main window shows after the splash and its opening tune; keys before then are dropped.
constexpr std::uint64_t kPlayStarts = 22000;
constexpr std::uint64_t kHoldDown = 300000;
constexpr std::uint64_t kLongestGame = 900000;

class ScriptWriter {
 public:
  explicit ScriptWriter(std::mt19937& random) : random_(random) {}

  std::uint64_t Between(std::uint64_t low, std::uint64_t high) {
    return std::uniform_int_distribution<std::uint64_t>(low, high)(random_);
  }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  void At(std::uint64_t t, const std::string& what) { out_ << "at " << t << ' ' << what << '\n'; }
  void Tap(std::uint64_t t, const char* key) {
    At(t, std::string("key-down ") + key);
    At(t + Between(15, 250), std::string("key-up ") + key);
  }
  void Line(const std::string& line) { out_ << line << '\n'; }
  std::string Text() const { return out_.str(); }

 private:
  std::mt19937& random_;
  std::ostringstream out_;
};

std::vector<std::uint8_t> RandomUserIni(ScriptWriter& w) {
  const auto flag = [&w] { return std::uint8_t(w.Chance(0.5) ? 0xFF : 0x00); };
  const std::uint8_t bgm = flag();
  const std::uint8_t sound = flag();
  return {std::uint8_t(w.Between(0, 5)), bgm, bgm, sound, sound};
}

// A stored record with a modest score, so that some games beat it and some do not, and
// reserved bytes that must survive a save.
std::vector<std::uint8_t> RandomHighScore(ScriptWriter& w) {
  std::vector<std::uint8_t> bytes(21);
  for (auto& b : bytes) b = std::uint8_t(w.Between(0, 255));
  const std::uint32_t score = std::uint32_t(w.Between(0, 600));
  for (int i = 0; i < 4; ++i) {
    bytes[2 + i] = std::uint8_t(score >> (8 * i));
    bytes[6 + i] = std::uint8_t(score >> (8 * i));
  }
  return bytes;
}

// A visit to the option screen: rows and values changed at random, then Escape again.
std::uint64_t VisitOptions(ScriptWriter& w, std::uint64_t t) {
  w.Tap(t, "Escape");
  t += w.Between(600, 1500);
  static const char* const kKeys[] = {"Up", "Down", "Left", "Right"};
  for (std::uint64_t n = w.Between(0, 8); n > 0; --n) {
    w.Tap(t, kKeys[w.Between(0, 3)]);
    t += w.Between(60, 500);
  }
  // Enter asks to close when the cursor is on the last row; the answer comes from the queue.
  if (w.Chance(0.1)) w.At(t, "key-press 13");
  w.Tap(t, "Escape");
  return t + w.Between(600, 1500);
}

// Random play from the start to `until`: moves, turns, drops, option visits and a close
// question answered no now and then.
void RandomPlay(ScriptWriter& w, SoakGame& game, std::uint64_t until) {
  static const char* const kPlayKeys[] = {"Left", "Right", "Z", "X", "Down", "Down"};
  for (std::uint64_t t = kPlayStarts + w.Between(0, 3000); t < until;) {
    if (w.Chance(0.004)) {
      game.opensOptions = true;
      t = VisitOptions(w, t);
    } else if (w.Chance(0.002)) {
      w.Line("answer no");
      w.At(t, "close");
      t += w.Between(100, 2000);
    } else if (w.Chance(0.01)) {
      w.At(t, "paint");  // another window uncovered the game
    } else {
      w.Tap(t, kPlayKeys[w.Between(0, 5)]);
      t += w.Between(30, 400);
    }
  }
}

// After the random play: the soft drop held down (the keyboard's repeat) until the well fills.
void HoldDown(ScriptWriter& w, std::uint64_t from, std::uint64_t until) {
  for (std::uint64_t t = from; t < until; t += 40) w.At(t, "key-down Down");
}

}  // namespace

SoakGame MakeSoakGame(int number) {
  std::mt19937 random(0x50AC0000u + std::uint32_t(number));
  ScriptWriter w(random);
  SoakGame game;
  game.number = number;
  game.seed = std::uint32_t(w.Between(0, 0xFFFFFFFFu));
  // Now and then a clock close to its wrap, which every elapsed time must survive.
  game.clock = w.Chance(0.2) ? std::uint32_t(0xFFFFFFFFu - w.Between(0, 120000))
                             : std::uint32_t(w.Between(0, 0xFFFFFFFFu));
  if (!w.Chance(0.1)) game.userIni = RandomUserIni(w);
  if (!w.Chance(0.1)) game.highScore = RandomHighScore(w);
  game.plannedQuit = w.Chance(0.3);
  game.endTime = kLongestGame;
  w.Line("seed " + std::to_string(game.seed));
  w.Line("clock " + std::to_string(game.clock));

  const std::uint64_t randomUntil = kPlayStarts + w.Between(5000, 240000);
  RandomPlay(w, game, randomUntil);
  // Snapshots of the state along the way: the saved record must not fall behind them.
  for (int i = 0; i < 3; ++i)
    w.At(kPlayStarts + w.Between(1000, randomUntil - kPlayStarts), "snap s" + std::to_string(i));
  if (game.plannedQuit) {
    w.Line("answer yes");
    w.At(randomUntil, "close");
  } else {
    // A visit to the option screen may leave it open (Escape is ignored while a landing
    // runs), where the soft drop only moves the cursor: such a game is closed at the end.
    HoldDown(w, randomUntil, randomUntil + kHoldDown);
    w.Line("answer yes");
    w.At(randomUntil + kHoldDown, "close");
  }
  w.Line("end " + std::to_string(kLongestGame));
  game.script = w.Text();
  return game;
}
