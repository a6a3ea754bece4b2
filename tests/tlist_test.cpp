#include "tlist.h"

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/assert_recorder.h"

namespace {

using IntList = TList<int>;

IntList MakeList(const std::vector<int>& values) {
  IntList list;
  for (int v : values) list.Add(v);
  return list;
}

// Reads the elements by walking the ring from the head, without touching
// the cursor, and checks that prev and next agree all the way round.
template <class T>
std::vector<T> RingValues(const TList<T>& list) {
  std::vector<T> values;
  const TListNode<T>* head = list.GetHeadNode();
  if (!head) return values;
  const TListNode<T>* node = head;
  do {
    EXPECT_EQ(node->next->prev, node);
    EXPECT_EQ(node->prev->next, node);
    values.push_back(node->value);
    node = node->next;
  } while (node != head && values.size() <= static_cast<size_t>(list.GetSize()));
  EXPECT_EQ(values.size(), static_cast<size_t>(list.GetSize())) << "ring length";
  return values;
}

// The index of the cursor node counted from the head, or TLIST_NO_INDEX.
template <class T>
int CursorPosition(const TList<T>& list) {
  const TListNode<T>* node = list.GetHeadNode();
  if (!node) return TLIST_NO_INDEX;
  for (int i = 0; i < list.GetSize(); ++i, node = node->next) {
    if (node == list.GetCursorNode()) return i;
  }
  return -1;
}

TEST(TListState, EmptyListHasNoCursor) {
  const IntList list;
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(list.GetCursorIndex(), TLIST_NO_INDEX);
  EXPECT_EQ(list.GetHeadNode(), nullptr);
  EXPECT_EQ(list.GetCursorNode(), nullptr);
  EXPECT_EQ(TLIST_NO_INDEX, -37707);
}

TEST(TListState, OneElementIsARingOfItself) {
  IntList list;
  list.Add(7);
  const TListNode<int>* node = list.GetHeadNode();
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->prev, node);
  EXPECT_EQ(node->next, node);
  EXPECT_EQ(list.GetCursorIndex(), 0);
  EXPECT_EQ(static_cast<const void*>(node), static_cast<const void*>(&list[0]));
}

TEST(TListState, ConstructorFromElementHoldsOneCopy) {
  const IntList list(42);
  EXPECT_EQ(RingValues(list), std::vector<int>{42});
  EXPECT_EQ(list.GetCursorIndex(), 0);
}

TEST(TListState, AddRewindsTheCursor) {
  IntList list = MakeList({1, 2, 3, 4, 5});
  list[3];
  ASSERT_EQ(list.GetCursorIndex(), 3);
  list.Add(6);
  EXPECT_EQ(list.GetCursorIndex(), 0);
  EXPECT_EQ(list.GetCursorNode(), list.GetHeadNode());
  EXPECT_EQ(RingValues(list), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

// Each step is one cursor operation on the list 10, 11, ..., 15; after it the
// cursor must sit on the expected index and node.
struct CursorStep {
  std::string op;  // "seek", "fwd", "back", "last", "rewind"
  int index;       // for "seek"
  int expected;
};

TEST(TListCursor, WalksWrapAroundTheRing) {
  const std::vector<CursorStep> steps = {
      {"seek", 5, 5},   {"seek", 2, 2}, {"fwd", 0, 3},    {"seek", 0, 0}, {"back", 0, 5},
      {"back", 0, 4},   {"fwd", 0, 5},  {"fwd", 0, 0},    {"last", 0, 5}, {"seek", 1, 1},
      {"rewind", 0, 0}, {"seek", 4, 4}, {"seek", 5, 5},   {"seek", 3, 3}, {"fwd", 0, 4},
  };
  const IntList list = MakeList({10, 11, 12, 13, 14, 15});
  for (size_t k = 0; k < steps.size(); ++k) {
    const CursorStep& s = steps[k];
    if (s.op == "seek") list.Seek(s.index);
    if (s.op == "fwd") list.StepForward();
    if (s.op == "back") list.StepBack();
    if (s.op == "last") list.SeekLast();
    if (s.op == "rewind") list.Rewind();
    EXPECT_EQ(list.GetCursorIndex(), s.expected) << "step " << k << " " << s.op;
    EXPECT_EQ(CursorPosition(list), s.expected) << "step " << k << " " << s.op;
    EXPECT_EQ(list.GetCursorNode()->value, 10 + s.expected) << "step " << k;
  }
}

TEST(TListCursor, StepsOnEmptyListDoNothing) {
  const IntList list;
  list.StepForward();
  list.StepBack();
  list.SeekLast();
  list.Rewind();
  EXPECT_EQ(list.GetCursorIndex(), TLIST_NO_INDEX);
  EXPECT_EQ(list.GetCursorNode(), nullptr);
}

TEST(TListCursor, IndexedWriteChangesTheStoredElement) {
  IntList list = MakeList({1, 2, 3});
  list[1] = 20;
  list[2] += 10;
  EXPECT_EQ(RingValues(list), (std::vector<int>{1, 20, 13}));
}

TEST(TListCursor, OutOfRangeIndicesAreAssertionFailures) {
  IntList list = MakeList({1, 2, 3});
  IntList empty;
  EXPECT_QUARN_ASSERTION(list[3], "tlist");
  EXPECT_QUARN_ASSERTION(list[-1], "tlist");
  EXPECT_QUARN_ASSERTION(list.Seek(TLIST_NO_INDEX), "tlist");
  EXPECT_QUARN_ASSERTION(empty[0], "tlist");
  EXPECT_QUARN_ASSERTION(list.InsertAt(3, 9), "tlist");
  EXPECT_QUARN_ASSERTION(list.RemoveAt(3), "tlist");
  EXPECT_QUARN_ASSERTION(empty.RemoveAt(0), "tlist");
  EXPECT_EQ(RingValues(list), (std::vector<int>{1, 2, 3}));
}

TEST(TListCursorDeathTest, OutOfRangeIndexEndsTheProcess) {
  const IntList list = MakeList({1, 2});
  EXPECT_DEATH(list[2], "Assertion failed: tlist line");
}

// A removal applied after the cursor was placed on `seek`.
struct RemovalCase {
  std::string name;
  std::vector<int> values;
  int seek;
  int removeAt;  // -1: RemoveLast
  std::vector<int> expected;
  int cursorIndex;
};

TEST(TListRemoval, CursorMovesToTheSuccessor) {
  const std::vector<RemovalCase> cases = {
      {"last index", {1, 2, 3, 4}, 1, 3, {1, 2, 3}, 0},
      {"middle index", {1, 2, 3, 4}, 0, 1, {1, 3, 4}, 1},
      {"middle from behind", {1, 2, 3, 4}, 3, 2, {1, 2, 4}, 2},
      {"head", {1, 2, 3, 4}, 2, 0, {2, 3, 4}, 0},
      {"remove last", {1, 2, 3, 4}, 1, -1, {1, 2, 3}, 0},
      {"only element", {5}, 0, 0, {}, TLIST_NO_INDEX},
      {"only element by remove last", {5}, 0, -1, {}, TLIST_NO_INDEX},
  };
  for (const RemovalCase& c : cases) {
    IntList list = MakeList(c.values);
    list.Seek(c.seek);
    if (c.removeAt < 0) {
      list.RemoveLast();
    } else {
      list.RemoveAt(c.removeAt);
    }
    EXPECT_EQ(RingValues(list), c.expected) << c.name;
    EXPECT_EQ(list.GetCursorIndex(), c.cursorIndex) << c.name;
    EXPECT_EQ(CursorPosition(list), c.cursorIndex) << c.name;
  }
}

TEST(TListRemoval, RemoveLastOnEmptyListReportsAndKeepsItEmpty) {
  quarn::test::CountingAssertions counting;
  IntList list;
  list.RemoveLast();
  EXPECT_EQ(counting.Count(), 1);
  EXPECT_EQ(counting.LastUnit(), "tlist");
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(list.GetCursorIndex(), TLIST_NO_INDEX);
}

TEST(TListRemoval, ClearWithCursorInTheMiddleEmptiesTheList) {
  IntList list = MakeList({1, 2, 3, 4, 5});
  list.Seek(3);
  list.Clear();
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(list.GetCursorIndex(), TLIST_NO_INDEX);
  list.Add(9);
  EXPECT_EQ(RingValues(list), std::vector<int>{9});
}

struct InsertCase {
  std::vector<int> values;
  int at;
  std::vector<int> expected;
};

TEST(TListInsert, ElementTakesTheIndexAndCursorRewinds) {
  const std::vector<InsertCase> cases = {
      {{1, 2, 3}, 0, {9, 1, 2, 3}},
      {{1, 2, 3}, 1, {1, 9, 2, 3}},
      {{1, 2, 3}, 2, {1, 2, 9, 3}},
      {{1}, 0, {9, 1}},
  };
  for (const InsertCase& c : cases) {
    IntList list = MakeList(c.values);
    list.SeekLast();
    list.InsertAt(c.at, 9);
    EXPECT_EQ(RingValues(list), c.expected) << "at " << c.at;
    EXPECT_EQ(list.GetCursorIndex(), 0) << "at " << c.at;
    EXPECT_EQ(list.GetCursorNode(), list.GetHeadNode()) << "at " << c.at;
  }
}

TEST(TListInsert, AddListAppendsInIndexOrderEvenFromItself) {
  IntList list = MakeList({1, 2});
  list.AddList(MakeList({3, 4}));
  EXPECT_EQ(RingValues(list), (std::vector<int>{1, 2, 3, 4}));
  list.AddList(list);
  EXPECT_EQ(RingValues(list), (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 4}));
}

TEST(TListInsert, ElementsNeverMove) {
  IntList list = MakeList({1, 2, 3});
  const int* two = &list[1];
  list.Add(4);
  list.InsertAt(0, 0);
  list.RemoveAt(3);
  list.RemoveLast();
  list.SetStart(1);
  EXPECT_EQ(RingValues(list), (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(&list[1], two);
  EXPECT_EQ(*two, 2);
}

// An element whose order ignores its tag, to observe stability.
struct Tagged {
  int key;
  char tag;
  bool operator<(const Tagged& o) const { return key < o.key; }
  bool operator==(const Tagged& o) const = default;
};

std::ostream& operator<<(std::ostream& os, const Tagged& t) { return os << t.key << t.tag; }

TEST(TListOrder, SortIsStable) {
  TList<Tagged> list;
  for (Tagged t : {Tagged{3, 'a'}, Tagged{1, 'a'}, Tagged{2, 'a'}, Tagged{1, 'b'}}) list.Add(t);
  const std::vector<Tagged> expected = {{1, 'a'}, {1, 'b'}, {2, 'a'}, {3, 'a'}};
  EXPECT_EQ(RingValues(list.GetSorted()), expected);
  EXPECT_EQ(RingValues(list)[0], (Tagged{3, 'a'})) << "GetSorted leaves the source alone";
  list.Sort();
  EXPECT_EQ(RingValues(list), expected);
}

TEST(TListOrder, SortMatchesStableSortOnRandomLists) {
  std::mt19937 random(1234);
  for (int round = 0; round < 200; ++round) {
    std::vector<Tagged> values(random() % 20);
    for (size_t i = 0; i < values.size(); ++i) {
      values[i] = {static_cast<int>(random() % 6), static_cast<char>('a' + i)};
    }
    TList<Tagged> list;
    for (const Tagged& t : values) list.Add(t);
    std::stable_sort(values.begin(), values.end());
    EXPECT_EQ(RingValues(list.GetSorted()), values) << "round " << round;
  }
}

struct ReverseCase {
  std::vector<int> values;
  std::vector<int> expected;
};

TEST(TListOrder, ReverseTurnsTheOrder) {
  const std::vector<ReverseCase> cases = {
      {{}, {}}, {{1}, {1}}, {{1, 2}, {2, 1}}, {{1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}}};
  for (const ReverseCase& c : cases) {
    IntList list = MakeList(c.values);
    list.Reverse();
    EXPECT_EQ(RingValues(list), c.expected) << c.values.size() << " elements";
  }
}

struct IndexOfCase {
  std::vector<int> values;
  int seek;  // cursor position before the search, -1 for none
  int value;
  int expected;
};

TEST(TListOrder, IndexOfFindsTheFirstMatchFromTheHead) {
  const std::vector<IndexOfCase> cases = {
      {{}, -1, 1, TLIST_NO_INDEX},     {{4, 5, 6}, 2, 4, 0}, {{4, 5, 6}, 0, 6, 2},
      {{4, 5, 6}, 1, 7, TLIST_NO_INDEX}, {{4, 5, 4, 5}, 3, 5, 1}, {{4}, 0, 4, 0},
  };
  for (const IndexOfCase& c : cases) {
    const IntList list = MakeList(c.values);
    if (c.seek >= 0) list.Seek(c.seek);
    EXPECT_EQ(list.IndexOf(c.value), c.expected) << "value " << c.value;
  }
}

TEST(TListOrder, SetStartRotatesTheRing) {
  for (int start = 0; start < 4; ++start) {
    IntList list = MakeList({1, 2, 3, 4});
    list.SetStart(start);
    std::vector<int> expected = {1, 2, 3, 4};
    std::rotate(expected.begin(), expected.begin() + start, expected.end());
    EXPECT_EQ(RingValues(list), expected) << "start " << start;
    EXPECT_EQ(list.GetCursorIndex(), 0);
    EXPECT_EQ(list[3], expected[3]);
  }
}

TEST(TListCopy, SelfAssignmentKeepsTheList) {
  IntList list = MakeList({1, 2, 3});
  const TListNode<int>* head = list.GetHeadNode();
  IntList& alias = list;
  list = alias;
  EXPECT_EQ(RingValues(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(list.GetHeadNode(), head);
}

TEST(TListCopy, ListOfListsCopiesTheInnerLists) {
  TList<IntList> outer;
  outer.Add(MakeList({1, 2}));
  outer.Add(MakeList({3}));
  TList<IntList> copy(outer);
  copy[0][1] = 20;
  copy[1].Add(4);
  EXPECT_EQ(RingValues(outer[0]), (std::vector<int>{1, 2}));
  EXPECT_EQ(RingValues(outer[1]), std::vector<int>{3});
  EXPECT_EQ(RingValues(copy[0]), (std::vector<int>{1, 20}));
  EXPECT_EQ(RingValues(copy[1]), (std::vector<int>{3, 4}));
  copy = TList<IntList>();
  EXPECT_EQ(copy.GetSize(), 0);
  EXPECT_EQ(copy.GetCursorIndex(), TLIST_NO_INDEX);
}

// Random edits checked against a vector: contents, ring links and the cursor
// index must agree after every operation.
TEST(TListModel, RandomEditsMatchAVector) {
  std::mt19937 random(99);
  IntList list;
  std::vector<int> model;
  for (int step = 0; step < 3000; ++step) {
    const int size = static_cast<int>(model.size());
    const int value = static_cast<int>(random() % 1000);
    const int at = size > 0 ? static_cast<int>(random() % size) : 0;
    switch (random() % 9) {
      case 0:
      case 1:
        list.Add(value);
        model.push_back(value);
        break;
      case 2:
        if (size == 0) break;
        list.InsertAt(at, value);
        model.insert(model.begin() + at, value);
        break;
      case 3:
        if (size == 0) break;
        list.RemoveAt(at);
        model.erase(model.begin() + at);
        break;
      case 4:
        if (size == 0) break;
        list.RemoveLast();
        model.pop_back();
        break;
      case 5:
        if (size == 0) break;
        EXPECT_EQ(list[at], model[at]);
        break;
      case 6:
        if (size == 0) break;
        list.SetStart(at);
        std::rotate(model.begin(), model.begin() + at, model.end());
        break;
      case 7:
        list.Reverse();
        std::reverse(model.begin(), model.end());
        break;
      default:
        if (random() % 20 == 0) {
          list.Clear();
          model.clear();
        }
        break;
    }
    ASSERT_EQ(RingValues(list), model) << "step " << step;
    ASSERT_EQ(list.GetCursorIndex(), CursorPosition(list)) << "step " << step;
  }
}

}  // namespace
