// Text editing of String, Editor, Spin and ComboBox texts. Not built yet: the placeholders
// change nothing and paint nothing.
#include "render/interaction.h"

namespace tk {

bool EditText(Toolkit&, EventCode, int) { return false; }

void PaintTextEditing(Toolkit&, platform::Painter&, Element&, Element&) {}

}  // namespace tk
