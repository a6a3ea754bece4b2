#include "geom/cvector3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support/assert_recorder.h"

namespace {

using Binary = CVector3 (*)(CVector3, CVector3);
using Assigning = void (*)(CVector3&, CVector3);

struct BinaryCase {
  const char* name;
  Binary binary;
  Assigning assigning;
  CVector3 a;
  CVector3 b;
  CVector3 expected;
};

std::ostream& operator<<(std::ostream& os, const BinaryCase& c) { return os << c.name; }

class CVector3Binary : public testing::TestWithParam<BinaryCase> {};

TEST_P(CVector3Binary, BinaryAndAssigningFormsAgree) {
  const BinaryCase& c = GetParam();
  EXPECT_EQ(c.binary(c.a, c.b), c.expected);
  CVector3 assigned = c.a;
  c.assigning(assigned, c.b);
  EXPECT_EQ(assigned, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, CVector3Binary,
                         testing::Values(BinaryCase{"Add",
                                                    [](CVector3 a, CVector3 b) { return a + b; },
                                                    [](CVector3& a, CVector3 b) { a += b; },
                                                    {1, -2, 3},
                                                    {0.5f, 2, -4},
                                                    {1.5f, 0, -1}},
                                         BinaryCase{"SubtractIsNotReversed",
                                                    [](CVector3 a, CVector3 b) { return a - b; },
                                                    [](CVector3& a, CVector3 b) { a -= b; },
                                                    {1, 2, 3},
                                                    {4, 6, 8},
                                                    {-3, -4, -5}},
                                         BinaryCase{"MultiplyComponentWise",
                                                    [](CVector3 a, CVector3 b) { return a * b; },
                                                    [](CVector3& a, CVector3 b) { a *= b; },
                                                    {2, -3, 0.5f},
                                                    {4, 5, 6},
                                                    {8, -15, 3}}),
                         [](const testing::TestParamInfo<BinaryCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(CVector3, SingleValueConstructorFillsAllThree) {
  EXPECT_EQ(CVector3(2.5f), CVector3(2.5f, 2.5f, 2.5f));
  EXPECT_EQ(CVector3(), CVector3(0, 0, 0));
}

TEST(CVector3, ScalingByAFloat) {
  const CVector3 v(2, -4, 8);
  EXPECT_EQ(v * 0.5f, CVector3(1, -2, 4));
  EXPECT_EQ(0.5f * v, CVector3(1, -2, 4));
  EXPECT_EQ(v / 4.0f, CVector3(0.5f, -1, 2));
  CVector3 w = v;
  w *= 2.0f;
  EXPECT_EQ(w, CVector3(4, -8, 16));
  w /= 8.0f;
  EXPECT_EQ(w, CVector3(0.5f, -1, 2));
  EXPECT_EQ(-v, CVector3(-2, 4, -8));
}

TEST(CVector3, CrossFollowsTheRightHandRule) {
  const CVector3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
  EXPECT_EQ(Cross(x, y), z);
  EXPECT_EQ(Cross(y, z), x);
  EXPECT_EQ(Cross(z, x), y);
  EXPECT_EQ(Cross(y, x), -z);
  const CVector3 a(1, 2, 3), b(-4, 5, 0.5f);
  const CVector3 c = Cross(a, b);
  EXPECT_EQ(c, CVector3(2 * 0.5f - 3 * 5, 3 * -4 - 1 * 0.5f, 1 * 5 - 2 * -4));
  EXPECT_FLOAT_EQ(Dot(c, a), 0.0f);
  EXPECT_FLOAT_EQ(Dot(c, b), 0.0f);
}

TEST(CVector3, LengthsAndDistance) {
  const CVector3 v(2, 3, 6);
  EXPECT_EQ(Dot(v, CVector3(1, -1, 2)), 2 - 3 + 12);
  EXPECT_EQ(v.GetSquaredLength(), 49.0f);
  EXPECT_EQ(v.GetLength(), 7.0f);
  EXPECT_EQ(GetDistance(CVector3(1, 1, 1), CVector3(4, 5, 1)), 5.0f);
  EXPECT_EQ(GetDistance(CVector3(4, 5, 1), CVector3(1, 1, 1)), 5.0f);
}

TEST(CVector3, NormalisedCopyHasUnitLengthAndLeavesOriginal) {
  const CVector3 v(0, -3, 4);
  EXPECT_EQ(v.GetNormalised(), CVector3(0, -0.6f, 0.8f));
  EXPECT_EQ(v, CVector3(0, -3, 4));
  EXPECT_FLOAT_EQ(CVector3(1, 2, 3).GetNormalised().GetLength(), 1.0f);
  EXPECT_FALSE(std::isfinite(CVector3(0.0f).GetNormalised().x));
}

TEST(CVector3, MinAndMaxChooseEachComponentIndependently) {
  const CVector3 a(1, 5, -2), b(3, -1, -2);
  EXPECT_EQ(Min(a, b), CVector3(1, -1, -2));
  EXPECT_EQ(Max(a, b), CVector3(3, 5, -2));
}

TEST(CVector3, AxisIndexReadsAndWrites) {
  CVector3 v(1, 2, 3);
  v[2] = 9;
  EXPECT_EQ(v[0], 1);
  EXPECT_EQ(v[1], 2);
  EXPECT_EQ(v, CVector3(1, 2, 9));
  EXPECT_QUARN_ASSERTION(v[3], "cvector3");
}

TEST(CVector3, PrintsAsTriple) {
  std::ostringstream os;
  os << CVector3(1.5f, -2, 0);
  EXPECT_EQ(os.str(), "(1.5,-2,0)");
}

}  // namespace
