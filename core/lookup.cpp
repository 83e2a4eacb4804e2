// Finding records: the id table, positions in the element list, items by index.
#include "core/lookup.h"

namespace tk {

Element* FindElement(Toolkit& tk, int id) {
  return tk.root.IDToAddress.Find(id);
}

const Element* FindElement(const Toolkit& tk, int id) {
  return tk.root.IDToAddress.Find(id);
}

int IndexOf(const Root& root, const Element* e) {
  if (e == nullptr) return -1;
  for (size_t i = 0; i < root.Elements.size(); ++i) {
    if (root.Elements[i].get() == e) return static_cast<int>(i);
  }
  return -1;
}

Element* DesktopElement(Toolkit& tk) {
  if (tk.root.Elements.empty()) return nullptr;
  return tk.root.Elements.front().get();
}

Element* FindItem(Element& owner, int index) {
  auto it = owner.ItemMap.find(index);
  if (it == owner.ItemMap.end()) return nullptr;
  return it->second;
}

}  // namespace tk
