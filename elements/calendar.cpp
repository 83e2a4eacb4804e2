// The Calendar kind: the month of its date (today's without one), weeks starting on Monday,
// the days of the months around it in grey, the shown day marked.
#include "elements/calendar.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>

#include "core/kind.h"
#include "elements/drawn_kinds.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {

using platform::DrawMode;
using platform::Painter;

namespace {

constexpr int kWeeks = 6;
constexpr int kDaysPerWeek = 7;
constexpr int kTitlePad = 6;    // above and below the month's title
constexpr int kArrowInset = 8;  // the arrows' centres from the sides
constexpr int kArrowSpan = 5;   // the title keeps this far clear of an arrow's centre
constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};
constexpr const char* kDayNames[] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};

std::chrono::sys_days DayShown(const Element& e) {
  using namespace std::chrono;
  int64_t seconds = e.DateValue;
  if (seconds == 0) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    seconds = now;
    if (localtime_r(&now, &local) != nullptr) seconds += local.tm_gmtoff;
  }
  return floor<days>(sys_seconds{std::chrono::seconds{seconds}});
}

void PaintCalendar(Toolkit&, Painter& p, GlyphPass& g) {
  using namespace std::chrono;
  if (g.isItem) return;
  const PictureClip clip(p, g.record);
  g.roomW = 0;
  const Element& e = g.record;
  const DrawArea a = InnerArea(e);
  if (a.w <= 0 || a.h <= 0) return;
  const bool disabled = e.Disabled != 0 || g.owner.Disabled != 0;
  const Color glyph = disabled ? g.front : looks::kGlyphColor;

  const sys_days shown = DayShown(e);
  const year_month_day ymd{shown};
  const unsigned month = static_cast<unsigned>(ymd.month());
  const std::string title = std::string(kMonthNames[(month + 11) % 12]) + " " +
                            std::to_string(static_cast<int>(ymd.year()));

  // Title: the month between a back and a forward arrow.
  const int th = p.TextHeight("Ag");
  const int titleH = th + kTitlePad;
  PaintArrow(p, a.x + kArrowInset, a.y + titleH / 2, ArrowDirection::Left, glyph);
  PaintArrow(p, a.x + a.w - kArrowInset - 1, a.y + titleH / 2, ArrowDirection::Right, glyph);
  const int room = a.w - 2 * (kArrowInset + kArrowSpan);
  const int tw = std::min(p.TextWidth(title), std::max(room, 0));
  CentredLine(p, e, a.x + (a.w - tw) / 2, a.y, room, titleH, title, g.front);

  // Weekday names, then six weeks from the Monday on or before the first of the month.
  const int cellW = a.w / kDaysPerWeek;
  const int top = a.y + titleH;
  const int cellH = std::max(th + 2, (a.h - titleH) / (kWeeks + 1));
  if (cellW <= 0) return;
  const bool shortNames = p.TextWidth("We") + 2 > cellW;
  for (int d = 0; d < kDaysPerWeek; ++d) {
    const std::string name = shortNames ? std::string(1, kDayNames[d][0]) : kDayNames[d];
    const int nx = a.x + d * cellW + (cellW - p.TextWidth(name)) / 2;
    CentredLine(p, e, nx, top, cellW, cellH, name, g.front);
  }
  const int gridTop = top + cellH;
  const int gridW = cellW * kDaysPerWeek, gridH = cellH * kWeeks;
  const int left = a.x + (a.w - gridW) / 2;
  p.SetMode(DrawMode::Default);
  p.Line(a.x, gridTop - 1, a.w, 1, looks::kFrameShadow);
  const sys_days first = sys_days{ymd.year() / ymd.month() / 1};
  const int fromMonday = static_cast<int>(weekday{first}.iso_encoding()) - 1;
  const sys_days start = first - days{fromMonday};
  for (int i = 0; i < kWeeks * kDaysPerWeek; ++i) {
    const sys_days day = start + days{i};
    const year_month_day date{day};
    const int cx = left + (i % kDaysPerWeek) * cellW, cy = gridTop + (i / kDaysPerWeek) * cellH;
    if (day == shown) {
      p.SetMode(DrawMode::Default);
      p.Box(cx + 1, cy + 1, cellW - 1, cellH - 1, looks::kSelectedFill);
    }
    const std::string number = std::to_string(static_cast<unsigned>(date.day()));
    const Color color = date.month() == ymd.month() && !disabled ? g.front : looks::kMutedText;
    CentredLine(p, e, cx + (cellW - p.TextWidth(number)) / 2, cy, cellW, cellH, number, color);
  }
  // The grid: lines between the weeks and between the days.
  p.SetMode(DrawMode::Default);
  for (int r = 1; r < kWeeks; ++r)
    p.Line(left, gridTop + r * cellH, gridW, 1, looks::kGridLine);
  for (int c = 1; c < kDaysPerWeek; ++c)
    p.Line(left + c * cellW, gridTop, 1, gridH, looks::kGridLine);
}

}  // namespace

void RegisterCalendar(Toolkit& tk) {
  tk.Kind(ElementKind::Calendar).PaintGlyph = &PaintCalendar;
}

}  // namespace tk
