#include "app/ctestbox2listscore.h"

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

class CTestBox2ListScoreTest : public quarn::test::BenchTest<CTestBox2ListScore> {
 protected:
  void Build(const std::vector<Boxes>& lists) { BuildLists(script, bench, lists); }
};

const CBox2 kA({0, 0}, {5, 5});
const CBox2 kB({5, 0}, {10, 5});
const CBox2 kC({10, 0}, {15, 5});

TEST_F(CTestBox2ListScoreTest, EnterPrintsTheHelpAndResets) {
  Build({{kA}, {kB}});
  script.Step(bench, Key(' '));
  bench.Enter();
  EXPECT_EQ(Printed(),
            "\n======== 2D BOX LIST TESTING MODE ========\n\n"
            "  [SPACE] = place the corner of a rectangle\n"
            "  [Z] = start a new boxlist\n"
            "  [R] = reset all\n"
            "  [O] = do the thing and output the whatsit\n"
            "\n==========================================\n\n");
  EXPECT_EQ(ListsOf(bench), std::vector<Boxes>{{}});
  EXPECT_FALSE(bench.GetPendingCorner());
}

TEST_F(CTestBox2ListScoreTest, InitAndResetKeyClearTheLists) {
  for (char reset : {'I', 'R'}) {
    Build({{kA}, {kB}});
    script.Step(bench, Key(' '));
    if (reset == 'I') {
      bench.Init();
    } else {
      script.Step(bench, Key('R'));
    }
    EXPECT_EQ(ListsOf(bench), std::vector<Boxes>{{}}) << reset;
    EXPECT_FALSE(bench.GetPendingCorner()) << reset;
    EXPECT_EQ(Printed(), "") << reset;
  }
}

TEST_F(CTestBox2ListScoreTest, AtMostThreeLists) {
  script.Play(bench, {Key('Z'), Key('Z'), Key('Z'), Key('Z')});
  EXPECT_EQ(bench.GetLists().GetSize(), 3);
  PlaceBoxAt(script, bench, {0, 0}, {1, 1});
  EXPECT_EQ(ListsOf(bench), (std::vector<Boxes>{{}, {}, {CBox2({0, 0}, {1, 1})}}));
  script.Play(bench, {Key('M'), Key('M')});
  EXPECT_EQ(ListsOf(bench), (std::vector<Boxes>{{}, {}, {}})) << "M keeps the empty lists";
}

// Three cells in a row: the room is A, C lies beyond the candidate B. B
// touches A on its left and C on its right.
TEST_F(CTestBox2ListScoreTest, OutputIsTheScoreRecordOfTheLastBoxAgainstListZero) {
  Build({{kA}, {kC}, {kB}});
  Printed();
  script.Step(bench, Key('O'));
  EXPECT_EQ(Printed(),
            "\nNeighbours Already In Dst      1\t0.25"
            "\nNeighbours Not In Dst          1\t0.75"
            "\nAverage Distance to a Dst Box  5\t0.367544"
            "\nExtents Box Occupied           1\t1"
            "\nExtents Aspect Ratio           2\t0.5"
            "\n    SCORE=0.530132\n\n");
}

TEST_F(CTestBox2ListScoreTest, OnlyTheLastBoxOfListTwoIsTheCandidate) {
  // B is first in list 2 and counts as another cell; the candidate far away
  // touches nothing and scores 0.
  Build({{kA}, {}, {kB, CBox2({20, 0}, {25, 5})}});
  Printed();
  script.Step(bench, Key('O'));
  const std::string printed = Printed();
  EXPECT_NE(printed.find("\nNeighbours Already In Dst      0\t0\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("\n    SCORE=0\n\n"), std::string::npos) << printed;
}

TEST_F(CTestBox2ListScoreTest, OutputNeedsThreeListsWithRoomAndCandidate) {
  const std::vector<Boxes> refused[] = {
      {{kA}, {kB}},
      {{}, {kC}, {kB}},
      {{kA}, {kC}, {}},
      {{kA}},
  };
  for (const std::vector<Boxes>& lists : refused) {
    bench.Enter();
    Build(lists);
    Printed();
    script.Step(bench, Key('O'));
    EXPECT_EQ(Printed(), "") << lists.size() << " lists";
  }
}

TEST_F(CTestBox2ListScoreTest, LSlicesEveryList) {
  Build({{CBox2({0, 0}, {4, 2}), CBox2({2, 2}, {6, 4})}, {kA}, {CBox2({0, 0}, {2, 2}), kA}});
  script.Step(bench, Key('L'));
  EXPECT_EQ(ListsOf(bench),
            (std::vector<Boxes>{
                {CBox2({0, 0}, {2, 2}), CBox2({2, 2}, {4, 4}), CBox2({4, 2}, {6, 4}),
                 CBox2({2, 0}, {4, 2})},
                {kA},
                {CBox2({0, 0}, {2, 2}), CBox2({0, 0}, {2, 2}), CBox2({2, 0}, {5, 2}),
                 CBox2({0, 2}, {2, 5}), CBox2({2, 2}, {5, 5})},
            }));
}

}  // namespace
