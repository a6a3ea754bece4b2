#include "format.h"

#include <cstdio>

namespace {
int g_traceLevel = 0;
}  // namespace

void SetTraceLevel(int level) { g_traceLevel = level < 0 ? 0 : level; }

int GetTraceLevel() { return g_traceLevel; }

namespace quarn::fw {

void Trace(const char* format, ...) {
  if (g_traceLevel <= 0) return;
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
}

std::optional<std::string> FormatLimited(const char* format, va_list args) {
  char buffer[kFormatBufferSize];
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  if (length < 0 || static_cast<std::size_t>(length) > kFormatBufferSize) return std::nullopt;
  // vsnprintf has already cut a text of exactly kFormatBufferSize characters
  // to make room for the terminator.
  return std::string(buffer);
}

}  // namespace quarn::fw
