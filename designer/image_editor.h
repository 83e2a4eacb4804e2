// The image editor: a small dialog of toolkit elements, opened from the property grid's
// "Image" and "BgImage" rows, that loads a picture file into a preview and gives it to the
// element being designed as its image or its background image.
#pragma once

#include <string>

#include "core/toolkit.h"

namespace tk::designer {

// The dialog's state; one dialog is open at a time. The designer keeps one of these and
// fills in the two row buttons it serves.
struct ImageEditor {
  int window = -1, preview = -1, load = -1, apply = -1, cancel = -1;
  int openedFrom = -1;  // the property button that opened it
  int lastImage = 0;    // image chosen last (0: none)
  std::string path;     // its file
  int imageRow = -1,
      bgImageRow = -1;  // the "Image" and "BgImage" rows' buttons (set by the designer)
};

// Opens the dialog (closing one that is still open) for the property button the current event
// concerns, placed by ScreenCentered or WindowCentered (over `parentWindow`) in `flags`, else
// at the desktop's corner. Writes the image chosen last into *result when given. Returns the
// dialog's window, 0 when it could not be made.
int OpenImageEditor(Toolkit& tk, ImageEditor& editor, int parentWindow, int* result, Flags64 flags);

// Closes the dialog if it is open; nothing is applied.
void CloseImageEditor(Toolkit& tk, ImageEditor& editor);

}  // namespace tk::designer
