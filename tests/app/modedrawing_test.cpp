#include "app/modedrawing.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "support/gl_test_context.h"

namespace {

struct FormatCase {
  int length;    // characters of the text
  int expected;  // characters DrawText writes
};

// The help texts are short, but a longer text must be cut, never overflow.
TEST(FormatText, CutsTextsThatDoNotFitTheBuffer) {
  const FormatCase cases[] = {{0, 0}, {99, 99}, {498, 498}, {499, 499}, {500, 499}, {501, 499},
                              {5000, 499}};
  for (const FormatCase& c : cases) {
    const std::string text(static_cast<std::size_t>(c.length), 'q');
    const std::string written = FormatText("%s", text.c_str());
    EXPECT_EQ(written, text.substr(0, static_cast<std::size_t>(c.expected))) << c.length;
  }
}

TEST(FormatText, FormatsLikePrintf) {
  EXPECT_EQ(FormatText("Step %u of %s: %5.1f%%", 3u, "P", 12.25), "Step 3 of P:  12.2%");
  EXPECT_EQ(FormatText("%s", "100% sure"), "100% sure") << "arguments are not formats";
}

}  // namespace

namespace {

using quarn::test::CaptureFeedback;
using quarn::test::FeedbackPrimitive;
using quarn::test::GlTest;

class ModeDrawingGl : public GlTest {};

struct ProjectionCase {
  int width;
  int height;
  GLint viewportWidth;
  GLint viewportHeight;
};

TEST_F(ModeDrawingGl, PixelProjectionEvensTheSizeAndCentresTheOrigin) {
  const ProjectionCase cases[] = {
      {800, 600, 800, 600}, {801, 601, 802, 602}, {7, 0, 8, 1}, {1, 1, 2, 2}, {256, 3, 256, 4},
  };
  for (const ProjectionCase& c : cases) {
    glMatrixMode(GL_PROJECTION);
    glTranslatef(5, 5, 5);  // must be replaced, not multiplied
    SetPixelProjection(c.width, c.height);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], c.viewportWidth) << c.width;
    EXPECT_EQ(viewport[3], c.viewportHeight) << c.height;
    GLdouble projection[16] = {};
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[0], 2.0 / c.viewportWidth, 1e-9) << c.width;
    EXPECT_NEAR(projection[5], 2.0 / c.viewportHeight, 1e-9) << c.height;
    EXPECT_NEAR(projection[12], 0, 1e-9) << "origin at the centre";
    EXPECT_NEAR(projection[13], 0, 1e-9) << "origin at the centre";
  }
}

// Lines as (x1, y1, x2, y2).
using Line = std::array<float, 4>;

std::vector<Line> LinesOf(const std::vector<FeedbackPrimitive>& primitives) {
  std::vector<Line> lines;
  for (const FeedbackPrimitive& p : primitives) {
    EXPECT_EQ(p.vertices.size(), 2u);
    for (const auto& v : p.vertices) EXPECT_NEAR(v.z, 0, 1e-3);
    if (p.vertices.size() == 2) {
      lines.push_back({p.vertices[0].x, p.vertices[0].y, p.vertices[1].x, p.vertices[1].y});
    }
  }
  return lines;
}

void ExpectLines(const std::vector<Line>& actual, const std::vector<Line>& expected,
                 const char* name) {
  ASSERT_EQ(actual.size(), expected.size()) << name;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(actual[i][k], expected[i][k], 1e-3) << name << " line " << i;
  }
}

TEST_F(ModeDrawingGl, GridDrawsAVerticalThenAHorizontalLinePerStep) {
  SetWorldExtent(20);
  ExpectLines(LinesOf(CaptureFeedback([] { DrawGrid(3, 1); })),
              {{-3, -3, -3, 3}, {-3, -3, 3, -3}, {0, -3, 0, 3}, {-3, 0, 3, 0},
               {3, -3, 3, 3}, {-3, 3, 3, 3}},
              "spacing 3, one step each way");
  const std::vector<Line> grid = LinesOf(CaptureFeedback([] { DrawGrid(2, 4); }));
  ASSERT_EQ(grid.size(), 18u);
  EXPECT_NEAR(grid[0][0], -8, 1e-3);
  EXPECT_NEAR(grid[17][1], 8, 1e-3);
  EXPECT_NEAR(grid[8][0], 0, 1e-3) << "a line through the origin";
}

TEST_F(ModeDrawingGl, CursorIsFourArrowHeadsPointingAtTheOrigin) {
  SetWorldExtent(20);
  const std::vector<FeedbackPrimitive> triangles = CaptureFeedback(DrawCursor);
  const float expected[4][3][2] = {
      {{0, -1}, {4, -16}, {-4, -16}},
      {{0, 1}, {-4, 16}, {4, 16}},
      {{-1, 0}, {-16, -4}, {-16, 4}},
      {{1, 0}, {16, 4}, {16, -4}},
  };
  ASSERT_EQ(triangles.size(), 4u);
  for (int t = 0; t < 4; ++t) {
    EXPECT_EQ(triangles[t].token, static_cast<GLenum>(GL_POLYGON_TOKEN));
    ASSERT_EQ(triangles[t].vertices.size(), 3u);
    for (int v = 0; v < 3; ++v) {
      EXPECT_NEAR(triangles[t].vertices[v].x, expected[t][v][0], 1e-3) << t << "/" << v;
      EXPECT_NEAR(triangles[t].vertices[v].y, expected[t][v][1], 1e-3) << t << "/" << v;
    }
  }
}

}  // namespace
