#include "geom/cedge2.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/assert_recorder.h"

namespace {

struct IntersectCase {
  std::string name;
  CEdge2 a;
  CEdge2 b;
  bool expected;
};

TEST(CEdge2Intersects, ClosedSegmentsWithParallelExcluded) {
  const std::vector<IntersectCase> cases = {
      {"shared end point", {{0, 0}, {2, 0}}, {{2, 0}, {2, 2}}, true},
      {"collinear overlapping", {{0, 0}, {2, 0}}, {{1, 0}, {3, 0}}, false},
      {"identical", {{0, 0}, {2, 0}}, {{0, 0}, {2, 0}}, false},
      {"parallel apart", {{0, 0}, {4, 0}}, {{0, 1}, {4, 1}}, false},
      {"crossing", {{0, 0}, {4, 4}}, {{0, 4}, {4, 0}}, true},
      {"crossing axis aligned", {{0, 2}, {4, 2}}, {{2, 0}, {2, 4}}, true},
      {"T junction at an inner point", {{0, 0}, {4, 0}}, {{2, 0}, {2, 3}}, true},
      {"would cross when extended", {{0, 0}, {1, 0}}, {{2, -1}, {2, 1}}, false},
      {"other ends short of this", {{0, 0}, {4, 0}}, {{2, 1}, {2, 3}}, false},
      {"reversed directions", {{4, 4}, {0, 0}}, {{4, 0}, {0, 4}}, true},
      {"end points touch head to head", {{0, 0}, {2, 2}}, {{4, 0}, {2, 2}}, true},
  };
  for (const IntersectCase& c : cases) {
    EXPECT_EQ(c.a.Intersects(c.b), c.expected) << c.name;
    EXPECT_EQ(c.b.Intersects(c.a), c.expected) << c.name << " (swapped)";
  }
}

struct EqualCase {
  CEdge2 a;
  CEdge2 b;
  bool expected;
};

TEST(CEdge2Equality, IgnoresDirection) {
  const std::vector<EqualCase> cases = {
      {{{0, 0}, {3, 0}}, {{0, 0}, {3, 0}}, true},
      {{{0, 0}, {3, 0}}, {{3, 0}, {0, 0}}, true},
      {{{0, 0}, {3, 0}}, {{0, 0}, {0, 3}}, false},
      {{{0, 0}, {3, 0}}, {{3, 0}, {6, 0}}, false},
      {{{1, 2}, {3, 4}}, {{1, 4}, {3, 2}}, false},
  };
  for (const EqualCase& c : cases) EXPECT_EQ(c.a == c.b, c.expected) << c.a << " vs " << c.b;
}

TEST(CEdge2Points, GetPointAndDirection) {
  const CEdge2 e({1, 2}, {4, -2});
  EXPECT_EQ(e.GetPoint(1), CPoint2(1, 2));
  EXPECT_EQ(e.GetPoint(2), CPoint2(4, -2));
  EXPECT_EQ(e.GetPoint(0), CPoint2(4, -2));
  EXPECT_EQ(e.GetDirection(), CVector2(3.0f, -4.0f));
}

TEST(CEdge2Points, EqualEndPointsAreReportedAndIntersectNothing) {
  EXPECT_QUARN_ASSERTION(CEdge2({1, 1}, {1, 1}), "cedge2");
  quarn::test::CountingAssertions counting;
  const CEdge2 point({1, 1}, {1, 1});
  EXPECT_EQ(counting.Count(), 1);
  EXPECT_FALSE(point.Intersects(CEdge2({0, 0}, {2, 2})));
  EXPECT_FALSE(CEdge2({0, 0}, {2, 2}).Intersects(point));
}

}  // namespace
