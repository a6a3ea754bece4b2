#pragma once

// Bitmap fonts as OpenGL display lists: one list per character code 0 to
// 254, each drawing its glyph with glBitmap with the origin on the baseline
// and advancing the raster position by the glyph's width. Glyphs come from a
// font that fontconfig finds (a monospace face unless a name is given),
// rendered by FreeType as one bit per pixel.

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quarn::fw {

inline constexpr int kFontListCount = 255;

// Cell height of the font used when no height is set, in pixels.
inline constexpr int kSystemFontHeight = 16;

// Whether a font of that cell height and face name can be opened.
bool CanOpenFont(int height, const std::string& faceName);

// Compiles kFontListCount lists starting at base in the current context from
// the font of that height and face (height 0 and an empty name: the system
// font). False when the font cannot be opened.
bool BuildFontLists(GLuint base, int height, const std::string& faceName);

// Turns a one-bit glyph image of FreeType (rows top-down, pitch bytes apart,
// a negative pitch meaning bottom-up storage) into the rows glBitmap reads:
// bottom-up, each exactly ceil(width / 8) bytes (unpack alignment 1).
std::vector<std::uint8_t> RepackGlyphRows(const std::uint8_t* buffer, int width, int rows,
                                          int pitch);

}  // namespace quarn::fw
