// The drawing pipeline: the whole scene in list order with its overlays, the generic element
// painter, clipping to the parent, the dispatch to item painters, the generic strip, property
// row and position picker painters, and the tooltip.
#include "render/paint.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/builtin_images.h"
#include "core/coords.h"
#include "core/lookup.h"
#include "core/textbox.h"
#include "core/tree.h"
#include "render/interaction.h"
#include "render/looks.h"

namespace tk {

using platform::DrawMode;
using platform::Painter;

namespace {

using looks::Look;
using namespace looks;

// Alignment bits of text and image in the low flag word.
constexpr uint32_t kTextBits = static_cast<uint32_t>(Flag::Left | Flag::AlignBit200 | Flag::Right |
                                                     Flag::Bottom | Flag::Center | Flag::VCenter);
// An image aligns by the text bits moved up by 6.
constexpr uint32_t kImageCentre = static_cast<uint32_t>(Flag::Center << 6);
constexpr uint32_t kImageRight = static_cast<uint32_t>(Flag::Right << 6);
constexpr uint32_t kImageVCentre = static_cast<uint32_t>(Flag::VCenter << 6);
constexpr uint32_t kImageBottom = static_cast<uint32_t>(Flag::Bottom << 6);

constexpr uint32_t kTextRight = static_cast<uint32_t>(Flag::Right);
constexpr uint32_t kTextBottom = static_cast<uint32_t>(Flag::Bottom);
constexpr uint32_t kTextCentre = static_cast<uint32_t>(Flag::Center);
constexpr uint32_t kTextVCentre = static_cast<uint32_t>(Flag::VCenter);

constexpr int kImageTextGap = 4;  // between an image and the text centred beside it
constexpr int kTitleInset = 5;    // a Frame's title starts this far right of its left edge
constexpr int kSecondImageOffset = 2;

// Strip painter geometry.
constexpr int kStripItemInset = 1;
constexpr int kSeparatorIndent = 12;
constexpr int kSeparatorShorten = 25;

constexpr std::string_view kEllipsis = "...";

struct Area {
  int x = 0, y = 0, w = 0, h = 0;
};

// The part of a parent its children may show in. While the parent is wholly visible along an
// axis its border is taken off; once the parent itself is cut, its visible edge already lies
// inside and the border is not taken off again.
Area UsableArea(const Element& parent) {
  const CoordBlock& c = parent.Clip;
  const int fw = parent.FrameWidth;
  Area a{c.x0, c.y0, c.w0, c.h0};
  if (c.w0 == parent.Frame.w0) {
    a.x += fw;
    a.w -= 2 * fw;
  }
  if (c.h0 == parent.Frame.h0) {
    a.y += fw;
    a.h -= 2 * fw;
  }
  return a;
}

// Cuts the wanted rectangle to the area and stores it as the visible rectangle (Clip pair 0).
void CutInto(const Area& a, int x, int y, int w, int h, CoordBlock& out) {
  if (x < a.x) {
    w -= a.x - x;
    x = a.x;
  }
  if (y < a.y) {
    h -= a.y - y;
    y = a.y;
  }
  if (x + w > a.x + a.w) w = a.x + a.w - x;
  if (y + h > a.y + a.h) h = a.y + a.h - y;
  out.x0 = x;
  out.y0 = y;
  out.w0 = w;
  out.h0 = h;
}

bool VisibleEmpty(const CoordBlock& c) {
  return c.w0 <= 0 || c.h0 <= 0;
}

// An empty visible rectangle clips everything away (a negative size must not flip it).
void ClipOutputTo(Painter& painter, const CoordBlock& c) {
  painter.Clip(c.x0, c.y0, std::max(c.w0, 0), std::max(c.h0, 0));
}

// Refreshes an element's visible rectangle from its parent's, or from the whole output for
// an element without a parent.
void UpdateVisible(Toolkit& tk, const Painter& painter, Element& e) {
  const Element* parent =
      e.ParentID >= 0 && e.ParentID != e.ID ? FindElement(tk, e.ParentID) : nullptr;
  const Area area =
      parent ? UsableArea(*parent) : Area{0, 0, painter.OutputWidth(), painter.OutputHeight()};
  CutInto(area, e.Frame.x0, e.Frame.y0, e.Frame.w0, e.Frame.h0, e.Clip);
  KeepBesideScrollBars(tk, e);
}

bool IsCloseGlyph(const Toolkit& tk, int image) {
  return image == BuiltinImage::CloseGlyph ||
         (tk.builtins.CloseGlyph >= 0 && image == tk.builtins.CloseGlyph);
}

// The first set state bit picks the look; a record without any of the three looks normal.
Look StateLook(const Toolkit& tk, const Element& r) {
  const int state = r.RepaintFlags;
  if (state & StateBit::Normal) return kNormal;
  const bool close = IsCloseGlyph(tk, r.Image);
  if (state & StateBit::Hot) return close ? kCloseHot : kHot;
  if (state & StateBit::Pressed) return close ? kClosePressed : kPressed;
  return kNormal;
}

// Top/left lines in one colour, bottom/right lines in another, on the rectangle's edges.
void Bevel(Painter& p, int x, int y, int w, int h, Color topLeft, Color bottomRight) {
  if (w <= 0 || h <= 0) return;
  p.Line(x, y, w, 1, topLeft);
  p.Line(x, y, 1, h, topLeft);
  p.Line(x, y + h - 1, w, 1, bottomRight);
  p.Line(x + w - 1, y, 1, h, bottomRight);
}

int ImageOpacity(const Toolkit& tk, const Element& owner, const Element& record, bool disabled) {
  if (disabled) return kOpacityDisabled;
  // Caption items and buttons brighten under the pointer.
  if (&owner != &record && tk.Kind(owner.Kind).CaptionItems && owner.CaptionHeight > 0)
    return (record.RepaintFlags & StateBit::Hot) ? kOpacityFull : kOpacityCaptionNormal;
  return kOpacityFull;
}

// Whether an ancestor scrolls its children as content. Bounded, so a broken parent chain
// cannot loop.
bool InScrolledContent(Toolkit& tk, const Element& e) {
  return EnclosingWithTrait(tk, e, Trait::ScrollsContent) != nullptr;
}

// Red 1-pixel lines along the inner frame edges that lie outside the visible rectangle.
// Scrolled content is left unmarked: it is meant to reach beyond its view.
void MarkOverhang(Toolkit& tk, Painter& painter, const Element& e) {
  const int s = e.FrameWidth - e.FrameWidthSet;
  const int x = e.Frame.x0 + s, y = e.Frame.y0 + s;
  const int w = e.Frame.w0 - 2 * s - 1, h = e.Frame.h0 - 2 * s - 1;
  const CoordBlock& v = e.Clip;
  const bool left = x < v.x0, top = y < v.y0;
  const bool right = x + w > v.x0 + v.w0 - 1, bottom = y + h > v.y0 + v.h0 - 1;
  if (!(left || top || right || bottom) || InScrolledContent(tk, e)) return;
  painter.SetMode(DrawMode::Outlined);
  if (left) painter.Line(x, y, 1, h, kOverhangRed);
  if (top) painter.Line(x, y, w, 1, kOverhangRed);
  if (right) painter.Line(x + w, y, 1, h, kOverhangRed);
  if (bottom) painter.Line(x, y + h, w, 1, kOverhangRed);
}

// One element of the list: visible rectangle, overhang marks, the element and its items.
void PaintListElement(Toolkit& tk, Painter& painter, Element& e) {
  painter.SetOrigin(0, 0);
  if (e.FontID != 0) painter.SetFont(e.FontID);
  UpdateVisible(tk, painter, e);
  if (VisibleEmpty(e.Clip)) return;
  if (e.Kind == ElementKind::Desktop) {
    if (e.BackColor != 0 && e.BackColor != kNoColor) {
      painter.SetMode(DrawMode::Default);
      painter.Box(0, 0, painter.OutputWidth(), painter.OutputHeight(), e.BackColor);
    }
    return;
  }
  if (e.Hidden) return;
  if (auto layout = tk.Kind(e.Kind).Layout) layout(tk, e, painter);
  MarkOverhang(tk, painter, e);
  PaintElement(tk, painter, e, e);
  PaintItems(tk, painter, e);
  e.Painted = 1;
  painter.Unclip();
}

void PaintDecorations(Toolkit& tk, Painter& painter, Element& e) {
  painter.SetOrigin(0, 0);
  painter.Unclip();
  PaintSelectionFrame(tk, painter, e);
  PaintGuides(tk, painter, e);
  PaintHandles(tk, painter, e);
}

void PaintToolTip(Toolkit& tk, Painter& painter) {
  Root& root = tk.root;
  const Element* pointed = FindElement(tk, root.PointerElement);
  if (pointed == nullptr || root.ToolTipText.empty()) return;
  painter.SetOrigin(0, 0);
  painter.Unclip();
  painter.SetFont(pointed->FontID != 0 ? pointed->FontID : tk.platform.Fonts().Default());
  const platform::TextSize size = painter.MeasureText(root.ToolTipText);
  const int w = std::max(root.ToolTipMinWidth, size.width + kToolTipPadWidth);
  const int h = std::max(root.ToolTipMinHeight, size.height + kToolTipPadHeight);
  const int x = root.ToolTipX, y = root.ToolTipY;
  painter.SetMode(DrawMode::Outlined);
  painter.Box(x, y, w, h, kBlack);
  painter.SetMode(DrawMode::Default);
  painter.Box(x + 1, y + 1, w - 2, h - 2, kToolTipFill);
  painter.SetMode(DrawMode::Transparent);
  painter.Text(x + kToolTipTextX, y + (h - size.height) / 2, root.ToolTipText, kBlack, kNoColor);
}

// What handlers asked to show over the frame. A copy is walked: an overlay may add or take
// away overlays while it paints.
void PaintOverlays(Toolkit& tk, Painter& painter) {
  const std::vector<Overlay> overlays = tk.root.Overlays;
  for (const Overlay& o : overlays) {
    painter.SetOrigin(0, 0);
    painter.Unclip();
    painter.SetMode(DrawMode::Default);
    o.Paint(painter);
  }
  painter.SetOrigin(0, 0);
  painter.Unclip();
}

// A back image is tiled from the inner top-left corner over the inner rectangle, where that
// is visible (the designer's dot grid under a form).
void PaintBackImage(Toolkit& tk, Painter& painter, const Element& e) {
  const platform::ImageStore& images = tk.platform.Images();
  if (e.BackImage == 0 || !images.IsImage(e.BackImage)) return;
  const int tw = images.Width(e.BackImage), th = images.Height(e.BackImage);
  if (tw <= 0 || th <= 0) return;
  const CoordBlock& in = e.Inner;
  const CoordBlock& seen = e.Clip;
  const int left = std::max(in.x0, seen.x0), top = std::max(in.y0, seen.y0);
  const int right = std::min(in.x0 + in.w0, seen.x0 + seen.w0);
  const int bottom = std::min(in.y0 + in.h0, seen.y0 + seen.h0);
  if (right <= left || bottom <= top) return;
  painter.Clip(left, top, right - left, bottom - top);
  // Only the tiles that reach the visible part; the first ones may start above or left of it.
  for (int ty = in.y0 + (top - in.y0) / th * th; ty < bottom; ty += th)
    for (int tx = in.x0 + (left - in.x0) / tw * tw; tx < right; tx += tw)
      painter.DrawImage(e.BackImage, tx, ty, 0, 0, 255);
  ClipOutputTo(painter, e.Clip);
}

}  // namespace

// ---- Public entries -------------------------------------------------------------------------

void PaintArrow(Painter& p, int cx, int cy, ArrowDirection dir, Color color) {
  for (int i = 0; i < kArrowSize; ++i) {
    const int half = kArrowSize - 1 - i;  // the row nearest the base is the widest
    const int offset = i - kArrowSize / 2;
    switch (dir) {
      case ArrowDirection::Down:
        p.Line(cx - half, cy + offset, 2 * half + 1, 1, color);
        break;
      case ArrowDirection::Up:
        p.Line(cx - half, cy - offset, 2 * half + 1, 1, color);
        break;
      case ArrowDirection::Right:
        p.Line(cx + offset, cy - half, 1, 2 * half + 1, color);
        break;
      case ArrowDirection::Left:
        p.Line(cx - offset, cy - half, 1, 2 * half + 1, color);
        break;
    }
  }
}

std::string_view FitText(Painter& painter, Element& r, int room) {
  const int font = painter.Font();
  if (r.FitRoom == room && r.FitFont == font && r.FitSource == r.Text)
    return r.FitCut ? std::string_view(r.FitText) : std::string_view(r.Text);
  r.FitSource = r.Text;
  r.FitFont = font;
  r.FitRoom = room;
  r.FitCut = 0;
  r.FitText.clear();
  const std::string_view text = r.Text;
  // Several lines are word-wrapped by the text box instead.
  if (text.find_first_of("\r\n") != std::string_view::npos) return text;
  if (painter.TextWidth(text) <= room) return text;
  r.FitCut = 1;
  if (painter.TextWidth(kEllipsis) > room) return r.FitText;

  // Widest prefix (cut on a character boundary) that still fits together with "...".
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
  size_t lo = 0, hi = starts.size();  // prefix of `lo` characters fits, of `hi` does not
  std::string candidate;
  while (hi - lo > 1) {
    const size_t mid = (lo + hi) / 2;
    candidate.assign(text.substr(0, starts[mid]));
    candidate.append(kEllipsis);
    if (painter.TextWidth(candidate) <= room)
      lo = mid;
    else
      hi = mid;
  }
  r.FitText.assign(text.substr(0, lo < starts.size() ? starts[lo] : text.size()));
  r.FitText.append(kEllipsis);
  return r.FitText;
}

void ClipToParent(Toolkit&, Painter& painter, const Element& parent, Element& child, int x, int y,
                  int w, int h) {
  const Area area = UsableArea(parent);
  CutInto(area, x, y, w, h, child.Clip);
  ClipOutputTo(painter, child.Clip);
}

void PaintAll(Toolkit& tk, Painter& painter) {
  Root& root = tk.root;
  auto& list = root.Elements;

  for (size_t i = 0; i < list.size(); ++i)
    PaintListElement(tk, painter, *list[i]);

  if (!root.MultiSelect) {
    if (Element* designed = FindElement(tk, root.DesignedElement))
      PaintDecorations(tk, painter, *designed);
  } else {
    for (size_t i = 0; i < list.size(); ++i)
      PaintDecorations(tk, painter, *list[i]);
  }

  // The topmost window and its elements cover everything painted so far.
  if (Element* top = FindElement(tk, root.TopmostWindow)) {
    const int start = IndexOf(root, top);
    const int topId = top->ID;
    PaintListElement(tk, painter, *top);
    for (size_t i = start < 0 ? list.size() : static_cast<size_t>(start) + 1; i < list.size(); ++i)
      if (list[i]->WindowID == topId) PaintListElement(tk, painter, *list[i]);
  }

  // Open popup menus cover everything else.
  for (size_t i = 0; i < list.size(); ++i) {
    Element& e = *list[i];
    if (tk.Kind(e.Kind).PaintsOnTop && !e.Hidden) PaintListElement(tk, painter, e);
  }

  PaintToolTip(tk, painter);
  PaintOverlays(tk, painter);
}

int AddOverlay(Toolkit& tk, std::function<void(Painter&)> paint) {
  if (!paint) return 0;
  Root& root = tk.root;
  const int handle = root.NextOverlayHandle++;
  root.Overlays.push_back(Overlay{handle, std::move(paint)});
  return handle;
}

bool RemoveOverlay(Toolkit& tk, int handle) {
  auto& list = tk.root.Overlays;
  return std::erase_if(list, [handle](const Overlay& o) { return o.Handle == handle; }) != 0;
}

namespace {

// One record being painted: where it is and how it looks.
struct RecordPaint {
  Element& owner;
  Element& record;
  bool isItem;
  int x, y, w, h;
  Look look;
  Color front;
  bool disabled;
  bool rounded;  // its back and plain frame have rounded corners
};

// Where the text and the image go, worked out before anything of them is painted.
struct TextPlan {
  int iw = 0, ih = 0;
  uint32_t imageBits = 0, textBits = 0;
  int roomX = 0, roomW = 0;
  bool centredPair = false;  // image and text centred across together
  bool ownsTitle = true;     // false when the caption item draws the title and icon
};

// A filled or outlined box, with the record's rounded corners where it has them.
void RecordBox(Painter& painter, const RecordPaint& rp, int bx, int by, int bw, int bh,
               Color color) {
  const int r = rp.record.Radius;
  if (rp.rounded)
    painter.RoundBox(bx, by, bw, bh, r, r, color);
  else
    painter.Box(bx, by, bw, bh, color);
}

// Colours: state looks for an unset back colour, then focus, then the disabled look.
void RecordColours(const Toolkit& tk, RecordPaint& rp) {
  const Element& record = rp.record;
  rp.look = Look{record.FrameColor, record.BackColor, record.BackColor};
  if (record.BackColor == kNoColor) rp.look = StateLook(tk, record);
  if (record.RepaintFlags & StateBit::Focused) rp.look.frame = kFocusFrame;
  rp.disabled = record.Disabled || rp.owner.Disabled;
  rp.front = record.FrontColor >= 0 ? record.FrontColor : kDefaultFront;
  if (rp.disabled) {
    rp.look = kDisabled;
    rp.front = DisabledTextColor(rp.front, rp.look.bottom);
  }
}

void PaintRecordBackground(Toolkit& tk, Painter& painter, const RecordPaint& rp) {
  const Element& record = rp.record;
  const int x = rp.x, y = rp.y, w = rp.w, h = rp.h;
  // A bordered record's background also covers the strips above it.
  const int raise =
      HasAny(record.Flags, Flag::Border) ? record.MenuStripHeight + record.ToolStripHeight + 1 : 0;
  if (record.BackgroundMode == Background::Plain) {
    painter.SetMode(DrawMode::Default);
    RecordBox(painter, rp, x, y - raise, w, h + raise, rp.look.bottom);
  } else if (record.BackgroundMode == Background::Gradient) {
    const int top = std::max(raise, 1);  // the gradient runs from y - 1 to y + h
    painter.SetMode(DrawMode::Gradient);
    painter.SetGradientColors(rp.look.top, rp.look.bottom);
    RecordBox(painter, rp, x, y - top, w, h + top, rp.look.bottom);
  }
  if (!rp.isItem) PaintBackImage(tk, painter, record);
}

void PaintRecordBorder(const Toolkit& tk, Painter& painter, const RecordPaint& rp,
                       int titleHeight) {
  const Element& record = rp.record;
  const Flags64 flags = record.Flags;
  if (!HasAny(flags, Flag::Border)) return;
  const int x = rp.x, y = rp.y, w = rp.w, h = rp.h;
  const int fy = y + titleHeight / 2, fh = h - titleHeight / 2;
  painter.SetMode(DrawMode::Outlined);
  if (HasAny(flags, Flag::Flat)) {
    // On the element's own edge: a box one pixel outside it would fall outside its clip
    // and never show.
    painter.Box(x, fy, w, fh, kFrameShadow);
  } else if (HasAny(flags, Flag::Single)) {
    Bevel(painter, x, fy, w, fh, kFrameShadow, kWhite);
  } else if (HasAny(flags, Flag::Double)) {
    Bevel(painter, x, fy, w, fh, kFrameShadow, kWhite);
    Bevel(painter, x + 1, fy + 1, w - 2, fh - 2, kFrameDark, kFrameLight);
  } else if (HasAny(flags, Flag::Raised)) {
    Bevel(painter, x, fy, w, fh, kFrameLight, kFrameDark);
    Bevel(painter, x + 1, fy + 1, w - 2, fh - 2, kWhite, kFrameShadow);
  } else {
    const int d = record.FrameWidth - 1;
    RecordBox(painter, rp, x + d, fy + d, w - 2 * d, fh - 2 * d, rp.look.frame);
    if (!rp.isItem && tk.Kind(record.Kind).CaptionItems && record.CaptionHeight > 0) {
      const int strips = record.CaptionHeight + record.MenuStripHeight + record.ToolStripHeight;
      painter.Line(x + d, y + record.FrameWidth + strips - 1, w - 2 * d, 1, rp.look.frame);
    }
  }
}

// Image size, alignment and the room the text has beside the image.
TextPlan PlanText(const Toolkit& tk, const Element& record, bool isItem, int x, int w) {
  const uint32_t low = LowWord(record.Flags);
  TextPlan plan;
  // A window's title and icon are drawn by its caption item.
  plan.ownsTitle = !(!isItem && tk.Kind(record.Kind).CaptionItems && !record.Items.empty());

  // Image size; image number 0 counts as none, like the creation parameters' default.
  const platform::ImageStore& images = tk.platform.Images();
  if (plan.ownsTitle && record.Image > 0) {
    plan.iw = images.Width(record.Image);
    plan.ih = images.Height(record.Image);
    if (plan.iw <= 0 || plan.ih <= 0) plan.iw = plan.ih = 0;
  }
  const bool hasImage = plan.iw > 0;

  // Alignment bits; a centring bit gives way to the edge bit it conflicts with.
  uint32_t& imageBits = plan.imageBits;
  imageBits = low & (kImageCentre | kImageRight | kImageVCentre | kImageBottom);
  if ((imageBits & kImageCentre) && (imageBits & kImageRight)) imageBits &= ~kImageCentre;
  if ((imageBits & kImageVCentre) && (imageBits & kImageBottom)) imageBits &= ~kImageVCentre;
  uint32_t& textBits = plan.textBits;
  textBits = low & kTextBits;
  if ((textBits & kTextCentre) && (textBits & kTextRight)) textBits &= ~kTextCentre;
  if ((textBits & kTextVCentre) && (textBits & kTextBottom)) textBits &= ~kTextVCentre;

  // Text room: inside the frame and beside the image; an image centred along the top leaves
  // a text aligned to the bottom the whole width below it.
  const bool imageAbove = hasImage && (imageBits & kImageCentre) &&
                          !(imageBits & (kImageVCentre | kImageBottom)) && (textBits & kTextBottom);
  plan.roomX = x + 1;
  plan.roomW = w - (imageAbove ? 0 : plan.iw) - 2;
  if (hasImage && !(imageBits & (kImageCentre | kImageRight))) plan.roomX += plan.iw;
  // An image and a text both centred across share the middle, the image just left of the
  // text: the text is centred right of the image's room and the image follows it.
  plan.centredPair = hasImage && !imageAbove && (imageBits & kImageCentre) &&
                     (textBits & kTextCentre) && !record.Text.empty();
  if (plan.centredPair) {
    plan.roomX += plan.iw + kImageTextGap;
    plan.roomW -= kImageTextGap;
  }
  return plan;
}

// Text box: aligned inside the room, or FrameWidth + 1 from the left and FrameWidth from the
// top along an axis without alignment bits.
TextBox BoxInRoom(const Element& record, const TextPlan& plan, int y, int h) {
  const int fw = record.FrameWidth;
  const bool alignedH = (plan.textBits & (kTextCentre | kTextRight)) != 0;
  const bool alignedV = (plan.textBits & (kTextVCentre | kTextBottom)) != 0;
  TextBox box;
  box.x = plan.roomX + (alignedH ? 0 : fw);
  box.w = plan.roomW - (alignedH ? 0 : fw);
  box.y = alignedV ? y + 1 : y + fw;
  box.h = y + h - 1 - box.y;
  return box;
}

// The text (or its editing), placed in its box; returns where a centred pair's image goes,
// or nothing when the image keeps its own alignment.
std::optional<int> PaintRecordText(Toolkit& tk, Painter& painter, const RecordPaint& rp,
                                   TextPlan plan, bool titled, int titleHeight) {
  Element& record = rp.record;
  const int x = rp.x, y = rp.y, w = rp.w;
  uint32_t textBits = plan.textBits;
  auto [bx, by, bw, bh] = BoxInRoom(record, plan, y, rp.h);
  if (titled) {
    bx = x + kTitleInset;
    bw = w - 2 * kTitleInset;
    by = y;
    bh = titleHeight;
    textBits = 0;
  }

  // An editable one-line text scrolls inside its box (text editing paints it with its caret
  // and selection) instead of being cut; other texts of several lines are wrapped as any text.
  const bool editable = HasAny(record.Flags, Flag::Editable) && !titled;
  const bool severalLines = record.Text.find_first_of("\r\n") != std::string::npos;
  if (!plan.ownsTitle || bw <= 0 || bh <= 0 || (!editable && record.Text.empty())) return {};
  record.TextX = bx;
  record.TextY = by;
  record.TextRoom = bw;
  if (editable && !severalLines) {
    PaintTextEditing(tk, painter, rp.owner, record, rp.front, textBits, bh);
    return {};
  }
  // An editor's lines scroll up and down in its box, beside its scroll bar.
  if (editable && HasAny(record.Flags, Flag::MultiLine) && !rp.isItem) {
    PaintTextLines(tk, painter, rp.owner, record, rp.front, textBits, bh);
    return {};
  }
  const std::string_view shown = FitText(painter, record, bw);
  if (shown.empty()) return {};
  if (titled) {
    painter.SetMode(DrawMode::Default);
    painter.Box(bx, by, painter.TextWidth(shown), titleHeight, kTitleBack);
  }
  painter.SetMode(DrawMode::Transparent);
  DrawTextBox(painter, bx, by, shown, rp.front, kNoColor, textBits, bw, bh);
  if (plan.centredPair && shown.find_first_of("\r\n") == std::string_view::npos)
    return bx + (bw - painter.TextWidth(shown)) / 2 - kImageTextGap - plan.iw;
  return {};
}

// The image, the debug outline and the second image.
void PaintRecordImages(Toolkit& tk, Painter& painter, const RecordPaint& rp, const TextPlan& plan,
                       std::optional<int> pairImageX) {
  const Element& record = rp.record;
  const int x = rp.x, y = rp.y, w = rp.w, h = rp.h;
  const int iw = plan.iw, ih = plan.ih;
  const uint32_t imageBits = plan.imageBits;
  const int opacity = ImageOpacity(tk, rp.owner, record, rp.disabled);
  if (iw > 0) {
    const int ix = pairImageX                   ? *pairImageX
                   : (imageBits & kImageRight)  ? x + w - 1 - iw
                   : (imageBits & kImageCentre) ? x + (w - iw) / 2
                                                : x + 1;
    const int iy = (imageBits & kImageBottom)    ? y + h - 1 - ih
                   : (imageBits & kImageVCentre) ? y + (h - ih) / 2
                                                 : y + 1;
    painter.SetMode(DrawMode::AlphaBlend);
    painter.DrawImage(record.Image, ix, iy, 0, 0, opacity);
  }

  // Debug outline of what is visible.
  if (tk.debugOutlines && !HasAll(record.Flags, Flag::Selected)) {
    const CoordBlock& v = record.Clip;
    painter.SetMode(DrawMode::Outlined);
    painter.Box(v.x0, v.y0, v.w0, v.h0, rp.isItem ? kItemDebugOutline : kBlack);
  }

  // Second image near the top-left corner, unless the owner's painter draws it itself.
  const platform::ImageStore& images = tk.platform.Images();
  if (record.Image2 > 0 && !tk.Kind(rp.owner.Kind).PaintsItemImage2 &&
      images.IsImage(record.Image2)) {
    const CoordBlock& v = record.Clip;
    painter.Clip(v.x0 - 1, v.y0 - 1, std::max(v.w0 + 2, 0), std::max(v.h0 + 2, 0));
    painter.SetMode(DrawMode::AlphaBlend);
    painter.DrawImage(record.Image2, x + kSecondImageOffset, y + kSecondImageOffset, 0, 0, opacity);
  }
}

}  // namespace

void PaintElement(Toolkit& tk, Painter& painter, Element& owner, Element& record, int dx, int dy,
                  int dw, int dh) {
  const bool isItem = &record != &owner;
  const int x = record.Frame.x0 + dx, y = record.Frame.y0 + dy;
  const int w = record.Frame.w0 + dw, h = record.Frame.h0 + dh;

  // Clipping: the element to its visible rectangle, an item to its owner's usable area.
  if (!isItem) {
    ClipOutputTo(painter, owner.Clip);
  } else {
    ClipToParent(tk, painter, owner, record, x, y, w, h + record.MenuStripHeight);
    if (VisibleEmpty(record.Clip)) {
      ClipOutputTo(painter, owner.Clip);
      return;
    }
  }

  const KindDescriptor& kind = tk.Kind(record.Kind);
  RecordPaint rp{owner, record, isItem, x, y, w, h, Look{}, 0, false, false};
  RecordColours(tk, rp);
  rp.rounded = record.Radius > 0 && !kind.Has(Trait::GlyphRadius);
  PaintRecordBackground(tk, painter, rp);

  // A titled border line runs through the middle of its title.
  const bool titled = !isItem && kind.Has(Trait::TitleOnBorder);
  const int titleHeight = titled ? painter.TextHeight("A") : 0;
  PaintRecordBorder(tk, painter, rp, titleHeight);

  TextPlan plan = PlanText(tk, record, isItem, x, w);
  // The kind's glyph; it also keeps the text clear of itself.
  if (kind.PaintGlyph != nullptr) {
    GlyphPass pass{owner, record,  isItem,   x,          y,          w,
                   h,     rp.look, rp.front, plan.roomX, plan.roomW, plan.textBits};
    kind.PaintGlyph(tk, painter, pass);
    plan.roomX = pass.roomX;
    plan.roomW = pass.roomW;
    plan.textBits = pass.textBits;
  }

  const std::optional<int> pairImageX = PaintRecordText(tk, painter, rp, plan, titled, titleHeight);
  PaintRecordImages(tk, painter, rp, plan, pairImageX);

  painter.SetMode(DrawMode::Default);
  ClipOutputTo(painter, owner.Clip);
}

TextBox ElementTextBox(const Toolkit& tk, const Element& e) {
  const TextPlan plan = PlanText(tk, e, false, e.Frame.x0, e.Frame.w0);
  return BoxInRoom(e, plan, e.Frame.y0, e.Frame.h0);
}

void PaintItems(Toolkit& tk, Painter& painter, Element& e) {
  // An icon list shows its header also while it has no rows.
  if (e.Items.empty() && e.Columns.empty()) return;
  if (auto hook = tk.Kind(e.Kind).PaintItems) hook(tk, e, painter);
}

namespace {

// Places a strip's items side by side or stacked, clear of the attached scroll bar when the
// content does not fit, and gives a scrolling column its content height. False when there is
// nothing to place.
bool LayoutStripItems(Toolkit& tk, Element& e, bool columnScrolls) {
  if (e.Items.empty()) return false;
  const bool column = e.ListBox == 1;
  if (column ? e.Inner.h0 == 0 : e.Inner.w0 == 0) return false;
  if (column && columnScrolls) {
    e.ScrollHeight = static_cast<int>(e.Items.size()) * (e.ItemHeight + 1);
    e.PageLength = e.Inner.h0;
  }

  int content = 0;
  for (const auto& item : e.Items)
    content += column ? item->Frame.h0 : item->Frame.w0;
  int bar = 0;
  if (column && content - 1 > e.Inner.h0) {
    if (const Element* b = FindElement(tk, e.Attached[1])) bar = b->Frame.w0;
  } else if (!column && content - 1 > e.Inner.w0) {
    if (const Element* b = FindElement(tk, e.Attached[2])) bar = b->Frame.h0;
  }

  int run = 0;
  for (auto& it : e.Items) {
    Element& item = *it;
    if (column) {
      item.Frame.x0 = kStripItemInset;
      item.Frame.y0 = run;
      item.Frame.w0 = e.Inner.w0 - 2 * kStripItemInset - bar;
      run += item.Frame.h0;
    } else {
      item.Frame.x0 = run;
      item.Frame.y0 = kStripItemInset;
      item.Frame.h0 = e.Inner.h0 - 2 * kStripItemInset - bar;
      run += item.Frame.w0;
    }
  }
  return true;
}

}  // namespace

void PaintStripItems(Toolkit& tk, Painter& painter, Element& e, const StripStyle& style) {
  if (!LayoutStripItems(tk, e, style.columnScrolls)) return;
  const bool column = e.ListBox == 1;
  const bool listLike = column && style.columnScrolls;
  const int count = static_cast<int>(e.Items.size());
  const int ox = e.Inner.x0;
  const int oy = e.Inner.y0 - (listLike ? e.VScroll : 0);

  if (style.clipToSelf)
    ClipToParent(tk, painter, e, e, e.Frame.x0, e.Frame.y0, e.Frame.w0, e.Frame.h0);

  const Root& root = tk.root;
  for (int i = 0; i < count; ++i) {
    Element& item = *e.Items[static_cast<size_t>(i)];
    const int ix = ox + item.Frame.x0, iy = oy + item.Frame.y0;
    const int iw = item.Frame.w0, ih = item.Frame.h0;

    if (item.SeparatorCount != 0) {
      painter.SetMode(DrawMode::Default);
      if (column && iw - kSeparatorShorten > 0)
        painter.Line(ix + kSeparatorIndent, iy + ih / 2, iw - kSeparatorShorten, 1,
                     item.FrameColor);
      else if (!column && ih - 2 > 0)
        painter.Line(ix + iw / 2, iy + 1, 1, ih - 2, item.FrameColor);
    } else {
      if (!item.Disabled) {
        if (item.Index == e.HotItem) {
          painter.SetMode(DrawMode::Default);
          painter.Box(ix + 1, iy + 1, iw - 2, ih - 2, item.HotBackColor);
          painter.SetMode(DrawMode::Outlined);
          painter.Box(ix, iy, iw, ih, item.StateColor1);
        }
        // A toggled tool-bar button stays lit while it is down.
        if (style.litWhileChecked && item.Checked != 0 && item.Index != e.HotItem) {
          painter.SetMode(DrawMode::Default);
          painter.Box(ix + 1, iy + 1, iw - 2, ih - 2, item.HotBackColor);
          painter.SetMode(DrawMode::Outlined);
          painter.Box(ix, iy, iw, ih, item.StateColor1);
        }
        if (item.Index == e.OpenTitle) {
          const bool active = e.ID == root.UsedElement || style.openAlwaysActive;
          painter.SetMode(DrawMode::Default);
          painter.Box(ix, iy, iw, ih, active ? item.StateColor1 : item.FrameColor);
        }
      }
      PaintElement(tk, painter, e, item, ox, oy);
    }
  }
}

}  // namespace tk
