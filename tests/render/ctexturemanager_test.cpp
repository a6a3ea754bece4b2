#include "render/ctexturemanager.h"

#include <cstdio>
#include <iostream>

#include <gtest/gtest.h>

#include "support/gl_test_context.h"
#include "test_images.h"

namespace quarn::test {
namespace {

GLint LevelParameter(GLint level, GLenum name) {
  GLint value = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
  return value;
}

GLint TextureParameter(GLenum name) {
  GLint value = -1;
  glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  return value;
}

class TextureTest : public GlTest {
 protected:
  TempDir dir_{"quarn-texture-test"};
};

TEST_F(TextureTest, ImagesAreScaledDownToPowerOfTwoSides) {
  const struct {
    std::int32_t width, height, expectedWidth, expectedHeight;
  } cases[] = {{256, 256, 256, 256}, {300, 200, 256, 128}, {1, 7, 1, 4}, {513, 64, 512, 64}};
  for (const auto& c : cases) {
    const std::string path = dir_.Write("image.bmp", MakeUniformBmp(c.width, c.height, 10, 200, 90));
    Image image;
    ASSERT_TRUE(LoadImage(path.c_str(), image)) << c.width << "x" << c.height;
    EXPECT_EQ(image.width, c.expectedWidth);
    EXPECT_EQ(image.height, c.expectedHeight);
    EXPECT_EQ(image.pixelCount, c.expectedWidth * c.expectedHeight);
    EXPECT_EQ(image.byteCount, image.pixelCount * 3);
    ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.byteCount));
    for (std::size_t i = 0; i < image.pixels.size(); i += 3) {
      ASSERT_EQ(image.pixels[i], 10) << i;
      ASSERT_EQ(image.pixels[i + 1], 200) << i;
      ASSERT_EQ(image.pixels[i + 2], 90) << i;
    }
  }
}

TEST_F(TextureTest, ScalingReadsRowsWhoseLengthIsNoMultipleOfFour) {
  // 301 pixels of 3 bytes: rows of 903 bytes, tightly packed.
  Bytes stored;
  for (int i = 0; i < 301; ++i) stored.insert(stored.end(), {30, 20, 10});
  for (int i = 0; i < 301; ++i) stored.insert(stored.end(), {50, 100, 200});
  std::optional<Image> image = ReadBmp(MakeBmp({301, 2, 24}, stored));
  ASSERT_TRUE(image);
  RescaleToPowerOfTwo(*image);
  ASSERT_EQ(image->width, 256);
  ASSERT_EQ(image->height, 2);
  for (int x = 0; x < 256; ++x) {
    const std::uint8_t* bottom = &image->pixels[static_cast<std::size_t>(x) * 3];
    const std::uint8_t* top = &image->pixels[static_cast<std::size_t>(256 + x) * 3];
    ASSERT_EQ((Bytes{bottom[0], bottom[1], bottom[2]}), (Bytes{10, 20, 30})) << x;
    ASSERT_EQ((Bytes{top[0], top[1], top[2]}), (Bytes{200, 100, 50})) << x;
  }
}

TEST_F(TextureTest, ReaderIsChosenByTheLastThreeLettersInAnyCase) {
  const Bytes bmp = MakeUniformBmp(4, 4, 1, 2, 3);
  const Bytes tga = MakeTga({4, 4, 24}, Bytes(48, 1));
  const struct {
    std::string file;
    Bytes bytes;
    bool loads;
  } cases[] = {{"a.bmp", bmp, true},  {"b.BmP", bmp, true},   {"c.tga", tga, true},
               {"d.TGA", tga, true},  {"e.tga", bmp, false},  {"f.bmp", tga, false},
               {"g.png", bmp, false}, {"bmp", bmp, true},     {"mp", bmp, false}};
  for (const auto& c : cases) {
    Image image;
    EXPECT_EQ(LoadImage(dir_.Write(c.file, c.bytes).c_str(), image), c.loads) << c.file;
  }
  Image image;
  EXPECT_FALSE(LoadImage((dir_.Path() / "missing.bmp").c_str(), image));
  EXPECT_FALSE(LoadImage(dir_.Path().c_str(), image)) << "a folder";
  EXPECT_FALSE(LoadImage(nullptr, image));
}

TEST_F(TextureTest, LoadTextureUploadsRgbWithFullMipmaps) {
  CTextureManager manager;
  const std::string path = dir_.Write("grass.bmp", MakeUniformBmp(256, 256, 0, 255, 0));
  const GLuint texture = manager.LoadTexture(path.c_str()).value();
  ASSERT_NE(texture, 0u);
  ASSERT_NE(texture, kNoTextureName);
  EXPECT_EQ(manager.GetCount(), 1u);
  glBindTexture(GL_TEXTURE_2D, texture);
  EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 256);
  EXPECT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), 256);
  EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
  EXPECT_EQ(LevelParameter(8, GL_TEXTURE_WIDTH), 1) << "the last mipmap level";
  EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
  GLint mode = 0;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
  EXPECT_EQ(mode, GL_MODULATE);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(TextureTest, LoadTextureScalesBeforeUpload) {
  CTextureManager manager;
  const std::string path = dir_.Write("odd.bmp", MakeUniformBmp(300, 200, 1, 2, 3));
  glBindTexture(GL_TEXTURE_2D, manager.LoadTexture(path.c_str()).value());
  EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 256);
  EXPECT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), 128);
}

TEST_F(TextureTest, NamesDifferingOnlyInCaseAreReportedAndLoadedAgain) {
  CTextureManager manager;
  const std::string lower = dir_.Write("wall.bmp", MakeUniformBmp(4, 4, 1, 2, 3));
  const std::string upper = dir_.Write("WALL.BMP", MakeUniformBmp(4, 4, 1, 2, 3));
  testing::internal::CaptureStderr();
  const GLuint first = manager.LoadTexture(lower.c_str()).value();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  const GLuint second = manager.LoadTexture(upper.c_str()).value();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "This texture is already loaded\n");
  EXPECT_NE(first, second);
  EXPECT_EQ(manager.GetCount(), 2u);
}

TEST_F(TextureTest, NullNameIsReportedAndGivesNoTexture) {
  CTextureManager manager;
  testing::internal::CaptureStdout();
  EXPECT_EQ(manager.LoadTexture(nullptr), 0u);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "No texture Filename\n");
  EXPECT_EQ(manager.GetCount(), 0u);
}

TEST_F(TextureTest, UploadedPixelsKeepTheirPlaceAndColour) {
  // 2 x 2 RGB: rows of 6 bytes, bottom row first.
  const std::uint8_t pixels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  const GLuint texture =
      CreateTexture(pixels, 2, 2, GL_RGB, GL_MODULATE, GL_CLAMP, GL_NEAREST, 0);
  ASSERT_NE(texture, kNoTextureName);
  SetWorldExtent(1);
  glColor3f(1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0); glVertex2f(-1, -1);
  glTexCoord2f(1, 0); glVertex2f(1, -1);
  glTexCoord2f(1, 1); glVertex2f(1, 1);
  glTexCoord2f(0, 1); glVertex2f(-1, 1);
  glEnd();
  const struct {
    int x, y;
    std::array<std::uint8_t, 4> rgba;
  } probes[] = {{64, 64, {255, 0, 0, 255}},
                {192, 64, {0, 255, 0, 255}},
                {64, 192, {0, 0, 255, 255}},
                {192, 192, {255, 255, 255, 255}}};
  for (const auto& p : probes) EXPECT_EQ(ReadPixel(p.x, p.y), p.rgba) << p.x << "," << p.y;
}

TEST_F(TextureTest, EmptyTextureTakesTheGivenLevelAndFilter) {
  const GLuint texture =
      CreateTexture(nullptr, 64, 32, GL_RGBA, GL_REPLACE, GL_CLAMP, GL_NEAREST, 0);
  ASSERT_NE(texture, kNoTextureName);
  EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 64);
  EXPECT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), 32);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP);
}

TEST(TextureWithoutContext, GivesTheNoTextureName) {
  EXPECT_EQ(CreateTexture(nullptr, 4, 4, GL_RGB, GL_MODULATE, GL_REPEAT, GL_LINEAR, 0),
            kNoTextureName);
}

// A file that cannot be read (missing, an encoding the readers refuse, cut
// short) is the caller's to report: no texture, nothing registered,
// nothing printed, the process goes on.
TEST(MissingTexture, GivesNoneAndLeavesTheReportToTheCaller) {
  TempDir dir("quarn-missing-texture");
  const std::string rle = dir.Write("rle.bmp", MakeBmp({2, 2, 8, 40, 1}, {1, 2, 3, 4}));
  Bytes cut = MakeUniformBmp(4, 4, 1, 1, 1);
  cut.resize(cut.size() - 1);
  const std::string truncated = dir.Write("short.bmp", cut);
  const std::string missing = (dir.Path() / "nothing.bmp").string();
  for (const std::string& path : {missing, rle, truncated}) {
    CTextureManager manager;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(manager.LoadTexture(path.c_str()), std::nullopt) << path;
    EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(manager.GetCount(), 0u) << path;
  }
}

}  // namespace
}  // namespace quarn::test
