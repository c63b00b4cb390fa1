// A picture: a fixed block of 24-bit pixels (0x00RRGGBB), loaded from a BMP. Surfaces show
// one as their Picture; Cls brings it back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/colour.h"

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;  // row-major, top row first

  Image() = default;
  Image(int w, int h, Colour fill = 0) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
  Colour At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  Colour& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
};

using ImagePtr = std::shared_ptr<const Image>;

// 24-bit (and 32-bit, alpha ignored) uncompressed BMP, bottom-up or top-down. Returns
// nullptr and fills *error for anything else.
ImagePtr LoadBmp(std::span<const std::uint8_t> bytes, std::string* error = nullptr);
ImagePtr LoadBmpFile(const std::string& path, std::string* error = nullptr);
// Writes a 24-bit bottom-up BMP. Returns false and fills *error on failure.
std::vector<std::uint8_t> EncodeBmp(const Image& image);
bool SaveBmpFile(const Image& image, const std::string& path, std::string* error = nullptr);
