#include "callguard.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>

#include "support/assert_recorder.h"
#include "tlist.h"

namespace {

using quarn::capi::RunGuarded;

// Every way out of a call other than a status becomes one, with a message
// saying what failed; the process and its own handler see nothing.
TEST(CallGuard, TurnsEveryFailureIntoAStatusAndAMessage) {
  struct Case {
    const char* name;
    std::function<quarn_status()> body;
    quarn_status status;
    std::string message;
  };
  const TList<int> empty;
  const Case cases[] = {
      {"success", [] { return QUARN_OK; }, QUARN_OK, ""},
      {"failed check",
       [] { return QUARN_ASSERT(1 + 1 == 3) ? QUARN_OK : QUARN_ERROR_RANGE; },
       QUARN_ERROR_INTERNAL, "internal check failed: callguard_test line"},
      {"index out of range",
       [&] { return empty[3] == 0 ? QUARN_OK : QUARN_ERROR_RANGE; }, QUARN_ERROR_INTERNAL,
       "internal check failed: tlist line"},
      {"exception", []() -> quarn_status { throw std::runtime_error("no such thing"); },
       QUARN_ERROR_INTERNAL, "internal failure: no such thing"},
      {"out of memory", []() -> quarn_status { throw std::bad_alloc(); }, QUARN_ERROR_MEMORY,
       "out of memory"},
      {"anything thrown", []() -> quarn_status { throw 7; }, QUARN_ERROR_INTERNAL,
       "internal failure of an unknown kind"},
  };
  quarn::test::CountingAssertions process;
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(RunGuarded(c.body, error), c.status) << c.name;
    EXPECT_EQ(error.substr(0, c.message.size()), c.message) << c.name;
  }
  EXPECT_EQ(process.Count(), 0);
  // Once the call is over, the process's handler has the thread's failures again.
  QUARN_ASSERT(false);
  EXPECT_EQ(process.Count(), 1);
}

// A guarded call takes only its own thread's failures: another thread's
// still reach the process's handler meanwhile.
TEST(CallGuard, TakesOnlyItsOwnThreadsFailures) {
  quarn::test::CountingAssertions process;
  std::string error;
  const quarn_status status = RunGuarded(
      [] {
        std::thread other([] { QUARN_ASSERT(false); });
        other.join();
        return QUARN_OK;
      },
      error);
  EXPECT_EQ(status, QUARN_OK);
  EXPECT_EQ(process.Count(), 1);
}

}  // namespace
