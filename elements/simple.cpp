// The simple kinds: each creation procedure picks a kind number, adds the flags the kind
// always carries, creates the element inside the wanted parent and restores the open list.
#include "elements/simple.h"

#include "core/attributes.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "core/tree.h"

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

namespace {

// A Text's border and alignment follow from the flags asked for.
void TextCreated(Toolkit&, Element&, const KindDescriptor::CreationArgs&, Flags64& request) {
  constexpr Flags64 kAnyBorder =
      Flag::Border | Flag::Single | Flag::Raised | Flag::Flat | Flag::Double;
  if (!HasAny(request, kAnyBorder)) request |= Flag::BorderLess;
  request ^= Flag::AlignBit200;
}

// Consecutive options form one group, named after the first element of the run.
void OptionCreated(Toolkit& tk, Element& e, const KindDescriptor::CreationArgs&, Flags64&) {
  const int previous = PreviousSibling(tk, e.ID);
  const Element* p = FindElement(tk, previous);
  if (previous < 0 || p == nullptr) {
    e.OptionGroup = 0;
  } else if (p->Kind == ElementKind::Option) {
    e.OptionGroup = p->OptionGroup;
  } else {
    e.OptionGroup = previous;
  }
}

// An image element shows its text only while it has no image.
void ImageCreated(Toolkit& tk, Element& e, const KindDescriptor::CreationArgs&, Flags64&) {
  if (tk.platform.Images().IsImage(e.Image)) e.Text.clear();
}

}  // namespace

void RegisterSimpleKinds(Toolkit& tk) {
  // Creation defaults of the simple kinds and of the kinds without a file of their own.
  {
    constexpr int kFrameCaptionHeight = 10;
    constexpr int kPickerEdges = 11;
    auto& frame = tk.Kind(ElementKind::Frame).Defaults;
    frame.AddFlags = Flag::PassThrough;
    frame.CaptionHeight = kFrameCaptionHeight;
    frame.BackgroundMode = Background::None;
    frame.BackColor = kIgnore;
    frame.ImageNeedsText = true;
    auto& picker = tk.Kind(ElementKind::PositionPicker).Defaults;
    picker.BackgroundMode = Background::None;
    picker.BackColor = kIgnore;
    picker.ImageNeedsText = true;
    picker.PartItems = kPickerEdges;
    auto& grid = tk.Kind(ElementKind::PropertyList).Defaults;
    grid.ListBox = 1;
    auto& editor = tk.Kind(ElementKind::Editor).Defaults;
    editor.ListBox = 1;
    editor.AddFlags = Flag::MultiLine;
    auto& canvas = tk.Kind(ElementKind::Canvas).Defaults;
    canvas.CaptionHeight = 0;
    canvas.ListBox = -1;
    for (ElementKind kind : {ElementKind::ButtonImage, ElementKind::ImageButton}) {
      auto& d = tk.Kind(kind).Defaults;
      d.BackgroundMode = Background::Gradient;
      d.BackColor = kIgnore;
    }
    auto& button = tk.Kind(ElementKind::Button).Defaults;
    button.AddFlags = Flag::TextCentered;
    button.BackgroundMode = Background::Gradient;
    button.BackColor = kIgnore;
    button.ImageNeedsText = true;
    KindDescriptor& text = tk.Kind(ElementKind::Text);
    text.Defaults.ImageNeedsText = true;
    text.Defaults.BackColor = StartColor::Face;
    text.Defaults.RequestFlags = Flag::MultiLine;
    text.Created = &TextCreated;
    for (ElementKind kind : {ElementKind::CheckBox, ElementKind::Option}) {
      auto& d = tk.Kind(kind).Defaults;
      d.BackColor = kNoColor;
      d.BackgroundMode = Background::Transparent;
      d.ImageNeedsText = true;
      d.RequestFlags = Flag::BorderLess | Flag::Left | Flag::VCenter;
    }
    tk.Kind(ElementKind::Option).Created = &OptionCreated;
    auto& string = tk.Kind(ElementKind::String).Defaults;
    string.ImageNeedsText = true;
    string.FrameColor = StartColor::FieldFrame;
    KindDescriptor& image = tk.Kind(ElementKind::Image);
    image.Defaults.BackgroundMode = Background::Transparent;
    image.Defaults.BackColor = kIgnore;
    image.Created = &ImageCreated;
    tk.Kind(ElementKind::Container).Defaults.BackColor = StartColor::Face;
    tk.Kind(ElementKind::Container).ListHolder = KindDescriptor::ContainerList;
  }
  tk.Kind(ElementKind::String).Traits |= Trait::TakesText;
  tk.Kind(ElementKind::Editor).Traits |= Trait::TakesText;
  // The property grid's and the position picker's parts, until they have files of their own.
  tk.Kind(ElementKind::PropertyList).Traits |= Trait::TracksItems | Trait::ModuleAttributes;
  tk.Kind(ElementKind::PositionPicker).Traits |= Trait::PartItems;
}

}  // namespace tk
