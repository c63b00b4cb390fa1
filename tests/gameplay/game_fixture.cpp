#include "game_fixture.h"

#include <algorithm>

#include "gameplay/falling_pair.h"
#include "gameplay/level_table.h"
#include "platform/system.h"

namespace play_test {
namespace {

// Glyphs on white with a pattern of holes; the mask is white under the glyph, black elsewhere,
// and for BlP repeats in the fade greys 255 - 30 k.
void PaintSheet(Sheet& sheet, int cellWidth, int cells) {
  const int height = sheet.image.Height();
  auto image = std::make_shared<Image>(cellWidth * cells, height, RGB(255, 255, 255));
  auto mask = std::make_shared<Image>(sheet.mask.Width(), sheet.mask.Height(), RGB(0, 0, 0));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < image->width; ++x) {
      const int cell = x / cellWidth, local = x % cellWidth;
      if ((local + y) % 4 == 0) continue;
      image->At(x, y) = RGB(30 + 20 * cell % 200, (local * 17 + y * 5) & 0x7F, 100 + 13 * cell);
      for (int band = 0; y + band * height < mask->height; ++band)
        mask->At(x, y + band * height) = RGB(255 - 30 * band, 255 - 30 * band, 255 - 30 * band);
    }
  sheet.image.SetPicture(image);
  sheet.mask.SetPicture(mask);
}

}  // namespace

void GameTestBackend::Idle() {
  HeadlessBackend::Idle();
  if (onIdle) onIdle();
}

void GameTestBackend::PumpEvents() {
  ++pumps;
  HeadlessBackend::PumpEvents();
  if (onPump) onPump();
}

void GameTestBackend::SetCaption(WindowId window, const std::string& utf8) {
  HeadlessBackend::SetCaption(window, utf8);
  if (window == WindowId::Main) captions.push_back(utf8);
}

int GameTestBackend::EffectsNamed(const std::string& file) {
  const auto& lines = Trace().Lines();
  return int(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.find("\"ev\":\"sound\"") != std::string::npos &&
           line.find("\"" + file + "\"") != std::string::npos;
  }));
}

void GameFixture::SetUp() {
  backend = std::make_unique<GameTestBackend>(StartClock());
  SetBackend(backend.get());
  ResetGameState();
  ResetSurfaces();
  RandomizeWith(1);
  auto background = std::make_shared<Image>(380, 400);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 380; ++x) background->At(x, y) = BackgroundAt(x, y);
  for (Surface* s : {&Main(), &BackP(), &BackPSub()}) s->SetPicture(background);
  PaintSheet(BlP(), 10, 10);
  PaintSheet(FontP1(), 15, 10);
  PaintSheet(FontP2(), 15, 10);
  PaintSheet(FontP3(), 10, 10);
  PaintSheet(FontP4(), 10, 10);
  PaintSheet(FontP5(), 20, 10);
  for (Sheet* s : {&Caption1(), &Caption2(), &Caption3(), &Caption4(), &Caption5(), &Caption6()})
    PaintSheet(*s, 100, 1);
}

void GameFixture::TearDown() {
  ReleaseBgmPlayer();
  ResetSurfaces();
  SetBackend(nullptr);
  backend.reset();
}

void GameFixture::StartPlay() {
  TickExp = 7;
  FallWait = 500;
  NextPiece[0] = NextPiece[1] = 2;
  SuperAt = 80;
  SuperCount = 1;
  NextLevel();
  NewPiece();
}

void GameFixture::Wait(std::uint32_t ms) {
  for (std::uint32_t i = 0; i < ms; ++i) backend->Idle();
}

Colour BackgroundAt(int x, int y) {
  return RGB((x * 3 + y) & 0xFF, (y * 5 + 40) & 0xFF, (x ^ y) & 0xFF);
}

void ApplySprite(Surface& target, int x, int y, int w, int h, Sheet& sheet, int sx, int sy) {
  for (int dy = 0; dy < h; ++dy)
    for (int dx = 0; dx < w; ++dx) {
      if (!target.Contains(x + dx, y + dy)) continue;
      Colour c = target.Pixel(x + dx, y + dy);
      if (sheet.mask.Contains(sx + dx, sy + dy)) c |= sheet.mask.Pixel(sx + dx, sy + dy);
      if (sheet.image.Contains(sx + dx, sy + dy)) c &= sheet.image.Pixel(sx + dx, sy + dy);
      target.SetPixel(x + dx, y + dy, c);
    }
}

::testing::AssertionResult Unchanged(const Surface& after, const Surface& before, int x, int y,
                                     int w, int h) {
  for (int py = y; py < y + h; ++py)
    for (int px = x; px < x + w; ++px)
      if (after.Contains(px, py) && after.Pixel(px, py) != before.Pixel(px, py))
        return ::testing::AssertionFailure()
               << "pixel (" << px << ", " << py << ") is " << std::hex << after.Pixel(px, py)
               << ", not " << before.Pixel(px, py);
  return ::testing::AssertionSuccess();
}

std::unique_ptr<Surface> CopyOf(const Surface& surface) {
  auto copy = std::make_unique<Surface>(surface.Width(), surface.Height());
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) copy->SetPixel(x, y, surface.Pixel(x, y));
  return copy;
}

}  // namespace play_test
