// The simple kinds: each creation procedure picks a kind number, adds the flags the kind
// always carries, creates the element inside the wanted parent and restores the open list.
#include "elements/simple.h"

#include "core/attributes.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "render/paint.h"

namespace tk {
namespace {

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
}

}  // namespace tk
