// The full pictures: the game background, the option background, the splash banner and the
// window icon.
#include <cmath>
#include <numbers>

#include "artwork.h"
#include "lettering.h"

namespace {

// Coverage of a shape given by an inside test, 4 x 4 samples per pixel.
Alpha Coverage(int width, int height, const std::function<bool(float x, float y)>& inside) {
  Alpha alpha(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int hits = 0;
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) hits += inside(x + (i + 0.5f) / 4, y + (j + 0.5f) / 4);
      alpha.Ref(x, y) = hits / 16.f;
    }
  return alpha;
}

Alpha Rect(int width, int height, int left, int top, int right, int bottom) {
  Alpha alpha(width, height);
  for (int y = std::max(top, 0); y < std::min(bottom, height); ++y)
    for (int x = std::max(left, 0); x < std::min(right, width); ++x) alpha.Ref(x, y) = 1;
  return alpha;
}

// Dark blue-violet, darker towards the bottom, with soft vertical streaks.
Rgb Backdrop(int x, int y) {
  const float streak = 0.5f + 0.22f * std::sin(0.047f * x + 0.6f) +
                       0.16f * std::sin(0.113f * x + 2.1f + 0.004f * y) +
                       0.09f * std::sin(0.29f * x + 0.8f - 0.002f * y);
  const Rgb base = Mix({36, 30, 86}, {16, 12, 44}, y / 400.f);
  return Scale(base, 0.78f + 0.44f * streak);
}

// The well panel: lighter blue-violet with a faint grid of its cells.
Rgb Panel(int x, int y) {
  Rgb colour = Mix(kPanelTop, kPanelBottom, (y - 50) / 299.f);
  if ((x - 20) % 20 == 0 && x > 20) colour = Scale(colour, 0.93f);
  if ((y - 50) % 20 == 0 && y > 50) colour = Scale(colour, 0.93f);
  return colour;
}

// The title written across the panel from its top-left to its bottom-right corner.
void PaintDiagonalTitle(Canvas& canvas) {
  const LargeText title = RenderLarge(fonts::kSerifBold, "#Fumbo! 2nd", 120);
  Alpha crop(title.ink.Width() + 8, title.ink.Height() + 8);
  for (int y = 0; y < crop.Height(); ++y)
    for (int x = 0; x < crop.Width(); ++x)
      crop.Ref(x, y) = title.alpha.At(title.ink.left - 4 + x, title.ink.top - 4 + y);
  const float angle = std::atan2(300.f, 200.f);
  const float scale = std::min(318.f / title.ink.Width(), 54.f / title.ink.Height());
  Alpha rotated = Rotated(crop, scale, angle, 380, 400, 120, 200);
  // Only inside the panel.
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 380; ++x)
      if (x < 22 || x > 217 || y < 52 || y > 347) rotated.Ref(x, y) = 0;
  canvas.Paint(Multiply(rotated, 0.24f), Rgb{214, 204, 255});
}

// The NEXT slot: two grey cells split by a lighter cross, with a black shadow.
void PaintNextSlot(Canvas& canvas) {
  canvas.Paint(Rect(380, 400, 232, 17, 252, 57), Rgb{0, 0, 0});
  canvas.Paint(Rect(380, 400, 230, 15, 250, 55), Rgb{63, 63, 63});
  canvas.Paint(Rect(380, 400, 239, 15, 241, 55), Rgb{80, 87, 80});
  canvas.Paint(Rect(380, 400, 230, 34, 250, 36), Rgb{80, 87, 80});
  // The violet pointer from the label to the slot.
  const Alpha triangle = Coverage(380, 400, [](float x, float y) {
    if (x < 255 || x > 262 || y < 28 || y > 42) return false;
    const float half = (x - 255) * 7.f / 7.f;
    return std::abs(y - 35) <= half + 0.01f;
  });
  canvas.Paint(triangle, [](int, int y) {
    return Mix(Rgb{196, 150, 255}, Rgb{132, 72, 224}, (y - 28) / 13.f);
  });
}

Image GameBackground() {
  Canvas canvas(380, 400, {0, 0, 0});
  canvas.Fill(Backdrop);
  canvas.Paint(Rect(380, 400, 23, 53, 223, 353), Rgb{10, 8, 26});
  canvas.Paint(Rect(380, 400, 20, 50, 220, 350), Panel);
  PaintDiagonalTitle(canvas);
  PaintNextSlot(canvas);
  return canvas.ToImage();
}

// Blue-violet waves, lightest at the top, crossed by fine scan lines.
Image OptionBackground() {
  const Ramp ramp{{{0.0f, {112, 100, 212}}, {0.45f, {66, 54, 158}}, {1.0f, {20, 14, 64}}}};
  Canvas canvas(380, 400, {0, 0, 0});
  canvas.Fill([&](int x, int y) {
    const float wave = 0.035f * std::sin(0.034f * x + 0.021f * y) +
                       0.018f * std::sin(0.083f * x - 0.047f * y + 1.0f);
    const float t = std::clamp(y / 400.f + wave, 0.f, 1.f);
    const float ripple = 1 + 0.07f * std::sin(2 * std::numbers::pi_v<float> * 5 * t);
    Rgb colour = Scale(ramp.At(t), ripple);
    if (y % 2 == 1) colour = Scale(colour, 0.84f);
    return colour;
  });
  return canvas.ToImage();
}

Image SplashBanner() {
  Canvas canvas(200, 70, {255, 255, 255});
  canvas.Fill([](int x, int y) {
    return Mix(Rgb{188, 234, 188}, Rgb{255, 255, 255},
               std::clamp(0.75f * y / 69.f + 0.25f * x / 199.f, 0.f, 1.f));
  });
  const LargeText presented = RenderLarge(fonts::kSansBold, "Presented By");
  LetterStyle metal;
  metal.fill = MetalRamp();
  metal.outline = {72, 72, 86};
  metal.outlineRadius = 0.9f;
  metal.fillTop = 3;
  metal.fillBottom = 15;
  metal.shadowOpacity = 0.3f;
  PaintLetters(canvas, FitText(presented, 200, 70, -1, 3, 15, 170), metal);
  const LargeText rilo = RenderLarge(fonts::kSerifBoldItalic, "Rilo");
  LetterStyle violet;
  violet.fill = GlossRamp({136, 56, 208});
  violet.fillTop = 23;
  violet.fillBottom = 60;
  violet.outline = {60, 20, 100};
  violet.outlineRadius = 1.2f;
  violet.bevelStrength = 0.6f;
  violet.shadowOpacity = 0.35f;
  violet.shadowDx = 2;
  violet.shadowDy = 2;
  violet.shadowBlur = 1;
  PaintLetters(canvas, FitText(rilo, 200, 70, -1, 23, 37, 180), violet);
  return canvas.ToImage();
}

Image Icon() {
  Canvas canvas(32, 32, {255, 255, 255});
  canvas.Fill([](int, int y) { return Mix(Rgb{255, 255, 255}, Rgb{226, 230, 255}, y / 31.f); });
  LetterStyle red;
  red.fill = GlossRamp({224, 24, 24});
  red.fillTop = 1;
  red.fillBottom = 16;
  PaintLetters(canvas, FitText(RenderLarge(fonts::kSansBold, "#"), 32, 32, 2, 1, 15, 14), red);
  LetterStyle dark;
  dark.fill = Ramp{{{0, {40, 40, 60}}, {1, {40, 40, 60}}}};
  PaintLetters(canvas, FitText(RenderLarge(fonts::kSansCondensedBold, "2nd"), 32, 32, 17, 5, 9, 14),
               dark);
  LetterStyle blue;
  blue.fill = GlossRamp({24, 72, 232});
  blue.fillTop = 19;
  blue.fillBottom = 29;
  PaintLetters(canvas,
               FitText(RenderLarge(fonts::kSansCondensedBold, "Fumbo"), 32, 32, -1, 19, 10, 31),
               blue);
  return canvas.ToImage();
}

}  // namespace

std::vector<NamedPicture> DrawScenes() {
  return {{"GameBackground", GameBackground()},
          {"OptionBackground", OptionBackground()},
          {"SplashBanner", SplashBanner()},
          {"Icon", Icon()}};
}
