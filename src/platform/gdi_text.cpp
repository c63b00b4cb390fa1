// Text on the surfaces: code-page-932 bytes drawn in the surface's font and ForeColor. The
// mix mode is for shapes only and leaves text alone.
#include <cmath>
#include <string>

#include "platform/codepage.h"
#include "platform/font.h"
#include "platform/gdi.h"

namespace {

std::shared_ptr<::Font> SurfaceFont(const Surface& surface) {
  // Both faces of the game come out of the gothic file: the fixed face never shows text.
  return ::Font::Open(kGothicFontPath, PointsToPixels(surface.FontSize),
                      {surface.FontBold, surface.FontItalic, surface.FontUnderline});
}

}  // namespace

float Surface::TextWidth(std::string_view cp932) const {
  const std::shared_ptr<::Font> font = SurfaceFont(*this);
  if (!font) return 0;
  return float(font->Width(Cp932ToUtf8(cp932)));
}

int TextOutA(Surface& dst, int x, int y, const char* cp932, int byteCount) {
  if (cp932 == nullptr || byteCount <= 0) return byteCount == 0;
  const std::shared_ptr<::Font> font = SurfaceFont(dst);
  if (!font) return 0;
  font->Draw(dst, x, y, Cp932ToUtf8(std::string_view(cp932, std::size_t(byteCount))),
             dst.ForeColor);
  return 1;
}
