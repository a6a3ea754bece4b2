#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "qassert.h"

namespace quarn::fuzz {
namespace {

void Abort(const char* unit, int line) {
  std::fprintf(stderr, "Assertion failed: %s line %d\n", unit, line);
  std::abort();
}

}  // namespace

void AbortOnAssertions() {
  static const bool installed = (SetAssertHandler(&Abort), true);
  (void)installed;
}

void Expect(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "Broken: %s\n", what);
  std::abort();
}

}  // namespace quarn::fuzz
