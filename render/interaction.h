// Item routing, text editing and design-mode selection and dragging, as seen by the dispatch.
#pragma once

#include "core/toolkit.h"

namespace tk {

// Design hit-area codes.
namespace HitAreaCode {
inline constexpr int None = 0;
inline constexpr int Move = 9;
}  // namespace HitAreaCode

// Routes an item event of an owner element (menus, lists, combo boxes, caption buttons).
void RouteItemEvent(Toolkit& tk, Element& owner, EventCode code, int id, int item);
// Edits the text of an editable element; true when the canvas must be repainted.
bool EditText(Toolkit& tk, EventCode code, int id);
// The design hit area of an element under the pointer.
int HitArea(Toolkit& tk, Element& e);
// Marks an element selected in design mode; exclusive first unmarks every element.
void SelectElement(Toolkit& tk, int id, bool exclusive);
// Moves or resizes in design mode by the area taken at the press; true when it changed.
bool DragDesign(Toolkit& tk, int area, int id);
// Sets the canvas pointer shape for a hit area.
int SetPointer(Toolkit& tk, int area);

// Design decorations painted over the scene for one element: the selection frame, the
// alignment guides and the resize handles.
void PaintSelectionFrame(Toolkit& tk, platform::Painter& painter, Element& e);
void PaintGuides(Toolkit& tk, platform::Painter& painter, Element& e);
void PaintHandles(Toolkit& tk, platform::Painter& painter, Element& e);
// Selection and caret of an editable text, painted right after the text itself. The record's
// TextX, TextY and TextRoom hold where the text was laid out.
void PaintTextEditing(Toolkit& tk, platform::Painter& painter, Element& owner, Element& record);

}  // namespace tk
