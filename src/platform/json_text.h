// JSON string quoting for the trace and the snapshots.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// "text" with quotes, escaping what JSON requires; the text is UTF-8.
std::string JsonQuote(std::string_view text);
// Lower-case hex of the bytes, without separators.
std::string HexBytes(const std::vector<std::uint8_t>& bytes);
