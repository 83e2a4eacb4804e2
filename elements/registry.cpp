// The kind registry: each kind's hooks in one place, so the core, the drawing pipeline and
// the dispatch reach a kind's behaviour without switching on its number.
#include "elements/registry.h"

#include "elements/builtin_images.h"
#include "elements/panel.h"
#include "elements/scrollarea.h"
#include "elements/scrollbar.h"
#include "elements/splitter.h"
#include "elements/window.h"
#include "elements/zorder.h"
#include "render/host.h"

namespace tk {

void RegisterKinds(Toolkit& tk) {
  tk.Hooks(ElementKind::Window).PaintItems = &PaintWindowItems;
  RegisterPanel(tk);
  RegisterSplitter(tk);
  RegisterScrollBar(tk);
  RegisterScrollArea(tk);
  RegisterZOrder(tk);
}

void PrepareToolkit(Toolkit& tk) {
  InstallRender(tk);
  RegisterKinds(tk);
  LoadBuiltinImages(tk);
}

}  // namespace tk
