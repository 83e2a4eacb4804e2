// The TrackBar kind: a groove with a draggable thumb, sharing the scroll bar's value model.
#pragma once

#include "core/toolkit.h"

namespace tk {

inline constexpr int kTrackGrooveItem = 0;
inline constexpr int kTrackThumbItem = 1;

// Creates a track bar (flag Vertical for a vertical one) with its groove and thumb items.
int TrackBar(Toolkit& tk, int id, int x, int y, int width, int height, int minimum, int maximum,
             Flags64 flags = 0, int parentId = -1);

// Thumb length and position from the value range and the bar's size.
void RecomputeTrackBar(Element& bar);

// Installs the TrackBar hooks: attributes, state setter, drawing, clicks and dragging.
void RegisterTrackBar(Toolkit& tk);

}  // namespace tk
