#include "main.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "events.h"
#include "fassert.h"
#include "format.h"
#include "glwindow.h"
#include "glwindowex.h"
#include "platform.h"

using namespace quarn::fw;

namespace {

constexpr unsigned kMinTimerIntervalMs = 10;

Main* g_main = nullptr;

void DeleteMain() {
  delete g_main;
  g_main = nullptr;
}

GLWindowEx* CompanionOf(std::uint32_t windowId) {
  SDL_Window* window = SDL_GetWindowFromID(windowId);
  return window ? static_cast<GLWindowEx*>(SDL_GetWindowData(window, "GLWindowEx")) : nullptr;
}

}  // namespace

// --- App -------------------------------------------------------------------

App::App() { Main::Instance()->SetApp(this); }

App::~App() { Main::Instance()->ClearApp(this); }

void App::OnCreate() { Trace("App::OnCreate\n"); }

void App::OnIdle() {}

void App::OnTimer(double) {}

void App::OnDestroy() { Trace("App::OnDestroy\n"); }

// --- Main ------------------------------------------------------------------

Main* Main::Instance() {
  if (g_main == nullptr) {
    g_main = new Main();
    QUARN_FW_ASSERT(g_main != nullptr, "self!=NULL");
    std::atexit(&DeleteMain);
  }
  return g_main;
}

Main::Main() { Trace("Main\n"); }

Main::~Main() {
  Trace("~Main\n");
  SetTimer(0);
  if (m_classAtom != 0) {
    platform::Shutdown();
    m_classAtom = 0;
  }
}

void Main::SetApp(App* app) {
  if (m_pApp != nullptr) {
    std::printf("Error: more than one application instance defined!\n");
    std::exit(1);
  }
  m_pApp = app;
}

void Main::ClearApp(App* app) {
  if (m_pApp == app) m_pApp = nullptr;
}

bool Main::AddWnd(GLWindowEx* window) {
  if (window == nullptr) return false;
  if (m_windows.empty()) m_pMainWnd = window;
  m_windows.push_back(window);
  return true;
}

void Main::DelWnd(GLWindowEx* window) {
  const auto found = std::find(m_windows.begin(), m_windows.end(), window);
  if (found != m_windows.end()) {
    m_windows.erase(found);
    Trace("Main: DelWnd erased window 0x%08lX\n", reinterpret_cast<unsigned long>(window));
  }
  // A main window that is gone must not be reached through a stale pointer.
  if (window != nullptr && window == m_pMainWnd) m_pMainWnd = nullptr;
  Trace("Main: %d windows remain\n", GetWndCount());
}

GLWindowEx* Main::GetWnd(int index) const {
  return index >= 0 && index < GetWndCount() ? m_windows[static_cast<std::size_t>(index)] : nullptr;
}

bool Main::RegisterWindowClass() {
  if (m_classAtom != 0) return true;
  // The private event type stands in for the class: it is what the
  // framework's windows need before any of them exists.
  const std::uint32_t type = platform::PrivateTypes().create;
  m_classAtom = static_cast<unsigned short>(type);
  return m_classAtom > 0;
}

void Main::SetTimer(unsigned intervalMs) {
  if (intervalMs == m_timerInterval) return;
  platform::StopTimer(m_timerId);
  m_timerId = 0;
  m_timerInterval = 0;
  if (intervalMs == 0) return;
  const unsigned interval = std::max(intervalMs, kMinTimerIntervalMs);
  m_timerId = platform::StartTimer(interval, ++m_timerToken);
  if (m_timerId != 0) m_timerInterval = interval;
}

void Main::MessageBox(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::optional<std::string> text = FormatLimited(format, args);
  va_end(args);
  if (!text) return;
  if (!m_console && platform::HasRealDisplay() && platform::ShowMessageBox("Message", text->c_str())) {
    return;
  }
  std::printf("%s%s", text->c_str(), !text->empty() && text->back() == '\n' ? "" : "\n");
  std::fflush(stdout);
}

int Main::Execute(int argc, char** argv) {
  Trace("Main::Execute\n");
  if (!QUARN_FW_ASSERT(m_pApp != nullptr, "m_pApp!=NULL")) return 1;
  m_argc = argc;
  m_argv = argv;
  m_pApp->OnCreate();
  // Indexed: a window's creation may not add windows, but must not be able
  // to invalidate the walk either.
  for (int i = 0; i < GetWndCount(); ++i) {
    if (!m_windows[static_cast<std::size_t>(i)]->HasNativeWindow()) {
      m_windows[static_cast<std::size_t>(i)]->Create();
    }
  }
  int exitCode = 1;
  if (m_windows.empty()) {
    if (!m_console) MessageBox("No windows were created, exiting.");
  } else if (m_pMainWnd != nullptr && m_pMainWnd->HasNativeWindow()) {
    exitCode = RunMessageLoop();
  }
  // Otherwise the creation printed why the main window is missing, and a
  // loop without it would have nothing that could ever end it.
  SetTimer(0);
  m_pApp->OnDestroy();
  return exitCode;
}

void Main::PostQuit(int exitCode) {
  m_quitPending = true;
  m_quitCode = exitCode;
}

int Main::RunMessageLoop() {
  m_quitPending = false;
  for (;;) {
    if (DispatchNextEvent()) continue;
    if (m_quitPending) {
      m_quitPending = false;
      return m_quitCode;
    }
    if (!PaintNextWindow()) IdlePass();
  }
}

bool Main::DispatchNextEvent() {
  SDL_Event event;
  if (SDL_PollEvent(&event) == 0) return false;
  const WindowMessage message = TranslateEvent(event, platform::PrivateTypes());
  if (event.type == SDL_DROPFILE || event.type == SDL_DROPTEXT) SDL_free(event.drop.file);
  switch (message.kind) {
    case MessageKind::kNone:
      break;
    case MessageKind::kTimer:
      platform::TimerMessageTaken();
      if (m_timerId != 0 && message.timerId == m_timerToken && m_pApp != nullptr) {
        m_pApp->OnTimer(message.ticks / 1000.0);
      }
      break;
    case MessageKind::kQuit:
      // A request to end the process (SIGTERM, session end) closes the main
      // window as the user would.
      if (m_quitPending) break;
      if (m_pMainWnd != nullptr && m_pMainWnd->HasNativeWindow()) {
        m_pMainWnd->Dispatch(WindowMessage{.kind = MessageKind::kClose});
      } else {
        PostQuit(0);
      }
      break;
    default:
      if (GLWindowEx* window = CompanionOf(message.windowId)) window->Dispatch(message);
      break;
  }
  return true;
}

bool Main::PaintNextWindow() {
  for (GLWindowEx* window : m_windows) {
    if (window->NeedsPaint()) {
      window->Paint();
      return true;
    }
  }
  return false;
}

void Main::IdlePass() {
  if (m_pApp != nullptr) m_pApp->OnIdle();
  for (int i = 0; i < GetWndCount(); ++i) {
    m_windows[static_cast<std::size_t>(i)]->m_pOwner->OnIdle();
  }
}

// --- entry points ----------------------------------------------------------

namespace quarn {

int RunWindowedProgram(int argc, char** argv) {
  Trace("WinMain\n");
  Main::Instance()->SetConsole(false);
  return Main::Instance()->Execute(argc, argv);
}

int RunConsoleProgram(int argc, char** argv) {
  Trace("main\n");
  Main::Instance()->SetConsole(true);
  return Main::Instance()->Execute(argc, argv);
}

}  // namespace quarn
