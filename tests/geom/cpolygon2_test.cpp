#include "geom/cpolygon2.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "outline_helpers.h"
#include "support/assert_recorder.h"

namespace {

using quarn::test::Boxes;
using quarn::test::ShoelaceArea;
using quarn::test::ToVector;

CBox2 Box(int x0, int y0, int x1, int y1) { return CBox2(CPoint2(x0, y0), CPoint2(x1, y1)); }

std::string CaseName(const char* name) { return name; }

const CPolygon2 kSquare = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
const CPolygon2 kL = {{0, 0}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}};
const CPolygon2 kArch = {{0, 0}, {0, 2}, {3, 2}, {3, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 0}};
const CPolygon2 kT = {{0, 2}, {3, 2}, {3, 1}, {2, 1}, {2, 0}, {1, 0}, {1, 1}, {0, 1}};
const CPolygon2 kComb = {{0, 0}, {0, 3}, {5, 3}, {5, 0}, {4, 0}, {4, 2},
                         {3, 2}, {3, 0}, {2, 0}, {2, 2}, {1, 2}, {1, 0}};

TEST(CPolygon2, NextAndPrevWrapAround) {
  EXPECT_EQ(kL.GetNext(0), 1);
  EXPECT_EQ(kL.GetNext(5), 0);
  EXPECT_EQ(kL.GetPrev(0), 5);
  EXPECT_EQ(kL.GetPrev(3), 2);
  EXPECT_EQ(kL.GetEdge(5), CEdge2(CPoint2(2, 0), CPoint2(0, 0)));
  EXPECT_QUARN_ASSERTION(kL.GetEdge(6), "cpolygon2");
}

TEST(CPolygon2, ExtentsAndVertexSearch) {
  EXPECT_EQ(kArch.GetExtents(), Box(0, 0, 3, 2));
  EXPECT_EQ(kArch.IndexOf(CPoint2(2, 1)), 5);
  EXPECT_EQ(kArch.IndexOf(CPoint2(2, 2)), TLIST_NO_INDEX);
  EXPECT_TRUE(kArch.Contains(CPoint2(1, 0)));
  EXPECT_FALSE(CPolygon2().Contains(CPoint2(0, 0)));
}

TEST(CPolygon2, InsertAfterAppendsAfterTheLastVertex) {
  CPolygon2 p = {{0, 0}, {0, 1}, {1, 1}};
  p.InsertAfter(2, CPoint2(1, 0));
  p.InsertAfter(0, CPoint2(0, 5));
  EXPECT_EQ(p, CPolygon2({{0, 0}, {0, 5}, {0, 1}, {1, 1}, {1, 0}}));
}

struct ClockwiseCase {
  const char* name;
  CPolygon2 polygon;
  bool clockwise;
  int assertions;
};

std::ostream& operator<<(std::ostream& os, const ClockwiseCase& c) { return os << c.name; }

class CPolygon2Clockwise : public testing::TestWithParam<ClockwiseCase> {};

TEST_P(CPolygon2Clockwise, DecidedByTheFirstTopEdge) {
  const ClockwiseCase& c = GetParam();
  quarn::test::CountingAssertions counting;
  EXPECT_EQ(c.polygon.IsClockwise(), c.clockwise);
  EXPECT_EQ(counting.Count(), c.assertions);
  if (c.assertions > 0) {
    EXPECT_EQ(counting.LastUnit(), "cpolygon2");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CPolygon2Clockwise,
    testing::Values(
        ClockwiseCase{"Square", kSquare, true, 0},
        ClockwiseCase{"SquareReversed", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, false, 0},
        ClockwiseCase{"LStartingMidway", {{1, 1}, {2, 1}, {2, 0}, {0, 0}, {0, 2}, {1, 2}}, true, 0},
        ClockwiseCase{"TopEdgeAcrossTheClosingEdge", {{3, 2}, {3, 0}, {0, 0}, {0, 2}}, true, 0},
        ClockwiseCase{"NoHorizontalTopEdge", {{0, 0}, {1, 2}, {2, 0}}, false, 1},
        ClockwiseCase{"Empty", {}, false, 1}),
    [](const auto& info) { return CaseName(info.param.name); });

struct SplitCase {
  const char* name;
  CPolygon2 polygon;
  int axis;
  CPolygon2 expected;
};

std::ostream& operator<<(std::ostream& os, const SplitCase& c) { return os << c.name; }

class CPolygon2InsertSplits : public testing::TestWithParam<SplitCase> {};

TEST_P(CPolygon2InsertSplits, CutsEdgesAtOtherVertices) {
  CPolygon2 p = GetParam().polygon;
  p.InsertSplits(GetParam().axis);
  EXPECT_EQ(p, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CPolygon2InsertSplits,
    testing::Values(
        SplitCase{"RectangleUnchanged", kSquare, 1, kSquare},
        SplitCase{"LOnY", kL, 1, {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}}},
        SplitCase{"LOnX", kL, 0, {{0, 0}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}, {1, 0}}},
        SplitCase{"ArchOnY",
                  kArch,
                  1,
                  {{0, 0}, {0, 1}, {0, 2}, {3, 2}, {3, 1}, {3, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 0}}},
        SplitCase{
            "SeveralLevelsOnOneEdgeInWalkOrder",
            {{0, 0}, {0, 3}, {1, 3}, {1, 2}, {2, 2}, {2, 1}, {3, 1}, {3, 0}},
            1,
            {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 3}, {1, 2}, {2, 2}, {2, 1}, {3, 1}, {3, 0}}}),
    [](const auto& info) { return CaseName(info.param.name); });

class CPolygon2RemoveSplits : public testing::TestWithParam<SplitCase> {};

TEST_P(CPolygon2RemoveSplits, DropsVerticesInsideStraightRuns) {
  CPolygon2 p = GetParam().polygon;
  p.RemoveSplits(GetParam().axis);
  EXPECT_EQ(p, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CPolygon2RemoveSplits,
    testing::Values(
        SplitCase{"HorizontalRun",
                  {{0, 0}, {0, 1}, {1, 1}, {2, 1}, {2, 0}},
                  1,
                  {{0, 0}, {0, 1}, {2, 1}, {2, 0}}},
        SplitCase{"VerticalRunUntouchedByY",
                  {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {1, 0}},
                  1,
                  {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {1, 0}}},
        SplitCase{"VerticalRun",
                  {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {1, 0}},
                  0,
                  {{0, 0}, {0, 2}, {1, 2}, {1, 0}}},
        SplitCase{
            "Spike", {{0, 0}, {0, 2}, {0, 1}, {1, 1}, {1, 0}}, 0, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}},
        SplitCase{"RunAcrossTheStart",
                  {{1, 1}, {2, 1}, {2, 0}, {0, 0}, {0, 1}},
                  1,
                  {{2, 1}, {2, 0}, {0, 0}, {0, 1}}},
        // A degenerate outline keeps three vertices rather than collapsing.
        SplitCase{"NeverBelowThreeVertices",
                  {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}},
                  0,
                  {{0, 2}, {0, 3}, {0, 4}}},
        SplitCase{
            "ThreeCollinearVerticesStay", {{0, 0}, {0, 1}, {0, 2}}, 0, {{0, 0}, {0, 1}, {0, 2}}}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(CPolygon2, InsertSplitsFromTakesNeighbourCornersOnEdges) {
  // A room (0,0)-(4,2) with neighbours above whose corners touch its top
  // edge at x = 1 and x = 3 and its corner (4,2) at an end point.
  CPolygon2 room = {{0, 2}, {4, 2}, {4, 0}, {0, 0}};
  const CPolygon2 above = {{1, 4}, {3, 4}, {3, 2}, {1, 2}};
  const CPolygon2 right = {{4, 3}, {6, 3}, {6, 1}, {4, 1}};
  room.InsertSplitsFrom(above);
  room.InsertSplitsFrom(right);
  EXPECT_EQ(room, CPolygon2({{0, 2}, {1, 2}, {3, 2}, {4, 2}, {4, 1}, {4, 0}, {0, 0}}));
  CPolygon2 far = kSquare;
  far.InsertSplitsFrom(CPolygon2({{5, 1}, {6, 1}, {6, 0}, {5, 0}}));
  EXPECT_EQ(far, kSquare);
}

struct SeamCase {
  const char* name;
  CPolygon2 polygon;
  std::vector<CPolygon2> pieces;  // empty: no seam
};

std::ostream& operator<<(std::ostream& os, const SeamCase& c) { return os << c.name; }

class CPolygon2Seam : public testing::TestWithParam<SeamCase> {};

TEST_P(CPolygon2Seam, SplitsWhereTheOutlineRunsBack) {
  const SeamCase& c = GetParam();
  const std::optional<TList<CPolygon2>> parts = c.polygon.SplitAtSeam();
  ASSERT_EQ(parts.has_value(), !c.pieces.empty());
  if (!parts) return;
  std::vector<CPolygon2> got;
  for (int i = 0; i < parts->GetSize(); ++i) got.push_back((*parts)[i]);
  EXPECT_EQ(got, c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CPolygon2Seam,
    testing::Values(
        SeamCase{"ThreeVertices", {{0, 0}, {0, 1}, {1, 1}}, {}}, SeamCase{"Rectangle", kSquare, {}},
        SeamCase{"CollinearSameDirection", {{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 0}}, {}},
        SeamCase{"EdgeEndingAtTheOtherEnd", {{3, 1}, {2, 1}, {2, 0}, {1, 0}, {1, 1}, {0, 1}}, {}},
        SeamCase{"ArchRest",
                 {{0, 0}, {0, 1}, {3, 1}, {3, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 0}},
                 {{{1, 1}, {1, 0}, {0, 0}, {0, 1}}, {{3, 1}, {3, 0}, {2, 0}, {2, 1}}}},
        SeamCase{"TwoSeamsSplitRecursively",
                 {{0, 0},
                  {0, 2},
                  {5, 2},
                  {5, 0},
                  {4, 0},
                  {4, 2},
                  {3, 2},
                  {3, 0},
                  {2, 0},
                  {2, 2},
                  {1, 2},
                  {1, 0}},
                 {{{1, 2}, {1, 0}, {0, 0}, {0, 2}},
                  {{3, 2}, {3, 0}, {2, 0}, {2, 2}},
                  {{5, 2}, {5, 0}, {4, 0}, {4, 2}}}}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(CPolygon2, RemoveTopBoxCutsTheTopStrip) {
  CPolygon2 p = kL;
  EXPECT_EQ(p.RemoveTopBox(), Box(0, 1, 1, 2));
  EXPECT_EQ(p, CPolygon2({{0, 0}, {0, 1}, {1, 1}, {2, 1}, {2, 0}}));
  EXPECT_EQ(p.RemoveTopBox(), Box(0, 0, 2, 1));
  EXPECT_EQ(p.GetSize(), 2);
}

TEST(CPolygon2, RemoveTopBoxFallsBackToTheHugeBox) {
  const CBox2 huge = Box(-37707, -37707, 37707, 37707);
  quarn::test::CountingAssertions counting;
  CPolygon2 triangle = {{0, 0}, {0, 1}, {1, 1}};
  EXPECT_EQ(triangle.RemoveTopBox(), huge);
  EXPECT_EQ(triangle.GetSize(), 3);
  CPolygon2 diamond = {{0, 1}, {1, 2}, {2, 1}, {1, 0}};
  EXPECT_EQ(diamond.RemoveTopBox(), huge);
  EXPECT_EQ(diamond.GetSize(), 4);
  EXPECT_EQ(counting.Count(), 2);
  EXPECT_EQ(counting.LastUnit(), "cpolygon2");
}

struct BoxListCase {
  const char* name;
  CPolygon2 polygon;
  std::vector<CBox2> boxes;
};

std::ostream& operator<<(std::ostream& os, const BoxListCase& c) { return os << c.name; }

class CPolygon2BoxList : public testing::TestWithParam<BoxListCase> {};

TEST_P(CPolygon2BoxList, DecomposesTopStripFirst) {
  const BoxListCase& c = GetParam();
  const CPolygon2 before = c.polygon;
  const CBox2List boxes = c.polygon.GetAsBoxList();
  EXPECT_EQ(ToVector(boxes), c.boxes);
  EXPECT_EQ(c.polygon, before);
  if (c.polygon.GetSize() >= 4) {
    EXPECT_EQ(quarn::test::TotalArea(boxes), ShoelaceArea(c.polygon));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CPolygon2BoxList,
    testing::Values(
        BoxListCase{"Square", kSquare, {Box(0, 0, 1, 1)}},
        BoxListCase{"L", kL, {Box(0, 1, 1, 2), Box(0, 0, 2, 1)}},
        BoxListCase{"Arch", kArch, {Box(0, 1, 3, 2), Box(0, 0, 1, 1), Box(2, 0, 3, 1)}},
        BoxListCase{"T", kT, {Box(0, 1, 3, 2), Box(1, 0, 2, 1)}},
        BoxListCase{
            "Comb", kComb, {Box(0, 2, 5, 3), Box(0, 0, 1, 2), Box(2, 0, 3, 2), Box(4, 0, 5, 2)}},
        BoxListCase{"SquareWithSplits",
                    {{0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}, {0, 0}, {0, 1}},
                    {Box(0, 0, 2, 2)}},
        BoxListCase{"Staircase",
                    {{0, 0}, {0, 3}, {1, 3}, {1, 2}, {2, 2}, {2, 1}, {3, 1}, {3, 0}},
                    {Box(0, 2, 1, 3), Box(0, 1, 2, 2), Box(0, 0, 3, 1)}},
        BoxListCase{"ThreeVertices", {{0, 0}, {0, 1}, {1, 1}}, {}}, BoxListCase{"Empty", {}, {}}),
    [](const auto& info) { return CaseName(info.param.name); });

// A malformed outline whose remaining vertices have no horizontal top edge
// used to be cut forever: the fallback box changes nothing.
TEST(CPolygon2, GetAsBoxListStopsWhenNoTopEdgeIsLeft) {
  quarn::test::CountingAssertions counting;
  const CPolygon2 diamond = {{0, 1}, {1, 2}, {2, 1}, {1, 0}};
  EXPECT_EQ(diamond.GetAsBoxList().GetSize(), 0);
  const CPolygon2 house = {{0, 0}, {0, 2}, {1, 3}, {2, 2}, {2, 0}};
  EXPECT_EQ(house.GetAsBoxList().GetSize(), 0);
  EXPECT_EQ(counting.Count(), 2);
  EXPECT_EQ(counting.LastUnit(), "cpolygon2");
}

TEST(CPolygon2Property, BoxListOfRandomOutlinesTilesTheirArea) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 300; ++round) {
    const quarn::test::CellSet cells = quarn::test::RandomCells(rng, 9, 7, 4 + round % 40);
    const CPolygon2 outline = quarn::test::OutlineOf(cells, rng, round % 3 == 0 ? 0.3 : 0.0);
    SCOPED_TRACE(testing::Message() << "round " << round << " outline " << outline);
    ASSERT_TRUE(outline.IsClockwise());
    ASSERT_EQ(ShoelaceArea(outline), cells.Count());
    quarn::test::CountingAssertions counting;
    const CBox2List boxes = outline.GetAsBoxList();
    EXPECT_EQ(counting.Count(), 0);
    EXPECT_EQ(quarn::test::TotalArea(boxes), cells.Count());
    for (int i = 0; i < boxes.GetSize(); ++i) {
      for (int j = i + 1; j < boxes.GetSize(); ++j) {
        EXPECT_FALSE(boxes[i].Overlaps(boxes[j])) << boxes[i] << " and " << boxes[j];
      }
      // Disjoint boxes of the right total area cover the cells exactly when
      // each lies inside the cell set.
      for (int y = boxes[i].GetMin().y; y < boxes[i].GetMax().y; ++y) {
        for (int x = boxes[i].GetMin().x; x < boxes[i].GetMax().x; ++x) {
          EXPECT_TRUE(cells.Has(x, y)) << boxes[i] << " covers empty cell " << x << "," << y;
        }
      }
    }
  }
}

TEST(CPolygon2Text, WritesVerticesThenStar) {
  std::ostringstream os;
  os << kSquare;
  EXPECT_EQ(os.str(), "(0,1)(1,1)(1,0)(0,0)*");
  std::ostringstream negative;
  negative << CPolygon2({{-3, 12}, {-3, -7}});
  EXPECT_EQ(negative.str(), "(-3,12)(-3,-7)*");
  std::ostringstream empty;
  empty << CPolygon2();
  EXPECT_EQ(empty.str(), "*");
}

TEST(CPolygon2Text, RoundTripEndsInTheFailedState) {
  for (const CPolygon2& original : {kSquare, kL, kComb}) {
    std::stringstream ss;
    ss << original << '\n';
    CPolygon2 read = {{9, 9}};
    ss >> read;
    EXPECT_EQ(read, original);
    EXPECT_TRUE(ss.fail());
  }
}

TEST(CPolygon2Text, StarIsConsumedSoTheNextLineNeedsAClear) {
  std::istringstream is("(0,1)(1,1)*\n(5,5)(6,6)*\n");
  CPolygon2 first, second;
  is >> first;
  EXPECT_EQ(first, CPolygon2({{0, 1}, {1, 1}}));
  EXPECT_TRUE(is.fail());
  is.clear();
  is >> second;
  EXPECT_EQ(second, CPolygon2({{5, 5}, {6, 6}}));
}

struct ReadCase {
  const char* name;
  std::string text;
  CPolygon2 expected;
};

std::ostream& operator<<(std::ostream& os, const ReadCase& c) { return os << c.name; }

class CPolygon2Read : public testing::TestWithParam<ReadCase> {};

TEST_P(CPolygon2Read, StopsAtTheFirstFailedExtraction) {
  std::istringstream is(GetParam().text);
  CPolygon2 read = {{9, 9}, {8, 8}};
  is >> read;
  EXPECT_EQ(read, GetParam().expected);
  EXPECT_TRUE(is.fail());
}

INSTANTIATE_TEST_SUITE_P(
    Table, CPolygon2Read,
    testing::Values(
        ReadCase{"Empty", "", {}}, ReadCase{"OnlyBlanks", "  \n\t ", {}},
        ReadCase{"OnlyStar", "*", {}},
        ReadCase{"OtherSeparators", "[0;1]<1:1>/1|0\\{0:0}*", {{0, 1}, {1, 1}, {1, 0}, {0, 0}}},
        ReadCase{"BlanksBetweenParts", " ( 3 , -4 )\n( 5,6) *", {{3, -4}, {5, 6}}},
        ReadCase{"LetterInsteadOfNumber", "(0,1)(a,1)(2,2)*", {{0, 1}}},
        // The blank is skipped, so '3' becomes the separator and ')' fails.
        ReadCase{"BlankInsteadOfComma", "(0,1)(2 3)(4,5)*", {{0, 1}}},
        ReadCase{"NumberOverflow", "(0,1)(99999999999,1)*", {{0, 1}}},
        ReadCase{"CoordinateBeyondLimit", "(0,1)(20001,1)(2,2)*", {{0, 1}}},
        ReadCase{"NegativeCoordinateBeyondLimit", "(0,1)(2,-20001)*", {{0, 1}}},
        ReadCase{"CoordinateAtLimit", "(20000,-20000)*", {{20000, -20000}}},
        ReadCase{"PlainJunk", "hello world, this is no outline", {}}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(CPolygon2Text, EveryTruncationReadsTheCompleteVerticesOnly) {
  const std::string text = "(10,-2)(3,40)(-5,6)*";
  const std::vector<std::size_t> vertexEnds = {7, 13, 19};
  for (std::size_t length = 0; length <= text.size(); ++length) {
    std::istringstream is(text.substr(0, length));
    CPolygon2 read;
    is >> read;
    int complete = 0;
    for (std::size_t end : vertexEnds) complete += end <= length;
    EXPECT_EQ(read.GetSize(), complete) << "length " << length;
    EXPECT_TRUE(is.fail()) << "length " << length;
  }
}

TEST(CPolygon2Text, LongLineOfJunkStopsAtTheVertexLimit) {
  // "a1b2c" reads as one vertex, since separators are not examined: a long
  // line of it must not grow the polygon without bound.
  std::string junk;
  for (int i = 0; i < kPolygonTextMaxVertices + 100; ++i) junk += "a1b2c";
  std::istringstream is(junk);
  CPolygon2 read;
  is >> read;
  EXPECT_EQ(read.GetSize(), kPolygonTextMaxVertices);
  EXPECT_TRUE(is.fail());
}

}  // namespace
