// The Splitter kind: two panes sharing a rectangle along a draggable separator.
#pragma once

#include <cstdint>

#include "core/toolkit.h"

namespace tk {

// Splitter attribute codes (GetElementAttribute / SetElementColor).
namespace SplitterAttribute {
inline constexpr int FirstMinimumSize = 1;
inline constexpr int SecondMinimumSize = 2;
inline constexpr int FirstGadget = 3;
inline constexpr int SecondGadget = 4;
}  // namespace SplitterAttribute

// Creates a splitter over two existing elements (ids that name nothing are allowed and are
// simply not laid out). The panes move into the splitter. A pane with items (a panel) is
// switched through each of its states once and back, so the children of every tab get laid
// out. The panes are placed once a position is set with SetElementState.
int Splitter(Toolkit& tk, int id, int x, int y, int width, int height, int firstId, int secondId,
             Flags64 flags = 0, int parentId = -1);

// Lays the panes out for a separator whose middle is at `requested` (pixels from the
// splitter's inner start). Returns the previous position. A position inside the first
// minimum size changes nothing; one that leaves the second pane below its minimum (or a
// splitter with no room) only stores the position.
int SplitterLayout(Toolkit& tk, Element& splitter, int requested);

// The flags the code generator reports for a splitter's element flags: Vertical 1,
// Separator 2, the grip dots 0x40000 (replacing the first two), FirstFixed 4, else
// SecondFixed 8.
int64_t SplitterFlagReport(Flags64 flags);

// Installs the Splitter hooks (layout on resize, state, attributes, drawing, dragging).
void RegisterSplitter(Toolkit& tk);

}  // namespace tk
