#pragma once

// The framework's thin layer over SDL: lazy start of the subsystems, the
// private event types, message boxes, display size, system cursors and the
// periodic timer. Nothing here knows about windows of the framework.

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>

#include "events.h"

namespace quarn::fw::platform {

// Registers the framework's private event types once. Returns them; both are
// 0 when SDL has no event numbers left.
const PrivateEventTypes& PrivateTypes();

// Starts SDL video once (and keeps the GL library loaded for the life of the
// process, so its allocations stay attributable); false when no video driver
// can start. The reason is then in LastError().
bool EnsureVideo();

std::string LastError();

// Whether messages can be shown to a person: a video driver that drives a
// real display (not offscreen or dummy) started.
bool HasRealDisplay();

// Shows a modal box with one OK button; false when it could not be shown.
bool ShowMessageBox(const char* caption, const char* text);

// Size of the current mode of the first display; false when unknown.
bool GetDisplaySize(int& width, int& height);

// The system cursor of a cursor kind (1 arrow, 2 cross, 3 wait); null for
// other kinds and where the driver has no cursors. Owned by this layer.
SDL_Cursor* SystemCursor(int kind);

// Queues the private create message for a window.
bool PostCreateMessage(SDL_Window* window);

// Queues a close request for a window, carrying code as its parameter.
bool PostCloseMessage(SDL_Window* window, int code);

// Starts a periodic timer whose ticks arrive as timer messages carrying
// token; returns the SDL timer id (0 when refused).
int StartTimer(unsigned intervalMs, int token);
void StopTimer(int timerId);
// The loop took a timer message from the queue: the next tick may queue one.
void TimerMessageTaken();

// Releases what this layer created; called when the framework goes away at
// process exit.
void Shutdown();

}  // namespace quarn::fw::platform
