#pragma once

#include <optional>

#include "fuzz/fuzz_support.h"
#include "render/imagereader.h"

namespace quarn::fuzz {

// What every image a reader returns promises: a size within the limit and
// counts that match the pixels it holds.
inline void ExpectConsistentImage(const std::optional<Image>& image) {
  if (!image) return;
  Expect(image->width > 0 && image->width <= kMaxImageSide, "width within the limit");
  Expect(image->height > 0 && image->height <= kMaxImageSide, "height within the limit");
  Expect(image->pixelCount == image->width * image->height, "pixel count is width * height");
  const bool knownFormat = (image->format == GL_LUMINANCE && image->components == 1) ||
                           (image->format == GL_RGB && image->components == 3) ||
                           (image->format == GL_RGBA && image->components == 4);
  Expect(knownFormat, "format matches the component count");
  Expect(image->byteCount == image->pixelCount * image->components, "byte count");
  Expect(image->pixels.size() == static_cast<std::size_t>(image->byteCount), "pixels hold byteCount");
}

}  // namespace quarn::fuzz
