// The colour requester: a palette of basic colours, red/green/blue spins, a hexadecimal field
// and a swatch of the colour, each following the others.
#include <array>
#include <cctype>
#include <string>
#include <string_view>

#include "core/attributes.h"
#include "core/lookup.h"
#include "elements/simple.h"
#include "elements/spin.h"
#include "requesters/modal.h"
#include "requesters/requesters.h"

namespace tk {

namespace {

constexpr int kPad = 12;
constexpr int kGap = 8;
constexpr int kCell = 22;  // one palette swatch
constexpr int kCellGap = 4;
constexpr int kColumns = 8;
constexpr int kRows = 6;
constexpr int kRowH = 24;
constexpr int kLabelW = 44;
constexpr int kFieldW = 84;
constexpr int kButtonW = 80;
constexpr int kButtonH = 24;

// Element numbers inside the requester.
constexpr int kSwatch = 1;
constexpr int kFirstLabel = 2;  // red, green, blue, hexadecimal
constexpr int kFirstSpin = 6;   // red, green, blue
constexpr int kHex = 9;
constexpr int kOk = 10;
constexpr int kCancel = 11;
constexpr int kPaletteLabel = 12;
constexpr int kFirstCell = 20;

// The basic colours as people write them (RRGGBB), row by row.
constexpr std::array<uint32_t, kColumns* kRows> kPalette = {
    0xFF8080, 0xFFFF80, 0x80FF80, 0x00FF80, 0x80FFFF, 0x0080FF, 0xFF80C0, 0xFF80FF,
    0xFF0000, 0xFFFF00, 0x80FF00, 0x00FF40, 0x00FFFF, 0x0080C0, 0x8080C0, 0xFF00FF,
    0x804040, 0xFF8040, 0x00FF00, 0x008080, 0x004080, 0x8080FF, 0x800040, 0xFF0080,
    0x800000, 0xFF8000, 0x008000, 0x008040, 0x0000FF, 0x0000A0, 0x800080, 0x8000FF,
    0x400000, 0x804000, 0x004000, 0x004040, 0x000080, 0x000040, 0x400040, 0x400080,
    0x000000, 0x808000, 0x808040, 0x808080, 0x408080, 0xC0C0C0, 0xE0E0E0, 0xFFFFFF};

// 0xRRGGBB <-> 0xBBGGRR: the same swap both ways.
int64_t SwapRedBlue(int64_t c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
    s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
    s.remove_suffix(1);
  return s;
}

// "RRGGBB", optionally after "$" or "#", as a 0xBBGGRR colour; -1 for anything else.
int64_t ParseHexColor(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && (text.front() == '$' || text.front() == '#')) text.remove_prefix(1);
  if (text.size() != 6) return -1;
  int64_t rgb = 0;
  for (char c : text) {
    const int d = HexDigit(c);
    if (d < 0) return -1;
    rgb = rgb * 16 + d;
  }
  return SwapRedBlue(rgb);
}

// A 0xBBGGRR colour as "RRGGBB".
std::string FormatHexColor(int64_t color) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const int64_t rgb = SwapRedBlue(color & 0xFFFFFF);
  std::string out(6, '0');
  for (int i = 5, v = static_cast<int>(rgb); i >= 0; --i, v >>= 4)
    out[static_cast<size_t>(i)] = kDigits[v & 0xF];
  return out;
}

}  // namespace

int64_t ColorRequester(Toolkit& tk, int64_t initial) {
  if (!tk.root.CanvasID) return -1;
  int64_t color = initial >= 0 && initial <= 0xFFFFFF ? initial : 0;

  const int paletteW = kColumns * (kCell + kCellGap) - kCellGap;
  const int paletteH = kRows * (kCell + kCellGap) - kCellGap;
  const int labelH = 18;
  const int rightX = kPad + paletteW + 2 * kGap;
  const int rightW = kLabelW + kFieldW;
  const int innerW = rightX + rightW + kPad;
  const int bodyH = labelH + 4 + paletteH;
  const int buttonsY = kPad + bodyH + kPad;
  const int innerH = buttonsY + kButtonH + kPad;

  ModalWindow modal(tk, "Colour", innerW, innerH);
  if (!modal.IsOpen()) return -1;
  const int window = modal.Window();

  Text(tk, modal.Id(kPaletteLabel), kPad, kPad, paletteW, labelH, "Basic colours:", 0, window);
  const int paletteY = kPad + labelH + 4;
  for (int i = 0; i < kColumns * kRows; ++i) {
    const int id = modal.Id(kFirstCell + i);
    Container(tk, id, kPad + (i % kColumns) * (kCell + kCellGap),
              paletteY + (i / kColumns) * (kCell + kCellGap), kCell, kCell, Flag::Border, window);
    SetElementColor(tk, id, Attribute::BackColor, SwapRedBlue(kPalette[static_cast<size_t>(i)]));
  }

  // The swatch stands above the fields, as tall as the room they leave.
  const int fieldsH = 4 * kRowH + 3 * kGap;
  const int swatchH = bodyH - fieldsH - kGap;
  Container(tk, modal.Id(kSwatch), rightX, kPad, rightW, swatchH, Flag::Border, window);
  const char* labels[] = {"Red:", "Green:", "Blue:", "Hex:"};
  int y = kPad + swatchH + kGap;
  for (int i = 0; i < 4; ++i) {
    Text(tk, modal.Id(kFirstLabel + i), rightX, y + 3, kLabelW, kRowH - 3, labels[i], 0, window);
    if (i < 3)
      Spin(tk, modal.Id(kFirstSpin + i), rightX + kLabelW, y, kFieldW, kRowH, 0, 255, Flag::Numeric,
           window);
    else
      String(tk, modal.Id(kHex), rightX + kLabelW, y, kFieldW, kRowH, "", 0, window);
    y += kRowH + kGap;
  }
  // Labels show the window's background through.
  for (int label : {kPaletteLabel, kFirstLabel, kFirstLabel + 1, kFirstLabel + 2, kFirstLabel + 3})
    SetElementColor(tk, modal.Id(label), Attribute::BackColor, kNoColor);
  Button(tk, modal.Id(kOk), innerW - kPad - 2 * kButtonW - kGap, buttonsY, kButtonW, kButtonH, "OK",
         0, window);
  Button(tk, modal.Id(kCancel), innerW - kPad - kButtonW, buttonsY, kButtonW, kButtonH, "Cancel", 0,
         window);

  // Shows `color` everywhere but in the control it came from (whose text is the user's).
  auto show = [&](int from) {
    SetElementColor(tk, modal.Id(kSwatch), Attribute::BackColor, color);
    for (int i = 0; i < 3; ++i) {
      const int spin = modal.Id(kFirstSpin + i);
      if (spin != from) SetElementState(tk, spin, static_cast<double>((color >> (8 * i)) & 0xFF));
    }
    if (from != modal.Id(kHex)) SetElementText(tk, modal.Id(kHex), FormatHexColor(color));
  };
  show(0);

  // A spin's text when it is a whole number in 0..255, else -1.
  auto spinValue = [&](int spin) {
    const std::string text(Trim(GetElementText(tk, spin)));
    if (text.empty() || text.size() > 3) return -1;
    int v = 0;
    for (char c : text) {
      if (c < '0' || c > '9') return -1;
      v = v * 10 + (c - '0');
    }
    return v <= 255 ? v : -1;
  };

  modal.onEvent = [&](EventCode code, int element) {
    const int n = element - modal.Window();
    // A field left with text that names no colour shows the colour again.
    if (code == ElementEvent::LostFocus) {
      if (n == kHex && GetElementText(tk, element) != FormatHexColor(color))
        SetElementText(tk, element, FormatHexColor(color));
      if (n >= kFirstSpin && n < kFirstSpin + 3 && spinValue(element) < 0)
        SetElementState(tk, element, static_cast<double>((color >> (8 * (n - kFirstSpin))) & 0xFF));
      return;
    }
    if (code == ElementEvent::LeftClick) {
      if (n == kOk) modal.End(true);
      if (n == kCancel) modal.End(false);
      if (n >= kFirstCell && n < kFirstCell + kColumns * kRows) {
        color = SwapRedBlue(kPalette[static_cast<size_t>(n - kFirstCell)]);
        show(0);
      }
      return;
    }
    if (code != ElementEvent::Change) return;
    if (n >= kFirstSpin && n < kFirstSpin + 3) {
      const int v = spinValue(element);
      if (v < 0) return;  // half typed or out of range: the colour stays
      const int shift = 8 * (n - kFirstSpin);
      color = (color & ~(int64_t{0xFF} << shift)) | (int64_t{v} << shift);
      show(element);
    } else if (n == kHex) {
      const int64_t typed = ParseHexColor(GetElementText(tk, element));
      if (typed < 0) return;
      color = typed;
      show(element);
    }
  };
  if (!modal.Run()) return -1;
  return color;
}

}  // namespace tk
