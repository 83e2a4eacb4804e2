// The property grid's list: its rows (a name and a value, each edited by a button, a spin or
// a combo box) and their painting.
#include "elements/property_list.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/attributes.h"
#include "core/items.h"
#include "core/kind.h"
#include "core/textbox.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {

// ---- rows -------------------------------------------------------------------------------

namespace {

// Flags a properties list takes when it gets rows: centred, left-aligned, with row states.
constexpr Flags64 kPropertyListFlags =
    Flag::TextCentered | Flag::Left | Flag::ImageCenter | Flag::ImageVCenter | Flag::AlignBit4000;

// A properties row: "<editor kind> <label>:<value>".
void ApplyPropertyRow(Element& owner, Element& item) {
  owner.BackColor = kNoColor;
  owner.Flags |= kPropertyListFlags;
  const std::string row = item.Text;
  const size_t space = row.find(' ');
  const std::string word = row.substr(0, space);
  const std::string rest = space == std::string::npos ? std::string() : row.substr(space + 1);
  const size_t colon = rest.find(':');
  item.Text2 = colon == std::string::npos ? rest : rest.substr(0, colon + 1);
  item.Text = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
  if (item.Text.empty()) item.Text.assign(1, ' ');

  ElementKind editor = ElementKind::None;
  if (word == "Button") editor = ElementKind::Button;
  if (word == "Spin") editor = ElementKind::Spin;
  if (word == "ComboBox") editor = ElementKind::ComboBox;
  if (editor != ElementKind::None) {
    item.Kind = editor;
    item.BackgroundMode = Background::Gradient;
    item.Flags |= Flag::Border;
  } else {
    item.BackgroundMode = Background::None;
  }
}

int AddRow(Toolkit& tk, Element& owner, int position, const std::string& text, int image,
           Flags64 flags) {
  return AddItem(tk, owner.ID, position, text, image, flags);
}

// The chosen row is the list's selection, not a state the program reads.
double NoState(Toolkit&, const Element&, int) {
  return -1.0;
}

}  // namespace

// ---- painting ---------------------------------------------------------------------------

namespace {

using platform::DrawMode;
using platform::Painter;

constexpr int kRowTextInset = 3;
constexpr int kRowButtonWidth = 17;

// A small gradient button with a frame, as the property rows draw their editor parts.
void RowButton(Painter& p, int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return;
  p.SetMode(DrawMode::Gradient);
  p.SetGradientColors(looks::kNormal.top, looks::kNormal.bottom);
  p.Box(x, y, w, h, looks::kNormal.bottom);
  p.SetMode(DrawMode::Outlined);
  p.Box(x, y, w, h, looks::kNormal.frame);
}

// An arrow image scaled into a square that fits the (half-height) button, centred.
void RowImage(Toolkit& tk, Painter& p, int image, int x, int y, int w, int h) {
  const int side = std::min(w, h);
  if (image < 0 || side <= 0 || !tk.platform.Images().IsImage(image)) return;
  p.SetMode(DrawMode::AlphaBlend);
  p.DrawImage(image, x + (w - side) / 2, y + (h - side) / 2, side, side, looks::kOpacityFull);
}

// Property rows: highlight of the hot and selected row, a separator, the name and the value,
// and the editor parts of spin and button rows at the row's right end.
void PaintPropertyRows(Toolkit& tk, Element& e, Painter& painter) {
  const int ox = e.Inner.x0, oy = e.Inner.y0 - e.VScroll;
  const int split = e.SplitterPos > 0 ? e.SplitterPos : e.Inner.w0 / 2;
  const Flags64 nameFlags = Flag::VCenter;
  for (size_t i = 0; i < e.Items.size(); ++i) {
    Element& row = *e.Items[i];
    const int rx = ox + row.Frame.x0, ry = oy + row.Frame.y0;
    const int rw = row.Frame.w0 > 0 ? row.Frame.w0 : e.Inner.w0, rh = row.Frame.h0;
    if (rh <= 0) continue;
    const int index = row.Index;
    painter.SetMode(DrawMode::Default);
    if (index == e.HotItem && !row.Disabled) painter.Box(rx, ry, rw, rh, row.HotBackColor);
    if (index == e.StateIndex) painter.Box(rx, ry, rw, rh, row.StateColor1);
    painter.Line(rx, ry + rh - 1, rw, 1, e.FrameColor);
    painter.Line(rx + split, ry, 1, rh, e.FrameColor);

    int partsWidth = 0;
    if (row.Kind == ElementKind::Spin || row.Kind == ElementKind::Button)
      partsWidth = kRowButtonWidth;
    Color front = row.FrontColor >= 0 ? row.FrontColor : looks::kDefaultFront;
    if (row.Disabled) front = looks::DisabledTextColor(front, looks::kDisabled.bottom);
    painter.SetMode(DrawMode::Transparent);
    if (!row.Text2.empty() && split - 2 * kRowTextInset > 0)
      DrawTextBox(painter, rx + kRowTextInset, ry, row.Text2, front, kNoColor, nameFlags,
                  split - 2 * kRowTextInset, rh);
    const int valueX = rx + split + kRowTextInset;
    const int room = rw - split - 2 * kRowTextInset - partsWidth;
    if (room > 0 && !row.Text.empty()) {
      const std::string_view shown = FitText(painter, row, room);
      painter.SetMode(DrawMode::Transparent);
      if (!shown.empty())
        DrawTextBox(painter, valueX, ry, shown, front, kNoColor, nameFlags, room, rh);
    }

    const int bx = rx + rw - kRowButtonWidth;
    if (row.Kind == ElementKind::Spin) {
      const int upH = rh / 2, downH = rh - rh / 2;
      RowButton(painter, bx, ry, kRowButtonWidth, upH);
      RowButton(painter, bx, ry + upH, kRowButtonWidth, downH);
      RowImage(tk, painter, tk.builtins.ScrollUp, bx, ry, kRowButtonWidth, upH);
      RowImage(tk, painter, tk.builtins.ScrollDown, bx, ry + upH, kRowButtonWidth, downH);
    } else if (row.Kind == ElementKind::Button) {
      RowButton(painter, bx, ry, kRowButtonWidth, rh);
    }
  }
}

}  // namespace

void RegisterPropertyList(Toolkit& tk) {
  KindDescriptor& d = tk.Kind(ElementKind::PropertyList);
  d.Traits |= Trait::SelectsItem;
  d.GetState = &NoState;
  d.AddItem = &AddRow;
  d.DressItem = &ApplyPropertyRow;
  // ---- painting
  tk.Kind(ElementKind::PropertyList).PaintItems = &PaintPropertyRows;
}

}  // namespace tk
