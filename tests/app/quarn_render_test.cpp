// Runs the built quarn-render: for each style, pixels where the view has
// them, and its errors.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "texturefiles.h"
#include "view_colours.h"

namespace {

namespace fs = std::filesystem;

using namespace quarn::test;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<stbi_uc> rgb;

  // Pixels in rows from..to (top first) that pass test, as a share of them.
  double Share(int fromRow, int toRow, const std::function<bool(Pixel)>& test) const {
    int count = 0;
    for (int y = fromRow; y < toRow; ++y) {
      for (int x = 0; x < width; ++x) {
        const stbi_uc* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        count += test({p[0], p[1], p[2]}) ? 1 : 0;
      }
    }
    return static_cast<double>(count) / ((toRow - fromRow) * width);
  }
  double Share(const std::function<bool(Pixel)>& test) const { return Share(0, height, test); }
};

// The night sky: dark, blue before red and green, or a star.
bool IsSky(Pixel p) {
  return (p.b >= p.r && p.b >= p.g && p.r < 120) || (p.r > 150 && p.g > 150 && p.b > 150);
}

class QuarnRenderTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("quarn-render-" + std::to_string(getpid()) + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "tex");
    // Small textures in the working directory keep the runs short.
    ASSERT_EQ(quarn::tools::WriteTextureFiles(dir_ / "tex", quarn::tools::TextureFiles(64, 64)),
              fs::path());
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Exit code; standard error in err.
  int Run(const std::string& args, std::string& err, const std::string& environment = "") {
    const std::string command = "cd '" + dir_.string() + "' && " + environment + " '" +
                                QUARN_RENDER_PATH + "' " + args + " >/dev/null 2>.stderr";
    const int status = std::system(command.c_str());
    std::ifstream in(dir_ / ".stderr");
    std::ostringstream text;
    text << in.rdbuf();
    err = text.str();
    fs::remove(dir_ / ".stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Example(const std::string& name) const {
    return "'" + (fs::path(QUARN_SOURCE_DIR) / "examples" / name).string() + "'";
  }

  // The four pictures of --style all.
  std::vector<Picture> RenderAll(const std::string& args) {
    std::string err;
    EXPECT_EQ(Run("--style all -o view.png " + args, err), 0) << err;
    std::vector<Picture> pictures;
    for (int style = 1; style <= 4; ++style) {
      Picture picture;
      int channels = 0;
      const fs::path path = dir_ / ("view-" + std::to_string(style) + ".png");
      stbi_uc* data = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 3);
      EXPECT_NE(data, nullptr) << path;
      if (data) {
        picture.rgb.assign(data, data + picture.width * picture.height * 3);
        stbi_image_free(data);
      }
      pictures.push_back(picture);
    }
    return pictures;
  }

  fs::path dir_;
};

// The start camera stands south of the building looking north, level: the
// horizon halves the frame.
TEST_F(QuarnRenderTest, StartCameraShowsSkyAboveAndGroundBelowInStylesThreeAndFour) {
  const std::vector<Picture> styles = RenderAll("--camera start --size 160x120 " + Example("square.quarn"));
  ASSERT_EQ(styles.size(), 4u);
  for (int style = 1; style <= 4; ++style) {
    SCOPED_TRACE(style);
    const Picture& picture = styles[static_cast<std::size_t>(style - 1)];
    ASSERT_EQ(picture.width, 160);
    ASSERT_EQ(picture.height, 120);
    EXPECT_GT(picture.Share(0, 20, IsSky), 0.95);
    EXPECT_EQ(picture.Share(0, 20, IsGrass), 0.0);
    if (style >= 3) {
      EXPECT_GT(picture.Share(100, 120, IsGrass), 0.95);
    } else {
      EXPECT_EQ(picture.Share(100, 120, IsGrass), 0.0);
    }
  }
}

// The fitted camera looks down on the L: its rooms in palette colours in
// style 1, the walls in the wall colour in 2 and 3, brick in 4.
TEST_F(QuarnRenderTest, FitCameraShowsTheBuildingInEveryStyle) {
  const std::vector<Picture> styles = RenderAll("--size 320x240 " + Example("l-shape.quarn"));
  ASSERT_EQ(styles.size(), 4u);
  EXPECT_GT(styles[0].Share(IsRed), 0.002);
  EXPECT_GT(styles[0].Share(IsYellow), 0.002);
  EXPECT_GT(styles[0].Share(IsGreen), 0.002);
  EXPECT_EQ(styles[0].Share(IsWallColour), 0.0);
  EXPECT_GT(styles[1].Share(IsWallColour), 0.02);
  EXPECT_EQ(styles[1].Share(IsRed), 0.0);
  EXPECT_GT(styles[2].Share(IsWallColour), 0.05);
  EXPECT_GT(styles[2].Share(IsGrass), 0.2);
  EXPECT_LT(styles[3].Share(IsWallColour), styles[2].Share(IsWallColour) / 4);
  EXPECT_GT(styles[3].Share(IsGrass), 0.2);
}

// The three storeys of the L stand on each other, so the solid style shows
// more wall than one storey does; finished, the same stack gains its
// entrance and stairs.
TEST_F(QuarnRenderTest, StoreysStandStackedFinishedOrNot) {
  const std::string args = "--size 320x240 " + Example("l-shape.quarn");
  const std::vector<Picture> one = RenderAll("--storeys 1 " + args);
  const std::vector<Picture> design = RenderAll("--storeys 3 " + args);
  const std::vector<Picture> finished = RenderAll("--finished --storeys 3 " + args);
  ASSERT_EQ(one.size(), 4u);
  ASSERT_EQ(design.size(), 4u);
  ASSERT_EQ(finished.size(), 4u);
  EXPECT_GT(design[2].Share(IsWallColour), one[2].Share(IsWallColour) * 1.2);
  EXPECT_NE(finished[3].rgb, design[3].rgb);
}

TEST_F(QuarnRenderTest, ErrorsAreOneLineWithExitCodeOne) {
  std::ofstream(dir_ / "bad.quarn") << "(0,0)(0,5)(5,5)*\n";
  struct Case {
    const char* name;
    std::string environment;
    std::string args;
    const char* says;
  };
  for (const Case& c :
       {Case{"no GL context", "SDL_VIDEODRIVER=dummy", "-o x.png " + Example("square.quarn"),
             "no OpenGL context"},
        Case{"unwritable output", "", "-o missing/x.png " + Example("square.quarn"), "missing"},
        Case{"bad outline", "", "-o x.png bad.quarn", "bad.quarn:1"}}) {
    std::string err;
    EXPECT_EQ(Run(c.args, err, c.environment), 1) << c.name;
    EXPECT_TRUE(err.starts_with("quarn-render: ")) << c.name << ": " << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.name << ": " << err;
    EXPECT_NE(err.find(c.says), std::string::npos) << c.name << ": " << err;
    EXPECT_FALSE(fs::exists(dir_ / "x.png")) << c.name;
  }
}

}  // namespace
