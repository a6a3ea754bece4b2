#pragma once

// The ten textures of the 3D view, loaded once after the GL context exists.

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include <GL/gl.h>

struct CTextureSet {
  GLuint grass = 0;
  GLuint paving = 0;
  GLuint skyTop = 0;
  GLuint skyBottom = 0;
  GLuint skyLeft = 0;
  GLuint skyRight = 0;
  GLuint skyFront = 0;
  GLuint skyBack = 0;
  GLuint wall = 0;
  GLuint floor = 0;

  // Loads the ten files of kTextureFiles in order through TextureManager()
  // from FindTextureDirectory(RunningExecutable()), else from the texture
  // directory. Returns the path of the first file that cannot be read (the
  // fields from it on are left as they were), or none when all loaded.
  std::optional<std::string> LoadAll();
  // The same from another directory than the texture directory.
  std::optional<std::string> LoadAllFrom(const std::string& directory);
};

// The one texture set of the process.
CTextureSet& TextureSet();

namespace quarn {

inline constexpr const char* kTextureDirectory = "tex";
// Where an installation keeps the textures, relative to its executables'
// folder (bin/ beside share/).
inline constexpr const char* kInstalledTextureDirectory = "../share/quarn/tex";

// The texture files in load order, beside the set field each fills.
struct TextureFile {
  const char* file;
  GLuint CTextureSet::*field;
};
inline constexpr std::array<TextureFile, 10> kTextureFiles{{
    {"grass.bmp", &CTextureSet::grass},
    {"concrete.bmp", &CTextureSet::paving},
    {"space1_up.bmp", &CTextureSet::skyTop},
    {"space1_dn.bmp", &CTextureSet::skyBottom},
    {"space1_lf.bmp", &CTextureSet::skyLeft},
    {"space1_rt.bmp", &CTextureSet::skyRight},
    {"space1_ft.bmp", &CTextureSet::skyFront},
    {"space1_bk.bmp", &CTextureSet::skyBack},
    {"brick1.bmp", &CTextureSet::wall},
    {"floor1.bmp", &CTextureSet::floor},
}};

// The path of a texture file: the directory (by default the texture
// directory), the platform's path separator and the file ("tex/grass.bmp").
std::string TexturePath(const char* file, const std::string& directory = kTextureDirectory);

// True when the directory holds all ten texture files.
bool HoldsAllTextures(const std::string& directory);

// The directory to load the textures from: the texture directory of the
// working folder when it holds all ten files, else the installed one
// beside the executable's folder when that does; none when neither does.
// An empty executable path skips the installed directory.
std::optional<std::string> FindTextureDirectory(const std::filesystem::path& executable);

// The path of the running executable; empty when the system does not say.
std::filesystem::path RunningExecutable();

}  // namespace quarn
