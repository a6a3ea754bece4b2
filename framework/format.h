#pragma once

// Formatted text of the framework: the trace (written only while the trace
// level is above 0) and the 1024-byte formatting rule shared by message
// boxes and window text.

#include <cstdarg>
#include <cstddef>
#include <optional>
#include <string>

// Stores the trace level; a negative level is stored as 0 (silent).
void SetTraceLevel(int level);
int GetTraceLevel();

namespace quarn::fw {

// Size of the formatting buffer of message boxes and window text.
inline constexpr std::size_t kFormatBufferSize = 1024;

// Writes to standard output when the trace level is above 0.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formats into a kFormatBufferSize buffer: nothing when formatting fails or
// the text is longer than the buffer; a text exactly as long as the buffer
// loses its last character (the terminator needs the room).
std::optional<std::string> FormatLimited(const char* format, va_list args)
    __attribute__((format(printf, 1, 0)));

}  // namespace quarn::fw
