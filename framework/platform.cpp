#include "platform.h"

#include <atomic>
#include <cstring>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quarn::fw::platform {
namespace {

// Freed memory the C library keeps at the top of its heap instead of
// giving it back to the system, in bytes.
constexpr int kKeptHeapTop = 1 << 30;

// A software GL frees and allocates buffers of megabytes every frame, and a
// redesign frees and rebuilds the buildings. With glibc's default the top of
// the heap is given back after such frees, and every following frame or step
// faults the same pages in again; with the memory kept, text and redesigns
// cost what their drawing and design cost.
void KeepFreedHeapTop() {
#if defined(__GLIBC__)
  mallopt(M_TRIM_THRESHOLD, kKeptHeapTop);
#endif
}

bool g_videoStarted = false;
bool g_videoFailed = false;
bool g_timerStarted = false;
// One tick at most waits in the queue, as with timer messages that are
// generated rather than queued: a slow OnTimer is not flooded with a backlog.
std::atomic<bool> g_tickQueued{false};
SDL_Cursor* g_cursors[3] = {nullptr, nullptr, nullptr};

Uint32 OnTimerTick(Uint32 interval, void* token) {
  if (g_tickQueued.exchange(true)) return interval;
  SDL_Event event{};
  event.type = PrivateTypes().timer;
  event.user.code = static_cast<Sint32>(SDL_GetTicks());
  event.user.data1 = token;
  if (SDL_PushEvent(&event) != 1) g_tickQueued = false;
  return interval;
}

bool PushPrivate(Uint32 type, SDL_Window* window) {
  if (type == 0 || window == nullptr) return false;
  SDL_Event event{};
  event.type = type;
  event.user.windowID = SDL_GetWindowID(window);
  return SDL_PushEvent(&event) == 1;
}

}  // namespace

const PrivateEventTypes& PrivateTypes() {
  static const PrivateEventTypes types = [] {
    const Uint32 first = SDL_RegisterEvents(2);
    if (first == static_cast<Uint32>(-1)) return PrivateEventTypes{};
    return PrivateEventTypes{first, first + 1};
  }();
  return types;
}

bool EnsureVideo() {
  if (g_videoStarted) return true;
  if (g_videoFailed) return false;
  // The framework ends its loop itself when the main window closes.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Events queued while others are handled are taken in the same pass, as
  // a message queue does; with the sentinel, polling would report an empty
  // queue in between and let a paint or idle pass slip in.
  SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    g_videoFailed = true;
    return false;
  }
  // Loaded once and never unloaded: unloading the GL driver with each last
  // window would leave its allocations without a module to name.
  SDL_GL_LoadLibrary(nullptr);
  KeepFreedHeapTop();
  g_videoStarted = true;
  return true;
}

std::string LastError() { return SDL_GetError(); }

bool HasRealDisplay() {
  if (!EnsureVideo()) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, "offscreen") != 0 &&
         std::strcmp(driver, "dummy") != 0;
}

bool ShowMessageBox(const char* caption, const char* text) {
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, nullptr) == 0;
}

bool GetDisplaySize(int& width, int& height) {
  SDL_DisplayMode mode{};
  if (!EnsureVideo() || SDL_GetCurrentDisplayMode(0, &mode) != 0) return false;
  if (mode.w <= 0 || mode.h <= 0) return false;
  width = mode.w;
  height = mode.h;
  return true;
}

SDL_Cursor* SystemCursor(int kind) {
  static constexpr SDL_SystemCursor kSystemCursors[3] = {
      SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_CROSSHAIR, SDL_SYSTEM_CURSOR_WAIT};
  if (kind < 1 || kind > 3 || !EnsureVideo()) return nullptr;
  SDL_Cursor*& cursor = g_cursors[kind - 1];
  if (cursor == nullptr) cursor = SDL_CreateSystemCursor(kSystemCursors[kind - 1]);
  return cursor;
}

bool PostCreateMessage(SDL_Window* window) { return PushPrivate(PrivateTypes().create, window); }

bool PostCloseMessage(SDL_Window* window, int code) {
  if (window == nullptr) return false;
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  event.window.windowID = SDL_GetWindowID(window);
  event.window.data1 = code;
  return SDL_PushEvent(&event) == 1;
}

int StartTimer(unsigned intervalMs, int token) {
  if (!g_timerStarted) {
    if (SDL_InitSubSystem(SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return 0;
    g_timerStarted = true;
  }
  if (PrivateTypes().timer == 0) return 0;
  return SDL_AddTimer(intervalMs, &OnTimerTick,
                      reinterpret_cast<void*>(static_cast<std::intptr_t>(token)));
}

void TimerMessageTaken() { g_tickQueued = false; }

void StopTimer(int timerId) {
  if (timerId != 0) SDL_RemoveTimer(timerId);
}

void Shutdown() {
  for (SDL_Cursor*& cursor : g_cursors) {
    if (cursor != nullptr) SDL_FreeCursor(cursor);
    cursor = nullptr;
  }
  // SDL itself stays up: this runs at process exit, where quitting it would
  // unload the GL driver and leave the driver's last allocations without a
  // module that leak checkers could name. The process end releases it all.
}

}  // namespace quarn::fw::platform
