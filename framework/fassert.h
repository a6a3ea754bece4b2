#pragma once

// Assertions of the window framework. Unlike the core's, they carry the
// expression text ("self!=NULL"), since a framework failure is easier to read
// by its condition than by its line. A failed assertion calls a replaceable
// handler; the default writes one line to standard error and returns, so the
// caller continues with its fallback.

namespace quarn::fw {

using AssertHandler = void (*)(const char* expression, const char* unit, int line);

// Installs handler (null restores the default) and returns the previous one.
AssertHandler SetAssertHandler(AssertHandler handler);

// Writes "Assertion failed: <expression>, unit <unit>, line <n>" to stderr.
void DefaultAssertHandler(const char* expression, const char* unit, int line);

// Strips folder and extension from file and calls the current handler.
void ReportAssertion(const char* expression, const char* file, int line);

}  // namespace quarn::fw

// True when cond holds; otherwise reports the expression text and is false.
#define QUARN_FW_ASSERT(cond, text) \
  ((cond) ? true : (::quarn::fw::ReportAssertion(text, __FILE__, __LINE__), false))
