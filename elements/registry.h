// Installs every element kind's hooks into a toolkit.
#pragma once

#include "core/toolkit.h"

namespace tk {

void RegisterKinds(Toolkit& tk);

}  // namespace tk
