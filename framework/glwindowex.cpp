#include "glwindowex.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "contextstack.h"
#include "fassert.h"
#include "format.h"
#include "glfont.h"
#include "glwindow.h"
#include "main.h"
#include "placement.h"
#include "platform.h"

using namespace quarn::fw;

namespace {

// The SDL window's user-data slot that points back at the companion.
constexpr const char* kCompanionKey = "GLWindowEx";

// Size assumed when the display's size cannot be read.
constexpr int kFallbackDisplayWidth = 640;
constexpr int kFallbackDisplayHeight = 480;
// Client size of a window whose size was left to the platform.
constexpr int kDefaultWindowWidth = 640;
constexpr int kDefaultWindowHeight = 480;

struct PixelRequest {
  bool doubleBuffer = true;
  bool stereo = false;
  int colour = 24;
  int depth = 32;
  int stencil = 0;
  int alpha = 0;
  int accum = 0;

  friend bool operator==(const PixelRequest&, const PixelRequest&) = default;
};

PixelRequest RequestOf(const GLWindowEx& window) {
  PixelRequest request;
  request.doubleBuffer = (window.m_displayFlags & kModeDoubleBuffer) != 0 ||
                         (window.m_displayFlags & kModeRgba) == 0;
  request.stereo = (window.m_displayFlags & kModeStereo) != 0;
  request.colour = window.m_colourBits;
  request.depth = window.m_depthBits;
  request.stencil = window.m_stencilBits;
  request.alpha = window.m_alphaBits;
  request.accum = window.m_accumBits;
  return request;
}

// SDL takes minimum sizes where the platform picks the closest format, so
// the request is relaxed step by step until a format exists: deep depth
// buffers first, then stereo and accumulation, then the small buffers.
std::vector<PixelRequest> ClosestFormatCandidates(const PixelRequest& request) {
  std::vector<PixelRequest> candidates{request};
  PixelRequest relaxed = request;
  relaxed.depth = std::min(relaxed.depth, 24);
  candidates.push_back(relaxed);
  relaxed.stereo = false;
  relaxed.accum = 0;
  candidates.push_back(relaxed);
  relaxed.depth = std::min(relaxed.depth, 16);
  relaxed.stencil = std::min(relaxed.stencil, 8);
  relaxed.alpha = std::min(relaxed.alpha, 8);
  candidates.push_back(relaxed);
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  return candidates;
}

void SetAttributes(const PixelRequest& request) {
  SDL_GL_ResetAttributes();
  const int channel = request.colour / 3;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, request.alpha);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.depth);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.stencil);
  const int accumChannel = request.accum / 4;
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accumChannel);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, accumChannel);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, accumChannel);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, accumChannel);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, request.doubleBuffer ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_STEREO, request.stereo ? 1 : 0);
}

int Attribute(SDL_GLattr attribute) {
  int value = 0;
  return SDL_GL_GetAttribute(attribute, &value) == 0 ? value : 0;
}

// Creating a context makes it current under SDL; the framework's contract
// is that only the context stack changes the current context.
SDL_GLContext CreateContextKeepingCurrent(SDL_Window* window) {
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (context != nullptr) {
    SDL_GL_MakeCurrent(previousContext ? previousWindow : nullptr, previousContext);
  }
  return context;
}

void PrintFailure(const char* text) {
  Trace("%s\n", platform::LastError().c_str());
  std::printf("%s", text);
}

}  // namespace

GLWindowEx::GLWindowEx(GLWindow* owner) : m_pOwner(owner) {}

GLWindowEx::~GLWindowEx() { Destroy(); }

void GLWindowEx::PlaceForCreation(int& x, int& y, int& width, int& height, Uint32& flags) {
  flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  if (m_stayOnTop) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  x = m_x == kUseDefault ? SDL_WINDOWPOS_UNDEFINED : m_x;
  y = m_y == kUseDefault ? SDL_WINDOWPOS_UNDEFINED : m_y;
  const bool sizeSet = m_width != kUseDefault && m_height != kUseDefault;
  width = sizeSet ? std::max(m_width, 1) : kDefaultWindowWidth;
  height = sizeSet ? std::max(m_height, 1) : kDefaultWindowHeight;
  if (!m_fullscreenRequested) {
    flags |= SDL_WINDOW_RESIZABLE;
    return;
  }
  flags |= SDL_WINDOW_BORDERLESS;
  if (!platform::GetDisplaySize(width, height)) {
    Trace("EnumDisplaySettings failed\n");
    width = kFallbackDisplayWidth;
    height = kFallbackDisplayHeight;
  }
  x = 0;
  y = 0;
  m_savedRect = {0, 0, m_width != kUseDefault ? m_width : 320,
                 m_height != kUseDefault ? m_height : 240};
  m_fullscreenActive = true;
}

bool GLWindowEx::CreateWindowAndContext() {
  if (!platform::EnsureVideo()) {
    PrintFailure("Failed to create window\n");
    return false;
  }
  int x = 0, y = 0, width = 0, height = 0;
  Uint32 flags = 0;
  PlaceForCreation(x, y, width, height, flags);
  bool windowMade = false;
  for (const PixelRequest& candidate : ClosestFormatCandidates(RequestOf(*this))) {
    SetAttributes(candidate);
    SDL_Window* window = SDL_CreateWindow(m_title.c_str(), x, y, width, height, flags);
    if (window == nullptr) continue;
    windowMade = true;
    SDL_GLContext context = CreateContextKeepingCurrent(window);
    if (context == nullptr) {
      SDL_DestroyWindow(window);
      continue;
    }
    SDL_SetWindowData(window, kCompanionKey, this);
    // Cursors need the video driver, which starts with the first window.
    if (m_cursor == nullptr) m_cursor = platform::SystemCursor(m_cursorKind);
    Trace("WM_NCCREATE(pWindowEx=0x%08lX)\n", reinterpret_cast<unsigned long>(this));
    m_window = window;
    m_context = context;
    return true;
  }
  m_fullscreenActive = false;
  PrintFailure(windowMade ? "Failed to create GL context\n" : "Failed to set pixel format\n");
  return false;
}

bool GLWindowEx::Create() {
  Destroy();
  if (!CreateWindowAndContext()) return false;
  // The newest window's context stays current between handlers, for code
  // that runs outside them. It takes no level of the context stack, which
  // only handlers push and pop, so creating windows never uses it up.
  if (SDL_GL_MakeCurrent(m_window, m_context) != 0) {
    std::printf("Failed to make GL context current\n");
    Destroy();
    return false;
  }
  m_centreOnResize = !m_fullscreenActive && (m_x == kUseDefault || m_y == kUseDefault);
  if (m_showOnCreate) SDL_ShowWindow(m_window);
  int width = 0, height = 0;
  SDL_GetWindowSize(m_window, &width, &height);
  DispatchSize(width, height);
  m_invalid = true;
  platform::PostCreateMessage(m_window);
  return true;
}

void GLWindowEx::Destroy() {
  if (m_window == nullptr) return;
  {
    ContextGuard guard(*this);
    m_pOwner->OnDestroy();
    if (guard.IsCurrent() && m_fontBase != 0 && glIsList(m_fontBase)) {
      glDeleteLists(m_fontBase, kFontListCount);
    }
  }
  m_fontBase = 0;
  TheContextStack().Forget(m_context);
  SDL_GL_DeleteContext(m_context);
  SDL_GetWindowPosition(m_window, &m_x, &m_y);
  SDL_DestroyWindow(m_window);
  m_window = nullptr;
  m_context = nullptr;
  m_invalid = false;
  m_fullscreenActive = false;
}

void GLWindowEx::DispatchSize(int width, int height) {
  m_width = width;
  m_height = height;
  ContextGuard guard(*this);
  if (guard.IsCurrent()) m_pOwner->OnResize(width, height);
}

void GLWindowEx::DispatchReportedSize(int width, int height) {
  if (width != m_width || height != m_height) DispatchSize(width, height);
}

void GLWindowEx::Dispatch(const WindowMessage& message) {
  switch (message.kind) {
    case MessageKind::kSize:
      DispatchReportedSize(message.width, message.height);
      break;
    case MessageKind::kClose:
      if (Main::Instance()->GetMainWnd() == this) Main::Instance()->PostQuit(message.code);
      // The main window goes from the screen too; its context lives on
      // until the window object is destroyed.
      if (m_window != nullptr) SDL_HideWindow(m_window);
      break;
    case MessageKind::kExpose:
      Invalidate();
      break;
    case MessageKind::kEnter:
      ApplyCursor();
      break;
    case MessageKind::kLeave:
      m_pointerOutside = true;
      break;
    case MessageKind::kKey:
      m_pOwner->OnKeyboard(message.key, message.down);
      break;
    case MessageKind::kDropFile:
      m_pOwner->OnDropFile(message.path);
      break;
    case MessageKind::kMouseMove: {
      {
        ContextGuard guard(*this);
        if (guard.IsCurrent()) m_pOwner->OnMouseMove(message.x, FlipY(message.y, m_height));
      }
      m_pointerOutside = false;
      break;
    }
    case MessageKind::kMouseButton: {
      ContextGuard guard(*this);
      if (guard.IsCurrent()) {
        // Keeps the drag's events coming while the pointer is outside.
        SDL_CaptureMouse(message.down ? SDL_TRUE : SDL_FALSE);
        m_pOwner->OnMouseButton(message.button, message.down);
      }
      break;
    }
    case MessageKind::kCreate:
      Trace("WM_CREATE(hwnd=%lX, wndex=%lX)\n", reinterpret_cast<unsigned long>(m_window),
            reinterpret_cast<unsigned long>(this));
      if (m_insideCreate) {
        Trace("warning: create message received during OnCreate\n");
        break;
      }
      m_insideCreate = true;
      {
        ContextGuard guard(*this);
        if (guard.IsCurrent()) m_pOwner->OnCreate();
      }
      m_insideCreate = false;
      break;
    case MessageKind::kNone:
    case MessageKind::kTimer:
    case MessageKind::kQuit:
      break;
  }
}

bool GLWindowEx::NeedsPaint() const {
  return m_invalid && m_window != nullptr && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_SHOWN) != 0;
}

void GLWindowEx::Invalidate() {
  if (m_window != nullptr) m_invalid = true;
}

void GLWindowEx::Paint() {
  if (!m_invalid) return;
  m_invalid = false;
  ContextGuard guard(*this);
  if (guard.IsCurrent()) {
    m_centreOnResize = false;
    m_pOwner->OnDisplay();
  } else {
    Trace("can't makecurrent\n");
  }
}

void GLWindowEx::KeepOnDisplay() {
  if (m_window == nullptr || m_fullscreenActive) return;
  const int display = SDL_GetWindowDisplayIndex(m_window);
  SDL_Rect bounds{};
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &bounds) != 0) return;
  FrameBorders borders;
  if (SDL_GetWindowBordersSize(m_window, &borders.top, &borders.left, &borders.bottom,
                               &borders.right) != 0) {
    borders = {};
  }
  ScreenRect client;
  SDL_GetWindowPosition(m_window, &client.x, &client.y);
  SDL_GetWindowSize(m_window, &client.width, &client.height);
  const ScreenRect area{bounds.x, bounds.y, bounds.w, bounds.h};
  if (!m_centreOnResize && FrameInside(area, client, borders)) return;
  const ScreenPoint origin = CentredClientOrigin(area, client.width, client.height, borders);
  SDL_SetWindowPosition(m_window, origin.x, origin.y);
}

unsigned int GLWindowEx::DrawText(const std::string& text) {
  if (text.empty() || m_window == nullptr) return 0;
  if (m_fontChanged) {
    if (m_fontBase != 0 && glIsList(m_fontBase)) glDeleteLists(m_fontBase, kFontListCount);
    m_fontBase = 0;
    m_fontChanged = false;
  }
  if (m_fontBase == 0) {
    const GLuint base = glGenLists(kFontListCount);
    if (base == 0) return 0;
    if (!BuildFontLists(base, m_fontHeight, m_fontFace)) {
      glDeleteLists(base, kFontListCount);
      return 0;
    }
    m_fontBase = base;
  }
  glPushAttrib(GL_LIST_BIT);
  glListBase(m_fontBase);
  glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
  glPopAttrib();
  return m_fontBase;
}

bool GLWindowEx::FormatMeetsRequest() {
  if (m_window == nullptr) return true;
  ContextGuard guard(*this);
  if (!guard.IsCurrent()) return false;
  const PixelRequest request = RequestOf(*this);
  const int colour = Attribute(SDL_GL_RED_SIZE) + Attribute(SDL_GL_GREEN_SIZE) +
                     Attribute(SDL_GL_BLUE_SIZE);
  const int accum = Attribute(SDL_GL_ACCUM_RED_SIZE) + Attribute(SDL_GL_ACCUM_GREEN_SIZE) +
                    Attribute(SDL_GL_ACCUM_BLUE_SIZE) + Attribute(SDL_GL_ACCUM_ALPHA_SIZE);
  return (Attribute(SDL_GL_DOUBLEBUFFER) != 0) == request.doubleBuffer &&
         (Attribute(SDL_GL_STEREO) != 0) == request.stereo && colour >= request.colour &&
         Attribute(SDL_GL_DEPTH_SIZE) >= request.depth &&
         Attribute(SDL_GL_STENCIL_SIZE) >= request.stencil &&
         Attribute(SDL_GL_ALPHA_SIZE) >= request.alpha && accum >= request.accum;
}

void GLWindowEx::ApplyCursor() const {
  if (m_cursor != nullptr) {
    SDL_SetCursor(m_cursor);
    SDL_ShowCursor(SDL_ENABLE);
  } else if (m_cursorKind < 1 || m_cursorKind > 3) {
    SDL_ShowCursor(SDL_DISABLE);
  }
}

namespace quarn::fw {

ContextGuard::ContextGuard(const GLWindowEx& window) {
  if (window.m_context == nullptr) return;
  pushed_ = true;
  current_ = TheContextStack().Push({window.m_context, window.m_window});
}

ContextGuard::~ContextGuard() {
  if (pushed_) TheContextStack().Pop();
}

bool HasExtensionWord(const char* list, const char* name) {
  if (list == nullptr || name == nullptr || *name == '\0' || std::strchr(name, ' ')) return false;
  const std::size_t length = std::strlen(name);
  for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
    const bool startsWord = at == list || at[-1] == ' ';
    const bool endsWord = at[length] == ' ' || at[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

}  // namespace quarn::fw
