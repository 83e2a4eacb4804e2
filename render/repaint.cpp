// The full-canvas repaint entry: decides whether painting is allowed yet, then paints the
// whole scene between one start and one stop of drawing.
#include "render/repaint.h"

#include "core/lookup.h"
#include "render/paint.h"

namespace tk {

int Repaint(Toolkit& tk, int id, bool firstPaint) {
  Root& root = tk.root;
  Element* e = FindElement(tk, id);
  if (e == nullptr || root.Elements.empty()) return 0;

  if (e->Painted) {
    if (!root.CanvasID) return 0;
    platform::Painter* painter = tk.platform.BeginDrawing();
    if (painter == nullptr) return 0;
    // A painter may call back into code that frees records; keep them readable until done.
    BusyGuard busy(tk);
    painter->SetOrigin(0, 0);
    painter->SetFont(e->FontID != 0 ? e->FontID : tk.platform.Fonts().Default());
    painter->SetMode(platform::DrawMode::Default);
    painter->Box(0, 0, painter->OutputWidth(), painter->OutputHeight(), root.DesktopColor);
    PaintAll(tk, *painter);
    tk.platform.EndDrawing();
    return 0;
  }

  // Nothing is painted before the first paint; then every element counts as painted once.
  if (firstPaint) {
    for (auto& record : root.Elements)
      record->Painted = 1;
    return Repaint(tk, id, true);
  }
  return 0;
}

}  // namespace tk
