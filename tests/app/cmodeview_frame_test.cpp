#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/cbasewindow.h"
#include "app/cmodeview.h"
#include "building/cbuilding.h"
#include "render/ctextureset.h"
#include "support/gl_test_context.h"
#include "texturefiles.h"
#include "view_colours.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A main window stand-in for the view's help text; without a native window
// the text draws nothing.
class TextlessWindow : public CBaseWindow {
 public:
  void Draw() override {}
};

using quarn::test::Pixel;

// One frame of the view as the window draws it, read back before the swap.
class Frame {
 public:
  explicit Frame(CModeView& view) {
    glClear(GL_COLOR_BUFFER_BIT);
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    TextlessWindow window;
    view.Draw(window);
    glFinish();
    pixels.resize(static_cast<std::size_t>(kWidth) * kHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  }

  // Origin top-left, as on the screen.
  Pixel At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(kHeight - 1 - y) * kWidth + x) * 3;
    return {pixels[i], pixels[i + 1], pixels[i + 2]};
  }

  // Distinct colours in the building's part of the frame, each channel in
  // steps of 8.
  int BuildingColours() const {
    std::set<int> colours;
    for (int y = kBuilding.y0; y < kBuilding.y1; ++y) {
      for (int x = kBuilding.x0; x < kBuilding.x1; ++x) {
        const Pixel p = At(x, y);
        colours.insert((p.r / 8) << 10 | (p.g / 8) << 5 | (p.b / 8));
      }
    }
    return static_cast<int>(colours.size());
  }

  // Pixels of the building's part of the frame that pass test.
  template <typename Test>
  int InBuilding(Test test) const {
    return Count(kBuilding, test);
  }

  // Pixels of the bottom of the frame, in front of the building, that pass test.
  template <typename Test>
  int InForeground(Test test) const {
    return Count({0, 500, kWidth, kHeight}, test);
  }

 private:
  struct Area {
    int x0, y0, x1, y1;
  };
  // Where the camera of the test sees the 15 x 15 building.
  static constexpr Area kBuilding{200, 150, 760, 360};

  template <typename Test>
  int Count(const Area& area, Test test) const {
    int count = 0;
    for (int y = area.y0; y < area.y1; ++y) {
      for (int x = area.x0; x < area.x1; ++x) count += test(At(x, y)) ? 1 : 0;
    }
    return count;
  }


  std::vector<std::uint8_t> pixels;
};

// One context for every style: the texture set is loaded once per process
// and its textures belong to the context that loaded them.
TEST(ViewFrame, EveryStyleShowsTheBuilding) {
  quarn::test::GlTestContext context(kWidth, kHeight);
  ASSERT_TRUE(context.IsReady());
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("quarn_view_frame_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "tex");
  ASSERT_EQ(quarn::tools::WriteTextureFiles(folder / "tex", quarn::tools::TextureFiles(64, 64)),
            std::filesystem::path());
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);

  CModeView view;
  view.Init();
  view.Build(TList<CPolygon2>(CPolygon2({{0, 0}, {0, 15}, {15, 15}, {15, 0}})));
  view.SetStep(STEP_BUDGET_UNLIMITED);
  // Fly closer and look down on the building.
  CMouseState mouse;
  CKeySet keys;
  mouse.Press(4);
  mouse.SetPosition(0, 79);
  view.Update(mouse, keys);
  mouse.EndFrame();
  mouse.Release(4);
  mouse.Press(1);
  mouse.SetPosition(0, 79 + 50);
  view.Update(mouse, keys);
  mouse.EndFrame();
  mouse.Release(1);

  std::vector<Frame> frames;  // frames[0] is style 1
  for (int style = 1; style <= 4; ++style) {
    keys.Press(static_cast<char>('0' + style));
    view.Update(mouse, keys);
    keys.ClearPressed();
    view.Enter();
    frames.emplace_back(view);
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);

  const auto red = quarn::test::IsRed;
  const auto yellow = quarn::test::IsYellow;
  const auto green = quarn::test::IsGreen;
  const auto wall = quarn::test::IsWallColour;
  const auto grass = quarn::test::IsGrass;

  // Style 1, the plan: room outlines in palette colours, no walls, no ground.
  EXPECT_GT(frames[0].InBuilding(red), 500);
  EXPECT_GT(frames[0].InBuilding(yellow), 500);
  EXPECT_GT(frames[0].InBuilding(green), 500);
  EXPECT_EQ(frames[0].InBuilding(wall), 0);
  EXPECT_EQ(frames[0].InForeground(grass), 0);
  // Style 2, wireframe walls in the wall colour, no room colours, no ground.
  EXPECT_GT(frames[1].InBuilding(wall), 1000);
  EXPECT_EQ(frames[1].InBuilding(red), 0);
  EXPECT_EQ(frames[1].InForeground(grass), 0);
  // Style 3, solid walls on the ground; the front wall faces the camera.
  EXPECT_TRUE(wall(frames[2].At(480, 310)));
  EXPECT_GT(frames[2].InBuilding(wall), 20000);
  EXPECT_GT(frames[2].InForeground(grass), 40000);
  // Style 4, the same walls textured: many colours where style 3 has few.
  EXPECT_FALSE(wall(frames[3].At(480, 310)));
  EXPECT_LT(frames[3].InBuilding(wall), 1000);
  EXPECT_GT(frames[3].BuildingColours(), 2 * frames[2].BuildingColours());
  EXPECT_GT(frames[3].InForeground(grass), 40000);
}

}  // namespace
