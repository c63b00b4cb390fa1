// A small floating-point painter for the artwork: colour canvases, coverage maps and the
// few filters the pictures are made of (outlines, shadows, resampling, rotation).
#pragma once

#include <functional>
#include <vector>

#include "platform/image.h"

struct Rgb {
  float r = 0, g = 0, b = 0;  // 0..255
};

Rgb Mix(Rgb a, Rgb b, float t);  // a at t = 0, b at t = 1
Rgb Scale(Rgb c, float factor);

// A piecewise-linear ramp through (position, colour) stops, positions ascending in 0..1.
struct Ramp {
  struct Stop {
    float at;
    Rgb colour;
  };
  std::vector<Stop> stops;
  Rgb At(float t) const;
};

// Coverage, 0 (none) to 1 (full), per pixel.
class Alpha {
 public:
  Alpha() = default;
  Alpha(int width, int height) : w_(width), h_(height), a_(std::size_t(width) * height, 0.f) {}
  int Width() const { return w_; }
  int Height() const { return h_; }
  float At(int x, int y) const {
    return (x < 0 || y < 0 || x >= w_ || y >= h_) ? 0.f : a_[std::size_t(y) * w_ + x];
  }
  float& Ref(int x, int y) { return a_[std::size_t(y) * w_ + x]; }

 private:
  int w_ = 0, h_ = 0;
  std::vector<float> a_;
};

// The bounding box of the pixels with coverage above a trace, half-open.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};
Box InkBox(const Alpha& alpha);

// Round-cornered growth by a radius (outlines) and a soft box blur (shadows, glows).
Alpha Dilate(const Alpha& alpha, float radius);
Alpha Blur(const Alpha& alpha, int radius, int passes = 2);
Alpha Shifted(const Alpha& alpha, int dx, int dy);
Alpha Multiply(const Alpha& alpha, float factor);
// alpha minus other, floored at 0 (a rim between an outline and its glyph).
Alpha Subtract(const Alpha& alpha, const Alpha& other);

// Area-averaged resampling of the source box src onto the rectangle (x, y, w, h) of a new
// width x height map: the way large renderings become crisp small glyphs.
Alpha Resample(const Alpha& source, Box src, int width, int height, float x, float y, float w,
               float h);
// The source scaled (target pixels per source pixel), rotated by angle (radians, clockwise on
// screen) about its centre, and its centre placed at (cx, cy) of a width x height map, with
// 4 x 4 samples per pixel.
Alpha Rotated(const Alpha& source, float scale, float angle, int width, int height, float cx,
              float cy);

// An RGB canvas with an opacity map: layers are painted over a matte colour, and where the
// total opacity stays below a cut the picture is left transparent (pure white).
class Canvas {
 public:
  Canvas(int width, int height, Rgb matte);
  int Width() const { return w_; }
  int Height() const { return h_; }
  Rgb& Pixel(int x, int y) { return px_[std::size_t(y) * w_ + x]; }
  const Rgb& Pixel(int x, int y) const { return px_[std::size_t(y) * w_ + x]; }
  float Opacity(int x, int y) const { return cover_[std::size_t(y) * w_ + x]; }

  // Paints the colour given per pixel through the coverage (placed with its (0, 0) at ox, oy).
  void Paint(const Alpha& alpha, const std::function<Rgb(int x, int y)>& colour, int ox = 0,
             int oy = 0);
  void Paint(const Alpha& alpha, Rgb colour, int ox = 0, int oy = 0);
  // Fills every pixel, fully opaque.
  void Fill(const std::function<Rgb(int x, int y)>& colour);

  // The finished picture. With cut > 0 pixels of lower opacity become pure white, and opaque
  // pixels never are (pure white is the one transparent colour of a sheet).
  Image ToImage(float cut = 0) const;

 private:
  int w_, h_;
  std::vector<Rgb> px_;
  std::vector<float> cover_;
};

// Pure white is transparent in a sheet; the mask is white wherever the image is not.
Image MaskOf(const Image& image);
