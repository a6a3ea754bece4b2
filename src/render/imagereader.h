#pragma once

// Readers of the two image file formats textures come from. They read
// untrusted bytes: every size is checked against the data before it is used,
// and any file that is short, malformed, absurdly large or of a variant they
// do not support yields no image rather than a partial one.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <vector>

#include <GL/gl.h>

// A decoded image: rows bottom-up, tightly packed (no row padding).
struct Image {
  std::int32_t width = 0;
  std::int32_t height = 0;
  GLenum format = 0;              // internal and pixel format: GL_LUMINANCE, GL_RGB or GL_RGBA
  std::int32_t pixelCount = 0;    // width * height
  std::int32_t components = 0;    // 1, 3 or 4
  std::int32_t byteCount = 0;     // pixelCount * components
  std::vector<std::uint8_t> pixels;

  bool operator==(const Image&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Image& image);

namespace quarn {

// Largest side either reader accepts; keeps a hostile header from asking for
// gigabytes.
inline constexpr std::int32_t kMaxImageSide = 16384;

// Uncompressed BMP with the 40-byte information header and 8 (as luminance),
// 24 (BGR -> RGB) or 32 (BGRA -> RGBA) bits per pixel. The pixels are taken
// from the header's pixel-data offset, which must lie after the headers; each
// stored row is padded to a multiple of 4 bytes. A negative height marks a
// top-down file, whose rows are turned bottom-up.
std::optional<Image> ReadBmp(std::span<const std::uint8_t> bytes);

// Uncompressed true-colour (type 2) or grey (type 3) TGA with 24 or 32 bits
// per pixel, reordered as for BMP. The identification field and a colour map
// are skipped; a top-left origin is turned bottom-up. Right-to-left or
// interleaved rows are refused.
std::optional<Image> ReadTga(std::span<const std::uint8_t> bytes);

// The whole file, or nothing when it cannot be opened or is larger than any
// image a reader accepts.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const char* fileName);

// Largest power of two not above value; 0 stays 0.
std::int32_t FloorPowerOfTwo(std::int32_t value);

}  // namespace quarn
