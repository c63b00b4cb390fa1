// The game's message box, apart from any window: its text broken into lines, the size of the
// box and the place of each button, the choice the keys and the mouse make, and the picture.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/surface.h"

// What the box needs of a font: widths, line height and glyph drawing (UTF-8 text).
class BoxText {
 public:
  virtual ~BoxText() = default;
  virtual int Width(const std::string& utf8) = 0;
  virtual int LineHeight() = 0;
  virtual void Draw(Surface& surface, int x, int y, const std::string& utf8, Colour colour) = 0;
};

struct BoxRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool Contains(int x, int y) const {
    return x >= left && y >= top && x < left + width && y < top + height;
  }
};

struct BoxButton {
  MsgBoxAnswer answer;
  std::string label;
  BoxRect rect;
};

struct MessageBoxLayout {
  int width = 0;  // client area
  int height = 0;
  int textLeft = 0;
  int textTop = 0;
  int lineHeight = 0;
  int stripTop = 0;  // the button strip runs from here to the bottom
  std::vector<std::string> lines;
  std::vector<BoxButton> buttons;  // left to right; the first is the default
};

// Splits `text` at its line feeds (a carriage return before one is dropped) and breaks any
// line wider than `maxWidth` between characters, never inside a UTF-8 sequence.
std::vector<std::string> BreakLines(const std::string& text, int maxWidth,
                                    const std::function<int(const std::string&)>& width);

// Lays the box out for a screen of the given width (long lines are broken to fit it).
MessageBoxLayout LayOutMessageBox(const std::string& text, MsgBoxButtons buttons, BoxText& font,
                                  int screenWidth);

// The button that has the focus, moved by the keys; the answer once one is chosen.
class MessageBoxChoice {
 public:
  explicit MessageBoxChoice(MsgBoxButtons buttons);

  // A key-down by virtual-key code; `repeat` for the platform's repeats of a held key.
  std::optional<MsgBoxAnswer> Key(int keyCode, int shift, bool repeat);
  // The close box or the window manager's close.
  std::optional<MsgBoxAnswer> CloseRequest() const;
  // Left mouse button down and up over a button (index) or elsewhere (-1).
  void MouseDown(int button);
  std::optional<MsgBoxAnswer> MouseUp(int button);

  int Focus() const { return focus_; }
  int Pressed() const { return pressed_; }

 private:
  std::vector<MsgBoxAnswer> answers_;
  int focus_ = 0;
  int pressed_ = -1;
};

// Which button of the layout lies under (x, y), or -1.
int ButtonAt(const MessageBoxLayout& layout, int x, int y);

// Paints the whole box into `surface` (of the layout's size).
void DrawMessageBox(Surface& surface, const MessageBoxLayout& layout,
                    const MessageBoxChoice& choice, BoxText& font);

// Colours of the box.
constexpr Colour kBoxTextArea = RGB(255, 255, 255);
constexpr Colour kBoxStrip = RGB(240, 240, 240);
constexpr Colour kBoxStripLine = RGB(223, 223, 223);
constexpr Colour kButtonFace = RGB(225, 225, 225);
constexpr Colour kButtonBorder = RGB(173, 173, 173);
constexpr Colour kButtonFocusFace = RGB(229, 241, 251);
constexpr Colour kButtonFocusBorder = RGB(0, 120, 215);
constexpr Colour kButtonPressedFace = RGB(204, 228, 247);
constexpr Colour kBoxTextColour = RGB(0, 0, 0);
