// quarn-textures [DIR]: writes the ten texture files of the 3D view into DIR
// (default "tex"), creating it when needed.

#include <filesystem>
#include <iostream>
#include <system_error>

#include "texturefiles.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cerr << "usage: quarn-textures [DIR]" << '\n';
    return 2;
  }
  const std::filesystem::path dir = argc == 2 ? argv[1] : "tex";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::cerr << "quarn-textures: cannot create " << dir.string() << ": " << error.message() << '\n';
    return 1;
  }
  const std::filesystem::path failed =
      quarn::tools::WriteTextureFiles(dir, quarn::tools::TextureFiles());
  if (!failed.empty()) {
    std::cerr << "quarn-textures: cannot write " << failed.string() << '\n';
    return 1;
  }
  std::cout << "quarn-textures: wrote 10 textures to " << dir.string() << '\n';
  return 0;
}
