#include "platform/sdl/message_box_layout.h"

#include <algorithm>

namespace {

constexpr int kMargin = 24;       // around the text
constexpr int kStripHeight = 48;  // the grey strip that holds the buttons
constexpr int kStripRight = 12;   // from the last button to the right edge
constexpr int kButtonHeight = 26;
constexpr int kButtonMinWidth = 88;
constexpr int kButtonPadding = 16;  // around a label wider than the usual button
constexpr int kButtonGap = 10;
constexpr int kMinWidth = 180;
constexpr int kMinTextWidth = 200;

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

void BreakOneLine(const std::string& line, int maxWidth,
                  const std::function<int(const std::string&)>& width,
                  std::vector<std::string>& out) {
  std::string current;
  std::size_t i = 0;
  while (i < line.size()) {
    std::size_t n = std::min(SequenceLength(static_cast<unsigned char>(line[i])), line.size() - i);
    std::string next = current + line.substr(i, n);
    if (!current.empty() && width(next) > maxWidth) {
      out.push_back(current);
      current = line.substr(i, n);
    } else {
      current = std::move(next);
    }
    i += n;
  }
  out.push_back(current);
}

std::vector<BoxButton> ButtonsOf(MsgBoxButtons buttons) {
  if (buttons == MsgBoxButtons::YesNo)
    return {{MsgBoxAnswer::Yes, "はい(Y)", {}}, {MsgBoxAnswer::No, "いいえ(N)", {}}};
  return {{MsgBoxAnswer::Ok, "OK", {}}};
}

void FillRect(Surface& surface, const BoxRect& r, Colour colour) {
  int x0 = std::max(r.left, 0), y0 = std::max(r.top, 0);
  int x1 = std::min(r.left + r.width, surface.Width());
  int y1 = std::min(r.top + r.height, surface.Height());
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) surface.SetPixel(x, y, colour);
}

// A frame `thickness` pixels wide just inside `r`.
void FrameRect(Surface& surface, const BoxRect& r, int thickness, Colour colour) {
  FillRect(surface, {r.left, r.top, r.width, thickness}, colour);
  FillRect(surface, {r.left, r.top + r.height - thickness, r.width, thickness}, colour);
  FillRect(surface, {r.left, r.top, thickness, r.height}, colour);
  FillRect(surface, {r.left + r.width - thickness, r.top, thickness, r.height}, colour);
}

}  // namespace

std::vector<std::string> BreakLines(const std::string& text, int maxWidth,
                                    const std::function<int(const std::string&)>& width) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    std::size_t feed = text.find('\n', start);
    std::string line =
        text.substr(start, feed == std::string::npos ? std::string::npos : feed - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    BreakOneLine(line, maxWidth, width, lines);
    if (feed == std::string::npos) break;
    start = feed + 1;
  }
  return lines;
}

MessageBoxLayout LayOutMessageBox(const std::string& text, MsgBoxButtons buttons, BoxText& font,
                                  int screenWidth) {
  MessageBoxLayout layout;
  const int maxTextWidth = std::max(kMinTextWidth, screenWidth * 3 / 4 - 2 * kMargin);
  layout.lines =
      BreakLines(text, maxTextWidth, [&font](const std::string& s) { return font.Width(s); });
  layout.lineHeight = font.LineHeight();
  int textWidth = 0;
  for (const std::string& line : layout.lines) textWidth = std::max(textWidth, font.Width(line));

  layout.buttons = ButtonsOf(buttons);
  int buttonsWidth = 0;
  for (BoxButton& button : layout.buttons) {
    button.rect.width = std::max(kButtonMinWidth, font.Width(button.label) + kButtonPadding);
    button.rect.height = kButtonHeight;
    buttonsWidth += button.rect.width;
  }
  buttonsWidth += kButtonGap * static_cast<int>(layout.buttons.size() - 1);

  layout.width = std::max({kMinWidth, textWidth + 2 * kMargin, buttonsWidth + 2 * kStripRight});
  layout.textLeft = kMargin;
  layout.textTop = kMargin;
  layout.stripTop = kMargin + layout.lineHeight * static_cast<int>(layout.lines.size()) + kMargin;
  layout.height = layout.stripTop + kStripHeight;

  int x = layout.width - kStripRight - buttonsWidth;
  for (BoxButton& button : layout.buttons) {
    button.rect.left = x;
    button.rect.top = layout.stripTop + (kStripHeight - kButtonHeight) / 2;
    x += button.rect.width + kButtonGap;
  }
  return layout;
}

MessageBoxChoice::MessageBoxChoice(MsgBoxButtons buttons) {
  for (const BoxButton& button : ButtonsOf(buttons)) answers_.push_back(button.answer);
}

std::optional<MsgBoxAnswer> MessageBoxChoice::Key(int keyCode, int shift, bool repeat) {
  const int count = static_cast<int>(answers_.size());
  const bool yesNo = answers_.front() == MsgBoxAnswer::Yes;
  switch (keyCode) {
    case vbKeyLeft:
    case vbKeyUp:
      focus_ = (focus_ + count - 1) % count;
      return std::nullopt;
    case vbKeyRight:
    case vbKeyDown:
      focus_ = (focus_ + 1) % count;
      return std::nullopt;
    case 9:  // Tab, backwards with Shift
      focus_ = (shift & 1) ? (focus_ + count - 1) % count : (focus_ + 1) % count;
      return std::nullopt;
    default:
      break;
  }
  // A held key that was already down when the box opened must not answer it.
  if (repeat) return std::nullopt;
  switch (keyCode) {
    case vbKeyReturn:
    case 32:  // Space
      return answers_[focus_];
    case vbKeyEscape:
      return yesNo ? std::nullopt : std::optional(MsgBoxAnswer::Ok);
    case 'Y':
      return yesNo ? std::optional(MsgBoxAnswer::Yes) : std::nullopt;
    case 'N':
      return yesNo ? std::optional(MsgBoxAnswer::No) : std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<MsgBoxAnswer> MessageBoxChoice::CloseRequest() const {
  // Only a box with nothing to decide may be closed; a question needs its answer.
  if (answers_.size() == 1) return answers_.front();
  return std::nullopt;
}

void MessageBoxChoice::MouseDown(int button) {
  pressed_ = button;
  if (button >= 0 && button < static_cast<int>(answers_.size())) focus_ = button;
}

std::optional<MsgBoxAnswer> MessageBoxChoice::MouseUp(int button) {
  const bool hit = button >= 0 && button == pressed_;
  pressed_ = -1;
  if (hit && button < static_cast<int>(answers_.size())) return answers_[button];
  return std::nullopt;
}

int ButtonAt(const MessageBoxLayout& layout, int x, int y) {
  for (std::size_t i = 0; i < layout.buttons.size(); ++i)
    if (layout.buttons[i].rect.Contains(x, y)) return static_cast<int>(i);
  return -1;
}

void DrawMessageBox(Surface& surface, const MessageBoxLayout& layout,
                    const MessageBoxChoice& choice, BoxText& font) {
  FillRect(surface, {0, 0, layout.width, layout.stripTop}, kBoxTextArea);
  FillRect(surface, {0, layout.stripTop, layout.width, layout.height - layout.stripTop}, kBoxStrip);
  FillRect(surface, {0, layout.stripTop, layout.width, 1}, kBoxStripLine);
  for (std::size_t i = 0; i < layout.lines.size(); ++i)
    font.Draw(surface, layout.textLeft, layout.textTop + layout.lineHeight * static_cast<int>(i),
              layout.lines[i], kBoxTextColour);
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    const BoxButton& button = layout.buttons[i];
    const bool focused = static_cast<int>(i) == choice.Focus();
    const bool pressed = static_cast<int>(i) == choice.Pressed();
    FillRect(surface, button.rect,
             pressed   ? kButtonPressedFace
             : focused ? kButtonFocusFace
                       : kButtonFace);
    // The button that Enter presses wears a double frame.
    FrameRect(surface, button.rect, focused ? 2 : 1, focused ? kButtonFocusBorder : kButtonBorder);
    const int labelX = button.rect.left + (button.rect.width - font.Width(button.label)) / 2;
    const int labelY = button.rect.top + (button.rect.height - font.LineHeight()) / 2;
    font.Draw(surface, labelX, labelY, button.label, kBoxTextColour);
  }
  surface.Touch();
}
