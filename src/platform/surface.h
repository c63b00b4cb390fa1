// A drawing surface: a picture box with a persistent backing bitmap. Every drawing call
// (gdi.h) names the surface it draws on; clipping to the surface happens there, once.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/colour.h"
#include "platform/image.h"

enum class FontFace {
  Gothic,    // the Japanese gothic face (IPAGothic), for the option texts
  Terminal,  // the small fixed face of Main and OptBackP (never used for text by the game)
};

class Surface {
 public:
  Surface(int width, int height, Colour background = kWindowColour);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Pixels are written only through SetPixel and ...ToChange, and every pixel written joins
  // the changed box (below), so the window shows it; Row is for reading.
  Colour Pixel(int x, int y) const { return pixels_[Index(x, y)]; }
  void SetPixel(int x, int y, Colour c) {
    pixels_[Index(x, y)] = c;
    Touch(x, y, x + 1, y + 1);
  }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  const Colour* Row(int y) const { return pixels_.data() + Index(0, y); }
  // Row y, to write columns left..right-1 of it, which join the changed box.
  Colour* RowToChange(int y, int left, int right) {
    Touch(left, y, right, y + 1);
    return pixels_.data() + Index(0, y);
  }
  // Rows top..bottom-1, to write columns left..right-1 of them, which join the changed box;
  // row y starts at the result + y * Width(). One box for a whole block copy.
  Colour* PixelsToChange(int left, int top, int right, int bottom) {
    Touch(left, top, right, bottom);
    return pixels_.data();
  }
  // Copies the pixels out as an Image (tests, snapshots, screenshots).
  Image Snapshot() const;

  // The picture shown under everything drawn; assigning one shows it at once (it wipes
  // what was drawn). A picture smaller than the surface leaves the rest in BackColor.
  void SetPicture(ImagePtr picture);
  const ImagePtr& Picture() const { return picture_; }
  // Wipes what was drawn: BackColor everywhere, then the picture at (0, 0).
  void Cls();

  // Draw state, as the picture box properties of the same names.
  Colour BackColor = kWindowColour;
  Colour ForeColor = kWindowTextColour;  // pen and text colour
  Colour FillColor = RGB(0, 0, 0);       // brush colour
  int FillStyle = 1;                     // 0 solid, 1 transparent (no brush)
  int DrawMode = 13;                     // 9 mask pen, 13 copy pen, 15 merge pen
  FontFace Font = FontFace::Gothic;
  double FontSize = 12;  // points; 96 dpi, so pixels = round(points * 4 / 3)
  bool FontBold = false;
  bool FontItalic = false;
  bool FontUnderline = false;

  // Width in pixels of code-page-932 text in the current font.
  float TextWidth(std::string_view cp932) const;

  // Bumped by every change of the pixels; the window presenter compares it.
  std::uint64_t Generation() const { return generation_; }
  void Touch() { Touch(0, 0, width_, height_); }
  // A change inside columns left..right-1 and rows top..bottom-1 (clipped to the surface).
  void Touch(int left, int top, int right, int bottom);

  // The box around every change since the last call (empty when nothing changed): the
  // window presenter copies only that much to the screen.
  struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
  };
  Box TakeChanged();

 private:
  std::size_t Index(int x, int y) const { return std::size_t(y) * width_ + x; }

  int width_;
  int height_;
  std::vector<Colour> pixels_;
  ImagePtr picture_;
  std::uint64_t generation_ = 0;
  Box changed_;
};
