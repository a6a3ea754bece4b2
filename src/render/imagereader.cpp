#include "render/imagereader.h"

#include <algorithm>
#include <fstream>

std::ostream& operator<<(std::ostream& os, const Image& image) {
  return os << "Image(" << image.width << "x" << image.height << ", format 0x" << std::hex
            << image.format << std::dec << ", " << image.components << " components, "
            << image.pixels.size() << " bytes)";
}

namespace quarn {
namespace {

constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kBmpInfoHeaderSize = 40;
constexpr std::size_t kBmpColourTableSize = 1024;
constexpr std::size_t kTgaHeaderSize = 18;
// Bits of the TGA image descriptor (byte 17).
constexpr std::uint8_t kTgaRightToLeft = 0x10;
constexpr std::uint8_t kTgaTopOrigin = 0x20;
constexpr std::uint8_t kTgaInterleaving = 0xC0;
constexpr std::size_t kMaxFileSize =
    static_cast<std::size_t>(kMaxImageSide) * kMaxImageSide * 4 + kBmpFileHeaderSize +
    kBmpInfoHeaderSize + kBmpColourTableSize;

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::int32_t I32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int32_t>(U32(b, at));
}

// Components and GL format for a bit depth, or 0 components when unsupported.
struct PixelLayout {
  std::int32_t components = 0;
  GLenum format = 0;
};

PixelLayout LayoutOfBits(unsigned bitsPerPixel) {
  switch (bitsPerPixel) {
    case 8: return {1, GL_LUMINANCE};
    case 24: return {3, GL_RGB};
    case 32: return {4, GL_RGBA};
    default: return {};
  }
}

bool IsAcceptedSide(std::int64_t side) { return side > 0 && side <= kMaxImageSide; }

// Copies height rows of width pixels, the first at offset and each stride
// bytes after the one before, into a new image, or nothing when the data is
// too short. Blue and red trade places in 3- and 4-component pixels.
std::optional<Image> TakePixels(std::span<const std::uint8_t> bytes, std::size_t offset,
                                std::size_t stride, std::int32_t width, std::int32_t height,
                                PixelLayout layout) {
  Image image;
  image.width = width;
  image.height = height;
  image.format = layout.format;
  image.components = layout.components;
  image.pixelCount = width * height;
  const std::size_t row = static_cast<std::size_t>(width) * layout.components;
  const std::size_t rows = static_cast<std::size_t>(height);
  if (bytes.size() < offset || (bytes.size() - offset) / stride < rows) return std::nullopt;
  image.byteCount = static_cast<std::int32_t>(row * rows);
  image.pixels.reserve(row * rows);
  for (std::size_t y = 0; y < rows; ++y) {
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(offset + y * stride);
    image.pixels.insert(image.pixels.end(), first, first + static_cast<std::ptrdiff_t>(row));
  }
  if (layout.components >= 3) {
    for (std::size_t i = 0; i < image.pixels.size(); i += static_cast<std::size_t>(layout.components))
      std::swap(image.pixels[i], image.pixels[i + 2]);
  }
  return image;
}

void FlipRows(Image& image) {
  const std::size_t row = static_cast<std::size_t>(image.width) * image.components;
  auto top = image.pixels.begin();
  auto bottom = image.pixels.end() - static_cast<std::ptrdiff_t>(row);
  for (; top < bottom; top += static_cast<std::ptrdiff_t>(row),
                       bottom -= static_cast<std::ptrdiff_t>(row))
    std::swap_ranges(top, top + static_cast<std::ptrdiff_t>(row), bottom);
}

}  // namespace

std::optional<Image> ReadBmp(std::span<const std::uint8_t> bytes) {
  const std::size_t headersSize = kBmpFileHeaderSize + kBmpInfoHeaderSize;
  if (bytes.size() < kBmpFileHeaderSize + 4) return std::nullopt;
  if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  // Only the 40-byte information header carries what is needed; the older
  // 12-byte core header and the later, longer ones are not read.
  if (U32(bytes, kBmpFileHeaderSize) != kBmpInfoHeaderSize) return std::nullopt;
  if (bytes.size() < headersSize) return std::nullopt;

  const std::uint32_t pixelsAt = U32(bytes, 10);
  const std::int32_t width = I32(bytes, 18);
  const std::int64_t storedHeight = I32(bytes, 22);
  const unsigned bitsPerPixel = U16(bytes, 28);
  const std::uint32_t compression = U32(bytes, 30);
  if (compression != 0) return std::nullopt;
  // The pixels may sit further on (after a colour table or a gap), never
  // inside the headers.
  if (pixelsAt < headersSize) return std::nullopt;
  const bool topDown = storedHeight < 0;
  const std::int64_t height = topDown ? -storedHeight : storedHeight;
  if (!IsAcceptedSide(width) || !IsAcceptedSide(height)) return std::nullopt;
  const PixelLayout layout = LayoutOfBits(bitsPerPixel);
  if (layout.components == 0) return std::nullopt;

  // Every row is padded to a whole number of 4-byte words.
  const std::size_t stride = (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
  std::optional<Image> image =
      TakePixels(bytes, pixelsAt, stride, width, static_cast<std::int32_t>(height), layout);
  if (image && topDown) FlipRows(*image);
  return image;
}

std::optional<Image> ReadTga(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kTgaHeaderSize) return std::nullopt;
  const std::uint8_t colourMapType = bytes[1];
  const std::uint8_t imageType = bytes[2];
  if (imageType != 2 && imageType != 3) return std::nullopt;
  if (colourMapType > 1) return std::nullopt;
  const std::int32_t width = U16(bytes, 12);
  const std::int32_t height = U16(bytes, 14);
  const unsigned bitsPerPixel = bytes[16];
  const std::uint8_t descriptor = bytes[17];
  if (!IsAcceptedSide(width) || !IsAcceptedSide(height)) return std::nullopt;
  if (bitsPerPixel != 24 && bitsPerPixel != 32) return std::nullopt;
  // Right-to-left rows and interleaved rows are not read.
  if ((descriptor & kTgaRightToLeft) != 0 || (descriptor & kTgaInterleaving) != 0)
    return std::nullopt;
  // The identification field and a colour map (of no use to a true-colour
  // image) sit between header and pixels.
  const std::size_t mapSize =
      colourMapType == 1 ? static_cast<std::size_t>(U16(bytes, 5)) * ((bytes[7] + 7u) / 8u) : 0;
  const std::size_t offset = kTgaHeaderSize + bytes[0] + mapSize;
  const PixelLayout layout = LayoutOfBits(bitsPerPixel);
  std::optional<Image> image = TakePixels(bytes, offset, static_cast<std::size_t>(width) * layout.components,
                                          width, height, layout);
  if (image && (descriptor & kTgaTopOrigin) != 0) FlipRows(*image);
  return image;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const char* fileName) {
  std::ifstream file(fileName, std::ios::binary | std::ios::ate);
  if (!file) return std::nullopt;
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > kMaxFileSize) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  file.seekg(0);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
  return bytes;
}

std::int32_t FloorPowerOfTwo(std::int32_t value) {
  if (value <= 0) return 0;
  std::int32_t power = 1;
  while (power <= value / 2) power *= 2;
  return power;
}

}  // namespace quarn
