#include "frontend/window_geometry.h"

#include <cmath>

int TwipsToPixels(float twips) { return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel)); }

float CentredTopTwips(WindowId window) {
  int screenWidth = 0, screenHeight = 0;
  CurrentBackend().ScreenSize(screenWidth, screenHeight);
  float windowHeight =
      kTwipsPerPixel * static_cast<float>(CurrentBackend().OuterRect(window).height);
  return kTwipsPerPixel * static_cast<float>(screenHeight) / 2.0f - windowHeight / 2.0f;
}

void MoveWindowTop(WindowId window, float topTwips) {
  WindowRect outer = CurrentBackend().OuterRect(window);
  int top = TwipsToPixels(topTwips);
  if (top != outer.top) CurrentBackend().Move(window, outer.left, top);
}

void FitAndCentreWindow(WindowId window, int width, int height) {
  Backend& backend = CurrentBackend();
  WindowRect outer = backend.OuterRect(window);
  int clientWidth = 0, clientHeight = 0;
  backend.ClientSize(window, clientWidth, clientHeight);
  const float tpp = kTwipsPerPixel;
  float windowWidth = tpp * static_cast<float>(width) + tpp * static_cast<float>(outer.width) -
                      tpp * static_cast<float>(clientWidth);
  float windowHeight = tpp * static_cast<float>(height) + tpp * static_cast<float>(outer.height) -
                       tpp * static_cast<float>(clientHeight);
  backend.SetClientSize(window, TwipsToPixels(windowWidth) - (outer.width - clientWidth),
                        TwipsToPixels(windowHeight) - (outer.height - clientHeight));

  int screenWidth = 0, screenHeight = 0;
  backend.ScreenSize(screenWidth, screenHeight);
  float left = tpp * static_cast<float>(screenWidth) / 2.0f - windowWidth / 2.0f;
  float top = tpp * static_cast<float>(screenHeight) / 2.0f - windowHeight / 2.0f;
  backend.Move(window, TwipsToPixels(left), TwipsToPixels(top));
}
