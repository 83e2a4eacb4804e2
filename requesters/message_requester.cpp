// The message requester: a glyph, the wrapped text and one row of buttons.
#include <algorithm>
#include <string_view>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/lookup.h"
#include "core/textbox.h"
#include "elements/simple.h"
#include "platform/images.h"
#include "requesters/modal.h"
#include "requesters/requesters.h"

namespace tk {

namespace {

constexpr int kPad = 12;
constexpr int kGlyph = 32;
constexpr int kButtonW = 80;
constexpr int kButtonH = 24;
constexpr int kGap = 8;
constexpr int kMinTextWidth = 160;
constexpr int kMaxTextWidth = 460;
// What a text element needs beyond its text: a frame and one free pixel at each side.
constexpr int kTextRoomW = 6;
constexpr int kTextRoomH = 4;

// Element numbers inside the requester.
constexpr int kText = 1;
constexpr int kGlyphBox = 2;
constexpr int kFirstButton = 3;

struct Choice {
  const char* caption;
  int answer;
};

std::vector<Choice> ChoicesOf(int flags) {
  switch (flags & 0x0F) {
    case MessageFlag::YesNo:
      return {{"Yes", MessageAnswer::Yes}, {"No", MessageAnswer::No}};
    case MessageFlag::YesNoCancel:
      return {{"Yes", MessageAnswer::Yes},
              {"No", MessageAnswer::No},
              {"Cancel", MessageAnswer::Cancel}};
    default:
      return {{"OK", MessageAnswer::Ok}};
  }
}

// What Escape and the close box answer: Cancel when offered, else the last button.
int EscapeAnswer(const std::vector<Choice>& choices) {
  return choices.back().answer;
}

// Draws the glyph of the flags into a new image; 0 when the flags name none.
int MakeGlyph(Toolkit& tk, int flags, Color back) {
  const int kind = flags & 0xF0;
  if (kind != MessageFlag::Error && kind != MessageFlag::Warning && kind != MessageFlag::Info)
    return 0;
  platform::ImageStore& images = tk.platform.Images();
  const int image = images.Create(platform::ImageStore::kAny, kGlyph, kGlyph, 24, back);
  if (image <= 0) return 0;
  platform::Painter* p = tk.platform.BeginImageDrawing(image);
  if (p == nullptr) return image;
  p->SetFont(tk.platform.Fonts().Load("DejaVu Sans", 14, platform::FontStyle::Bold));
  const int c = kGlyph / 2;
  std::string_view mark;
  if (kind == MessageFlag::Error) {
    p->Circle(c, c, c - 1, 0x2020C8);
    mark = "×";
  } else if (kind == MessageFlag::Warning) {
    // A triangle, row by row.
    for (int y = 2; y < kGlyph - 1; ++y) {
      const int half = (y - 2) * (c - 1) / (kGlyph - 4);
      p->Box(c - half, y, 2 * half + 1, 1, 0x00C8F0);
    }
    mark = "!";
  } else {
    p->Circle(c, c, c - 1, 0xD07020);
    mark = "i";
  }
  p->SetMode(platform::DrawMode::Transparent);
  const platform::TextSize size = p->MeasureText(mark);
  const Color ink = kind == MessageFlag::Warning ? 0x000000 : 0xFFFFFF;
  p->Text(c - size.width / 2, c - size.height / 2 + (kind == MessageFlag::Warning ? 3 : 0), mark,
          ink, 0);
  tk.platform.EndImageDrawing();
  return image;
}

}  // namespace

int MessageRequester(Toolkit& tk, const std::string& title, const std::string& text, int flags) {
  const std::vector<Choice> choices = ChoicesOf(flags);
  if (!tk.root.CanvasID) {
    // No canvas yet: the platform's own box, and standard error.
    tk.platform.ShowStartupMessage(title, text);
    return EscapeAnswer(choices);
  }

  platform::Painter& measure = tk.platform.Measurer();
  measure.SetFont(tk.platform.Fonts().Default());
  // Wider text gets a wider requester, up to what the canvas allows.
  const int canvasW = ElementWidth(tk, 0);
  const int canvasH = ElementHeight(tk, 0);
  const int glyphRoom = (flags & 0xF0) != 0 ? kGlyph + kPad : 0;
  const int maxText = std::clamp(canvasW - 2 * kPad - glyphRoom - 40, 40, kMaxTextWidth);
  std::vector<std::string> lines = WrapTextLines(measure, text, maxText);
  int textW = kMinTextWidth;
  for (const auto& line : lines)
    textW = std::max(textW, measure.MeasureText(line).width);
  // The text element keeps its frame and a pixel inside it free around its text.
  textW = std::min(textW, maxText) + kTextRoomW;
  const int lineH = std::max(1, measure.MeasureText("Ag").height);
  // A text box draws the lines that end in a line feed, so every line gets one.
  std::string wrapped;
  for (const auto& line : lines)
    wrapped += line + '\n';
  const int buttonsW = static_cast<int>(choices.size()) * (kButtonW + kGap) - kGap;
  const int innerW = std::max(2 * kPad + glyphRoom + textW, 2 * kPad + buttonsW);
  // The text's room stops where the canvas does; the rest of a very long text is cut.
  const int maxTextH = std::max(lineH, canvasH - 3 * kPad - kButtonH - 60);
  const int textH = std::min(static_cast<int>(lines.size()) * lineH, maxTextH) + kTextRoomH;
  const int bodyH = std::max(textH, glyphRoom > 0 ? kGlyph : 0);
  const int innerH = kPad + bodyH + kPad + kButtonH + kPad;

  ModalWindow modal(tk, title, innerW, innerH);
  if (!modal.IsOpen()) return EscapeAnswer(choices);
  const int window = modal.Window();

  if (glyphRoom > 0) {
    const int glyph = modal.OwnImage(MakeGlyph(tk, flags, tk.platform.WindowBackgroundColor()));
    Container(tk, modal.Id(kGlyphBox), kPad, kPad, kGlyph, kGlyph, 0, window);
    SetElementBackImage(tk, modal.Id(kGlyphBox), glyph);
  }
  Text(tk, modal.Id(kText), kPad + glyphRoom, kPad + (bodyH - textH) / 2, textW, textH, wrapped, 0,
       window);

  int answer = EscapeAnswer(choices);
  const int buttonsY = kPad + bodyH + kPad;
  int x = (modal.InnerWidth() - buttonsW) / 2;
  for (size_t i = 0; i < choices.size(); ++i) {
    Button(tk, modal.Id(kFirstButton + static_cast<int>(i)), x, buttonsY, kButtonW, kButtonH,
           choices[i].caption, 0, window);
    x += kButtonW + kGap;
  }
  modal.onEvent = [&](EventCode code, int element) {
    if (code != ElementEvent::LeftClick) return;
    const int n = element - modal.Id(kFirstButton);
    if (n < 0 || n >= static_cast<int>(choices.size())) return;
    answer = choices[static_cast<size_t>(n)].answer;
    modal.End(true);
  };
  // Return presses the button that has the focus, else the first.
  modal.onConfirm = [&] {
    const int n = tk.root.FocusedGadget - modal.Id(kFirstButton);
    answer = n >= 0 && n < static_cast<int>(choices.size()) ? choices[static_cast<size_t>(n)].answer
                                                            : choices.front().answer;
    return true;
  };
  if (!modal.Run()) return EscapeAnswer(choices);
  return answer;
}

}  // namespace tk
