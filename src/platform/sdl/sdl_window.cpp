#include "platform/sdl/sdl_window.h"

#include <SDL_syswm.h>

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
}

void SdlWindow::PresentPart(const Surface& surface, const Surface::Box& box) {
  if (window_ == nullptr) return;
  SDL_Surface* target = SDL_GetWindowSurface(window_);
  if (target == nullptr || box.Empty()) return;
  SDL_Surface* source = WrapPixels(surface.Row(0), surface.Width(), surface.Height());
  if (source == nullptr) return;
  SDL_Rect part{box.left, box.top, box.right - box.left, box.bottom - box.top};
  SDL_Rect place = part;
  SDL_BlitSurface(source, &part, target, &place);
  SDL_FreeSurface(source);
  SDL_UpdateWindowSurfaceRects(window_, &place, 1);
}

// SDL's X11 code maps the window and then waits in the X library, without end and deaf to
// signals, for the notice that it is mapped. The notice comes from the window manager, and one
// that is still starting up (a session's autostart) may take the request and never answer it.
// The notice that the wait looks for is queued here first, so SDL returns at once; the real
// one follows, with the window's first expose. Hiding needs no such care: an unmap is never
// held by the window manager.
void SdlWindow::Show() {
  if (window_ == nullptr) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) == 0 &&
      SDL_GetWindowWMInfo(window_, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
    XEvent mapped{};
    mapped.xmap.type = MapNotify;
    mapped.xmap.display = info.info.x11.display;
    mapped.xmap.event = mapped.xmap.window = info.info.x11.window;
    XPutBackEvent(info.info.x11.display, &mapped);
  }
  SDL_ShowWindow(window_);
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
