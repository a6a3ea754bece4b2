#pragma once

// The process-wide texture registry, the image loading behind it and the
// texture creation it uses. Everything here needs a current GL context
// except the readers it calls.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <GL/gl.h>

#include "render/imagereader.h"

namespace quarn {

// The texture name CreateTexture gives when GL hands out none; binding it
// has no visible effect.
inline constexpr GLuint kNoTextureName = 0xFFFFFFFF;

}  // namespace quarn

// Registry of loaded textures: GL texture name and file name, in load order.
// Textures live until process exit.
class CTextureManager {
 public:
  // Loads the image file, uploads it with mipmaps (modulate, repeat, linear)
  // and returns its texture name. A null name writes "No texture Filename"
  // and returns 0. A file that cannot be read gives none, registers nothing
  // and is left to the caller to report. Loading a name again (in any
  // letter case) is reported and makes a second texture.
  std::optional<GLuint> LoadTexture(const char* fileName);

  std::size_t GetCount() const { return entries_.size(); }

 private:
  bool IsRegistered(const char* fileName) const;

  struct Entry {
    GLuint texture;
    std::string fileName;
  };
  std::vector<Entry> entries_;
};

// The one registry of the process.
CTextureManager& TextureManager();

// Reads a BMP or TGA file, chosen by the last three letters of the name in
// any case, and scales the image down to power-of-two sides when needed.
// Returns false, leaving image untouched, when there is no name or the file
// cannot be read.
bool LoadImage(const char* fileName, Image& image);

// Scales image down to the largest power-of-two sides not above its own;
// leaves it alone when both sides are powers of two already.
void RescaleToPowerOfTwo(Image& image);

// Generates, binds and sets up a 2D texture (2D texturing stays enabled).
// With pixels: all mipmap levels built from them, minification
// linear-mipmap-linear. Without: an empty image at level, minification
// filter. Returns kNoTextureName (texturing disabled) when GL gives no name.
GLuint CreateTexture(const void* pixels, GLsizei width, GLsizei height, GLenum format,
                     GLint environmentMode, GLint wrapMode, GLint filter, GLint level);
