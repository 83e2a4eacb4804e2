// The Spin kind: the value shown with its decimals, the two buttons' layout and their clicks.
#include "elements/spin.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/attributes.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "render/interaction.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {
namespace {

constexpr int kButtonWidth = 16;

std::string Shown(const Element& spin, double value) {
  return FormatFixed(value, spin.SpinDecimals);
}

void SetSpinState(Toolkit& tk, Element& spin, double state) {
  spin.SpinValue = static_cast<float>(state);
  const int id = spin.ID;
  SetElementText(tk, id, Shown(spin, state));
  // The text setter parses the text back; keep the value exactly as given.
  if (Element* e = FindElement(tk, id)) e->SpinValue = static_cast<float>(state);
}

// The buttons share the strip at the right edge, one above the other.
void PlaceButtons(Element& spin) {
  if (spin.Items.size() < 2) return;
  const int W = spin.Inner.w0, H = spin.Inner.h0;
  for (int i : {kSpinUpItem, kSpinDownItem}) {
    Element& b = *spin.Items[static_cast<size_t>(i)];
    b.Frame.w0 = kButtonWidth - 3;
    b.Frame.x0 = W - kButtonWidth + 2;
    b.Frame.h0 = H / 2 - 1;
    b.Frame.y0 = i == kSpinUpItem ? 1 : (H % 2 != 0 ? H / 2 + 1 : H / 2);
  }
}

void PaintButtons(Toolkit& tk, Element& spin, platform::Painter& painter) {
  PlaceButtons(spin);
  for (size_t i = 0; i < spin.Items.size() && i < 2; ++i)
    PaintElement(tk, painter, spin, *spin.Items[i], spin.Inner.x0, spin.Inner.y0);
}

void Resized(Toolkit&, Element& spin) {
  PlaceButtons(spin);
}

// A click on a button steps the value within the limits.
void ButtonEvent(Toolkit& tk, Element& spin, EventCode code, int, int item) {
  if (code != ElementEvent::LeftClick) return;
  BusyGuard busy(tk);
  const int id = spin.ID;
  float value = std::strtof(spin.Text.c_str(), nullptr);
  // A numeric spin's value stays within its limits unless the program sets it: a typed number
  // beyond them is not taken (the program's own value, which its text no longer shows, stays).
  const bool numeric = HasAny(spin.Flags, Flag::Numeric);
  auto within = [&](float v) { return spin.SpinMin <= v && v <= spin.SpinMax; };
  if (!numeric || within(value)) spin.SpinValue = value;
  EventCode step = 0;
  if (item == kSpinUpItem) {
    if (value < spin.SpinMax) {
      value = std::min(value + spin.SpinStep, spin.SpinMax);
      step = ElementEvent::StepUp;
    }
  } else if (item == kSpinDownItem) {
    if (!(spin.SpinMin >= value)) {
      value = std::max(value - spin.SpinStep, spin.SpinMin);
      step = ElementEvent::StepDown;
    }
  }
  // A numeric spin shows every value it holds: one stepped from outside its limits (set by
  // the program) is not taken, or the value would differ from the text.
  if (!numeric || within(value)) spin.SpinValue = value;
  if (step != 0) PostElementEvent(tk, step, id, item, 0);
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  if (HasAny(e->Flags, Flag::Numeric) && e->SpinMin <= value && value <= e->SpinMax) {
    SetElementText(tk, id, Shown(*e, value));
    if ((e = FindElement(tk, id)) == nullptr) return;
    e->SpinValue = value;
    // Announced here once; the text input must not announce the same text again.
    e->PreviousText = e->Text;
    e->PreviousTextSet = 1;
    PostElementEvent(tk, ElementEvent::Change, id, item, 0);
  }
}

// Spin: the separator of the element's button strip, and the arrows of its two buttons.
void SpinGlyph(platform::Painter& p, const Element& r, bool isItem, int x, int y, int w, int h,
               const looks::Look& look) {
  p.SetMode(platform::DrawMode::Default);
  if (!isItem) {
    const int sx = x + w - r.FrameWidth - r.ItemWidth;
    p.Line(sx, y + r.FrameWidth, 1, h - 2 * r.FrameWidth, look.frame);
  } else if (r.ID == 0 || r.ID == 1) {
    PaintArrow(p, x + w / 2, y + h / 2, r.ID == 0 ? ArrowDirection::Up : ArrowDirection::Down,
               looks::kGlyphColor);
  }
}

void PaintSpinGlyph(Toolkit&, platform::Painter& painter, GlyphPass& g) {
  SpinGlyph(painter, g.record, g.isItem, g.x, g.y, g.w, g.h, g.look);
  if (g.isItem) return;
  g.roomW -= g.record.ItemWidth;
  // The value sits level with the middle of the field, between its two buttons.
  g.textBits =
      (g.textBits & ~static_cast<uint32_t>(Flag::Bottom)) | static_cast<uint32_t>(Flag::VCenter);
}

}  // namespace

int Spin(Toolkit& tk, int id, int x, int y, int width, int height, double minimum, double maximum,
         Flags64 flags, int parentId, const std::string& stepText, int64_t data) {
  const int made = CreateInParent(tk, parentId, [&] {
    return CreateElement(tk, ElementKind::Spin, id, x, y, width, height, "",
                         static_cast<int>(std::lround(minimum)),
                         static_cast<int>(std::lround(maximum)), 0, flags, -1, stepText);
  });
  if (made == 0) return 0;
  if (data != 0) SetElementData(tk, made, data);
  if (Element* e = FindElement(tk, made)) PlaceButtons(*e);
  return made;
}

namespace {

double SpinState(Toolkit&, const Element& spin, int) {
  return spin.SpinValue;
}

// The program's text is also the spin's value.
std::string SetSpinText(Toolkit&, Element& spin, const std::string& text) {
  std::string previous = StoreElementText(spin, text);
  spin.SpinValue = std::strtof(text.c_str(), nullptr);
  return previous;
}

void DressSpinButton(Element& spin, Element& item) {
  item.BackColor = kNoColor;
  item.Radius = spin.Radius;
  item.BackgroundMode = Background::Gradient;
}

constexpr int kMaxSpinDecimals = 127;

// Numeric value of the leading number in a text; 0 when there is none.
float ParseLeadingFloat(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
    ++i;
  if (i < s.size() && s[i] == '+') ++i;
  float value = 0;
  auto result = std::from_chars(s.data() + i, s.data() + s.size(), value);
  return result.ec == std::errc() ? value : 0.0f;
}

// Digits between the first "." and the next "." or the end.
int DecimalsOf(std::string_view s) {
  size_t dot = s.find('.');
  if (dot == std::string_view::npos) return 0;
  size_t next = s.find('.', dot + 1);
  size_t end = next == std::string_view::npos ? s.size() : next;
  return static_cast<int>(std::min<size_t>(end - dot - 1, kMaxSpinDecimals));
}

// The range comes as param1 and param2, the step as a text whose decimals the value shows.
void SpinCreated(Toolkit&, Element& e, const KindDescriptor::CreationArgs& args, Flags64&) {
  e.SpinMin = static_cast<float>(args.param1);
  e.SpinMax = static_cast<float>(args.param2);
  if (!args.stepText.empty()) {
    e.SpinStep = ParseLeadingFloat(args.stepText);
    e.SpinDecimals = static_cast<int8_t>(DecimalsOf(args.stepText));
  }
  if (HasAny(args.flags, Flag::Numeric)) e.Text = FormatFixed(0.0, e.SpinDecimals);
  if (!HasAny(args.flags, Flag::ReadOnly)) e.Flags |= Flag::Editable;
}

}  // namespace

void RegisterSpin(Toolkit& tk) {
  // Creation: two buttons as built-in parts; editable unless read-only.
  {
    constexpr int kButtons = 2;
    KindDescriptor& d = tk.Kind(ElementKind::Spin);
    d.Defaults.NoImage = true;
    d.Defaults.FrameColor = StartColor::FieldFrame;
    d.Defaults.ItemWidth = kButtonWidth;
    d.Defaults.PartItems = kButtons;
    d.Created = &SpinCreated;
  }
  KindDescriptor& h = tk.Kind(ElementKind::Spin);
  h.Traits |= Trait::PartItems | Trait::TracksItems | Trait::TakesText;
  h.SetState = &SetSpinState;
  h.PaintItems = &PaintButtons;
  h.Resized = &Resized;
  h.ItemEvent = &ButtonEvent;

  // Source text: the floating limits.
  h.CodeArgs = {KindDescriptor::CodeArg::SpinMin, KindDescriptor::CodeArg::SpinMax};
  // State, text and buttons.
  h.Traits |= Trait::FixedItemWidth;
  h.GetState = &SpinState;
  h.SetText = &SetSpinText;
  h.DressItem = &DressSpinButton;
  // Its parts act when chosen.
  h.ChooseItem = &PassToItemEvent;
  // ---- painting
  tk.Kind(ElementKind::Spin).PaintGlyph = &PaintSpinGlyph;
}

}  // namespace tk
