#pragma once

// Writing pictures as uncompressed 24-bit BMP files.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace quarn::tools {

// An RGB picture, 3 bytes per pixel red first, rows bottom-up.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  Picture(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3) {}
  std::uint8_t* At(int x, int y) { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
  const std::uint8_t* At(int x, int y) const {
    return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
  }
};

// The file image of a 24-bit BMP with a 40-byte information header, rows
// bottom-up, blue first, each row padded to a multiple of 4 bytes.
std::vector<std::uint8_t> EncodeBmp24(const Picture& picture);

// Writes bytes to a temporary file beside path and renames it over path, so
// a reader never sees a half-written file. Returns false (leaving no
// temporary behind) when any step fails.
bool WriteFileAtomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace quarn::tools
