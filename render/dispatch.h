// The single entry through which one toolkit event code reaches one element.
#pragma once

#include "core/toolkit.h"

namespace tk {

void DispatchEvent(Toolkit& tk, EventCode code, int id);

}  // namespace tk
