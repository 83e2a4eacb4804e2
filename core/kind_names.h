// The name of each element kind, as element names and generated source use it.
#pragma once

#include <string_view>

#include "core/types.h"

namespace tk {

// "Button", "Window", "Toolbar" ...; empty for a kind without a name.
std::string_view KindNameOf(int kind);
inline std::string_view KindNameOf(ElementKind kind) {
  return KindNameOf(KindValue(kind));
}

}  // namespace tk
