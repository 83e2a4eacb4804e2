// The form's file: reading and atomically writing files, Save and Open, the designer window's
// title with its unsaved mark, and generating source without the designer window.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/toolkit.h"
#include "designer/designer.h"
#include "designer/form_reader.h"
#include "designer/icon_archives.h"
#include "platform/headless/headless_platform.h"

namespace tk::designer {

// The steps of an atomic write, in order; a fault hook named in the Designer (or passed to
// WriteFileAtomically) makes the step it answers true for fail as the system would.
namespace SaveStep {
inline constexpr int Create = 1;  // the temporary file beside the target
inline constexpr int Write = 2;   // after half of the bytes are written
inline constexpr int Sync = 3;
inline constexpr int Rename = 4;
}  // namespace SaveStep

// The whole file; false with a reason in *error (a folder, a missing or unreadable file).
bool ReadFileBytes(const std::string& path, std::string& out, std::string* error);

// Writes `bytes` to `path` so that the file holds either its old bytes or all the new ones:
// a temporary file in the same folder (".NAME.XXXXXX.saving", locked while the save runs) is
// written and synced, then renamed over the target, and the folder is synced. On failure the
// target is untouched, the temporary file is gone and *error says why. A successful save also
// removes the temporaries of the same target that earlier saves killed midway left behind.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                         const std::function<bool(int)>& fault = {});

// The window title: the file's name (or "Untitled") with a leading "*" while the form's code
// differs from what was last opened or saved.
std::string TitleText(const Designer& designer, bool changed);
// Writes the title for the form as it is now.
void UpdateTitle(Toolkit& tk, Designer& designer);

// Save: writes the generated source to the current file. Without one, or when the current
// file holds more than the designer would write back, the save requester asks for a path
// first. False when cancelled or when the write failed (the error has been shown).
bool SaveForm(Toolkit& tk, Designer& designer);
// Opens `path` in place of the form: the form's windows are freed and the file is read. A file
// that cannot be read gets "Couldn't open the file!" and leaves an empty form.
bool OpenForm(Toolkit& tk, Designer& designer, const std::string& path);
// Open: asks about unsaved changes (Yes saves first, Cancel stops), then for a file.
void OpenFormCommand(Toolkit& tk, Designer& designer);

// Last step of start-up for files: the title, and the handler that keeps its mark current.
void StartFiles(Toolkit& tk, Designer& designer);

// What reading and generating a form need and nothing more: a headless toolkit whose host
// window holds the main panel with the designer's pages, without icons, menus, grids or the
// toolbox. Needs no display.
struct BatchForm {
  BatchForm();
  platform::HeadlessPlatform platform;
  IconArchives archives;
  Designer designer;
  Toolkit tk;
};

// The source the designer generates for the form in `source`, read on `form` (a fresh one).
std::string GenerateFromSource(BatchForm& form, const ParsedSource& source);
// The same on a BatchForm of its own; the source is parsed while the fonts load.
std::string GenerateFromSource(std::string_view source);

}  // namespace tk::designer
