// The toolkit demonstration scene and its simple drawing.
#include "designer/demo.h"

#include "core/attributes.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "platform/platform.h"
#include "render/host.h"

namespace tk::demo {

namespace {

constexpr Color kHotFrame = 0xEAB47E;
constexpr Color kHotBack = 0xFCECDC;
constexpr Color kCaptionActive = 0xD77800;
constexpr Color kCaptionInactive = 0xBFBFBF;
constexpr Color kCloseHot = 0x0533FF;

void DrawElement(Toolkit& tk, platform::Painter& p, const Element& e) {
  using platform::DrawMode;
  const CoordBlock& f = e.Frame;
  if (e.Hidden || f.w0 <= 0 || f.h0 <= 0) return;
  const bool hot = (e.RepaintFlags & StateBit::Hot) != 0;
  p.Clip(e.Clip.x0, e.Clip.y0, e.Clip.w0, e.Clip.h0);
  p.SetMode(DrawMode::Default);
  Color back = e.BackColor >= 0 ? e.BackColor : 0xF0F0F0;
  if (hot && e.Kind != ElementKind::Window) back = kHotBack;
  p.Box(f.x0, f.y0, f.w0, f.h0, back);
  p.SetMode(DrawMode::Outlined);
  p.Box(f.x0, f.y0, f.w0, f.h0, hot ? kHotFrame : e.FrameColor);
  p.SetMode(DrawMode::Transparent);
  p.SetFont(e.FontID);
  if (e.Kind == ElementKind::Window && e.CaptionHeight > 0) {
    const bool active = tk.root.ActiveWindow == e.ID;
    p.SetMode(DrawMode::Default);
    p.Box(f.x0 + 1, f.y0 + 1, f.w0 - 2, e.CaptionHeight,
          active ? kCaptionActive : kCaptionInactive);
    p.SetMode(DrawMode::Transparent);
    const std::string title = e.Items.empty() ? e.Text : e.Items[0]->Text;
    int th = p.TextHeight("A");
    p.Text(f.x0 + 8, f.y0 + 1 + (e.CaptionHeight - th) / 2, title, 0xFFFFFF, -1);
    // The close box sits at the right end of the caption.
    const int bx = f.x0 + f.w0 - 1 - 32, by = f.y0 + 1;
    const bool closeHot = hot && e.MouseX >= bx - f.x0 && e.MouseY < e.CaptionHeight;
    if (closeHot) {
      p.SetMode(DrawMode::Default);
      p.Box(bx, by, 32, 18, kCloseHot);
      p.SetMode(DrawMode::Transparent);
    }
    p.Text(bx + 12, by + (18 - th) / 2, "x", 0xFFFFFF, -1);
  } else if (!e.Text.empty()) {
    int tw = p.TextWidth(e.Text), th = p.TextHeight(e.Text);
    p.Text(f.x0 + (f.w0 - tw) / 2, f.y0 + (f.h0 - th) / 2, e.Text, e.FrontColor, -1);
  }
  p.Unclip();
}

// Clicking the close box of the main window closes it; Escape does the same.
int OnDemoEvent(Toolkit& tk, EventCode code) {
  Root& root = tk.root;
  const int main = root.MainWindow;
  if (code == ElementEvent::LeftClick && root.Event.EventElement == main) {
    Element* w = FindElement(tk, main);
    if (w && w->MouseY < w->CaptionHeight && w->MouseX >= w->Frame.w0 - 33) {
      SetElementState(tk, main, 0x20);
      return 1;
    }
  }
  if (code == ElementEvent::KeyDown && root.KeyCode == platform::Key::Escape) {
    WindowButtonHandler(tk, ElementEvent::CloseButton, -1);
    return 1;
  }
  if (code != ElementEvent::Freed) DrawDemo(tk);
  return 1;
}

}  // namespace

void DrawDemo(Toolkit& tk) {
  platform::Painter* p = tk.platform.BeginDrawing();
  if (!p) return;
  p->SetOrigin(0, 0);
  p->SetMode(platform::DrawMode::Default);
  p->Box(0, 0, p->OutputWidth(), p->OutputHeight(), tk.root.DesktopColor);
  for (const auto& e : tk.root.Elements)
    if (e->Kind != ElementKind::Desktop) DrawElement(tk, *p, *e);
  tk.platform.EndDrawing();
}

int BuildDemo(Toolkit& tk) {
  InstallRender(tk);
  int main = OpenHost(tk, 1, 0, 0, 640, 420, "Toolkit demonstration",
                      Flag::SystemMenu | Flag::ScreenCentered);
  if (main <= 0) return 0;
  CreateElement(tk, ElementKind::Container, 10, 20, 20, 280, 180, "", 0, 0, 0, Flag::Border, -1);
  CreateElement(tk, ElementKind::Button, 11, 20, 20, 120, 28, "Button", 0, 0, 0, 0, -1);
  CreateElement(tk, ElementKind::Button, 12, 20, 60, 120, 28, "Кнопка", 0, 0, 0, 0, -1);
  CloseList(tk);
  CreateElement(tk, ElementKind::Window, 2, 320, 60, 260, 200, "Second window", -1, -1, -1,
                Flag::SystemMenu, -1);
  SetElementText(tk, 2, "Second window");
  CreateElement(tk, ElementKind::String, 20, 20, 20, 200, 24, "Hover me", 0, 0, 0, 0, -1);
  CloseList(tk);
  ActivateElement(tk, main);
  BindCallback(tk, MakeHandler([&tk](EventCode code, int) { return OnDemoEvent(tk, code); }), -1,
               -1, -1);
  return main;
}

}  // namespace tk::demo
