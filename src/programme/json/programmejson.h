#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "programme/programme.h"

namespace quarn {

// A programme read from its JSON text, or the one-line error that refused
// it: "<source>: <key>: <problem>", the key as a path such as
// types.kitchen.counts[0].min (or the byte offset of malformed JSON).
struct ProgrammeReadResult {
  std::optional<Programme> programme;
  std::string error;
};

// Reads a programme (format in the README): an object with "name" (a
// non-empty string) and "types", an object from type keys to their rules.
// Unknown keys and types, values of the wrong kind and out-of-range values
// are refused; the hall is always used and refuses sizes and daylight.
// source names the text in errors (its file name).
ProgrammeReadResult ReadProgrammeJson(std::string_view text, std::string_view source);

// The programme as JSON that ReadProgrammeJson reads back equal: every used
// type in type order with all of its keys.
std::string WriteProgrammeJson(const Programme& programme);

}  // namespace quarn
