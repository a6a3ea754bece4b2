#include "app/ctestbox2list.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "bench_script.h"

namespace {

using quarn::test::Boxes;
using quarn::test::Key;
using quarn::test::ListsOf;
using quarn::test::PlaceBoxAt;
using quarn::test::PointsOf;

class CTestBox2ListTest : public quarn::test::BenchTest<CTestBox2List> {
 protected:
  void Build(const std::vector<Boxes>& lists) { BuildLists(script, bench, lists); }
  void Pend(const CPoint2& a, const CPoint2& b) { PendCorner(script, bench, a, b); }
};

TEST_F(CTestBox2ListTest, EnterPrintsTheHelpAndResets) {
  Build({{CBox2({0, 0}, {1, 1})}, {}});
  script.Play(bench, {Key(' '), Key('W')});
  Printed();
  bench.Enter();
  EXPECT_EQ(Printed(),
            "\n======== 2D BOX LIST TESTING MODE ========\n\n"
            "  [SPACE] = place the corner of a rectangle\n"
            "  [Z] = start a new boxlist\n"
            "  [R] = reset all\n"
            "  [O] = output some info\n"
            "  [U],[D],[I] = csg operations\n"
            "  [M] = remove last box\n"
            "  [N] = set neighbours\n"
            "  [1]->[0],[E],[T] = the dirty dozen\n"
            "  [L] = pass through lattice\n"
            "  [P] = convert to poly via lattice\n"
            "\n==========================================\n\n");
  EXPECT_EQ(ListsOf(bench), std::vector<Boxes>{{}});
  EXPECT_FALSE(bench.GetPendingCorner());
  EXPECT_EQ(bench.GetPolygons().GetSize(), 0);
  EXPECT_EQ(bench.GetPolyBoxes(), 0);
  EXPECT_EQ(bench.GetCursor(), CPoint2(1, 1)) << "the pointer stays";
}

TEST_F(CTestBox2ListTest, BoxesGoIntoTheLastListAndMRemovesFromTheEnd) {
  const CBox2 a({0, 0}, {1, 1});
  const CBox2 b({2, 0}, {3, 1});
  Build({{a}, {b}});
  script.Step(bench, Key('Z'));
  EXPECT_EQ(ListsOf(bench), (std::vector<Boxes>{{a}, {b}, {}}));
  script.Step(bench, Key('M'));
  EXPECT_EQ(ListsOf(bench), (std::vector<Boxes>{{a}, {}}));
  script.Play(bench, {Key('M'), Key('M')});
  EXPECT_EQ(ListsOf(bench), std::vector<Boxes>{{}});
  script.Step(bench, Key('R'));
  EXPECT_EQ(ListsOf(bench), std::vector<Boxes>{{}});
}

struct CombineCase {
  char key;
  std::vector<Boxes> lists;
};

TEST_F(CTestBox2ListTest, CombineKeysReplaceTheLastTwoListsByOne) {
  const CBox2 kept({10, 10}, {11, 11});
  const CombineCase cases[] = {
      {'U', {{kept}, {CBox2({0, 0}, {2, 4}), CBox2({2, 0}, {4, 2}), CBox2({2, 2}, {6, 6})}}},
      {'D', {{kept}, {CBox2({0, 0}, {2, 4}), CBox2({2, 0}, {4, 2})}}},
      {'I', {{kept}, {CBox2({2, 2}, {4, 4})}}},
  };
  for (const CombineCase& c : cases) {
    bench.Enter();
    Build({{kept}, {CBox2({0, 0}, {4, 4})}, {CBox2({2, 2}, {6, 6})}});
    script.Step(bench, Key(c.key));
    EXPECT_EQ(ListsOf(bench), c.lists) << c.key;
  }
  bench.Enter();
  Build({{kept}});
  script.Step(bench, Key('U'));
  EXPECT_EQ(ListsOf(bench), std::vector<Boxes>{{kept}}) << "one list has nothing to combine with";
}

struct OperationCase {
  char key;
  const char* line;  // printed
  int list0Size;     // boxes in list 0 afterwards
};

// List 0 holds two overlapping boxes, list 1 one box far away, and the box
// being placed is (5,0)-(8,3): it overlaps and cuts the second box.
TEST_F(CTestBox2ListTest, TheDozenOperationsPrintTheirResultLines) {
  const OperationCase cases[] = {
      {'1', "1 :: Overlaps() = 1\n", 2},
      {'3', "3 :: OverlapsSelf() = 1\n", 2},
      {'4', "4 :: FixAllOverlaps()\tnew size = 4\n", 3},
      {'5', "5 :: IsPartialNeighbourOf() = 1\n", 2},
      {'7', "7 :: CountPieces() = 1\n", 2},
      {'9', "9 :: IsSlicedBy() = 1\n", 2},
      {'0', "10 :: SliceBy()\tnew size = 7\n", 6},
      {'E', "11 :: SlicesSelf() = 1\n", 2},
      {'T', "12 :: Slice()\tnew size = 9\n", 8},
      {'2', "", 2},
      {'6', "", 2},
  };
  for (const OperationCase& c : cases) {
    bench.Enter();
    Build({{CBox2({0, 0}, {4, 4}), CBox2({2, 2}, {6, 6})}, {CBox2({20, 20}, {21, 21})}});
    Pend({5, 0}, {8, 3});
    Printed();
    script.Step(bench, Key(c.key));
    EXPECT_EQ(Printed(), c.line) << c.key;
    EXPECT_EQ(bench.GetLists()[0].GetSize(), c.list0Size) << c.key;
    EXPECT_EQ(bench.GetLists()[1].GetSize(), 1) << c.key;
    EXPECT_TRUE(bench.GetPendingCorner()) << c.key;
  }
}

TEST_F(CTestBox2ListTest, FalseResultsPrintAsZero) {
  Build({{CBox2({0, 0}, {1, 1}), CBox2({5, 5}, {6, 6})}});
  Pend({10, 10}, {12, 12});
  Printed();
  script.Play(bench, {Key('1'), Key('3'), Key('5'), Key('7'), Key('9'), Key('E')});
  EXPECT_EQ(Printed(),
            "1 :: Overlaps() = 0\n"
            "3 :: OverlapsSelf() = 0\n"
            "5 :: IsPartialNeighbourOf() = 0\n"
            "7 :: CountPieces() = 2\n"
            "9 :: IsSlicedBy() = 0\n"
            "11 :: SlicesSelf() = 0\n");
}

TEST_F(CTestBox2ListTest, OperationsOnThePlacedBoxNeedOne) {
  Build({{CBox2({0, 0}, {4, 4})}});
  for (const char* setup : {"no corner", "corner on the cursor's line"}) {
    if (std::string(setup) != "no corner") Pend({2, 0}, {2, 7});
    Printed();
    script.Play(bench, {Key('1'), Key('5'), Key('9'), Key('0')});
    EXPECT_EQ(Printed(), "") << setup;
    EXPECT_EQ(bench.GetLists()[0].GetSize(), 1) << setup;
  }
}

TEST_F(CTestBox2ListTest, PiecesReplaceListZeroAtTheEnd) {
  const CBox2 a({0, 0}, {1, 1});
  const CBox2 b({1, 1}, {2, 2});   // corner contact only: a piece of its own
  const CBox2 c({0, -2}, {1, 0});  // shares an edge with a
  const CBox2 far({9, 9}, {10, 10});
  Build({{a, b, c}, {far}});
  Printed();
  script.Step(bench, Key('8'));
  EXPECT_EQ(Printed(), "8 :: GetSeperatePieces()\n");
  EXPECT_EQ(ListsOf(bench), (std::vector<Boxes>{{far}, {a, c}, {b}}));
}

// An empty list 0 has no pieces; removing it must not leave the bench
// without a list to place boxes into.
TEST_F(CTestBox2ListTest, PiecesOfTheOnlyEmptyListKeepOneList) {
  script.Step(bench, Key('8'));
  EXPECT_EQ(ListsOf(bench), std::vector<Boxes>{{}});
  PlaceBoxAt(script, bench, {0, 0}, {1, 1});
  EXPECT_EQ(ListsOf(bench), std::vector<Boxes>{{CBox2({0, 0}, {1, 1})}});
}

TEST_F(CTestBox2ListTest, LatticePassOnlyForOnePiece) {
  Build({{CBox2({0, 0}, {4, 4}), CBox2({2, 2}, {6, 6})}});
  script.Step(bench, Key('L'));
  const CBox2List& list = bench.GetLists()[0];
  EXPECT_EQ(list.GetSize(), 7);
  EXPECT_FALSE(list.OverlapsSelf());
  int area = 0;
  for (int i = 0; i < list.GetSize(); ++i) area += list[i].GetArea();
  EXPECT_EQ(area, 28);

  bench.Enter();
  const Boxes apart = {CBox2({0, 0}, {4, 4}), CBox2({2, 2}, {6, 6}), CBox2({9, 9}, {10, 10})};
  Build({apart});
  script.Step(bench, Key('L'));
  EXPECT_EQ(ListsOf(bench), std::vector<Boxes>{apart});
}

struct PolyBoxesCase {
  std::vector<char> keys;
  std::string printed;
  int polyBoxes;
};

TEST_F(CTestBox2ListTest, QAndWSetTheMergeLimitDownToOne) {
  const PolyBoxesCase cases[] = {
      {{'W'}, "_polyboxes = 1\n", 1},
      {{'W', 'W', 'W'}, "_polyboxes = 1\n_polyboxes = 2\n_polyboxes = 3\n", 3},
      {{'W', 'W', 'Q'}, "_polyboxes = 1\n_polyboxes = 2\n_polyboxes = 1\n", 1},
      {{'W', 'Q'}, "_polyboxes = 1\n_polyboxes = 1\n", 1},
      {{'Q'}, "_polyboxes = 0\n", 0},
      {{'P'}, "", 0},
  };
  for (const PolyBoxesCase& c : cases) {
    bench.Enter();
    Build({{CBox2({0, 0}, {1, 1}), CBox2({1, 0}, {2, 1})}});
    Printed();
    for (char key : c.keys) script.Step(bench, Key(key));
    EXPECT_EQ(Printed(), c.printed) << c.printed;
    EXPECT_EQ(bench.GetPolyBoxes(), c.polyBoxes) << c.printed;
  }
}

TEST_F(CTestBox2ListTest, OutlinesComeFromTheLatticeOfListZero) {
  Build({{CBox2({0, 0}, {1, 1}), CBox2({1, 0}, {2, 1})}});
  script.Step(bench, Key('Q'));
  ASSERT_EQ(bench.GetPolygons().GetSize(), 2);
  EXPECT_EQ(PointsOf(bench.GetPolygons()[0]),
            (std::vector<CPoint2>{{0, 1}, {1, 1}, {2, 1}, {2, 0}, {1, 0}, {0, 0}}));
  EXPECT_EQ(bench.GetPolygons()[1].GetSize(), 0);

  script.Step(bench, Key('W'));
  ASSERT_EQ(bench.GetPolygons().GetSize(), 2);
  EXPECT_EQ(PointsOf(bench.GetPolygons()[0]),
            (std::vector<CPoint2>{{0, 1}, {1, 1}, {1, 0}, {0, 0}}));
  EXPECT_EQ(PointsOf(bench.GetPolygons()[1]),
            (std::vector<CPoint2>{{1, 1}, {2, 1}, {2, 0}, {1, 0}}));
}

TEST_F(CTestBox2ListTest, OutlinesNeedListZeroInOnePiece) {
  Build({{CBox2({0, 0}, {1, 1}), CBox2({5, 0}, {6, 1})}});
  Printed();
  script.Play(bench, {Key('W'), Key('Q')});
  EXPECT_EQ(Printed(), "");
  EXPECT_EQ(bench.GetPolyBoxes(), 0);
  EXPECT_EQ(bench.GetPolygons().GetSize(), 0);
}

TEST_F(CTestBox2ListTest, OutputCountsBoxesLinksAndOutlineVertices) {
  Build({{CBox2({0, 0}, {1, 1}), CBox2({1, 0}, {2, 1})}, {}});
  script.Step(bench, Key('N'));
  Printed();
  script.Step(bench, Key('O'));
  const std::string lists =
      "\n-------- OUTPUT --------\n\n"
      "0\n  size: 2\n  exact neighbours: L=1  R=1  D=0  U=0  \n\n"
      "1\n  size: 0\n  exact neighbours: L=0  R=0  D=0  U=0  \n\n"
      "total box count = 2\n";
  EXPECT_EQ(Printed(), lists);
  script.Play(bench, {Key('Q'), Key('O')});
  EXPECT_EQ(Printed(), "_polyboxes = 0\n" + lists + "total poly vertices = 6\n");
}

}  // namespace
