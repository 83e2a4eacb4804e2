// The scroll bar kind: value model, thumb geometry, arrows and thumb dragging, drawing, and
// the layout of the two bars of a scrollable element.
#pragma once

#include <cstdint>

#include "core/toolkit.h"

namespace tk {

// Arrow item, forward arrow item and thumb item of a bar.
inline constexpr int kScrollBackItem = 0;
inline constexpr int kScrollForwardItem = 1;
inline constexpr int kScrollThumbItem = 2;

// Creates a bar (flag Vertical for a vertical one) with its three part items. Returns the id,
// 0 when no record could be made.
int ScrollBar(Toolkit& tk, int id, int x, int y, int width, int height, int minimum, int maximum,
              int pageLength, Flags64 flags = 0, int parentId = -1, int64_t data = 0);

// The look of a part item (arrow, thumb) of a scroll bar, a track bar or a scroll area: it
// follows its owner's orientation.
void DressBarPart(Element& owner, Element& item);

// Recomputes track, thumb length and thumb position from the value range and the bar's size.
void RecomputeScrollBar(Element& bar);

// Pixel offset of the thumb for the bar's position on a track of `track` pixels; clamps the
// bar's position into its range on the way. Also used by track bars.
int ScrollPositionToPixel(Element& bar, double track);
// The position shown by a thumb starting at `pixel` (mirrored for a vertical track bar).
int ScrollPixelToPosition(const Element& bar, double pixel);

// Moves the position without side effects on the owner; returns +1 when the position went
// down, -1 when it went up, 0 when it did not change.
int SetScrollBarState(Element& bar, double value);
// The public setter: moves the position, updates the owner's scroll offset, posts StepUp or
// StepDown on a change and returns the new position (0 for an id that names no bar).
int SetScrollBarValue(Toolkit& tk, int id, double value);

// Places and fits the vertical (Attached[1]) and horizontal (Attached[2]) bars of a
// scrollable element along its right and bottom inner edges; the bars are its children.
void LayoutScrollBars(Toolkit& tk, Element& owner);

void RegisterScrollBar(Toolkit& tk);

}  // namespace tk
