#include "app/cmodeview.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "export/gltfwriter.h"
#include "support/file_size_limit.h"
#include "support/gl_test_context.h"

namespace {

CPolygon2 Square(int x, int y, int size) {
  return CPolygon2({{x, y}, {x, y + size}, {x + size, y + size}, {x + size, y}});
}

// A view with one 15 x 15 building, driven frame by frame.
class ViewDriver {
 public:
  ViewDriver() { view.Build(TList<CPolygon2>(Square(0, 0, 15))); }

  // One frame per character: each character is the key pressed in it.
  void Keys(const std::string& frames) {
    for (const char key : frames) {
      keys.Press(key);
      Frame();
    }
  }

  // One frame in which the pointer moves by (dx, dy) with the buttons held.
  void Drag(std::uint8_t buttons, int dx, int dy) {
    mouse.Press(buttons);
    position += CPoint2(dx, dy);
    mouse.SetPosition(position.x, position.y);
    Frame();
    mouse.Release(buttons);
  }

  CModeView view;

 private:
  void Frame() {
    view.Update(mouse, keys);
    mouse.EndFrame();
    keys.ClearPressed();
  }

  CMouseState mouse;
  CKeySet keys;
  CPoint2 position{0, 0};
};

struct StepCase {
  const char* keys;
  std::uint32_t step;
};

TEST(CModeView, PAndOStepTheDesign) {
  const StepCase cases[] = {
      {"", 0},   {"P", 1},    {"PPP", 3},   {"PPO", 1}, {"O", 0},   {"OOP", 1},
      {"POO", 0}, {"pp", 2},  {"\x70", 1},  {"PXP", 2}, {"P1P", 2}, {"Q", 0},
  };
  for (const StepCase& c : cases) {
    ViewDriver driver;
    driver.Keys(c.keys);
    EXPECT_EQ(driver.view.GetStep(), c.step) << c.keys;
    EXPECT_EQ(driver.view.GetBuildings().step, c.step) << c.keys;
  }
}

// The rooms of every storey of every building, as their wall outlines.
std::string Plan(const CModeView& view) {
  std::string plan;
  const TList<TList<CFloor>>& buildings = view.GetBuildings().buildings;
  for (int b = 0; b < buildings.GetSize(); ++b) {
    for (int f = 0; f < buildings[b].GetSize(); ++f) {
      const CFloor& floor = buildings[b][f];
      plan += "[";
      for (int r = 0; r < floor.rooms.GetSize(); ++r) {
        std::ostringstream room;
        room << floor.rooms[r].GetWallOutline();
        plan += room.str();
      }
      plan += "]";
    }
  }
  return plan;
}

TEST(CModeView, EachStepRegeneratesTheSamePlanAsDirectGeneration) {
  ViewDriver stepped;
  std::string previous = Plan(stepped.view);
  EXPECT_EQ(previous, "[]") << "no room at step 0";
  for (std::uint32_t step = 1; step <= 4; ++step) {
    stepped.Keys("P");
    CModeView direct;
    direct.Build(TList<CPolygon2>(Square(0, 0, 15)));
    direct.SetStep(step);
    EXPECT_EQ(Plan(stepped.view), Plan(direct)) << step;
    EXPECT_NE(Plan(stepped.view), previous) << "step " << step << " changes the plan";
    previous = Plan(stepped.view);
  }
  stepped.Keys("OOOO");
  EXPECT_EQ(Plan(stepped.view), "[]") << "back to step 0";
}

TEST(CModeView, BuildMakesOneBuildingPerLoopInLoopOrder) {
  CModeView view;
  TList<CPolygon2> loops;
  loops.Add(Square(0, 0, 10));
  loops.Add(Square(20, 0, 14));
  view.SetStep(3);
  view.Build(loops);
  EXPECT_EQ(view.GetStep(), 0u);
  const quarn::BuildingSet& set = view.GetBuildings();
  ASSERT_EQ(set.specs.GetSize(), 2);
  ASSERT_EQ(set.buildings.GetSize(), 2);
  EXPECT_EQ(set.specs[0].outline, Square(0, 0, 10));
  EXPECT_EQ(set.specs[1].outline, Square(20, 0, 14));
  EXPECT_EQ(set.buildings[0].GetSize(), 1) << "one storey";
  EXPECT_EQ(set.buildings[1].GetSize(), 1) << "one storey";
}

struct StyleCase {
  const char* keys;
  int style;
};

TEST(CModeView, DigitKeysPickTheStyle) {
  const StyleCase cases[] = {
      {"", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"41", 1}, {"05", 1}, {"3\x61", 3}, {"4P", 4},
  };
  for (const StyleCase& c : cases) {
    ViewDriver driver;
    driver.Keys(c.keys);
    EXPECT_EQ(driver.view.GetRenderStyle(), c.style) << c.keys;
  }
}

// The view starts with the design; B switches to the finished buildings
// and back, whatever else is pressed.
TEST(CModeView, BSwitchesBetweenTheDesignAndTheFinishedBuildings) {
  const std::pair<const char*, bool> cases[] = {{"", false}, {"B", true}, {"BB", false}, {"BP3", true}};
  for (const auto& [keys, finished] : cases) {
    ViewDriver driver;
    driver.Keys(keys);
    EXPECT_EQ(driver.view.IsFinished(), finished) << keys;
  }
}

TEST(CModeView, StyleSurvivesANewBuild) {
  ViewDriver driver;
  driver.Keys("3");
  driver.view.Build(TList<CPolygon2>(Square(0, 0, 8)));
  EXPECT_EQ(driver.view.GetRenderStyle(), 3);
}

TEST(CModeView, XRequestsTheReturn) {
  ViewDriver driver;
  driver.Keys("P2");
  EXPECT_FALSE(driver.view.IsReturnRequested());
  driver.Keys("x");
  EXPECT_TRUE(driver.view.IsReturnRequested());
}

// E lands every building as shown in user.glb and says so; when the file
// cannot be written (no room for it) it says why, and the earlier file,
// the folder and the view stay as they were.
TEST(CModeView, EExportsTheBuildingsAsShownToUserGlb) {
  const std::filesystem::path previous = std::filesystem::current_path();
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("quarn_view_export_" + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  const auto contents = [] {
    std::ostringstream text;
    text << std::ifstream("user.glb", std::ios::binary).rdbuf();
    return text.str();
  };

  ViewDriver driver;
  driver.view.SetStep(60);
  const auto press = [&driver](char key) {
    std::ostringstream told;
    std::streambuf* const standardOutput = std::cout.rdbuf(told.rdbuf());
    driver.Keys(std::string(1, key));
    std::cout.rdbuf(standardOutput);
    return told.str();
  };
  EXPECT_EQ(press('E'), "Exported the building to user.glb\n");
  const std::string written = contents();
  std::string shown, problem;
  ASSERT_TRUE(
      quarn::WriteGlb(quarn::BuildScene(driver.view.GetBuildings().buildings, {}), shown, problem))
      << problem;
  driver.view.SetStep(STEP_BUDGET_UNLIMITED);
  {
    const quarn::test::FileSizeLimit full(64);
    EXPECT_EQ(press('E'),
              "Could not export the building: cannot write 'user.glb': File too large\n");
  }

  EXPECT_TRUE(written == shown) << "user.glb holds the buildings at the step shown";
  EXPECT_EQ(contents(), written);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(driver.view.GetStep(), STEP_BUDGET_UNLIMITED);
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);
}

struct CameraCase {
  const char* name;
  std::uint8_t buttons;
  int dx;
  int dy;
  float heading;
  float pitch;
  CVector3 position;
};

// The texture set only reports a missing file; the view keeps the
// design's answer to it. The first file is missing, so the process ends
// before any GL call. Its message goes to standard output, read here
// through standard error.
TEST(CModeViewDeathTest, AMissingTextureEndsTheProcessNamingIt) {
  const std::filesystem::path empty =
      std::filesystem::temp_directory_path() / ("quarn-no-textures-" + std::to_string(getpid()));
  std::filesystem::create_directories(empty);
  EXPECT_EXIT(
      {
        std::freopen("/dev/null", "r", stdin);
        std::cout.rdbuf(std::cerr.rdbuf());
        std::filesystem::current_path(empty);
        CModeView().Init();
      },
      testing::ExitedWithCode(1), "The filename tex/grass.bmp does not exist, stupid!");
  std::filesystem::remove_all(empty);
}

TEST(CModeView, DraggingTurnsOrFliesTheCamera) {
  const CameraCase cases[] = {
      {"no button", 0, 50, 50, 0, 0, CVector3(5, -80, 10)},
      {"left turns", 1, 50, 25, 20, 10, CVector3(5, -80, 10)},
      {"right flies forward when dragged up", 4, 50, 10, 0, 0, CVector3(5, -73, 10)},
      {"right flies back when dragged down", 4, 0, -10, 0, 0, CVector3(5, -87, 10)},
      {"both only turn", 5, 50, 25, 20, 10, CVector3(5, -80, 10)},
      {"middle does nothing", 2, 50, 25, 0, 0, CVector3(5, -80, 10)},
  };
  for (const CameraCase& c : cases) {
    ViewDriver driver;
    driver.Drag(c.buttons, c.dx, c.dy);
    const CCamera& camera = driver.view.GetCamera();
    if (c.heading != 0) {
      EXPECT_NEAR(camera.GetHeading(), c.heading, 1e-3) << c.name;
    }
    EXPECT_NEAR(camera.GetPitch(), c.pitch, 1e-3) << c.name;
    EXPECT_NEAR(camera.GetPosition().x, c.position.x, 1e-3) << c.name;
    EXPECT_NEAR(camera.GetPosition().y, c.position.y, 1e-3) << c.name;
    EXPECT_NEAR(camera.GetPosition().z, c.position.z, 1e-3) << c.name;
  }
}

}  // namespace

namespace {

class ViewGl : public quarn::test::GlTest {};

struct ResizeCase {
  int width;
  int height;
  GLint viewportWidth;
  GLint viewportHeight;
};

TEST_F(ViewGl, ResizeSetsAPerspectiveForAnEvenSize) {
  const ResizeCase cases[] = {
      {800, 600, 800, 600}, {801, 601, 802, 602}, {800, 0, 800, 1}, {7, 3, 8, 4}, {2, 1, 2, 2},
  };
  const double cotangent = 1 / std::tan(20 * 3.14159265358979 / 180);
  for (const ResizeCase& c : cases) {
    CModeView view;
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1, 2, 3);  // replaced, not multiplied
    view.Resize(c.width, c.height);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], c.viewportWidth) << c.width << "x" << c.height;
    EXPECT_EQ(viewport[3], c.viewportHeight) << c.width << "x" << c.height;
    GLdouble m[16] = {};
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double aspect = static_cast<double>(c.viewportWidth) / c.viewportHeight;
    EXPECT_NEAR(m[5], cotangent, 1e-6) << "40 degrees vertically";
    EXPECT_NEAR(m[0], cotangent / aspect, 1e-6) << c.width << "x" << c.height;
    EXPECT_NEAR(m[10], -10000.1 / 9999.9, 1e-6) << "near 0.1, far 10000";
    EXPECT_NEAR(m[14], -2000.0 / 9999.9, 1e-6) << "near 0.1, far 10000";
    EXPECT_NEAR(m[12], 0, 1e-9);
  }
}

TEST_F(ViewGl, EnterResetsTheVisitButKeepsStyleAndCamera) {
  ViewDriver driver;
  driver.Keys("3PPX");
  driver.Drag(1, 10, 0);
  driver.view.Enter();
  EXPECT_FALSE(driver.view.IsReturnRequested());
  EXPECT_EQ(driver.view.GetStep(), 0u);
  EXPECT_EQ(driver.view.GetRenderStyle(), 3);
  EXPECT_NEAR(driver.view.GetCamera().GetHeading(), 4, 1e-4);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  GLfloat shininess = 0;
  glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
  EXPECT_EQ(shininess, 16.0f);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 800);
  EXPECT_EQ(viewport[3], 600);
}

}  // namespace
