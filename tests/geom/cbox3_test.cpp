#include "geom/cbox3.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geom/cbox2.h"
#include "support/assert_recorder.h"

namespace {

std::vector<CBox3> ToVector(const TList<CBox3>& list) {
  std::vector<CBox3> boxes;
  for (int i = 0; i < list.GetSize(); ++i) boxes.push_back(list[i]);
  return boxes;
}

CBox3 Box(CVector3 a, CVector3 b) { return CBox3(a, b); }

TEST(CBox3, ExtrudesPlanBoxBetweenHeightsInAnyOrder) {
  const CBox3 box(CBox2(CPoint2(2, 1), CPoint2(0, 0)), 3.0f, 0.0f);
  EXPECT_EQ(box.GetMin(), CVector3(0, 0, 0));
  EXPECT_EQ(box.GetMax(), CVector3(2, 1, 3));
  const CBox3 slab(CBox2(CPoint2(-3, 4), CPoint2(5, 7)), -0.05f, 0.05f);
  EXPECT_EQ(slab, Box({-3, 4, -0.05f}, {5, 7, 0.05f}));
}

TEST(CBox3, TwoPointConstructorNormalisesCorners) {
  EXPECT_EQ(Box({4, 0, 3}, {0, 1, 0}), Box({0, 0, 0}, {4, 1, 3}));
  CBox3 box({0, 0, 0}, {1, 1, 1});
  box.Set({5, -1, 2}, {3, 1, -2});
  EXPECT_EQ(box.GetMin(), CVector3(3, -1, -2));
  EXPECT_EQ(box.GetMax(), CVector3(5, 1, 2));
}

TEST(CBox3, DegenerateBoxesAreAssertionFailures) {
  const CBox2 plan(CPoint2(0, 0), CPoint2(1, 1));
  EXPECT_QUARN_ASSERTION(CBox3(plan, 2.0f, 2.0f), "cbox3");
  EXPECT_QUARN_ASSERTION(CBox3(CVector3(0, 0, 0), CVector3(1, 0, 1)), "cbox3");
  CBox3 box({0, 0, 0}, {1, 1, 1});
  EXPECT_QUARN_ASSERTION(box.Set({0, 0, 0}, {0, 1, 1}), "cbox3");
}

TEST(CBox3, OverlapIsOpenOnEachAxis) {
  const CBox3 a({0, 0, 0}, {2, 2, 2});
  const CBox3 touching({2, 0, 0}, {3, 2, 2});
  const CBox3 inside({1, 1, 1}, {1.5f, 3, 1.5f});
  EXPECT_FALSE(a.OverlapsOnAxis(touching, 0));
  EXPECT_TRUE(a.OverlapsOnAxis(touching, 1));
  EXPECT_TRUE(a.OverlapsOnAxis(inside, 0));
  EXPECT_TRUE(a.OverlapsOnAxis(inside, 1));
  EXPECT_TRUE(a.OverlapsOnAxis(inside, 2));
}

struct ClipCase {
  const char* name;
  CBox3 box;
  CBox3 other;
  std::vector<CBox3> difference;
  std::vector<CBox3> intersection;
};

std::ostream& operator<<(std::ostream& os, const ClipCase& c) { return os << c.name; }

class CBox3Clip : public testing::TestWithParam<ClipCase> {};

TEST_P(CBox3Clip, DifferenceAndIntersection) {
  const ClipCase& c = GetParam();
  EXPECT_EQ(ToVector(c.box.Difference(c.other)), c.difference);
  EXPECT_EQ(ToVector(c.box.Intersection(c.other)), c.intersection);
}

const CBox3 kWall({0, 0, 0}, {4, 1, 3});
const CBox3 kCube({0, 0, 0}, {3, 3, 3});

INSTANTIATE_TEST_SUITE_P(
    Table, CBox3Clip,
    testing::Values(
        ClipCase{"DoorThroughWall",
                 kWall,
                 Box({1, -1, 0}, {2, 2, 2}),
                 {Box({0, 0, 0}, {1, 1, 3}), Box({2, 0, 0}, {4, 1, 3}), Box({1, 0, 2}, {2, 1, 3})},
                 {Box({1, 0, 0}, {2, 1, 2})}},
        ClipCase{"SharedFaceOnly", kWall, Box({4, 0, 0}, {5, 1, 3}), {kWall}, {}},
        ClipCase{"Disjoint", kWall, Box({10, 10, 10}, {11, 11, 11}), {kWall}, {}},
        ClipCase{"CoveredCompletely", kWall, Box({-1, -1, -1}, {5, 2, 4}), {}, {kWall}},
        ClipCase{"SameBox", kWall, kWall, {}, {kWall}},
        ClipCase{"HoleInTheMiddleGivesSixSlabsInAxisOrder",
                 kCube,
                 Box({1, 1, 1}, {2, 2, 2}),
                 {Box({0, 0, 0}, {1, 3, 3}), Box({2, 0, 0}, {3, 3, 3}), Box({1, 0, 0}, {2, 1, 3}),
                  Box({1, 2, 0}, {2, 3, 3}), Box({1, 1, 0}, {2, 2, 1}), Box({1, 1, 2}, {2, 2, 3})},
                 {Box({1, 1, 1}, {2, 2, 2})}},
        ClipCase{"CornerBite",
                 kCube,
                 Box({2, 2, 2}, {4, 4, 4}),
                 {Box({0, 0, 0}, {2, 3, 3}), Box({2, 0, 0}, {3, 2, 3}), Box({2, 2, 0}, {3, 3, 2})},
                 {Box({2, 2, 2}, {3, 3, 3})}}),
    [](const testing::TestParamInfo<ClipCase>& info) { return std::string(info.param.name); });

struct FaceCase {
  unsigned side;
  CFace3 face;
  CVector3 normal;
};

std::ostream& operator<<(std::ostream& os, const FaceCase& c) { return os << "side " << c.side; }

class CBox3Face : public testing::TestWithParam<FaceCase> {};

TEST_P(CBox3Face, FaceLiesOnItsSideWithOutwardNormal) {
  const CBox3 box({0, 0, 0}, {2, 1, 3});
  const FaceCase& c = GetParam();
  EXPECT_EQ(box.GetFace(c.side), c.face);
  EXPECT_EQ(GetSideNormal(c.side), c.normal);
}

INSTANTIATE_TEST_SUITE_P(Table, CBox3Face,
                         testing::Values(FaceCase{0, {{0, 0, 0}, {0, 1, 3}, 0}, {-1, 0, 0}},
                                         FaceCase{1, {{2, 0, 0}, {2, 1, 3}, 1}, {1, 0, 0}},
                                         FaceCase{2, {{0, 0, 0}, {2, 0, 3}, 2}, {0, -1, 0}},
                                         FaceCase{3, {{0, 1, 0}, {2, 1, 3}, 3}, {0, 1, 0}},
                                         FaceCase{4, {{0, 0, 0}, {2, 1, 0}, 4}, {0, 0, -1}},
                                         FaceCase{5, {{0, 0, 3}, {2, 1, 3}, 5}, {0, 0, 1}}));

TEST(CBox3Face, NormalOfNoSideIsZero) {
  EXPECT_EQ(GetSideNormal(6), CVector3(0.0f));
  EXPECT_EQ(GetSideNormal(99), CVector3(0.0f));
}

TEST(CBox3Face, TopFaceQuadAndTextureCoordinates) {
  const CFace3 top = CBox3({0, 0, 0}, {2, 1, 3}).GetFace(5);
  const std::array<CVector3, 4> quad = top.GetQuad();
  const std::array<CVector3, 4> expectedQuad = {CVector3(0, 0, 3), CVector3(2, 0, 3),
                                                CVector3(2, 1, 3), CVector3(0, 1, 3)};
  EXPECT_EQ(quad, expectedQuad);
  const std::array<std::array<float, 2>, 4> expectedTex = {
      {{0.0f, 0.0f}, {0.6f, 0.0f}, {0.6f, 0.3f}, {0.0f, 0.3f}}};
  for (int v = 0; v < 4; ++v) {
    const std::array<float, 2> tex = GetFaceTexCoord(5, quad[v]);
    EXPECT_FLOAT_EQ(tex[0], expectedTex[v][0]) << "vertex " << v;
    EXPECT_FLOAT_EQ(tex[1], expectedTex[v][1]) << "vertex " << v;
  }
}

TEST(CBox3Face, EveryQuadIsTheFaceRectangle) {
  // Whatever the side, the four vertices are the face's four distinct
  // corners, consecutive ones differing on exactly one axis.
  const CBox3 box({-1, 2, 0.5f}, {3, 5, 2});
  for (unsigned side = 0; side < 6; ++side) {
    const CFace3 face = box.GetFace(side);
    const std::array<CVector3, 4> quad = face.GetQuad();
    EXPECT_EQ(quad[0], face.p1);
    EXPECT_EQ(quad[2], face.p2);
    for (int v = 0; v < 4; ++v) {
      const CVector3 step = quad[(v + 1) % 4] - quad[v];
      const int moved = (step.x != 0) + (step.y != 0) + (step.z != 0);
      EXPECT_EQ(moved, 1) << "side " << side << " vertex " << v;
      EXPECT_EQ(quad[v][side / 2], face.p1[side / 2]) << "side " << side;
    }
  }
}

TEST(CBox3Face, TextureCoordinatesUseTheTwoOtherAxes) {
  const CVector3 v(10, 20, 30);
  const std::array<float, 2> x = GetFaceTexCoord(1, v);
  const std::array<float, 2> y = GetFaceTexCoord(2, v);
  const std::array<float, 2> z = GetFaceTexCoord(4, v);
  EXPECT_FLOAT_EQ(x[0], 6.0f);
  EXPECT_FLOAT_EQ(x[1], 9.0f);
  EXPECT_FLOAT_EQ(y[0], 3.0f);
  EXPECT_FLOAT_EQ(y[1], 9.0f);
  EXPECT_FLOAT_EQ(z[0], 3.0f);
  EXPECT_FLOAT_EQ(z[1], 6.0f);
}

}  // namespace
