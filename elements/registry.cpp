// The kind registry: each kind's hooks in one place, so the core, the drawing pipeline and
// the dispatch reach a kind's behaviour without switching on its number.
#include "elements/registry.h"

#include "core/kind_names.h"
#include "elements/builtin_images.h"
#include "elements/calendar.h"
#include "elements/combobox.h"
#include "elements/field_kinds.h"
#include "elements/list.h"
#include "elements/menu.h"
#include "elements/panel.h"
#include "elements/position_picker.h"
#include "elements/property_list.h"
#include "elements/scrollarea.h"
#include "elements/scrollbar.h"
#include "elements/simple.h"
#include "elements/spin.h"
#include "elements/splitter.h"
#include "elements/statusbar.h"
#include "elements/surface_kinds.h"
#include "elements/toolbar.h"
#include "elements/trackbar.h"
#include "elements/tree_kinds.h"
#include "elements/window.h"
#include "elements/zorder.h"
#include "render/host.h"

namespace tk {

void RegisterKinds(Toolkit& tk) {
  // Every kind carries its vocabulary word; PureBasic's numbering makes the positive kinds
  // gadgets.
  for (int v = -6; v <= KindValue(ElementKind::PositionPicker); ++v) {
    KindDescriptor& d = tk.Kind(static_cast<ElementKind>(v));
    d.Name = KindNameOf(v);
    if (v > 0) d.Traits |= Trait::Gadget;
  }
  RegisterWindow(tk);
  RegisterSimpleKinds(tk);
  RegisterToolBar(tk);
  RegisterPanel(tk);
  RegisterSplitter(tk);
  RegisterScrollBar(tk);
  RegisterScrollArea(tk);
  RegisterZOrder(tk);
  RegisterStatusBar(tk);
  RegisterSpin(tk);
  RegisterTrackBar(tk);
  RegisterMenus(tk);
  RegisterLists(tk);
  RegisterComboBox(tk);
  RegisterPropertyList(tk);
  RegisterPositionPicker(tk);
  RegisterFieldKinds(tk);
  RegisterCalendar(tk);
  RegisterTreeKinds(tk);
  RegisterSurfaceKinds(tk);
}

void PrepareToolkit(Toolkit& tk) {
  InstallRender(tk);
  RegisterKinds(tk);
  LoadBuiltinImages(tk);
}

}  // namespace tk
