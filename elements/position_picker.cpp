// The position picker: placing and painting its parts.
#include "elements/position_picker.h"

#include "render/paint.h"

namespace tk {
namespace {

using platform::Painter;

// Edge bars and corners are 15 pixels thick, the centre starts at 16.
constexpr int kPickerBar = 15;
constexpr int kPickerCentre = 16;
constexpr int kPickerMarker = 19;
constexpr size_t kPickerItems = 11;

void SetItemRect(Element& item, int x, int y, int w, int h) {
  item.Frame.x0 = x;
  item.Frame.y0 = y;
  item.Frame.w0 = w;
  item.Frame.h0 = h;
}

// The position picker's eleven parts, laid out inside the inner size.
void LayoutPositionPicker(Toolkit&, Element& e, Painter&) {
  if (e.Items.size() < kPickerItems) return;
  const int W = e.Inner.w0, H = e.Inner.h0;
  const int c = kPickerCentre, t = kPickerBar;
  auto& it = e.Items;
  SetItemRect(*it[0], c, c, W - 2 * c, H - 2 * c);
  SetItemRect(*it[1], 0, c, t, H - 2 * c);
  SetItemRect(*it[2], c, 0, W - 2 * c, t);
  SetItemRect(*it[3], W - t, c, t, H - 2 * c);
  SetItemRect(*it[4], c, H - t, W - 2 * c, t);
  SetItemRect(*it[5], 0, 0, t, t);
  SetItemRect(*it[6], W - t, 0, t, t);
  SetItemRect(*it[7], W - t, H - t, t, t);
  SetItemRect(*it[8], 0, H - t, t, t);
  Element& marker = *it[9];
  if (marker.Frame.w0 == 0) marker.Frame.w0 = kPickerMarker;
  if (marker.Frame.h0 == 0) marker.Frame.h0 = kPickerMarker;
  marker.Frame.x0 = marker.Frame.w0 - 2;
  marker.Frame.y0 = marker.Frame.h0 - 2;
  SetItemRect(*it[10], (W - c) / 2, (H - c) / 2, t, t);
}

void PaintPositionPicker(Toolkit& tk, Element& e, Painter& painter) {
  if (e.Items.size() < kPickerItems) return;
  for (auto& item : e.Items)
    PaintElement(tk, painter, e, *item, e.Inner.x0, e.Inner.y0);
}

}  // namespace

void RegisterPositionPicker(Toolkit& tk) {
  // ---- painting and layout
  KindDescriptor& d = tk.Kind(ElementKind::PositionPicker);
  d.Layout = &LayoutPositionPicker;
  d.PaintItems = &PaintPositionPicker;
}

}  // namespace tk
