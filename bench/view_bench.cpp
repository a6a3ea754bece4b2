// Frame times of the 3D view: the finished 128 x 128 square building drawn
// at 800 x 600 in each of the four styles, in a hidden window of the
// framework (SDL's offscreen driver unless a video driver is set). The
// building is generated once per run; the design trace is silenced.

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <string>

#include <unistd.h>

#include "app/cbasewindow.h"
#include "app/cmodeview.h"
#include "app/modedrawing.h"
#include "building/cbuilding.h"
#include "building/cboxscore.h"
#include "main.h"
#include "render/cwireframe.h"
#include "texturefiles.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSide = 128;

CPolygon2 Square(int side) { return CPolygon2({{0, 0}, {0, side}, {side, side}, {side, 0}}); }

// The view of the finished building, seen from above its front edge so
// that the building fills most of the frame.
class ViewWindow : public CBaseWindow {
 public:
  ViewWindow() { SetSize(kWidth, kHeight); }

  void OnCreate() override;
  void Draw() override { view.Draw(*textWindow); }

  // A frame of text alone, as the input mode draws before the view is
  // entered: the GL's first text is drawn without a scene, as in the
  // application.
  void InputModeFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawText(view, *this, 10, 20, "INPUT MODE");
    SwapBuffers();
    glFinish();
  }

  // One frame as the main window draws it, finished by the GL.
  void Frame() {
    OnDisplay();
    glFinish();
  }

  void PickStyle(int style) {
    const char key[2] = {static_cast<char>('0' + style), '\0'};
    view.Update(CMouseState(), CKeySet(key));
  }

  CModeView view;
  // The window the view writes its help text in.
  CBaseWindow* textWindow = this;

 private:
  // One frame of pointer movement (dx, dy) with the buttons of mask held.
  void Drag(std::uint8_t mask, int dx, int dy) {
    CMouseState mouse;
    mouse.Press(mask);
    mouse.EndFrame();
    mouse.SetPosition(dx, dy);
    view.Update(mouse, CKeySet());
  }
};

// A window that never gets a native one: text written in it draws nothing.
class TextlessWindow : public CBaseWindow {
 public:
  void Draw() override {}
};

ViewWindow* g_window = nullptr;

// Steady frames of style range(0), with the help text when range(1) is 1:
// the first frame of a style, which also prepares the GL's own state for
// it, is left out. Real time per frame (fps from it); the CPU time counts
// every thread, the GL's rasterising threads included, which a busy
// machine distorts less than the real time.
void BM_ViewFrame(benchmark::State& state) {
  g_window->PickStyle(static_cast<int>(state.range(0)));
  TextlessWindow textless;
  if (state.range(1) == 0) g_window->textWindow = &textless;
  g_window->Frame();
  for (auto _ : state) g_window->Frame();
  g_window->textWindow = g_window;
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                             benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ViewFrame)
    ->ArgsProduct({{1, 2, 3, 4}, {1, 0}})
    ->ArgNames({"style", "text"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// A design step of the view followed by its first frame: regeneration with
// the same budget and whatever the frame has to prepare after it.
void BM_ViewStepAndFrame(benchmark::State& state) {
  g_window->PickStyle(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    g_window->view.SetStep(g_window->view.GetStep());
    g_window->Frame();
  }
}
BENCHMARK(BM_ViewStepAndFrame)
    ->DenseRange(1, 4)
    ->ArgName("style")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The wireframe style's piece outlines of the finished building, made once
// per design step.
void BM_WireframeOfFloor(benchmark::State& state) {
  const TList<CFloor>& floors = g_window->view.GetBuildings().buildings[0];
  for (auto _ : state) benchmark::DoNotOptimize(CWireframe(floors[0]).GetLineCount());
  state.counters["lines"] = static_cast<double>(CWireframe(floors[0]).GetLineCount());
}
BENCHMARK(BM_WireframeOfFloor)->Unit(benchmark::kMillisecond);

void ViewWindow::OnCreate() {
  InputModeFrame();
  view.Init();
  view.Build(TList<CPolygon2>(Square(kSide)));
  view.Enter();
  view.SetStep(STEP_BUDGET_UNLIMITED);
  // Climb to (5, -60, 110) looking up steeply, then turn towards the
  // building's centre and look down on it.
  Drag(1, 0, -197);
  Drag(4, 0, 146);
  Drag(1, 64, 294);
  g_window = this;
  benchmark::RunSpecifiedBenchmarks();
  g_window = nullptr;
  Close();
}

class BenchApp : public App {};

// The view loads its textures from tex/ under the working directory: the
// run works in a temporary folder holding the application's textures.
bool EnterTextureFolder(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "tex");
  if (!quarn::tools::WriteTextureFiles(folder / "tex", quarn::tools::TextureFiles()).empty())
    return false;
  std::filesystem::current_path(folder);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("quarn_view_bench_" + std::to_string(getpid()));
  if (!EnterTextureFolder(folder)) {
    std::cerr << "view bench: cannot write the textures to " << folder << '\n';
    return 1;
  }
  BenchApp app;
  ViewWindow window;
  const int code = quarn::RunConsoleProgram(argc, argv);
  if (code != 0) std::cerr << "view bench: no GL window could be opened" << '\n';
  std::filesystem::current_path(folder.parent_path());
  std::filesystem::remove_all(folder);
  return code;
}
