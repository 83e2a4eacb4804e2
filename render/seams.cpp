// Placeholders for item routing, text editing and design selection, dragging and painting.
// Each does nothing and reports "no change" until the work that builds it replaces it, so
// the dispatch already calls them at the right moments.
#include "render/interaction.h"

namespace tk {

void RouteItemEvent(Toolkit&, Element&, EventCode, int, int) {}

bool EditText(Toolkit&, EventCode, int) {
  return false;
}

int HitArea(Toolkit&, Element&) {
  return HitAreaCode::None;
}

void SelectElement(Toolkit&, int, bool) {}

bool DragDesign(Toolkit&, int, int) {
  return false;
}

int SetPointer(Toolkit&, int) {
  return 0;
}

void PaintSelectionFrame(Toolkit&, platform::Painter&, Element&) {}

void PaintGuides(Toolkit&, platform::Painter&, Element&) {}

void PaintHandles(Toolkit&, platform::Painter&, Element&) {}

void PaintTextEditing(Toolkit&, platform::Painter&, Element&, Element&) {}

}  // namespace tk
