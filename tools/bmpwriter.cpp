#include "bmpwriter.h"

namespace quarn::tools {
namespace {

constexpr std::uint32_t kHeadersSize = 14 + 40;

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const Picture& picture) {
  const std::uint32_t rowSize = (static_cast<std::uint32_t>(picture.width) * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = rowSize * static_cast<std::uint32_t>(picture.height);
  std::vector<std::uint8_t> out;
  out.reserve(kHeadersSize + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put(out, kHeadersSize + pixelBytes, 4);
  Put(out, 0, 4);  // reserved
  Put(out, kHeadersSize, 4);
  Put(out, 40, 4);
  Put(out, static_cast<std::uint32_t>(picture.width), 4);
  Put(out, static_cast<std::uint32_t>(picture.height), 4);
  Put(out, 1, 2);   // planes
  Put(out, 24, 2);  // bits per pixel
  Put(out, 0, 4);   // no compression
  Put(out, pixelBytes, 4);
  Put(out, 2835, 4);  // 72 dots per inch, both ways
  Put(out, 2835, 4);
  Put(out, 0, 4);  // no colour table
  Put(out, 0, 4);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t* p = picture.At(x, y);
      out.insert(out.end(), {p[2], p[1], p[0]});
    }
    out.resize(out.size() + (rowSize - static_cast<std::uint32_t>(picture.width) * 3), 0);
  }
  return out;
}

}  // namespace quarn::tools
