#include "designer/form_reader.h"

namespace tk::designer {

void ReadFormSource(Toolkit&, Designer&, std::string_view) {}

bool ReadFormFile(Toolkit&, Designer&, const std::string&) {
  return false;
}

}  // namespace tk::designer
