#include "support/assert_recorder.h"

namespace quarn::test {
namespace {

int failureCount = 0;
std::string lastUnit;

void Throw(const char* unit, int line) { throw AssertionFailure{unit, line}; }

void CountFailure(const char* unit, int) {
  ++failureCount;
  lastUnit = unit;
}

}  // namespace

ThrowingAssertions::ThrowingAssertions() : previous_(SetAssertHandler(&Throw)) {}
ThrowingAssertions::~ThrowingAssertions() { SetAssertHandler(previous_); }

CountingAssertions::CountingAssertions() : previous_(SetAssertHandler(&CountFailure)) {
  failureCount = 0;
  lastUnit.clear();
}
CountingAssertions::~CountingAssertions() { SetAssertHandler(previous_); }

int CountingAssertions::Count() const { return failureCount; }
const std::string& CountingAssertions::LastUnit() const { return lastUnit; }

}  // namespace quarn::test
