#include "render/ctexturemanager.h"

#include <cctype>
#include <iostream>
#include <string_view>

#include <GL/glu.h>

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// The readers give tightly packed rows; GL's default of 4-byte row alignment
// would read past the end of rows whose length is not a multiple of 4.
class TightPixelRows {
 public:
  TightPixelRows() {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
  }
  ~TightPixelRows() { glPopClientAttrib(); }
  TightPixelRows(const TightPixelRows&) = delete;
  TightPixelRows& operator=(const TightPixelRows&) = delete;
};

}  // namespace

CTextureManager& TextureManager() {
  static CTextureManager manager;
  return manager;
}

bool CTextureManager::IsRegistered(const char* fileName) const {
  for (const Entry& entry : entries_) {
    if (EqualIgnoringCase(entry.fileName, fileName)) return true;
  }
  return false;
}

std::optional<GLuint> CTextureManager::LoadTexture(const char* fileName) {
  if (fileName == nullptr) {
    std::cout << "No texture Filename" << '\n';
    return 0;
  }
  if (IsRegistered(fileName)) std::cerr << "This texture is already loaded" << '\n';
  Image image;
  if (!LoadImage(fileName, image)) return std::nullopt;
  const GLuint texture = CreateTexture(image.pixels.data(), image.width, image.height,
                                       image.format, GL_MODULATE, GL_REPEAT, GL_LINEAR, 0);
  entries_.push_back({texture, fileName});
  return texture;
}

bool LoadImage(const char* fileName, Image& image) {
  if (fileName == nullptr) return false;
  const std::string_view name(fileName);
  if (name.size() < 3) return false;
  const std::string_view extension = name.substr(name.size() - 3);
  std::optional<Image> read;
  if (EqualIgnoringCase(extension, "BMP") || EqualIgnoringCase(extension, "TGA")) {
    const auto bytes = quarn::ReadFileBytes(fileName);
    if (!bytes) return false;
    read = EqualIgnoringCase(extension, "BMP") ? quarn::ReadBmp(*bytes) : quarn::ReadTga(*bytes);
  }
  if (!read) return false;
  RescaleToPowerOfTwo(*read);
  image = std::move(*read);
  return true;
}

void RescaleToPowerOfTwo(Image& image) {
  const std::int32_t width = quarn::FloorPowerOfTwo(image.width);
  const std::int32_t height = quarn::FloorPowerOfTwo(image.height);
  if (width == image.width && height == image.height) return;
  std::vector<std::uint8_t> scaled(static_cast<std::size_t>(width) * height * 4);
  {
    TightPixelRows tight;
    gluScaleImage(image.format, image.width, image.height, GL_UNSIGNED_BYTE, image.pixels.data(),
                  width, height, GL_UNSIGNED_BYTE, scaled.data());
  }
  image.width = width;
  image.height = height;
  image.pixelCount = width * height;
  image.byteCount = image.pixelCount * image.components;
  scaled.resize(static_cast<std::size_t>(image.byteCount));
  image.pixels = std::move(scaled);
}

GLuint CreateTexture(const void* pixels, GLsizei width, GLsizei height, GLenum format,
                     GLint environmentMode, GLint wrapMode, GLint filter, GLint level) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  if (texture == 0) {
    glDisable(GL_TEXTURE_2D);
    return quarn::kNoTextureName;
  }
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, environmentMode);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapMode);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapMode);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  TightPixelRows tight;
  if (pixels != nullptr) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(format), width, height, format,
                      GL_UNSIGNED_BYTE, pixels);
  } else {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, level, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, nullptr);
  }
  return texture;
}
