#include "app/benchcommon.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using quarn::kBothAxes;

struct PointerCase {
  const char* name;
  CPoint2 drag;   // before the frame
  CPoint2 delta;  // pointer movement of the frame
  bool held;
  int axis;
  CPoint2 expectedDrag;
  CPoint2 expectedCursor;
};

TEST(FollowPointer, AccumulatesTheDragAndTruncatesTowardZero) {
  const PointerCase cases[] = {
      {"70 right 40 up", {0, 0}, {70, 40}, true, kBothAxes, {70, 40}, {2, 1}},
      {"31 pixels are no unit", {0, 0}, {31, 31}, true, kBothAxes, {31, 31}, {0, 0}},
      {"negative truncates up", {0, 0}, {-40, -31}, true, kBothAxes, {-40, -31}, {-1, 0}},
      {"adds to the earlier drag", {20, -20}, {12, -12}, true, kBothAxes, {32, -32}, {1, -1}},
      {"only x follows", {0, 0}, {70, 70}, true, 0, {70, 0}, {2, 0}},
      {"only y follows", {5, 0}, {70, 70}, true, 1, {5, 70}, {0, 2}},
      {"button up: nothing moves", {40, 40}, {64, 64}, false, kBothAxes, {40, 40}, {7, 7}},
  };
  for (const PointerCase& c : cases) {
    CMouseState mouse;
    if (c.held) mouse.Press(1);
    mouse.SetPosition(c.delta.x, c.delta.y);
    CPoint2 drag = c.drag;
    CPoint2 cursor{7, 7};
    quarn::FollowPointer(mouse, drag, cursor, c.axis);
    EXPECT_EQ(drag, c.expectedDrag) << c.name;
    EXPECT_EQ(cursor, c.expectedCursor) << c.name;
  }
}

TEST(FollowPointer, MiddleOrRightButtonDoesNotDrag) {
  for (std::uint8_t button : {2, 4}) {
    CMouseState mouse;
    mouse.Press(button);
    mouse.SetPosition(64, 64);
    CPoint2 drag{0, 0};
    CPoint2 cursor{0, 0};
    quarn::FollowPointer(mouse, drag, cursor);
    EXPECT_EQ(cursor, CPoint2(0, 0)) << int{button};
  }
}

struct CornerCase {
  const char* name;
  std::optional<CPoint2> pending;
  CPoint2 cursor;
  std::optional<CPoint2> expectedPending;
  std::vector<CBox2> expectedBoxes;
};

TEST(PlaceCorner, StoresACornerOrAddsTheBoxItSpans) {
  const CornerCase cases[] = {
      {"first corner", std::nullopt, {3, 4}, CPoint2(3, 4), {}},
      {"second corner", CPoint2(3, 4), {1, 1}, std::nullopt, {CBox2({1, 1}, {3, 4})}},
      {"same x keeps the corner", CPoint2(3, 4), {3, 9}, CPoint2(3, 4), {}},
      {"same y keeps the corner", CPoint2(3, 4), {0, 4}, CPoint2(3, 4), {}},
      {"same point keeps the corner", CPoint2(3, 4), {3, 4}, CPoint2(3, 4), {}},
  };
  for (const CornerCase& c : cases) {
    std::optional<CPoint2> pending = c.pending;
    CBox2List boxes;
    quarn::PlaceCorner(pending, c.cursor, boxes);
    EXPECT_EQ(pending, c.expectedPending) << c.name;
    ASSERT_EQ(boxes.GetSize(), static_cast<int>(c.expectedBoxes.size())) << c.name;
    for (int i = 0; i < boxes.GetSize(); ++i) EXPECT_EQ(boxes[i], c.expectedBoxes[i]) << c.name;
  }
}

// Lists given as their box counts; every box is a copy of one unit box.
TList<CBox2List> ListsOf(const std::vector<int>& counts) {
  TList<CBox2List> lists;
  for (int count : counts) {
    CBox2List list;
    for (int k = 0; k < count; ++k) list.Add(CBox2({k, 0}, {k + 1, 1}));
    lists.Add(list);
  }
  return lists;
}

std::vector<int> CountsOf(const TList<CBox2List>& lists) {
  std::vector<int> counts;
  for (int i = 0; i < lists.GetSize(); ++i) counts.push_back(lists[i].GetSize());
  return counts;
}

struct RemoveCase {
  std::vector<int> before;
  std::vector<int> after;
};

TEST(RemoveLastBox, DropsTrailingEmptyListsThenTheLastBox) {
  const RemoveCase cases[] = {
      {{2}, {1}},       {{1}, {0}}, {{1, 0, 0}, {0}},       {{1, 1, 0}, {1, 0}},
      {{0, 2}, {0, 1}}, {{0}, {0}}, {{0, 0, 0}, {0, 0, 0}},
  };
  for (const RemoveCase& c : cases) {
    TList<CBox2List> lists = ListsOf(c.before);
    quarn::RemoveLastBox(lists);
    EXPECT_EQ(CountsOf(lists), c.after) << ::testing::PrintToString(c.before);
  }
}

TEST(CountBoxes, AddsUpEveryList) {
  EXPECT_EQ(quarn::CountBoxes(ListsOf({})), 0);
  EXPECT_EQ(quarn::CountBoxes(ListsOf({0, 3, 0, 2})), 5);
}

}  // namespace
