#include "fassert.h"

#include <cstdio>
#include <string>

namespace quarn::fw {
namespace {

AssertHandler g_handler = &DefaultAssertHandler;

std::string UnitOf(const char* file) {
  std::string unit(file);
  if (const auto slash = unit.find_last_of("/\\"); slash != std::string::npos) {
    unit.erase(0, slash + 1);
  }
  if (const auto dot = unit.find('.'); dot != std::string::npos) unit.erase(dot);
  return unit;
}

}  // namespace

AssertHandler SetAssertHandler(AssertHandler handler) {
  AssertHandler previous = g_handler;
  g_handler = handler ? handler : &DefaultAssertHandler;
  return previous;
}

void DefaultAssertHandler(const char* expression, const char* unit, int line) {
  std::fprintf(stderr, "Assertion failed: %s, unit %s, line %d\n", expression, unit, line);
}

void ReportAssertion(const char* expression, const char* file, int line) {
  g_handler(expression, UnitOf(file).c_str(), line);
}

}  // namespace quarn::fw
