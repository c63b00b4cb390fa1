#include "platform/surface.h"

#include <algorithm>
#include <utility>

Surface::Surface(int width, int height, Colour background)
    : BackColor(background),
      width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(std::size_t(width_) * std::size_t(height_), background) {}

Image Surface::Snapshot() const {
  Image image(width_, height_);
  image.pixels = pixels_;
  return image;
}

void Surface::SetPicture(ImagePtr picture) {
  picture_ = std::move(picture);
  Cls();
}

void Surface::Touch(int left, int top, int right, int bottom) {
  ++generation_;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (right <= left || bottom <= top) return;
  if (changed_.Empty()) {
    changed_ = {left, top, right, bottom};
    return;
  }
  changed_.left = std::min(changed_.left, left);
  changed_.top = std::min(changed_.top, top);
  changed_.right = std::max(changed_.right, right);
  changed_.bottom = std::max(changed_.bottom, bottom);
}

Surface::Box Surface::TakeChanged() { return std::exchange(changed_, Box{}); }

void Surface::Cls() {
  std::fill(pixels_.begin(), pixels_.end(), BackColor);
  if (picture_ &&
      picture_->pixels.size() >= std::size_t(picture_->width) * std::size_t(picture_->height)) {
    // The picture sits at the top-left corner; a larger one is cut at the surface's edges.
    const int w = std::min(width_, picture_->width);
    const int h = std::min(height_, picture_->height);
    for (int y = 0; y < h; ++y) {
      const Colour* from = picture_->pixels.data() + std::size_t(y) * picture_->width;
      std::copy(from, from + w, pixels_.data() + Index(0, y));
    }
  }
  Touch();
}
