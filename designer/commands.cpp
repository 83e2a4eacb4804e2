// The designer's commands (menu bar, tool bar, popups) and the main panel's pages.
#include "core/events.h"
#include "designer/designer.h"

namespace tk::designer {

int CommandHandler(Toolkit&, Designer&, EventCode, int) {
  return 1;
}

int PageHandler(Toolkit& tk, Designer& d, EventCode event, int element) {
  if ((event == ElementEvent::Resize || event == ElementEvent::Change) && element == d.mainPanel)
    FitPageContent(tk, d.mainPanel);
  return 1;
}

void DeleteSelection(Toolkit&, Designer&) {}

}  // namespace tk::designer
