// The font requester: the installed families, a size, bold and italic, and a preview line in
// the chosen font. What was chosen last is kept in the toolkit's requester state.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/lookup.h"
#include "elements/list.h"
#include "elements/scrollbar.h"
#include "elements/simple.h"
#include "elements/spin.h"
#include "platform/fonts.h"
#include "requesters/modal.h"
#include "requesters/requesters.h"

namespace tk {

namespace {

constexpr int kPad = 12;
constexpr int kGap = 8;
constexpr int kLabelH = 18;
constexpr int kListW = 260;
constexpr int kListH = 200;
constexpr int kRowH = 24;
constexpr int kSideW = 150;
constexpr int kPreviewH = 72;
constexpr int kButtonW = 80;
constexpr int kButtonH = 24;
constexpr int kMinSize = 1;
constexpr int kMaxSize = 500;
constexpr int kStartSize = 9;  // for a size given as nothing sensible

// Element numbers inside the requester.
constexpr int kFamilyLabel = 1;
constexpr int kFamilies = 2;
constexpr int kSizeLabel = 3;
constexpr int kSize = 4;
constexpr int kBold = 5;
constexpr int kItalic = 6;
constexpr int kPreviewLabel = 7;
constexpr int kPreview = 8;
constexpr int kOk = 9;
constexpr int kCancel = 10;

constexpr const char* kPreviewText = "AaBbYyZz 0123 АаБбЖжЯя";

bool SameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

int IndexOf(const std::vector<std::string>& families, const std::string& name) {
  for (size_t i = 0; i < families.size(); ++i)
    if (SameNoCase(families[i], name)) return static_cast<int>(i);
  return -1;
}

// The row of the family asked for: that family, else the one the font configuration draws
// it with, else the first.
int StartRow(Toolkit& tk, const std::vector<std::string>& families, const std::string& name) {
  if (families.empty()) return -1;
  platform::FontStore& fonts = tk.platform.Fonts();
  const std::string wanted = name.empty() ? fonts.Family(fonts.Default()) : name;
  int row = IndexOf(families, wanted);
  if (row < 0) row = IndexOf(families, fonts.Substitute(wanted));
  return std::max(row, 0);
}

// Scrolls the list so that `row` stands in the middle of its view.
void ScrollToRow(Toolkit& tk, int list, int row) {
  const Element* e = FindElement(tk, list);
  if (e == nullptr || row < 0 || static_cast<size_t>(row) >= e->Items.size()) return;
  const Element& item = *e->Items[static_cast<size_t>(row)];
  const int value = item.Frame.y0 - (e->Inner.h0 - item.Frame.h0) / 2;
  if (e->Attached[1] > 0) SetScrollBarValue(tk, e->Attached[1], std::max(0, value));
}

// The spin's text as a size when it is a whole number in range, else 0.
int SizeIn(const std::string& text) {
  int v = 0;
  size_t digits = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (c < '0' || c > '9' || ++digits > 3) return 0;
    v = v * 10 + (c - '0');
  }
  return digits > 0 && v >= kMinSize && v <= kMaxSize ? v : 0;
}

}  // namespace

bool FontRequester(Toolkit& tk, const std::string& name, int size, int style) {
  if (!tk.root.CanvasID) return false;
  const std::vector<std::string> families = tk.platform.Fonts().Families();

  std::string family = name;
  int fontSize = size < kMinSize ? kStartSize : std::min(size, kMaxSize);
  int fontStyle = std::max(0, style);

  const int sideX = kPad + kListW + 2 * kGap;
  const int innerW = sideX + kSideW + kPad;
  const int listY = kPad + kLabelH + 4;
  const int previewLabelY = listY + kListH + kGap;
  const int previewY = previewLabelY + kLabelH + 4;
  const int previewW = innerW - 2 * kPad;
  const int buttonsY = previewY + kPreviewH + kPad;
  const int innerH = buttonsY + kButtonH + kPad;

  ModalWindow modal(tk, "Font", innerW, innerH);
  if (!modal.IsOpen()) return false;
  const int window = modal.Window();

  Text(tk, modal.Id(kFamilyLabel), kPad, kPad, kListW, kLabelH, "Family:", 0, window);
  const int list = ListView(tk, modal.Id(kFamilies), kPad, listY, kListW, kListH, "", 0, window);
  // Names read best from a common left edge.
  for (const auto& f : families)
    AddListItem(tk, list, -1, f, -1, kListItemFlags & ~Flag::Center);
  const int startRow = StartRow(tk, families, name);
  if (startRow >= 0) {
    SetElementState(tk, list, startRow);
    ScrollToRow(tk, list, startRow);
    family = families[static_cast<size_t>(startRow)];
  }

  Text(tk, modal.Id(kSizeLabel), sideX, kPad, kSideW, kLabelH, "Size:", 0, window);
  Spin(tk, modal.Id(kSize), sideX, listY, 90, kRowH, kMinSize, kMaxSize, Flag::Numeric, window);
  SetElementState(tk, modal.Id(kSize), fontSize);
  CheckBox(tk, modal.Id(kBold), sideX, listY + kRowH + 2 * kGap, kSideW, 22, "Bold", 0, window);
  SetElementState(tk, modal.Id(kBold), (fontStyle & platform::FontStyle::Bold) != 0 ? 1 : 0);
  CheckBox(tk, modal.Id(kItalic), sideX, listY + 2 * kRowH + 3 * kGap, kSideW, 22, "Italic", 0,
           window);
  SetElementState(tk, modal.Id(kItalic), (fontStyle & platform::FontStyle::Italic) != 0 ? 1 : 0);

  Text(tk, modal.Id(kPreviewLabel), kPad, previewLabelY, previewW, kLabelH, "Preview:", 0, window);
  Text(tk, modal.Id(kPreview), kPad, previewY, previewW, kPreviewH, kPreviewText,
       Flag::Border | Flag::Center | Flag::VCenter, window);
  SetElementColor(tk, modal.Id(kPreview), Attribute::BackColor, 0xFFFFFF);
  // Labels show the window's background through.
  for (int label : {kFamilyLabel, kSizeLabel, kPreviewLabel})
    SetElementColor(tk, modal.Id(label), Attribute::BackColor, kNoColor);

  Button(tk, modal.Id(kOk), innerW - kPad - 2 * kButtonW - kGap, buttonsY, kButtonW, kButtonH, "OK",
         0, window);
  Button(tk, modal.Id(kCancel), innerW - kPad - kButtonW, buttonsY, kButtonW, kButtonH, "Cancel", 0,
         window);

  // Reads the controls into the choice and shows it in the preview. A check box toggles only
  // after its click has been delivered, so the one being clicked counts as already toggled.
  auto follow = [&](int clickedBox = 0) {
    auto ticked = [&](int box) {
      const bool on = GetElementState(tk, box) > 0;
      return box == clickedBox ? !on : on;
    };
    const int row = static_cast<int>(GetElementState(tk, list));
    if (row >= 0 && static_cast<size_t>(row) < families.size())
      family = families[static_cast<size_t>(row)];
    if (const int typed = SizeIn(GetElementText(tk, modal.Id(kSize))); typed > 0) fontSize = typed;
    constexpr int kBoxed = platform::FontStyle::Bold | platform::FontStyle::Italic;
    fontStyle &= ~kBoxed;
    if (ticked(modal.Id(kBold))) fontStyle |= platform::FontStyle::Bold;
    if (ticked(modal.Id(kItalic))) fontStyle |= platform::FontStyle::Italic;
    const int font = tk.platform.Fonts().Load(family, fontSize, fontStyle);
    const Element* preview = FindElement(tk, modal.Id(kPreview));
    if (preview != nullptr && preview->FontID != font) SetElementFont(tk, modal.Id(kPreview), font);
  };
  follow();

  modal.onEvent = [&](EventCode code, int element) {
    const int n = element - window;
    if (code == ElementEvent::LeftClick && n == kOk) {
      modal.End(true);
      return;
    }
    if (code == ElementEvent::LeftClick && n == kCancel) {
      modal.End(false);
      return;
    }
    // A spin left with text that is no size shows the size again.
    if (code == ElementEvent::LostFocus && n == kSize &&
        SizeIn(GetElementText(tk, element)) != fontSize)
      SetElementState(tk, element, fontSize);
    if (code == ElementEvent::LeftDoubleClick && n == kFamilies) {
      follow();
      modal.End(true);
      return;
    }
    if (code == ElementEvent::LeftClick && (n == kBold || n == kItalic))
      follow(element);
    else if (code == ElementEvent::Change || code == ElementEvent::KeyUp)
      follow();
  };
  modal.onConfirm = [&] {
    follow();
    return true;
  };

  if (!modal.Run()) return false;
  tk.requesters.FontName = family;
  tk.requesters.FontSize = fontSize;
  tk.requesters.FontStyle = fontStyle;
  return true;
}

std::string SelectedFontName(const Toolkit& tk) {
  return tk.requesters.FontName;
}

int SelectedFontSize(const Toolkit& tk) {
  return tk.requesters.FontSize;
}

int SelectedFontStyle(const Toolkit& tk) {
  return tk.requesters.FontStyle;
}

}  // namespace tk
