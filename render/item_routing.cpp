// Item event routing: the items' own interaction state, menus, lists and caption buttons.
// Not built yet: the placeholder routes nothing.
#include "render/interaction.h"

namespace tk {

void RouteItemEvent(Toolkit&, Element&, EventCode, int, int) {}

}  // namespace tk
