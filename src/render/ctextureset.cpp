#include "render/ctextureset.h"

#include <filesystem>
#include <system_error>

#include "render/ctexturemanager.h"

CTextureSet& TextureSet() {
  static CTextureSet set;
  return set;
}

std::optional<std::string> CTextureSet::LoadAll() {
  return LoadAllFrom(
      quarn::FindTextureDirectory(quarn::RunningExecutable()).value_or(quarn::kTextureDirectory));
}

std::optional<std::string> CTextureSet::LoadAllFrom(const std::string& directory) {
  for (const quarn::TextureFile& entry : quarn::kTextureFiles) {
    std::string path = quarn::TexturePath(entry.file, directory);
    const std::optional<GLuint> texture = TextureManager().LoadTexture(path.c_str());
    if (!texture) return path;
    this->*entry.field = *texture;
  }
  return std::nullopt;
}

namespace quarn {

std::string TexturePath(const char* file, const std::string& directory) {
  return directory + static_cast<char>(std::filesystem::path::preferred_separator) + file;
}

bool HoldsAllTextures(const std::string& directory) {
  for (const TextureFile& entry : kTextureFiles) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(TexturePath(entry.file, directory), error)) return false;
  }
  return true;
}

std::optional<std::string> FindTextureDirectory(const std::filesystem::path& executable) {
  if (HoldsAllTextures(kTextureDirectory)) return kTextureDirectory;
  if (executable.empty()) return std::nullopt;
  const std::string installed =
      (executable.parent_path() / kInstalledTextureDirectory).lexically_normal().string();
  if (HoldsAllTextures(installed)) return installed;
  return std::nullopt;
}

std::filesystem::path RunningExecutable() {
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable;
}

}  // namespace quarn
