#include "callguard.h"

namespace quarn::capi {

InternalCheckFailed::InternalCheckFailed(const char* unit, int line)
    : message_(std::string("internal check failed: ") + unit + " line " + std::to_string(line)) {}

void CallAssertions::Report(const char* unit, int line, bool /*fatal*/) {
  throw InternalCheckFailed(unit, line);
}

}  // namespace quarn::capi
