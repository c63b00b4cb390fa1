#include "clearing_fixture.h"

#include <algorithm>
#include <cmath>

#include "gameplay/surfaces.h"
#include "platform/audio/sequencer_device.h"
#include "platform/audio/sound_system.h"
#include "platform/system.h"

namespace clearing_test {
namespace {

class RecordingSound : public SoundSystem {
 public:
  explicit RecordingSound(ClearingBackend& backend) : backend_(backend) {}
  bool PlayEffect(const std::string& path) override {
    backend_.sounds.push_back({backend_.Elapsed(), path});
    return true;
  }
  std::unique_ptr<SequencerDevice> OpenSequencer(const std::string&,
                                                 std::uint32_t* error) override {
    if (error != nullptr) *error = 275;  // file not found
    return nullptr;
  }

 private:
  ClearingBackend& backend_;
};

// A sheet of solid cells: `colour(n)` over cell n of the image, white over the mask's cell in
// every band (band b in the grey 255 - 30 b), black in the mask beyond the last cell.
void PaintSheet(Sheet& sheet, int cellWidth, int cellHeight, int columns, int rows,
                Colour (*colour)(int), int maskBands) {
  auto image = std::make_shared<Image>(sheet.image.Width(), sheet.image.Height(), kWindowColour);
  auto mask = std::make_shared<Image>(sheet.mask.Width(), sheet.mask.Height(), RGB(0, 0, 0));
  for (int y = 0; y < rows * cellHeight; ++y) {
    for (int x = 0; x < columns * cellWidth; ++x) {
      image->At(x, y) = colour((y / cellHeight) * columns + x / cellWidth);
      for (int band = 0; band < maskBands; ++band) {
        const int grey = 255 - 30 * band;
        mask->At(x, y + band * rows * cellHeight) = RGB(grey, grey, grey);
      }
    }
  }
  sheet.image.SetPicture(image);
  sheet.mask.SetPicture(mask);
}

Colour WordColour(int) { return kComboWord; }

}  // namespace

ClearingBackend::ClearingBackend() : HeadlessBackend({.clock = 4294966000u}) {}
ClearingBackend::~ClearingBackend() = default;

void ClearingBackend::Idle() {
  HeadlessBackend::Idle();
  if (onIdle) onIdle();
}

void ClearingBackend::PumpEvents() {
  pumpTimes.push_back(Elapsed());
  HeadlessBackend::PumpEvents();
  if (onPump) onPump();
}

SoundSystem& ClearingBackend::Sound() {
  if (!sound_) sound_ = std::make_unique<RecordingSound>(*this);
  return *sound_;
}

void ClearingBackend::Record(const TraceEvent& event) {
  records.push_back(event.json);
  HeadlessBackend::Record(event);
}

int ClearingBackend::EffectsNamed(const std::string& name) const {
  auto endsWith = [&](const std::string& path) {
    return path.size() >= name.size() &&
           path.compare(path.size() - name.size(), name.size(), name) == 0;
  };
  int heard = static_cast<int>(std::count_if(sounds.begin(), sounds.end(),
                                             [&](const Heard& h) { return endsWith(h.path); }));
  if (heard > 0) return heard;
  return static_cast<int>(std::count_if(records.begin(), records.end(), [&](const std::string& r) {
    return r.find("\"sound\"") != std::string::npos && r.find(name) != std::string::npos;
  }));
}

Colour DigitColour(int digit) { return RGB(20 + 20 * digit, 100 + 10 * digit, 200 - 15 * digit); }
Colour ComboColour(int cell) { return RGB(10 * cell + 5, 250 - 10 * cell, 77); }
Colour Merge(Colour a, Colour b) { return a | b; }
Colour Mask(Colour a, Colour b) { return a & b; }

std::vector<float> RandomStream(std::uint32_t seed, int count) {
  RandomizeWith(seed);
  std::vector<float> stream;
  for (int i = 0; i < count; ++i) stream.push_back(Rnd());
  RandomizeWith(seed);
  return stream;
}

Colour LampColour(float r1, float r2, float r3) {
  auto channel = [](float r) { return static_cast<int>(std::nearbyint(100.0f * r + 155.0f)); };
  return RGB(channel(r1), channel(r2), channel(r3));
}

void ClearingFixture::SetUp() {
  SetBackend(&backend);
  ResetGameState();
  ResetSurfaces();
  auto backdrop = std::make_shared<Image>(380, 400, kBackdrop);
  Main().SetPicture(backdrop);
  BackP().SetPicture(backdrop);
  BackPSub().SetPicture(backdrop);
  PaintSheet(BlP(), 10, 20, 10, 1, DigitColour, 8);
  PaintSheet(CmbNP(), 60, 60, 5, 4, ComboColour, 1);
  PaintSheet(CmbP(), 120, 40, 1, 1, WordColour, 1);
  // A game in its first level, far from the next level and from the super pair.
  Level = 1;
  Kinds = 3;
  FallStep = 1;
  LevelNorm = 1000;
  SuperAt = 100000;
  SuperCount = 1;
  FallWait = 500;
  NextAnim = False;
}

void ClearingFixture::TearDown() {
  backend.onIdle = nullptr;
  backend.onPump = nullptr;
  ResetGameState();  // the music player says goodbye through the back end
  ResetSurfaces();
  SetBackend(nullptr);
}

void ClearingFixture::WatchBoardAfterRemoval() {
  backend.onIdle = [this] {
    if (!boardAfterRemoval.empty()) return;
    if (std::any_of(std::begin(Marked), std::end(Marked), [](Bool16 m) { return m != False; }))
      return;
    boardAfterRemoval.assign(std::begin(Board), std::end(Board));
  };
}

void ClearingFixture::WatchMainPixel(int x, int y) {
  backend.onPump = [this, x, y] { mainPixels.push_back(Main().Pixel(x, y)); };
}

}  // namespace clearing_test
