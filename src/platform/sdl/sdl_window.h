// One top-level window of the game on SDL, presenting a Surface through the window surface
// (X shared memory under X11: no renderer, no GPU, little processor time).
#pragma once

#include <SDL.h>

#include <string>

#include "platform/image.h"
#include "platform/surface.h"

class SdlWindow {
 public:
  // Hidden at first. Returns with Handle() null when the window cannot be made.
  SdlWindow(const std::string& utf8Title, int width, int height, bool borderless);
  ~SdlWindow();
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  SDL_Window* Handle() const { return window_; }
  Uint32 Id() const { return window_ ? SDL_GetWindowID(window_) : 0; }

  // Shows the window and returns at once, without waiting for the window manager.
  void Show();

  // Copies the surface's pixels to the client area at (0, 0) and shows them; the rest of a
  // larger client area gets `background`.
  void Present(const Surface& surface, Colour background);
  // Copies only the box of the surface's pixels and shows it: the rest of the window shows
  // what was presented before, so the window must have been presented whole since it was
  // shown, exposed or resized (SDL makes its surface anew then).
  void PresentPart(const Surface& surface, const Surface::Box& box);
  void SetIcon(const Image& icon);

  // Frame sizes around the client area (0 while the window manager has not told them).
  struct Borders {
    int left = 0, top = 0, right = 0, bottom = 0;
  };
  Borders FrameBorders() const;

 private:
  SDL_Window* window_ = nullptr;
};
