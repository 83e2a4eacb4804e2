// Translation of SDL key codes and modifier states into the toolkit's key vocabulary.
#pragma once

namespace tk::platform {

// The Windows virtual-key number for an SDL key code (SDLK_*), or 0 for keys without one.
int VirtualKeyFromSdl(int sdlKeycode);
// Modifier bits (Modifier::Shift, Alt, Control) for an SDL modifier state (KMOD_*).
int ModifiersFromSdl(int sdlKeymod);

}  // namespace tk::platform
