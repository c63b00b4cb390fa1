// The pictures built into the program (assets/pictures/*.bmp), by file name without ".bmp".
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The BMP bytes of the picture, or an empty span when there is none of that name.
std::span<const std::uint8_t> PictureResource(std::string_view name);
