#include "app/ctestbox2.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "bench_script.h"

namespace {

using quarn::test::BoxesOf;
using quarn::test::Key;
using quarn::test::Move;
using quarn::test::MoveTo;
using quarn::test::PlaceBoxAt;

using CTestBox2Test = quarn::test::BenchTest<CTestBox2>;

TEST_F(CTestBox2Test, EnterPrintsTheHelpAndStartsAFreshBench) {
  PlaceBoxAt(script, bench, {1, 1}, {3, 2});
  script.Play(bench, {Key(' '), Move(2, 2)});
  bench.Enter();
  EXPECT_EQ(Printed(),
            "\n======== 2D BOX TESTING MODE ========\n"
            "  SPACE = place the corner of a rectangle\n"
            "  R = reset all\n"
            "  O = output some info\n"
            "  U,D,I = csg operations\n"
            "  M = remove last rectangle\n"
            "  S = replace last rectangle\n"
            "  N = recalculate neighbours\n");
  EXPECT_EQ(bench.GetBoxes().GetSize(), 0);
  EXPECT_FALSE(bench.GetPendingCorner());
  EXPECT_EQ(bench.GetDrag(), CPoint2(0, 0));
  EXPECT_EQ(bench.GetCursor(), CPoint2(0, 0));
}

TEST_F(CTestBox2Test, InitChangesNothing) {
  PlaceBoxAt(script, bench, {1, 1}, {3, 2});
  bench.Init();
  EXPECT_EQ(bench.GetBoxes().GetSize(), 1);
  EXPECT_EQ(Printed(), "");
}

TEST_F(CTestBox2Test, ResetKeyDropsBoxesAndCornerButKeepsThePointer) {
  PlaceBoxAt(script, bench, {1, 1}, {3, 2});
  script.Play(bench, {Key(' '), Move(2, 3), Key('R')});
  EXPECT_EQ(bench.GetBoxes().GetSize(), 0);
  EXPECT_FALSE(bench.GetPendingCorner());
  EXPECT_EQ(bench.GetCursor(), CPoint2(5, 5));
  EXPECT_EQ(bench.GetDrag(), CPoint2(160, 160));
}

struct EditCase {
  const char* name;
  std::vector<quarn::test::Frame> frames;  // played after boxes (0,0)-(2,2) and (2,0)-(4,2)
  std::vector<CBox2> boxes;
  bool pending;
};

TEST_F(CTestBox2Test, SpaceReplaceAndRemoveEditTheLastBox) {
  const CBox2 first({0, 0}, {2, 2});
  const CBox2 second({2, 0}, {4, 2});
  const EditCase cases[] = {
      {"corner pending", {Key(' ')}, {first, second}, true},
      {"third box",
       {Key(' '), Move(1, 3), Key(' ')},
       {first, second, CBox2({4, 2}, {5, 5})},
       false},
      {"corners on one line", {Key(' '), Move(0, 3), Key(' ')}, {first, second}, true},
      {"S replaces the last box",
       {Key(' '), Move(-1, 5), Key('S')},
       {first, CBox2({4, 2}, {3, 7})},
       false},
      {"S without a corner", {Move(-1, 5), Key('S')}, {first, second}, false},
      {"S with corners on one line", {Key(' '), Move(0, 5), Key('S')}, {first, second}, true},
      {"M removes the last box", {Key('M')}, {first}, false},
      {"M until none are left", {Key('M'), Key('M'), Key('M')}, {}, false},
  };
  for (const EditCase& c : cases) {
    CTestBox2 fresh(out);
    PlaceBoxAt(script, fresh, {0, 0}, {2, 2});
    PlaceBoxAt(script, fresh, {2, 0}, {4, 2});
    for (const auto& frame : c.frames) script.Step(fresh, frame);
    EXPECT_EQ(BoxesOf(fresh.GetBoxes()), c.boxes) << c.name;
    EXPECT_EQ(fresh.GetPendingCorner().has_value(), c.pending) << c.name;
  }
}

TEST_F(CTestBox2Test, SWithoutBoxesKeepsThePendingCorner) {
  script.Play(bench, {Key(' '), Move(2, 2), Key('S')});
  EXPECT_EQ(bench.GetBoxes().GetSize(), 0);
  EXPECT_EQ(bench.GetPendingCorner(), CPoint2(0, 0));
}

struct CombineCase {
  char key;
  std::vector<CBox2> boxes;
};

TEST_F(CTestBox2Test, CombineKeysReplaceTheLastTwoBoxesByTheirResult) {
  // A box placed first stays; a = (0,0)-(4,4) and b = (2,2)-(6,6) combine.
  const CBox2 kept({10, 10}, {11, 11});
  const CombineCase cases[] = {
      {'U', {kept, CBox2({0, 0}, {2, 4}), CBox2({2, 0}, {4, 2}), CBox2({2, 2}, {6, 6})}},
      {'D', {kept, CBox2({0, 0}, {2, 4}), CBox2({2, 0}, {4, 2})}},
      {'I', {kept, CBox2({2, 2}, {4, 4})}},
      {'X', {kept, CBox2({0, 0}, {4, 4}), CBox2({2, 2}, {6, 6})}},
  };
  for (const CombineCase& c : cases) {
    CTestBox2 fresh(out);
    PlaceBoxAt(script, fresh, {10, 10}, {11, 11});
    PlaceBoxAt(script, fresh, {0, 0}, {4, 4});
    PlaceBoxAt(script, fresh, {2, 2}, {6, 6});
    script.Step(fresh, Key(c.key));
    EXPECT_EQ(BoxesOf(fresh.GetBoxes()), c.boxes) << c.key;
  }
}

TEST_F(CTestBox2Test, CombineKeysNeedTwoBoxes) {
  PlaceBoxAt(script, bench, {0, 0}, {4, 4});
  for (char key : {'U', 'D', 'I'}) script.Step(bench, Key(key));
  EXPECT_EQ(BoxesOf(bench.GetBoxes()), std::vector<CBox2>{CBox2({0, 0}, {4, 4})});
}

TEST_F(CTestBox2Test, OutputListsEveryBoxAndTheBoxesCorneredAtTheCursor) {
  PlaceBoxAt(script, bench, {1, 2}, {4, 7});
  PlaceBoxAt(script, bench, {6, 2}, {4, 7});
  PlaceBoxAt(script, bench, {0, 0}, {1, 1});
  script.Play(bench, {Key('N')});
  MoveTo(script, bench, {4, 7});
  Printed();
  script.Step(bench, Key('O'));
  EXPECT_EQ(Printed(),
            "\n-------- OUTPUT ----------\n\n"
            "0\n  x: 1 to 4 = 3\n  y: 2 to 7 = 5\n  area: 15\n  neighbours: _R__\n\n"
            "1\n  x: 4 to 6 = 2\n  y: 2 to 7 = 5\n  area: 10\n  neighbours: L___\n\n"
            "2\n  x: 0 to 1 = 1\n  y: 0 to 1 = 1\n  area: 1\n  neighbours: ____\n\n"
            "  0 has corner (4,7)\n"
            "  1 has corner (4,7)\n");
}

TEST_F(CTestBox2Test, EditsDropTheLinksOfTheBoxesTheyTouch) {
  PlaceBoxAt(script, bench, {0, 0}, {2, 2});
  PlaceBoxAt(script, bench, {2, 0}, {4, 2});
  script.Step(bench, Key('N'));
  ASSERT_EQ(bench.GetBoxes()[0].GetNeighbour(SideRight), &bench.GetBoxes()[1]);
  script.Step(bench, Key('M'));
  EXPECT_EQ(bench.GetBoxes()[0].GetNeighbour(SideRight), nullptr);
  PlaceBoxAt(script, bench, {2, 0}, {4, 2});
  script.Play(bench, {Key('N'), Key(' '), Move(1, 1), Key('S')});
  EXPECT_EQ(bench.GetBoxes()[0].GetNeighbourCount(), 0) << "S reshapes the linked box";
}

TEST_F(CTestBox2Test, OutputOfAnEmptyBenchIsTheHeadingAlone) {
  script.Step(bench, Key('O'));
  EXPECT_EQ(Printed(), "\n-------- OUTPUT ----------\n\n");
}

}  // namespace
