#include "geom/clattice2.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "outline_helpers.h"
#include "support/assert_recorder.h"

namespace {

using quarn::test::Boxes;
using quarn::test::ShoelaceArea;
using quarn::test::ToVector;

CBox2 Box(int x0, int y0, int x1, int y1) { return CBox2(CPoint2(x0, y0), CPoint2(x1, y1)); }

CPolygon2 Corners(const CBox2& box) { return CPolygon2(box.GetCorners()); }

const CPolygon2 kL = {{0, 0}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}};
const CBox2List kRow = Boxes({Box(0, 0, 1, 1), Box(1, 0, 2, 1), Box(2, 0, 3, 1)});

TEST(CLattice2, RectangleIsOneBoxOutlinedFromTopLeft) {
  const CLattice2 lattice(CPolygon2({{2, 5}, {6, 5}, {6, 1}, {2, 1}}));
  EXPECT_EQ(ToVector(lattice), std::vector<CBox2>{Box(2, 1, 6, 5)});
  EXPECT_EQ(lattice.GetArea(), 16u);
  EXPECT_EQ(lattice.GetAsPolygon(), CPolygon2({{2, 5}, {6, 5}, {6, 1}, {2, 1}}));
}

TEST(CLattice2, LShapeIsSlicedLinkedAndOutlinedBack) {
  quarn::test::CountingAssertions counting;
  const CLattice2 lattice(kL);
  EXPECT_EQ(counting.Count(), 0);
  EXPECT_EQ(ToVector(lattice),
            (std::vector<CBox2>{Box(0, 1, 1, 2), Box(0, 0, 1, 1), Box(1, 0, 2, 1)}));
  EXPECT_EQ(lattice.GetArea(), 3u);
  EXPECT_EQ(lattice[0].GetNeighbour(SideDown), &lattice[1]);
  EXPECT_EQ(lattice[1].GetNeighbour(SideRight), &lattice[2]);
  CPolygon2 outline = lattice.GetAsPolygon();
  EXPECT_EQ(outline, CPolygon2({{0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}, {1, 0}, {0, 0}, {0, 1}}));
  outline.RemoveSplits(0);
  outline.RemoveSplits(1);
  EXPECT_EQ(outline, CPolygon2({{0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}, {0, 0}}));
}

TEST(CLattice2, BoxListConstructionRemovesOverlapsAndSlices) {
  quarn::test::CountingAssertions counting;
  const CLattice2 lattice(Boxes({Box(0, 0, 4, 4), Box(2, 2, 6, 6)}));
  EXPECT_EQ(counting.Count(), 0);
  EXPECT_EQ(lattice.GetArea(), 28u);
  EXPECT_FALSE(lattice.OverlapsSelf());
  EXPECT_FALSE(lattice.SlicesSelf());
  EXPECT_EQ(ShoelaceArea(lattice.GetAsPolygon()), 28);
}

TEST(CLattice2, CopiesLinkTheirOwnBoxes) {
  const CLattice2 original(kL);
  const CLattice2 copy(original);
  EXPECT_EQ(copy[0].GetNeighbour(SideDown), &copy[1]);
  EXPECT_EQ(copy[2].GetNeighbour(SideLeft), &copy[1]);
  CLattice2 assigned(CPolygon2({{0, 1}, {1, 1}, {1, 0}, {0, 0}}));
  assigned = original;
  EXPECT_EQ(assigned[1].GetNeighbour(SideUp), &assigned[0]);
  const CBox2List list = original.GetBoxList();
  EXPECT_EQ(list[1].GetNeighbour(SideRight), &list[2]);
  EXPECT_EQ(list[1].GetNeighbourCount(), 2);
}

TEST(CLattice2, OrderedByArea) {
  const CLattice2 small(CPolygon2({{0, 1}, {1, 1}, {1, 0}, {0, 0}}));
  const CLattice2 large(kL);
  EXPECT_TRUE(small < large);
  EXPECT_FALSE(large < small);
  TList<CLattice2> lattices(large);
  lattices.Add(small);
  lattices.Sort();
  EXPECT_EQ(lattices[0].GetArea(), 1u);
  EXPECT_EQ(lattices[1].GetArea(), 3u);
}

TEST(CLattice2, SplitLatticeIsAnAssertion) {
  EXPECT_QUARN_ASSERTION(CLattice2(Boxes({Box(0, 0, 1, 1), Box(1, 1, 2, 2)})), "clattice2");
}

struct MergeCase {
  const char* name;
  CBox2List boxes;
  unsigned limit;
  CPolygon2 outline;
  CPolygon2 next;
};

std::ostream& operator<<(std::ostream& os, const MergeCase& c) { return os << c.name; }

class CLattice2Merge : public testing::TestWithParam<MergeCase> {};

TEST_P(CLattice2Merge, GetAsPolygonsStopsAtTheLimit) {
  const MergeCase& c = GetParam();
  const CLattice2 lattice(c.boxes);
  const TList<CPolygon2> polygons = lattice.GetAsPolygons(c.limit);
  ASSERT_EQ(polygons.GetSize(), 2);
  EXPECT_EQ(polygons[0], c.outline);
  EXPECT_EQ(polygons[1], c.next);
  if (c.limit == 0) {
    EXPECT_EQ(lattice.GetAsPolygon(), c.outline);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CLattice2Merge,
    testing::Values(
        MergeCase{"OneBox", Boxes({Box(0, 0, 2, 1)}), 0, Corners(Box(0, 0, 2, 1)), {}},
        MergeCase{"SideBySideKeepsSharedCorners",
                  Boxes({Box(0, 0, 1, 1), Box(1, 0, 2, 1)}),
                  0,
                  {{0, 1}, {1, 1}, {2, 1}, {2, 0}, {1, 0}, {0, 0}},
                  {}},
        MergeCase{"RowAll",
                  kRow,
                  0,
                  {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 0}, {2, 0}, {1, 0}, {0, 0}},
                  {}},
        MergeCase{"RowLimitOne", kRow, 1, Corners(Box(0, 0, 1, 1)), Corners(Box(1, 0, 2, 1))},
        // The box found in the last pass is shown even though no box is left
        // after it.
        MergeCase{"RowLimitAtTheLastBox",
                  kRow,
                  2,
                  {{0, 1}, {1, 1}, {2, 1}, {2, 0}, {1, 0}, {0, 0}},
                  Corners(Box(2, 0, 3, 1))},
        MergeCase{"LimitBeyondTheBoxes",
                  kRow,
                  7,
                  {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 0}, {2, 0}, {1, 0}, {0, 0}},
                  {}},
        // The start moves off the new box's corners before the detour.
        MergeCase{"BoxAboveRotatesTheStart",
                  Boxes({Box(0, 0, 1, 1), Box(0, 1, 1, 2)}),
                  0,
                  {{1, 0}, {0, 0}, {0, 1}, {0, 2}, {1, 2}, {1, 1}},
                  {}},
        MergeCase{"RotationHappensBeforeTheLimitStops",
                  Boxes({Box(0, 0, 1, 1), Box(0, 1, 1, 2)}),
                  1,
                  {{1, 0}, {0, 0}, {0, 1}, {1, 1}},
                  Corners(Box(0, 1, 1, 2))},
        MergeCase{"FirstTouchingBoxInListOrder",
                  Boxes({Box(1, 1, 2, 2), Box(0, 0, 1, 1), Box(1, 0, 2, 1), Box(0, 1, 1, 2)}), 1,
                  Corners(Box(1, 1, 2, 2)), Corners(Box(1, 0, 2, 1))}),
    [](const auto& info) { return std::string(info.param.name); });

// With the single-piece assertion ignored, a box that no exact neighbour
// reaches used to keep the merge searching forever.
TEST(CLattice2, MergeStopsWhenARemainingBoxIsUnreachable) {
  quarn::test::CountingAssertions counting;
  const CLattice2 lattice(Boxes({Box(0, 0, 1, 1), Box(1, 0, 2, 1), Box(5, 5, 6, 6)}));
  EXPECT_EQ(counting.Count(), 1);
  const CPolygon2 merged = {{0, 1}, {1, 1}, {2, 1}, {2, 0}, {1, 0}, {0, 0}};
  EXPECT_EQ(lattice.GetAsPolygon(), merged);
  const TList<CPolygon2> polygons = lattice.GetAsPolygons(0);
  EXPECT_EQ(polygons[0], merged);
  EXPECT_EQ(polygons[1], CPolygon2());
}

TEST(CLattice2, EmptyLatticeHasEmptyOutlines) {
  const CLattice2 lattice{CBox2List()};
  EXPECT_EQ(lattice.GetArea(), 0u);
  EXPECT_EQ(lattice.GetAsPolygon().GetSize(), 0);
  const TList<CPolygon2> polygons = lattice.GetAsPolygons(0);
  EXPECT_EQ(polygons[0].GetSize(), 0);
  EXPECT_EQ(polygons[1].GetSize(), 0);
}

struct SubdivideCase {
  const char* name;
  CBox2 box;
  unsigned maxSize;
  unsigned step;
  std::vector<CBox2> expected;
};

std::ostream& operator<<(std::ostream& os, const SubdivideCase& c) { return os << c.name; }

class CLattice2Subdivide : public testing::TestWithParam<SubdivideCase> {};

TEST_P(CLattice2Subdivide, CutsStepsFromTheLowEndXFirst) {
  const SubdivideCase& c = GetParam();
  CLattice2 lattice{CBox2List(c.box)};
  lattice.Subdivide(c.maxSize, c.step);
  EXPECT_EQ(ToVector(lattice), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CLattice2Subdivide,
    testing::Values(
        SubdivideCase{"SevenStaysWhole", Box(0, 0, 7, 7), 7, 5, {Box(0, 0, 7, 7)}},
        SubdivideCase{"Eight", Box(0, 0, 8, 2), 7, 5, {Box(0, 0, 5, 2), Box(5, 0, 8, 2)}},
        SubdivideCase{"Twelve", Box(0, 0, 12, 2), 7, 5, {Box(0, 0, 5, 2), Box(5, 0, 12, 2)}},
        SubdivideCase{"ThirteenGivesFiveFiveThree",
                      Box(0, 0, 13, 4),
                      7,
                      5,
                      {Box(0, 0, 5, 4), Box(5, 0, 10, 4), Box(10, 0, 13, 4)}},
        SubdivideCase{"NegativeCoordinates",
                      Box(-13, -1, 0, 0),
                      7,
                      5,
                      {Box(-13, -1, -8, 0), Box(-8, -1, -3, 0), Box(-3, -1, 0, 0)}},
        SubdivideCase{"BothAxesAppendInWalkOrder",
                      Box(0, 0, 8, 13),
                      7,
                      5,
                      {Box(0, 0, 5, 5), Box(5, 0, 8, 5), Box(0, 5, 5, 10), Box(5, 5, 8, 10),
                       Box(0, 10, 5, 13), Box(5, 10, 8, 13)}},
        SubdivideCase{"StepZeroMeansMaxSize",
                      Box(0, 0, 10, 1),
                      4,
                      0,
                      {Box(0, 0, 4, 1), Box(4, 0, 8, 1), Box(8, 0, 10, 1)}},
        SubdivideCase{"FifteenSquareGivesNineCells",
                      Box(0, 0, 15, 15),
                      7,
                      5,
                      {Box(0, 0, 5, 5), Box(5, 0, 10, 5), Box(10, 0, 15, 5), Box(0, 5, 5, 10),
                       Box(5, 5, 10, 10), Box(10, 5, 15, 10), Box(0, 10, 5, 15), Box(5, 10, 10, 15),
                       Box(10, 10, 15, 15)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CLattice2Subdivide, InvalidSizesAreAssertionsAndCutNothing) {
  quarn::test::CountingAssertions counting;
  CLattice2 lattice{CBox2List(Box(0, 0, 20, 20))};
  lattice.Subdivide(0, 0);
  lattice.Subdivide(0, 3);
  lattice.Subdivide(5, 6);
  EXPECT_EQ(counting.Count(), 3);
  EXPECT_EQ(counting.LastUnit(), "clattice2");
  EXPECT_EQ(ToVector(lattice), std::vector<CBox2>{Box(0, 0, 20, 20)});
}

TEST(CLattice2Property, RandomOutlinesRoundTripTheirArea) {
  std::mt19937 rng(7707);
  for (int round = 0; round < 200; ++round) {
    const quarn::test::CellSet cells = quarn::test::RandomCells(rng, 8, 8, 3 + round % 30);
    const CPolygon2 outline = quarn::test::OutlineOf(cells, rng, round % 2 == 0 ? 0.25 : 0.0);
    SCOPED_TRACE(testing::Message() << "round " << round << " outline " << outline);
    quarn::test::CountingAssertions counting;
    CLattice2 lattice(outline);
    EXPECT_EQ(counting.Count(), 0);
    EXPECT_EQ(lattice.GetArea(), static_cast<unsigned>(cells.Count()));
    EXPECT_FALSE(lattice.SlicesSelf());
    const CPolygon2 merged = lattice.GetAsPolygon();
    EXPECT_EQ(ShoelaceArea(merged), cells.Count()) << merged;
    lattice.Subdivide(3, 2);
    EXPECT_EQ(lattice.GetArea(), static_cast<unsigned>(cells.Count()));
    EXPECT_FALSE(lattice.OverlapsSelf());
    for (int i = 0; i < lattice.GetSize(); ++i) {
      EXPECT_LE(lattice[i].GetSize().x, 3);
      EXPECT_LE(lattice[i].GetSize().y, 3);
    }
  }
}

}  // namespace
