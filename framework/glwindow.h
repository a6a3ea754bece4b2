#pragma once

// GLWindow: a top-level window with its own OpenGL context. An application
// derives from it and overrides the On... handlers; the framework creates the
// native window when Main::Execute runs, turns platform events into handler
// calls and makes this window's context current around every handler that
// draws (all but OnKeyboard and OnIdle). Coordinates are client pixels with
// the origin at the bottom-left; key codes are virtual-key codes (letters as
// upper-case ASCII, digits as ASCII, space 32, F1 112, keypad 0 96).
//
// Lifecycle: constructed without a native window; Execute creates it; then
// OnResize, exactly one OnCreate, and paint, input and idle calls; OnDestroy
// when the native window goes (from the destructor: the base OnDestroy).
// Windows are registered with Main for their whole life; the first one
// registered is the main window, whose close ends the message loop.

#include <string>

class GLWindowEx;

class GLWindow {
 public:
  GLWindow();
  virtual ~GLWindow();
  GLWindow(const GLWindow&) = delete;
  GLWindow& operator=(const GLWindow&) = delete;

  // Handlers, in the order the framework's dispatch table lists them.
  virtual void OnCreate();
  virtual void OnDestroy();
  // Base: clears the colour buffer and swaps.
  virtual void OnDisplay();
  // Base: viewport (0, 0, width, height).
  virtual void OnResize(int width, int height);
  // button: 0 left, 1 middle, 2 right.
  virtual void OnMouseButton(int button, bool down);
  virtual void OnMouseMove(int x, int y);
  // down is true again for every auto-repeat of a held key.
  virtual void OnKeyboard(int key, bool down);
  virtual void OnIdle();
  // A file dropped on the window, by its path; no context is made current.
  virtual void OnDropFile(const std::string& path);

  // False for null; otherwise whether the caption could be set (true while
  // there is no native window yet).
  bool SetTitle(const char* title);
  // Client size in pixels; negative values become 0. Runs OnResize at once
  // when the native window changes size.
  void SetSize(int width, int height);
  int GetWidth() const;
  int GetHeight() const;
  // Asks for OnDisplay: it runs when no other events wait.
  void Redraw();
  void SwapBuffers();
  // Formats like printf (at most 1023 characters; longer text draws nothing)
  // and draws the text with the window's bitmap font at the current raster
  // position. Returns the display-list base of the font, 0 when nothing was
  // drawn. Call with this window's context current (inside a handler).
  unsigned int Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

  void Show();
  void Hide();
  // Asks the window to close, as the user would: the main window ends the
  // message loop with code 0, other windows are hidden.
  void Close();
  bool IsVisible() const;
  void SetPosition(int x, int y);
  void GetPosition(int& x, int& y) const;
  // Width / height, 1.0 for a height of 0.
  double GetAspectRatio() const;
  bool SetFullscreen(bool on);
  bool IsFullscreen() const;
  bool SetStayOnTop(bool on);
  bool IsStayOnTop() const;
  // 1 arrow, 2 cross, 3 wait, anything else hides the pointer over the window.
  void SetCursor(int kind);
  int GetCursor() const;
  bool IsShiftDown() const;
  bool IsCtrlDown() const;
  bool IsAltDown() const;
  bool IsKeyDown(int virtualKey) const;
  // Whether the context offers the extension (a whole word of its list);
  // false for an empty name or one with a space.
  bool HasExtension(const char* name);

  // Pixel format. Bit counts take 0 to 255. A change recreates the native
  // window (OnDestroy, then a new OnCreate) and is refused inside OnCreate.
  // Each returns whether the window's actual format meets the request.
  bool SetDoubleBuffer(bool on);
  bool GetDoubleBuffer() const;
  bool SetStereo(bool on);
  bool GetStereo() const;
  bool SetDepthBits(int bits);
  int GetDepthBits() const;
  bool SetStencilBits(int bits);
  int GetStencilBits() const;
  bool SetAlphaBits(int bits);
  int GetAlphaBits() const;
  bool SetAccumBits(int bits);
  int GetAccumBits() const;

  void MakeMainWindow();
  bool IsMainWindow() const;

  // Font of later Printf calls: cell height in pixels and face name; needs
  // the native window. False (and the system font from then on) when height
  // is below 1, the name is empty or no such font can be opened.
  bool SetFont(int height, const char* faceName);

  // The platform companion; null when the window could not be registered.
  GLWindowEx* GetExtra() const { return m_pExtra; }

 private:
  GLWindowEx* m_pExtra = nullptr;
};
