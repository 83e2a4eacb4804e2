#include "designer/image_editor.h"

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "requesters/requesters.h"

namespace tk::designer {

namespace {

constexpr int kDialogWidth = 346;
constexpr int kDialogHeight = 176;
// Bits the dialog's window always gets beside the caller's: a title bar that moves it, a
// sizing border, and no showing until it is built.
constexpr Flags64 kDialogFlags = Flag::SystemMenu | MakeFlags(0, 0x3C000);
// The room a bordered element needs around its image.
constexpr int kImageMargin = 9;

constexpr const char* kLoadTitle = "Please choose file to load";
constexpr const char* kLoadPattern = "Image (png;bmp)|*.png;*.gif;*.bmp|All files (*.*)|*.*";

// Forgets the dialog's elements once its window is gone, however it went.
void Forget(Toolkit& tk, ImageEditor& editor) {
  if (tk.root.StickyWindow == editor.window) tk.root.StickyWindow = -1;
  editor.window = editor.preview = editor.load = editor.apply = editor.cancel = -1;
}

// True when no element but the preview shows the image and the code generator has no file for
// it: nothing would miss it if it went.
bool Unused(Toolkit& tk, const ImageEditor& editor, int image) {
  if (image <= 0 || !ImagePathOf(tk.root, image).empty()) return false;
  for (const auto& e : tk.root.Elements)
    if (e->ID != editor.preview && (e->Image == image || e->BackImage == image)) return false;
  return true;
}

// Asks for a file and shows it in the preview. A cancelled requester or a file that does not
// decode leaves the preview, the chosen image and its path as they were.
void Load(Toolkit& tk, ImageEditor& editor) {
  const std::string chosen = OpenFileRequester(tk, kLoadTitle, "", kLoadPattern);
  if (chosen.empty()) return;
  platform::ImageStore& images = tk.platform.Images();
  const int image = images.LoadFile(platform::ImageStore::kAny, chosen);
  if (image <= 0) return;
  // A picture loaded and replaced before anything took it would stay in memory for good.
  if (editor.lastImage != image && Unused(tk, editor, editor.lastImage))
    images.Free(editor.lastImage);
  editor.lastImage = image;
  editor.path = chosen;
  SetElementState(tk, editor.preview, image);
}

// Gives the preview's image to the designed element as the opening row asks, names its file
// on that row and for the generated code, and closes the dialog.
void Apply(Toolkit& tk, ImageEditor& editor) {
  const int image = static_cast<int>(GetElementState(tk, editor.preview));
  platform::ImageStore& images = tk.platform.Images();
  // 0 is the empty preview; the store may still hold a picture under that number.
  const bool hasImage = image > 0 && images.IsImage(image);
  const int designed = tk.root.DesignedElement;
  if (FindElement(tk, designed) != nullptr) {
    if (editor.openedFrom == editor.bgImageRow) {
      SetElementBackImage(tk, designed, image);
    } else if (editor.openedFrom == editor.imageRow) {
      const Element* e = FindElement(tk, designed);
      if (hasImage && e->ListHolder == 0 && ElementWidth(tk, designed) != images.Width(image) &&
          MessageRequester(tk, "Сообщение", "Хотите изменить размер элемента?",
                           MessageFlag::YesNo) == MessageAnswer::Yes &&
          FindElement(tk, designed) != nullptr) {
        SetElementText(tk, designed, "");
        ResizeElementById(tk, designed, kIgnore, kIgnore, images.Width(image) + kImageMargin,
                          images.Height(image) + kImageMargin);
      }
      SetElementImage(tk, designed, image);
    }
    // The row shows the file of the image the element now holds (none for the empty preview).
    const std::string path = hasImage && image == editor.lastImage ? editor.path : std::string();
    SetElementText(tk, editor.openedFrom, path);
    if (hasImage) RememberImagePath(tk.root, image, path);
  }
  CloseImageEditor(tk, editor);
}

int OnDialogEvent(Toolkit& tk, ImageEditor& editor, int window, EventCode code) {
  if (editor.window != window) return 1;  // a dialog closed earlier
  const int element = tk.root.Event.EventElement;
  if (code == ElementEvent::Freed) {
    if (element == window) Forget(tk, editor);
    return 1;
  }
  if (code == ElementEvent::CloseButton && element == window) {
    CloseImageEditor(tk, editor);
    return 0;
  }
  if (code != ElementEvent::LeftClick) return 1;
  if (element == editor.cancel) {
    CloseImageEditor(tk, editor);
  } else if (element == editor.load) {
    Load(tk, editor);
  } else if (element == editor.apply) {
    Apply(tk, editor);
  }
  return 1;
}

}  // namespace

int OpenImageEditor(Toolkit& tk, ImageEditor& editor, int parentWindow, int* result,
                    Flags64 flags) {
  Root& root = tk.root;
  // The row button whose click opens the dialog; outside a handler, the active element.
  const int opener = FindElement(tk, root.Event.EventElement) != nullptr ? root.Event.EventElement
                                                                         : root.UsedElement;
  CloseImageEditor(tk, editor);
  editor.openedFrom = opener;

  const Element* desktop = FindElement(tk, 0);
  if (desktop == nullptr) return 0;
  int x = 0, y = 0;
  const Element* parent = FindElement(tk, parentWindow);
  if (HasAny(flags, Flag::ScreenCentered)) {
    x = (ElementWidth(tk, 0) - kDialogWidth) / 2;
    y = (ElementHeight(tk, 0) - kDialogHeight) / 2;
  } else if (HasAny(flags, Flag::WindowCentered) && parent != nullptr && parentWindow != 0) {
    // The dialog lives on the desktop, so the offset inside the parent starts at its corner.
    x = parent->Inner.x0 - desktop->Inner.x0 + (ElementWidth(tk, parentWindow) - kDialogWidth) / 2;
    y = parent->Inner.y0 - desktop->Inner.y0 +
        (ElementHeight(tk, parentWindow) - kDialogHeight) / 2;
  }

  // Its list stays open for the elements below until the end.
  // Placed above: the window is not centred again on the desktop it hangs from.
  const Flags64 placed = (flags | kDialogFlags) & ~(Flag::WindowCentered | Flag::ScreenCentered);
  const int window =
      Window(tk, -1, x, y, kDialogWidth, kDialogHeight, "Редактор изображения", placed, 0);
  if (window <= 0 || FindElement(tk, window) == nullptr) return 0;
  editor.window = window;
  StickyWindow(tk, window, 1);

  editor.preview =
      CreateElement(tk, ElementKind::Image, -1, 5, 5, 231, 166, "", 0, -1, 0, 0, window);
  editor.load = Button(tk, -1, 240, 5, 101, 21, "Загрузить", 0, window);
  editor.apply = Button(tk, -1, 240, 125, 101, 21, "Применить", 0, window);
  editor.cancel = Button(tk, -1, 240, 150, 101, 21, "Отмена", 0, window);

  ImageEditor* state = &editor;
  Toolkit* toolkit = &tk;
  BindCallback(tk, MakeHandler([toolkit, state, window](EventCode code, int) {
                 return OnDialogEvent(*toolkit, *state, window, code);
               }),
               window, -1, -1);
  if (result != nullptr) *result = editor.lastImage;
  HideElement(tk, window, 0);
  CloseList(tk);
  return window;
}

void CloseImageEditor(Toolkit& tk, ImageEditor& editor) {
  const int window = editor.window;
  Forget(tk, editor);
  if (window > 0 && IsWindow(tk, window)) FreeElement(tk, window);
}

}  // namespace tk::designer
