// The field-like gadget kinds: each paints its picture over the generic field and keeps the
// generic text out of the way where it shows a text of its own.
#include "elements/field_kinds.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "core/kind.h"
#include "elements/drawn_kinds.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {

using platform::DrawMode;
using platform::Painter;

namespace {

constexpr int kDropButtonWidth = 16;
constexpr int kTextInset = 3;  // a field's text starts this far inside its frame
constexpr std::string_view kDefaultDateMask = "%dd.%mm.%yyyy";
// A bar whose value was never set shows this share filled, so it reads as a progress bar.
constexpr double kPreviewShare = 0.4;
constexpr int kIpFields = 4;

std::string TwoDigits(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", ((v % 100) + 100) % 100);
  return buf;
}

// A Date without a date of its own shows today's date.
int64_t DateShown(const Element& e) {
  if (e.DateValue != 0) return e.DateValue;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return 0;
  return static_cast<int64_t>(now) + local.tm_gmtoff;
}

void PaintDate(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const PictureClip clip(p, g.record);
  const Element& e = g.record;
  const DrawArea a = InnerArea(e);
  const int button = std::min(kDropButtonWidth, std::max(a.w, 0));
  PaintArrow(p, a.x + a.w - button / 2 - 1, a.y + a.h / 2, ArrowDirection::Down,
             e.Disabled ? g.front : looks::kGlyphColor);
  // Its text is a mask when it holds one; an empty one shows the date in the usual order.
  const std::string_view text = e.Text;
  const std::string shown = text.empty() ? FormatDateMask(kDefaultDateMask, DateShown(e))
                            : text.find('%') != std::string_view::npos
                                ? FormatDateMask(text, DateShown(e))
                                : std::string(text);
  CentredLine(p, e, a.x + kTextInset, a.y, a.w - button - kTextInset, a.h, shown, g.front);
  g.roomW = 0;
}

void PaintShortcut(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const PictureClip clip(p, g.record);
  const DrawArea a = InnerArea(g.record);
  CentredLine(p, g.record, a.x + kTextInset, a.y, a.w - kTextInset, a.h,
              ShortcutText(g.record.ShortcutValue), g.front);
  g.roomW = 0;
}

// Four equal fields with a dot between each two; the state holds the address (first field in
// the low byte), unset showing 0.0.0.0.
void PaintIpAddress(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const PictureClip clip(p, g.record);
  const Element& e = g.record;
  const DrawArea a = InnerArea(e);
  const uint32_t address = e.StateIndex == -1 ? 0 : static_cast<uint32_t>(e.StateIndex);
  const int field = a.w / kIpFields;
  const int th = p.TextHeight("0");
  const int ty = a.y + (a.h - th) / 2;
  for (int i = 0; i < kIpFields; ++i) {
    const int fx = a.x + i * field;
    const std::string number = std::to_string((address >> (8 * i)) & 0xFF);
    const int tw = p.TextWidth(number);
    CentredLine(p, e, fx + (field - tw) / 2, a.y, field, a.h, number, g.front);
    if (i > 0) {
      p.SetMode(DrawMode::Default);
      p.Box(fx - 1, ty + th - 5, 2, 2, g.front);
    }
  }
  g.roomW = 0;
}

// A link starts in the link colour; a colour set later wins.
void LinkCreated(Toolkit&, Element& e, const KindDescriptor::CreationArgs&, Flags64&) {
  e.FrontColor = looks::kLinkColor;
}

// The text in its colour, underlined.
void PaintHyperLink(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const PictureClip clip(p, g.record);
  const Element& e = g.record;
  const Color color = g.front;
  const DrawArea a = InnerArea(e);
  const int th = p.TextHeight("Ag");
  const int x = a.x + 1;
  const int end = CentredLine(p, e, x, a.y, a.w - 1, a.h, e.Text, color);
  if (end > x) {
    p.SetMode(DrawMode::Default);
    p.Line(x, a.y + (a.h - th) / 2 + th - 2, end - x, 1, color);
  }
  g.roomW = 0;
}

// The value's share of the range; a bar without a range counts 0 to 100.
double ProgressShare(const Element& e) {
  const bool ranged = e.Max > e.Min;
  const int lo = ranged ? e.Min : 0, hi = ranged ? e.Max : 100;
  if (e.StateIndex == -1 && !(lo <= -1 && hi >= -1)) return kPreviewShare;
  const int v = std::clamp(e.StateIndex, lo, hi);
  return static_cast<double>(v - lo) / (hi - lo);
}

void PaintProgress(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const PictureClip clip(p, g.record);
  const Element& e = g.record;
  const DrawArea a = InnerArea(e);
  if (a.w <= 0 || a.h <= 0) return;
  p.SetMode(DrawMode::Default);
  p.Box(a.x, a.y, a.w, a.h, looks::kProgressTrack);
  const bool disabled = e.Disabled != 0 || g.owner.Disabled != 0;
  const Color fill = disabled ? looks::kFrameShadow : looks::kProgressFill;
  const double share = ProgressShare(e);
  if (HasAny(e.Flags, Flag::Vertical)) {
    const int filled = static_cast<int>(a.h * share);
    if (filled > 0) p.Box(a.x, a.y + a.h - filled, a.w, filled, fill);
  } else {
    const int filled = static_cast<int>(a.w * share);
    if (filled > 0) p.Box(a.x, a.y, filled, a.h, fill);
  }
  g.roomW = 0;
}

}  // namespace

std::string FormatDateMask(std::string_view mask, int64_t seconds) {
  using namespace std::chrono;
  // Dates run from 1601 to 9999, so the calendar arithmetic stays in range.
  constexpr int64_t kFirst = -11644473600, kLast = 253402300799;
  const sys_seconds at{std::chrono::seconds{std::clamp(seconds, kFirst, kLast)}};
  const sys_days day = floor<days>(at);
  const year_month_day ymd{day};
  const hh_mm_ss<std::chrono::seconds> time{at - day};
  const int year = static_cast<int>(ymd.year());
  struct Token {
    std::string_view name;
    std::string value;
  };
  const Token tokens[] = {
      {"%yyyy", std::to_string(year)},
      {"%yy", TwoDigits(year)},
      {"%mm", TwoDigits(static_cast<int>(static_cast<unsigned>(ymd.month())))},
      {"%dd", TwoDigits(static_cast<int>(static_cast<unsigned>(ymd.day())))},
      {"%hh", TwoDigits(static_cast<int>(time.hours().count()))},
      {"%ii", TwoDigits(static_cast<int>(time.minutes().count()))},
      {"%ss", TwoDigits(static_cast<int>(time.seconds().count()))},
  };
  std::string out;
  for (size_t i = 0; i < mask.size();) {
    bool replaced = false;
    for (const Token& t : tokens) {
      if (mask.compare(i, t.name.size(), t.name) == 0) {
        out += t.value;
        i += t.name.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += mask[i++];
  }
  return out;
}

std::string ShortcutText(int value) {
  constexpr int kShift = 0x10000, kControl = 0x20000, kAlt = 0x40000;
  const int key = value & 0xFFFF;
  if (key == 0) return "None";
  std::string out;
  if (value & kControl) out += "Ctrl + ";
  if (value & kShift) out += "Shift + ";
  if (value & kAlt) out += "Alt + ";
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    out += static_cast<char>(key);
  } else if (key >= 0x70 && key <= 0x87) {  // F1 to F24
    out += 'F';
    out += std::to_string(key - 0x70 + 1);
  } else {
    out += "Key ";
    out += std::to_string(key);
  }
  return out;
}

void RegisterFieldKinds(Toolkit& tk) {
  tk.Kind(ElementKind::Date).PaintGlyph = &PaintDate;
  tk.Kind(ElementKind::Shortcut).PaintGlyph = &PaintShortcut;
  tk.Kind(ElementKind::IPAddress).PaintGlyph = &PaintIpAddress;
  tk.Kind(ElementKind::ProgressBar).PaintGlyph = &PaintProgress;
  // A link is text on the window's face, without a field around it.
  KindDescriptor& link = tk.Kind(ElementKind::HyperLink);
  link.PaintGlyph = &PaintHyperLink;
  link.Created = &LinkCreated;
  link.Defaults.BackgroundMode = Background::None;
  link.Defaults.RequestFlags = Flag::BorderLess;
}

}  // namespace tk
