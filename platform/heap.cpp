#include "platform/heap.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace tk::platform {

void PreferHugePagesForHeap(size_t bytes) {
#if defined(__linux__) && defined(__GLIBC__) && defined(MADV_HUGEPAGE)
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  if (mallopt(M_TOP_PAD, static_cast<int>(bytes)) == 0) return;
  // Allocations taking what is left at the heap's top (each below the size served by a
  // mapping of its own) make the heap grow by `bytes` at once. Volatile: allocations that are
  // only freed again may otherwise be left out.
  const auto before = reinterpret_cast<uintptr_t>(sbrk(0));
  void* volatile held[8] = {};
  uintptr_t after = before;
  for (int i = 0; i < 8 && after == before; ++i) {
    held[i] = std::malloc(64 << 10);
    after = reinterpret_cast<uintptr_t>(sbrk(0));
  }
  const uintptr_t start = (before + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = after & ~(kHugePage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
  for (void* p : held)
    std::free(p);
#else
  (void)bytes;
#endif
}

}  // namespace tk::platform
