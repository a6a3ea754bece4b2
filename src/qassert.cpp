#include "qassert.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quarn {
namespace {

std::atomic<AssertHandler> currentHandler{&DefaultAssertHandler};

std::string UnitOf(const char* file) {
  const char* slash = std::strrchr(file, '/');
  std::string unit = slash ? slash + 1 : file;
  const std::string::size_type dot = unit.find('.');
  if (dot != std::string::npos) unit.erase(dot);
  return unit;
}

}  // namespace

AssertHandler SetAssertHandler(AssertHandler handler) {
  return currentHandler.exchange(handler ? handler : &DefaultAssertHandler);
}

void DefaultAssertHandler(const char* unit, int line) {
  std::fprintf(stderr, "Assertion failed: %s line %d\n", unit, line);
  std::fflush(stderr);
}

void ReportAssertion(const char* file, int line) {
  currentHandler.load()(UnitOf(file).c_str(), line);
}

void ReportFatalAssertion(const char* file, int line) {
  ReportAssertion(file, line);
  std::abort();
}

}  // namespace quarn
