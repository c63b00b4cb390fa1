#include "frontend/option_screen.h"

#include <cmath>
#include <string>

#include "frontend/frame_gate.h"
#include "frontend/option_texts.h"
#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"
#include "platform/gdi.h"

namespace {

constexpr Colour kBlack = RGB(0, 0, 0);
constexpr Colour kWhite = RGB(255, 255, 255);
constexpr Colour kPanelColour = RGB(255, 255, 200);

// Text and its shadow: the shadow first, `shadowShift` pixels right and down.
void DrawShadowedText(Surface& surface, int x, int y, int shadowShift, const std::string& text,
                      Colour shadow, Colour colour) {
  surface.ForeColor = shadow;
  TextOutA(surface, x + shadowShift, y + shadowShift, text.data(), static_cast<int>(text.size()));
  surface.ForeColor = colour;
  TextOutA(surface, x, y, text.data(), static_cast<int>(text.size()));
}

std::string RowValue(int row) {
  switch (row) {
    case 0:
      return UserSettings.KeySense == 0 ? "0 / Manual"
                                        : std::to_string(UserSettings.KeySense) + " / Auto";
    case 1:
      return UserSettings.BgmOn == True ? "On" : "Off";
    case 2:
      return UserSettings.SoundOn == True ? "On" : "Off";
    default:
      return "";
  }
}

void DrawTitle(Surface& surface, int offsetY) {
  const std::string& title = OptionScreenTexts().title;
  surface.FontSize = 16;
  surface.FontItalic = true;
  double x0 = surface.Width() / 2.0 - surface.TextWidth(title) / 2.0;
  surface.ForeColor = kBlack;
  TextOutA(surface, static_cast<int>(std::nearbyint(x0 + 2)), 22 - offsetY, title.data(),
           static_cast<int>(title.size()));
  surface.ForeColor = RGB(150, 240, 255);
  TextOutA(surface, static_cast<int>(std::nearbyint(x0)), 20 - offsetY, title.data(),
           static_cast<int>(title.size()));
  surface.FontSize = 12;
  surface.FontItalic = false;
}

void DrawRows(Surface& surface, int offsetX) {
  const int pulse = OptionPulseValue(OptPulseAngle);
  for (int i = 0; i < 4; ++i) {
    Colour colour = i == OptCursor ? RGB(255, pulse, pulse) : kWhite;
    DrawShadowedText(surface, offsetX + 20, 60 + 30 * i, 2, OptionScreenTexts().labels[i],
                     RGB(0, 0, 120), colour);
  }
  for (int i = 0; i < 3; ++i) {
    Colour colour = i == OptCursor ? RGB(255, 255, pulse) : kWhite;
    DrawShadowedText(surface, offsetX + 250, 60 + 30 * i, 2, RowValue(i), RGB(120, 0, 0), colour);
  }
}

void DrawHelpPanel(Surface& surface, int offsetX, int offsetY, int slideMode) {
  surface.FillStyle = 0;
  surface.FillColor = kBlack;
  surface.ForeColor = kBlack;
  RoundRect(surface, 15, 305 + offsetY, 375, 395 + offsetY, 10, 10);
  surface.FillColor = kPanelColour;
  surface.ForeColor = kPanelColour;
  if (slideMode == 2)
    RoundRect(surface, 10, 300 + offsetY, 370, 390 + offsetY, 10, 10);
  else
    RoundRect(surface, 10 - offsetX, 300, 370 - offsetX, 390, 10, 10);
  surface.FillStyle = 1;
}

void DrawHelpText(Surface& surface) {
  surface.FontSize = 11;
  if (OptCursor <= 3) {
    const OptionHelp& help = OptionScreenTexts().help[OptCursor];
    DrawShadowedText(surface, 15, 305, 1, help.heading, kBlack, RGB(255, 150, 0));
    for (int line = 0; line < 3; ++line) {
      if (help.body[line].empty()) continue;
      DrawShadowedText(surface, 15, 325 + 15 * line, 1, help.body[line], kBlack,
                       RGB(170, 170, 255));
    }
    DrawShadowedText(surface, 15, 370, 1, help.hint, kBlack, RGB(0, 200, 0));
  }
  surface.FontSize = 12;
}

}  // namespace

int OptionPulseValue(std::int16_t angle) {
  constexpr double kDegreesToRadians = 3.14159 / 180;
  double c = std::fabs(std::sin(angle * kDegreesToRadians) * 155) + 100;
  return static_cast<int>(std::nearbyint(c));
}

void DrawOptionFrame() {
  OptPulseAngle = static_cast<std::int16_t>(OptPulseAngle + 5);
  if (OptPulseAngle >= 360) OptPulseAngle = static_cast<std::int16_t>(OptPulseAngle - 360);
  BitBlt(BackP(), 0, 0, BackP().Width(), OptBackP().Height(), OptBackP(), 0, 0, SRCCOPY);
  DrawOptionMenu(0, 0, 1);
  CopyWholeSurface(Main(), BackP());
}

void DrawOptionMenu(const std::int16_t& OffsetX, const std::int16_t& OffsetY,
                    const std::uint8_t& SlideMode) {
  Surface& surface = BackP();
  DrawTitle(surface, OffsetY);
  DrawRows(surface, OffsetX);
  DrawHelpPanel(surface, OffsetX, OffsetY, SlideMode);
  if (SlideMode == 1) DrawHelpText(surface);
}
