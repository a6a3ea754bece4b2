#include "render/ctextureset.h"

#include <filesystem>

#include "render/ctexturemanager.h"

CTextureSet& TextureSet() {
  static CTextureSet set;
  return set;
}

void CTextureSet::LoadAll() { LoadAllFrom(quarn::kTextureDirectory); }

void CTextureSet::LoadAllFrom(const std::string& directory) {
  for (const quarn::TextureFile& entry : quarn::kTextureFiles) {
    const std::string path = quarn::TexturePath(entry.file, directory);
    this->*entry.field = TextureManager().LoadTexture(path.c_str());
  }
}

namespace quarn {

std::string TexturePath(const char* file, const std::string& directory) {
  return directory + static_cast<char>(std::filesystem::path::preferred_separator) + file;
}

}  // namespace quarn
