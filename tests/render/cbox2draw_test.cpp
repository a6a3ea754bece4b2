#include "render/cbox2draw.h"

#include <gtest/gtest.h>

#include "draw_expect.h"
#include "support/gl_test_context.h"

namespace quarn::test {
namespace {

using Box2DrawTest = GlTest;

struct BoxCase {
  CPoint2 a, b;
  Xyz corners[4];  // expected drawing order
};

const BoxCase kBoxes[] = {
    {{0, 0}, {2, 3}, {{2, 3, 0}, {0, 3, 0}, {0, 0, 0}, {2, 0, 0}}},
    {{-1, 4}, {-5, 1}, {{-1, 4, 0}, {-5, 4, 0}, {-5, 1, 0}, {-1, 1, 0}}},
};

TEST_F(Box2DrawTest, OutlineIsOneLoopFromTheTopRightCornerFacingUp) {
  EncodeNormalsAsColours();
  for (const BoxCase& c : kBoxes) {
    SCOPED_TRACE(CBox2(c.a, c.b));
    const auto lines = CaptureFeedback([&] { Draw(CBox2(c.a, c.b)); });
    ASSERT_EQ(lines.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(lines[i].token, static_cast<GLenum>(GL_LINE_TOKEN));
      ExpectAt(lines[i].vertices[0], c.corners[i]);
      ExpectAt(lines[i].vertices[1], c.corners[(i + 1) % 4]);
      ExpectNormal(lines[i].vertices[0], {0, 0, 1});
    }
  }
}

TEST_F(Box2DrawTest, FilledIsOneQuadWithTextureRepeatingEveryThreeAndAThirdUnits) {
  EncodeNormalsAsColours();
  for (const BoxCase& c : kBoxes) {
    SCOPED_TRACE(CBox2(c.a, c.b));
    const auto quads = QuadsFromFeedback(CaptureFeedback([&] { DrawFilled(CBox2(c.a, c.b)); }));
    ASSERT_EQ(quads.size(), 1u);
    for (std::size_t i = 0; i < 4; ++i) {
      ExpectAt(quads[0][i], c.corners[i]);
      ExpectTexCoord(quads[0][i], 0.3f * c.corners[i].x, 0.3f * c.corners[i].y);
      ExpectNormal(quads[0][i], {0, 0, 1});
    }
  }
}

// The slice example: (0,0)-(2,2) and (2,2)-(4,4) are the left and upper
// neighbours of (2,0)-(4,2).
CBox2List LinkedBoxes() {
  CBox2List boxes;
  boxes.Add(CBox2({0, 0}, {4, 2}));
  boxes.Add(CBox2({2, 2}, {6, 4}));
  boxes.Slice();
  boxes.SetNeighbours();
  return boxes;
}

TEST_F(Box2DrawTest, NeighbourLinksRunFromTheCentreToTheSharedEdge) {
  CBox2List boxes = LinkedBoxes();
  ASSERT_EQ(boxes[3], CBox2({2, 0}, {4, 2}));
  const auto primitives = CaptureFeedback([&] { DrawNeighbours(boxes[3]); });
  ASSERT_EQ(primitives.size(), 3u);
  // Left (x axis, reddish), then up (y axis, greenish), then the centre.
  EXPECT_EQ(primitives[0].token, static_cast<GLenum>(GL_LINE_TOKEN));
  ExpectAt(primitives[0].vertices[0], {3, 1, 0});
  ExpectAt(primitives[0].vertices[1], {2, 1, 0});
  ExpectColour(primitives[0].vertices[0], 1.0f, 0.5f, 0.5f);
  EXPECT_EQ(primitives[1].token, static_cast<GLenum>(GL_LINE_TOKEN));
  ExpectAt(primitives[1].vertices[0], {3, 1, 0});
  ExpectAt(primitives[1].vertices[1], {3, 2, 0});
  ExpectColour(primitives[1].vertices[0], 0.5f, 1.0f, 0.5f);
  EXPECT_EQ(primitives[2].token, static_cast<GLenum>(GL_POINT_TOKEN));
  ExpectAt(primitives[2].vertices[0], {3, 1, 0});
  ExpectColour(primitives[2].vertices[0], 0.5f, 0.5f, 0.5f);
}

TEST_F(Box2DrawTest, NeighbourLinkLengthFollowsTheBoxSizeOnTheSidesAxis) {
  CBox2List boxes;
  boxes.Add(CBox2({0, 0}, {6, 2}));
  boxes.Add(CBox2({0, 2}, {6, 10}));
  boxes.SetNeighbours();
  const auto primitives = CaptureFeedback([&] { DrawNeighbours(boxes[1]); });
  ASSERT_EQ(primitives.size(), 2u);
  ExpectAt(primitives[0].vertices[0], {3, 6, 0});
  ExpectAt(primitives[0].vertices[1], {3, 2, 0});
}

// Lit pixels along the row y between x0 and x1 (exclusive).
int LitPixels(int y, int x0, int x1) {
  int lit = 0;
  for (int x = x0; x < x1; ++x) lit += ReadPixel(x, y)[0] > 0 ? 1 : 0;
  return lit;
}

TEST_F(Box2DrawTest, LinksOnNegativeSidesAreDashedAndPositiveOnesSolid) {
  // One unit = one pixel; the box centre at pixel (128, 128).
  SetWorldExtent(128);
  CBox2List boxes;
  boxes.Add(CBox2({-100, -1}, {-40, 1}));
  boxes.Add(CBox2({-40, -1}, {40, 1}));
  boxes.Add(CBox2({40, -1}, {100, 1}));
  boxes.SetNeighbours();
  glClear(GL_COLOR_BUFFER_BIT);
  DrawNeighbours(boxes[1]);
  const int left = LitPixels(128, 128 - 36, 128 - 4);
  const int right = LitPixels(128, 128 + 4, 128 + 36);
  EXPECT_EQ(right, 32) << "solid";
  EXPECT_EQ(left, 8) << "one pixel in four";
}

TEST_F(Box2DrawTest, NeighbourDrawingRestoresLineAndPointSettings) {
  CBox2List boxes = LinkedBoxes();
  glLineWidth(3.0f);
  glPointSize(4.0f);
  DrawNeighbours(boxes[3]);
  GLfloat width = 0, size = 0;
  glGetFloatv(GL_LINE_WIDTH, &width);
  glGetFloatv(GL_POINT_SIZE, &size);
  EXPECT_EQ(width, 3.0f);
  EXPECT_EQ(size, 4.0f);
  EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
}

TEST_F(Box2DrawTest, ListOutlinesUseTheGivenWidthThenResetItToOne) {
  SetWorldExtent(128);
  CBox2List boxes;
  boxes.Add(CBox2({-50, -50}, {-10, 50}));
  boxes.Add(CBox2({10, -50}, {50, 50}));
  glClear(GL_COLOR_BUFFER_BIT);
  const auto lines = CaptureFeedback([&] { Draw(boxes, 5); });
  ASSERT_EQ(lines.size(), 8u);
  ExpectAt(lines[0].vertices[0], {-10, 50, 0});
  ExpectAt(lines[4].vertices[0], {50, 50, 0});
  Draw(boxes, 5);
  // The vertical edge at x = 10 is pixel column 138, drawn 5 pixels wide.
  EXPECT_EQ(LitPixels(128, 133, 144), 5);
  GLfloat width = 0;
  glGetFloatv(GL_LINE_WIDTH, &width);
  EXPECT_EQ(width, 1.0f);
}

TEST_F(Box2DrawTest, FilledListDrawsEveryBoxInOrder) {
  CBox2List boxes;
  boxes.Add(CBox2({0, 0}, {1, 1}));
  boxes.Add(CBox2({5, 5}, {7, 6}));
  const auto quads = QuadsFromFeedback(CaptureFeedback([&] { DrawFilled(boxes); }));
  ASSERT_EQ(quads.size(), 2u);
  ExpectAt(quads[0][0], {1, 1, 0});
  ExpectAt(quads[1][0], {7, 6, 0});
  ExpectTexCoord(quads[1][0], 2.1f, 1.8f);
}

}  // namespace
}  // namespace quarn::test
