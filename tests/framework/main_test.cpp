#include "main.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "fassert.h"
#include "format.h"
#include "recording_window.h"

namespace quarn::fw::test {
namespace {

class TraceOn {
 public:
  TraceOn() { SetTraceLevel(1); }
  ~TraceOn() { SetTraceLevel(0); }
};

TEST(Registry, FirstWindowIsMainAndNullIsRefused) {
  RecordingWindow first;
  RecordingWindow second;
  Main* main = Main::Instance();
  EXPECT_FALSE(main->AddWnd(nullptr));
  EXPECT_EQ(main->GetWndCount(), 2);
  EXPECT_EQ(main->GetWnd(0), first.GetExtra());
  EXPECT_EQ(main->GetWnd(1), second.GetExtra());
  EXPECT_EQ(main->GetWnd(2), nullptr);
  EXPECT_EQ(main->GetWnd(-1), nullptr);
  EXPECT_TRUE(first.IsMainWindow());
  EXPECT_FALSE(second.IsMainWindow());
  second.MakeMainWindow();
  EXPECT_TRUE(second.IsMainWindow());
}

TEST(Registry, DelWndReportsTheRemainingCountAlsoForUnknownWindows) {
  RecordingWindow window;
  struct Case {
    const char* name;
    GLWindowEx* removed;
    std::string trace;
  };
  GLWindowEx* stranger = reinterpret_cast<GLWindowEx*>(std::uintptr_t{0x1234});
  char erased[64];
  std::snprintf(erased, sizeof erased, "Main: DelWnd erased window 0x%08lX\n",
                reinterpret_cast<unsigned long>(window.GetExtra()));
  const Case cases[] = {
      {"unknown", stranger, "Main: 1 windows remain\n"},
      {"null", nullptr, "Main: 1 windows remain\n"},
      {"registered", window.GetExtra(), std::string(erased) + "Main: 0 windows remain\n"},
      {"already removed", window.GetExtra(), "Main: 0 windows remain\n"},
  };
  TraceOn trace;
  for (const Case& c : cases) {
    testing::internal::CaptureStdout();
    Main::Instance()->DelWnd(c.removed);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.trace) << c.name;
  }
  // Registered again so that the window's destructor finds itself.
  Main::Instance()->AddWnd(window.GetExtra());
}

// A removed main window used to stay reachable as a dangling main-window pointer.
TEST(Registry, RemovedMainWindowIsNoLongerMain) {
  auto first = std::make_unique<RecordingWindow>();
  RecordingWindow second;
  first.reset();
  EXPECT_EQ(Main::Instance()->GetMainWnd(), nullptr);
  EXPECT_FALSE(second.IsMainWindow());
}

TEST(Timer, IntervalIsClampedAndOnlyChangedRequestsRestart) {
  Main* main = Main::Instance();
  struct Step {
    unsigned requested;
    unsigned stored;
    bool restarted;
  };
  // 5 ms runs at 10; asking for the stored 10 changes nothing, asking for
  // 5 again restarts it; 0 stops it.
  const Step steps[] = {{5, 10, true},  {10, 10, false}, {5, 10, true}, {1, 10, true},
                        {9, 10, true},  {25, 25, true},  {25, 25, false}, {0, 0, true},
                        {0, 0, false}};
  int previousId = main->GetTimerId();
  for (const Step& step : steps) {
    main->SetTimer(step.requested);
    EXPECT_EQ(main->GetTimerInterval(), step.stored) << "request " << step.requested;
    EXPECT_EQ(main->GetTimerId() != previousId, step.restarted) << "request " << step.requested;
    EXPECT_EQ(main->GetTimerId() != 0, step.stored != 0) << "request " << step.requested;
    previousId = main->GetTimerId();
  }
}

TEST(Timer, TicksReachOnTimerOnTheLoopThreadInSeconds) {
  RecordingApp app;
  RecordingWindow window;
  const std::thread::id loopThread = std::this_thread::get_id();
  int ticks = 0;
  double firstSeconds = -1.0;
  app.onTimer = [&](double seconds) {
    EXPECT_EQ(std::this_thread::get_id(), loopThread);
    if (ticks++ == 0) firstSeconds = seconds;
    if (ticks == 3) PostClose(window, 0);
  };
  window.idleLimit = 1 << 30;  // the timer ends this loop
  const double before = SDL_GetTicks() / 1000.0;
  Main::Instance()->SetTimer(10);
  EXPECT_EQ(Main::Instance()->Execute(0, nullptr), 0);
  EXPECT_GE(ticks, 3);  // a tick may still come between the close and the quit
  EXPECT_GE(firstSeconds, before);
  EXPECT_LT(firstSeconds, before + 5.0);
  // Execute stops the timer when the loop ends.
  EXPECT_EQ(Main::Instance()->GetTimerInterval(), 0u);
}

TEST(Execute, HooksRunAroundTheLoopAndTheClosingCodeIsReturned) {
  RecordingApp app;
  RecordingWindow window;
  window.onCreate = [&] { PostClose(window, 7); };
  EXPECT_EQ(Main::Instance()->Execute(0, nullptr), 7);
  EXPECT_EQ(app.log, (std::vector<std::string>{"app create", "app destroy"}));
  EXPECT_EQ(window.Count("create"), 1);
}

TEST(Execute, ClosingAnotherWindowOnlyHidesIt) {
  RecordingApp app;
  RecordingWindow mainWindow;
  RecordingWindow other;
  other.onCreate = [&] { other.Close(); };
  int idleAfterHide = 0;
  mainWindow.onIdle = [&] {
    if (!other.IsVisible() && ++idleAfterHide == 3) PostClose(mainWindow, 4);
  };
  EXPECT_EQ(Main::Instance()->Execute(0, nullptr), 4);
  EXPECT_TRUE(other.GetExtra()->HasNativeWindow());
  EXPECT_FALSE(other.IsVisible());
  EXPECT_EQ(idleAfterHide, 3);
}

TEST(Execute, MainWindowClosedByThePlatformEndsWithCodeZero) {
  RecordingApp app;
  RecordingWindow window;
  window.onCreate = [] {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  };
  EXPECT_EQ(Main::Instance()->Execute(0, nullptr), 0);
  EXPECT_FALSE(window.IsVisible());
}

class ExecuteDeathTest : public testing::Test {
 protected:
  ExecuteDeathTest() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Death-test output is matched on standard error; the framework prints to
// standard output, so the child sends one into the other.
void StdoutToStderr() {
  std::fflush(stdout);
  dup2(STDERR_FILENO, STDOUT_FILENO);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
}

TEST_F(ExecuteDeathTest, SecondApplicationObjectEndsTheProcess) {
  EXPECT_EXIT(
      {
        StdoutToStderr();
        RecordingApp first;
        RecordingApp second;
      },
      testing::ExitedWithCode(1), "Error: more than one application instance defined!\n");
}

// Used to end with 0, reporting the failure as success.
TEST_F(ExecuteDeathTest, NoWindowsIsAFailure) {
  EXPECT_EXIT(
      {
        StdoutToStderr();
        RecordingApp app;
        std::exit(RunWindowedProgram(0, nullptr));
      },
      testing::ExitedWithCode(1), "No windows were created, exiting.\n");
}

TEST_F(ExecuteDeathTest, NoWindowsInConsoleModeFailsSilently) {
  EXPECT_EXIT(
      {
        StdoutToStderr();
        RecordingApp app;
        const int code = RunConsoleProgram(0, nullptr);
        std::fprintf(stderr, "code %d\n", code);
        std::exit(code);
      },
      testing::ExitedWithCode(1), "^code 1\n$");
}

// Used to enter a loop that nothing could end.
TEST_F(ExecuteDeathTest, FailedMainWindowEndsExecuteWithAnError) {
  EXPECT_EXIT(
      {
        StdoutToStderr();
        // A driver without OpenGL: the window cannot be created.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        RecordingApp app;
        RecordingWindow window;
        const int code = Main::Instance()->Execute(0, nullptr);
        std::fprintf(stderr, "code %d creates %d\n", code, window.Count("create"));
        std::exit(code);
      },
      testing::ExitedWithCode(1), "Failed to set pixel format\n.*code 1 creates 0\n");
}

// Windows that are static objects of the program go after function-local
// statics; their destruction used to restore contexts through a destroyed stack.
TEST_F(ExecuteDeathTest, StaticWindowOutlivingTheLoopIsDestroyedCleanly) {
  EXPECT_EXIT(
      {
        static RecordingApp app;
        static RecordingWindow window;
        window.onCreate = [] { PostClose(window, 0); };
        std::exit(Main::Instance()->Execute(0, nullptr));
      },
      testing::ExitedWithCode(0), "");
}

TEST(Execute, WithoutApplicationAssertsAndFails) {
  static int failures = 0;
  static std::string expression;
  const AssertHandler previous = SetAssertHandler([](const char* text, const char*, int) {
    ++failures;
    expression = text;
  });
  EXPECT_EQ(Main::Instance()->Execute(0, nullptr), 1);
  SetAssertHandler(previous);
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(expression, "m_pApp!=NULL");
}

}  // namespace
}  // namespace quarn::fw::test
