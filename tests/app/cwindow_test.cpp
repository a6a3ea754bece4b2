#include "app/cwindow.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "support/gl_test_context.h"
#include "texturefiles.h"

namespace {

// The main window without a native one, drawing into the test's GL context:
// frames run through OnDisplay as the framework runs them.
class WindowDriver {
 public:
  WindowDriver() {
    window.GetInput().Init();
    window.GetInput().Enter();
    window.OnMouseMove(position.x, position.y);
    window.OnDisplay();  // a frame without input ends the pointer's first move
  }
  // Lets the rasteriser's threads finish before the context goes.
  ~WindowDriver() { glFinish(); }

  // Frames as in the editor tests: "x,y" drags the cursor towards a grid
  // point and presses SPACE; "K+" is an auto-repeat of the held key K (a
  // key-down without key-up); "~" is a frame without input; any other
  // token is a key pressed in a frame of its own. Returns the mode after
  // each frame: I input, V view.
  std::string Run(const std::string& script) {
    std::string modes;
    std::istringstream frames(script);
    for (std::string frame; frames >> frame;) {
      if (frame == "~") {
      } else if (frame.size() == 2 && frame[1] == '+') {
        window.OnKeyboard(frame[0], true);
      } else if (frame.size() == 1) {
        window.OnKeyboard(frame[0], true);
        window.OnKeyboard(frame[0], false);
      } else {
        const std::size_t comma = frame.find(',');
        const CPoint2 target(std::stoi(frame.substr(0, comma)), std::stoi(frame.substr(comma + 1)));
        window.OnMouseButton(0, true);
        position += (target - window.GetInput().GetCursor()) * 32;
        window.OnMouseMove(position.x, position.y);
        window.OnKeyboard(' ', true);
      }
      window.OnDisplay();
      window.OnMouseButton(0, false);
      modes += window.GetCurrentMode() == &window.GetView() ? 'V' : 'I';
    }
    return modes;
  }

  CWindow window;
  CPoint2 position{400, 300};
};

class MainWindow : public quarn::test::GlTest {};

const std::string kSquare = "0,0 0,5 5,5 5,0 0,0 ";

struct SwitchCase {
  const char* name;
  std::string script;
  const char* modes;
  std::uint32_t step;
  int style;
};

TEST_F(MainWindow, XSwitchesBetweenOutlineAndView) {
  const SwitchCase cases[] = {
      {"X without a closed loop stays", "X 0,0 0,5 X", "IIII", 0, 1},
      {"X with a closed loop builds", kSquare + "X", "IIIIIV", 0, 1},
      {"X in the view returns", kSquare + "X X", "IIIIIVI", 0, 1},
      {"P steps only in the view", kSquare + "P X P P", "IIIIIIVVV", 2, 1},
      {"return and X again rebuild at step 0", kSquare + "X P P X X", "IIIIIVVVIV", 0, 1},
      {"the style persists", kSquare + "X 3 X X", "IIIIIVVIV", 0, 3},
      {"keys of one frame stay in that frame", kSquare + "X X 4 X", "IIIIIVIIV", 0, 1},
  };
  for (const SwitchCase& c : cases) {
    WindowDriver driver;
    EXPECT_EQ(driver.Run(c.script), c.modes) << c.name;
    EXPECT_EQ(driver.window.GetView().GetStep(), c.step) << c.name;
    EXPECT_EQ(driver.window.GetView().GetRenderStyle(), c.style) << c.name;
  }
}

// Home and End arrive as the virtual keys 36 ('$') and 35 ('#').
TEST_F(MainWindow, HomeEndAndHeldKeysStepTheView) {
  const std::string square = "0,0 0,15 15,15 15,0 0,0 X ";
  constexpr std::uint32_t kLast = 9;  // the 15 x 15 square takes 9 design decisions
  const struct {
    const char* name;
    std::string script;
    std::uint32_t step;
  } cases[] = {
      {"End goes to the last step", square + "#", kLast},
      {"P after End goes on counting", square + "# P", kLast + 1},
      {"Home goes back to step 0", square + "P P $", 0},
      {"End from a later step comes back to the last", square + "# P P #", kLast},
      {"held P steps once per repeat", square + "P+ P+ ~ P+", 3},
      {"held O steps back once per repeat", square + "# O+ ~ O+", kLast - 2},
      {"held O stops at step 0", square + "P O+ O+ O+", 0},
      {"Home and End in the outline editor do nothing", "# $ 0,0", 0},
  };
  for (const auto& c : cases) {
    WindowDriver driver;
    driver.Run(c.script);
    EXPECT_EQ(driver.window.GetView().GetStep(), c.step) << c.name;
  }
}

TEST_F(MainWindow, TheOutlineSurvivesTheVisitToTheView) {
  WindowDriver driver;
  CWindow& window = driver.window;
  driver.Run(kSquare + "7,2 X");
  const TList<CPolygon2> before = window.GetInput().GetAllLoops();
  EXPECT_EQ(driver.Run("P X"), "VI");
  EXPECT_EQ(window.GetInput().GetAllLoops().GetSize(), before.GetSize());
  EXPECT_EQ(window.GetInput().GetAllLoops()[0], before[0]);
  EXPECT_EQ(window.GetInput().GetAllLoops()[1], before[1]);
  EXPECT_FALSE(window.GetInput().IsComplete());
  EXPECT_EQ(window.GetView().GetBuildings().specs.GetSize(), 1) << "only the closed loop";
}

TEST_F(MainWindow, ResizingSnapsBackTo800x600) {
  WindowDriver driver;
  CWindow& window = driver.window;
  for (const bool inView : {false, true}) {
    if (inView) driver.Run(kSquare + "X");
    window.OnResize(321, 123);
    EXPECT_EQ(window.GetWidth(), 800) << inView;
    EXPECT_EQ(window.GetHeight(), 600) << inView;
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800) << inView;
    EXPECT_EQ(viewport[3], 600) << inView;
  }
}

// Opening an outline file with the application: created in a folder with
// its textures, the window's editor holds the file's loop.
TEST_F(MainWindow, CreationLoadsTheOutlineFileOpenedAtStart) {
  namespace fs = std::filesystem;
  const fs::path outline = fs::absolute("examples/square.quarn");
  const fs::path folder = fs::temp_directory_path() / ("quarn-open-" + std::to_string(::getpid()));
  fs::create_directories(folder / "tex");
  ASSERT_EQ(quarn::tools::WriteTextureFiles(folder / "tex", quarn::tools::TextureFiles(8, 8)),
            fs::path());
  const fs::path previous = fs::current_path();
  fs::current_path(folder);
  CWindow window;
  window.OpenAtStart(outline);
  window.OnCreate();
  fs::current_path(previous);
  fs::remove_all(folder);
  EXPECT_EQ(window.GetInput().GetAllLoops().GetSize(), 1);
  EXPECT_EQ(window.GetCurrentMode(), &window.GetInput());
}

}  // namespace
