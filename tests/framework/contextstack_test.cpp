#include "contextstack.h"

#include <gtest/gtest.h>

#include <vector>

namespace quarn::fw {
namespace {

// Records every make-current and can refuse one context.
class FakeBackend : public ContextBackend {
 public:
  ContextPair current;
  void* refused = nullptr;
  std::vector<ContextPair> made;

  ContextPair Current() const override { return current; }
  bool MakeCurrent(const ContextPair& pair) override {
    made.push_back(pair);
    if (pair.context != nullptr && pair.context == refused) {
      current = {};
      return false;
    }
    current = pair;
    return true;
  }
};

int g_objects[40];
ContextPair Pair(int i) { return {&g_objects[i], &g_objects[20 + i]}; }

TEST(ContextStack, NestedPushesRestoreInReverseOrder) {
  FakeBackend backend;
  backend.current = Pair(0);
  ContextStack stack(backend);
  EXPECT_TRUE(stack.Push(Pair(1)));
  EXPECT_TRUE(stack.Push(Pair(2)));
  EXPECT_EQ(backend.current, Pair(2));
  stack.Pop();
  EXPECT_EQ(backend.current, Pair(1));
  stack.Pop();
  EXPECT_EQ(backend.current, Pair(0));
  EXPECT_EQ(stack.Depth(), 0);
}

TEST(ContextStack, PopOnAnEmptyStackChangesNothing) {
  FakeBackend backend;
  ContextStack stack(backend);
  stack.Pop();
  EXPECT_EQ(stack.Depth(), 0);
  EXPECT_TRUE(backend.made.empty());
}

TEST(ContextStack, LevelsBeyondSixteenKeepCountingButRestoreNoContext) {
  FakeBackend backend;
  ContextStack stack(backend);
  for (int i = 0; i < ContextStack::kCapacity + 2; ++i) EXPECT_TRUE(stack.Push(Pair(i)));
  EXPECT_EQ(stack.Depth(), ContextStack::kCapacity + 2);
  struct Step {
    ContextPair expected;
  };
  // Levels 17 and 16 saved nothing; level 15 saved what was current before it, the pair pushed at level 14.
  for (const Step& step : {Step{ContextPair{}}, Step{ContextPair{}}, Step{Pair(14)}}) {
    stack.Pop();
    EXPECT_EQ(backend.current, step.expected) << "depth " << stack.Depth();
  }
}

// A failed make-current used to leave its level on the stack for good, so
// every later pop restored the wrong context.
TEST(ContextStack, FailedPushIsPoppedLikeAnyOther) {
  FakeBackend backend;
  backend.current = Pair(0);
  backend.refused = Pair(3).context;
  ContextStack stack(backend);
  ASSERT_TRUE(stack.Push(Pair(1)));
  EXPECT_FALSE(stack.Push(Pair(3)));
  stack.Pop();
  EXPECT_EQ(backend.current, Pair(1));
  stack.Pop();
  EXPECT_EQ(backend.current, Pair(0));
}

TEST(ContextStack, ForgottenContextIsNotRevived) {
  FakeBackend backend;
  backend.current = Pair(5);
  ContextStack stack(backend);
  stack.Push(Pair(1));
  stack.Push(Pair(2));
  stack.Forget(Pair(5).context);
  stack.Pop();
  EXPECT_EQ(backend.current, Pair(1));
  stack.Pop();
  EXPECT_EQ(backend.current, ContextPair{});
}

}  // namespace
}  // namespace quarn::fw
