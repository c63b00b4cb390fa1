#include "platform/sdl/sdl_window.h"

namespace {

// A view of 0x00RRGGBB pixels as an SDL surface (no copy).
SDL_Surface* WrapPixels(const Colour* pixels, int width, int height) {
  return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Colour*>(pixels), width, height, 32,
                                            width * 4, SDL_PIXELFORMAT_RGB888);
}

}  // namespace

SdlWindow::SdlWindow(const std::string& utf8Title, int width, int height, bool borderless) {
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (borderless) flags |= SDL_WINDOW_BORDERLESS;
  window_ = SDL_CreateWindow(utf8Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             width, height, flags);
}

SdlWindow::~SdlWindow() {
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

void SdlWindow::Present(const Surface& surface, Colour background) {
  if (window_ == nullptr) return;
  SDL_Surface* target = SDL_GetWindowSurface(window_);
  if (target == nullptr) return;
  const int width = surface.Width(), height = surface.Height();
  if (width < target->w || height < target->h)
    SDL_FillRect(
        target, nullptr,
        SDL_MapRGB(target->format, RedOf(background), GreenOf(background), BlueOf(background)));
  if (width > 0 && height > 0) {
    SDL_Surface* source = WrapPixels(surface.Row(0), width, height);
    if (source != nullptr) {
      SDL_Rect place{0, 0, width, height};
      SDL_BlitSurface(source, nullptr, target, &place);
      SDL_FreeSurface(source);
    }
  }
  SDL_UpdateWindowSurface(window_);
  presentedTarget_ = target;
}

void SdlWindow::PresentPart(const Surface& surface, const Surface::Box& box, Colour background) {
  if (window_ == nullptr) return;
  SDL_Surface* target = SDL_GetWindowSurface(window_);
  if (target == nullptr) return;
  // A window surface made anew (SDL may remake it) holds nothing of ours yet.
  if (target != presentedTarget_) return Present(surface, background);
  if (box.Empty()) return;
  SDL_Surface* source = WrapPixels(surface.Row(0), surface.Width(), surface.Height());
  if (source == nullptr) return;
  SDL_Rect part{box.left, box.top, box.right - box.left, box.bottom - box.top};
  SDL_Rect place = part;
  SDL_BlitSurface(source, &part, target, &place);
  SDL_FreeSurface(source);
  SDL_UpdateWindowSurfaceRects(window_, &place, 1);
}

void SdlWindow::SetIcon(const Image& icon) {
  if (window_ == nullptr || icon.width <= 0 || icon.height <= 0) return;
  SDL_Surface* surface = WrapPixels(icon.pixels.data(), icon.width, icon.height);
  if (surface == nullptr) return;
  SDL_SetWindowIcon(window_, surface);
  SDL_FreeSurface(surface);
}

SdlWindow::Borders SdlWindow::FrameBorders() const {
  Borders b;
  if (window_ == nullptr ||
      SDL_GetWindowBordersSize(window_, &b.top, &b.left, &b.bottom, &b.right) != 0)
    return {};
  return b;
}
