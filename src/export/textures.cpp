#include "export/textures.h"

#include <stb_image_write.h>

#include <cstdint>
#include <new>
#include <vector>

#include "pictures/texturepictures.h"

namespace quarn {
namespace {

// The side the view's ground and wall texture files have.
constexpr int kTextureSide = 256;

extern "C" void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::string*>(context);
  out->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

// Pictures store rows bottom first, image files top first.
std::string EncodePng(const pictures::Picture& picture) {
  const std::size_t row = static_cast<std::size_t>(picture.width) * 3;
  std::vector<std::uint8_t> topFirst(picture.rgb.size());
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* from = picture.At(0, picture.height - 1 - y);
    std::copy(from, from + row, topFirst.begin() + static_cast<std::ptrdiff_t>(row * y));
  }
  std::string png;
  // The encoder fails only when it cannot allocate its buffers.
  if (stbi_write_png_to_func(&AppendBytes, &png, picture.width, picture.height, 3,
                             topFirst.data(), static_cast<int>(row)) == 0)
    throw std::bad_alloc();
  return png;
}

}  // namespace

const std::string& TexturePng(SceneTexture texture) {
  static const std::string brick = EncodePng(pictures::MakeBrickWall(kTextureSide));
  static const std::string floor = EncodePng(pictures::MakeFloorTiles(kTextureSide));
  return texture == SceneTexture::kBrick ? brick : floor;
}

const char* TextureName(SceneTexture texture) {
  return texture == SceneTexture::kBrick ? "brick" : "floor";
}

std::string TextureFileName(const std::string& stem, SceneTexture texture) {
  return stem + "-" + TextureName(texture) + ".png";
}

}  // namespace quarn
