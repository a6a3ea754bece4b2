#pragma once

// Writing pictures as uncompressed 24-bit BMP files.

#include <cstdint>
#include <vector>

#include "pictures/picture.h"

namespace quarn::tools {

using pictures::Picture;

// The file image of a 24-bit BMP with a 40-byte information header, rows
// bottom-up, blue first, each row padded to a multiple of 4 bytes.
std::vector<std::uint8_t> EncodeBmp24(const Picture& picture);

}  // namespace quarn::tools
