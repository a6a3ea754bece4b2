#include "render/ctextureset.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>

#include <gtest/gtest.h>

#include "render/ctexturemanager.h"
#include "support/gl_test_context.h"
#include "test_images.h"

namespace quarn::test {
namespace {

TEST(TexturePath, UsesThePlatformSeparator) {
  EXPECT_EQ(TexturePath("grass.bmp"), "tex/grass.bmp");
}

// The working folder's tex/ wins when whole; the installed folder beside the
// executable's is next; a folder missing one file never counts.
TEST(FindTextureDirectory, PrefersAWholeWorkingFolderThenTheInstalledOne) {
  struct Case {
    const char* name;
    std::size_t working;    // texture files in the working folder's tex/
    std::size_t installed;  // texture files in share/quarn/tex/
    const char* expected;   // "" for none
  };
  const Case cases[] = {
      {"both whole", 10, 10, "tex"},
      {"working folder short of one", 9, 10, "installed"},
      {"only the working folder", 10, 0, "tex"},
      {"installed short of one", 0, 9, ""},
      {"neither", 0, 0, ""},
  };
  const std::filesystem::path previous = std::filesystem::current_path();
  for (const Case& c : cases) {
    TempDir dir("quarn-texture-lookup");
    const std::filesystem::path installed = dir.Path() / "share/quarn/tex";
    std::filesystem::create_directories(dir.Path() / "work/tex");
    std::filesystem::create_directories(installed);
    for (std::size_t i = 0; i < kTextureFiles.size(); ++i) {
      if (i < c.working) dir.Write(std::string("work/tex/") + kTextureFiles[i].file, {});
      if (i < c.installed) dir.Write(std::string("share/quarn/tex/") + kTextureFiles[i].file, {});
    }
    std::filesystem::current_path(dir.Path() / "work");
    const std::optional<std::string> found = FindTextureDirectory(dir.Path() / "bin/quarn");
    std::filesystem::current_path(previous);
    const std::string expected =
        std::string(c.expected) == "installed" ? installed.string() : c.expected;
    EXPECT_EQ(found.value_or(""), expected) << c.name;
  }
}

// Runs the test body with the working folder set to a fresh folder holding
// tex/ with every texture file except the one named missing.
class TextureSetTest : public GlTest {
 protected:
  void WriteTextures(const std::string& missing = "") {
    std::filesystem::create_directories(dir_.Path() / "tex");
    for (const quarn::TextureFile& file : kTextureFiles) {
      if (file.file != missing) dir_.Write(std::string("tex/") + file.file, MakeUniformBmp(8, 8, 1, 2, 3));
    }
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.Path());
  }
  void TearDown() override {
    if (!previous_.empty()) std::filesystem::current_path(previous_);
    GlTest::TearDown();
  }

  TempDir dir_{"quarn-texture-set"};
  std::filesystem::path previous_;
};

TEST_F(TextureSetTest, LoadsTheTenFilesInTableOrder) {
  WriteTextures();
  CTextureSet set;
  const std::size_t before = TextureManager().GetCount();
  EXPECT_EQ(set.LoadAll(), std::nullopt);
  EXPECT_EQ(TextureManager().GetCount(), before + 10);
  // GL hands out names in increasing order, so the fields show the load order.
  const GLuint names[] = {set.grass,     set.paving,   set.skyTop,   set.skyBottom, set.skyLeft,
                          set.skyRight,  set.skyFront, set.skyBack,  set.wall,      set.floor};
  for (std::size_t i = 1; i < 10; ++i) EXPECT_LT(names[i - 1], names[i]) << i;
}

TEST_F(TextureSetTest, AMissingFileIsNamedToTheCaller) {
  WriteTextures("brick1.bmp");
  CTextureSet set;
  EXPECT_EQ(set.LoadAll(), std::optional<std::string>("tex/brick1.bmp"));
  EXPECT_NE(set.grass, 0u) << "the files before it loaded";
  EXPECT_EQ(set.wall, 0u);
  EXPECT_EQ(set.floor, 0u) << "nothing after it loaded";
}

}  // namespace
}  // namespace quarn::test
