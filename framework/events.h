#pragma once

// Translation of SDL events into the framework's window messages. Pure
// functions: an SDL event in, a message out, no window or display needed.
// Key codes are the virtual-key codes the handlers expect (letters as
// upper-case ASCII, digits as ASCII, F1 = 112, keypad 0 = 96, Escape 27, ...).
// Mouse positions stay in SDL's client coordinates (origin top-left); the
// dispatcher turns them bottom-up with FlipY.

#include <SDL2/SDL.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace quarn::fw {

enum class MessageKind {
  kNone,         // nothing the framework handles: left to SDL
  kKey,          // key, down
  kMouseMove,    // x, y (client, top-left origin)
  kMouseButton,  // button (0 left, 1 middle, 2 right), down
  kSize,         // width, height of the client area
  kClose,        // code: the exit code a main window posts
  kExpose,       // the client area needs painting
  kEnter,        // pointer entered the client area
  kLeave,        // pointer left the client area
  kCreate,       // the private message that runs OnCreate
  kTimer,        // ticks (ms since start), timerId
  kQuit,         // the platform asks the process to end
  kDropFile,     // path: a file dropped on the window
};

struct WindowMessage {
  MessageKind kind = MessageKind::kNone;
  std::uint32_t windowId = 0;
  int key = 0;
  bool down = false;
  int x = 0;
  int y = 0;
  int button = 0;
  int width = 0;
  int height = 0;
  int code = 0;
  std::uint32_t ticks = 0;
  int timerId = 0;
  std::string path = {};

  friend bool operator==(const WindowMessage&, const WindowMessage&) = default;
};

std::ostream& operator<<(std::ostream& os, MessageKind kind);
std::ostream& operator<<(std::ostream& os, const WindowMessage& message);

// The event types registered for the framework's own messages.
struct PrivateEventTypes {
  std::uint32_t create = 0;
  std::uint32_t timer = 0;
};

// The virtual-key code of a key, 0 for keys without one.
int VirtualKeyOf(const SDL_Keysym& keysym);

// Keys that go to the system rather than to the window: F10, and anything
// pressed with Alt but without Ctrl held (the keyboard's menu access).
bool IsSystemKey(const SDL_Keysym& keysym);

// The dropped file's text of SDL_DROPFILE and SDL_DROPTEXT events stays the
// caller's to free with SDL_free.
WindowMessage TranslateEvent(const SDL_Event& event, const PrivateEventTypes& types);

// Turns a top-down client row into a bottom-up one: row 0 of a client of
// height h becomes h - 1.
inline int FlipY(int y, int clientHeight) { return clientHeight - y - 1; }

}  // namespace quarn::fw
