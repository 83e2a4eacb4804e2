// Design-mode selection, hit areas, dragging and the decorations of the selection. Not built
// yet: the placeholders find no area, select nothing and paint nothing.
#include "render/interaction.h"

namespace tk {

int HitArea(Toolkit&, Element&) { return HitAreaCode::None; }

void SelectElement(Toolkit&, int, bool) {}

bool DragDesign(Toolkit&, int, int) { return false; }

int SetPointer(Toolkit&, int) { return 0; }

void PaintSelectionFrame(Toolkit&, platform::Painter&, Element&) {}

void PaintGuides(Toolkit&, platform::Painter&, Element&) {}

void PaintHandles(Toolkit&, platform::Painter&, Element&) {}

}  // namespace tk
