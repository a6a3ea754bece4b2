#include "render/cbox3draw.h"

#include <gtest/gtest.h>

#include "draw_expect.h"
#include "support/gl_test_context.h"

namespace quarn::test {
namespace {

using Box3DrawTest = GlTest;

struct FaceCase {
  Xyz normal;
  Xyz corners[4];
  float st[4][2];
};

// The six faces of (0,0,0)-(2,1,3), sides 0..5, in drawing order.
const FaceCase kFaces[6] = {
    {{-1, 0, 0}, {{0, 0, 0}, {0, 0, 3}, {0, 1, 3}, {0, 1, 0}}, {{0, 0}, {0, 0.9f}, {0.3f, 0.9f}, {0.3f, 0}}},
    {{1, 0, 0}, {{2, 0, 0}, {2, 1, 0}, {2, 1, 3}, {2, 0, 3}}, {{0, 0}, {0.3f, 0}, {0.3f, 0.9f}, {0, 0.9f}}},
    {{0, -1, 0}, {{0, 0, 0}, {0, 0, 3}, {2, 0, 3}, {2, 0, 0}}, {{0, 0}, {0, 0.9f}, {0.6f, 0.9f}, {0.6f, 0}}},
    {{0, 1, 0}, {{0, 1, 0}, {2, 1, 0}, {2, 1, 3}, {0, 1, 3}}, {{0, 0}, {0.6f, 0}, {0.6f, 0.9f}, {0, 0.9f}}},
    {{0, 0, -1}, {{0, 0, 0}, {0, 1, 0}, {2, 1, 0}, {2, 0, 0}}, {{0, 0}, {0, 0.3f}, {0.6f, 0.3f}, {0.6f, 0}}},
    {{0, 0, 1}, {{0, 0, 3}, {2, 0, 3}, {2, 1, 3}, {0, 1, 3}}, {{0, 0}, {0.6f, 0}, {0.6f, 0.3f}, {0, 0.3f}}},
};

const CBox3 kBox(CVector3(2, 1, 3), CVector3(0, 0, 0));

TEST_F(Box3DrawTest, FilledBoxIsSixQuadsInSideOrderWithNormalsAndTextureCoordinates) {
  EncodeNormalsAsColours();
  const auto quads = QuadsFromFeedback(CaptureFeedback([] { DrawFilled(kBox); }));
  ASSERT_EQ(quads.size(), 6u);
  for (std::size_t f = 0; f < 6; ++f) {
    for (std::size_t i = 0; i < 4; ++i) {
      SCOPED_TRACE(testing::Message() << "side " << f << " vertex " << i);
      ExpectAt(quads[f][i], kFaces[f].corners[i]);
      ExpectTexCoord(quads[f][i], kFaces[f].st[i][0], kFaces[f].st[i][1]);
      ExpectNormal(quads[f][i], kFaces[f].normal);
    }
  }
}

TEST_F(Box3DrawTest, OutlinedBoxIsSixLoopsThroughTheSameCorners) {
  EncodeNormalsAsColours();
  const auto lines = CaptureFeedback([] { Draw(kBox); });
  ASSERT_EQ(lines.size(), 24u);
  for (std::size_t f = 0; f < 6; ++f) {
    for (std::size_t i = 0; i < 4; ++i) {
      SCOPED_TRACE(testing::Message() << "side " << f << " edge " << i);
      const FeedbackPrimitive& line = lines[f * 4 + i];
      ExpectAt(line.vertices[0], kFaces[f].corners[i]);
      ExpectAt(line.vertices[1], kFaces[f].corners[(i + 1) % 4]);
      ExpectTexCoord(line.vertices[0], kFaces[f].st[i][0], kFaces[f].st[i][1]);
      ExpectNormal(line.vertices[0], kFaces[f].normal);
    }
  }
}

TEST_F(Box3DrawTest, TextureCoordinatesFollowWorldPositionNotBoxSize) {
  const CBox3 box(CVector3(10, 20, 0), CVector3(11, 25, 1.5f));
  const auto quads = QuadsFromFeedback(CaptureFeedback([&] { DrawFilled(box); }));
  ASSERT_EQ(quads.size(), 6u);
  // Side 1 (x max) maps (y, z); its first corner is p1 = (11, 20, 0).
  ExpectAt(quads[1][0], {11, 20, 0});
  ExpectTexCoord(quads[1][0], 6.0f, 0.0f);
  ExpectTexCoord(quads[1][2], 7.5f, 0.45f);
}

TEST_F(Box3DrawTest, ListsAreDrawnInOrder) {
  TList<CBox3> boxes;
  boxes.Add(kBox);
  boxes.Add(CBox3(CVector3(5, 5, 5), CVector3(6, 6, 6)));
  const auto quads = QuadsFromFeedback(CaptureFeedback([&] { DrawFilled(boxes); }));
  ASSERT_EQ(quads.size(), 12u);
  ExpectAt(quads[0][0], {0, 0, 0});
  ExpectAt(quads[6][0], {5, 5, 5});
  const auto lines = CaptureFeedback([&] { Draw(boxes); });
  ASSERT_EQ(lines.size(), 48u);
  ExpectAt(lines[24].vertices[0], {5, 5, 5});
}

}  // namespace
}  // namespace quarn::test
