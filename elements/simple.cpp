// The simple kinds: each creation procedure picks a kind number, adds the flags the kind
// always carries, creates the element inside the wanted parent and restores the open list.
#include "elements/simple.h"

#include <cmath>

#include "core/attributes.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {
namespace {

using platform::DrawMode;
using platform::Painter;
using namespace looks;

// Flags the kinds always carry.
constexpr Flags64 kStringFlags = Flag::Border | Flag::Editable;
constexpr Flags64 kEditorFlags = Flag::Flat | Flag::AlignBit200 | Flag::Editable | Flag::MultiLine;

// Simple kinds take no image at creation.
constexpr int kNoImage = -1;

// The creation pattern shared by the kinds. `finish` runs on the new element while the
// parent's list is still open; it is given the new element's id.
template <typename Finish>
int CreateInside(Toolkit& tk, ElementKind kind, int id, int x, int y, int width, int height,
                 const std::string& text, Flags64 flags, int parentId, Finish finish) {
  return CreateInParent(tk, parentId, [&] {
    const int result =
        CreateElement(tk, kind, id, x, y, width, height, text, kNoImage, kNoImage, 0, flags, -1);
    // A handler run during creation may already have freed the element again.
    if (const Element* e = FindElement(tk, result); e != nullptr && e->Kind == kind) finish(result);
    return result;
  });
}

int CreatePlain(Toolkit& tk, ElementKind kind, int id, int x, int y, int width, int height,
                const std::string& text, Flags64 flags, int parentId) {
  return CreateInside(tk, kind, id, x, y, width, height, text, flags, parentId, [](int) {});
}

// An editor's lines are clipped by the text editing that paints them, not by the strip.
void PaintEditorLines(Toolkit& tk, Element& editor, platform::Painter& painter) {
  StripStyle style;
  style.clipToSelf = false;
  PaintStripItems(tk, painter, editor, style);
}

void CheckBoxGlyph(Painter& p, const Element& r, int x, int y, int h, const looks::Look& look) {
  const int bx = x, by = y + (h - kCheckBoxSize) / 2;
  p.SetMode(DrawMode::Default);
  if (r.Radius > 0)
    p.RoundBox(bx, by, kCheckBoxSize, kCheckBoxSize, r.Radius, r.Radius, look.frame);
  else
    p.Box(bx, by, kCheckBoxSize, kCheckBoxSize, look.frame);
  p.Box(bx + 1, by + 1, kCheckBoxInner, kCheckBoxInner, kWhite);
  if (r.Checked) {
    p.Line(bx + 3, by + 6, 3, 3, kBlack);
    p.Line(bx + 5, by + 8, 5, -5, kBlack);
    p.Line(bx + 5, by + 7, 5, -5, kBlack);
  } else if (r.InBetween) {
    const int inset = (kCheckBoxSize - kThirdStateSize) / 2;
    p.Box(bx + inset, by + inset, kThirdStateSize, kThirdStateSize, kBlack);
  }
}

void OptionGlyph(Painter& p, const Element& r, int x, int y, int h, const looks::Look& look,
                 Color dot) {
  const int cy = y + h / 2;
  const int cx = x + static_cast<int>(std::lround(6.5));
  p.SetMode(DrawMode::Default);
  p.Circle(cx, cy, kOptionRadius, kWhite);
  p.SetMode(DrawMode::Outlined);
  p.Circle(cx, cy, kOptionRadius, look.frame);
  // The group's current member is the option whose state was last set to 1.
  if (r.StateIndex == 1) {
    p.SetMode(DrawMode::Default);
    p.Circle(x + static_cast<int>(std::lround(7.5)), cy, kOptionDotRadius, dot);
  }
}

void PaintCheckBoxGlyph(Toolkit&, platform::Painter& painter, GlyphPass& g) {
  if (g.isItem) return;
  CheckBoxGlyph(painter, g.record, g.x, g.y, g.h, g.look);
  g.roomX += kCheckBoxSize + kGlyphTextGap;
  g.roomW -= kCheckBoxSize + kGlyphTextGap;
}

void PaintOptionGlyph(Toolkit&, platform::Painter& painter, GlyphPass& g) {
  if (g.isItem) return;
  OptionGlyph(painter, g.record, g.x, g.y, g.h, g.look, g.front);
  g.roomX += kCheckBoxSize + kGlyphTextGap;
  g.roomW -= kCheckBoxSize + kGlyphTextGap;
}

}  // namespace

int Text(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
         Flags64 flags, int parentId, int64_t data) {
  return CreateInside(tk, ElementKind::Text, id, x, y, width, height, text, flags, parentId,
                      [&](int created) {
                        // Through the setter, so a multi-line Text carries its closing line
                        // feed from the start and wraps like any text set later.
                        SetElementText(tk, created, text);
                        // Only the data: the design selection of other elements is left alone.
                        if (data != 0) SetElementData(tk, created, data);
                      });
}

int String(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags, int parentId, int64_t data) {
  return CreateInside(tk, ElementKind::String, id, x, y, width, height, text, flags | kStringFlags,
                      parentId, [&](int created) {
                        // Setting the text again runs the setter's editable-kind work on it.
                        SetElementText(tk, created, text);
                        if (data != 0) SetElementData(tk, created, data);
                      });
}

int Editor(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags, int parentId) {
  return CreateInside(tk, ElementKind::Editor, id, x, y, width, height, text, flags | kEditorFlags,
                      parentId, [&](int created) { SetElementText(tk, created, text); });
}

int Container(Toolkit& tk, int id, int x, int y, int width, int height, Flags64 flags,
              int parentId) {
  return CreatePlain(tk, ElementKind::Container, id, x, y, width, height, "", flags, parentId);
}

int Button(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags, int parentId) {
  return CreatePlain(tk, ElementKind::Button, id, x, y, width, height, text, flags, parentId);
}

int CheckBox(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
             Flags64 flags, int parentId) {
  return CreatePlain(tk, ElementKind::CheckBox, id, x, y, width, height, text, flags, parentId);
}

int Option(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags, int parentId) {
  return CreatePlain(tk, ElementKind::Option, id, x, y, width, height, text, flags, parentId);
}

int Frame(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
          Flags64 flags, int parentId) {
  return CreatePlain(tk, ElementKind::Frame, id, x, y, width, height, text, flags, parentId);
}

void RegisterSimpleKinds(Toolkit& tk) {
  tk.Kind(ElementKind::String).Traits |= Trait::TakesText;
  tk.Kind(ElementKind::Editor).Traits |= Trait::TakesText;
  // The property grid's and the position picker's parts, until they have files of their own.
  tk.Kind(ElementKind::PropertyList).Traits |= Trait::TracksItems | Trait::ModuleAttributes;
  tk.Kind(ElementKind::PositionPicker).Traits |= Trait::PartItems;

  // ---- painting
  tk.Kind(ElementKind::Editor).PaintItems = &PaintEditorLines;

  // ---- painting
  tk.Kind(ElementKind::CheckBox).PaintGlyph = &PaintCheckBoxGlyph;
  tk.Kind(ElementKind::Option).PaintGlyph = &PaintOptionGlyph;
  tk.Kind(ElementKind::CheckBox).Traits |= Trait::GlyphRadius;
  tk.Kind(ElementKind::Frame).Traits |= Trait::TitleOnBorder;
}

}  // namespace tk
