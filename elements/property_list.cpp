// The property list: rows of a label and a value, each row edited by a button, a spin or a
// combo box.
#include "elements/property_list.h"

#include <string>

#include "core/attributes.h"
#include "core/items.h"
#include "core/kind.h"

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

void RegisterPropertyList(Toolkit& tk) {
  KindDescriptor& d = tk.Kind(ElementKind::PropertyList);
  d.Traits |= Trait::SelectsItem;
  d.GetState = &NoState;
  d.AddItem = &AddRow;
  d.DressItem = &ApplyPropertyRow;
}

}  // namespace tk
