#include "render/cground.h"

#include <gtest/gtest.h>

#include "draw_expect.h"
#include "render/ctexturemanager.h"
#include "render/ctextureset.h"
#include "support/gl_test_context.h"

namespace quarn::test {
namespace {

using GroundTest = GlTest;

TEST_F(GroundTest, IsOneGrassSquareOf150UnitsAndNoPaving) {
  const CGround ground;
  EXPECT_EQ(ground.GetPaving().GetSize(), 0);
  ASSERT_EQ(ground.GetGrass().GetSize(), 1);
  EXPECT_EQ(ground.GetGrass()[0], CBox2({-75, -75}, {75, 75}));
}

TEST_F(GroundTest, DrawsTheGrassAsOneWhiteTexturedQuadAtGroundLevel) {
  const CGround ground;
  const auto quads = QuadsFromFeedback(CaptureFeedback([&] { ground.Draw(); }));
  ASSERT_EQ(quads.size(), 1u);
  const Xyz corners[4] = {{75, 75, 0}, {-75, 75, 0}, {-75, -75, 0}, {75, -75, 0}};
  for (std::size_t i = 0; i < 4; ++i) {
    ExpectAt(quads[0][i], corners[i]);
    ExpectTexCoord(quads[0][i], 0.3f * corners[i].x, 0.3f * corners[i].y);
    ExpectColour(quads[0][i], 1, 1, 1);
  }
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(GroundTest, ShowsTheGrassTexture) {
  const std::uint8_t green[3] = {20, 200, 40};
  const std::uint8_t grey[3] = {90, 90, 90};
  TextureSet().grass = CreateTexture(green, 1, 1, GL_RGB, GL_MODULATE, GL_REPEAT, GL_LINEAR, 0);
  TextureSet().paving = CreateTexture(grey, 1, 1, GL_RGB, GL_MODULATE, GL_REPEAT, GL_LINEAR, 0);
  glColor3f(0.2f, 0.2f, 0.2f);  // the ground sets white itself
  glClear(GL_COLOR_BUFFER_BIT);
  CGround().Draw();
  EXPECT_EQ(ReadPixel(kSize / 2, kSize / 2), (std::array<std::uint8_t, 4>{20, 200, 40, 255}));
}

}  // namespace
}  // namespace quarn::test
