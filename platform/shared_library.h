// A system library opened while the program runs rather than when it starts: the program
// does not pay for it (and for everything it links) before main, and can open it on a
// thread of its own while other work goes on.
#pragma once

#include <dlfcn.h>

#include <string>

namespace tk::platform {

class SharedLibrary {
 public:
  SharedLibrary() = default;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;
  // Never closed: libraries such as SDL leave threads and exit handlers that outlive their use.
  ~SharedLibrary() = default;

  // Opens the library by its versioned file name (once); false with the loader's reason.
  // Functions are bound at their first call, as for the libraries linked at start: binding
  // them all at once would bind those of every library it brings (sound, Wayland, ...) that
  // the program never calls. The functions used are found by Bind, which checks they exist.
  bool Open(const char* soname, std::string* error) {
    if (handle_ == nullptr) handle_ = dlopen(soname, RTLD_LAZY | RTLD_LOCAL);
    if (handle_ == nullptr && error != nullptr) error->assign(Reason(soname));
    return handle_ != nullptr;
  }
  bool IsOpen() const { return handle_ != nullptr; }

  // Points `function` at the library's symbol `name`; false (and the reason) when it lacks it.
  template <class Function>
  bool Bind(Function*& function, const char* name, std::string* error) {
    function = handle_ != nullptr ? reinterpret_cast<Function*>(dlsym(handle_, name)) : nullptr;
    if (function == nullptr && error != nullptr) error->assign(Reason(name));
    return function != nullptr;
  }

 private:
  static std::string Reason(const char* what) {
    const char* reason = dlerror();
    return std::string("cannot load ") + what + (reason ? std::string(": ") + reason : "");
  }

  void* handle_ = nullptr;
};

}  // namespace tk::platform
