#pragma once

// The process-wide side of the window framework. App is the base of the
// program's application object; Main, a singleton created on first use and
// deleted at process exit, holds that object, the registry of windows, the
// periodic timer and the message loop.
//
// One thread: the loop, every handler, the idle pass and the timer's
// OnTimer all run on the thread that calls Main::Execute.

#include <vector>

class GLWindowEx;

// Base of the application object. Constructing it registers it with Main; a
// second application object ends the process with exit code 1.
class App {
 public:
  App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Before the windows are created.
  virtual void OnCreate();
  // Whenever the message queue is empty, before the windows' OnIdle.
  virtual void OnIdle();
  // Each tick of Main's timer; seconds since the platform started.
  virtual void OnTimer(double seconds);
  // After the message loop has ended.
  virtual void OnDestroy();
  virtual ~App();
};

class Main {
 public:
  // The singleton, created on first call.
  static Main* Instance();
  virtual ~Main();
  Main(const Main&) = delete;
  Main& operator=(const Main&) = delete;

  // Called by App's constructor and destructor.
  void SetApp(App* app);
  void ClearApp(App* app);
  App* GetApp() const { return m_pApp; }

  // Registry of windows in registration order. The first window added to an
  // empty registry becomes the main window. AddWnd refuses null.
  bool AddWnd(GLWindowEx* window);
  void DelWnd(GLWindowEx* window);
  int GetWndCount() const { return static_cast<int>(m_windows.size()); }
  // Null outside 0 .. count - 1.
  GLWindowEx* GetWnd(int index) const;
  GLWindowEx* GetMainWnd() const { return m_pMainWnd; }
  void SetMainWnd(GLWindowEx* window) { m_pMainWnd = window; }

  // Prepares the platform for windows; done once, true when it worked.
  bool RegisterWindowClass();

  void SetConsole(bool console) { m_console = console; }
  bool IsConsole() const { return m_console; }

  // 0 stops the timer; other intervals are raised to at least 10 ms and
  // (re)start it. Asking for the stored interval changes nothing.
  void SetTimer(unsigned intervalMs);
  unsigned GetTimerInterval() const { return m_timerInterval; }
  int GetTimerId() const { return m_timerId; }

  // Formats like printf (1023 characters at most, longer texts show
  // nothing) and shows a box captioned "Message"; in console mode, without
  // a display, or where the box cannot be shown, writes the text to
  // standard output instead, as a box would block a process nobody watches.
  void MessageBox(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Runs the application: App::OnCreate, native creation of every window,
  // the message loop until the main window closes, App::OnDestroy. Returns
  // the exit code: the code posted with the close, or 1 when no window or
  // no main window could be created.
  int Execute(int argc, char** argv);

  // Makes the running message loop end with exitCode once no events wait.
  void PostQuit(int exitCode);

  int GetArgc() const { return m_argc; }
  char** GetArgv() const { return m_argv; }

 private:
  Main();
  int RunMessageLoop();
  // Takes one waiting platform event and handles it; false when none waits.
  bool DispatchNextEvent();
  bool PaintNextWindow();
  void IdlePass();

  App* m_pApp = nullptr;
  unsigned short m_classAtom = 0;
  int m_argc = 0;
  char** m_argv = nullptr;
  std::vector<GLWindowEx*> m_windows;
  bool m_console = false;
  GLWindowEx* m_pMainWnd = nullptr;
  int m_timerId = 0;
  unsigned m_timerInterval = 0;
  // Timer messages carry this; ticks of a stopped timer still queued differ.
  int m_timerToken = 0;
  bool m_quitPending = false;
  int m_quitCode = 0;
};

namespace quarn {

// Entry of a windowed program: leaves console mode and returns
// Main::Execute's exit code, so a program's main is
//   int main(int argc, char** argv) { return quarn::RunWindowedProgram(argc, argv); }
int RunWindowedProgram(int argc, char** argv);

// Entry of a console program: console mode, then Main::Execute.
int RunConsoleProgram(int argc, char** argv);

}  // namespace quarn
