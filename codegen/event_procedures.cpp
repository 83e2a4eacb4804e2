// Empty event procedures and BindEvent lines for lists of objects and PureBasic events.
#include "codegen/event_procedures.h"

#include <algorithm>
#include <vector>

#include "codegen/generator.h"
#include "codegen/vocabulary.h"

namespace tk {
namespace {

constexpr std::string_view kEventPrefix = "#PB_Event";
// A larger indentation is taken as this one: the texts are for source files, and an absurd
// request must not turn into an absurd allocation.
constexpr int kMaxIndent = 1024;

// The entries of a "|"-separated list: the list is trimmed of "|" first, then split at every
// "|", each entry trimmed of spaces. An empty list still has one (empty) entry, so an empty
// objects list means "all".
std::vector<std::string_view> Entries(std::string_view list) {
  std::vector<std::string_view> out;
  list = TrimBars(list);
  size_t start = 0;
  for (;;) {
    const size_t bar = list.find('|', start);
    const std::string_view entry =
        list.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
    out.push_back(TrimChar(entry, ' '));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return out;
}

int ClampIndent(int indent) {
  return std::clamp(indent, 0, kMaxIndent);
}

// One line: the indentation, the text, the line end.
void Line(std::string& out, int indent, std::string_view text) {
  out.append(static_cast<size_t>(indent), ' ');
  out += text;
  out += "\r\n";
}

}  // namespace

std::string_view TrimChar(std::string_view text, char c) {
  const size_t first = text.find_first_not_of(c);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(c) - first + 1);
}

void AppendWithoutEventPrefix(std::string& out, std::string_view text) {
  size_t start = 0;
  for (size_t at = text.find(kEventPrefix); at != std::string_view::npos;
       at = text.find(kEventPrefix, start)) {
    out += text.substr(start, at - start);
    start = at + kEventPrefix.size();
  }
  out += text.substr(start);
}

void AppendEventProcedures(std::string& out, int indent, std::string_view objects,
                           std::string_view events, std::string_view bodies) {
  indent = ClampIndent(indent);
  const std::vector<std::string_view> eventList = Entries(events);
  const std::vector<std::string_view> bodyList = Entries(bodies);
  for (std::string_view object : Entries(objects)) {
    for (size_t i = 0; i < eventList.size(); ++i) {
      const std::string_view event = eventList[i];
      out.append(static_cast<size_t>(indent), ' ');
      out += "Procedure ";
      out += TrimChar(object, '#');
      AppendWithoutEventPrefix(out, event);
      out += "_Event( )\r\n";
      Line(out, indent, "  Protected Window = EventWindow( )");
      if (event == "#PB_Event_MoveWindow") {
        Line(out, indent, "  Protected X = WindowX( Window )");
        Line(out, indent, "  Protected Y = WindowY( Window )");
      } else if (event == "#PB_Event_SizeWindow") {
        Line(out, indent, "  Protected Width = WindowWidth( Window )");
        Line(out, indent, "  Protected Height = WindowHeight( Window )");
      } else if (event == "#PB_Event_Gadget") {
        Line(out, indent, "  Protected Gadget = EventGadget( )");
        Line(out, indent, "  Protected Type = EventType( )");
      } else if (event == "#PB_Event_Menu") {
        Line(out, indent, "  Protected Menu = EventMenu( )");
      }
      if (i < bodyList.size() && !bodyList[i].empty()) {
        out.append(static_cast<size_t>(indent), ' ');
        out += "    ";
        out += bodyList[i];
        out += "\r\n";
        Line(out, indent, "    ");
      }
      Line(out, indent, "  ");
      Line(out, indent, "EndProcedure ");
      Line(out, indent, "");
    }
  }
}

void AppendBindEventLines(std::string& out, int indent, std::string_view events,
                          std::string_view objects) {
  indent = ClampIndent(indent);
  const std::vector<std::string_view> eventList = Entries(events);
  for (std::string_view object : Entries(objects)) {
    for (std::string_view event : eventList) {
      out.append(static_cast<size_t>(indent), ' ');
      out += "BindEvent( ";
      out += event;
      if (object.empty()) {
        out += ", @All";
        AppendWithoutEventPrefix(out, event);
        out += "_Event() )\r\n";
      } else {
        out += ", @";
        out += TrimChar(object, '#');
        AppendWithoutEventPrefix(out, event);
        out += "_Event(), ";
        out += object;
        out += " )\r\n";
      }
    }
  }
}

std::string EventProcedures(int indent, std::string_view objects, std::string_view events,
                            std::string_view bodies) {
  std::string out;
  AppendEventProcedures(out, indent, objects, events, bodies);
  return out;
}

std::string BindEventLines(int indent, std::string_view events, std::string_view objects) {
  std::string out;
  AppendBindEventLines(out, indent, events, objects);
  return out;
}

}  // namespace tk
