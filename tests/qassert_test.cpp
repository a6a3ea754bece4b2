#include "qassert.h"

#include <gtest/gtest.h>

#include "support/assert_recorder.h"

namespace {

int Checked(int value) {
  if (!QUARN_ASSERT(value > 0)) return -1;
  return value;
}

TEST(Assertions, PassingConditionReportsNothing) {
  quarn::test::CountingAssertions counting;
  EXPECT_EQ(Checked(5), 5);
  EXPECT_EQ(counting.Count(), 0);
}

TEST(Assertions, FailureNamesUnitWithoutFolderOrExtension) {
  EXPECT_QUARN_ASSERTION(Checked(0), "qassert_test");
}

TEST(Assertions, CountingHandlerLetsCallerUseFallback) {
  quarn::test::CountingAssertions counting;
  EXPECT_EQ(Checked(0), -1);
  EXPECT_EQ(counting.Count(), 1);
  EXPECT_EQ(counting.LastUnit(), "qassert_test");
}

TEST(Assertions, DefaultHandlerWritesUnitAndLineToStandardError) {
  testing::internal::CaptureStderr();
  quarn::DefaultAssertHandler("tlist", 262);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Assertion failed: tlist line 262\n");
}

TEST(AssertionsDeathTest, FatalAssertionEndsTheProcess) {
  EXPECT_DEATH(QUARN_ASSERT_FATAL(1 + 1 == 3), "Assertion failed: qassert_test line");
}

}  // namespace
