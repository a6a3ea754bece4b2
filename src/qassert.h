#pragma once

// The one assertion mechanism of QUARN. A failed assertion reports the
// source unit (file name without folder and extension) and the line to a
// replaceable handler; the default handler writes
// "Assertion failed: <unit> line <n>" to standard error and returns, so code
// that has a fallback value continues with it.

namespace quarn {

using AssertHandler = void (*)(const char* unit, int line);

// Installs handler (null restores the default) and returns the previous one.
AssertHandler SetAssertHandler(AssertHandler handler);

// The default handler: one line on standard error.
void DefaultAssertHandler(const char* unit, int line);

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
