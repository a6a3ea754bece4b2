#include "render/ctextureset.h"

#include <filesystem>

#include "render/ctexturemanager.h"

CTextureSet& TextureSet() {
  static CTextureSet set;
  return set;
}

void CTextureSet::LoadAll() {
  for (const quarn::TextureFile& entry : quarn::kTextureFiles) {
    const std::string path = quarn::TexturePath(entry.file);
    this->*entry.field = TextureManager().LoadTexture(path.c_str());
  }
}

namespace quarn {

std::string TexturePath(const char* file) {
  return std::string(kTextureDirectory) + static_cast<char>(std::filesystem::path::preferred_separator) +
         file;
}

}  // namespace quarn
