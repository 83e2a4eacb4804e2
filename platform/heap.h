// How the process's heap asks the system for memory.
#pragma once

#include <cstddef>

namespace tk::platform {

// Has the next `bytes` of heap come in huge pages where the system offers them on request:
// a run that builds a large form in many small pieces then takes hundreds rather than
// thousands of page faults. Does nothing where that is not available.
void PreferHugePagesForHeap(size_t bytes);

}  // namespace tk::platform
