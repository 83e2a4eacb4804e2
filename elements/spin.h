// The Spin kind: a numeric text field with an up and a down button.
#pragma once

#include <cstdint>
#include <string>

#include "core/toolkit.h"

namespace tk {

inline constexpr int kSpinUpItem = 0;
inline constexpr int kSpinDownItem = 1;

// Creates a spin; minimum and maximum are rounded to whole numbers, `stepText` gives the step
// and the decimals shown (the text 0.25 gives step 0.25 and 2 decimals). Returns the id.
int Spin(Toolkit& tk, int id, int x, int y, int width, int height, double minimum, double maximum,
         Flags64 flags = 0, int parentId = -1, const std::string& stepText = "1", int64_t data = 0);

// Installs the Spin hooks: state setter, button layout and drawing, button clicks.
void RegisterSpin(Toolkit& tk);

}  // namespace tk
