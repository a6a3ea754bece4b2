#include "building/cboxscore.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "building/cbuilding.h"
#include "building/cfloor.h"
#include "building_support.h"

namespace {

using quarn::test::Box;
using quarn::test::BoxOutline;
using quarn::test::CapturedTrace;

// A list of cells with their neighbour links, and pointers to them.
struct Region {
  explicit Region(std::initializer_list<CBox2> boxes) {
    for (const CBox2& box : boxes) cells.Add(box);
    cells.SetNeighbours();
  }
  CBox2PtrList Pointers(std::initializer_list<int> indices) {
    CBox2PtrList list;
    for (int i : indices) list.Add(&cells[i]);
    return list;
  }
  CBox2List cells;
};

// A floor to call the designer's operations on: the one storey of a building
// that was given no step, so it holds no room and no overlay.
CFloor IdleFloor() {
  CFloorSpec spec(BoxOutline(0, 0, 5, 5), 1, 0, 45);
  return CBuilding(spec, 0).floors[0];
}

// The three cells in a row A, B, C of 5 x 5.
Region Row() { return Region({Box(0, 0, 5, 5), Box(5, 0, 10, 5), Box(10, 0, 15, 5)}); }

TEST(FloorDesignerSeed, DeadEndsWinThenLargerCellsThenEarlierOnes) {
  struct Case {
    const char* name;
    std::vector<CBox2> cells;
    int expected;
  };
  const std::vector<Case> cases = {
      {"row: A and C are dead ends, A first", {Box(0, 0, 5, 5), Box(5, 0, 10, 5), Box(10, 0, 15, 5)}, 0},
      {"row: the larger dead end wins", {Box(0, 0, 5, 5), Box(5, 0, 10, 5), Box(10, 0, 17, 5)}, 2},
      {"L: the corner cell is not a dead end",
       {Box(0, 0, 5, 5), Box(5, 0, 10, 5), Box(0, 5, 5, 10)},
       1},
      {"one cell alone", {Box(3, 3, 4, 9)}, 0},
  };
  for (const auto& c : cases) {
    CBox2List cells;
    for (const CBox2& box : c.cells) cells.Add(box);
    cells.SetNeighbours();
    CBox2PtrList source;
    for (int i = 0; i < cells.GetSize(); ++i) source.Add(&cells[i]);
    EXPECT_EQ(CFloor::PickSeedBox(source), &cells[c.expected]) << c.name;
  }
  EXPECT_EQ(CFloor::PickSeedBox(CBox2PtrList()), nullptr);
}

TEST(FloorDesignerScore, MiddleOfARowAgainstItsDeadEnd) {
  Region row = Row();
  const CBoxScore b(&row.cells[1], row.Pointers({0}));
  EXPECT_EQ(b.box, &row.cells[1]);
  EXPECT_EQ(b.neighboursInDst, 1u);
  EXPECT_EQ(b.neighboursNotInDst, 1u);
  EXPECT_FLOAT_EQ(b.averageDistance, 5.0f);
  EXPECT_FLOAT_EQ(b.extentsOccupied, 1.0f);
  EXPECT_FLOAT_EQ(b.extentsAspect, 2.0f);
  EXPECT_FLOAT_EQ(b.inDstTerm, 0.25f);
  EXPECT_FLOAT_EQ(b.notInDstTerm, 0.75f);
  EXPECT_NEAR(b.distanceTerm, 0.367544f, 1e-6f);
  EXPECT_FLOAT_EQ(b.occupiedTerm, 1.0f);
  EXPECT_FLOAT_EQ(b.aspectTerm, 0.5f);
  EXPECT_NEAR(b.GetScore(), 0.530132f, 1e-6f);

  const CBoxScore c(&row.cells[2], row.Pointers({0}));
  EXPECT_EQ(c.neighboursInDst, 0u);
  EXPECT_EQ(c.GetScore(), 0.0f);
}

TEST(FloorDesignerScore, FillingANotchScoresOneWhateverTheShape) {
  // A U of three cells around a notch; the notch cell is linked only to them.
  Region u({Box(0, 0, 5, 5), Box(0, 5, 5, 10), Box(10, 5, 15, 10), Box(5, 0, 15, 5),
            Box(5, 5, 10, 10)});
  const CBoxScore notch(&u.cells[4], u.Pointers({1, 2, 3}));
  EXPECT_EQ(notch.neighboursNotInDst, 0u);
  EXPECT_EQ(notch.GetScore(), 1.0f);
}

TEST(FloorDesignerScore, TextFormLabelsEveryTermThenTheScore) {
  Region row = Row();
  std::ostringstream text;
  text << CBoxScore(&row.cells[1], row.Pointers({0}));
  EXPECT_EQ(text.str(),
            "\nNeighbours Already In Dst      1\t0.25"
            "\nNeighbours Not In Dst          1\t0.75"
            "\nAverage Distance to a Dst Box  5\t0.367544"
            "\nExtents Box Occupied           1\t1"
            "\nExtents Aspect Ratio           2\t0.5"
            "\n    SCORE=0.530132\n\n");
}

TEST(FloorDesignerChoice, RecordingTracesAllScoresAndKeepsTheNonZeroOnes) {
  CFloor floor = IdleFloor();
  Region row = Row();
  CapturedTrace trace;
  EXPECT_EQ(floor.ChooseBestCandidate(row.Pointers({1, 2}), row.Pointers({0}), true, trace), &row.cells[1]);
  EXPECT_EQ(trace.Text(), "0\n0.530132\n\n---\n");
  ASSERT_EQ(floor.candidateBoxes.GetSize(), 1);
  EXPECT_EQ(floor.candidateBoxes[0].GetMin(), CPoint2(5, 0));
  EXPECT_EQ(floor.candidateBoxes[0].GetMax(), CPoint2(10, 5));
  ASSERT_EQ(floor.candidateScores.GetSize(), 1);
  EXPECT_NEAR(floor.candidateScores[0], 0.530132f, 1e-6f);
}

TEST(FloorDesignerChoice, GrowthDecisionsWriteAndRecordNothing) {
  CFloor floor = IdleFloor();
  Region row = Row();
  CapturedTrace trace;
  EXPECT_EQ(floor.ChooseBestCandidate(row.Pointers({2, 1}), row.Pointers({0}), false, trace), &row.cells[1]);
  EXPECT_EQ(trace.Text(), "");
  EXPECT_EQ(floor.candidateBoxes.GetSize(), 0);
  EXPECT_EQ(floor.ChooseBestCandidate(CBox2PtrList(), row.Pointers({0}), true, trace), nullptr);
  EXPECT_EQ(trace.Text(), "");
}

TEST(FloorDesignerChoice, EqualScoresGoToTheLaterCandidate) {
  // Left and right of a middle cell both fill their only linked side: 1.0.
  Region plus({Box(5, 0, 10, 5), Box(0, 0, 5, 5), Box(10, 0, 15, 5)});
  CFloor floor = IdleFloor();
  quarn::DesignObserver silent;
  EXPECT_EQ(floor.ChooseBestCandidate(plus.Pointers({1, 2}), plus.Pointers({0}), false, silent), &plus.cells[2]);
  EXPECT_EQ(floor.ChooseBestCandidate(plus.Pointers({2, 1}), plus.Pointers({0}), false, silent), &plus.cells[1]);
  // No candidate touches the room: the last one is still taken.
  Region apart({Box(0, 0, 5, 5), Box(10, 0, 15, 5), Box(20, 0, 25, 5)});
  EXPECT_EQ(floor.ChooseBestCandidate(apart.Pointers({1, 2}), apart.Pointers({0}), false, silent), &apart.cells[2]);
}

TEST(FloorDesignerTarget, DeviatesByTheDrawAndWrapsBelowZero) {
  struct Case {
    unsigned roomSize, variance;
    int draw;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {45, 0, 12345, 45},
      {45, 50, 16383, 45},
      {45, 50, 32767, 95},
      {45, 50, 24575, 70},
      {45, 50, 0, 4294967291u},
      {45, 50, 348, 4294967293u},
      {45, 40, 0, 5},
      // A deviation beyond the signed range saturates instead of overflowing.
      {0, 0xFFFFFFFFu, 32767, 2147483647u},
      {0, 0xFFFFFFFFu, 0, 2147483648u},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(quarn::RoomTargetArea(c.roomSize, c.variance, c.draw), c.expected)
        << c.roomSize << " +- " << c.variance << " draw " << c.draw;
  }
}

TEST(FloorDesignerUtilities, AreaCentreAndExtentsOfCellLists) {
  Region row({Box(0, 0, 5, 5), Box(5, 0, 10, 3), Box(-2, 4, 0, 9)});
  const CBox2PtrList all = row.Pointers({0, 1, 2});
  EXPECT_EQ(GetTotalArea(all), 25u + 15u + 10u);
  EXPECT_EQ(GetTotalArea(CBox2PtrList()), 0u);
  const CVector2 centre = GetAverageCentre(all);
  EXPECT_FLOAT_EQ(centre.x, (2.5f + 7.5f - 1.0f) / 3.0f);
  EXPECT_FLOAT_EQ(centre.y, (2.5f + 1.5f + 6.5f) / 3.0f);
  const CBox2 extents = GetExtentsBox(all);
  EXPECT_EQ(extents.GetMin(), CPoint2(-2, 0));
  EXPECT_EQ(extents.GetMax(), CPoint2(10, 9));
}

}  // namespace
