#include "geom/cvector2.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct VectorCase {
  std::string name;
  CVector2 result;
  CVector2 expected;
};

TEST(CVector2Arithmetic, WorkedResults) {
  const CVector2 a(3.0f, 4.0f);
  const CVector2 b(-1.0f, 0.5f);
  CVector2 normalised = a;
  normalised.Normalise();
  CVector2 accumulated = a;
  accumulated += b;
  accumulated -= CVector2(1.0f, 1.0f);
  accumulated *= 2.0f;
  accumulated /= 4.0f;
  const std::vector<VectorCase> cases = {
      {"from point", CVector2(CPoint2(-2, 7)), {-2.0f, 7.0f}},
      {"sum", a + b, {2.0f, 4.5f}},
      {"difference", a - b, {4.0f, 3.5f}},
      {"scaled", a * 0.5f, {1.5f, 2.0f}},
      {"divided", a / 2.0f, {1.5f, 2.0f}},
      {"assigning forms", accumulated, {0.5f, 1.75f}},
      {"negation", -a, {-3.0f, -4.0f}},
      {"normalised", normalised, {0.6f, 0.8f}},
      {"clockwise perpendicular", a.GetPerpendicularRight(), {4.0f, -3.0f}},
      {"counter-clockwise perpendicular", a.GetPerpendicularLeft(), {-4.0f, 3.0f}},
  };
  for (const VectorCase& c : cases) {
    EXPECT_FLOAT_EQ(c.result.x, c.expected.x) << c.name;
    EXPECT_FLOAT_EQ(c.result.y, c.expected.y) << c.name;
  }
}

TEST(CVector2Measures, LengthDotAndDistance) {
  EXPECT_FLOAT_EQ(CVector2(3.0f, 4.0f).GetLength(), 5.0f);
  EXPECT_FLOAT_EQ(CVector2(0.0f, 0.0f).GetLength(), 0.0f);
  EXPECT_FLOAT_EQ(Dot({1.0f, 2.0f}, {3.0f, -4.0f}), -5.0f);
  EXPECT_FLOAT_EQ(Dot({2.0f, 0.0f}, {0.0f, 7.0f}), 0.0f);
  EXPECT_FLOAT_EQ(GetDistance({1.0f, 1.0f}, {4.0f, 5.0f}), 5.0f);
  const CVector2 v(5.0f, -2.0f);
  EXPECT_FLOAT_EQ(Dot(v, v.GetPerpendicularRight()), 0.0f);
  EXPECT_FLOAT_EQ(Dot(v, v.GetPerpendicularLeft()), 0.0f);
}

}  // namespace
