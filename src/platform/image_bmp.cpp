// Pictures on disk: uncompressed 24- and 32-bit BMP files. Every length in a file is
// checked against the bytes really there before it is used, so a damaged file is refused
// rather than read past its end.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>

#include "platform/image.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
// Larger pictures than this are refused; the game's biggest is 380 x 400.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

std::uint32_t ReadU16(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8;
}
std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at) {
  return ReadU16(b, at) | ReadU16(b, at + 2) << 16;
}
void WriteU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
void WriteU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  WriteU16(out, v & 0xFFFF);
  WriteU16(out, v >> 16);
}

ImagePtr Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return nullptr;
}

// The layout of the pixel block, as read from the headers.
struct BmpLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // always positive here
  bool topDown = false;
  std::uint32_t bitsPerPixel = 0;
  std::uint32_t pixelOffset = 0;
  std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};  // red, green, blue
};

// One channel out of a 32-bit pixel through its mask, scaled to 8 bits.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const std::uint32_t field = mask >> shift;
  const std::uint64_t value = (pixel >> shift) & field;
  return std::uint32_t(value * 255 / field);
}

const char* ReadInfoHeader(std::span<const std::uint8_t> b, BmpLayout& layout) {
  const std::uint32_t headerSize = ReadU32(b, kFileHeaderSize);
  if (headerSize == kCoreHeaderSize) {
    if (b.size() < kFileHeaderSize + kCoreHeaderSize) return "truncated header";
    layout.width = ReadU16(b, 18);
    layout.height = ReadU16(b, 20);
    layout.bitsPerPixel = ReadU16(b, 24);
    return nullptr;
  }
  if (headerSize < kInfoHeaderSize) return "unknown header";
  if (b.size() < kFileHeaderSize + kInfoHeaderSize) return "truncated header";
  layout.width = std::int32_t(ReadU32(b, 18));
  const std::int64_t height = std::int32_t(ReadU32(b, 22));
  layout.topDown = height < 0;
  layout.height = height < 0 ? -height : height;
  layout.bitsPerPixel = ReadU16(b, 28);
  const std::uint32_t compression = ReadU32(b, 30);
  if (compression == kBitFields && layout.bitsPerPixel == 32) {
    // The masks follow a plain info header, or sit inside the longer ones at the same place.
    if (b.size() < kFileHeaderSize + kInfoHeaderSize + 12) return "truncated masks";
    for (int i = 0; i < 3; ++i) layout.masks[i] = ReadU32(b, kFileHeaderSize + 40 + 4 * i);
  } else if (compression != kRgb) {
    return "compressed pictures are not supported";
  }
  return nullptr;
}

}  // namespace

ImagePtr LoadBmp(std::span<const std::uint8_t> b, std::string* error) {
  if (b.size() < kFileHeaderSize + 4 || b[0] != 'B' || b[1] != 'M') {
    return Fail(error, "not a BMP file");
  }
  BmpLayout layout;
  layout.pixelOffset = ReadU32(b, 10);
  if (const char* why = ReadInfoHeader(b, layout)) return Fail(error, why);
  if (layout.bitsPerPixel != 24 && layout.bitsPerPixel != 32) {
    return Fail(error, "only 24- and 32-bit pictures are supported");
  }
  if (layout.width <= 0 || layout.height <= 0 || layout.width * layout.height > kMaxPixels) {
    return Fail(error, "bad picture size");
  }
  const std::int64_t stride = (layout.width * layout.bitsPerPixel + 31) / 32 * 4;
  if (std::int64_t(layout.pixelOffset) + stride * layout.height > std::int64_t(b.size())) {
    return Fail(error, "truncated pixel data");
  }
  auto image = std::make_shared<Image>(int(layout.width), int(layout.height));
  const int bytesPerPixel = int(layout.bitsPerPixel / 8);
  for (int row = 0; row < image->height; ++row) {
    const int fileRow = layout.topDown ? row : image->height - 1 - row;
    std::size_t at = layout.pixelOffset + std::size_t(fileRow) * std::size_t(stride);
    for (int x = 0; x < image->width; ++x, at += bytesPerPixel) {
      if (bytesPerPixel == 3) {
        image->At(x, row) = RGB(b[at + 2], b[at + 1], b[at]);
      } else {
        const std::uint32_t pixel = ReadU32(b, at);
        image->At(x, row) =
            RGB(int(Channel(pixel, layout.masks[0])), int(Channel(pixel, layout.masks[1])),
                int(Channel(pixel, layout.masks[2])));
      }
    }
  }
  return image;
}

ImagePtr LoadBmpFile(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Fail(error, ("cannot open " + path).c_str());
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
  std::string why;
  ImagePtr image = LoadBmp(bytes, &why);
  if (!image && error) *error = path + ": " + why;
  return image;
}

std::vector<std::uint8_t> EncodeBmp(const Image& image) {
  const bool valid = image.width > 0 && image.height > 0 &&
                     image.pixels.size() >= std::size_t(image.width) * image.height;
  const int width = valid ? image.width : 0;
  const int height = valid ? image.height : 0;
  const std::uint32_t stride = (std::uint32_t(width) * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = stride * std::uint32_t(height);
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::vector<std::uint8_t> out;
  out.reserve(offset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  WriteU32(out, offset + pixelBytes);
  WriteU32(out, 0);
  WriteU32(out, offset);
  WriteU32(out, kInfoHeaderSize);
  WriteU32(out, std::uint32_t(width));
  WriteU32(out, std::uint32_t(height));
  WriteU16(out, 1);   // planes
  WriteU16(out, 24);  // bits per pixel
  WriteU32(out, kRgb);
  WriteU32(out, pixelBytes);
  WriteU32(out, 3780);  // 96 dpi, in pixels per metre
  WriteU32(out, 3780);
  WriteU32(out, 0);
  WriteU32(out, 0);
  for (int row = height - 1; row >= 0; --row) {
    for (int x = 0; x < width; ++x) {
      const Colour c = image.At(x, row);
      out.push_back(std::uint8_t(BlueOf(c)));
      out.push_back(std::uint8_t(GreenOf(c)));
      out.push_back(std::uint8_t(RedOf(c)));
    }
    out.resize(out.size() + (stride - std::uint32_t(width) * 3), 0);
  }
  return out;
}

bool SaveBmpFile(const Image& image, const std::string& path, std::string* error) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() < std::size_t(image.width) * std::size_t(image.height)) {
    if (error) *error = "no picture to write to " + path;
    return false;
  }
  const std::vector<std::uint8_t> bytes = EncodeBmp(image);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (file) file.close();
  if (!file) {
    if (error) *error = "cannot write " + path;
    return false;
  }
  return true;
}
