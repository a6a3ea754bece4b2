// The BMP reader on arbitrary bytes: no fault, and any image it returns is
// consistent.

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/image_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quarn::fuzz::AbortOnAssertions();
  quarn::fuzz::ExpectConsistentImage(quarn::ReadBmp(std::span(data, size)));
  return 0;
}
