// The designer's start-up: the window built from toolkit elements, the toolbox, the first form
// window on its grid, and a start without icon archives.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "designer/icon_archives.h"
#include "designer/script.h"
#include "elements/builtin_images.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"

namespace tk::designer {
namespace {

namespace fs = std::filesystem;

// Entry names of a zip archive, in archive order, with their sizes.
std::vector<std::pair<std::string, int64_t>> EntryNames(const fs::path& zip) {
  std::vector<std::pair<std::string, int64_t>> names;
  archive* a = archive_read_new();
  archive_read_support_format_zip(a);
  if (archive_read_open_filename(a, zip.c_str(), 65536) == ARCHIVE_OK) {
    archive_entry* entry = nullptr;
    while (archive_read_next_header(a, &entry) == ARCHIVE_OK) {
      if (archive_entry_filetype(entry) == AE_IFREG)
        names.emplace_back(archive_entry_pathname(entry), archive_entry_size(entry));
      archive_read_data_skip(a);
    }
  }
  archive_read_free(a);
  return names;
}

void WriteZip(const fs::path& zip, const std::vector<std::string>& names) {
  fs::create_directories(zip.parent_path());
  const BuiltinImageData* png = FindBuiltinImageData("tray_arrow");
  ASSERT_NE(png, nullptr);
  archive* a = archive_write_new();
  archive_write_set_format_zip(a);
  ASSERT_EQ(archive_write_open_filename(a, zip.c_str()), ARCHIVE_OK);
  for (const std::string& name : names) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, static_cast<int64_t>(png->size));
    archive_write_header(a, entry);
    archive_write_data(a, png->data, png->size);
    archive_entry_free(entry);
  }
  archive_write_close(a);
  archive_write_free(a);
}

// The folder holding the archives the build puts beside the program; a scratch folder with
// two small archives of the same entry names when this build has none.
class ArchiveFolder {
 public:
  ArchiveFolder() {
    const fs::path built = TK_BINARY_DIR;
    if (fs::exists(built / "images/images.zip") && fs::exists(built / "Themes/SilkTheme.zip")) {
      folder_ = built;
      return;
    }
    scratch_ = fs::temp_directory_path() / ("tk_designer_" + std::to_string(::getpid()));
    folder_ = scratch_;
    WriteZip(folder_ / "images/images.zip",
             {"elements_add.png", "elements.png", "page_white_code.png", "lightning.png",
              "add_form.png", "move_first.png", "move_next.png", "move_prev.png", "move_last.png"});
    WriteZip(folder_ / "Themes/SilkTheme.zip",
             {"cut.png", "page_copy.png", "page_paste.png", "page.png", "folder_page.png",
              "disk.png", "script.png", "vd_buttongadget.png", "vd_stringgadget.png",
              "application_form.png", "vd_cursor.png", "vd_listicongadget.png"});
  }
  ~ArchiveFolder() {
    std::error_code ignored;
    if (!scratch_.empty()) fs::remove_all(scratch_, ignored);
  }
  const fs::path& Path() const { return folder_; }

  // The toolbox entries of the theme: one per vd_ name, as the toolbox maps them.
  int ToolboxEntries() const {
    int count = 0;
    for (auto [name, size] : EntryNames(folder_ / "Themes/SilkTheme.zip")) {
      if (size == 0) continue;
      if (name == "application_form.png" || name.rfind("vd_", 0) == 0 ||
          name.rfind("page_white_edit", 0) == 0)
        ++count;
    }
    return count;
  }

 private:
  fs::path folder_, scratch_;
};

class DesignerStart : public ::testing::Test {
 protected:
  DesignerStart()
      : platform(1280, 1024),
        archives(platform.Images(), {folder.Path()}),
        designer(archives),
        tk(platform) {
    PrepareToolkit(tk);
  }
  ArchiveFolder folder;
  platform::HeadlessPlatform platform;
  IconArchives archives;
  Designer designer;
  Toolkit tk;
};

int FrameW(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  return e == nullptr ? -1 : e->Frame.w0;
}
int FrameH(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  return e == nullptr ? -1 : e->Frame.h0;
}

TEST_F(DesignerStart, BuildsTheWindowPanelsGridsToolboxAndFirstForm) {
  const StartResult start = StartDesigner(tk, designer);
  ASSERT_GT(start.window, 0);
  EXPECT_EQ(start.exitStatus, 0);
  EXPECT_TRUE(platform.StartupMessages().empty());
  const Designer& d = designer;
  EXPECT_EQ(GetElementText(tk, d.window), "Untitled - Designer");

  // The side panel is 300 wide; the message editor and the strips below the grids and the
  // toolbox are 60 high, on every page of the side panel.
  EXPECT_EQ(FrameW(tk, d.sidePanel), kSidePanelWidth);
  EXPECT_EQ(FrameH(tk, d.messageEditor), kLowerStrip);
  for (const int strip : {d.propertyText, d.eventButton, d.toolboxText}) {
    EXPECT_EQ(FrameH(tk, strip), kLowerStrip) << strip;
    EXPECT_EQ(FrameW(tk, strip), kSidePanelWidth) << strip;
  }
  // The main splitter fills the client area between the tool bar and the status bar.
  const Element* split = FindElement(tk, d.mainSplitter);
  const Element* bar = FindElement(tk, d.statusBar);
  ASSERT_NE(split, nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(split->Frame.y0 + split->Frame.h0, bar->Frame.y0);
  EXPECT_EQ(split->Frame.w0, bar->Frame.w0);
  EXPECT_EQ(GetItemData(tk, d.sidePanel, 0), d.propertySplitter);
  EXPECT_EQ(GetItemData(tk, d.mainPanel, 1), d.codeElement);
  EXPECT_EQ(GetItemData(tk, d.mainPanel, 2), d.designCanvas);

  // Every row of the two grids, the ID row disabled.
  const PropertyRows& r = d.rows;
  for (const int row :
       {r.enumeration, r.elements,  r.id,         r.caption,  r.toolTip, r.alignElement, r.image,
        r.bgImage,     r.x,         r.y,          r.width,    r.height,  r.data,         r.font,
        r.fontColor,   r.backColor, r.state,      r.sticky,   r.hide,    r.disable,      r.flag,
        r.bindEvent,   r.leftClick, r.rightClick, r.leftDown, r.leftUp})
    EXPECT_NE(FindElement(tk, row), nullptr) << row;
  EXPECT_EQ(IsDisabled(tk, r.id), 1);
  EXPECT_EQ(IsDisabled(tk, r.caption), 0);
  EXPECT_EQ(GetElementText(tk, r.image), "Puch_to_image");
  // Both grids' rows fit their page: no bar, and the rows span the page less one pixel, also
  // on the Events page, which was hidden while the window was laid out.
  for (const int grid : {d.propertyGrid, d.eventGrid}) {
    const Element* host = FindElement(tk, grid);
    ASSERT_NE(host, nullptr);
    int rowsWidth = -1;
    for (const auto& e : tk.root.Elements)
      if (e->Alive && e->Kind == ElementKind::Splitter && e->ParentID == host->Attached[0])
        rowsWidth = e->Frame.w0;
    EXPECT_EQ(rowsWidth, host->Inner.w0 - 1) << grid;
  }

  // One toolbox item per vd_ entry, the pointer tool first and selected.
  EXPECT_EQ(CountItems(tk, d.toolboxList), folder.ToolboxEntries());
  Element* list = FindElement(tk, d.toolboxList);
  ASSERT_NE(list, nullptr);
  const Element* first = FindItem(*list, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Text, " Cursor");
  EXPECT_EQ(GetElementState(tk, d.toolboxList), 0);

  // The first form window stands on the Form page on the dotted grid, with its own popup.
  int forms = 0;
  for (const auto& e : tk.root.Elements) {
    if (!e->Alive || e->Kind != ElementKind::Window || e->ParentID != d.mainPanel) continue;
    ++forms;
    EXPECT_EQ(e->Name, "Window_0");
    EXPECT_EQ(e->TabIndex, 0);
    EXPECT_EQ(e->Hidden, 0);
    EXPECT_EQ(e->Frame.w0, 350);
    EXPECT_EQ(platform.Images().Width(e->BackImage), 799);
    EXPECT_EQ(platform.Images().Height(e->BackImage), 599);
    // The caption shows the archive's "elements" icon before the title, clear of the close
    // button at the right end.
    ASSERT_FALSE(e->Items.empty());
    EXPECT_GE(e->Items.front()->Image, 0);
    EXPECT_FALSE(HasAny(e->Items.front()->Flags, Flag::ImageRight | Flag::ImageCenter));
  }
  EXPECT_EQ(forms, 1);
  EXPECT_GT(d.elementPopup, 0);
  EXPECT_EQ(platform.Images().Width(FindElement(tk, d.designCanvas)->BackImage), 799);

  // The picture of the started designer, kept with the build's outputs.
  ASSERT_TRUE(StartSession(tk, d.window));
  std::string error;
  EXPECT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/designer-started.png", &error))
      << error;
}

// Elements placed as the user places them: named after their form, default sizes, a rubber
// band as position and size, grid backgrounds on containers, the tool put back afterwards.
TEST_F(DesignerStart, CreateDesignElementNamesSizesAndResetsTheTool) {
  ASSERT_GT(StartDesigner(tk, designer).window, 0);
  Designer& d = designer;
  const int form = tk.root.DesignedElement;
  ASSERT_EQ(GetKind(tk, form), ElementKind::Window);
  EXPECT_EQ(CreateDesignElement(tk, d, ElementKind::None, form, 0, 1), -1);

  d.toolKind = tk.root.ToolKind = ElementKind::Button;
  SetElementState(tk, d.toolboxList, 1);
  const int button = CreateDesignElement(tk, d, ElementKind::Button, form, 0, 1);
  const Element* b = FindElement(tk, button);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Name, "Window_0_Button_0");
  EXPECT_EQ(b->Text, "Button_0");
  EXPECT_EQ(b->ParentID, form);
  EXPECT_TRUE(b->FlagList.empty());
  EXPECT_NEAR(b->Frame.w0, 130, 2);
  EXPECT_NEAR(b->Frame.h0, 25, 2);
  // The tool went back to the pointer.
  EXPECT_EQ(d.toolKind, ElementKind::None);
  EXPECT_EQ(tk.root.ToolKind, ElementKind::None);
  EXPECT_EQ(GetElementState(tk, d.toolboxList), 0);
  EXPECT_EQ(GetElementText(tk, d.toolboxText).rfind("Элемент не выбран", 0), 0u);

  // A rubber band wider and higher than 5 pixels gives the position and, plus one grid
  // step, the size; it is cleared afterwards.
  tk.root.Selection = {100, 60, 100, 40, 0};
  const int container = CreateDesignElement(tk, d, ElementKind::Container, form, 0, 0);
  const Element* c = FindElement(tk, container);
  ASSERT_NE(c, nullptr);
  EXPECT_NEAR(c->Frame.w0, 105, 2);
  EXPECT_NEAR(c->Frame.h0, 45, 2);
  EXPECT_NEAR(ElementX(tk, container, CoordMode::Parent), 100, 4);
  EXPECT_EQ(tk.root.Selection.Width, 0);
  EXPECT_EQ(tk.root.Selection.Colour, 0xE23A2B);
  EXPECT_EQ(platform.Images().Width(c->BackImage), 799);
  // A band of 5 pixels or less is a click: the default size.
  tk.root.Selection = {10, 10, 5, 40, 0};
  const Element* l = FindElement(tk, CreateDesignElement(tk, d, ElementKind::ListView, form, 0, 0));
  ASSERT_NE(l, nullptr);
  EXPECT_NEAR(l->Frame.w0, 220, 2);
  EXPECT_NEAR(l->Frame.h0, 140, 2);

  // A second form window is a new element on the Form page. Windows and containers share the
  // one element popup and the one grid image: neither is made again for each of them, so
  // placing and deleting them leaves nothing behind.
  auto popups = [&] {
    int count = 0;
    for (const auto& e : tk.root.Elements)
      count += e->Alive && e->Kind == ElementKind::PopupMenu ? 1 : 0;
    return count;
  };
  const int popup = d.elementPopup, popupsBefore = popups();
  const int second = CreateDesignElement(tk, d, ElementKind::Window, d.mainPanel, 0, 1);
  EXPECT_EQ(GetParent(tk, second), d.mainPanel);
  EXPECT_EQ(FindElement(tk, second)->Name, "Window_1");
  EXPECT_EQ(d.elementPopup, popup);
  EXPECT_EQ(popups(), popupsBefore);
  const int grid = FindElement(tk, form)->BackImage;
  EXPECT_EQ(grid, d.gridImage);
  EXPECT_EQ(FindElement(tk, second)->BackImage, grid);
  EXPECT_EQ(FindElement(tk, container)->BackImage, grid);
  FreeElement(tk, container);
  FreeElement(tk, second);
  EXPECT_TRUE(platform.Images().IsImage(grid));
  const int third = CreateDesignElement(tk, d, ElementKind::Window, d.mainPanel, 0, 1);
  EXPECT_EQ(FindElement(tk, third)->BackImage, grid);
  EXPECT_EQ(popups(), popupsBefore);
}

// Whatever was placed before, an element placed on a form belongs to that form window (its
// handler hears it, the code lists it under it), also right after one placed in a container.
TEST_F(DesignerStart, ElementsPlacedAfterOneInAContainerStillBelongToTheirForm) {
  ASSERT_GT(StartDesigner(tk, designer).window, 0);
  Designer& d = designer;
  const int form = tk.root.DesignedElement;
  ASSERT_TRUE(StartSession(tk, d.window));
  // A click on the bare form, as the user selects it before placing anything.
  const Element* f = FindElement(tk, form);
  for (const auto type :
       {platform::NativeEventType::MouseMove, platform::NativeEventType::LeftButtonDown,
        platform::NativeEventType::LeftButtonUp}) {
    platform::NativeEvent ev;
    ev.type = type;
    ev.x = f->Inner.x0 + f->Inner.w0 - 3;
    ev.y = f->Inner.y0 + f->Inner.h0 - 3;
    platform.Inject(ev);
    PumpEvents(tk);
  }
  const int box = CreateDesignElement(tk, d, ElementKind::Container, form, 0, 0);
  const int inBox = CreateDesignElement(tk, d, ElementKind::Frame, box, 0, 0);
  const int onForm = CreateDesignElement(tk, d, ElementKind::Button, form, 0, 0);
  const int second = CreateDesignElement(tk, d, ElementKind::Window, d.mainPanel, 0, 0);
  const int onFirstAgain = CreateDesignElement(tk, d, ElementKind::CheckBox, form, 0, 0);
  const int onSecond = CreateDesignElement(tk, d, ElementKind::Button, second, 0, 0);
  for (const int id : {box, inBox, onForm, onFirstAgain}) {
    ASSERT_NE(FindElement(tk, id), nullptr);
    EXPECT_EQ(FindElement(tk, id)->WindowID, form) << FindElement(tk, id)->Name;
  }
  ASSERT_NE(FindElement(tk, onSecond), nullptr);
  EXPECT_EQ(FindElement(tk, onSecond)->WindowID, second);
  EXPECT_EQ(GetParent(tk, onForm), form);
  EXPECT_EQ(GetParent(tk, inBox), box);
}

TEST_F(DesignerStart, DotGridHasOneOpaqueDotPerStepOnATransparentImage) {
  const int image = DotGridImage(tk, 5, 0, 0, 800, 600);
  ASSERT_GE(image, 0);
  platform::ImageStore& images = platform.Images();
  ASSERT_EQ(images.Width(image), 799);
  ASSERT_EQ(images.Height(image), 599);
  int dots = 0, stray = 0;
  for (int y = 0; y < 599; ++y) {
    for (int x = 0; x < 799; ++x) {
      const uint32_t pixel = images.Pixel(image, x, y);
      const bool onGrid = x % 5 == 0 && y % 5 == 0;
      if (onGrid && pixel == 0xFF000000u) ++dots;
      if (!onGrid && pixel != 0) ++stray;
    }
  }
  EXPECT_EQ(dots, 160 * 120);
  EXPECT_EQ(stray, 0);
  EXPECT_EQ(DotGridImage(tk, 0, 0, 0, 800, 600), -1);
  EXPECT_EQ(DotGridImage(tk, 5, 0, 0, 1, 600), -1);
}

// Without archives nothing is built: the message is shown and the program ends with status 1.
TEST(DesignerStartWithoutArchives, ShowsTheMessageAndEndsWithStatusOne) {
  platform::HeadlessPlatform platform(800, 600);
  IconArchives none(platform.Images(), {});
  Designer designer(none);
  Toolkit tk(platform);
  PrepareToolkit(tk);
  const StartResult start = StartDesigner(tk, designer);
  EXPECT_EQ(start.window, 0);
  EXPECT_EQ(start.exitStatus, 1);
  ASSERT_EQ(platform.StartupMessages().size(), 1u);
  EXPECT_EQ(platform.StartupMessages()[0],
            "Designer Error|images\\images.zip Not found in the current directory\r\n"
            "Or in PB_Compiler_Home\\themes directory\r\n\r\nExit now");
  EXPECT_TRUE(tk.root.Elements.empty());
  EXPECT_FALSE(platform.HostExists());
}

}  // namespace
}  // namespace tk::designer
