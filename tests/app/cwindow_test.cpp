#include "app/cwindow.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "events.h"
#include "support/gl_test_context.h"
#include "support/scratch_folder.h"

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
  // point and presses SPACE; "k112" presses the key of that virtual-key
  // code; "K-" releases the key K; "K+" is an auto-repeat of the held key K (a
  // key-down without key-up); "~" is a frame without input; any other
  // token is a key pressed in a frame of its own. Returns the mode after
  // each frame: I input, V view.
  std::string Run(const std::string& script) {
    std::string modes;
    std::istringstream frames(script);
    for (std::string frame; frames >> frame;) {
      if (frame == "~") {
      } else if (frame[0] == 'k') {  // "k112": a key by its virtual-key code
        window.OnKeyboard(std::stoi(frame.substr(1)), true);
        window.OnKeyboard(std::stoi(frame.substr(1)), false);
      } else if (frame.size() == 2 && frame[1] == '+') {
        window.OnKeyboard(frame[0], true);
      } else if (frame.size() == 2 && frame[1] == '-') {
        window.OnKeyboard(frame[0], false);
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

// Every virtual-key code the framework delivers for a key without a
// character: function keys, the keypad's operators, Insert, Delete, Escape,
// ... Letters, digits (the keypad's too), the space bar and the navigation
// keys 33..40 are left out: they are commands.
std::vector<int> KeysWithoutACharacter() {
  std::set<int> codes;
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    SDL_Keysym keysym{};
    keysym.scancode = static_cast<SDL_Scancode>(scancode);
    const int code = quarn::fw::VirtualKeyOf(keysym);
    const bool command = (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') ||
                         code == ' ' || (code >= 33 && code <= 40) || (code >= 96 && code <= 105);
    if (code != 0 && !command) codes.insert(code);
  }
  return {codes.begin(), codes.end()};
}

// Function keys and the keypad once counted as the letters 32 below their
// codes: F3 as R (every loop gone), F4 as S, keypad 5 as E (files written).
TEST_F(MainWindow, KeysWithoutACharacterAreNoCommands) {
  const quarn::test::ScratchFolder scratch;
  const std::vector<int> codes = KeysWithoutACharacter();
  ASSERT_GE(codes.size(), 30u);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 112), 1) << "F1";
  const std::string twoLoops = kSquare + "7,0 7,5 12,5 12,0 7,0";
  for (const int code : codes) {
    WindowDriver driver;
    driver.Run(twoLoops);
    const TList<CPolygon2> before = driver.window.GetInput().GetAllLoops();
    const std::string key = "k" + std::to_string(code);
    EXPECT_EQ(driver.Run(key + " " + key), "II") << code;
    EXPECT_EQ(driver.window.GetInput().GetAllLoops().GetSize(), 3) << code;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(driver.window.GetInput().GetAllLoops()[i], before[i]) << code;
    }
    EXPECT_EQ(driver.Run("X " + key + " " + key), "VVV") << code;
    const quarn::BuildingSet& set = driver.window.GetView().GetBuildings();
    EXPECT_EQ(set.step, 0u) << code;
    EXPECT_EQ(set.revision, 1u) << code << ": built once, never regenerated";
    EXPECT_EQ(driver.window.GetView().GetRenderStyle(), 1) << code;
  }
  EXPECT_TRUE(std::filesystem::is_empty(scratch.folder)) << "no file written";
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

// The state the new keys change, compactly: in the view the settings (the
// selected one marked *), the storeys shown, the step and how often the
// buildings were made; in the editor the loops, their vertices and the undo
// steps left.
std::string StateOf(CWindow& window) {
  std::ostringstream state;
  if (window.GetCurrentMode() == &window.GetView()) {
    CModeView& view = window.GetView();
    const ViewSettings& settings = view.GetSettings();
    for (int item = 0; item < ViewSettings::kItemCount; ++item) {
      state << (item == settings.GetSelected() ? "*" : "")
            << settings.Line(static_cast<ViewSettings::Item>(item)).substr(0, 14) << ", ";
    }
    state << "shown " << view.GetShownStoreys() << ", step " << view.GetStep() << ", made "
          << view.GetBuildings().revision;
  } else {
    const TList<CPolygon2>& loops = window.GetInput().GetAllLoops();
    int vertices = 0;
    for (int i = 0; i < loops.GetSize(); ++i) vertices += loops[i].GetSize();
    state << "loops " << loops.GetSize() << ", vertices " << vertices << ", undo "
          << window.GetInput().GetUndoCount();
  }
  return state.str();
}

// Scripted frames for the keys of the settings block, the storeys and the
// editor's undo. Arrows and Page Up/Down arrive as their virtual-key codes:
// 37 Left, 38 Up, 39 Right, 40 Down, 33 Page Up, 34 Page Down.
TEST_F(MainWindow, NewKeysChangeTheirState) {
  const std::string view = "0,0 0,15 15,15 15,0 0,0 X ";
  const std::string start =
      "*room size 45, variance 0, storeys 1, seed 0 (no eff, programme hous, shown 1, step 0, made 1";
  const struct {
    const char* name;
    std::string setup;
    const char* keys;
    std::string before;
    std::string after;
  } cases[] = {
      {"Right raises the room size by 5", view, "k39", start,
       "*room size 50, variance 0, storeys 1, seed 0 (no eff, programme hous, shown 1, step 0, made 2"},
      {"Left lowers it", view, "k37", start,
       "*room size 40, variance 0, storeys 1, seed 0 (no eff, programme hous, shown 1, step 0, made 2"},
      {"Up on the first setting stays", view, "k38", start, start},
      {"Down selects the variance", view, "k40", start,
       "room size 45, *variance 0, storeys 1, seed 0 (no eff, programme hous, shown 1, step 0, made 1"},
      {"the variance takes its next value", view + "k40", "k39",
       "room size 45, *variance 0, storeys 1, seed 0 (no eff, programme hous, shown 1, step 0, made 1",
       "room size 45, *variance 10, storeys 1, seed 0, programme hous, shown 1, step 0, made 2"},
      {"storeys grow and are all shown", view + "k40 k40 P P", "k39",
       "room size 45, variance 0, *storeys 1, seed 0 (no eff, programme hous, shown 1, step 2, made 3",
       "room size 45, variance 0, *storeys 2, seed 0 (no eff, programme hous, shown 2, step 2, made 4"},
      {"after End, more storeys are designed to their end", view + "# k40 k40", "k39",
       "room size 45, variance 0, *storeys 1, seed 0 (no eff, programme hous, shown 1, step 9, made 2",
       "room size 45, variance 0, *storeys 2, seed 0 (no eff, programme hous, shown 2, step 18, made 3"},
      {"Page Down shows one storey less", view + "k40 k40 k39 k39", "k34",
       "room size 45, variance 0, *storeys 3, seed 0 (no eff, programme hous, shown 3, step 0, made 3",
       "room size 45, variance 0, *storeys 3, seed 0 (no eff, programme hous, shown 2, step 0, made 3"},
      {"Page Up stops at the top storey", view + "k40 k40 k39", "k33",
       "room size 45, variance 0, *storeys 2, seed 0 (no eff, programme hous, shown 2, step 0, made 2",
       "room size 45, variance 0, *storeys 2, seed 0 (no eff, programme hous, shown 2, step 0, made 2"},
      {"Page Down stops at the ground storey", view, "k34", start, start},
      {"R with variance 0 does not re-roll", view, "R", start, start},
      {"R re-rolls the seed", view + "k40 k39", "R",
       "room size 45, *variance 10, storeys 1, seed 0, programme hous, shown 1, step 0, made 2",
       "room size 45, *variance 10, storeys 1, seed 1, programme hous, shown 1, step 0, made 3"},
      {"Right on the programme types by the office, designing nothing anew",
       view + "k40 k40 k40 k40", "k39",
       "room size 45, variance 0, storeys 1, seed 0 (no eff, *programme hous, shown 1, step 0, made 1",
       "room size 45, variance 0, storeys 1, seed 0 (no eff, *programme offi, shown 1, step 0, made 1"},
      {"the programme stops at none", view + "k40 k40 k40 k40 k39 k39", "k39",
       "room size 45, variance 0, storeys 1, seed 0 (no eff, *programme none, shown 1, step 0, made 1",
       "room size 45, variance 0, storeys 1, seed 0 (no eff, *programme none, shown 1, step 0, made 1"},
      {"Left on seed 0 stays", view + "k40 k40 k40", "k37",
       "room size 45, variance 0, storeys 1, *seed 0 (no eff, programme hous, shown 1, step 0, made 1",
       "room size 45, variance 0, storeys 1, *seed 0 (no eff, programme hous, shown 1, step 0, made 1"},
      {"settings stay for the next visit", view + "k39 X", "X", "loops 2, vertices 4, undo 5",
       "*room size 50, variance 0, storeys 1, seed 0 (no eff, programme hous, shown 1, step 0, made 4"},
      {"U takes the last vertex back", "0,0 0,5 5,5", "U", "loops 1, vertices 3, undo 3",
       "loops 1, vertices 2, undo 2"},
      {"U undoes R", "0,0 0,5 5,5 5,0 0,0 R", "U", "loops 1, vertices 0, undo 6",
       "loops 2, vertices 4, undo 5"},
      {"U undoes M", "0,0 0,5 5,5 M", "U", "loops 1, vertices 2, undo 4",
       "loops 1, vertices 3, undo 3"},
      {"U without changes does nothing", "R", "U", "loops 1, vertices 0, undo 0",
       "loops 1, vertices 0, undo 0"},
  };
  for (const auto& c : cases) {
    WindowDriver driver;
    driver.Run(c.setup);
    EXPECT_EQ(StateOf(driver.window), c.before) << c.name;
    driver.Run(c.keys);
    EXPECT_EQ(StateOf(driver.window), c.after) << c.name;
  }
}

// F puts the camera where it looks at the buildings from closer than the
// start; W, A, S and D fly while held, and only then.
TEST_F(MainWindow, FFramesTheBuildingsAndHeldKeysFly) {
  WindowDriver driver;
  driver.Run("0,0 0,15 15,15 15,0 0,0 X");
  const CVector3 centre(7.5f, 7.5f, 0.75f);
  const auto distance = [&] {
    return GetDistance(driver.window.GetView().GetCamera().GetPosition(), centre);
  };
  const float start = distance();
  driver.Run("F");
  const float framed = distance();
  EXPECT_LT(framed, start / 2);
  EXPECT_GT(driver.window.GetView().GetCamera().GetPitch(), 0) << "looks down";
  const struct {
    const char* keys;
    int closer;  // 1 closer to the centre, -1 further, 0 the same
  } cases[] = {{"W+ ~ ~ W-", 1}, {"S+ ~ ~ S-", -1}, {"~ ~", 0}};
  for (const auto& c : cases) {
    driver.Run("F");
    driver.Run(c.keys);
    const float after = distance();
    EXPECT_EQ((after < framed - 1e-4f) - (after > framed + 1e-4f), c.closer) << c.keys;
  }
  driver.Run("F W+ ~ W-");
  const float released = distance();
  driver.Run("~ ~ ~");
  EXPECT_EQ(distance(), released) << "a released key stops";
}

// A dropped outline file loads as L loads it, as one change U can undo; from
// the view a file that loads returns to the editor, one that does not keeps
// everything as it was.
TEST_F(MainWindow, DroppedFilesLoadIntoTheEditor) {
  const quarn::test::ScratchFolder scratch;
  std::ofstream("square.quarn") << "(0,15)(15,15)(15,0)(0,0)*\n";
  std::ofstream("bad.quarn") << "(0,0)(5,5)*\n";
  WindowDriver driver;
  driver.Run(kSquare + "X");
  testing::internal::CaptureStdout();
  driver.window.OnDropFile("bad.quarn");
  EXPECT_EQ(driver.Run("~"), "V");
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_EQ(said.rfind("Could not load bad.quarn: line 1: ", 0), 0u) << said;
  EXPECT_EQ(StateOf(driver.window).substr(0, 14), "*room size 45,");

  driver.window.OnDropFile((scratch.folder / "square.quarn").string());
  EXPECT_EQ(driver.Run("~"), "I");
  EXPECT_EQ(driver.window.GetInput().GetLoops()[0].GetExtents(),
            CBox2(CPoint2(0, 0), CPoint2(15, 15)));
  EXPECT_EQ(StateOf(driver.window), "loops 2, vertices 4, undo 6");
  driver.Run("U");
  EXPECT_EQ(driver.window.GetInput().GetLoops()[0].GetExtents(),
            CBox2(CPoint2(0, 0), CPoint2(5, 5)));
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

}  // namespace
