// The toolkit demonstration scene: windows of every caption style holding one element of
// each kind built so far.
#include "designer/demo.h"

#include "core/attributes.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "platform/platform.h"
#include "render/host.h"

namespace tk::demo {

namespace {

constexpr int kCloseButtonKind = 0x20;
constexpr int kWindowClose = 0x20;

// Clicking a caption close button closes its window, Escape ends the program. Item routing
// takes this over once caption buttons handle their own clicks.
int OnDemoEvent(Toolkit& tk, EventCode code, int value) {
  Root& root = tk.root;
  if (code == ElementEvent::LeftClick && IsWindow(tk, root.Event.EventElement)) {
    Element* w = FindElement(tk, root.Event.EventElement);
    Element* item = w ? FindItem(*w, value) : nullptr;
    if (item && static_cast<int>(item->Kind) == kCloseButtonKind) {
      SetElementState(tk, w->ID, kWindowClose);
      return 1;
    }
  }
  if (code == ElementEvent::KeyDown && root.KeyCode == platform::Key::Escape)
    WindowButtonHandler(tk, ElementEvent::CloseButton, -1);
  return 1;
}

void BuildKindsWindow(Toolkit& tk) {
  const int w = Window(tk, 10, 20, 50, 470, 390, "Simple kinds",
                       Flag::SystemMenu | Flag::MaximizeGadget | Flag::MinimizeGadget);
  Text(tk, 100, 10, 10, 210, 64,
       "A Text element wraps its words onto several lines when they do not fit on one.");
  String(tk, 101, 10, 84, 210, 24, "String: Привет, мир");
  Editor(tk, 102, 10, 118, 210, 70, "");
  AddElementItem(tk, 102, -1, "Editor: one item per line\nsecond line\nтретья строка");
  Button(tk, 103, 240, 10, 100, 28, "Button");
  const int off = Button(tk, 104, 350, 10, 100, 28, "Disabled");
  DisableElement(tk, off, 1);
  Button(tk, 105, 240, 48, 100, 28, "A caption far too long for its button");
  const int icon = Button(tk, 106, 350, 48, 100, 28, "Icon");
  SetElementImage(tk, icon, tk.builtins.SmallIcon);
  CheckBox(tk, 107, 240, 90, 200, 22, "CheckBox");
  SetElementState(tk, 107, 1);
  Option(tk, 108, 240, 116, 200, 22, "Option one");
  Option(tk, 109, 240, 140, 200, 22, "Option two");
  SetElementState(tk, 108, 1);
  Frame(tk, 110, 10, 200, 210, 120, "Frame with a title");
  CheckBox(tk, 111, 22, 222, 180, 22, "Inside the frame");
  Text(tk, 112, 22, 252, 180, 40, "Кириллица и Latin\nна двух строках");
  Container(tk, 113, 240, 200, 210, 120, Flag::Border);
  Text(tk, 114, 10, 10, 180, 40, "A Container with a border holds this Text.");
  CloseList(tk);
  SetElementText(tk, w, "Simple kinds");
}

void BuildCaptionStyles(Toolkit& tk) {
  Window(tk, 20, 510, 50, 220, 90, "Close button only", Flag::SystemMenu);
  Text(tk, 200, 10, 10, 200, 40, "#PB_Window_SystemMenu");
  Window(tk, 21, 510, 180, 220, 90, "Title bar only", Flag::TitleBar);
  Text(tk, 201, 10, 10, 200, 40, "#PB_Window_TitleBar");
  Window(tk, 22, 760, 50, 220, 90, "Sizeable",
         Flag::SystemMenu | Flag::SizeGadget | Flag::MaximizeGadget);
  Text(tk, 202, 10, 10, 200, 40, "#PB_Window_SizeGadget: a 4-pixel frame");
  Window(tk, 23, 760, 180, 220, 90, "Borderless", Flag::BorderLess);
  Text(tk, 203, 10, 10, 200, 40, "#PB_Window_BorderLess: no caption");
  Window(tk, 24, 510, 310, 470, 130, "Raised, inactive", Flag::SystemMenu | Flag::Raised);
  Text(tk, 204, 10, 10, 450, 40, "Only the active window shows the active caption look.");
  CloseList(tk);
}

}  // namespace

int BuildDemo(Toolkit& tk, int width, int height) {
  const int main = Window(tk, 1, 0, 0, width, height, "Toolkit demonstration",
                          Flag::SystemMenu | Flag::ScreenCentered);
  if (main <= 0) return 0;
  BuildCaptionStyles(tk);
  BuildKindsWindow(tk);
  ActivateElement(tk, 10);
  FocusWindow(tk, 10);
  BindCallback(
      tk, MakeHandler([&tk](EventCode code, int value) { return OnDemoEvent(tk, code, value); }),
      -1, -1, -1);
  return main;
}

}  // namespace tk::demo
