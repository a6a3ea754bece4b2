#include "glwindow.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "fassert.h"
#include "format.h"
#include "glfont.h"
#include "glwindowex.h"
#include "main.h"
#include "platform.h"

using namespace quarn::fw;

namespace {

constexpr int kMaxFormatBits = 255;

// Shown once per process: the first refused change explains why.
bool g_toldAboutCreateHandler = false;

}  // namespace

GLWindow::GLWindow() {
  Trace("GLWindow\n");
  if (!Main::Instance()->RegisterWindowClass()) {
    std::printf("Failed to register window class\n");
    return;
  }
  m_pExtra = new GLWindowEx(this);
  QUARN_FW_ASSERT(m_pExtra != nullptr, "extra!=NULL");
  Main::Instance()->AddWnd(m_pExtra);
}

GLWindow::~GLWindow() {
  Trace("~GLWindow\n");
  if (m_pExtra == nullptr) return;
  Main::Instance()->DelWnd(m_pExtra);
  delete m_pExtra;
  m_pExtra = nullptr;
}

void GLWindow::OnCreate() { Trace("GLWindow::OnCreate\n"); }

void GLWindow::OnDestroy() {
  Trace("GLWindow::OnDestroy 0x%08lX\n", reinterpret_cast<unsigned long>(this));
}

void GLWindow::OnDisplay() {
  Trace("GLWindow::OnDisplay\n");
  glClear(GL_COLOR_BUFFER_BIT);
  SwapBuffers();
}

void GLWindow::OnResize(int width, int height) {
  Trace("GLWindow::OnResize\n");
  glViewport(0, 0, width, height);
}

void GLWindow::OnMouseButton(int button, bool down) {
  Trace("GLWindow::OnMouseButton(%d,%d)\n", button, down ? 1 : 0);
}

void GLWindow::OnMouseMove(int, int) {}

void GLWindow::OnKeyboard(int key, bool down) {
  Trace("GLWindow::OnKeyboard(%d,%d)\n", key, down ? 1 : 0);
}

void GLWindow::OnIdle() {}

void GLWindow::OnDropFile(const std::string& path) {
  Trace("GLWindow::OnDropFile(%s)\n", path.c_str());
}

bool GLWindow::SetTitle(const char* title) {
  if (title == nullptr || m_pExtra == nullptr) return false;
  m_pExtra->m_title = title;
  if (m_pExtra->m_window != nullptr) SDL_SetWindowTitle(m_pExtra->m_window, title);
  return true;
}

void GLWindow::SetSize(int width, int height) {
  if (m_pExtra == nullptr) return;
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (SDL_Window* window = m_pExtra->m_window) {
    int oldWidth = 0, oldHeight = 0;
    SDL_GetWindowSize(window, &oldWidth, &oldHeight);
    SDL_SetWindowSize(window, std::max(width, 1), std::max(height, 1));
    int actualWidth = 0, actualHeight = 0;
    SDL_GetWindowSize(window, &actualWidth, &actualHeight);
    if (actualWidth != oldWidth || actualHeight != oldHeight) m_pExtra->KeepOnDisplay();
    // The platform reports the change later too; OnResize runs now, as the
    // caller expects the new size to be in effect when SetSize returns.
    m_pExtra->DispatchReportedSize(actualWidth, actualHeight);
  }
  m_pExtra->m_width = width;
  m_pExtra->m_height = height;
}

int GLWindow::GetWidth() const { return m_pExtra ? m_pExtra->m_width : 0; }

int GLWindow::GetHeight() const { return m_pExtra ? m_pExtra->m_height : 0; }

void GLWindow::Redraw() {
  if (m_pExtra) m_pExtra->Invalidate();
}

void GLWindow::SwapBuffers() {
  if (m_pExtra && m_pExtra->m_window) SDL_GL_SwapWindow(m_pExtra->m_window);
}

unsigned int GLWindow::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::optional<std::string> text = FormatLimited(format, args);
  va_end(args);
  if (!text || m_pExtra == nullptr) return 0;
  unsigned int base = m_pExtra->DrawText(*text);
  if (base == 0) {
    Trace("warning: used wglUseFontBitmap workaround\n");
    base = m_pExtra->DrawText(*text);
    if (base == 0) Trace("warning: workaround failed\n");
  }
  return base;
}

void GLWindow::Show() {
  if (m_pExtra == nullptr) return;
  if (m_pExtra->m_window != nullptr) {
    SDL_ShowWindow(m_pExtra->m_window);
    return;
  }
  m_pExtra->m_showOnCreate = true;
  m_pExtra->Create();
}

void GLWindow::Hide() {
  if (m_pExtra == nullptr) return;
  if (m_pExtra->m_window != nullptr) {
    SDL_HideWindow(m_pExtra->m_window);
  } else {
    m_pExtra->m_showOnCreate = false;
  }
}

void GLWindow::Close() {
  if (m_pExtra) platform::PostCloseMessage(m_pExtra->m_window, 0);
}

bool GLWindow::IsVisible() const {
  return m_pExtra && m_pExtra->m_window &&
         (SDL_GetWindowFlags(m_pExtra->m_window) & SDL_WINDOW_SHOWN) != 0;
}

void GLWindow::SetPosition(int x, int y) {
  if (m_pExtra == nullptr) return;
  if (m_pExtra->m_window) SDL_SetWindowPosition(m_pExtra->m_window, x, y);
  m_pExtra->m_centreOnResize = false;
  m_pExtra->m_x = x;
  m_pExtra->m_y = y;
}

void GLWindow::GetPosition(int& x, int& y) const {
  x = y = 0;
  if (m_pExtra == nullptr) return;
  if (m_pExtra->m_window) {
    SDL_GetWindowPosition(m_pExtra->m_window, &x, &y);
  } else {
    x = m_pExtra->m_x;
    y = m_pExtra->m_y;
  }
}

double GLWindow::GetAspectRatio() const {
  const int height = GetHeight();
  return height == 0 ? 1.0 : static_cast<double>(GetWidth()) / height;
}

bool GLWindow::SetFullscreen(bool on) {
  if (m_pExtra == nullptr) return false;
  GLWindowEx& ex = *m_pExtra;
  if (ex.m_window == nullptr) {
    ex.m_fullscreenRequested = on;
    return true;
  }
  if (ex.m_fullscreenActive == on) return true;
  if (on) {
    int width = 0, height = 0;
    if (!platform::GetDisplaySize(width, height)) {
      Trace("EnumDisplaySettings failed\n");
      return false;
    }
    int x = 0, y = 0, clientWidth = 0, clientHeight = 0;
    SDL_GetWindowPosition(ex.m_window, &x, &y);
    SDL_GetWindowSize(ex.m_window, &clientWidth, &clientHeight);
    ex.m_savedRect = {x, y, x + clientWidth, y + clientHeight};
    SDL_SetWindowBordered(ex.m_window, SDL_FALSE);
    SDL_SetWindowResizable(ex.m_window, SDL_FALSE);
    SDL_SetWindowPosition(ex.m_window, 0, 0);
    SDL_SetWindowSize(ex.m_window, width, height);
  } else {
    const WindowRect& saved = ex.m_savedRect;
    SDL_SetWindowBordered(ex.m_window, SDL_TRUE);
    SDL_SetWindowResizable(ex.m_window, SDL_TRUE);
    SDL_SetWindowPosition(ex.m_window, saved.left, saved.top);
    SDL_SetWindowSize(ex.m_window, std::max(saved.right - saved.left, 1),
                      std::max(saved.bottom - saved.top, 1));
  }
  int width = 0, height = 0;
  SDL_GetWindowSize(ex.m_window, &width, &height);
  ex.DispatchReportedSize(width, height);
  ex.m_fullscreenRequested = ex.m_fullscreenActive = on;
  return true;
}

bool GLWindow::IsFullscreen() const { return m_pExtra && m_pExtra->m_fullscreenActive; }

bool GLWindow::SetStayOnTop(bool on) {
  if (m_pExtra == nullptr) return false;
  if (m_pExtra->m_window) SDL_SetWindowAlwaysOnTop(m_pExtra->m_window, on ? SDL_TRUE : SDL_FALSE);
  m_pExtra->m_stayOnTop = on;
  return true;
}

// Drivers that cannot keep a window on top leave SDL's flag untouched, so
// the flag asked for is the reliable answer while the window exists.
bool GLWindow::IsStayOnTop() const {
  return m_pExtra && m_pExtra->m_window && m_pExtra->m_stayOnTop;
}

void GLWindow::SetCursor(int kind) {
  if (m_pExtra == nullptr) return;
  m_pExtra->m_cursorKind = kind;
  m_pExtra->m_cursor = platform::SystemCursor(kind);
  m_pExtra->ApplyCursor();
}

int GLWindow::GetCursor() const { return m_pExtra ? m_pExtra->m_cursorKind : 0; }

bool GLWindow::IsShiftDown() const { return (SDL_GetModState() & KMOD_SHIFT) != 0; }

bool GLWindow::IsCtrlDown() const { return (SDL_GetModState() & KMOD_CTRL) != 0; }

bool GLWindow::IsAltDown() const { return (SDL_GetModState() & KMOD_ALT) != 0; }

bool GLWindow::IsKeyDown(int virtualKey) const {
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int scancode = 0; scancode < count; ++scancode) {
    if (state[scancode] == 0) continue;
    SDL_Keysym keysym{};
    keysym.scancode = static_cast<SDL_Scancode>(scancode);
    keysym.sym = SDL_GetKeyFromScancode(keysym.scancode);
    if (VirtualKeyOf(keysym) == virtualKey) return true;
  }
  return false;
}

bool GLWindow::HasExtension(const char* name) {
  if (name == nullptr || *name == '\0' || m_pExtra == nullptr) return false;
  ContextGuard guard(*m_pExtra);
  if (!guard.IsCurrent()) return false;
  return HasExtensionWord(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

namespace {

// The shared rules of every pixel-format setter: store without a native
// window, refuse inside OnCreate (whose window a recreation would pull away),
// otherwise store and recreate, going back to the old value if that fails.
template <typename Value>
bool ChangePixelFormat(GLWindowEx* ex, Value& field, Value value) {
  if (ex == nullptr) return false;
  if (ex->m_window == nullptr) {
    field = value;
    return true;
  }
  if (field == value) return true;
  if (ex->m_insideCreate) {
    if (!g_toldAboutCreateHandler) {
      g_toldAboutCreateHandler = true;
      Main::Instance()->MessageBox(
          "Error: You cannot change pixel format in GLWindow::OnCreate\n(cannot change "
          "depth/alpha/stencil/accum bits, or any setting\nthat would recreate the window)");
    }
    return false;
  }
  const Value old = field;
  field = value;
  if (!ex->Create()) {
    field = old;
    ex->Create();
  }
  return ex->FormatMeetsRequest();
}

bool ChangeBits(GLWindowEx* ex, int GLWindowEx::*field, int bits) {
  if (ex == nullptr || bits < 0 || bits > kMaxFormatBits) return false;
  return ChangePixelFormat(ex, ex->*field, bits);
}

bool ChangeFlag(GLWindowEx* ex, unsigned flag, bool on) {
  if (ex == nullptr) return false;
  return ChangePixelFormat(ex, ex->m_displayFlags,
                           on ? (ex->m_displayFlags | flag) : (ex->m_displayFlags & ~flag));
}

}  // namespace

bool GLWindow::SetDoubleBuffer(bool on) { return ChangeFlag(m_pExtra, kModeDoubleBuffer, on); }

bool GLWindow::GetDoubleBuffer() const {
  return m_pExtra && (m_pExtra->m_displayFlags & kModeDoubleBuffer) != 0;
}

bool GLWindow::SetStereo(bool on) { return ChangeFlag(m_pExtra, kModeStereo, on); }

bool GLWindow::GetStereo() const {
  return m_pExtra && (m_pExtra->m_displayFlags & kModeStereo) != 0;
}

bool GLWindow::SetDepthBits(int bits) { return ChangeBits(m_pExtra, &GLWindowEx::m_depthBits, bits); }

int GLWindow::GetDepthBits() const { return m_pExtra ? m_pExtra->m_depthBits : 0; }

bool GLWindow::SetStencilBits(int bits) {
  return ChangeBits(m_pExtra, &GLWindowEx::m_stencilBits, bits);
}

int GLWindow::GetStencilBits() const { return m_pExtra ? m_pExtra->m_stencilBits : 0; }

bool GLWindow::SetAlphaBits(int bits) { return ChangeBits(m_pExtra, &GLWindowEx::m_alphaBits, bits); }

int GLWindow::GetAlphaBits() const { return m_pExtra ? m_pExtra->m_alphaBits : 0; }

bool GLWindow::SetAccumBits(int bits) { return ChangeBits(m_pExtra, &GLWindowEx::m_accumBits, bits); }

int GLWindow::GetAccumBits() const { return m_pExtra ? m_pExtra->m_accumBits : 0; }

void GLWindow::MakeMainWindow() {
  if (m_pExtra) Main::Instance()->SetMainWnd(m_pExtra);
}

bool GLWindow::IsMainWindow() const {
  return m_pExtra != nullptr && Main::Instance()->GetMainWnd() == m_pExtra;
}

bool GLWindow::SetFont(int height, const char* faceName) {
  if (m_pExtra == nullptr || m_pExtra->m_window == nullptr) return false;
  GLWindowEx& ex = *m_pExtra;
  bool opened = false;
  if (height >= 1 && faceName != nullptr && *faceName != '\0') {
    ex.m_fontHeight = height;
    ex.m_fontFace = faceName;
    opened = CanOpenFont(height, faceName);
  }
  ex.m_fontChanged = true;
  if (!opened) {
    ex.m_fontHeight = 0;
    ex.m_fontFace.clear();
  }
  return opened;
}
