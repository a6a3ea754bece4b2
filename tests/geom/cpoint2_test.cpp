#include "geom/cpoint2.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/assert_recorder.h"

namespace {

struct PointCase {
  std::string name;
  CPoint2 result;
  CPoint2 expected;
};

TEST(CPoint2Arithmetic, WorkedResults) {
  const CPoint2 a(7, -3);
  const CPoint2 b(2, 5);
  CPoint2 accumulated = a;
  accumulated += b;
  accumulated -= CPoint2(1, 1);
  accumulated *= 3;
  accumulated /= 4;
  const std::vector<PointCase> cases = {
      {"sum", a + b, {9, 2}},
      {"difference", a - b, {5, -8}},
      {"scaled", a * -2, {-14, 6}},
      {"division truncates toward zero", CPoint2(-7, 7) / 2, {-3, 3}},
      {"division of negatives", CPoint2(-9, -1) / -4, {2, 0}},
      {"assigning forms", accumulated, {6, 0}},
      {"abs", CPoint2(-4, 0).Abs(), {4, 0}},
      {"one value for both", CPoint2(6), {6, 6}},
      {"min picks each component alone", Min({1, 5}, {3, 2}), {1, 2}},
      {"max picks each component alone", Max({1, 5}, {3, 2}), {3, 5}},
      {"min of negatives", Min({-1, -5}, {-3, 2}), {-3, -5}},
  };
  for (const PointCase& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
}

TEST(CPoint2Access, AxisIndexReadsAndWritesTheCoordinate) {
  CPoint2 p(3, 8);
  EXPECT_EQ(p[0], 3);
  EXPECT_EQ(p[1], 8);
  p[1] = -2;
  p[0] += 1;
  EXPECT_EQ(p, CPoint2(4, -2));
  p.Set(0, 9);
  EXPECT_EQ(p, CPoint2(0, 9));
  EXPECT_NE(p, CPoint2(9, 0));
}

TEST(CPoint2Access, AxisOutsideTheTwoAxesIsAnAssertion) {
  CPoint2 p(1, 2);
  const CPoint2& constant = p;
  EXPECT_QUARN_ASSERTION(p[2], "cpoint2");
  EXPECT_QUARN_ASSERTION(constant[-1], "cpoint2");
}

TEST(CPoint2Print, WritesCoordinatesWithoutBlanks) {
  const std::vector<std::pair<CPoint2, std::string>> cases = {
      {{3, -2}, "(3,-2)"}, {{0, 0}, "(0,0)"}, {{-120, 45}, "(-120,45)"}};
  for (const auto& [point, text] : cases) {
    std::ostringstream out;
    out << point;
    EXPECT_EQ(out.str(), text);
  }
}

}  // namespace
