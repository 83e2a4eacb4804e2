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

void RegisterSimpleKinds(Toolkit& tk) {
  tk.Kind(ElementKind::String).Traits |= Trait::TakesText;
  tk.Kind(ElementKind::Editor).Traits |= Trait::TakesText;
  // The property grid's and the position picker's parts, until they have files of their own.
  tk.Kind(ElementKind::PropertyList).Traits |= Trait::TracksItems | Trait::ModuleAttributes;
  tk.Kind(ElementKind::PositionPicker).Traits |= Trait::PartItems;

  // Source text of the simple kinds and of the gadget kinds that have no file of their own:
  // which creation functions take the text, which take no flags, the values they pass after
  // the text, and the container's gadget list.
  {
    using Arg = KindDescriptor::CodeArg;
    for (ElementKind kind :
         {ElementKind::Button, ElementKind::String, ElementKind::Text, ElementKind::CheckBox,
          ElementKind::Option, ElementKind::Frame, ElementKind::HyperLink, ElementKind::Web,
          ElementKind::Date, ElementKind::ExplorerList, ElementKind::ExplorerTree,
          ElementKind::ExplorerCombo})
      tk.Kind(kind).Traits |= Trait::TextArgument;
    for (ElementKind kind : {ElementKind::Option, ElementKind::Web, ElementKind::IPAddress,
                             ElementKind::Scintilla, ElementKind::Shortcut})
      tk.Kind(kind).Traits |= Trait::NoFlagsArgument;
    tk.Kind(ElementKind::Image).CodeArgs = {Arg::ImageId};
    tk.Kind(ElementKind::ButtonImage).CodeArgs = {Arg::ImageId};
    tk.Kind(ElementKind::HyperLink).CodeArgs = {Arg::BackColor};
    tk.Kind(ElementKind::ProgressBar).CodeArgs = {Arg::Min, Arg::Max};
    tk.Kind(ElementKind::Date).CodeArgs = {Arg::DateValue};
    tk.Kind(ElementKind::Calendar).CodeArgs = {Arg::DateValue};
    tk.Kind(ElementKind::Scintilla).CodeArgs = {Arg::CallbackValue};
    tk.Kind(ElementKind::Shortcut).CodeArgs = {Arg::ShortcutValue};
    tk.Kind(ElementKind::Container).Nesting = KindDescriptor::CodeNesting::GadgetList;
    // A multi-line Text keeps a closing line feed for its word wrapping; the source has none.
    tk.Kind(ElementKind::Text).CodeText = [](const Element& e) -> std::string_view {
      std::string_view text = e.Text;
      if (HasAny(e.Flags, Flag::MultiLine) && !text.empty() && text.back() == '\n')
        text.remove_suffix(1);
      return text;
    };
  }
}

}  // namespace tk
