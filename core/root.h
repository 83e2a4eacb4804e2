// The Root record: the element list, the id tables and the program-wide toolkit state.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/element.h"
#include "core/id_table.h"

namespace tk::platform {
class Painter;
}  // namespace tk::platform

namespace tk {

// The designer's rubber band on a form: its rectangle (0 size when none) and its colour.
struct SelectionRectangle {
  int X = 0, Y = 0, Width = 0, Height = 0;
  Color Colour = 0xE23A2B;
};

// Something a handler draws over every finished frame until it takes it away.
struct Overlay {
  int Handle = 0;
  std::function<void(platform::Painter&)> Paint;
};

// What the running handler's event concerns; saved and restored around every delivery so
// nested posting keeps the outer record intact.
struct EventRecord {
  EventCode EventType = -1;
  int EventElement = -1;
  int EventDesktop = -1;
  int EventWindow = -1;
  int EventParent = -1;
  int EventGadget = -1;
  int64_t EventData = -1;
  int EventMenu = -1;
  int EventToolBar = -1;
  int EventPopupMenu = -1;
  int EventStatusBar = -1;
};

struct Root {
  Flags64 HostFlags = 0;

  int LastElement = -1;
  int LastWindow = -1;
  int LastGadget = -1;
  int LastMenu = -1;
  int LastToolBar = -1;
  int LastPopupMenu = -1;
  int LastStatusBar = -1;

  bool CanvasID = false;    // the host canvas exists
  bool HostWindow = false;  // the host window exists
  int OpenList = -1;
  int CurrentWindow = -1;
  int MainWindow = -1;
  int MenuHeight = kMenuHeightDefault;
  int CaptionHeightDefault = kCaptionHeightDefault;

  // Pointer and keyboard as last reported by the canvas.
  int MouseX = 0, MouseY = 0;
  int PointerElement = -1;
  int ButtonHeld = 0;
  char32_t InputChar = 0;
  int KeyCode = 0;
  int Modifiers = 0;  // 1 Shift, 2 Alt, 4 Control
  int WheelDelta = 0;

  Color DesktopColor = 0xF0F0F0;
  int DesktopImage = -1;

  int UsedElement = -1;
  int ActiveWindow = 0;
  int ActiveGadget = 0;
  int FocusedGadget = 0;  // the one gadget that shows the focus look
  int FocusedElement = 0;
  int DesignedElement = -1;
  int ActiveBar = -1;
  int StickyWindow = -1;
  int TopPopupMenu = -1;
  int TopmostWindow = -1;

  EventRecord Event;

  // Dispatch bookkeeping.
  int GrabX = 0, GrabY = 0;
  int ToolTipX = 0, ToolTipY = 0, ToolTipMinWidth = 0, ToolTipMinHeight = 0;
  std::string ToolTipText;
  bool MultiSelect = false;
  // Design hit area under the pointer, recomputed on every move while no button is held.
  int CurrentHitArea = 0;
  // While non-zero the pointer shape is left alone (a tool's custom pointer is showing).
  int PointerLock = 0;
  bool DropDownOpen = false;
  int OpenDropDown = -1;
  int PopupUnderPointer = -1;
  int LastPressedItem = -1;  // index of the item a button last went down on

  // The designer's chosen tool (None when no tool is chosen) and its rubber band, shared by
  // its panel and form-editing handlers.
  ElementKind ToolKind = ElementKind::None;
  SelectionRectangle Selection;
  // While set, creation gives every element its kind name with ordinal 0 instead of counting
  // its kind among its siblings: the caller (the code reader) names what it makes itself.
  bool NamesGiven = false;

  // Requester windows open now, innermost last: only the innermost takes pointer and keys.
  std::vector<int> ModalWindows;

  // Painted after the tooltip on every repaint, in the order they were added.
  std::vector<Overlay> Overlays;
  int NextOverlayHandle = 1;

  // Id tables and the element list. Records never move while they exist.
  std::unordered_map<const Element*, int> AddressToID;
  IdTable IDToAddress;
  std::vector<std::unique_ptr<Element>> Elements;

  // Records freed while a handler or dispatch is still on the stack stay here, dead, until
  // the outermost call returns, so no frame is left holding freed memory.
  std::vector<std::unique_ptr<Element>> Graveyard;
  int BusyDepth = 0;
  uint64_t NextSerial = 1;
  int NextAutoId = 0x40000000;  // automatically chosen ids: even, large, distinct

  // Image number -> the file the image was loaded from, as the generated LoadImage lines
  // name it. Filled by whoever loads an image into an element.
  std::unordered_map<int, std::string> ImagePaths;
};

// Records (or, with an empty path, forgets) the file an image number was loaded from.
inline void RememberImagePath(Root& root, int number, std::string path) {
  if (path.empty()) {
    root.ImagePaths.erase(number);
  } else {
    root.ImagePaths[number] = std::move(path);
  }
}

// The file recorded for an image number; empty when none was.
inline std::string ImagePathOf(const Root& root, int number) {
  auto found = root.ImagePaths.find(number);
  return found == root.ImagePaths.end() ? std::string() : found->second;
}

}  // namespace tk
