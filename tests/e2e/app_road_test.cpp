#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "xsession.h"

namespace {

using quarn::e2e::ChildProcess;
using quarn::e2e::Command;
using quarn::e2e::CommandOutput;
using quarn::e2e::Image;
using quarn::e2e::Pause;
using quarn::e2e::Rgb;
using quarn::e2e::XvfbDisplay;

bool Matches(const Rgb& a, const Rgb& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

// Whether a pixel of the colour lies within radius of (x, y).
bool ColourNear(const Image& image, int x, int y, const Rgb& colour, int radius = 2) {
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const int px = x + dx;
      const int py = y + dy;
      if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
      if (Matches(image.At(px, py), colour, 24)) return true;
    }
  }
  return false;
}

// Pixels of the colour inside [x0, x1) x [y0, y1), clipped to the image.
int CountColour(const Image& image, int x0, int y0, int x1, int y1, const Rgb& colour,
                int tolerance = 24) {
  int count = 0;
  for (int y = std::max(y0, 0); y < std::min(y1, image.height); ++y) {
    for (int x = std::max(x0, 0); x < std::min(x1, image.width); ++x) {
      count += Matches(image.At(x, y), colour, tolerance) ? 1 : 0;
    }
  }
  return count;
}

// Pixels that differ between two pictures; -1 when their sizes differ.
int CountDifferences(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int count = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) count += Matches(a.At(x, y), b.At(x, y), 8) ? 0 : 1;
  }
  return count;
}

const Rgb kHelpText{204, 255, 0};
const Rgb kGrid{51, 51, 51};
const Rgb kFirstLoop{255, 0, 0};

// The application on its own display, with the texture files in its folder.
class ApplicationRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    shots = std::filesystem::path(QUARN_SCREENSHOT_FOLDER) / test->name();
    folder = std::filesystem::temp_directory_path() /
             ("quarn_e2e_" + std::to_string(getpid()) + "_" + test->name());
    std::filesystem::remove_all(shots);
    std::filesystem::create_directories(shots);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ChildProcess textures({QUARN_TEXTURES_TOOL, "tex"}, folder, folder / "textures.txt");
    ASSERT_EQ(textures.WaitForExit(600000), 0);
    ASSERT_TRUE(display.IsReady()) << "Xvfb did not start";
    app.emplace(std::vector<std::string>{QUARN_EXECUTABLE}, folder, folder / "output.txt");
    const auto found = CommandOutput("timeout 300 xdotool search --sync --name '^QUARN$'");
    ASSERT_TRUE(found.has_value()) << "no window titled QUARN";
    window = std::stoul(*found);
    // Grown to its full size before its first frame, the window must lie on
    // the screen by itself: there is no window manager to move it.
    ExpectOnScreen(60000);
    MoveTo(400, 300);
  }

  void TearDown() override { std::filesystem::remove_all(folder); }

  // Every input event gets frames of its own: the application reads the
  // mouse and keys once a frame, and the machine may be slow.
  static constexpr int kSettleMs = 700;

  void Xdo(const std::string& commands) {
    EXPECT_TRUE(Command("xdotool " + commands)) << commands;
    Pause(kSettleMs);
  }

  void Key(const std::string& key) { Xdo("key " + key); }

  // Waits until the window is 800 x 600, then expects it wholly on the
  // 1024 x 768 screen.
  void ExpectOnScreen(int timeoutMs) {
    int x = -1, y = -1, width = 0, height = 0;
    for (int waited = 0; waited <= timeoutMs; waited += 200) {
      const auto geometry = CommandOutput("xdotool getwindowgeometry " + std::to_string(window));
      if (geometry && std::sscanf(geometry->c_str(), "Window %*u Position: %d,%d (screen: %*d) "
                                                     "Geometry: %dx%d", &x, &y, &width,
                                  &height) == 4 && width == 800 && height == 600) {
        break;
      }
      Pause(200);
    }
    ASSERT_EQ(width, 800);
    ASSERT_EQ(height, 600);
    EXPECT_TRUE(x >= 0 && y >= 0 && x + width <= 1024 && y + height <= 768)
        << "the window lies at (" << x << "," << y << ")";
  }

  void MoveTo(int x, int y) {
    Xdo("mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
        std::to_string(y));
  }

  // Drags with the left button from one window pixel to another.
  void Drag(int x0, int y0, int x1, int y1) {
    MoveTo(x0, y0);
    Xdo("mousedown 1");
    MoveTo(x1, y1);
    Xdo("mouseup 1");
  }

  // A 15 x 15 square from grid (0,0), closed: 480 pixels of drag are 15
  // grid units.
  void DrawSquare() {
  Key("space");
  Drag(400, 560, 400, 80);
  Key("space");
  Drag(100, 300, 580, 300);
  Key("space");
  Drag(400, 80, 400, 560);
  Key("space");
  Drag(580, 300, 100, 300);
  Key("space");
  }

  // Takes screenshots until shown holds for one or the time is up; the last
  // one is kept as name.png.
  Image WaitForShot(const std::string& name, const std::function<bool(const Image&)>& shown,
                    int timeoutMs = 60000) {
    Image image;
    for (int waited = 0; waited <= timeoutMs; waited += 500) {
      std::optional<Image> shot = quarn::e2e::Screenshot(window, shots / (name + ".png"));
      if (shot && shot->width == 800 && shot->height == 600) {
        image = *shot;
        if (shown(image)) return image;
      }
      Pause(500);
    }
    ADD_FAILURE() << name << " did not show in time";
    return image;
  }

  std::string Output() const {
    std::ifstream in(folder / "output.txt");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // The square from grid (0,0) to (15,15) with the cursor back on (0,0) lies
  // at window pixels (400,300)-(580,120): 12 pixels a unit, centred.
  static bool ShowsSquareOutline(const Image& image) {
    return ColourNear(image, 400, 210, kFirstLoop) && ColourNear(image, 490, 120, kFirstLoop) &&
           ColourNear(image, 580, 210, kFirstLoop) && ColourNear(image, 490, 300, kFirstLoop) &&
           !ColourNear(image, 490, 210, kFirstLoop, 20);
  }

  static bool ShowsHelpText(const Image& image) {
    return CountColour(image, 0, 0, 800, 110, kHelpText) > 500;
  }

  XvfbDisplay display;
  std::filesystem::path folder;
  std::filesystem::path shots;
  std::optional<ChildProcess> app;
  unsigned long window = 0;
};

TEST_F(ApplicationRoad, OutlineToBuildingAndBack) {
  WaitForShot("1_input_start", [](const Image& image) {
    return ShowsHelpText(image) && CountColour(image, 0, 120, 800, 600, kGrid, 6) > 20000;
  });

  DrawSquare();
  const Image square = WaitForShot("2_input_square", ShowsSquareOutline);

  Key("x");
  const Image style1 = WaitForShot("3_view_style1_step0", [&](const Image& image) {
    return ShowsHelpText(image) && CountDifferences(square, image) > 100000;
  });

  for (int step = 0; step < 3; ++step) Key("p");
  const Image stepped = WaitForShot("4_view_style1_step3", [&](const Image& image) {
    return CountDifferences(style1, image) > 20;
  });

  Key("2");
  const Image style2 = WaitForShot("5_view_style2", [&](const Image& image) {
    return CountDifferences(stepped, image) > 20;
  });
  Key("3");
  const Image style3 = WaitForShot("6_view_style3", [&](const Image& image) {
    return CountDifferences(style2, image) > 1000;
  });
  Key("4");
  WaitForShot("7_view_style4", [&](const Image& image) {
    return CountDifferences(style3, image) > 1000;
  });

  Key("x");
  WaitForShot("8_input_again", ShowsSquareOutline);

  // The client area snaps back to 800 x 600.
  Xdo("windowsize " + std::to_string(window) + " 500 400");
  Pause(2000);
  const auto geometry = CommandOutput("xdotool getwindowgeometry " + std::to_string(window));
  ASSERT_TRUE(geometry.has_value());
  EXPECT_NE(geometry->find("Geometry: 800x600"), std::string::npos) << *geometry;
  ExpectOnScreen(0);

  display.RequestClose(window);
  EXPECT_EQ(app->WaitForExit(60000), 0) << Output();
  const std::string output = Output();
  EXPECT_NE(output.find('\n'), std::string::npos) << "the design trace";
  EXPECT_EQ(output.find("Assertion failed"), std::string::npos) << output;
}

// The settings block, the storeys, the framing and the editor's undo, as a
// designer would try them.
TEST_F(ApplicationRoad, SettingsStoreysFramingAndUndo) {
  WaitForShot("1_input_start", ShowsHelpText);
  DrawSquare();
  WaitForShot("2_input_square", ShowsSquareOutline);

  // The last step, room size 50, then 3 storeys: designed to their end.
  for (const char* key : {"x", "End", "Right", "Down", "Down", "Right", "Right", "f"}) Key(key);
  WaitForShot("3_view_three_storeys_framed", [](const Image& image) {
    // The red, orange and yellow of the first rooms (not the help text's
    // yellow-green, the white of the stars or the blue of the sky).
    int left = image.width, right = -1, top = image.height, bottom = -1;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        const Rgb p = image.At(x, y);
        if (p.r > 120 && p.r >= p.g && p.r > p.b + 60) {
          left = std::min(left, x);
          right = std::max(right, x);
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
      }
    }
    return right > left && (right - left) * (bottom - top) * 3 >= image.width * image.height;
  });

  Key("x");
  Key("r");
  WaitForShot("4_input_reset", [](const Image& image) { return !ShowsSquareOutline(image); });
  Key("u");
  WaitForShot("5_input_undone", ShowsSquareOutline);

  display.RequestClose(window);
  EXPECT_EQ(app->WaitForExit(60000), 0) << Output();
  EXPECT_EQ(Output().find("Assertion failed"), std::string::npos) << Output();
}

// Walk mode: V starts outside the entrance of the square, W walks in; every
// room the walker enters is printed, each next to the one before it (through
// the entrance or a door, as the plan dump of the same square says).
TEST_F(ApplicationRoad, WalksInThroughTheEntrance) {
  WaitForShot("1_input_start", ShowsHelpText);
  DrawSquare();
  WaitForShot("2_input_square", ShowsSquareOutline);
  for (const char* key : {"x", "End", "4", "v"}) Key(key);
  const Image outside = WaitForShot("3_walk_outside", [&](const Image& image) {
    return Output().find("walk: outside") != std::string::npos && ShowsHelpText(image);
  });
  Xdo("keydown w");
  Pause(3000);
  Xdo("keyup w");
  WaitForShot("4_walk_inside", [&](const Image& image) { return CountDifferences(outside, image) > 1000; });
  Xdo("keydown w");
  Pause(4000);
  Xdo("keyup w");

  display.RequestClose(window);
  EXPECT_EQ(app->WaitForExit(60000), 0) << Output();
  std::vector<std::string> places;
  std::istringstream lines(Output());
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("walk: ", 0) == 0) places.push_back(line.substr(6));
  }
  ASSERT_GE(places.size(), 2u) << Output();
  EXPECT_EQ(places[0], "outside");
  // The view types by the house programme, as quarn-gen does by default.
  const auto dump = CommandOutput(std::string(QUARN_GEN_EXECUTABLE) + " " + QUARN_SOURCE_DIR +
                                  "/examples/square.quarn");
  ASSERT_TRUE(dump.has_value());
  const nlohmann::json building = nlohmann::json::parse(*dump)["buildings"][0];
  auto roomOf = [](const std::string& place) {
    int storey = -1, room = -1;
    return std::sscanf(place.c_str(), "building 0, storey %d, room %d", &storey, &room) == 2 && storey == 0
               ? room
               : -1;
  };
  EXPECT_EQ(roomOf(places[1]), building["entrance"]["room"].get<int>()) << places[1];
  for (std::size_t i = 2; i < places.size(); ++i) {
    const int from = roomOf(places[i - 1]), to = roomOf(places[i]);
    ASSERT_GE(to, 0) << places[i];
    bool door = false;
    const nlohmann::json& floor = building["floors"][0];
    for (const auto& wall : floor["rooms"][from]["doors"]) {
      for (const auto& other : floor["rooms"][to]["doors"]) {
        door = door || (wall == other && floor["walls"][wall.get<int>()]["opening"] == "door");
      }
    }
    EXPECT_TRUE(door) << places[i - 1] << " to " << places[i];
  }
}

}  // namespace
