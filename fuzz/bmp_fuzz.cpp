// The BMP loader on arbitrary bytes: a picture it accepts has the pixels its size says, and
// writing it out and reading it back gives the same picture.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "fuzz_support.h"
#include "platform/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const ImagePtr image = LoadBmp(std::span<const std::uint8_t>(data, size), &error);
  if (!image) {
    if (error.empty()) FuzzFailure("a refusal without a reason");
    return 0;
  }
  if (image->width <= 0 || image->height <= 0) FuzzFailure("an accepted picture without size");
  if (image->pixels.size() != static_cast<std::size_t>(image->width) * image->height)
    FuzzFailure("pixel count differs from the size");
  const auto encoded = EncodeBmp(*image);
  const ImagePtr again = LoadBmp(encoded, &error);
  if (!again || again->width != image->width || again->height != image->height ||
      again->pixels != image->pixels)
    FuzzFailure("a written picture does not read back the same");
  return 0;
}
