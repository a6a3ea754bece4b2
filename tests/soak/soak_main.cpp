// quarn_soak: the real application, or one developer bench, driven through
// the platform's event queue by a seeded random stream of pointer moves,
// drags, button presses and key presses, one batch of events per frame.
// It runs in a fresh temporary folder (textures written there, files the
// modes save land there) and checks, besides what the sanitizers check:
// no assertion is reported, every closed loop of the outline editor passes
// the outline check on every frame, and resident memory ends less than 5 %
// above the highest it reached in the first half of the run. Prints the figures; exits 1 on a failed
// check.

#include <SDL2/SDL.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/capp.h"
#include "fassert.h"
#include "geom/outlinecheck.h"
#include "glwindowex.h"
#include "qassert.h"
#include "texturefiles.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kPixelsPerUnit = 32;  // of drag in the editor and the benches
constexpr std::uint8_t kLeft = SDL_BUTTON_LEFT;
constexpr std::uint8_t kRight = SDL_BUTTON_RIGHT;

int assertionCount = 0;

void CountCoreAssertion(const char* unit, int line) {
  ++assertionCount;
  std::fprintf(stderr, "soak: assertion failed: %s line %d\n", unit, line);
}

void CountFrameworkAssertion(const char* expression, const char* unit, int line) {
  ++assertionCount;
  std::fprintf(stderr, "soak: framework assertion failed: %s, %s line %d\n", expression, unit, line);
}

// Resident memory in KiB, all of it (what the growth check uses) and the
// part not backed by files, reported beside it: pages of the mapped
// libraries (the GL driver's compiler is large) come in whenever new code
// first runs, the rest is what the program holds.
struct Resident {
  long total = 0;
  long anonymous = 0;
};

Resident ResidentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0;
  long resident = 0;
  long shared = 0;
  statm >> size >> resident >> shared;
  const long pageKilobytes = sysconf(_SC_PAGESIZE) / 1024;
  return {resident * pageKilobytes, (resident - shared) * pageKilobytes};
}

// Queues events for the main window as the platform would deliver them.
class EventSource {
 public:
  void SetWindow(std::uint32_t id) { windowId = id; }

  // Pointer to (x, y) in window pixels, y down, kept inside the window.
  void MoveTo(int x, int y) {
    pointer = {std::clamp(x, 0, kWidth - 1), std::clamp(y, 0, kHeight - 1)};
    SDL_Event event{};
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.windowID = windowId;
    event.motion.x = pointer.x;
    event.motion.y = pointer.y;
    SDL_PushEvent(&event);
  }
  void Button(std::uint8_t button, bool down) {
    SDL_Event event{};
    event.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = windowId;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = pointer.x;
    event.button.y = pointer.y;
    SDL_PushEvent(&event);
  }
  void Key(SDL_Scancode scancode, std::uint16_t mod = KMOD_NONE) {
    for (const bool down : {true, false}) {
      SDL_Event event{};
      event.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
      event.key.windowID = windowId;
      event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
      event.key.keysym.scancode = scancode;
      event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
      event.key.keysym.mod = mod;
      SDL_PushEvent(&event);
    }
  }
  void Key(char key) { Key(ScancodeOf(key)); }

  CPoint2 Pointer() const { return pointer; }

  static SDL_Scancode ScancodeOf(char key) {
    if (key >= 'A' && key <= 'Z') return static_cast<SDL_Scancode>(SDL_SCANCODE_A + (key - 'A'));
    if (key == '0') return SDL_SCANCODE_0;
    if (key >= '1' && key <= '9') return static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (key - '1'));
    return SDL_SCANCODE_SPACE;
  }

 private:
  std::uint32_t windowId = 0;
  CPoint2 pointer{kWidth / 2, kHeight / 2};
};

// What the run saw, for the closing figures and the checks.
struct Figures {
  int frames = 0;
  int inputFrames = 0;
  int viewFrames = 0;
  int viewVisits = 0;
  std::array<bool, 5> stylesSeen{};
  std::uint32_t highestStep = 0;
  int mostLoops = 0;
  int badLoopFrames = 0;
  std::vector<Resident> resident;  // one sample per frame
};

// Chooses each frame's events. In the editor it mostly draws small
// rectangles (steering the drag by the cursor it sees, as a user would),
// mixed with random drags, vertex presses, removals, resets, saves, loads
// and stray keys; in the view it picks styles, steps, turns and flies the
// camera, and returns after a while. A bench gets random drags and its keys.
class Driver {
 public:
  Driver(CWindow& window, CMode* bench, int frames, std::uint32_t seed)
      : window(window), bench(bench), frameTarget(frames), random(seed) {}

  // One frame's events, or the close once every frame has run.
  void Frame() {
    if (figures.frames == 0) events.SetWindow(Main::Instance()->GetMainWnd()->GetNativeWindowId());
    if (figures.frames > 0) Observe();
    if (figures.frames == frameTarget) {
      if (!closing) CloseWindow();
      closing = true;
      return;
    }
    ++figures.frames;
    if (bench != nullptr) {
      BenchFrame();
    } else if (window.GetCurrentMode() == &window.GetView()) {
      ViewFrame();
    } else {
      InputFrame();
    }
  }

  const Figures& GetFigures() const { return figures; }

 private:
  int Roll(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
  bool Chance(int percent) { return Roll(1, 100) <= percent; }

  void Observe() {
    figures.resident.push_back(ResidentKilobytes());
    if (bench != nullptr) return;
    const bool inView = window.GetCurrentMode() == &window.GetView();
    if (inView) {
      ++figures.viewFrames;
      if (!wasInView) ++figures.viewVisits;
      figures.stylesSeen[static_cast<std::size_t>(window.GetView().GetRenderStyle())] = true;
      figures.highestStep = std::max(figures.highestStep, window.GetView().GetStep());
    } else {
      ++figures.inputFrames;
    }
    wasInView = inView;
    const TList<CPolygon2> loops = window.GetInput().GetLoops();
    figures.mostLoops = std::max(figures.mostLoops, loops.GetSize());
    for (int i = 0; i < loops.GetSize(); ++i) {
      if (!quarn::CheckOutline(loops[i]).IsValid()) {
        ++figures.badLoopFrames;
        break;
      }
    }
  }

  void CloseWindow() {
    SDL_Event event{};
    event.window.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = Main::Instance()->GetMainWnd()->GetNativeWindowId();
    SDL_PushEvent(&event);
  }

  // A drag of (dx, dy) pixels, y up as the modes see it: the button goes
  // down, the pointer moves, and the button stays down for the next frame
  // unless released. A pointer at the window's edge first jumps back to the
  // middle with the button up, so the whole move reaches the mode.
  void Drag(std::uint8_t button, int dx, int dy) {
    const CPoint2 at = events.Pointer();
    if (at.x + dx < 0 || at.x + dx >= kWidth || at.y - dy < 0 || at.y - dy >= kHeight) {
      if (held != 0) events.Button(held, false);
      held = 0;
      events.MoveTo(kWidth / 2, kHeight / 2);
      return;  // the drag follows next frame from the middle
    }
    if (held != button) {
      if (held != 0) events.Button(held, false);
      events.Button(button, true);
      held = button;
    }
    events.MoveTo(at.x + dx, at.y - dy);
  }

  void Release() {
    if (held != 0) events.Button(held, false);
    held = 0;
  }

  void StrayKey() {
    if (Chance(10)) {
      events.Key(static_cast<SDL_Scancode>(Roll(SDL_SCANCODE_A, SDL_SCANCODE_Z)), KMOD_LALT);
      return;
    }
    static constexpr std::array kOthers{SDL_SCANCODE_ESCAPE, SDL_SCANCODE_RETURN, SDL_SCANCODE_TAB,
                                        SDL_SCANCODE_F1,     SDL_SCANCODE_F5,     SDL_SCANCODE_F10,
                                        SDL_SCANCODE_F12,    SDL_SCANCODE_KP_0,   SDL_SCANCODE_KP_7,
                                        SDL_SCANCODE_LEFT,   SDL_SCANCODE_LSHIFT, SDL_SCANCODE_MINUS};
    if (Chance(40)) {
      events.Key(kOthers[static_cast<std::size_t>(Roll(0, kOthers.size() - 1))]);
    } else {
      events.Key(static_cast<SDL_Scancode>(Roll(SDL_SCANCODE_A, SDL_SCANCODE_0)));
    }
  }

  // --- the outline editor ---------------------------------------------------

  void InputFrame() {
    CModeInput& input = window.GetInput();
    if (!corners.empty()) return SteerRectangle(input);
    Release();
    const int loops = input.GetLoops().GetSize();
    const int pick = Roll(1, 100);
    if (pick <= 25 && input.GetCurrentLoop().GetSize() == 0) {
      StartRectangle(input);
    } else if (pick <= 45) {
      Drag(kLeft, Roll(-48, 48), Roll(-48, 48));
    } else if (pick <= 55) {
      events.MoveTo(Roll(0, kWidth - 1), Roll(0, kHeight - 1));
    } else if (pick <= 62) {
      events.Key(' ');
    } else if (pick <= 68) {
      events.Key('M');
    } else if (pick <= 70 || (pick <= 75 && loops > 4)) {
      events.Key('R');
    } else if (pick <= 74) {
      events.Key(Chance(50) ? 'S' : 'L');
    } else if (pick <= 84 && loops > 0) {
      events.Key('X');
    } else {
      StrayKey();
    }
  }

  // A clockwise rectangle of a few units from a grid point near the origin:
  // up, right, down, left, back to its first corner.
  void StartRectangle(const CModeInput& input) {
    const CPoint2 start(Roll(-12, 12), Roll(-10, 10));
    const int w = Roll(1, 6);
    const int h = Roll(1, 5);
    corners = {start, start + CPoint2(0, h), start + CPoint2(w, h), start + CPoint2(w, 0), start};
    tries = 0;
    SteerRectangle(input);
  }

  // Drags towards the next corner; once the cursor is on it, places it with
  // SPACE. Gives up after a few frames without reaching it (a refused
  // vertex, an edge the editor does not take).
  void SteerRectangle(const CModeInput& input) {
    const CPoint2 cursor = input.GetCursor();
    if (cursor == corners.front()) {
      events.Key(' ');
      corners.erase(corners.begin());
      tries = 0;
      return;
    }
    if (++tries > 6) {
      corners.clear();
      Release();
      return;
    }
    const CPoint2 step = (corners.front() - cursor) * kPixelsPerUnit;
    Drag(kLeft, step.x, step.y);
  }

  // --- the view -------------------------------------------------------------

  void ViewFrame() {
    const int pick = Roll(1, 100);
    if (pick <= 3) {
      Release();
      events.Key('X');
    } else if (pick <= 15) {
      Release();
      events.Key(static_cast<char>('0' + Roll(1, 4)));
    } else if (pick <= 25) {
      Release();
      events.Key(window.GetView().GetStep() > 30 || Chance(30) ? 'O' : 'P');
    } else if (pick <= 55) {
      Drag(Chance(50) ? kLeft : kRight, Roll(-40, 40), Roll(-40, 40));
    } else if (pick <= 65) {
      Release();
      events.MoveTo(Roll(0, kWidth - 1), Roll(0, kHeight - 1));
    } else if (pick <= 72) {
      StrayKey();
    } else {
      Release();  // a quiet frame
    }
  }

  // --- a bench --------------------------------------------------------------

  void BenchFrame() {
    static constexpr char kBenchKeys[] = " MROLZSNEWTQKJB0123456789";
    const int pick = Roll(1, 100);
    if (pick <= 40) {
      Drag(kLeft, Roll(-2, 2) * kPixelsPerUnit, Roll(-2, 2) * kPixelsPerUnit);
    } else if (pick <= 50) {
      Release();
      events.MoveTo(Roll(0, kWidth - 1), Roll(0, kHeight - 1));
    } else if (pick <= 90) {
      Release();
      // Reset now and then keeps the bench's shapes modest.
      const char key = Chance(4) ? 'R' : kBenchKeys[Roll(0, sizeof kBenchKeys - 2)];
      events.Key(key);
    } else {
      StrayKey();
    }
  }

  CWindow& window;
  CMode* bench;
  int frameTarget;
  std::mt19937 random;
  EventSource events;
  Figures figures;
  std::uint8_t held = 0;
  bool wasInView = false;
  bool closing = false;
  std::vector<CPoint2> corners;  // of the rectangle being drawn, next first
  int tries = 0;
};

// The application object with the soak's driver in its idle pass, which the
// loop runs once per frame when no event waits.
class SoakApp : public CApp {
 public:
  void Start(CMode* bench, int frames, std::uint32_t seed) {
    driver.emplace(GetWindow(), bench, frames, seed);
  }
  void OnIdle() override {
    CApp::OnIdle();
    if (driver) driver->Frame();
  }
  const Figures& GetFigures() const { return driver->GetFigures(); }

 private:
  std::optional<Driver> driver;
};

SoakApp theApp;

CMode* BenchNamed(CWindow& window, const std::string& name) {
  if (name == "box") return &window.GetTestBox2();
  if (name == "list") return &window.GetTestBox2List();
  if (name == "score") return &window.GetTestBox2ListScore();
  if (name == "polygon") return &window.GetTestPolygon2();
  return nullptr;
}

// The highest sample of the first half, the last sample, and the growth
// between them in percent. Against the first half's peak rather than one
// sample in the middle, so that a dip there (the allocator handing pages
// back) does not count as growth.
struct Growth {
  long peak = 0;
  long last = 0;
  double percent = 0;
};

Growth GrowthOverLastHalf(const std::vector<Resident>& samples, long Resident::*field) {
  if (samples.empty()) return {};
  long peak = 0;
  for (std::size_t i = 0; i <= samples.size() / 2; ++i) peak = std::max(peak, samples[i].*field);
  Growth growth{peak, samples.back().*field, 0};
  if (growth.peak > 0) {
    growth.percent = 100.0 * static_cast<double>(growth.last - growth.peak) / growth.peak;
  }
  return growth;
}

// Prints the figures and returns whether every check held.
bool Report(const Figures& figures, bool application, const std::string& what) {
  std::printf("soak %s: %d frames", what.c_str(), figures.frames);
  if (application) {
    std::printf(", input %d, view %d in %d visits, styles", figures.inputFrames, figures.viewFrames,
                figures.viewVisits);
    for (int style = 1; style <= 4; ++style) {
      if (figures.stylesSeen[static_cast<std::size_t>(style)]) std::printf(" %d", style);
    }
    std::printf(", highest step %u, most loops %d", figures.highestStep, figures.mostLoops);
  }
  std::printf(", assertions %d\n", assertionCount);
  const Growth total = GrowthOverLastHalf(figures.resident, &Resident::total);
  const Growth anonymous = GrowthOverLastHalf(figures.resident, &Resident::anonymous);
  std::printf("soak %s: resident KiB first-half peak %ld, last %ld (%+.2f %%); without file "
              "pages first-half peak %ld, last %ld (%+.2f %%)\n",
              what.c_str(), total.peak, total.last, total.percent, anonymous.peak,
              anonymous.last, anonymous.percent);
  const std::vector<Resident>& rss = figures.resident;
  std::printf("soak %s: resident KiB without file pages at each tenth:", what.c_str());
  for (std::size_t tenth = 1; tenth <= 10 && !rss.empty(); ++tenth) {
    std::printf(" %ld", rss[std::min(rss.size() - 1, rss.size() * tenth / 10)].anonymous);
  }
  std::printf("\n");
  bool passed = true;
  auto check = [&](bool holds, const char* failure) {
    if (!holds) std::printf("soak %s FAILED: %s\n", what.c_str(), failure);
    passed = passed && holds;
  };
  check(!rss.empty(), "no frame ran");
  check(assertionCount == 0, "assertions were reported");
  check(total.percent < 5.0, "resident memory grew by 5 % or more over the last half");
  if (application) {
    check(figures.badLoopFrames == 0, "a closed loop failed the outline check");
    const bool everyStyle = figures.stylesSeen[1] && figures.stylesSeen[2] &&
                            figures.stylesSeen[3] && figures.stylesSeen[4];
    check(figures.frames < 500 || (figures.viewVisits >= 2 && everyStyle && figures.highestStep > 0),
          "the run did not visit the view, every style and stepping");
  }
  std::fflush(stdout);
  return passed;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App cli("Drives QUARN with a seeded random stream of input events.", "quarn_soak");
  int frames = 1000;
  std::uint32_t seed = 1;
  std::string benchName;
  cli.add_option("--frames", frames, "frames to run")->check(CLI::PositiveNumber);
  cli.add_option("--seed", seed, "seed of the event stream");
  cli.add_option("--bench", benchName, "a developer bench instead of the application")
      ->check(CLI::IsMember(std::vector<std::string>{"box", "list", "score", "polygon"}));
  CLI11_PARSE(cli, argc, argv);

  // The software rasteriser draws on this thread: its worker threads' memory
  // arrives in steps at unpredictable frames and would blur the growth check.
  setenv("LP_NUM_THREADS", "0", 0);
  quarn::SetAssertHandler(&CountCoreAssertion);
  quarn::fw::SetAssertHandler(&CountFrameworkAssertion);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("quarn_soak_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "tex");
  if (!quarn::tools::WriteTextureFiles(folder / "tex", quarn::tools::TextureFiles(64, 64)).empty()) {
    std::printf("soak: cannot write the textures into %s\n", folder.c_str());
    return 1;
  }
  std::filesystem::current_path(folder);
  // The modes' own lines (help, results, load refusals) go to a file.
  std::ofstream modeOutput("mode-output.txt");
  std::streambuf* const standardOutput = std::cout.rdbuf(modeOutput.rdbuf());

  CWindow& window = theApp.GetWindow();
  CMode* const bench = BenchNamed(window, benchName);
  if (bench != nullptr) window.StartWithBench(*bench);
  theApp.Start(bench, frames, seed);
  const int code = quarn::RunWindowedProgram(argc, argv);

  std::cout.rdbuf(standardOutput);
  const bool passed = Report(theApp.GetFigures(), bench == nullptr,
                             bench != nullptr ? benchName : "application");
  std::filesystem::current_path(folder.parent_path());
  std::filesystem::remove_all(folder);
  if (code != 0) std::printf("soak: the application ended with code %d\n", code);
  return code == 0 && passed ? 0 : 1;
}
