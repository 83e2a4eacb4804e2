// The open and save file requesters: the folder shown with a parent button, its listing
// (folders first, then the files the selected pattern matches), a path field and the pattern
// combo box. A folder is read once when it is shown; changing the pattern or scrolling only
// works on what was read.
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/items.h"
#include "core/lookup.h"
#include "elements/combobox.h"
#include "elements/list.h"
#include "elements/simple.h"
#include "render/repaint.h"
#include "requesters/file_listing.h"
#include "requesters/modal.h"
#include "requesters/requesters.h"

namespace tk {

namespace {

namespace fs = std::filesystem;

constexpr int kPad = 12;
constexpr int kGap = 8;
constexpr int kRowH = 24;
constexpr int kLabelW = 84;
constexpr int kButtonW = 80;
constexpr int kSizeColumnW = 96;
constexpr int kInnerW = 560;
constexpr int kInnerH = 400;
constexpr Color kErrorInk = 0x0000B0;  // dark red

// Element numbers inside the requester. The path field is made first so that it has the
// keys when the requester opens.
constexpr int kPathField = 1;
constexpr int kFolderLabel = 2;
constexpr int kFolderText = 3;
constexpr int kUpButton = 4;
constexpr int kList = 5;
constexpr int kNameLabel = 6;
constexpr int kTypeLabel = 7;
constexpr int kTypeCombo = 8;
constexpr int kStatus = 9;
constexpr int kOkButton = 10;
constexpr int kCancelButton = 11;

// A path made absolute and tidied (no "." or ".." parts), without a trailing separator
// except for the root.
fs::path Tidy(const fs::path& path) {
  std::error_code ec;
  fs::path full = path.is_absolute() ? path : fs::absolute(path, ec);
  if (ec) full = path;
  full = full.lexically_normal();
  if (full.has_relative_path() && !full.has_filename()) full = full.parent_path();
  return full;
}

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

class FileRequesterWindow {
 public:
  FileRequesterWindow(Toolkit& tk, bool save, const std::string& title,
                      const std::string& defaultPath, const std::string& pattern, int position)
      : tk_(tk), save_(save), modal_(tk, title, kInnerW, kInnerH) {
    patterns_ = files::ParsePatterns(pattern);
    pattern_ = position >= 0 && static_cast<size_t>(position) < patterns_.size()
                   ? static_cast<size_t>(position)
                   : 0;
    StartingPoint(defaultPath);
    if (modal_.IsOpen()) Build();
  }

  // The chosen path, "" when cancelled.
  std::string Run() {
    if (!modal_.IsOpen()) return "";
    ShowFolder(folder_);
    SetElementText(tk_, modal_.Id(kPathField), files::DisplayName(startName_));
    modal_.onEvent = [this](EventCode code, int element) { OnEvent(code, element); };
    modal_.onConfirm = [this] { return Confirm(); };
    const bool confirmed = modal_.Run();
    tk_.requesters.LastFolder = folder_.string();
    return confirmed ? chosen_ : "";
  }

 private:
  // The folder shown first and the name put in the path field.
  void StartingPoint(const std::string& defaultPath) {
    fs::path start;
    if (!defaultPath.empty()) {
      const fs::path given = Tidy(defaultPath);
      if (IsFolder(given)) {
        start = given;
      } else {
        startName_ = given.filename().string();
        if (IsFolder(given.parent_path())) start = given.parent_path();
      }
    }
    if (start.empty() && !tk_.requesters.LastFolder.empty() && IsFolder(tk_.requesters.LastFolder))
      start = Tidy(tk_.requesters.LastFolder);
    if (start.empty()) {
      std::error_code ec;
      start = fs::current_path(ec);
      if (ec) start = "/";
    }
    folder_ = start;
  }

  void Build() {
    const int window = modal_.Window();
    const int W = modal_.InnerWidth(), H = modal_.InnerHeight();
    const int buttonsY = H - kPad - kRowH;
    const int typeY = buttonsY - kPad - kRowH;
    const int nameY = typeY - kGap - kRowH;
    const int listY = kPad + kRowH + kGap;
    const int listH = std::max(3 * kListRowHeight, nameY - kGap - listY);
    const int fieldX = kPad + kLabelW;
    const int fieldW = std::max(40, W - fieldX - kPad);
    // Texts stand centred on the rows of the fields and buttons beside them.
    platform::Painter& measure = tk_.platform.Measurer();
    measure.SetFont(tk_.platform.Fonts().Default());
    const int textH = std::min(kRowH, measure.MeasureText("Ag").height + 2);
    const int lift = (kRowH - textH) / 2;
    // Texts lie on the window's own face, not on a box of their own.
    int64_t face = GetElementAttribute(tk_, window, Attribute::BackColor);
    if (face < 0) face = tk_.platform.WindowBackgroundColor();
    auto label = [&](int n, int x, int y, int w, const char* text) {
      Text(tk_, modal_.Id(n), x, y + lift, w, textH, text, 0, window);
      SetElementColor(tk_, modal_.Id(n), Attribute::BackColor, face);
    };

    String(tk_, modal_.Id(kPathField), fieldX, nameY, fieldW, kRowH, "", 0, window);
    label(kFolderLabel, kPad, kPad, kLabelW, "Folder:");
    label(kFolderText, fieldX, kPad, std::max(40, fieldW - kButtonW - kGap), "");
    Button(tk_, modal_.Id(kUpButton), W - kPad - kButtonW, kPad, kButtonW, kRowH, "Up", 0, window);
    const int listW = W - 2 * kPad;
    // The name column takes what the size column and the bar leave.
    const int nameW = std::max(60, listW - kSizeColumnW - 24);
    ListIcon(tk_, modal_.Id(kList), kPad, listY, listW, listH, "Name", nameW, 0, window);
    AddListColumn(tk_, modal_.Id(kList), -1, "Size", kSizeColumnW);
    label(kNameLabel, kPad, nameY, kLabelW, "File name:");
    label(kTypeLabel, kPad, typeY, kLabelW, "Files of type:");
    ComboBox(tk_, modal_.Id(kTypeCombo), fieldX, typeY, fieldW, kRowH, 0, window);
    for (const auto& p : patterns_)
      AddElementItem(tk_, modal_.Id(kTypeCombo), -1, p.label);
    SetElementState(tk_, modal_.Id(kTypeCombo), static_cast<double>(pattern_));
    const int okX = W - kPad - 2 * kButtonW - kGap;
    label(kStatus, kPad, buttonsY, std::max(10, okX - kGap - kPad), "");
    SetElementColor(tk_, modal_.Id(kStatus), Attribute::FrontColor, kErrorInk);
    Button(tk_, modal_.Id(kOkButton), okX, buttonsY, kButtonW, kRowH, save_ ? "Save" : "Open", 0,
           window);
    Button(tk_, modal_.Id(kCancelButton), W - kPad - kButtonW, buttonsY, kButtonW, kRowH, "Cancel",
           0, window);
  }

  void Say(const std::string& text) { SetElementText(tk_, modal_.Id(kStatus), text); }

  // Reads the folder (once) and shows it.
  void ShowFolder(const fs::path& folder) {
    folder_ = Tidy(folder);
    listing_ = files::ReadFolder(folder_);
    SetElementText(tk_, modal_.Id(kFolderText), files::DisplayName(folder_.string()));
    folderPicked_ = false;
    Fill();
    Say(listing_.error.empty() ? "" : "Cannot read this folder: " + listing_.error);
  }

  // The rows of the listing the selected pattern lets through.
  void Fill() {
    const int list = modal_.Id(kList);
    ClearItems(tk_, list);
    rows_.clear();
    const files::Pattern& pattern = patterns_[pattern_];
    const bool hidden = files::ShowsHidden(pattern);
    for (size_t i = 0; i < listing_.entries.size(); ++i) {
      const files::Entry& e = listing_.entries[i];
      if (!hidden && !e.name.empty() && e.name[0] == '.') continue;
      if (!e.folder && !files::Matches(pattern, e.name)) continue;
      AddListItem(tk_, list, static_cast<int>(rows_.size()), RowText(e));
      rows_.push_back(i);
    }
    // A new listing starts at its top.
    if (Element* l = FindElement(tk_, list)) {
      if (FindElement(tk_, l->Attached[1]) != nullptr) SetElementState(tk_, l->Attached[1], 0);
    }
    ShowSizes();
  }

  static std::string RowText(const files::Entry& e) {
    std::string size = e.folder ? "Folder" : e.sized ? files::SizeText(e.size) : "";
    return files::DisplayName(e.name) + "\n" + size;
  }

  // Gives the rows in view their sizes; true when a row changed.
  bool ShowSizes() {
    Element* list = FindElement(tk_, modal_.Id(kList));
    if (list == nullptr) return false;
    auto& items = list->Items;
    const int top = list->VScroll + list->HeaderHeight;
    const int bottom = list->VScroll + list->Inner.h0;
    // Rows lie top to bottom: the first in view is the first that ends below the top.
    auto first = std::partition_point(items.begin(), items.end(), [&](const auto& row) {
      return row->Frame.y0 + row->Frame.h0 <= top;
    });
    bool changed = false;
    for (auto it = first; it != items.end() && (*it)->Frame.y0 < bottom; ++it) {
      const size_t row = static_cast<size_t>(it - items.begin());
      if (row >= rows_.size()) break;
      files::Entry& entry = listing_.entries[rows_[row]];
      if (entry.sized) continue;
      files::MeasureEntry(folder_, entry);
      (*it)->Text = RowText(entry);
      changed = true;
    }
    if (changed) list->Repaint = 1;
    return changed;
  }

  // The entry of the selected row, nullptr when none is selected.
  const files::Entry* Selected() {
    const Element* list = FindElement(tk_, modal_.Id(kList));
    if (list == nullptr || list->StateIndex < 0) return nullptr;
    const size_t row = static_cast<size_t>(list->StateIndex);
    return row < rows_.size() ? &listing_.entries[rows_[row]] : nullptr;
  }

  void OnEvent(EventCode code, int element) {
    // Whatever moved the listing (the wheel, the bar, a new folder), the rows now in view
    // show their sizes.
    if (ShowSizes()) Repaint(tk_, 0, false);
    if (element == modal_.Id(kList)) {
      const files::Entry* entry = Selected();
      if (entry == nullptr) return;
      if (code == ElementEvent::Change) {
        folderPicked_ = entry->folder;
        if (!entry->folder)
          SetElementText(tk_, modal_.Id(kPathField), files::DisplayName(entry->name));
      } else if (code == ElementEvent::LeftDoubleClick) {
        // Only a double click on the selected row itself opens it, not one beside the rows.
        const Element* list = FindElement(tk_, element);
        if (list == nullptr || list->HotItem != list->StateIndex) return;
        if (entry->folder) {
          ShowFolder(folder_ / entry->name);
        } else if (Choose(folder_ / entry->name)) {
          modal_.End(true);
        }
      }
      return;
    }
    if (element == modal_.Id(kPathField) && code == ElementEvent::Change) {
      folderPicked_ = false;
      return;
    }
    if (element == modal_.Id(kTypeCombo) && code == ElementEvent::Change) {
      const double state = GetElementState(tk_, element);
      const size_t index = state >= 0 ? static_cast<size_t>(state) : 0;
      if (index < patterns_.size() && index != pattern_) {
        pattern_ = index;
        folderPicked_ = false;
        Fill();
      }
      return;
    }
    if (code != ElementEvent::LeftClick) return;
    if (element == modal_.Id(kUpButton)) {
      if (folder_.has_relative_path()) ShowFolder(folder_.parent_path());
    } else if (element == modal_.Id(kOkButton)) {
      if (Confirm()) modal_.End(true);
    } else if (element == modal_.Id(kCancelButton)) {
      modal_.End(false);
    }
  }

  // Return or the OK button: a folder picked in the list is entered; otherwise the typed path
  // (taken inside the shown folder when relative) is entered when it is a folder, else chosen.
  bool Confirm() {
    if (folderPicked_) {
      if (const files::Entry* entry = Selected(); entry != nullptr && entry->folder) {
        ShowFolder(folder_ / entry->name);
        return false;
      }
    }
    const std::string typed = GetElementText(tk_, modal_.Id(kPathField));
    if (typed.empty()) {
      Say(save_ ? "Type a name for the file." : "Choose a file.");
      return false;
    }
    fs::path path = typed;
    // The field shows the selected row's name as it can be drawn; the file is the row's own.
    if (const files::Entry* entry = Selected();
        entry != nullptr && !entry->folder && typed == files::DisplayName(entry->name))
      path = entry->name;
    if (path.is_relative()) path = folder_ / path;
    path = Tidy(path);
    if (IsFolder(path)) {
      SetElementText(tk_, modal_.Id(kPathField), "");
      ShowFolder(path);
      return false;
    }
    return Choose(path);
  }

  // Takes `path` as the answer when it may be: Open wants an existing file, Save a folder to
  // put it in and, for an existing file, the user's word that it may be replaced.
  bool Choose(const fs::path& path) {
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    const std::string name = files::DisplayName(path.filename().string());
    if (!save_) {
      if (!exists) {
        Say("\"" + name + "\" does not exist.");
        return false;
      }
    } else if (!IsFolder(path.parent_path())) {
      Say("The folder \"" + files::DisplayName(path.parent_path().string()) + "\" does not exist.");
      return false;
    } else if (exists &&
               MessageRequester(tk_, "Save", "\"" + name + "\" already exists. Replace it?",
                                MessageFlag::YesNo | MessageFlag::Warning) != MessageAnswer::Yes) {
      return false;
    }
    chosen_ = path.string();
    return true;
  }

  Toolkit& tk_;
  bool save_;
  ModalWindow modal_;
  std::vector<files::Pattern> patterns_;
  size_t pattern_ = 0;
  fs::path folder_;
  std::string startName_;
  files::Listing listing_;
  std::vector<size_t> rows_;  // the listing entry shown in each row
  // The last thing done in the list picked a folder (so Return or OK enters it).
  bool folderPicked_ = false;
  std::string chosen_;
};

}  // namespace

std::string OpenFileRequester(Toolkit& tk, const std::string& title, const std::string& defaultPath,
                              const std::string& pattern, int patternPosition) {
  FileRequesterWindow requester(tk, false, title, defaultPath, pattern, patternPosition);
  return requester.Run();
}

std::string SaveFileRequester(Toolkit& tk, const std::string& title, const std::string& defaultPath,
                              const std::string& pattern, int patternPosition) {
  FileRequesterWindow requester(tk, true, title, defaultPath, pattern, patternPosition);
  return requester.Run();
}

}  // namespace tk
