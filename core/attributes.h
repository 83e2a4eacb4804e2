// Element attributes: text, state, colours, data, font, image, disabled and hidden states,
// items' attributes, flags.
#pragma once

#include <string>

#include "core/toolkit.h"

namespace tk {

// Attribute codes of GetElementAttribute and SetElementColor.
namespace Attribute {
inline constexpr int FrameWidthSet = 5;
inline constexpr int TopStrips = 6;
inline constexpr int BackColor = 11;
inline constexpr int FrameColor = 12;
inline constexpr int HotBackColor = 13;
inline constexpr int StateColor1 = 14;
inline constexpr int FrontColor = 15;
// Answered from the dispatch's item paddings.
inline constexpr int ItemPadding1 = 23;
inline constexpr int ItemPadding2 = 24;
inline constexpr int ItemIndex = 128;
}  // namespace Attribute

// Caption-button items of a window carry the flag bit that made them as their kind.
namespace CaptionButton {
inline constexpr int Close = static_cast<int>(Flag::SystemMenuBit);
inline constexpr int Maximize = static_cast<int>(Flag::MaximizeGadget);
inline constexpr int Minimize = static_cast<int>(Flag::MinimizeGadget);
}  // namespace CaptionButton

bool IsCaptionButton(const Element& item);
// The first item when it is a caption item rather than a caption button.
bool HasCaptionItem(const Element& e);

std::string SetElementText(Toolkit& tk, int id, const std::string& text);
std::string GetElementText(Toolkit& tk, int id);
// The generic text store: the element's own text, taken as the new start of text input.
std::string StoreElementText(Element& e, std::string text);
void SetElementState(Toolkit& tk, int id, double state);
double GetElementState(Toolkit& tk, int id);
// The state of a record; depth bounds the walk through elements that hold another's items.
double GetStateOf(Toolkit& tk, const Element& e, int depth);
int64_t GetElementAttribute(Toolkit& tk, int id, int code);
int SetElementColor(Toolkit& tk, int id, int code, int64_t value);
int64_t SetElementData(Toolkit& tk, int id, int64_t value);
int64_t GetElementData(Toolkit& tk, int id);
int SetElementFont(Toolkit& tk, int id, int font);
int SetElementImage(Toolkit& tk, int id, int image);
int GetElementImage(Toolkit& tk, int id);
// The image tiled under the element's inner area (0 for none); returns the previous one.
int SetElementBackImage(Toolkit& tk, int id, int image);
int SetElementParam3(Toolkit& tk, int id, int value);
int DisableElement(Toolkit& tk, int id, int state);
int IsDisabled(Toolkit& tk, int id);
int HideElement(Toolkit& tk, int id, int state);
int CountItems(Toolkit& tk, int id);
void ClearItems(Toolkit& tk, int id);
int64_t SetItemData(Toolkit& tk, int id, int index, int64_t value);
int64_t GetItemData(Toolkit& tk, int id, int index);
void DisableItem(Toolkit& tk, int id, int index, int state);
double GetItemState(Toolkit& tk, int id, int index);
int CopyElement(Toolkit& tk, int id);
// Copy values of kinds made from a range (scroll bars, track bars, scroll areas) and of kinds
// made from images.
void CopyRangeParams(const Element& e, int& p1, int& p2, int& p3);
void CopyImageParams(const Element& e, int& p1, int& p2, int& p3);
// The index of the item (or column) under the Root's pointer; stored as the hot item.
int ItemUnderMouse(Toolkit& tk, Element& e);

// Whether the element shows a picture of the store. Number 0 is the empty picture, as it is to
// ImageID; the store keeps the toolkit's grey glyph under it, which no element is given.
bool HoldsImage(const platform::ImageStore& images, const Element& e);

// Flags: apply a flag set (borders, caption items, alignment), or remove bits.
Flags64 SetElementFlags(Toolkit& tk, int id, Flags64 flags);
// The same; with `place` false the element is not placed again for its new borders (its
// creation places it right after).
Flags64 SetElementFlags(Toolkit& tk, int id, Flags64 flags, bool place);
bool RemoveElementFlags(Toolkit& tk, int id, Flags64 flags);

}  // namespace tk
