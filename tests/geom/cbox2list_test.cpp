#include "geom/cbox2list.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "box_test_support.h"
#include "support/assert_recorder.h"

namespace {

using quarn::test::AreaOf;
using quarn::test::MakeBox;
using quarn::test::MakeList;
using quarn::test::Rect;
using quarn::test::RectOf;
using quarn::test::RectsOf;
using Rects = std::vector<Rect>;

struct SetOperationCase {
  std::string name;
  Rects a;
  Rects b;
  Rects expected;
};

TEST(CBox2ListSetOperations, DifferenceClipsBoxByBoxInOrder) {
  const std::vector<SetOperationCase> cases = {
      {"two holes",
       {{0, 0, 10, 10}},
       {{2, 2, 4, 4}, {6, 6, 8, 8}},
       {{0, 0, 2, 10}, {4, 0, 6, 10}, {8, 0, 10, 10}, {6, 0, 8, 6}, {6, 8, 8, 10}, {2, 0, 4, 2},
        {2, 4, 4, 10}}},
      {"nothing taken away", {{0, 0, 2, 2}, {5, 5, 6, 9}}, {}, {{0, 0, 2, 2}, {5, 5, 6, 9}}},
      {"from nothing", {}, {{0, 0, 2, 2}}, {}},
      {"everything taken away", {{1, 1, 2, 2}, {3, 3, 4, 4}}, {{0, 0, 5, 5}}, {}},
      {"second clip cuts the first clip's pieces",
       {{0, 0, 4, 2}},
       {{1, 0, 2, 2}, {0, 1, 4, 3}},
       {{0, 0, 1, 1}, {2, 0, 4, 1}}},
  };
  for (const SetOperationCase& c : cases) {
    EXPECT_EQ(RectsOf(MakeList(c.a).Difference(MakeList(c.b))), c.expected) << c.name;
  }
  EXPECT_EQ(AreaOf(MakeList(cases[0].a).Difference(MakeList(cases[0].b))), 92);
}

TEST(CBox2ListSetOperations, UnionAppendsTheOtherList) {
  const std::vector<SetOperationCase> cases = {
      {"overlapping", {{0, 0, 2, 2}}, {{1, 1, 3, 3}}, {{0, 0, 1, 2}, {1, 0, 2, 1}, {1, 1, 3, 3}}},
      {"disjoint", {{0, 0, 1, 1}}, {{5, 5, 6, 6}, {2, 2, 3, 3}},
       {{0, 0, 1, 1}, {5, 5, 6, 6}, {2, 2, 3, 3}}},
      {"with nothing", {}, {{1, 1, 2, 2}}, {{1, 1, 2, 2}}},
  };
  for (const SetOperationCase& c : cases) {
    EXPECT_EQ(RectsOf(MakeList(c.a).Union(MakeList(c.b))), c.expected) << c.name;
  }
}

TEST(CBox2ListSetOperations, IntersectionRunsOverThisListThenOther) {
  const std::vector<SetOperationCase> cases = {
      {"only touching", {{0, 0, 2, 2}, {2, 2, 4, 4}}, {{2, 0, 4, 2}, {0, 2, 2, 4}}, {}},
      {"two by two",
       {{0, 0, 4, 4}, {10, 0, 14, 4}},
       {{2, 2, 12, 3}, {3, 0, 11, 1}},
       {{2, 2, 4, 3}, {3, 0, 4, 1}, {10, 2, 12, 3}, {10, 0, 11, 1}}},
      {"with nothing", {{0, 0, 2, 2}}, {}, {}},
  };
  for (const SetOperationCase& c : cases) {
    EXPECT_EQ(RectsOf(MakeList(c.a).Intersection(MakeList(c.b))), c.expected) << c.name;
  }
}

TEST(CBox2ListSetOperations, OperandsKeepTheirBoxes) {
  const CBox2List a = MakeList({{0, 0, 4, 4}});
  const CBox2List b = MakeList({{2, 2, 6, 6}});
  a.Difference(b);
  a.Union(b);
  a.Intersection(b);
  b.Difference(b);
  EXPECT_EQ(RectsOf(a), Rects({{0, 0, 4, 4}}));
  EXPECT_EQ(RectsOf(b), Rects({{2, 2, 6, 6}}));
  EXPECT_EQ(a.Difference(a).GetSize(), 0);
}

struct ChangeCase {
  std::string name;
  Rects before;
  Rects after;
};

TEST(CBox2ListChanges, FixAllOverlapsReinsertsDifferences) {
  const std::vector<ChangeCase> cases = {
      {"two boxes", {{0, 0, 4, 4}, {2, 2, 6, 6}}, {{0, 0, 4, 4}, {4, 2, 6, 6}, {2, 4, 4, 6}}},
      {"three copies", {{1, 1, 3, 3}, {1, 1, 3, 3}, {1, 1, 3, 3}}, {{1, 1, 3, 3}}},
      {"removal re-tests the same index",
       {{0, 0, 4, 4}, {1, 1, 2, 2}, {3, 3, 5, 5}},
       {{0, 0, 4, 4}, {4, 3, 5, 5}, {3, 4, 4, 5}}},
      {"later pair", {{0, 0, 1, 1}, {2, 0, 4, 2}, {3, 0, 5, 2}},
       {{0, 0, 1, 1}, {2, 0, 4, 2}, {4, 0, 5, 2}}},
      {"re-inserted piece clipped by earlier re-insertions",
       {{0, 0, 2, 2}, {1, 0, 3, 2}, {1, 0, 4, 2}},
       {{0, 0, 2, 2}, {2, 0, 3, 2}, {3, 0, 4, 2}}},
      {"touching only", {{0, 0, 2, 2}, {2, 0, 4, 2}}, {{0, 0, 2, 2}, {2, 0, 4, 2}}},
      {"one box", {{0, 0, 2, 2}}, {{0, 0, 2, 2}}},
      {"empty", {}, {}},
  };
  for (const ChangeCase& c : cases) {
    CBox2List list = MakeList(c.before);
    list.FixAllOverlaps();
    EXPECT_EQ(RectsOf(list), c.after) << c.name;
  }
}

TEST(CBox2ListChanges, SliceByCutsAlongTheBoxLines) {
  const std::vector<std::pair<Rect, ChangeCase>> cases = {
      {{20, 5, 30, 30}, {"far box cuts by its y", {{0, 0, 10, 10}}, {{0, 0, 10, 5}, {0, 5, 10, 10}}}},
      {{10, 0, 20, 10}, {"touching box cuts nothing", {{0, 0, 10, 10}}, {{0, 0, 10, 10}}}},
      {{2, 2, 4, 4},
       {"hole makes nine pieces, appended pieces cut too",
        {{0, 0, 10, 10}},
        {{0, 0, 2, 2}, {2, 0, 4, 2}, {0, 2, 2, 4}, {4, 0, 10, 2}, {2, 2, 4, 4}, {0, 4, 2, 10},
         {4, 2, 10, 4}, {2, 4, 4, 10}, {4, 4, 10, 10}}}},
      {{1, 1, 3, 3},
       {"each box of the list",
        {{0, 0, 2, 2}, {2, 2, 4, 4}},
        {{0, 0, 1, 1}, {2, 2, 3, 3}, {1, 0, 2, 1}, {0, 1, 1, 2}, {3, 2, 4, 3}, {2, 3, 3, 4},
         {1, 1, 2, 2}, {3, 3, 4, 4}}}},
  };
  for (const auto& [cut, c] : cases) {
    CBox2List list = MakeList(c.before);
    const bool sliced = list.IsSlicedBy(MakeBox(cut));
    list.SliceBy(MakeBox(cut));
    EXPECT_EQ(RectsOf(list), c.after) << c.name;
    EXPECT_EQ(sliced, c.after.size() != c.before.size()) << c.name;
  }
}

TEST(CBox2ListChanges, SliceByOneOfItsOwnBoxes) {
  CBox2List list = MakeList({{0, 0, 4, 4}, {2, 2, 6, 6}});
  list.SliceBy(list[1]);
  EXPECT_EQ(RectsOf(list), Rects({{0, 0, 2, 2}, {2, 2, 6, 6}, {2, 0, 4, 2}, {0, 2, 2, 4},
                                  {2, 2, 4, 4}}));
}

TEST(CBox2ListChanges, SliceGivesMatchingEdgesAndLinks) {
  CBox2List list = MakeList({{0, 0, 4, 2}, {2, 2, 6, 4}});
  list.Slice();
  ASSERT_EQ(RectsOf(list), Rects({{0, 0, 2, 2}, {2, 2, 4, 4}, {4, 2, 6, 4}, {2, 0, 4, 2}}));
  list.SetNeighbours();
  const std::vector<std::pair<int, std::vector<int>>> links = {
      // box index, then the index linked on L, R, D, U (-1: none)
      {0, {-1, 3, -1, -1}},
      {1, {-1, 2, 3, -1}},
      {2, {1, -1, -1, -1}},
      {3, {0, -1, -1, 1}},
  };
  for (const auto& [box, expected] : links) {
    for (Side s = 0; s < 4; ++s) {
      const CBox2* linked = list[box].GetNeighbour(s);
      const CBox2* want = expected[s] < 0 ? nullptr : &list[expected[s]];
      EXPECT_EQ(linked, want) << "box " << box << " side " << kSideLetters[s];
    }
  }
  std::ostringstream out;
  list.Print(out);
  EXPECT_EQ(out.str(), "  size: 4\n  exact neighbours: L=2  R=2  D=1  U=1  \n");
}

TEST(CBox2ListChanges, SliceStacksOverlappingBoxes) {
  CBox2List list = MakeList({{0, 0, 4, 4}, {2, 2, 6, 6}});
  list.Slice();
  std::multiset<Rect> pieces;
  for (const Rect& r : RectsOf(list)) pieces.insert(r);
  EXPECT_EQ(pieces.count(Rect{2, 2, 4, 4}), 2u);
  EXPECT_EQ(list.GetSize(), 8);
  EXPECT_FALSE(list.SlicesSelf());
}

TEST(CBox2ListChanges, SliceAxisRejectsAThirdAxis) {
  CBox2List list = MakeList({{0, 0, 4, 2}, {2, 2, 6, 4}});
  EXPECT_QUARN_ASSERTION(list.SliceAxis(2), "cbox2list");
  quarn::test::CountingAssertions counting;
  list.SliceAxis(-1);
  EXPECT_EQ(counting.Count(), 1);
  EXPECT_EQ(RectsOf(list), Rects({{0, 0, 4, 2}, {2, 2, 6, 4}}));
}

TEST(CBox2ListChanges, SetNeighboursOnOverlappingStacksStaysSound) {
  CBox2List list = MakeList({{0, 0, 2, 2}, {2, 0, 4, 2}, {2, 0, 4, 2}});
  list.SetNeighbours();
  EXPECT_EQ(list[0].GetNeighbour(SideRight), &list[2]) << "the later box replaces the link";
  EXPECT_EQ(list[1].GetNeighbour(SideLeft), &list[0]);
  list.RemoveAt(0);
  EXPECT_EQ(list[0].GetNeighbour(SideLeft), nullptr);
  EXPECT_EQ(list[1].GetNeighbour(SideLeft), nullptr);
}

struct QueryCase {
  std::string name;
  Rects list;
  Rect box;
  bool overlaps;
  bool partialNeighbour;
  bool slicedBy;
};

TEST(CBox2ListQueries, BoxAgainstList) {
  const std::vector<QueryCase> cases = {
      {"empty list", {}, {0, 0, 1, 1}, false, false, false},
      {"corner contact", {{0, 0, 2, 2}}, {2, 2, 3, 3}, false, false, false},
      {"edge contact", {{0, 0, 2, 2}, {5, 5, 6, 6}}, {6, 5, 8, 7}, false, true, false},
      {"overlap", {{0, 0, 2, 2}, {5, 5, 6, 6}}, {1, 1, 3, 3}, true, true, true},
      {"far but cutting", {{0, 0, 10, 10}}, {20, 5, 30, 30}, false, false, true},
      {"far and in line", {{0, 0, 10, 10}}, {20, 0, 30, 10}, false, false, false},
      {"inside", {{0, 0, 10, 10}}, {2, 2, 4, 4}, true, true, true},
  };
  for (const QueryCase& c : cases) {
    const CBox2List list = MakeList(c.list);
    const CBox2 box = MakeBox(c.box);
    EXPECT_EQ(list.Overlaps(box), c.overlaps) << c.name;
    EXPECT_EQ(list.IsPartialNeighbourOf(box), c.partialNeighbour) << c.name;
    EXPECT_EQ(list.IsSlicedBy(box), c.slicedBy) << c.name;
  }
}

struct SelfCase {
  std::string name;
  Rects list;
  bool overlapsSelf;
  bool slicesSelf;
  int pieces;
};

TEST(CBox2ListQueries, ListAgainstItself) {
  const std::vector<SelfCase> cases = {
      {"empty", {}, false, false, 0},
      {"one box", {{0, 0, 1, 1}}, false, false, 1},
      {"corner contact", {{0, 0, 1, 1}, {1, 1, 2, 2}}, false, false, 2},
      {"edge contact", {{0, 0, 1, 1}, {1, 0, 2, 5}}, false, false, 1},
      {"only the later box cuts", {{2, 0, 4, 1}, {0, 5, 10, 6}}, false, false, 2},
      {"later box cut by the earlier", {{0, 5, 10, 6}, {2, 0, 4, 1}}, false, true, 2},
      {"overlapping", {{0, 0, 4, 4}, {2, 2, 6, 6}}, true, true, 1},
      {"joined through a later box", {{0, 0, 1, 1}, {5, 0, 6, 1}, {1, 0, 5, 1}}, false, false, 1},
      {"stack of equals", {{0, 0, 2, 2}, {0, 0, 2, 2}}, true, false, 1},
  };
  for (const SelfCase& c : cases) {
    const CBox2List list = MakeList(c.list);
    EXPECT_EQ(list.OverlapsSelf(), c.overlapsSelf) << c.name;
    EXPECT_EQ(list.SlicesSelf(), c.slicesSelf) << c.name;
    EXPECT_EQ(list.CountPieces(), c.pieces) << c.name;
    EXPECT_EQ(list.GetSeperatePieces().GetSize(), c.pieces) << c.name;
  }
}

TEST(CBox2ListQueries, PiecesInOrderOfFirstBoxesAndOfReach) {
  const CBox2List list = MakeList(
      {{0, 0, 1, 1}, {10, 10, 11, 11}, {5, 0, 6, 1}, {1, 0, 5, 1}, {11, 10, 12, 11}});
  const TList<CBox2List> pieces = list.GetSeperatePieces();
  ASSERT_EQ(pieces.GetSize(), 2);
  EXPECT_EQ(RectsOf(pieces[0]), Rects({{0, 0, 1, 1}, {1, 0, 5, 1}, {5, 0, 6, 1}}));
  EXPECT_EQ(RectsOf(pieces[1]), Rects({{10, 10, 11, 11}, {11, 10, 12, 11}}));
  EXPECT_EQ(RectsOf(MakeList({{3, 3, 4, 4}}).GetSeperatePieces()[0]), Rects({{3, 3, 4, 4}}));
}

TEST(CBox2ListPrint, CountsLinksPerSide) {
  CBox2List list = MakeList({{0, 0, 2, 2}, {2, 0, 4, 2}});
  std::ostringstream unlinked;
  list.Print(unlinked);
  EXPECT_EQ(unlinked.str(), "  size: 2\n  exact neighbours: L=0  R=0  D=0  U=0  \n");
  list.SetNeighbours();
  std::ostringstream linked;
  list.Print(linked);
  EXPECT_EQ(linked.str(), "  size: 2\n  exact neighbours: L=1  R=1  D=0  U=0  \n");
  const CBox2List copy(list);
  std::ostringstream copied;
  copy.Print(copied);
  EXPECT_EQ(copied.str(), "  size: 2\n  exact neighbours: L=0  R=0  D=0  U=0  \n");
  std::ostringstream compact;
  compact << list;
  EXPECT_EQ(compact.str(), "[(0,0)-(2,2), (2,0)-(4,2)]");
}

// Laws over random lists on a small grid, checked against the set of unit
// cells the boxes cover.
using Cells = std::set<std::pair<int, int>>;

Cells CellsOf(const CBox2List& list) {
  Cells cells;
  for (int i = 0; i < list.GetSize(); ++i) {
    const CBox2& b = list[i];
    for (int x = b.minCorner.x; x < b.maxCorner.x; ++x) {
      for (int y = b.minCorner.y; y < b.maxCorner.y; ++y) cells.insert({x, y});
    }
  }
  return cells;
}

int ComponentsOf(Cells cells) {
  int components = 0;
  while (!cells.empty()) {
    ++components;
    std::vector<std::pair<int, int>> open = {*cells.begin()};
    cells.erase(cells.begin());
    while (!open.empty()) {
      const auto [x, y] = open.back();
      open.pop_back();
      for (const auto& next : {std::pair{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}}) {
        if (cells.erase(next)) open.push_back(next);
      }
    }
  }
  return components;
}

class RandomLists : public testing::Test {
 protected:
  CBox2List RandomList(int maxBoxes) {
    CBox2List list;
    const int n = static_cast<int>(random_() % (maxBoxes + 1));
    while (list.GetSize() < n) {
      const CPoint2 p(Coordinate(), Coordinate());
      const CPoint2 q(Coordinate(), Coordinate());
      if (IsValidBoxCorners(p, q) && (p - q).Abs().x * (p - q).Abs().y <= 30) list.Add(CBox2(p, q));
    }
    return list;
  }
  int Coordinate() { return static_cast<int>(random_() % 13); }

  std::mt19937 random_{4242};
};

TEST_F(RandomLists, SetOperationsKeepAreas) {
  for (int round = 0; round < 300; ++round) {
    CBox2List a = RandomList(5);
    CBox2List b = RandomList(5);
    a.FixAllOverlaps();
    b.FixAllOverlaps();
    const CBox2List difference = a.Difference(b);
    const CBox2List intersection = a.Intersection(b);
    ASSERT_EQ(AreaOf(difference) + AreaOf(intersection), AreaOf(a)) << a << " " << b;
    ASSERT_FALSE(difference.OverlapsSelf()) << a << " " << b;
    ASSERT_FALSE(intersection.OverlapsSelf()) << a << " " << b;
    for (int i = 0; i < difference.GetSize(); ++i) ASSERT_FALSE(b.Overlaps(difference[i]));
    const CBox2List united = a.Union(b);
    ASSERT_FALSE(united.OverlapsSelf()) << a << " " << b;
    Cells expected = CellsOf(a);
    const Cells fromB = CellsOf(b);
    expected.insert(fromB.begin(), fromB.end());
    ASSERT_EQ(CellsOf(united), expected) << a << " " << b;
    ASSERT_EQ(AreaOf(united), static_cast<long long>(expected.size()));
  }
}

TEST_F(RandomLists, FixAllOverlapsLeavesNoOverlapAndTheSameCover) {
  for (int round = 0; round < 300; ++round) {
    const CBox2List before = RandomList(8);
    CBox2List after = before;
    after.FixAllOverlaps();
    ASSERT_FALSE(after.OverlapsSelf()) << before;
    const Cells cover = CellsOf(before);
    ASSERT_EQ(CellsOf(after), cover) << before;
    ASSERT_EQ(AreaOf(after), static_cast<long long>(cover.size())) << before;
  }
}

TEST_F(RandomLists, SliceLeavesNoBoxCuttingAnother) {
  for (int round = 0; round < 200; ++round) {
    const CBox2List before = RandomList(6);
    CBox2List after = before;
    after.Slice();
    ASSERT_EQ(AreaOf(after), AreaOf(before)) << before;
    ASSERT_EQ(CellsOf(after), CellsOf(before)) << before;
    for (int i = 0; i < after.GetSize(); ++i) {
      CBox2List others;
      for (int j = 0; j < after.GetSize(); ++j) {
        if (j != i) others.Add(after[j]);
      }
      ASSERT_FALSE(others.IsSlicedBy(after[i])) << before << " -> " << after;
    }
  }
}

TEST_F(RandomLists, LinksAfterFixSliceAndSetNeighboursAreExactAndMutual) {
  for (int round = 0; round < 150; ++round) {
    CBox2List list = RandomList(6);
    list.FixAllOverlaps();
    list.Slice();
    list.SetNeighbours();
    quarn::test::CountingAssertions counting;
    for (int i = 0; i < list.GetSize(); ++i) {
      for (Side s = 0; s < 4; ++s) {
        const CBox2* expected = nullptr;
        for (int j = 0; j < list.GetSize(); ++j) {
          if (list[i].GetNeighbourSide(list[j]) == s) expected = &list[j];
        }
        const CBox2* linked = list[i].GetNeighbour(s);
        ASSERT_EQ(linked, expected) << list << " box " << i << " side " << s;
        if (linked) {
          ASSERT_EQ(linked->GetNeighbour(s ^ 1), &list[i]) << list << " box " << i;
        }
      }
    }
    ASSERT_EQ(counting.Count(), 0);
  }
}

TEST_F(RandomLists, PiecesMatchTheConnectedCells) {
  for (int round = 0; round < 300; ++round) {
    const CBox2List list = RandomList(7);
    const int count = list.CountPieces();
    ASSERT_EQ(count, ComponentsOf(CellsOf(list))) << list;
    const TList<CBox2List> pieces = list.GetSeperatePieces();
    ASSERT_EQ(pieces.GetSize(), count) << list;
    std::multiset<Rect> all;
    std::multiset<Rect> gathered;
    for (const Rect& r : RectsOf(list)) all.insert(r);
    for (int p = 0; p < pieces.GetSize(); ++p) {
      ASSERT_EQ(pieces[p].CountPieces(), 1) << list;
      for (const Rect& r : RectsOf(pieces[p])) gathered.insert(r);
    }
    ASSERT_EQ(gathered, all) << list;
  }
}

}  // namespace

// Overlap removal and linking take shortcuts over the list; their results
// must stay those of the plain pairwise walks, box order and link overwrites
// included, also for lists with duplicates, overlaps and links made before.
Rects PairwiseFixAllOverlaps(Rects boxes) {
  const auto overlap = [](const Rect& a, const Rect& b) {
    return a[2] > b[0] && a[0] < b[2] && a[3] > b[1] && a[1] < b[3];
  };
  Rects removed;
  for (std::size_t i = 0; i + 1 < boxes.size(); ++i) {
    std::size_t j = i + 1;
    while (j != boxes.size()) {
      if (overlap(boxes[i], boxes[j])) {
        removed.push_back(boxes[j]);
        boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(j));
      } else {
        ++j;
      }
    }
  }
  for (const Rect& r : removed) {
    const Rects pieces = RectsOf(CBox2List(MakeBox(r)).Difference(MakeList(boxes)));
    boxes.insert(boxes.end(), pieces.begin(), pieces.end());
  }
  return boxes;
}

void LinkAllPairs(CBox2List& list) {
  for (int i = 0; i < list.GetSize(); ++i) {
    for (int j = 0; j < list.GetSize(); ++j) list[i].AddNeighbour(&list[j]);
  }
}

// For every box and side, the index of the linked box, or -1.
std::vector<std::array<int, 4>> LinkIndices(const CBox2List& list) {
  std::vector<std::array<int, 4>> links;
  for (int i = 0; i < list.GetSize(); ++i) {
    std::array<int, 4> sides = {-1, -1, -1, -1};
    for (Side s = 0; s < 4; ++s) {
      for (int j = 0; j < list.GetSize(); ++j) {
        if (list[i].GetNeighbour(s) == &list[j]) sides[s] = j;
      }
    }
    links.push_back(sides);
  }
  return links;
}

TEST_F(RandomLists, ShortcutsGiveThePairwiseResults) {
  for (int round = 0; round < 300; ++round) {
    CBox2List list = RandomList(7);
    const int originals = list.GetSize();
    for (int k = 0; k < originals && round % 2 == 0; k += 2) list.Add(list[(k * 5) % originals]);
    const Rects before = RectsOf(list);

    CBox2List fixed = list;
    fixed.FixAllOverlaps();
    ASSERT_EQ(RectsOf(fixed), PairwiseFixAllOverlaps(before)) << list;

    quarn::test::CountingAssertions counting;
    CBox2List reference = list;
    list.SetNeighbours();
    LinkAllPairs(reference);
    ASSERT_EQ(LinkIndices(list), LinkIndices(reference)) << list;
    if (before.empty()) continue;
    // Links made before stay unless replaced; reshaped boxes start afresh.
    const CBox2 cut = MakeBox(before[static_cast<std::size_t>(round) % before.size()]);
    list.SliceBy(cut);
    reference.SliceBy(cut);
    list.SetNeighbours();
    LinkAllPairs(reference);
    ASSERT_EQ(LinkIndices(list), LinkIndices(reference)) << list;
    ASSERT_EQ(counting.Count(), 0);
  }
}
