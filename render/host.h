// The host window and its canvas, the event loop, the canvas event entry and the default
// caption-button handler.
#pragma once

#include <string>

#include "core/toolkit.h"

namespace tk {

// Installs the render layer's operations into a toolkit's core hooks. Every toolkit that
// receives events needs it; a pure element-core test may leave it out.
void InstallRender(Toolkit& tk);

// Opens the host window and canvas with the desktop and, when title is not empty, the first
// window. Returns that window's id, else the desktop's; 0 when the host cannot be opened.
int OpenHost(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& title,
             Flags64 flags);

// What the loop does before it starts waiting: records the main window and binds the
// caption-button handler for every element. RunEventLoop calls it; so do scripted sessions.
void PrepareLoop(Toolkit& tk, int mainWindow);

// Before the main loop waits: every window on the desktop that comes, in list order, at or
// after a window with a status bar grows by that bar's height (and by its border on each
// side), so its client area keeps the size it was given. Windows inside other elements (the
// forms on a designer's page) are content, not program windows, and keep their size.
void GrowWindowsForStatusBars(Toolkit& tk);

// Runs until a close request arrives (or QuitEventLoop ends it), then closes the host and
// starts the Root afresh. Returns 0.
// Called from a handler while events are being handled (a modal requester), it runs a nested
// loop instead that returns to its caller and leaves the host and the Root as they are: on a
// quit request, when the window it was given is freed, or on a close request, which then
// ends the outer loops too.
int RunEventLoop(Toolkit& tk, int mainWindow);

// Runs a nested loop for a modal window whether or not another loop runs: it returns once
// QuitEventLoop asks it to, once `window` is freed, or on a close request (which then ends
// the outer loops too), and leaves the host and the Root as they are.
void RunModalLoop(Toolkit& tk, int window);

// Asks the innermost running event loop to return once the event being handled is done.
// Nothing happens while no loop runs.
void QuitEventLoop(Toolkit& tk);
// Ends the program's main loop as the host's close would, without asking the program's
// MayClose (the program has decided).
void EndEventLoop(Toolkit& tk);

// Handles every queued native event without waiting; returns false once a close request
// (or a quit request) ended the loop (or the headless queue is exhausted). Used by
// RunEventLoop and by tests and scripted sessions, where it counts as the program's loop.
bool PumpEvents(Toolkit& tk);

// Handles one native canvas event.
int OnCanvasEvent(Toolkit& tk, const platform::NativeEvent& event);

// Default handler for caption buttons and freed windows; bound for every element.
int WindowButtonHandler(Toolkit& tk, EventCode code, int id);

}  // namespace tk
