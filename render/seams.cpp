// Placeholders for the drawing pipeline, item routing, text editing and design dragging.
// Each does nothing and reports "no change" until the work that builds it replaces it, so
// the dispatch already calls them at the right moments.
#include "render/interaction.h"
#include "render/repaint.h"

namespace tk {

int Repaint(Toolkit&, int, bool) {
  return 0;
}

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

}  // namespace tk
