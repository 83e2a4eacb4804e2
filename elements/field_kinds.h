// The field-like gadget kinds drawn as their controls: Date, IPAddress, Shortcut, HyperLink
// and ProgressBar.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/toolkit.h"

namespace tk {

// A date as a Date gadget's mask writes it: %yyyy, %yy, %mm, %dd, %hh, %ii and %ss are
// replaced, everything else is kept. `seconds` counts from 1970-01-01 00:00 UTC; dates before
// 1601 or after 9999 are taken as the nearest end of that range.
std::string FormatDateMask(std::string_view mask, int64_t seconds);

// A shortcut value (modifier bits 0x10000 Shift, 0x20000 Control, 0x40000 Alt over a virtual
// key code) as the shortcut field shows it; "None" for 0.
std::string ShortcutText(int value);

// Installs the painters of the field-like kinds and the link's borderless look.
void RegisterFieldKinds(Toolkit& tk);

}  // namespace tk
