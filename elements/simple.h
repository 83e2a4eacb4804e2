// The simple kinds: thin creation procedures over generic creation.
#pragma once

#include <cstdint>
#include <string>

#include "core/toolkit.h"

namespace tk {

int Text(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
         Flags64 flags = 0, int parentId = -1, int64_t data = 0);
int String(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags = 0, int parentId = -1, int64_t data = 0);
int Editor(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags = 0, int parentId = -1);
int Container(Toolkit& tk, int id, int x, int y, int width, int height, Flags64 flags = 0,
              int parentId = -1);

// Further kinds made by the same pattern.
int Button(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags = 0, int parentId = -1);
int CheckBox(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
             Flags64 flags = 0, int parentId = -1);
int Option(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags = 0, int parentId = -1);
int Frame(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
          Flags64 flags = 0, int parentId = -1);

// Fills the descriptors of the simple kinds.
void RegisterSimpleKinds(Toolkit& tk);

}  // namespace tk
