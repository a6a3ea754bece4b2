#include "glwindow.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "contextstack.h"
#include "format.h"
#include "recording_window.h"

namespace quarn::fw::test {
namespace {

// Runs the registered windows; the tests' hooks end the loop.
int RunLoop() { return Main::Instance()->Execute(0, nullptr); }

std::vector<std::string> WithoutRepeats(const std::vector<std::string>& log) {
  std::vector<std::string> result;
  for (const std::string& entry : log) {
    if (result.empty() || result.back() != entry) result.push_back(entry);
  }
  return result;
}

TEST(WindowLifecycle, ResizeThenOneCreateThenDisplayAfterIdle) {
  RecordingApp app;
  RecordingWindow window;
  int displays = 0;
  window.onIdle = [&] { window.Redraw(); };
  window.onDisplay = [&] {
    if (++displays == 3) PostClose(window, 0);
  };
  EXPECT_EQ(RunLoop(), 0);
  EXPECT_EQ(WithoutRepeats(window.log),
            (std::vector<std::string>{"resize 320x240", "create", "display"}));
  EXPECT_EQ(window.Count("create"), 1);
  EXPECT_EQ(displays, 3);
}

TEST(WindowLifecycle, SecondCreateMessageDuringOnCreateOnlyWarns) {
  RecordingApp app;
  RecordingWindow window;
  window.onCreate = [&] {
    testing::internal::CaptureStdout();
    SetTraceLevel(1);
    window.GetExtra()->Dispatch(WindowMessage{.kind = MessageKind::kCreate});
    SetTraceLevel(0);
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_NE(trace.find("WM_CREATE(hwnd="), std::string::npos) << trace;
    EXPECT_NE(trace.find("warning: create message received during OnCreate\n"), std::string::npos)
        << trace;
    PostClose(window, 0);
  };
  EXPECT_EQ(RunLoop(), 0);
  EXPECT_EQ(window.Count("create"), 1);
}

TEST(WindowLifecycle, SetSizeRunsOnResizeAtOnceAndOnlyForChanges) {
  RecordingApp app;
  RecordingWindow window;
  window.onCreate = [&] {
    window.log.clear();
    window.SetSize(800, 600);
    EXPECT_EQ(window.log, std::vector<std::string>{"resize 800x600"});
    window.SetSize(800, 600);
    EXPECT_EQ(window.log.size(), 1u);
    EXPECT_EQ(window.GetWidth(), 800);
    EXPECT_EQ(window.GetHeight(), 600);
    PostClose(window, 0);
  };
  EXPECT_EQ(RunLoop(), 0);
  // The size event SDL queues for the change adds no second call.
  EXPECT_EQ(window.Count("resize 800x600"), 1);
}

// Grown before its first frame, a window the platform placed is centred on
// its display again; after that a size that stays on the display keeps the
// window's place.
TEST(WindowLifecycle, SizeBeforeTheFirstFrameCentresTheWindow) {
  RecordingApp app;
  RecordingWindow window;
  SDL_Rect display{};
  int x = 0, y = 0;
  window.onCreate = [&] {
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &display), 0) << SDL_GetError();
    window.SetSize(800, 600);
    window.GetPosition(x, y);
    EXPECT_EQ(x, display.x + (display.w - 800) / 2);
    EXPECT_EQ(y, display.y + (display.h - 600) / 2);
  };
  window.onDisplay = [&] {
    window.SetSize(640, 480);
    int afterX = 0, afterY = 0;
    window.GetPosition(afterX, afterY);
    EXPECT_EQ(afterX, x);
    EXPECT_EQ(afterY, y);
    PostClose(window, 0);
  };
  EXPECT_EQ(RunLoop(), 0);
}

TEST(WindowLifecycle, DestroyingTheWindowObjectRunsTheBaseOnDestroy) {
  auto window = std::make_unique<RecordingWindow>();
  {
    RecordingApp app;
    window->onCreate = [&] { PostClose(*window, 0); };
    EXPECT_EQ(RunLoop(), 0);
  }
  // The closed main window is gone from the screen, its context still alive.
  ASSERT_TRUE(window->GetExtra()->HasNativeWindow());
  EXPECT_FALSE(window->IsVisible());
  char expected[256];
  std::snprintf(expected, sizeof expected,
                "~GLWindow\nMain: DelWnd erased window 0x%08lX\nMain: 0 windows remain\n"
                "GLWindow::OnDestroy 0x%08lX\n",
                reinterpret_cast<unsigned long>(window->GetExtra()),
                reinterpret_cast<unsigned long>(window.get()));
  SetTraceLevel(1);
  testing::internal::CaptureStdout();
  window.reset();
  SetTraceLevel(0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
}

// Every window creation used to push a level on the context stack that was
// never popped; from the 17th window on, handlers restored no context.
TEST(WindowLifecycle, TwentyWindowsInTurnEachDrawWithTheirOwnContext) {
  RecordingApp app;
  const int depth = TheContextStack().Depth();
  for (int i = 0; i < 20; ++i) {
    auto window = std::make_unique<RecordingWindow>();
    GLWindowEx& extra = *window->GetExtra();
    ASSERT_TRUE(extra.Create()) << i;
    EXPECT_EQ(TheContextStack().Depth(), depth) << i;
    const GLubyte red = static_cast<GLubyte>(10 * i + 5);
    GLubyte pixel[4] = {};
    window->onDisplay = [&] {
      EXPECT_EQ(SDL_GL_GetCurrentContext(), extra.m_context) << i;
      glClearColor(red / 255.0f, 0.0f, 0.0f, 1.0f);
      glClear(GL_COLOR_BUFFER_BIT);
      glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    };
    extra.Invalidate();
    extra.Paint();
    EXPECT_EQ(pixel[0], red) << i;
    EXPECT_EQ(SDL_GL_GetCurrentContext(), extra.m_context) << "restored after the handler, " << i;
    window.reset();
    EXPECT_EQ(TheContextStack().Depth(), depth) << i;
  }
}

// Mouse and key events pushed as the platform would deliver them.
void PushMotion(std::uint32_t windowId, int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = windowId;
  event.motion.x = x;
  event.motion.y = y;
  SDL_PushEvent(&event);
}

void PushButton(std::uint32_t windowId, Uint8 button, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.windowID = windowId;
  event.button.button = button;
  SDL_PushEvent(&event);
}

void PushKey(std::uint32_t windowId, SDL_Scancode scancode, SDL_Keycode keycode, bool down,
             bool repeat) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.windowID = windowId;
  event.key.repeat = repeat ? 1 : 0;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = keycode;
  SDL_PushEvent(&event);
}

TEST(WindowInput, EventsReachTheHandlersInClientCoordinatesFromTheBottomLeft) {
  RecordingApp app;
  RecordingWindow window;
  window.SetSize(800, 600);
  window.onCreate = [&] {
    const std::uint32_t id = SDL_GetWindowID(window.GetExtra()->m_window);
    window.log.clear();
    PushMotion(id, 5, 0);
    PushMotion(id, 6, 599);
    PushButton(id, SDL_BUTTON_LEFT, true);
    PushButton(id, SDL_BUTTON_RIGHT, false);
    PushKey(id, SDL_SCANCODE_SPACE, SDLK_SPACE, true, false);
    PushKey(id, SDL_SCANCODE_SPACE, SDLK_SPACE, true, true);
    PushKey(id, SDL_SCANCODE_SPACE, SDLK_SPACE, false, false);
    PushKey(id, SDL_SCANCODE_F10, SDLK_F10, true, false);
    PushKey(id, SDL_SCANCODE_X, SDLK_x, true, false);
    PostClose(window, 0);
  };
  EXPECT_EQ(RunLoop(), 0);
  EXPECT_EQ(window.log, (std::vector<std::string>{"move 5,599", "move 6,0", "button 0 down",
                                                   "button 2 up", "key 32 down", "key 32 down",
                                                   "key 32 up", "key 88 down"}));
}

TEST(WindowInput, EventsOfUnknownWindowsAreIgnored) {
  RecordingApp app;
  RecordingWindow window;
  window.onCreate = [&] {
    window.log.clear();
    PushMotion(SDL_GetWindowID(window.GetExtra()->m_window) + 100, 1, 1);
    PostClose(window, 0);
  };
  EXPECT_EQ(RunLoop(), 0);
  EXPECT_TRUE(window.log.empty()) << window.log.front();
}

TEST(WindowProperties, AspectRatioAndSizeClamp) {
  RecordingWindow window;
  struct Case {
    int width, height;
    int storedWidth, storedHeight;
    double aspect;
  };
  for (const Case& c : {Case{800, 600, 800, 600, 800.0 / 600.0}, Case{100, 0, 100, 0, 1.0},
                        Case{-5, 50, 0, 50, 0.0}, Case{30, -1, 30, 0, 1.0}}) {
    window.SetSize(c.width, c.height);
    EXPECT_EQ(window.GetWidth(), c.storedWidth);
    EXPECT_EQ(window.GetHeight(), c.storedHeight);
    EXPECT_DOUBLE_EQ(window.GetAspectRatio(), c.aspect);
  }
}

TEST(WindowProperties, TitleAndExtensionQueries) {
  RecordingApp app;
  RecordingWindow window;
  EXPECT_FALSE(window.SetTitle(nullptr));
  EXPECT_TRUE(window.SetTitle("before creation"));
  EXPECT_FALSE(window.HasExtension("GL_ARB_multitexture"));  // no context yet
  window.onCreate = [&] {
    EXPECT_STREQ(SDL_GetWindowTitle(window.GetExtra()->m_window), "before creation");
    EXPECT_TRUE(window.SetTitle("QUARN"));
    EXPECT_STREQ(SDL_GetWindowTitle(window.GetExtra()->m_window), "QUARN");
    EXPECT_TRUE(window.HasExtension("GL_ARB_multitexture"));
    EXPECT_FALSE(window.HasExtension("GL_ARB_multi"));
    EXPECT_FALSE(window.HasExtension(""));
    PostClose(window, 0);
  };
  EXPECT_EQ(RunLoop(), 0);
}

TEST(WindowProperties, FullscreenCoversTheDisplayAndReturnsToTheWindowedSize) {
  RecordingApp app;
  RecordingWindow window;
  EXPECT_TRUE(window.SetFullscreen(true));  // stored for the creation
  EXPECT_FALSE(window.IsFullscreen());
  window.onCreate = [&] {
    // The offscreen driver may know no display size yet: then 640 x 480 is assumed.
    int displayWidth = 640, displayHeight = 480;
    const bool displayKnown = platform::GetDisplaySize(displayWidth, displayHeight);
    EXPECT_TRUE(window.IsFullscreen());
    EXPECT_EQ(window.GetWidth(), displayWidth);
    EXPECT_EQ(window.GetHeight(), displayHeight);
    EXPECT_TRUE(window.SetFullscreen(true));  // already so
    EXPECT_TRUE(window.SetFullscreen(false));
    EXPECT_FALSE(window.IsFullscreen());
    EXPECT_EQ(window.GetWidth(), 320);  // the windowed size from before
    EXPECT_EQ(window.GetHeight(), 240);
    // Switching on needs the display's size.
    EXPECT_EQ(window.SetFullscreen(true), displayKnown);
    EXPECT_EQ(window.IsFullscreen(), displayKnown);
    PostClose(window, 0);
  };
  EXPECT_EQ(RunLoop(), 0);
}

TEST(WindowProperties, StayOnTopAndCursorKinds) {
  RecordingApp app;
  RecordingWindow window;
  EXPECT_TRUE(window.SetStayOnTop(true));
  EXPECT_FALSE(window.IsStayOnTop());  // read from the native window
  window.onCreate = [&] {
    EXPECT_TRUE(window.IsStayOnTop());
    EXPECT_TRUE(window.SetStayOnTop(false));
    EXPECT_FALSE(window.IsStayOnTop());
    for (int kind : {2, 3, 0, 1}) {
      window.SetCursor(kind);
      EXPECT_EQ(window.GetCursor(), kind);
    }
    PostClose(window, 0);
  };
  EXPECT_EQ(RunLoop(), 0);
}

TEST(PixelFormat, SettersFollowTheirRules) {
  RecordingApp app;
  RecordingWindow window;
  struct Case {
    const char* name;
    int bits;
    bool accepted;
    int stored;
  };
  for (const Case& c : {Case{"too small", -1, false, 32}, Case{"too large", 256, false, 32},
                        Case{"largest", 255, true, 255}, Case{"usual", 24, true, 24}}) {
    EXPECT_EQ(window.SetDepthBits(c.bits), c.accepted) << c.name;
    EXPECT_EQ(window.GetDepthBits(), c.stored) << c.name;
  }
  EXPECT_TRUE(window.SetDoubleBuffer(false));
  EXPECT_FALSE(window.GetDoubleBuffer());
  EXPECT_TRUE(window.SetDoubleBuffer(true));
  EXPECT_TRUE(window.SetStereo(true));
  EXPECT_TRUE(window.GetStereo());
  EXPECT_TRUE(window.SetStereo(false));
  // The offscreen driver draws into single-buffered surfaces only.
  EXPECT_TRUE(window.SetDoubleBuffer(false));
  int creates = 0;
  window.onCreate = [&] {
    if (++creates == 1) {
      testing::internal::CaptureStdout();
      // Inside OnCreate every setter refuses, the stencil one included (it
      // used to pull the window away under its own handler); the
      // explanation is shown once.
      EXPECT_FALSE(window.SetAlphaBits(8));
      EXPECT_FALSE(window.SetStencilBits(8));
      EXPECT_FALSE(window.SetDepthBits(16));
      const std::string shown = testing::internal::GetCapturedStdout();
      EXPECT_EQ(shown,
                "Error: You cannot change pixel format in GLWindow::OnCreate\n(cannot change "
                "depth/alpha/stencil/accum bits, or any setting\nthat would recreate the window)\n");
      EXPECT_EQ(window.GetStencilBits(), 0);
      EXPECT_EQ(window.GetAlphaBits(), 0);
      EXPECT_TRUE(window.SetDepthBits(24));  // unchanged: fine even here
      return;
    }
    PostClose(window, 0);
  };
  window.onIdle = [&] {
    if (creates == 1 && window.GetStencilBits() == 0) {
      // Outside OnCreate a change recreates the window; a new OnCreate follows.
      EXPECT_TRUE(window.SetStencilBits(8));
      EXPECT_EQ(window.GetStencilBits(), 8);
      EXPECT_TRUE(window.GetExtra()->HasNativeWindow());
    }
  };
  EXPECT_EQ(RunLoop(), 0);
  EXPECT_EQ(creates, 2);
  EXPECT_EQ(window.Count("destroy"), 1);
}

}  // namespace
}  // namespace quarn::fw::test
