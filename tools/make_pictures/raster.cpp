#include "raster.h"

#include <algorithm>
#include <cmath>

Rgb Mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, float factor) { return {c.r * factor, c.g * factor, c.b * factor}; }

Rgb Ramp::At(float t) const {
  if (stops.empty()) return {};
  if (t <= stops.front().at) return stops.front().colour;
  for (std::size_t i = 1; i < stops.size(); ++i) {
    if (t <= stops[i].at) {
      const float span = stops[i].at - stops[i - 1].at;
      const float f = span > 0 ? (t - stops[i - 1].at) / span : 1.f;
      return Mix(stops[i - 1].colour, stops[i].colour, f);
    }
  }
  return stops.back().colour;
}

Box InkBox(const Alpha& alpha) {
  Box box{alpha.Width(), alpha.Height(), 0, 0};
  for (int y = 0; y < alpha.Height(); ++y)
    for (int x = 0; x < alpha.Width(); ++x)
      if (alpha.At(x, y) > 0.02f) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  if (box.Empty()) box = {};
  return box;
}

Alpha Dilate(const Alpha& alpha, float radius) {
  Alpha out(alpha.Width(), alpha.Height());
  const int reach = static_cast<int>(std::ceil(radius));
  for (int y = 0; y < alpha.Height(); ++y)
    for (int x = 0; x < alpha.Width(); ++x) {
      float best = 0;
      for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
          const float distance = std::sqrt(float(dx * dx + dy * dy));
          const float weight = std::clamp(radius + 0.5f - distance, 0.f, 1.f);
          best = std::max(best, alpha.At(x + dx, y + dy) * weight);
        }
      out.Ref(x, y) = best;
    }
  return out;
}

Alpha Blur(const Alpha& alpha, int radius, int passes) {
  Alpha current = alpha;
  const float count = float(2 * radius + 1);
  for (int pass = 0; pass < passes; ++pass) {
    Alpha across(current.Width(), current.Height());
    for (int y = 0; y < current.Height(); ++y)
      for (int x = 0; x < current.Width(); ++x) {
        float sum = 0;
        for (int d = -radius; d <= radius; ++d) sum += current.At(x + d, y);
        across.Ref(x, y) = sum / count;
      }
    for (int y = 0; y < current.Height(); ++y)
      for (int x = 0; x < current.Width(); ++x) {
        float sum = 0;
        for (int d = -radius; d <= radius; ++d) sum += across.At(x, y + d);
        current.Ref(x, y) = sum / count;
      }
  }
  return current;
}

Alpha Shifted(const Alpha& alpha, int dx, int dy) {
  Alpha out(alpha.Width(), alpha.Height());
  for (int y = 0; y < alpha.Height(); ++y)
    for (int x = 0; x < alpha.Width(); ++x) out.Ref(x, y) = alpha.At(x - dx, y - dy);
  return out;
}

Alpha Multiply(const Alpha& alpha, float factor) {
  Alpha out(alpha.Width(), alpha.Height());
  for (int y = 0; y < alpha.Height(); ++y)
    for (int x = 0; x < alpha.Width(); ++x)
      out.Ref(x, y) = std::clamp(alpha.At(x, y) * factor, 0.f, 1.f);
  return out;
}

Alpha Subtract(const Alpha& alpha, const Alpha& other) {
  Alpha out(alpha.Width(), alpha.Height());
  for (int y = 0; y < alpha.Height(); ++y)
    for (int x = 0; x < alpha.Width(); ++x)
      out.Ref(x, y) = std::max(0.f, alpha.At(x, y) - other.At(x, y));
  return out;
}

namespace {

// The overlap of [a0, a1) with the unit cell [i, i + 1).
float Overlap(float a0, float a1, int i) {
  return std::max(0.f, std::min(a1, float(i + 1)) - std::max(a0, float(i)));
}

}  // namespace

Alpha Resample(const Alpha& source, Box src, int width, int height, float x, float y, float w,
               float h) {
  Alpha out(width, height);
  if (src.Empty() || w <= 0 || h <= 0) return out;
  const float scaleX = src.Width() / w, scaleY = src.Height() / h;
  for (int ty = std::max(0, int(std::floor(y))); ty < std::min(height, int(std::ceil(y + h))); ++ty)
    for (int tx = std::max(0, int(std::floor(x))); tx < std::min(width, int(std::ceil(x + w)));
         ++tx) {
      // The target pixel's footprint in source coordinates.
      const float sx0 = src.left + (std::max(float(tx), x) - x) * scaleX;
      const float sx1 = src.left + (std::min(float(tx + 1), x + w) - x) * scaleX;
      const float sy0 = src.top + (std::max(float(ty), y) - y) * scaleY;
      const float sy1 = src.top + (std::min(float(ty + 1), y + h) - y) * scaleY;
      float sum = 0;
      for (int sy = int(std::floor(sy0)); sy < int(std::ceil(sy1)); ++sy) {
        const float wy = Overlap(sy0, sy1, sy);
        for (int sx = int(std::floor(sx0)); sx < int(std::ceil(sx1)); ++sx)
          sum += source.At(sx, sy) * wy * Overlap(sx0, sx1, sx);
      }
      // Rounding in the sums leaves full coverage a hair short of 1.
      const float coverage = sum / (scaleX * scaleY);
      out.Ref(tx, ty) = coverage > 0.995f ? 1.f : std::clamp(coverage, 0.f, 1.f);
    }
  return out;
}

Alpha Rotated(const Alpha& source, float scale, float angle, int width, int height, float cx,
              float cy) {
  Alpha out(width, height);
  const float c = std::cos(angle), s = std::sin(angle);
  const float scx = source.Width() / 2.f, scy = source.Height() / 2.f;
  constexpr int kSamples = 4;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float sum = 0;
      for (int j = 0; j < kSamples; ++j)
        for (int i = 0; i < kSamples; ++i) {
          const float px = x + (i + 0.5f) / kSamples - cx, py = y + (j + 0.5f) / kSamples - cy;
          // Inverse rotation back into the source.
          const float sx = (c * px + s * py) / scale + scx;
          const float sy = (-s * px + c * py) / scale + scy;
          sum += source.At(int(std::floor(sx)), int(std::floor(sy)));
        }
      out.Ref(x, y) = sum / (kSamples * kSamples);
    }
  return out;
}

Canvas::Canvas(int width, int height, Rgb matte)
    : w_(width),
      h_(height),
      px_(std::size_t(width) * height, matte),
      cover_(std::size_t(width) * height, 0.f) {}

void Canvas::Paint(const Alpha& alpha, const std::function<Rgb(int x, int y)>& colour, int ox,
                   int oy) {
  for (int y = 0; y < alpha.Height(); ++y)
    for (int x = 0; x < alpha.Width(); ++x) {
      const int cx = x + ox, cy = y + oy;
      const float a = alpha.At(x, y);
      if (a <= 0 || cx < 0 || cy < 0 || cx >= w_ || cy >= h_) continue;
      const std::size_t i = std::size_t(cy) * w_ + cx;
      px_[i] = Mix(px_[i], colour(cx, cy), a);
      cover_[i] = a + cover_[i] * (1 - a);
    }
}

void Canvas::Paint(const Alpha& alpha, Rgb colour, int ox, int oy) {
  Paint(
      alpha, [colour](int, int) { return colour; }, ox, oy);
}

void Canvas::Fill(const std::function<Rgb(int x, int y)>& colour) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      px_[std::size_t(y) * w_ + x] = colour(x, y);
      cover_[std::size_t(y) * w_ + x] = 1;
    }
}

namespace {

int Channel(float v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

}  // namespace

Image Canvas::ToImage(float cut) const {
  Image image(w_, h_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      const std::size_t i = std::size_t(y) * w_ + x;
      if (cut > 0 && cover_[i] < cut) {
        image.At(x, y) = RGB(255, 255, 255);
        continue;
      }
      Colour c = RGB(Channel(px_[i].r), Channel(px_[i].g), Channel(px_[i].b));
      if (cut > 0 && c == RGB(255, 255, 255)) c = RGB(254, 254, 254);
      image.At(x, y) = c;
    }
  return image;
}

Image MaskOf(const Image& image) {
  Image mask(image.width, image.height);
  for (std::size_t i = 0; i < image.pixels.size(); ++i)
    mask.pixels[i] = image.pixels[i] == RGB(255, 255, 255) ? RGB(0, 0, 0) : RGB(255, 255, 255);
  return mask;
}
