#include "qassert.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quarn {
namespace {

std::atomic<AssertHandler> processHandler{&DefaultAssertHandler};
// The innermost live ThreadAssertHandler of this thread, if any.
thread_local ThreadAssertHandler* threadHandler = nullptr;

std::string UnitOf(const char* file) {
  const char* slash = std::strrchr(file, '/');
  std::string unit = slash ? slash + 1 : file;
  const std::string::size_type dot = unit.find('.');
  if (dot != std::string::npos) unit.erase(dot);
  return unit;
}

void Report(const char* file, int line, bool fatal) {
  const std::string unit = UnitOf(file);
  if (threadHandler != nullptr) {
    threadHandler->Report(unit.c_str(), line, fatal);
  } else {
    processHandler.load()(unit.c_str(), line);
  }
}

}  // namespace

AssertHandler SetAssertHandler(AssertHandler handler) {
  return processHandler.exchange(handler ? handler : &DefaultAssertHandler);
}

void DefaultAssertHandler(const char* unit, int line) {
  std::fprintf(stderr, "Assertion failed: %s line %d\n", unit, line);
  std::fflush(stderr);
}

ThreadAssertHandler::ThreadAssertHandler() : previous_(threadHandler) { threadHandler = this; }

ThreadAssertHandler::~ThreadAssertHandler() { threadHandler = previous_; }

void ReportAssertion(const char* file, int line) { Report(file, line, false); }

void ReportFatalAssertion(const char* file, int line) {
  Report(file, line, true);
  std::abort();
}

}  // namespace quarn
