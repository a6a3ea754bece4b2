#include "texturefiles.h"

#include <cstdint>
#include <string_view>

#include "io/atomicfile.h"

namespace quarn::tools {

std::vector<TextureFile> TextureFiles(int groundSide, int skySide) {
  const int g = groundSide;
  auto sky = [skySide](SkyFace face) {
    return [face, skySide] { return MakeSkyFace(face, skySide); };
  };
  return {
      {"grass.bmp", g, [g] { return MakeGrass(g); }},
      {"concrete.bmp", g, [g] { return MakeConcrete(g); }},
      {"space1_up.bmp", skySide, sky(SkyFace::kUp)},
      {"space1_dn.bmp", skySide, sky(SkyFace::kDown)},
      {"space1_lf.bmp", skySide, sky(SkyFace::kLeft)},
      {"space1_rt.bmp", skySide, sky(SkyFace::kRight)},
      {"space1_ft.bmp", skySide, sky(SkyFace::kFront)},
      {"space1_bk.bmp", skySide, sky(SkyFace::kBack)},
      {"brick1.bmp", g, [g] { return MakeBrickWall(g); }},
      {"floor1.bmp", g, [g] { return MakeFloorTiles(g); }},
  };
}

std::filesystem::path WriteTextureFiles(const std::filesystem::path& dir,
                                        const std::vector<TextureFile>& files) {
  for (const TextureFile& file : files) {
    const std::filesystem::path path = dir / file.name;
    const std::vector<std::uint8_t> bmp = EncodeBmp24(file.make());
    std::string problem;
    if (!WriteFileAtomically(
            path.string(), std::string_view(reinterpret_cast<const char*>(bmp.data()), bmp.size()),
            problem)) {
      return path;
    }
  }
  return {};
}

}  // namespace quarn::tools
