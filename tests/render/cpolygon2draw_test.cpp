#include "render/cpolygon2draw.h"

#include <gtest/gtest.h>

#include "draw_expect.h"
#include "support/gl_test_context.h"

namespace quarn::test {
namespace {

using Polygon2DrawTest = GlTest;

CPolygon2 Polygon(std::initializer_list<CPoint2> points) {
  CPolygon2 polygon;
  for (const CPoint2& p : points) polygon.Add(p);
  return polygon;
}

const CPolygon2 kL = Polygon({{0, 0}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}});

TEST_F(Polygon2DrawTest, ClosedOutlineIsALoopThenTheFirstVertexThenAllVertices) {
  const auto primitives = CaptureFeedback([] { Draw(kL, 3, 5, 7, true); });
  const int n = kL.GetSize();
  ASSERT_EQ(primitives.size(), static_cast<std::size_t>(n + 1 + n));
  for (int i = 0; i < n; ++i) {
    const FeedbackPrimitive& line = primitives[static_cast<std::size_t>(i)];
    ASSERT_EQ(line.token, static_cast<GLenum>(GL_LINE_TOKEN));
    const CPoint2 a = kL[i], b = kL[(i + 1) % n];
    ExpectAt(line.vertices[0], {float(a.x), float(a.y), 0});
    ExpectAt(line.vertices[1], {float(b.x), float(b.y), 0});
  }
  for (int i = 0; i <= n; ++i) {
    const FeedbackPrimitive& point = primitives[static_cast<std::size_t>(n + i)];
    ASSERT_EQ(point.token, static_cast<GLenum>(GL_POINT_TOKEN));
    const CPoint2 p = kL[i == 0 ? 0 : i - 1];
    ExpectAt(point.vertices[0], {float(p.x), float(p.y), 0});
  }
}

TEST_F(Polygon2DrawTest, OpenOutlineLeavesOutTheClosingEdge) {
  const auto primitives = CaptureFeedback([] { Draw(kL, 1, 3, 7, false); });
  const int n = kL.GetSize();
  ASSERT_EQ(primitives.size(), static_cast<std::size_t>(n - 1 + 1 + n));
  ExpectAt(primitives[static_cast<std::size_t>(n - 2)].vertices[1], {2, 0, 0});
  EXPECT_EQ(primitives[static_cast<std::size_t>(n - 1)].token, static_cast<GLenum>(GL_POINT_TOKEN));
}

TEST_F(Polygon2DrawTest, EmptyPolygonDrawsNothing) {
  EXPECT_TRUE(CaptureFeedback([] { Draw(CPolygon2(), 3, 5, 7, true); }).empty());
}

// Lit pixels in the row through pixel (x, y), within 6 pixels of x.
int LitAround(int x, int y) {
  int lit = 0;
  for (int i = x - 6; i <= x + 6; ++i) lit += ReadPixel(i, y)[0] > 0 ? 1 : 0;
  return lit;
}

TEST_F(Polygon2DrawTest, FirstVertexStandsOutOnlyWhenItsPointIsLarger) {
  SetWorldExtent(128);  // one unit one pixel, origin at pixel (128, 128)
  const CPolygon2 line = Polygon({{-60, 0}, {60, 0}});
  const struct {
    unsigned pointSize, firstPointSize;
    int firstWidth, otherWidth;
  } cases[] = {{3, 7, 7, 3}, {5, 1, 5, 5}};
  for (const auto& c : cases) {
    glClear(GL_COLOR_BUFFER_BIT);
    Draw(line, 1, c.pointSize, c.firstPointSize, false);
    // One pixel above the 1-pixel line only the points show.
    EXPECT_EQ(LitAround(128 - 60, 129), c.firstWidth) << c.firstPointSize;
    EXPECT_EQ(LitAround(128 + 60, 129), c.otherWidth) << c.pointSize;
  }
  GLfloat width = 0, size = 0;
  glGetFloatv(GL_LINE_WIDTH, &width);
  glGetFloatv(GL_POINT_SIZE, &size);
  EXPECT_EQ(width, 1.0f);
  EXPECT_EQ(size, 1.0f);
}

}  // namespace
}  // namespace quarn::test
