// The form's file: Save, Open, the title's unsaved mark, and generation without a window.
#include "designer/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "codegen/generator.h"
#include "core/attributes.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/form_reader.h"
#include "designer/icon_archives.h"
#include "elements/panel.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "platform/fonts.h"
#include "platform/headless/headless_platform.h"
#include "requesters/requesters.h"

namespace tk::designer {

namespace {

namespace fs = std::filesystem;

constexpr const char* kOpenTitle = "Please choose file to load";
constexpr const char* kOpenPattern = "PureBasic (*.pb)|*.pb;*.pbi;*.pbf|All files (*.*)|*.*";
constexpr const char* kSaveTitle = "Please choose file to save";
constexpr const char* kSavePattern = "PureBasic (*.pb)|*.pb|All files (*.*)|*.*";
constexpr const char* kUntitled = "Untitled";
constexpr const char* kProgramName = "Designer";

std::string Reason(int err) {
  return std::strerror(err);
}

// Closes `fd` and removes the temporary file; the error stays the one that stopped the save.
bool Abandon(int fd, const std::string& temporary, std::string* error, std::string message) {
  if (fd >= 0) ::close(fd);
  ::unlink(temporary.c_str());
  if (error) *error = std::move(message);
  return false;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// A save's temporary file beside its target NAME: ".NAME." + six letters or digits + the
// suffix, so that it is hidden, sorts beside the target and cannot be mistaken for a user's.
constexpr const char* kTemporarySuffix = ".saving";
constexpr size_t kTemporaryRandom = 6;

std::string TemporaryPrefix(const std::string& name) {
  return "." + name + ".";
}

bool IsTemporaryOf(std::string_view entry, const std::string& name) {
  const std::string prefix = TemporaryPrefix(name);
  const std::string_view suffix = kTemporarySuffix;
  if (entry.size() != prefix.size() + kTemporaryRandom + suffix.size()) return false;
  if (entry.substr(0, prefix.size()) != prefix) return false;
  if (entry.substr(entry.size() - suffix.size()) != suffix) return false;
  for (const char c : entry.substr(prefix.size(), kTemporaryRandom))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

// Removes what saves of `name` that were killed or crashed left in `folder`: plain files of
// this user named as a temporary of that target that no running save holds locked. Files of
// other targets, links and anything named otherwise stay.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const int dirFd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryOf(entry->d_name, name)) continue;
    const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlinkat(dirFd, entry->d_name, 0);
    ::close(fd);
  }
  ::closedir(dir);
}

// The form windows on the Form page.
std::vector<int> FormWindows(Toolkit& tk, const Designer& d) {
  std::vector<int> windows;
  for (const auto& e : tk.root.Elements)
    if (e->Alive && e->Named == 1 && e->Kind == ElementKind::Window && e->ParentID == d.mainPanel)
      windows.push_back(e->ID);
  return windows;
}

void ClearForm(Toolkit& tk, Designer& d) {
  for (const int id : FormWindows(tk, d))
    if (FindElement(tk, id) != nullptr) FreeElement(tk, id);
  tk.root.DesignedElement = -1;
  tk.root.MultiSelect = false;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

// The events after which the form may have changed: the end of a drag or a click, a key, a
// grid edit, a command. Pointer moves never regenerate the code.
constexpr EventCode kFormChangingEvents = ElementEvent::LeftButtonUp | ElementEvent::RightButtonUp |
                                          ElementEvent::KeyUp | ElementEvent::Change |
                                          ElementEvent::MenuEvent;

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& out, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = "cannot read " + path + ": " + why;
    return false;
  };
  std::error_code ec;
  if (fs::is_directory(path, ec)) return fail("it is a folder");
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return fail(Reason(errno));
  std::string bytes;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    bytes.append(buffer, n);
  const bool bad = std::ferror(f) != 0;
  const int err = errno;
  std::fclose(f);
  if (bad) return fail(Reason(err));
  out = std::move(bytes);
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                         const std::function<bool(int)>& fault) {
  auto failed = [&](int step) { return fault && fault(step); };
  if (path.empty() || path.find('\0') != std::string::npos) {
    if (error) *error = "no usable file name";
    return false;
  }
  fs::path target(path);
  std::error_code ec;
  // A link keeps pointing at the file it named: the file is replaced, not the link.
  if (fs::is_symlink(target, ec)) target = fs::weakly_canonical(target, ec);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string name = target.filename().string();
  const std::string where = "cannot save " + path + ": ";

  std::string temporary = (folder / TemporaryPrefix(name)).string() + "XXXXXX" + kTemporarySuffix;
  errno = EACCES;
  const int fd =
      failed(SaveStep::Create)
          ? -1
          : ::mkstemps(temporary.data(), static_cast<int>(std::strlen(kTemporarySuffix)));
  if (fd < 0) {
    if (error) *error = where + Reason(errno);
    return false;
  }
  // Held until the rename is done: a later save removes only temporaries nobody holds, the
  // leftovers of a save that was killed or crashed.
  ::flock(fd, LOCK_EX | LOCK_NB);
  // A replaced file keeps its permissions; a new one is readable by everyone, as editors do.
  struct stat old {};
  const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ::fchmod(fd, mode);

  const size_t half = bytes.size() / 2;
  if (!WriteAll(fd, bytes.data(), half))
    return Abandon(fd, temporary, error, where + Reason(errno));
  if (failed(SaveStep::Write)) return Abandon(fd, temporary, error, where + Reason(ENOSPC));
  if (!WriteAll(fd, bytes.data() + half, bytes.size() - half))
    return Abandon(fd, temporary, error, where + Reason(errno));
  if (failed(SaveStep::Sync)) return Abandon(fd, temporary, error, where + Reason(EIO));
  if (::fsync(fd) != 0) return Abandon(fd, temporary, error, where + Reason(errno));
  if (failed(SaveStep::Rename)) return Abandon(fd, temporary, error, where + Reason(EXDEV));
  if (::rename(temporary.c_str(), target.c_str()) != 0)
    return Abandon(fd, temporary, error, where + Reason(errno));
  // The bytes reached the disk with the sync; closing can no longer lose them.
  ::close(fd);
  RemoveStaleTemporaries(folder, name);
  // The new name lasts a crash only once the folder itself reaches the disk.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

std::string TitleText(const Designer& d, bool changed) {
  const std::string name =
      d.currentFile.empty() ? kUntitled : fs::path(d.currentFile).filename().string();
  return (changed ? "*" : "") + name + " - " + kProgramName;
}

void UpdateTitle(Toolkit& tk, Designer& d) {
  if (FindElement(tk, d.window) == nullptr) return;
  const std::string title = TitleText(d, FormCodeText(tk, d.mainPanel) != d.savedCode);
  if (GetElementText(tk, d.window) != title) SetElementText(tk, d.window, title);
}

bool SaveForm(Toolkit& tk, Designer& d) {
  const std::string code = FormCodeText(tk, d.mainPanel);
  std::string path = d.fileIsOwn ? d.currentFile : std::string();
  if (path.empty()) {
    // A file holding what the designer would not write back is never offered as the answer.
    std::string start;
    if (!d.currentFile.empty()) {
      // The folder of the file opened (a name given on the command line may be relative).
      std::error_code ec;
      const fs::path folder = fs::absolute(d.currentFile, ec).parent_path();
      if (!ec && !folder.empty()) start = folder.string() + "/";
    }
    path = SaveFileRequester(tk, kSaveTitle, start, kSavePattern, 0);
    if (path.empty()) return false;  // cancelled
    if (!fs::path(path).has_extension()) path += ".pb";
    if (!d.fileIsOwn && SameFile(path, d.currentFile)) {
      MessageRequester(tk, kProgramName,
                       path +
                           " holds code the designer does not write back; the form was not "
                           "saved over it. Choose another file.",
                       MessageFlag::Ok | MessageFlag::Warning);
      return false;
    }
  }
  std::string error;
  if (!WriteFileAtomically(path, code, &error, d.saveFault)) {
    MessageRequester(tk, kProgramName, "The form was not saved: " + error,
                     MessageFlag::Ok | MessageFlag::Error);
    return false;
  }
  d.currentFile = path;
  d.fileIsOwn = true;
  d.savedCode = code;
  UpdateTitle(tk, d);
  return true;
}

bool OpenForm(Toolkit& tk, Designer& d, const std::string& path) {
  // Read once: the bytes the form is built from are the ones Save compares with.
  std::string bytes;
  if (!ReadFileBytes(path, bytes, nullptr)) {
    MessageRequester(tk, "Information", "Couldn't open the file!");
    return false;
  }
  ClearForm(tk, d);
  ReadFormSource(tk, d, bytes);
  d.currentFile = path;
  d.savedCode = FormCodeText(tk, d.mainPanel);
  // Only a file the designer would write again byte for byte may be saved over.
  d.fileIsOwn = d.savedCode == bytes;
  UpdateTitle(tk, d);
  return true;
}

void OpenFormCommand(Toolkit& tk, Designer& d) {
  if (FormCodeText(tk, d.mainPanel) != d.savedCode) {
    const int answer = MessageRequester(tk, kProgramName, "The form has changed. Save the changes?",
                                        MessageFlag::YesNoCancel | MessageFlag::Warning);
    if (answer == MessageAnswer::Cancel) return;
    if (answer == MessageAnswer::Yes && !SaveForm(tk, d)) return;
  }
  const std::string path = OpenFileRequester(tk, kOpenTitle, "", kOpenPattern, 0);
  if (path.empty()) return;  // cancelled: nothing to report
  OpenForm(tk, d, path);
}

void StartFiles(Toolkit& tk, Designer& d) {
  UpdateTitle(tk, d);
  d.titleHandler = MakeHandler([&tk, &d](EventCode code, int) {
    // A requester's own keys and clicks change no form; its command updates the title after.
    if ((code & kFormChangingEvents) != 0 && tk.root.ModalWindows.empty()) UpdateTitle(tk, d);
    return 1;
  });
  BindCallback(tk, d.titleHandler, -1, -1, kFormChangingEvents);
}

BatchForm::BatchForm()
    : platform(kDesignerWidth, kDesignerHeight),
      archives(platform.Images(), {}),
      designer(archives),
      tk(platform) {
  PrepareToolkit(tk);
  // Moves and resizes are announced to handlers only, and no handler here acts on them.
  tk.hooks.DispatchEvent = nullptr;
  Designer& d = designer;
  d.batch = true;  // no Elements row, panels, menus or form editing
  tk.dispatch.GridStep = d.gridStep;
  d.window = Window(tk, -1, 0, 0, kDesignerWidth, kDesignerHeight, kProgramName);
  // The forms go on a plain container: the generator reads any surface's first page, and a
  // panel's tabs would measure their texts, which waits for the whole font configuration.
  // A form without panels is then read and written without any font.
  d.mainPanel = Container(tk, -1, 0, 0, kDesignerWidth, kDesignerHeight);
  CloseList(tk);
}

std::string GenerateFromSource(BatchForm& form, const ParsedSource& source) {
  ReadFormSource(form.tk, form.designer, source);
  return FormCodeText(form.tk, form.designer.mainPanel);
}

std::string GenerateFromSource(std::string_view source) {
  platform::StartLoadingFonts();
  const ParsedSource parsed(source);
  BatchForm form;
  return GenerateFromSource(form, parsed);
}

}  // namespace tk::designer
