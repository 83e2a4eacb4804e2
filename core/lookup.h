// Finding records: by id through the Root's id table, and positions in the element list.
#pragma once

#include "core/toolkit.h"

namespace tk {

// The record of a live element, or nullptr when the id names none.
Element* FindElement(Toolkit& tk, int id);
const Element* FindElement(const Toolkit& tk, int id);

// Position of a record in the Root's element list, or -1.
int IndexOf(const Root& root, const Element* e);

// The desktop: the first record of the element list, or nullptr.
Element* DesktopElement(Toolkit& tk);

// An item of an element found through its ItemMap, or nullptr.
Element* FindItem(Element& owner, int index);

}  // namespace tk
