// Code page 932 <-> UTF-8 through iconv. "CP932" rather than Shift_JIS: the game's texts
// use the vendor's mappings (0x8160 is the full-width tilde).
#include "platform/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace {

// Converts as much as can be converted; a byte sequence with no mapping is skipped, one
// unit at a time, so damaged text still shows its readable part.
std::string Convert(const char* to, const char* from, std::string_view text) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out;
  std::vector<char> buffer(text.size() * 4 + 16);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), outPtr);
    if (result != std::size_t(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (a cut-off character at the end): drop one byte and go on.
    ++in;
    --inLeft;
  }
  iconv_close(converter);
  return out;
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8); }

std::string Cp932ToUtf8(std::string_view cp932) { return Convert("UTF-8", "CP932", cp932); }
