#include "glfont.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace quarn::fw {
namespace {

// FreeType's library lives for the process: faces are opened per build.
FT_Library Library() {
  static FT_Library library = [] {
    FT_Library created = nullptr;
    return FT_Init_FreeType(&created) == 0 ? created : nullptr;
  }();
  return library;
}

struct FaceCloser {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceCloser>;

struct FontFile {
  std::string path;
  int index = 0;
};

// The file fontconfig picks for a family name; it substitutes a near match
// for names it does not know, as a font mapper does.
bool FindFontFile(const std::string& faceName, FontFile& found) {
  if (!FcInit()) return false;
  const std::string family = faceName.empty() ? "monospace" : faceName;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  if (pattern == nullptr) return false;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  FcChar8* file = nullptr;
  const bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
  if (ok) {
    found.path = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &found.index) != FcResultMatch) found.index = 0;
  }
  FcPatternDestroy(match);
  return ok;
}

FacePtr OpenFace(int height, const std::string& faceName) {
  FontFile file;
  if (Library() == nullptr || !FindFontFile(faceName, file)) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(Library(), file.path.c_str(), file.index, &face) != 0) return nullptr;
  FacePtr owned(face);
  // The height names the whole cell, ascender to descender, in pixels.
  FT_Size_RequestRec request{};
  request.type = FT_SIZE_REQUEST_TYPE_CELL;
  request.height = static_cast<FT_Long>(height > 0 ? height : kSystemFontHeight) * 64;
  if (FT_Request_Size(face, &request) != 0) return nullptr;
  return owned;
}

// Compiles one glyph; a glyph that cannot be rendered draws nothing and
// does not move the raster position.
void CompileGlyph(FT_Face face, GLuint list, unsigned long code) {
  // glBitmap in a list needs a readable image even for blank glyphs.
  static const GLubyte kBlank = 0;
  glNewList(list, GL_COMPILE);
  if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0 &&
      face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    const std::vector<std::uint8_t> image = RepackGlyphRows(bitmap.buffer, width, rows, bitmap.pitch);
    glBitmap(width, rows, static_cast<GLfloat>(-glyph->bitmap_left),
             static_cast<GLfloat>(rows - glyph->bitmap_top),
             static_cast<GLfloat>(glyph->advance.x) / 64.0f, 0.0f,
             image.empty() ? &kBlank : image.data());
  }
  glEndList();
}

}  // namespace

std::vector<std::uint8_t> RepackGlyphRows(const std::uint8_t* buffer, int width, int rows,
                                          int pitch) {
  const int rowBytes = (width + 7) / 8;
  if (buffer == nullptr || width <= 0 || rows <= 0 || std::abs(pitch) < rowBytes) return {};
  std::vector<std::uint8_t> packed(static_cast<std::size_t>(rowBytes) * rows);
  for (int row = 0; row < rows; ++row) {  // row 0 is the top row of the glyph
    const int stored = pitch > 0 ? row : rows - 1 - row;
    const std::uint8_t* source = buffer + static_cast<std::ptrdiff_t>(stored) * std::abs(pitch);
    std::uint8_t* target = packed.data() + static_cast<std::size_t>(rows - 1 - row) * rowBytes;
    std::copy(source, source + rowBytes, target);
  }
  return packed;
}

bool CanOpenFont(int height, const std::string& faceName) {
  return OpenFace(height, faceName) != nullptr;
}

bool BuildFontLists(GLuint base, int height, const std::string& faceName) {
  const FacePtr face = OpenFace(height, faceName);
  if (face == nullptr) return false;
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
  glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
  for (int code = 0; code < kFontListCount; ++code) {
    CompileGlyph(face.get(), base + code, static_cast<unsigned long>(code));
  }
  glPopClientAttrib();
  return true;
}

}  // namespace quarn::fw
