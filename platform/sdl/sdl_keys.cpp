// The one table from SDL key codes to Windows virtual-key numbers.
#include "platform/sdl/sdl_keys.h"

#include <SDL.h>

#include <array>

#include "platform/platform.h"

namespace tk::platform {

namespace {

struct KeyPair {
  SDL_Keycode sdl;
  int vk;
};

// Letters and digits are contiguous in both vocabularies and are mapped by range below.
constexpr std::array kKeyTable = {
    KeyPair{SDLK_BACKSPACE, Key::Backspace},
    KeyPair{SDLK_TAB, Key::Tab},
    KeyPair{SDLK_RETURN, Key::Return},
    KeyPair{SDLK_RETURN2, Key::Return},
    KeyPair{SDLK_KP_ENTER, Key::Return},
    KeyPair{SDLK_LSHIFT, Key::Shift},
    KeyPair{SDLK_RSHIFT, Key::Shift},
    KeyPair{SDLK_LCTRL, Key::Control},
    KeyPair{SDLK_RCTRL, Key::Control},
    KeyPair{SDLK_LALT, Key::Alt},
    KeyPair{SDLK_RALT, Key::Alt},
    KeyPair{SDLK_PAUSE, 19},
    KeyPair{SDLK_CAPSLOCK, 20},
    KeyPair{SDLK_ESCAPE, Key::Escape},
    KeyPair{SDLK_SPACE, Key::Space},
    KeyPair{SDLK_PAGEUP, Key::PageUp},
    KeyPair{SDLK_PAGEDOWN, Key::PageDown},
    KeyPair{SDLK_END, Key::End},
    KeyPair{SDLK_HOME, Key::Home},
    KeyPair{SDLK_LEFT, Key::Left},
    KeyPair{SDLK_UP, Key::Up},
    KeyPair{SDLK_RIGHT, Key::Right},
    KeyPair{SDLK_DOWN, Key::Down},
    KeyPair{SDLK_PRINTSCREEN, 44},
    KeyPair{SDLK_INSERT, Key::Insert},
    KeyPair{SDLK_DELETE, Key::Delete},
    KeyPair{SDLK_LGUI, 91},
    KeyPair{SDLK_RGUI, 92},
    KeyPair{SDLK_APPLICATION, 93},
    KeyPair{SDLK_KP_0, 96},
    KeyPair{SDLK_KP_1, 97},
    KeyPair{SDLK_KP_2, 98},
    KeyPair{SDLK_KP_3, 99},
    KeyPair{SDLK_KP_4, 100},
    KeyPair{SDLK_KP_5, 101},
    KeyPair{SDLK_KP_6, 102},
    KeyPair{SDLK_KP_7, 103},
    KeyPair{SDLK_KP_8, 104},
    KeyPair{SDLK_KP_9, 105},
    KeyPair{SDLK_KP_MULTIPLY, 106},
    KeyPair{SDLK_KP_PLUS, 107},
    KeyPair{SDLK_KP_MINUS, 109},
    KeyPair{SDLK_KP_PERIOD, 110},
    KeyPair{SDLK_KP_DECIMAL, 110},
    KeyPair{SDLK_KP_DIVIDE, 111},
    KeyPair{SDLK_F1, Key::F1},
    KeyPair{SDLK_F2, Key::F1 + 1},
    KeyPair{SDLK_F3, Key::F1 + 2},
    KeyPair{SDLK_F4, Key::F1 + 3},
    KeyPair{SDLK_F5, Key::F1 + 4},
    KeyPair{SDLK_F6, Key::F1 + 5},
    KeyPair{SDLK_F7, Key::F1 + 6},
    KeyPair{SDLK_F8, Key::F1 + 7},
    KeyPair{SDLK_F9, Key::F1 + 8},
    KeyPair{SDLK_F10, Key::F1 + 9},
    KeyPair{SDLK_F11, Key::F1 + 10},
    KeyPair{SDLK_F12, Key::F1 + 11},
    KeyPair{SDLK_F13, Key::F1 + 12},
    KeyPair{SDLK_F14, Key::F1 + 13},
    KeyPair{SDLK_F15, Key::F1 + 14},
    KeyPair{SDLK_F16, Key::F1 + 15},
    KeyPair{SDLK_F17, Key::F1 + 16},
    KeyPair{SDLK_F18, Key::F1 + 17},
    KeyPair{SDLK_F19, Key::F1 + 18},
    KeyPair{SDLK_F20, Key::F1 + 19},
    KeyPair{SDLK_F21, Key::F1 + 20},
    KeyPair{SDLK_F22, Key::F1 + 21},
    KeyPair{SDLK_F23, Key::F1 + 22},
    KeyPair{SDLK_F24, Key::F1 + 23},
    KeyPair{SDLK_NUMLOCKCLEAR, 144},
    KeyPair{SDLK_SCROLLLOCK, 145},
    // US-layout punctuation keys (the OEM virtual keys).
    KeyPair{SDLK_SEMICOLON, 186},
    KeyPair{SDLK_EQUALS, 187},
    KeyPair{SDLK_COMMA, 188},
    KeyPair{SDLK_MINUS, 189},
    KeyPair{SDLK_PERIOD, 190},
    KeyPair{SDLK_SLASH, 191},
    KeyPair{SDLK_BACKQUOTE, 192},
    KeyPair{SDLK_LEFTBRACKET, 219},
    KeyPair{SDLK_BACKSLASH, 220},
    KeyPair{SDLK_RIGHTBRACKET, 221},
    KeyPair{SDLK_QUOTE, 222},
};

}  // namespace

int VirtualKeyFromSdl(int sdlKeycode) {
  if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) return Key::A + (sdlKeycode - SDLK_a);
  if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9) return Key::Digit0 + (sdlKeycode - SDLK_0);
  for (const KeyPair& pair : kKeyTable)
    if (pair.sdl == sdlKeycode) return pair.vk;
  return 0;
}

int ModifiersFromSdl(int sdlKeymod) {
  int modifiers = 0;
  if (sdlKeymod & KMOD_SHIFT) modifiers |= Modifier::Shift;
  if (sdlKeymod & KMOD_ALT) modifiers |= Modifier::Alt;
  if (sdlKeymod & KMOD_CTRL) modifiers |= Modifier::Control;
  return modifiers;
}

}  // namespace tk::platform
