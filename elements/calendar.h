// The Calendar kind drawn as a month: a title with the month and arrows, the weekday names and
// a grid of six weeks.
#pragma once

#include "core/toolkit.h"

namespace tk {

void RegisterCalendar(Toolkit& tk);

}  // namespace tk
