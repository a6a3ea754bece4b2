#include "geom/cbox2.h"

#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "box_test_support.h"
#include "geom/cbox2list.h"
#include "support/assert_recorder.h"

namespace {

using quarn::test::AreaOf;
using quarn::test::MakeBox;
using quarn::test::Rect;
using quarn::test::RectOf;
using quarn::test::RectsOf;

TEST(CBox2Shape, CornersInAnyOrderGiveTheSameBox) {
  const std::vector<std::pair<CPoint2, CPoint2>> corners = {
      {{5, 1}, {2, 4}}, {{2, 4}, {5, 1}}, {{2, 1}, {5, 4}}, {{5, 4}, {2, 1}}};
  for (const auto& [a, b] : corners) {
    const CBox2 box(a, b);
    EXPECT_EQ(box.GetMin(), CPoint2(2, 1)) << a << b;
    EXPECT_EQ(box.GetMax(), CPoint2(5, 4)) << a << b;
    EXPECT_EQ(box.GetSize(), CPoint2(3, 3)) << a << b;
    EXPECT_EQ(box.GetArea(), 9) << a << b;
    EXPECT_EQ(box.GetCentre(), CVector2(3.5f, 2.5f)) << a << b;
  }
}

TEST(CBox2Shape, CornersRunClockwiseFromTopLeft) {
  const TList<CPoint2> corners = MakeBox({-1, 2, 3, 7}).GetCorners();
  ASSERT_EQ(corners.GetSize(), 4);
  EXPECT_EQ(corners[0], CPoint2(-1, 7));
  EXPECT_EQ(corners[1], CPoint2(3, 7));
  EXPECT_EQ(corners[2], CPoint2(3, 2));
  EXPECT_EQ(corners[3], CPoint2(-1, 2));
}

TEST(CBox2Shape, IsCornerNeedsBothCoordinatesOnTheBox) {
  const CBox2 box = MakeBox({0, 0, 4, 2});
  const std::vector<std::pair<CPoint2, bool>> cases = {
      {{0, 0}, true}, {{4, 2}, true}, {{0, 2}, true},  {{4, 0}, true},
      {{2, 0}, false}, {{0, 1}, false}, {{4, 4}, false}, {{2, 2}, false}};
  for (const auto& [p, expected] : cases) EXPECT_EQ(box.IsCorner(p), expected) << p;
}

TEST(CBox2Shape, CornersSharingACoordinateAreReported) {
  EXPECT_FALSE(IsValidBoxCorners({1, 1}, {1, 5}));
  EXPECT_FALSE(IsValidBoxCorners({1, 1}, {5, 1}));
  EXPECT_TRUE(IsValidBoxCorners({1, 5}, {5, 1}));
  EXPECT_QUARN_ASSERTION(CBox2({1, 1}, {1, 5}), "cbox2");
  CBox2 box = MakeBox({0, 0, 1, 1});
  EXPECT_QUARN_ASSERTION(box.Set({3, 3}, {4, 3}), "cbox2");
}

struct PairCase {
  Rect a;
  Rect b;
  bool overlaps;
  Side exact;    // a.GetNeighbourSide(b)
  Side partial;  // a.GetPartialNeighbourSide(b)
};

TEST(CBox2Relations, OverlapAndNeighbourSides) {
  const std::vector<PairCase> cases = {
      {{0, 0, 2, 2}, {2, 0, 4, 2}, false, SideRight, SideRight},
      {{2, 0, 4, 2}, {0, 0, 2, 2}, false, SideLeft, SideLeft},
      {{0, 0, 2, 2}, {0, 2, 2, 4}, false, SideUp, SideUp},
      {{0, 2, 2, 4}, {0, 0, 2, 2}, false, SideDown, SideDown},
      {{0, 0, 2, 2}, {2, 0, 4, 3}, false, SideNone, SideRight},
      {{0, 0, 2, 2}, {-3, 1, 0, 5}, false, SideNone, SideLeft},
      {{0, 0, 4, 2}, {1, 2, 3, 5}, false, SideNone, SideUp},
      {{0, 0, 2, 2}, {2, 2, 4, 4}, false, SideNone, SideNone},
      {{0, 0, 2, 2}, {-2, -2, 0, 0}, false, SideNone, SideNone},
      {{0, 0, 2, 2}, {5, 0, 7, 2}, false, SideNone, SideNone},
      {{0, 0, 2, 2}, {0, 0, 2, 2}, true, SideNone, SideNone},
      {{0, 0, 4, 4}, {1, 1, 2, 2}, true, SideNone, SideNone},
      {{0, 0, 4, 4}, {3, 3, 6, 6}, true, SideNone, SideNone},
      {{0, 0, 4, 4}, {1, 4, 3, 6}, false, SideNone, SideUp},
      {{0, 0, 2, 2}, {1, -5, 3, 0}, false, SideNone, SideDown},
  };
  for (const PairCase& c : cases) {
    const CBox2 a = MakeBox(c.a);
    const CBox2 b = MakeBox(c.b);
    EXPECT_EQ(a.Overlaps(b), c.overlaps) << a << " " << b;
    EXPECT_EQ(b.Overlaps(a), c.overlaps) << b << " " << a;
    EXPECT_EQ(a.GetNeighbourSide(b), c.exact) << a << " " << b;
    EXPECT_EQ(a.GetPartialNeighbourSide(b), c.partial) << a << " " << b;
  }
}

TEST(CBox2Relations, AxisBeyondTheTwoAxesIsAnAssertion) {
  const CBox2 a = MakeBox({0, 0, 1, 1});
  EXPECT_QUARN_ASSERTION(a.OverlapsOnAxis(a, 2), "cbox2");
}

// A box with one exact neighbour on each side, kept alive together.
struct Cross {
  CBox2 centre = MakeBox({2, 2, 4, 4});
  CBox2 around[4] = {MakeBox({0, 2, 2, 4}), MakeBox({4, 2, 6, 4}), MakeBox({2, 0, 4, 2}),
                     MakeBox({2, 4, 4, 6})};
};

std::string LinkedSides(const CBox2& box) {
  std::string sides;
  for (Side s = 0; s < 4; ++s) sides += box.GetNeighbour(s) ? kSideLetters[s] : '_';
  return sides;
}

TEST(CBox2Links, ShapeCodesOfLinkedSides) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"", 0},    {"L", 1},   {"U", 1},   {"LU", 2},  {"RD", 2},   {"LR", 3},
      {"DU", 3},  {"LRU", 4}, {"LDU", 4}, {"LRDU", 5}};
  for (const auto& [sides, shape] : cases) {
    Cross cross;
    for (char letter : sides) {
      cross.centre.AddNeighbour(&cross.around[std::string("LRDU").find(letter)]);
    }
    EXPECT_EQ(cross.centre.GetNeighbourCount(), static_cast<int>(sides.size())) << sides;
    EXPECT_EQ(cross.centre.GetNeighbourShape(), shape) << sides;
  }
}

TEST(CBox2Links, OnlyExactNeighboursAreLinked) {
  Cross cross;
  CBox2 partial = MakeBox({4, 3, 6, 9});
  CBox2 overlapping = MakeBox({3, 3, 5, 5});
  cross.centre.AddNeighbour(&partial);
  cross.centre.AddNeighbour(&overlapping);
  cross.centre.AddNeighbour(&cross.centre);
  EXPECT_EQ(LinkedSides(cross.centre), "____");
  cross.centre.AddNeighbour(&cross.around[SideRight]);
  EXPECT_EQ(LinkedSides(cross.centre), "_R__");
  EXPECT_EQ(cross.centre.GetNeighbour(SideRight), &cross.around[SideRight]);
  EXPECT_EQ(LinkedSides(cross.around[SideRight]), "____") << "links are one-way";
  EXPECT_EQ(cross.centre.GetNeighbour(SideNegativeZ), nullptr);
  EXPECT_EQ(cross.centre.GetNeighbour(SideNone), nullptr);
}

TEST(CBox2Links, CopiesCarryNoLinks) {
  Cross cross;
  cross.centre.AddNeighbour(&cross.around[SideLeft]);
  cross.around[SideLeft].AddNeighbour(&cross.centre);
  const CBox2 copy(cross.centre);
  EXPECT_EQ(LinkedSides(copy), "____");
  CBox2 moved(std::move(cross.around[SideUp]));
  EXPECT_EQ(LinkedSides(moved), "____");
  EXPECT_EQ(LinkedSides(cross.centre), "L___") << "copying leaves the original linked";
  EXPECT_EQ(LinkedSides(cross.around[SideLeft]), "_R__");
}

// Each way of ending or reshaping the centre box of a linked cross must
// leave no link to it in the boxes around it.
TEST(CBox2Links, EndingABoxClearsEveryLinkToIt) {
  const std::vector<std::string> endings = {"destroy", "assign", "set", "clear"};
  for (const std::string& ending : endings) {
    Cross cross;
    auto centre = std::make_unique<CBox2>(cross.centre);
    for (CBox2& box : cross.around) {
      centre->AddNeighbour(&box);
      box.AddNeighbour(centre.get());
    }
    ASSERT_EQ(centre->GetNeighbourCount(), 4);
    if (ending == "destroy") centre.reset();
    if (ending == "assign") *centre = MakeBox({10, 10, 12, 12});
    if (ending == "set") centre->Set({2, 2}, {4, 4});
    if (ending == "clear") centre->ClearNeighbours();
    for (const CBox2& box : cross.around) EXPECT_EQ(LinkedSides(box), "____") << ending;
    if (centre) {
      EXPECT_EQ(LinkedSides(*centre), "____") << ending;
    }
  }
}

TEST(CBox2Links, OneWayLinkToADestroyedBoxIsCleared) {
  CBox2 left = MakeBox({0, 0, 2, 2});
  auto right = std::make_unique<CBox2>(MakeBox({2, 0, 4, 2}));
  left.AddNeighbour(right.get());
  right.reset();
  EXPECT_EQ(left.GetNeighbour(SideRight), nullptr);
  EXPECT_EQ(left.GetNeighbourCount(), 0);
}

TEST(CBox2Links, ReplacedLinkTargetCanDieSafely) {
  // Two identical boxes on the right: the second link replaces the first,
  // and the box linked first still links back.
  CBox2 left = MakeBox({0, 0, 2, 2});
  auto first = std::make_unique<CBox2>(MakeBox({2, 0, 4, 2}));
  auto second = std::make_unique<CBox2>(MakeBox({2, 0, 4, 2}));
  left.AddNeighbour(first.get());
  left.AddNeighbour(second.get());
  first->AddNeighbour(&left);
  second->AddNeighbour(&left);
  EXPECT_EQ(left.GetNeighbour(SideRight), second.get());
  first.reset();
  EXPECT_EQ(left.GetNeighbour(SideRight), second.get());
  auto survivor = std::make_unique<CBox2>(*second);
  second.reset();
  EXPECT_EQ(left.GetNeighbour(SideRight), nullptr);
  {
    CBox2 other = MakeBox({2, 0, 4, 2});
    other.AddNeighbour(&left);
    left.AddNeighbour(&other);
  }
  EXPECT_EQ(left.GetNeighbourCount(), 0);
}

TEST(CBox2Links, RemoveNeighbourDropsOnlyThatBox) {
  Cross cross;
  for (CBox2& box : cross.around) cross.centre.AddNeighbour(&box);
  cross.centre.RemoveNeighbour(&cross.around[SideDown]);
  EXPECT_EQ(LinkedSides(cross.centre), "LR_U");
  cross.centre.RemoveNeighbour(nullptr);
  EXPECT_EQ(LinkedSides(cross.centre), "LR_U");
}

TEST(CBox2Links, StaleLinkIsReportedAndStillReturned) {
  Cross cross;
  cross.centre.AddNeighbour(&cross.around[SideUp]);
  cross.around[SideUp].maxCorner.x = 5;  // no longer the exact upper neighbour
  quarn::test::CountingAssertions counting;
  EXPECT_EQ(cross.centre.GetNeighbour(SideUp), &cross.around[SideUp]);
  EXPECT_EQ(counting.Count(), 1);
  EXPECT_EQ(counting.LastUnit(), "cbox2");
}

// Links among boxes of one list survive random removals, reassignments and
// reshapes only while both ends live and keep their shape: every remaining
// link points into the list at an exact neighbour.
TEST(CBox2Links, RandomEditsLeaveNoDanglingLinks) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    CBox2List boxes;
    for (int i = 0; i < 30; ++i) {
      const int x = static_cast<int>(random() % 4) * 2;
      const int y = static_cast<int>(random() % 4) * 2;
      boxes.Add(MakeBox({x, y, x + 2, y + 2}));
    }
    for (int step = 0; step < 200; ++step) {
      const int i = static_cast<int>(random() % boxes.GetSize());
      const int j = static_cast<int>(random() % boxes.GetSize());
      switch (random() % 6) {
        case 0:
          if (boxes.GetSize() > 2) boxes.RemoveAt(i);
          break;
        case 1:
          boxes[i] = boxes[j];
          break;
        case 2:
          boxes[i].Set(boxes[i].minCorner, boxes[i].maxCorner + CPoint2(0, 2));
          break;
        default:
          boxes[i].AddNeighbour(&boxes[j]);
          break;
      }
      std::set<const CBox2*> alive;
      for (int k = 0; k < boxes.GetSize(); ++k) alive.insert(&boxes[k]);
      for (int k = 0; k < boxes.GetSize(); ++k) {
        for (Side s = 0; s < 4; ++s) {
          quarn::test::CountingAssertions counting;
          const CBox2* neighbour = boxes[k].GetNeighbour(s);
          if (neighbour) {
            EXPECT_TRUE(alive.count(neighbour)) << "round " << round;
          }
          EXPECT_EQ(counting.Count(), 0) << "round " << round << " step " << step;
        }
      }
    }
  }
}

struct ClipCase {
  std::string name;
  Rect a;
  Rect b;
  std::vector<Rect> difference;
  std::vector<Rect> intersection;
};

TEST(CBox2SetOperations, StripsInLeftRightBottomTopOrder) {
  const std::vector<ClipCase> cases = {
      {"hole in the middle",
       {0, 0, 10, 10},
       {2, 2, 4, 4},
       {{0, 0, 2, 10}, {4, 0, 10, 10}, {2, 0, 4, 2}, {2, 4, 4, 10}},
       {{2, 2, 4, 4}}},
      {"corner bite skips empty strips",
       {0, 0, 10, 10},
       {0, 0, 4, 4},
       {{4, 0, 10, 10}, {0, 4, 4, 10}},
       {{0, 0, 4, 4}}},
      {"covering box", {2, 2, 4, 4}, {0, 0, 10, 10}, {}, {{2, 2, 4, 4}}},
      {"same box", {2, 2, 4, 4}, {2, 2, 4, 4}, {}, {{2, 2, 4, 4}}},
      {"disjoint box", {0, 0, 2, 2}, {5, 5, 6, 6}, {{0, 0, 2, 2}}, {}},
      {"touching edge", {0, 0, 2, 2}, {2, 0, 4, 2}, {{0, 0, 2, 2}}, {}},
      {"touching corner", {0, 0, 2, 2}, {2, 2, 4, 4}, {{0, 0, 2, 2}}, {}},
      {"overhanging", {0, 0, 10, 10}, {5, 5, 20, 20}, {{0, 0, 5, 10}, {5, 0, 10, 5}},
       {{5, 5, 10, 10}}},
      {"band across", {0, 0, 10, 10}, {-1, 3, 11, 6}, {{0, 0, 10, 3}, {0, 6, 10, 10}},
       {{0, 3, 10, 6}}},
      {"column through", {0, 0, 10, 10}, {3, -5, 4, 15}, {{0, 0, 3, 10}, {4, 0, 10, 10}},
       {{3, 0, 4, 10}}},
  };
  for (const ClipCase& c : cases) {
    const CBox2 a = MakeBox(c.a);
    const CBox2 b = MakeBox(c.b);
    EXPECT_EQ(RectsOf(a.Difference(b)), c.difference) << c.name;
    EXPECT_EQ(RectsOf(a.Intersection(b)), c.intersection) << c.name;
    std::vector<Rect> united = c.difference;
    united.push_back(c.b);
    EXPECT_EQ(RectsOf(a.Union(b)), united) << c.name;
  }
}

TEST(CBox2SetOperations, RandomPairsKeepTheirAreas) {
  std::mt19937 random(2024);
  auto coordinate = [&random] { return static_cast<int>(random() % 13) - 6; };
  auto randomBox = [&] {
    for (;;) {
      const CPoint2 p(coordinate(), coordinate());
      const CPoint2 q(coordinate(), coordinate());
      if (IsValidBoxCorners(p, q)) return CBox2(p, q);
    }
  };
  for (int round = 0; round < 2000; ++round) {
    const CBox2 a = randomBox();
    const CBox2 b = randomBox();
    const CBox2List difference = a.Difference(b);
    const CBox2List intersection = a.Intersection(b);
    ASSERT_EQ(AreaOf(difference) + AreaOf(intersection), a.GetArea()) << a << " " << b;
    ASSERT_LE(difference.GetSize(), 4);
    ASSERT_LE(intersection.GetSize(), 1);
    for (int i = 0; i < difference.GetSize(); ++i) {
      ASSERT_FALSE(difference[i].Overlaps(b)) << a << " " << b;
      ASSERT_TRUE(a.Intersection(difference[i]).GetSize() == 1 &&
                  a.Intersection(difference[i])[0] == difference[i])
          << "piece outside the box: " << a << " " << b;
      for (int j = i + 1; j < difference.GetSize(); ++j) {
        ASSERT_FALSE(difference[i].Overlaps(difference[j])) << a << " " << b;
      }
    }
    const CBox2List united = a.Union(b);
    ASSERT_EQ(AreaOf(united), a.GetArea() + b.GetArea() - AreaOf(intersection));
  }
}

TEST(CBox2Print, FourLinesWithLinkedSides) {
  CBox2 box = MakeBox({1, 2, 4, 7});
  CBox2 left = MakeBox({-3, 2, 1, 7});
  CBox2 up = MakeBox({1, 7, 4, 9});
  std::ostringstream plain;
  box.Print(plain);
  EXPECT_EQ(plain.str(), "  x: 1 to 4 = 3\n  y: 2 to 7 = 5\n  area: 15\n  neighbours: ____\n");
  box.AddNeighbour(&left);
  std::ostringstream linkedLeft;
  box.Print(linkedLeft);
  EXPECT_EQ(linkedLeft.str(), "  x: 1 to 4 = 3\n  y: 2 to 7 = 5\n  area: 15\n  neighbours: L___\n");
  box.AddNeighbour(&up);
  std::ostringstream linkedTwo;
  box.Print(linkedTwo);
  EXPECT_EQ(linkedTwo.str(), "  x: 1 to 4 = 3\n  y: 2 to 7 = 5\n  area: 15\n  neighbours: L__U\n");
  std::ostringstream compact;
  compact << MakeBox({-1, 2, 3, 4});
  EXPECT_EQ(compact.str(), "(-1,2)-(3,4)");
}

}  // namespace
