#pragma once

// The one assertion mechanism of QUARN. A failed assertion reports the
// source unit (file name without folder and extension) and the line to a
// handler: the calling thread's own (ThreadAssertHandler) when one is alive,
// else the process's replaceable handler. The default process handler writes
// "Assertion failed: <unit> line <n>" to standard error and returns, so code
// that has a fallback value continues with it.

namespace quarn {

using AssertHandler = void (*)(const char* unit, int line);

// Installs the process's handler (null restores the default) and returns
// the previous one. For the application and tools, which own the process.
AssertHandler SetAssertHandler(AssertHandler handler);

// The default handler: one line on standard error.
void DefaultAssertHandler(const char* unit, int line);

// While alive, takes every failed assertion of the thread that made it,
// ahead of the process's handler; handlers nest, the innermost wins. Code
// that embeds QUARN uses one per call, so neither threads nor callers share
// any handler state. Must be destroyed on the thread that made it, in
// reverse order of making.
class ThreadAssertHandler {
 public:
  ThreadAssertHandler();
  virtual ~ThreadAssertHandler();
  ThreadAssertHandler(const ThreadAssertHandler&) = delete;
  ThreadAssertHandler& operator=(const ThreadAssertHandler&) = delete;

  // A failed assertion: fatal ones have no defined result to return to, so
  // if this returns for one the process ends; throw to leave instead.
  virtual void Report(const char* unit, int line, bool fatal) = 0;

 private:
  ThreadAssertHandler* previous_;
};

// Strips the folder and extension of file and calls the current handler.
void ReportAssertion(const char* file, int line);

// Reports, then ends the process if the handler returned: for preconditions
// after which no defined result exists.
[[noreturn]] void ReportFatalAssertion(const char* file, int line);

}  // namespace quarn

// Evaluates to true when cond holds; otherwise reports and evaluates to
// false, so a caller can continue with its fallback:
//   if (!QUARN_ASSERT(n > 0)) return fallback;
#define QUARN_ASSERT(cond) \
  ((cond) ? true : (::quarn::ReportAssertion(__FILE__, __LINE__), false))

// For preconditions without a fallback: never returns when cond fails.
#define QUARN_ASSERT_FATAL(cond) \
  ((cond) ? (void)0 : ::quarn::ReportFatalAssertion(__FILE__, __LINE__))
