#pragma once

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "qassert.h"

namespace quarn::test {

// What a failed assertion reported.
struct AssertionFailure {
  std::string unit;
  int line = 0;
};

inline std::ostream& operator<<(std::ostream& os, const AssertionFailure& f) {
  return os << f.unit << " line " << f.line;
}

// While alive, every failed assertion throws an AssertionFailure, so a test
// can observe it and control leaves the failing operation at once.
class ThrowingAssertions {
 public:
  ThrowingAssertions();
  ~ThrowingAssertions();
  ThrowingAssertions(const ThrowingAssertions&) = delete;
  ThrowingAssertions& operator=(const ThrowingAssertions&) = delete;

 private:
  AssertHandler previous_;
};

// While alive, failed assertions are counted and execution continues, as in
// the application: for checking the fallback values.
class CountingAssertions {
 public:
  CountingAssertions();
  ~CountingAssertions();
  CountingAssertions(const CountingAssertions&) = delete;
  CountingAssertions& operator=(const CountingAssertions&) = delete;

  int Count() const;
  const std::string& LastUnit() const;

 private:
  AssertHandler previous_;
};

}  // namespace quarn::test

// Expects statement to fail an assertion reported from unit.
#define EXPECT_QUARN_ASSERTION(statement, expected_unit)                        \
  do {                                                                          \
    ::quarn::test::ThrowingAssertions quarn_throwing_assertions_;               \
    try {                                                                       \
      statement;                                                                \
      ADD_FAILURE() << "expected an assertion in " << (expected_unit);          \
    } catch (const ::quarn::test::AssertionFailure& quarn_failure_) {           \
      EXPECT_EQ(quarn_failure_.unit, (expected_unit)) << quarn_failure_;        \
    }                                                                           \
  } while (false)
