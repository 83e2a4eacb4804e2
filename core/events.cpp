// Event binding and delivery: handlers bound to gadgets, windows and the desktop, the Root's
// event record around each call, and replay of events posted before anything was bound.
#include "core/events.h"

#include <array>

#include "core/lookup.h"
#include "core/tree.h"

namespace tk {

namespace {

// Types replayed to a new binding, in the order they are replayed.
constexpr std::array<EventCode, 7> kReplayOrder = {
    ElementEvent::Change,    ElementEvent::Started, ElementEvent::Created, ElementEvent::Focus,
    ElementEvent::LostFocus, ElementEvent::Resize,  ElementEvent::Move};

// What the event concerns, taken once from the posted element so every delivery of one
// posting describes the same element even if a handler changes or frees it.
struct EventSubject {
  int id = -1;
  int windowId = -1;
  int parentId = -1;
  int EventRecord::*slot = nullptr;  // the field that names the element by its kind
};

EventSubject SubjectOf(Toolkit& tk, const Element& e) {
  return EventSubject{e.ID, e.WindowID, e.ParentID, tk.Kind(e.Kind).EventSlot};
}

EventRecord MakeRecord(const EventSubject& s, EventCode types, int64_t data) {
  EventRecord r;  // fields that do not concern this event stay -1
  r.EventType = types;
  r.EventData = data;
  r.EventElement = s.id;
  r.EventWindow = s.windowId;
  r.EventParent = s.parentId;
  if (s.slot != nullptr) r.*s.slot = s.id;
  return r;
}

// True while `e` is still the live record its id names (not freed, not replaced).
bool StillLive(Toolkit& tk, const Element* e, int id, uint64_t serial) {
  return FindElement(tk, id) == e && e->Serial == serial;
}

// Calls the handlers of one record; returns the last handler's result (1 when none ran).
int DeliverTo(Toolkit& tk, Element& target, const EventSubject& subject, EventCode types, int param,
              int64_t data) {
  int result = 1;
  // Most records hear nothing of most events: no copy of the handler list then.
  if (target.Callbacks.empty() || (target.BoundEvents & types) != types) return result;
  const int targetId = target.ID;
  const uint64_t serial = target.Serial;
  Element* const ptr = &target;
  // A handler may bind, unbind or free: walk a copy and re-check the record each time.
  const std::vector<HandlerRef> handlers = target.Callbacks;
  for (const HandlerRef& handler : handlers) {
    if (!StillLive(tk, ptr, targetId, serial)) break;
    if (!handler || !*handler) continue;
    if ((ptr->BoundEvents & types) != types) continue;
    const EventRecord saved = tk.root.Event;
    tk.root.Event = MakeRecord(subject, types, data);
    result = (*handler)(types, param);
    tk.root.Event = saved;
    if (result == 0) break;
  }
  return result;
}

}  // namespace

int PostEventToRecord(Toolkit& tk, Element& e, EventCode types, int param, int64_t data) {
  BusyGuard busy(tk);
  Element* const element = &e;
  const EventSubject subject = SubjectOf(tk, e);
  e.EventData = data;
  if ((e.PendingEvents & types) == 0) e.PendingEvents |= types;

  int result = DeliverTo(tk, e, subject, types, param, data);

  // The window sees the events of its elements only when bound as a window of them.
  Element* window = FindElement(tk, subject.windowId);
  if (result != 0 && window != nullptr && window != element &&
      window->BoundWindow == subject.windowId) {
    result = DeliverTo(tk, *window, subject, types, param, data);
  }
  if (result != 0) {
    Element* desktop = DesktopElement(tk);
    if (desktop != nullptr && desktop != element && desktop != window) {
      result = DeliverTo(tk, *desktop, subject, types, param, data);
    }
  }
  // The types stay pending: only a replay to a new binding takes them off, so a handler bound
  // later still learns what happened before it.
  return result;
}

int PostElementEvent(Toolkit& tk, EventCode types, int id, int param, int64_t data) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 1;
  return PostEventToRecord(tk, *e, types, param, data);
}

void BindCallback(Toolkit& tk, const HandlerRef& handler, int windowId, int gadgetId,
                  int64_t types) {
  if (!handler || !*handler) return;
  BusyGuard busy(tk);
  Element* gadget = FindElement(tk, gadgetId);
  if (gadget != nullptr) windowId = gadget->WindowID;
  Element* window = FindElement(tk, windowId);
  if (window == nullptr) {
    window = DesktopElement(tk);
    windowId = 0;
  }
  Element* target = gadget != nullptr ? gadget : window;
  if (target == nullptr) return;  // no element exists yet

  target->BoundWindow = gadgetId == kIgnore ? kIgnore : windowId;
  target->BoundOwner = target->ID;
  target->BoundEvents |= types;
  target->Callbacks.push_back(handler);

  // Replay what was posted before anything could see it. Records freed by the handler stay
  // in the graveyard until this call returns, so the snapshot stays safe to read.
  std::vector<Element*> snapshot;
  snapshot.reserve(tk.root.Elements.size());
  for (const auto& rec : tk.root.Elements)
    snapshot.push_back(rec.get());
  // A gadget binding replays the gadget's events; a window or desktop binding those of the
  // bound element itself (a window's creation and focus, the desktop's Started) and of every
  // element inside it.
  const int boundId = target->ID;
  for (Element* rec : snapshot) {
    if (!rec->Alive) continue;
    const bool takesPart = gadget != nullptr ? rec == gadget : IsInside(tk, *rec, boundId);
    if (!takesPart) continue;
    for (EventCode type : kReplayOrder) {
      if (!rec->Alive) break;
      if (types != -1 && (types & type) == 0) continue;
      if ((rec->PendingEvents & type) == 0) continue;
      rec->PendingEvents &= ~type;  // cleared first so a nested binding cannot see it twice
      const EventRecord saved = tk.root.Event;
      tk.root.Event = MakeRecord(SubjectOf(tk, *rec), type, rec->EventData);
      (*handler)(type, rec->ID);
      tk.root.Event = saved;
    }
  }
}

void BindElementEvent(Toolkit& tk, int id, const HandlerRef& handler, int64_t types) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  if (IsWindowRecord(tk, *e)) {
    // Bound as the window of its elements, so their events reach it too.
    BindCallback(tk, handler, id, -1, types);
  } else {
    BindCallback(tk, handler, e->WindowID, id, types);
  }
}

void UnbindCallback(Toolkit& tk, const HandlerRef& handler, int windowId, int gadgetId) {
  Element* target = nullptr;
  if (windowId == -1) {
    target = DesktopElement(tk);
  } else if (gadgetId != -1 && gadgetId != kIgnore) {
    target = FindElement(tk, gadgetId);
  } else {
    target = FindElement(tk, windowId);
  }
  if (target == nullptr) return;
  auto& list = target->Callbacks;
  std::erase_if(list, [&](const HandlerRef& h) { return h == handler; });
  target->BoundOwner = -1;
  // With nothing bound the union of bound types starts again from nothing; the remaining
  // handlers keep the types they were bound for.
  if (list.empty()) target->BoundEvents = 0;
}

}  // namespace tk
