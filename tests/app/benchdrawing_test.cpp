// One frame of every bench, drawn in a real GL context: the grid, the
// content where the cursor puts it, and the cursor.
#include "app/benchdrawing.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <vector>

#include "app/ctestbox2.h"
#include "app/ctestbox2list.h"
#include "app/ctestbox2listscore.h"
#include "app/ctestpolygon2.h"
#include "app/modedrawing.h"
#include "bench_script.h"
#include "support/gl_test_context.h"

namespace {

using quarn::test::FeedbackPrimitive;
using quarn::test::FeedbackVertex;
using quarn::test::Key;
using quarn::test::Move;
using quarn::test::PlaceBoxAt;
using quarn::test::Script;

using Primitives = std::vector<FeedbackPrimitive>;

struct Pixel {
  float x;
  float y;
};

bool Near(float a, float b) { return std::fabs(a - b) < 1e-2f; }

bool Matches(const FeedbackVertex& v, const Pixel& p) { return Near(v.x, p.x) && Near(v.y, p.y); }

bool HasColour(const FeedbackVertex& v, const CColour& c) {
  return Near(v.r, c.r) && Near(v.g, c.g) && Near(v.b, c.b);
}

// A line from a to b (either way round) in colour c.
bool HasLine(const Primitives& primitives, const CColour& c, const Pixel& a, const Pixel& b) {
  for (const FeedbackPrimitive& p : primitives) {
    if (p.token != GL_LINE_TOKEN && p.token != GL_LINE_RESET_TOKEN) continue;
    const FeedbackVertex& u = p.vertices[0];
    const FeedbackVertex& v = p.vertices[1];
    if (!HasColour(u, c)) continue;
    if ((Matches(u, a) && Matches(v, b)) || (Matches(u, b) && Matches(v, a))) return true;
  }
  return false;
}

// The four edges of a box given by two opposite pixel corners.
bool HasOutline(const Primitives& primitives, const CColour& c, const Pixel& low,
                const Pixel& high) {
  return HasLine(primitives, c, low, {high.x, low.y}) &&
         HasLine(primitives, c, {high.x, low.y}, high) &&
         HasLine(primitives, c, high, {low.x, high.y}) &&
         HasLine(primitives, c, {low.x, high.y}, low);
}

int CountLines(const Primitives& primitives, const CColour& c) {
  int count = 0;
  for (const FeedbackPrimitive& p : primitives) {
    const bool line = p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN;
    if (line && HasColour(p.vertices[0], c)) ++count;
  }
  return count;
}

int CountTriangles(const Primitives& primitives, const CColour& c) {
  int count = 0;
  for (const FeedbackPrimitive& p : primitives) {
    if (p.token == GL_POLYGON_TOKEN && p.vertices.size() == 3 && HasColour(p.vertices[0], c))
      ++count;
  }
  return count;
}

const CColour kGrey(0.2f, 0.2f, 0.2f);
const CColour kWhite(1, 1, 1);

class BenchFrameTest : public ::testing::Test {
 protected:
  quarn::test::GlTestContext context{800, 600};
  std::ostringstream out;
  Script script;

  // Draws one frame in feedback mode; vertices come back in pixels from the
  // window's centre, y up.
  Primitives Capture(const std::function<void()>& draw) {
    SetPixelProjection(800, 600);
    glLoadIdentity();
    return quarn::test::CaptureFeedback(draw);
  }

  // The grid every bench draws: lines every 16 pixels through the centre,
  // clipped to the window; and the white cursor arrows.
  void ExpectGridAndCursor(const Primitives& primitives) {
    EXPECT_TRUE(HasLine(primitives, kGrey, {0, -300}, {0, 300}));
    EXPECT_TRUE(HasLine(primitives, kGrey, {-384, -300}, {-384, 300}));
    EXPECT_TRUE(HasLine(primitives, kGrey, {-400, 16}, {400, 16}));
    EXPECT_TRUE(HasLine(primitives, kGrey, {-400, -288}, {400, -288}));
    EXPECT_FALSE(HasLine(primitives, kGrey, {8, -300}, {8, 300})) << "no line between";
    EXPECT_EQ(CountTriangles(primitives, kWhite), 4);
  }
};

TEST_F(BenchFrameTest, BoxBenchDrawsBoxesLinksAndThePlacement) {
  ASSERT_TRUE(context.IsReady());
  CTestBox2 bench(out);
  PlaceBoxAt(script, bench, {0, 0}, {2, 2});
  PlaceBoxAt(script, bench, {2, 0}, {4, 2});
  script.Play(bench, {Key('N'), Key(' '), Move(2, 3)});  // cursor (6,5), corner at (4,2)
  const Primitives frame = Capture([&] { bench.DrawFrame(); });
  ExpectGridAndCursor(frame);
  // One grid unit is 16 pixels; the cursor (6,5) is the centre.
  EXPECT_TRUE(HasOutline(frame, Palette(0), {-96, -80}, {-64, -48}));
  EXPECT_TRUE(HasOutline(frame, Palette(1), {-64, -80}, {-32, -48}));
  EXPECT_TRUE(HasLine(frame, CColour(1.0f, 0.5f, 0.5f), {-80, -64}, {-64, -64}))
      << "link of box 0 to its right neighbour";
  EXPECT_TRUE(HasOutline(frame, kWhite, {-32, -48}, {0, 0})) << "the box being placed";

  glClear(GL_COLOR_BUFFER_BIT);
  bench.DrawFrame();
  const auto pixel = quarn::test::ReadPixel(400 - 96, 300 - 60);
  EXPECT_EQ(pixel[0], 255);
  EXPECT_EQ(pixel[1], 0) << "the left edge of box 0 is red, 3 pixels wide";
}

TEST_F(BenchFrameTest, ListBenchDrawsListsOutlinesAndThePlacement) {
  ASSERT_TRUE(context.IsReady());
  CTestBox2List bench(out);
  PlaceBoxAt(script, bench, {0, 0}, {1, 1});
  PlaceBoxAt(script, bench, {1, 0}, {2, 1});
  script.Step(bench, Key('Z'));
  PlaceBoxAt(script, bench, {5, 0}, {6, 1});
  script.Play(bench, {Key('Q'), Key(' '), Move(-2, 2)});  // cursor (4,3), corner at (6,1)
  const Primitives frame = Capture([&] { bench.DrawFrame(); });
  ExpectGridAndCursor(frame);
  EXPECT_TRUE(HasOutline(frame, Palette(0), {-64, -48}, {-48, -32}));
  EXPECT_TRUE(HasOutline(frame, Palette(1), {16, -48}, {32, -32}));
  // The outline of list 0, drawn closed: its top edge runs over both boxes.
  const CColour outline(1.0f, 1.0f, 0.5f);
  EXPECT_TRUE(HasLine(frame, outline, {-64, -32}, {-48, -32}));
  EXPECT_TRUE(HasLine(frame, outline, {-64, -48}, {-64, -32})) << "the closing edge";
  EXPECT_TRUE(HasOutline(frame, Palette(1), {0, -32}, {32, 0})) << "the box being placed";
}

TEST_F(BenchFrameTest, ScoreBenchDrawsItsThreeListsInTheirColours) {
  ASSERT_TRUE(context.IsReady());
  CTestBox2ListScore bench(out);
  PlaceBoxAt(script, bench, {0, 0}, {1, 1});
  script.Step(bench, Key('Z'));
  PlaceBoxAt(script, bench, {2, 0}, {3, 1});
  script.Step(bench, Key('Z'));
  PlaceBoxAt(script, bench, {1, 0}, {2, 1});
  script.Play(bench, {Key(' '), Move(-1, 1)});  // cursor (1,2), corner at (2,1)
  const Primitives frame = Capture([&] { bench.DrawFrame(); });
  ExpectGridAndCursor(frame);
  EXPECT_TRUE(HasOutline(frame, CColour(0.25f, 0.5f, 1.0f), {-16, -32}, {0, -16}));
  EXPECT_TRUE(HasOutline(frame, CColour(1.0f, 0.5f, 0.75f), {16, -32}, {32, -16}));
  EXPECT_TRUE(HasOutline(frame, CColour(0.0f, 1.0f, 0.0f), {0, -32}, {16, -16}));
  EXPECT_TRUE(HasOutline(frame, CColour(0.7f, 0.7f, 0.7f), {0, -16}, {16, 0}));
}

TEST_F(BenchFrameTest, PolygonBenchDrawsClosedAndOpenPolygonsBoxesAndExtents) {
  ASSERT_TRUE(context.IsReady());
  CTestPolygon2 bench(out);
  // A 2 x 1 rectangle, closed; then polygon 1 with one edge being drawn.
  script.Play(bench, {Key(' '), Move(0, 1), Key(' '), Move(2, 0), Key(' '), Move(0, -1), Key(' '),
                      Move(-2, 0), Key(' '), Key('E')});
  script.Play(bench, {Move(0, 3), Key(' '), Move(0, 1), Key(' ')});  // (0,3) to (0,4)
  const Primitives frame = Capture([&] { bench.DrawFrame(); });
  ExpectGridAndCursor(frame);
  // The cursor (0,4) is the centre.
  EXPECT_TRUE(HasLine(frame, Palette(0), {0, -64}, {0, -48}));
  EXPECT_TRUE(HasLine(frame, Palette(0), {32, -64}, {0, -64})) << "polygon 0 is closed";
  EXPECT_TRUE(HasLine(frame, Palette(1), {0, -16}, {0, 0}));
  EXPECT_EQ(CountLines(frame, Palette(1)), 1) << "the current polygon is open";
  EXPECT_EQ(CountLines(frame, Palette(0)), 4) << "closed: four edges";
  EXPECT_TRUE(HasOutline(frame, kWhite, {0, -64}, {32, -48})) << "extents";

  script.Step(bench, Key('B'));
  const Primitives boxes = Capture([&] { bench.DrawFrame(); });
  EXPECT_TRUE(HasOutline(boxes, kWhite, {0, -64}, {32, -48})) << "the box of the rectangle";
  EXPECT_TRUE(HasLine(boxes, Palette(0), {0, -16}, {0, 0})) << "polygon 0 is the open one now";
}

}  // namespace
