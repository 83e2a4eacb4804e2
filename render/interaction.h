// Item routing, text editing and design-mode selection and dragging, as seen by the dispatch.
#pragma once

#include <vector>

#include "core/toolkit.h"

namespace tk {

// Design hit-area codes.
namespace HitAreaCode {
inline constexpr int None = 0;
inline constexpr int Left = 1;
inline constexpr int Top = 2;
inline constexpr int Right = 3;
inline constexpr int Bottom = 4;
inline constexpr int TopLeft = 5;
inline constexpr int TopRight = 6;
inline constexpr int BottomRight = 7;
inline constexpr int BottomLeft = 8;
inline constexpr int Move = 9;
}  // namespace HitAreaCode

// Routes an item event of an owner element (menus, lists, combo boxes, caption buttons).
void RouteItemEvent(Toolkit& tk, Element& owner, EventCode code, int id, int item);
// Drop-down lists as the kinds that open them see them. Shows the list `listId` at canvas
// (x, y) for its opener through the list kind's show hook.
void ShowPopupList(Toolkit& tk, int listId, int ownerId, int x, int y);
// Hides one list through its kind's hide hook; without one it is simply marked hidden.
void HidePopupList(Toolkit& tk, int listId);
// Hides the shown popup lists that come after `afterId` in the element list (all of them for
// an id that names nothing): submenus always come after the menu they open from.
void HidePopupsAfter(Toolkit& tk, int afterId);
// No drop-down is open any more.
void ClearDropDown(Toolkit& tk);
// An entry of `dropDown` was chosen: the opener of its chain goes back to its normal look and
// every popup closes.
void CloseDropDownChain(Toolkit& tk, Element& dropDown);
// A choice handed on to the owner kind's item hook (spin buttons, track and scroll bar parts).
void PassToItemEvent(Toolkit& tk, Element& owner, EventCode code, int id, int item);
// Edits the text of an editable element; true when the canvas must be repainted.
bool EditText(Toolkit& tk, EventCode code, int id);
// The caret index (in characters) nearest to the pointer's canvas x, from where the text was
// last painted; 0 for an element without text.
int CaretFromPointer(Toolkit& tk, Element& e);
// The design hit area of an element under the pointer (frozen while a button is held); also
// shows the area's pointer shape and stores the code in the Root.
int HitArea(Toolkit& tk, Element& e);
// Marks an element selected in design mode; exclusive first unmarks every element.
void SelectElement(Toolkit& tk, int id, bool exclusive);
// Moves or resizes in design mode by the area taken at the press; true when it changed.
bool DragDesign(Toolkit& tk, int area, int id);
// Sets the canvas pointer shape, unless the Root's pointer lock is set or the shape is the
// one already showing; returns the shape showing afterwards.
platform::Cursor SetPointer(Toolkit& tk, platform::Cursor shape);
// The same for the shape of a hit area (0 the default pointer).
platform::Cursor SetPointer(Toolkit& tk, int area);
// The pointer shape of a hit area.
platform::Cursor PointerForArea(int area);

// Design decorations painted over the scene for one element: the selection frame, the
// alignment guides and the resize handles.
void PaintSelectionFrame(Toolkit& tk, platform::Painter& painter, Element& e);
void PaintGuides(Toolkit& tk, platform::Painter& painter, Element& e);
void PaintHandles(Toolkit& tk, platform::Painter& painter, Element& e);
// The rows of an element's multi-line text wrapped into `width` pixels in the painter's
// font, as the text box wraps them, with the row after the last line break (empty when the
// text ends with one); kept on the element while text, font and width stay.
const std::vector<TextRow>& TextRowsOf(platform::Painter& painter, Element& e, int width);
// The row of `rows` that holds character `caret`.
int RowOfCaret(const std::vector<TextRow>& rows, int caret);
// Width of the element's own vertical scroll bar while it shows (an element that names itself
// first names its bar second), else 0.
int ShownOwnBarWidth(const Toolkit& tk, const Element& e);
// Paints a multi-line editable text from its first shown row (VScroll) down, clipped to the
// text box (TextX, TextY, TextRoom less the shown bar, `height`), with the caret.
void PaintTextLines(Toolkit& tk, platform::Painter& painter, Element& owner, Element& record,
                    Color front, Flags64 textBits, int height);
// Paints a one-line editable text with its selection and caret. The record's TextX, TextY and
// TextRoom hold the text box the painter laid out (height `height`); this keeps the caret in
// view (TextScroll), paints the selection behind the text, the text in `front` with the
// vertical alignment bits of `textBits`, and the caret. The output stays clipped to the
// record's visible rectangle afterwards.
void PaintTextEditing(Toolkit& tk, platform::Painter& painter, Element& owner, Element& record,
                      Color front, Flags64 textBits, int height);

}  // namespace tk
