// Conversions between UTF-8 (our source files, the window system, the trace) and code
// page 932 (what the game's text calls take).
#pragma once

#include <string>
#include <string_view>

std::string Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);
