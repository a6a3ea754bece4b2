#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "render/ctextureset.h"
#include "render/imagereader.h"
#include "render/test_images.h"
#include "texturefiles.h"

namespace quarn::tools {
namespace {

using quarn::test::Bytes;
using quarn::test::TempDir;

Bytes FileBytes(const std::filesystem::path& path) {
  return *quarn::ReadFileBytes(path.c_str());
}

TEST(TextureFiles, AreTheTenFilesTheViewLoadsInItsOrder) {
  const std::vector<TextureFile> files = TextureFiles();
  ASSERT_EQ(files.size(), quarn::kTextureFiles.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(files[i].name, quarn::kTextureFiles[i].file) << i;
    const bool sky = files[i].name.rfind("space1_", 0) == 0;
    EXPECT_EQ(files[i].side, sky ? 512 : 256) << files[i].name;
  }
}

TEST(TextureFiles, EveryWrittenFileReadsBackWithItsSizeAndPixels) {
  TempDir dir("quarn-texture-files");
  const std::vector<TextureFile> files = TextureFiles(32, 16);
  ASSERT_EQ(WriteTextureFiles(dir.Path(), files), std::filesystem::path());
  for (const TextureFile& file : files) {
    SCOPED_TRACE(file.name);
    const std::optional<Image> image = quarn::ReadBmp(FileBytes(dir.Path() / file.name));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, file.side);
    EXPECT_EQ(image->height, file.side);
    EXPECT_EQ(image->format, static_cast<GLenum>(GL_RGB));
    EXPECT_EQ(image->pixels, file.make().rgb);
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST(TextureFiles, PicturesAreTheSameEveryRun) {
  for (const TextureFile& file : TextureFiles(16, 16))
    EXPECT_EQ(file.make().rgb, file.make().rgb) << file.name;
}

TEST(BmpWriter, PadsRowsToWholeWords) {
  const struct {
    int width, height;
    std::size_t size;
  } cases[] = {{4, 2, 54 + 12 * 2}, {1, 1, 54 + 4}, {3, 2, 54 + 12 * 2}, {5, 1, 54 + 16}};
  for (const auto& c : cases) {
    const Bytes bmp = EncodeBmp24(Picture(c.width, c.height));
    EXPECT_EQ(bmp.size(), c.size) << c.width << "x" << c.height;
    EXPECT_EQ(bmp[2] | bmp[3] << 8, static_cast<int>(c.size));
  }
}

TEST(BmpWriter, EveryPictureReadsBackWithItsPixels) {
  // Random sides from 1 to 300, the widths running through every remainder
  // modulo 4 so that each amount of row padding is met.
  std::mt19937 random(17);
  std::uniform_int_distribution<int> side(1, 300);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 40; ++i) {
    const int width = (side(random) & ~3) % 300 + 1 + i % 4;
    Picture picture(width, side(random));
    for (std::uint8_t& value : picture.rgb) value = static_cast<std::uint8_t>(byte(random));
    const std::optional<Image> image = quarn::ReadBmp(EncodeBmp24(picture));
    ASSERT_TRUE(image.has_value()) << picture.width << "x" << picture.height;
    EXPECT_EQ(image->width, picture.width);
    EXPECT_EQ(image->height, picture.height);
    EXPECT_EQ(image->pixels, picture.rgb) << picture.width << "x" << picture.height;
  }
}

TEST(BmpWriter, StoresBlueFirstAndBottomRowFirst) {
  Picture picture(1, 2);
  picture.rgb = {1, 2, 3, 4, 5, 6};
  const Bytes bmp = EncodeBmp24(picture);
  EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 54 + 3), (Bytes{3, 2, 1}));
  EXPECT_EQ(Bytes(bmp.begin() + 58, bmp.begin() + 58 + 3), (Bytes{6, 5, 4}));
}

// Mean absolute channel difference between pixel runs a and b of a picture.
double MeanDifference(const Picture& p, int ax, int ay, int bx, int by, int dx, int dy, int n) {
  double sum = 0;
  for (int i = 0; i < n; ++i) {
    for (int c = 0; c < 3; ++c)
      sum += std::abs(p.At(ax + i * dx, ay + i * dy)[c] - p.At(bx + i * dx, by + i * dy)[c]);
  }
  return sum / (3.0 * n);
}

TEST(GroundPictures, TileWithoutVisibleSeams) {
  const int side = 256;
  const struct {
    const char* name;
    Picture picture;
  } cases[] = {{"grass", MakeGrass(side)},
               {"concrete", MakeConcrete(side)},
               {"brick", MakeBrickWall(side)},
               {"floor", MakeFloorTiles(side)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Picture& p = c.picture;
    // Across the wrap the step between neighbours is no larger than inside.
    const double inside = (MeanDifference(p, side / 2 - 1, 0, side / 2, 0, 0, 1, side) +
                           MeanDifference(p, 0, side / 2 - 1, 0, side / 2, 1, 0, side)) / 2;
    EXPECT_LE(MeanDifference(p, side - 1, 0, 0, 0, 0, 1, side), 2 * inside + 2);
    EXPECT_LE(MeanDifference(p, 0, side - 1, 0, 0, 1, 0, side), 2 * inside + 2);
  }
}

// Where the texel of face at (x, y) continues on its neighbouring face, one
// texel beyond the edge in the direction (dx, dy).
struct TexelOnFace {
  SkyFace face;
  int x, y;
};

TexelOnFace Beyond(SkyFace face, int x, int y, int dx, int dy, int side) {
  const double s = (x + dx + 0.5) / side, t = (y + dy + 0.5) / side;
  std::array<double, 3> d = SkyDirection(face, s, t);
  std::size_t axis = 0;
  for (std::size_t i = 1; i < 3; ++i) if (std::abs(d[i]) > std::abs(d[axis])) axis = i;
  const double scale = 1 / std::abs(d[axis]);
  for (double& v : d) v *= scale;
  for (SkyFace other : {SkyFace::kUp, SkyFace::kDown, SkyFace::kLeft, SkyFace::kRight,
                        SkyFace::kFront, SkyFace::kBack}) {
    const auto o = SkyDirection(other, 0, 0), se = SkyDirection(other, 1, 0),
               te = SkyDirection(other, 0, 1);
    if (o[axis] != d[axis] || se[axis] != d[axis] || te[axis] != d[axis]) continue;
    double os = 0, ot = 0;
    for (std::size_t i = 0; i < 3; ++i) {
      os += (d[i] - o[i]) * (se[i] - o[i]) / 4;
      ot += (d[i] - o[i]) * (te[i] - o[i]) / 4;
    }
    return {other, std::clamp(static_cast<int>(os * side), 0, side - 1),
            std::clamp(static_cast<int>(ot * side), 0, side - 1)};
  }
  ADD_FAILURE() << "no face";
  return {face, x, y};
}

TEST(SkyPictures, NeighbouringFacesAgreeAlongTheirEdges) {
  const int side = 64;
  std::map<SkyFace, Picture> faces;
  const SkyFace all[] = {SkyFace::kUp,    SkyFace::kDown,  SkyFace::kLeft,
                         SkyFace::kRight, SkyFace::kFront, SkyFace::kBack};
  for (SkyFace f : all) faces.emplace(f, MakeSkyFace(f, side));
  double across = 0, inside = 0;
  int count = 0;
  for (SkyFace f : all) {
    const Picture& p = faces.at(f);
    const struct {
      int x, y, dx, dy;  // texel on the edge and the outward step
    } edges[] = {{0, 0, -1, 0}, {side - 1, 0, 1, 0}, {0, 0, 0, -1}, {0, side - 1, 0, 1}};
    for (const auto& e : edges) {
      for (int i = 0; i < side; ++i) {
        const int x = e.dx == 0 ? i : e.x, y = e.dy == 0 ? i : e.y;
        const TexelOnFace n = Beyond(f, x, y, e.dx, e.dy, side);
        const std::uint8_t* a = p.At(x, y);
        const std::uint8_t* b = faces.at(n.face).At(n.x, n.y);
        const std::uint8_t* c = p.At(x - e.dx, y - e.dy);
        for (int k = 0; k < 3; ++k) {
          across += std::abs(a[k] - b[k]);
          inside += std::abs(a[k] - c[k]);
        }
        ++count;
      }
    }
  }
  EXPECT_GT(count, 0);
  EXPECT_LE(across, 1.5 * inside) << "mean step across edges " << across / (3 * count)
                                  << ", inside faces " << inside / (3 * count);
}

}  // namespace
}  // namespace quarn::tools
