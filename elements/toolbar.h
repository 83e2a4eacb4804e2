// The ToolBar kind: a strip below a window's caption (and menu bar) holding flat buttons with
// an icon, an optional text and a tool tip, and thin separators.
#pragma once

#include <string>

#include "core/toolkit.h"

namespace tk {

// Creation flags: small icons, large icons, text beside the icon.
namespace ToolBarStyle {
inline constexpr int SmallIcons = 1;
inline constexpr int LargeIcons = 2;
inline constexpr int InlineText = 8;
}  // namespace ToolBarStyle

// The id every separator (and a button added with id -1) carries.
inline constexpr int kToolBarAnyButton = 65535;

// Attaches a tool bar to a window: the window grows and its children move down. Flags 0 mean
// small icons with inline text. Returns the id, or -1 when the window already has a tool bar
// (the Root's last tool bar is then reset to -1) or is not a window.
int CreateToolBar(Toolkit& tk, int id, int window, int flags = 0);

// Adds a button to the Root's last tool bar; returns its index, -1 when there is no tool bar.
// An image that does not exist is replaced by the built-in icon; a button with neither image
// nor text is a separator. A mode of 0 or 1 sets its toggle state.
int ToolBarButton(Toolkit& tk, int buttonId, int image, int mode = -1, const std::string& text = "",
                  const std::string& toolTip = "");
int ToolBarSeparator(Toolkit& tk);

// Sets the toggle state of the button with id `button` (when state is 0 or 1) and returns
// the previous one; 0 when `toolBar` is not a tool bar or has no such button.
int SetToolBarButtonState(Toolkit& tk, int toolBar, int button, int state);
// Stores a non-empty tool tip on the button with id `button`.
void ToolBarToolTip(Toolkit& tk, int toolBar, int button, const std::string& text);

// Fills the ToolBar kind's descriptor.
void RegisterToolBar(Toolkit& tk);

}  // namespace tk
