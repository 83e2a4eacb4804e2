// The StatusBar kind: a strip along the bottom of a window, divided into text fields laid
// out from the left, with one field that can be anchored to the right edge.
#pragma once

#include <string>

#include "core/toolkit.h"

namespace tk {

// The id of the field anchored to the right edge.
inline constexpr int kAnchoredField = 65535;
// A field width that fills the bar up to the anchored field (less a margin).
inline constexpr int kFillWidth = -65535;

// Field looks for StatusBarText.
namespace FieldLook {
inline constexpr int Borderless = 2;
inline constexpr int NotLeft = 4;
inline constexpr int Right = 8;
}  // namespace FieldLook

// Attaches a status bar to a window (the window grows by the bar); returns its id, or -1
// when the window already has one (the Root's last status bar is then reset to -1) or is
// not a window.
int CreateStatusBar(Toolkit& tk, int id, int window);

// Adds a field of `width` pixels to the Root's last status bar; `field` -1 takes the bar's
// next number. Returns the field id, -1 when there is no status bar.
int AddStatusBarField(Toolkit& tk, int width, int field = -1);

// Sets a field's text and look (FieldLook values; anything else gives the default look).
// Returns false when the bar or the field does not exist.
bool StatusBarText(Toolkit& tk, int bar, int field, const std::string& text, int look = 0);

// Keeps a window's status bar along the bottom of the window and as wide as its inner area;
// the window's resize hook reaches it through the StatusBar kind's placement hook.
void PlaceStatusBar(Toolkit& tk, Element& window);

// Installs the field painter and the placement that keeps the bar in its window's strip.
void RegisterStatusBar(Toolkit& tk);

}  // namespace tk
