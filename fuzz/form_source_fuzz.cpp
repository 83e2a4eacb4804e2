// libFuzzer target for the code reader on whole files: any bytes are read onto the Form page of
// a headless designer through the designer's creation path (Elements row and panels filled),
// the events that queues are handled (the form is painted), the source the designer generates
// for what was read is read back the same way, and the form is emptied again.
//
// Starting a designer costs far more than reading a file, so one designer serves a run of
// inputs. Each read frees the windows the Form page held; the check after every input (an
// empty read leaves exactly the elements a fresh designer has) makes sure nothing read from
// one input survives into the next, where it could hide or fake a fault. The element popup
// that every form window gets is left out of that count, and the designer is started afresh
// every kInputsPerDesigner inputs: both the popups and the grid images of freed windows
// outlive their windows, and would otherwise fill the process's memory.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "codegen/generator.h"
#include "designer/designer.h"
#include "designer/form_reader.h"
#include "designer/icon_archives.h"
#include "designer/script.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"

namespace {

constexpr int kInputsPerDesigner = 64;

void Check(bool condition, int line = __builtin_LINE()) {
  if (condition) return;
  std::fprintf(stderr, "form_source_fuzz: check on line %d failed\n", line);
  std::abort();
}

struct Session {
  Session()
      : platform(1280, 1024),
        archives(platform.Images(), tk::designer::IconArchives::DefaultFolders(nullptr)),
        designer(archives),
        tk(platform) {
    tk::PrepareToolkit(tk);
    // The icon archives are looked for beside this program (the build writes them there).
    Check(tk::designer::StartDesigner(tk, designer).window > 0);
    Check(tk::PumpEvents(tk));
    tk::designer::ReadFormSource(tk, designer, "");
    Check(tk::PumpEvents(tk));
    empty = Alive();
  }

  size_t Alive() const {
    size_t n = 0;
    for (const auto& e : tk.root.Elements)
      n += e && e->Alive && e->Kind != tk::ElementKind::PopupMenu ? 1 : 0;
    return n;
  }

  tk::platform::HeadlessPlatform platform;
  tk::designer::IconArchives archives;
  tk::designer::Designer designer;
  tk::Toolkit tk;
  size_t empty = 0;
  int inputs = 0;
};

std::unique_ptr<Session> session;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!session || session->inputs == kInputsPerDesigner) {
    session.reset();
    session = std::make_unique<Session>();
  }
  Session& s = *session;
  ++s.inputs;
  tk::designer::ReadFormSource(s.tk, s.designer,
                               std::string_view(reinterpret_cast<const char*>(data), size));
  Check(tk::PumpEvents(s.tk));
  const std::string code = tk::FormCodeText(s.tk, s.designer.mainPanel);
  tk::designer::ReadFormSource(s.tk, s.designer, code);
  Check(tk::PumpEvents(s.tk));
  tk::designer::ReadFormSource(s.tk, s.designer, "");
  Check(tk::PumpEvents(s.tk));
  if (s.Alive() != s.empty)
    std::fprintf(stderr,
                 "form_source_fuzz: %zu live elements after emptying the form, %zu at start:\n%s",
                 s.Alive(), s.empty, tk::designer::DumpElements(s.tk).c_str());
  Check(s.Alive() == s.empty);
  return 0;
}
