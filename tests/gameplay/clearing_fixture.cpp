#include "clearing_fixture.h"

#include <cmath>

#include "gameplay/surfaces.h"
#include "platform/system.h"

namespace clearing_test {
namespace {

// Solid cells of `colour(n)`; the mask white over every cell in each band (band b in the
// grey 255 - 30 b) and black beyond the last cell.
void PaintSheet(Sheet& sheet, int w, int h, int columns, int rows, Colour (*colour)(int),
                int bands) {
  auto image = std::make_shared<Image>(sheet.image.Width(), sheet.image.Height(), kWhite);
  auto mask = std::make_shared<Image>(sheet.mask.Width(), sheet.mask.Height(), 0);
  for (int y = 0; y < rows * h; ++y) {
    for (int x = 0; x < columns * w; ++x) {
      image->At(x, y) = colour((y / h) * columns + x / w);
      for (int b = 0; b < bands; ++b) mask->At(x, y + b * rows * h) = Grey(255 - 30 * b);
    }
  }
  sheet.image.SetPicture(image);
  sheet.mask.SetPicture(mask);
}

}  // namespace

void ClearingBackend::Idle() {
  HeadlessBackend::Idle();
  if (onIdle) onIdle();
}

void ClearingBackend::PumpEvents() {
  pumpTimes.push_back(Elapsed());
  HeadlessBackend::PumpEvents();
  if (onPump) onPump();
}

void ClearingBackend::Record(const TraceEvent& event) {
  if (event.json.find("\"sound\"") != std::string::npos) sounds.push_back({Elapsed(), event.json});
  HeadlessBackend::Record(event);
}

std::vector<float> RandomStream(std::uint32_t seed, int count) {
  RandomizeWith(seed);
  std::vector<float> stream(count);
  for (float& r : stream) r = Rnd();
  RandomizeWith(seed);
  return stream;
}

Colour LampColour(const float* r) {
  auto channel = [](float x) { return static_cast<int>(std::nearbyint(100.0f * x + 155.0f)); };
  return RGB(channel(r[0]), channel(r[1]), channel(r[2]));
}

void ClearingFixture::SetUp() {
  SetBackend(&backend);
  ResetGameState();
  ResetSurfaces();
  auto backdrop = std::make_shared<Image>(380, 400, kBackdrop);
  for (Surface* s : {&Main(), &BackP(), &BackPSub()}) s->SetPicture(backdrop);
  PaintSheet(
      BlP(), 10, 20, 10, 1, [](int d) { return DigitColour(d); }, 8);
  PaintSheet(
      CmbNP(), 60, 60, 5, 4, [](int c) { return ComboColour(c); }, 1);
  PaintSheet(
      CmbP(), 120, 40, 1, 1, [](int) { return kComboWord; }, 1);
  // The first level, far from the next one and from the super pair; range 3 (mod 5).
  Level = 1;
  Kinds = 3;
  LevelNorm = 1000;
  SuperAt = 100000;
  SuperCount = 1;
  NextAnim = False;
}

void ClearingFixture::TearDown() {
  backend.onIdle = backend.onPump = nullptr;
  ResetGameState();  // the music player says goodbye through the back end
  ResetSurfaces();
  SetBackend(nullptr);
}

void ClearingFixture::Put(std::initializer_list<int> cells, int digit, bool mark) {
  for (int c : cells) {
    Board[c] = Digit(digit);
    if (mark) Marked[c] = True;
  }
}

std::vector<int> ClearingFixture::MarkedCells() const {
  std::vector<int> cells;
  for (int i = 0; i < 160; ++i)
    if (Marked[i] != False) cells.push_back(i);
  return cells;
}

void ClearingFixture::WatchMainPixel(int x, int y) {
  mainPixels.clear();
  backend.onPump = [this, x, y] { mainPixels.push_back(Main().Pixel(x, y)); };
}

}  // namespace clearing_test
