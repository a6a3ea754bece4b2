#pragma once

// GLWindowEx: the platform side of a GLWindow, kept apart so the public class
// shows no SDL. It owns the SDL window (which also serves as the drawable the
// context is current on) and the GL context, creates and destroys them, and
// turns window messages into the owner's handlers with the context stack.
// Main's registry lists these companions; the SDL window's user data points
// back to its companion.

#include <SDL2/SDL.h>

#include <climits>
#include <cstdint>
#include <string>

#include "events.h"

class GLWindow;

namespace quarn::fw {

// Outer edges of a window in screen pixels.
struct WindowRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// Display-mode flags.
inline constexpr unsigned kModeRgba = 1;
inline constexpr unsigned kModeWindowed = 2;
inline constexpr unsigned kModeDoubleBuffer = 4;
inline constexpr unsigned kModeStereo = 8;

// Position or size not chosen: the platform picks.
inline constexpr int kUseDefault = INT_MIN;

}  // namespace quarn::fw

class GLWindowEx {
 public:
  explicit GLWindowEx(GLWindow* owner);
  // Destroys the native window (the owner's OnDestroy runs).
  virtual ~GLWindowEx();
  GLWindowEx(const GLWindowEx&) = delete;
  GLWindowEx& operator=(const GLWindowEx&) = delete;

  // Creates the native window and its context (an existing one is destroyed
  // first) and queues the message that runs OnCreate. Prints the reason and
  // returns false on failure, leaving no native window.
  bool Create();
  // Runs OnDestroy with the context current, then releases the font lists,
  // the context and the window. Nothing when there is no native window.
  void Destroy();
  bool HasNativeWindow() const { return m_window != nullptr; }
  // The id the platform's events carry for this window; 0 without one.
  std::uint32_t GetNativeWindowId() const { return m_window ? SDL_GetWindowID(m_window) : 0; }

  // Handles one message addressed to this window.
  void Dispatch(const quarn::fw::WindowMessage& message);
  // A size the platform reports: dispatched only when it differs from the
  // stored client size (the framework already reported its own changes).
  void DispatchReportedSize(int width, int height);
  // Stores the client size and runs OnResize with the context current.
  void DispatchSize(int width, int height);

  // After the client size changed: a window the user has not seen yet and
  // whose position the platform chose, or one that now leaves its display,
  // is centred on its display.
  void KeepOnDisplay();

  // Whether the window is visible and its client area was invalidated.
  bool NeedsPaint() const;
  // Validates the client area and runs OnDisplay with the context current.
  void Paint();
  void Invalidate();

  // Draws text with the font lists at the raster position, building the
  // lists first when needed. Returns the list base, 0 when nothing was drawn.
  unsigned int DrawText(const std::string& text);

  // Whether the actual format of the live context meets the stored request.
  bool FormatMeetsRequest();
  // Applies the remembered cursor (over the client area).
  void ApplyCursor() const;

  GLWindow* m_pOwner;
  SDL_Window* m_window = nullptr;
  SDL_GLContext m_context = nullptr;
  int m_x = quarn::fw::kUseDefault;
  int m_y = quarn::fw::kUseDefault;
  int m_width = 320;
  int m_height = 240;
  unsigned m_displayFlags = quarn::fw::kModeRgba | quarn::fw::kModeWindowed |
                            quarn::fw::kModeDoubleBuffer;
  int m_colourBits = 24;
  int m_depthBits = 32;
  int m_stencilBits = 0;
  int m_alphaBits = 0;
  int m_accumBits = 0;
  std::string m_title = "OpenGL";
  int m_fontHeight = 0;
  std::string m_fontFace;
  bool m_fontChanged = false;
  bool m_showOnCreate = true;
  bool m_fullscreenRequested = false;
  bool m_fullscreenActive = false;
  bool m_stayOnTop = false;
  bool m_pointerOutside = false;
  quarn::fw::WindowRect m_savedRect;
  unsigned int m_fontBase = 0;
  // Fetched with the native window or by SetCursor; owned by the platform layer.
  SDL_Cursor* m_cursor = nullptr;
  int m_cursorKind = 1;
  bool m_insideCreate = false;
  // The client area waits for painting (the platform's update region).
  bool m_invalid = false;
  // The platform placed the window for its size at creation and no frame
  // has been drawn yet: a new size places it again.
  bool m_centreOnResize = false;

 private:
  bool CreateWindowAndContext();
  void PlaceForCreation(int& x, int& y, int& width, int& height, Uint32& flags);
};

namespace quarn::fw {

// Makes a companion's context current for the life of the guard and restores
// the previous one after, also when making it current failed.
class ContextGuard {
 public:
  explicit ContextGuard(const GLWindowEx& window);
  ~ContextGuard();
  ContextGuard(const ContextGuard&) = delete;
  ContextGuard& operator=(const ContextGuard&) = delete;

  bool IsCurrent() const { return current_; }

 private:
  bool pushed_ = false;
  bool current_ = false;
};

// Whether a space-separated extension list holds name as a whole word;
// false for an empty name or a name with a space.
bool HasExtensionWord(const char* list, const char* name);

}  // namespace quarn::fw
