#include "game_fixture.h"

#include <algorithm>

#include "gameplay/falling_pair.h"
#include "gameplay/level_table.h"
#include "platform/system.h"

namespace play_test {
namespace {

bool GlyphPixel(int localX, int y) { return (localX + y) % 4 != 0; }

Colour GlyphColour(int cell, int localX, int y) {
  return RGB(30 + (20 * cell) % 200, (localX * 17 + y * 5) & 0x7F, 100 + (13 * cell) % 150);
}

// Image on white and its mask, cells side by side; `maskBands` stacks the fade bands of BlP.
void PaintSheet(Sheet& sheet, int cellWidth, int cells, int maskBands) {
  const int width = cellWidth * cells;
  const int height = sheet.image.Height();
  auto image = std::make_shared<Image>(width, height, RGB(255, 255, 255));
  auto mask = std::make_shared<Image>(sheet.mask.Width(), sheet.mask.Height(), RGB(0, 0, 0));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!GlyphPixel(x % cellWidth, y)) continue;
      image->At(x, y) = GlyphColour(x / cellWidth, x % cellWidth, y);
      for (int band = 0; band < maskBands && y + band * height < mask->height; ++band) {
        const int grey = 255 - 30 * band;
        mask->At(x, y + band * height) = RGB(grey, grey, grey);
      }
    }
  }
  sheet.image.SetPicture(image);
  sheet.mask.SetPicture(mask);
}

void InstallSyntheticPictures() {
  auto background = std::make_shared<Image>(380, 400);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 380; ++x) background->At(x, y) = BackgroundAt(x, y);
  Main().SetPicture(background);
  BackP().SetPicture(background);
  BackPSub().SetPicture(background);
  PaintSheet(BlP(), 10, 10, 8);
  PaintSheet(FontP1(), 15, 10, 1);
  PaintSheet(FontP2(), 15, 10, 1);
  PaintSheet(FontP3(), 10, 10, 1);
  PaintSheet(FontP4(), 10, 10, 1);
  PaintSheet(FontP5(), 20, 10, 1);
  for (Sheet* caption :
       {&Caption1(), &Caption2(), &Caption3(), &Caption4(), &Caption5(), &Caption6()})
    PaintSheet(*caption, 100, 1, 1);
}

bool Inside(const Surface& s, int x, int y) { return s.Contains(x, y); }

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
  InstallSyntheticPictures();
}

void GameFixture::TearDown() {
  ReleaseBgmPlayer();
  ResetSurfaces();
  SetBackend(nullptr);
  backend.reset();
}

void GameFixture::Wait(std::uint32_t ms) {
  for (std::uint32_t i = 0; i < ms; ++i) backend->Idle();
}

void GameFixture::WaitUntil(std::uint32_t tick) { Wait(tick - Now()); }

void GameFixture::StartPlay() {
  TickExp = 7;
  FallWait = 500;
  NextPiece[0] = NextPiece[1] = 2;
  SuperAt = 80;
  SuperCount = 1;
  NextLevel();
  NewPiece();
}

Colour BackgroundAt(int x, int y) {
  return RGB((x * 3 + y) & 0xFF, (y * 5 + 40) & 0xFF, (x ^ y) & 0xFF);
}

Colour SpritePixel(Colour under, Sheet& sheet, int sx, int sy) {
  Colour result = under;
  if (Inside(sheet.mask, sx, sy)) result |= sheet.mask.Pixel(sx, sy);
  if (Inside(sheet.image, sx, sy)) result &= sheet.image.Pixel(sx, sy);
  return result;
}

void ApplySprite(Surface& target, int x, int y, int w, int h, Sheet& sheet, int sx, int sy) {
  for (int dy = 0; dy < h; ++dy)
    for (int dx = 0; dx < w; ++dx)
      if (target.Contains(x + dx, y + dy))
        target.SetPixel(x + dx, y + dy,
                        SpritePixel(target.Pixel(x + dx, y + dy), sheet, sx + dx, sy + dy));
}

::testing::AssertionResult SpriteDrawn(const Surface& after, const Surface& before, int x, int y,
                                       int w, int h, Sheet& sheet, int sx, int sy) {
  for (int dy = 0; dy < h; ++dy) {
    for (int dx = 0; dx < w; ++dx) {
      if (!Inside(after, x + dx, y + dy)) continue;
      const Colour want = SpritePixel(before.Pixel(x + dx, y + dy), sheet, sx + dx, sy + dy);
      const Colour got = after.Pixel(x + dx, y + dy);
      if (got != want)
        return ::testing::AssertionFailure() << "pixel (" << x + dx << ", " << y + dy << ") is "
                                             << std::hex << got << ", the sprite gives " << want;
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Unchanged(const Surface& after, const Surface& before, int x, int y,
                                     int w, int h) {
  for (int dy = 0; dy < h; ++dy)
    for (int dx = 0; dx < w; ++dx) {
      if (!Inside(after, x + dx, y + dy)) continue;
      if (after.Pixel(x + dx, y + dy) != before.Pixel(x + dx, y + dy))
        return ::testing::AssertionFailure()
               << "pixel (" << x + dx << ", " << y + dy << ") changed to " << std::hex
               << after.Pixel(x + dx, y + dy);
    }
  return ::testing::AssertionSuccess();
}

std::unique_ptr<Surface> CopyOf(const Surface& surface) {
  auto copy = std::make_unique<Surface>(surface.Width(), surface.Height());
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) copy->SetPixel(x, y, surface.Pixel(x, y));
  return copy;
}

}  // namespace play_test
