#pragma once

// Builders of small image files for reader tests, written independently of
// the texture tool's writer so that the two cannot share a mistake.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace quarn::test {

using Bytes = std::vector<std::uint8_t>;

inline void PutLE(Bytes& out, std::size_t at, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

struct BmpHeader {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitsPerPixel = 24;
  std::uint32_t infoSize = 40;
  std::uint32_t compression = 0;
};

// A BMP: the headers, a 1024-byte colour table for 8 bits, then the given
// pixel rows (blue first, unpadded, bottom row first), each padded with
// zeros to a multiple of 4 bytes as the format stores them. Fewer bytes
// than one row the header claims are stored as they are (a short file).
inline Bytes MakeBmp(const BmpHeader& h, const Bytes& rows) {
  const std::size_t table = h.bitsPerPixel == 8 ? 1024 : 0;
  const std::int64_t claimedRow = std::int64_t{std::max(h.width, 1)} * h.bitsPerPixel / 8;
  const auto row = static_cast<std::size_t>(std::min<std::int64_t>(
      claimedRow, static_cast<std::int64_t>(rows.size())));
  const std::size_t stride = row == 0 ? 0 : (row + 3) / 4 * 4;
  const std::size_t count = row == 0 ? 0 : (rows.size() + row - 1) / row;
  // Sized once and filled in place: GCC 12 at -O3 misreads a growing insert
  // after the headers as a copy out of bounds (-Warray-bounds).
  Bytes out(54 + table + count * stride);
  out[0] = 'B';
  out[1] = 'M';
  PutLE(out, 2, out.size(), 4);
  PutLE(out, 10, 54 + table, 4);
  PutLE(out, 14, h.infoSize, 4);
  PutLE(out, 18, static_cast<std::uint32_t>(h.width), 4);
  PutLE(out, 22, static_cast<std::uint32_t>(h.height), 4);
  PutLE(out, 26, 1, 2);
  PutLE(out, 28, h.bitsPerPixel, 2);
  PutLE(out, 30, h.compression, 4);
  for (std::size_t y = 0; y < count; ++y) {
    const std::size_t length = std::min(row, rows.size() - y * row);
    std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(y * row), length,
                out.begin() + static_cast<std::ptrdiff_t>(54 + table + y * stride));
  }
  return out;
}

// A 24-bit BMP of one colour, (r, g, b).
inline Bytes MakeUniformBmp(std::int32_t width, std::int32_t height, std::uint8_t r,
                            std::uint8_t g, std::uint8_t b) {
  Bytes stored;
  for (std::int32_t i = 0; i < width * height; ++i) stored.insert(stored.end(), {b, g, r});
  return MakeBmp({width, height, 24}, stored);
}

struct TgaHeader {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t bitsPerPixel = 24;
  std::uint8_t imageType = 2;
  std::uint8_t idLength = 0;
  std::uint8_t descriptor = 0;     // 0x20: top row first
  std::uint16_t mapLength = 0;     // colour-map entries; a map is present when above 0
  std::uint8_t mapEntryBits = 24;
};

// A TGA: 18-byte header, an identification field of idLength bytes, a colour
// map of mapLength entries, pixels.
inline Bytes MakeTga(const TgaHeader& h, const Bytes& stored) {
  const std::size_t map = static_cast<std::size_t>(h.mapLength) * ((h.mapEntryBits + 7u) / 8u);
  Bytes out(18 + h.idLength + map + stored.size(), 0);  // sized once, as in MakeBmp
  out[0] = h.idLength;
  out[1] = h.mapLength > 0 ? 1 : 0;
  out[2] = h.imageType;
  PutLE(out, 5, h.mapLength, 2);
  out[7] = h.mapLength > 0 ? h.mapEntryBits : 0;
  PutLE(out, 12, h.width, 2);
  PutLE(out, 14, h.height, 2);
  out[16] = h.bitsPerPixel;
  out[17] = h.descriptor;
  std::fill_n(out.begin() + 18, h.idLength + map, 0x5A);
  std::copy(stored.begin(), stored.end(), out.begin() + static_cast<std::ptrdiff_t>(18 + h.idLength + map));
  return out;
}

// A folder of its own under the system's temporary folder, removed with the
// object.
class TempDir {
 public:
  explicit TempDir(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              (name + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  std::string Write(const std::string& file, const Bytes& bytes) const {
    const std::filesystem::path where = path_ / file;
    std::ofstream(where, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return where.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace quarn::test
