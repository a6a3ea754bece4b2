#include "render/cskybox.h"

#include <gtest/gtest.h>

#include "render/ctexturemanager.h"
#include "render/ctextureset.h"
#include "support/gl_test_context.h"

namespace quarn::test {
namespace {

struct ExpectedVertex {
  float x, y, z, s, t;
};

class SkyBoxTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    SetWorldExtent(600);
  }
};

TEST_F(SkyBoxTest, DrawsSixFacesWithTheirCornersAndInsetTextureCoordinates) {
  constexpr float S = 500, lo = 0.002f, hi = 0.998f;
  const ExpectedVertex expected[6][4] = {
      {{-S, S, S, hi, hi}, {-S, -S, S, lo, hi}, {-S, -S, -S, lo, lo}, {-S, S, -S, hi, lo}},  // left
      {{-S, -S, S, hi, hi}, {S, -S, S, lo, hi}, {S, -S, -S, lo, lo}, {-S, -S, -S, hi, lo}},  // front
      {{S, S, -S, lo, lo}, {S, -S, -S, hi, lo}, {S, -S, S, hi, hi}, {S, S, S, lo, hi}},      // right
      {{S, S, S, hi, hi}, {-S, S, S, lo, hi}, {-S, S, -S, lo, lo}, {S, S, -S, hi, lo}},      // back
      {{-S, S, S, lo, hi}, {S, S, S, lo, lo}, {S, -S, S, hi, lo}, {-S, -S, S, hi, hi}},      // top
      {{-S, -S, -S, hi, lo}, {S, -S, -S, lo, lo}, {S, S, -S, lo, hi}, {-S, S, -S, hi, hi}},  // bottom
  };
  CSkyBox sky;
  const auto quads = QuadsFromFeedback(CaptureFeedback([&] { sky.Draw(); }));
  ASSERT_EQ(quads.size(), 6u);
  for (std::size_t q = 0; q < 6; ++q) {
    for (std::size_t v = 0; v < 4; ++v) {
      SCOPED_TRACE(testing::Message() << "face " << q << " vertex " << v << ": " << quads[q][v]);
      const ExpectedVertex& e = expected[q][v];
      EXPECT_NEAR(quads[q][v].x, e.x, 1e-3);
      EXPECT_NEAR(quads[q][v].y, e.y, 1e-3);
      EXPECT_NEAR(quads[q][v].z, e.z, 1e-3);
      EXPECT_NEAR(quads[q][v].s, e.s, 1e-6);
      EXPECT_NEAR(quads[q][v].t, e.t, 1e-6);
      EXPECT_EQ(quads[q][v].r, 1.0f);
      EXPECT_EQ(quads[q][v].a, 1.0f);
    }
  }
}

TEST_F(SkyBoxTest, EachFaceShowsItsOwnTexture) {
  struct Face {
    const char* name;
    GLuint CTextureSet::*field;
    std::array<std::uint8_t, 4> colour;
    float angle, ax, ay, az;  // turns the face toward the viewer
  };
  const Face faces[] = {
      {"top", &CTextureSet::skyTop, {255, 0, 0, 255}, 0, 1, 0, 0},
      {"bottom", &CTextureSet::skyBottom, {0, 255, 0, 255}, 180, 1, 0, 0},
      {"left", &CTextureSet::skyLeft, {0, 0, 255, 255}, 90, 0, 1, 0},
      {"right", &CTextureSet::skyRight, {255, 255, 0, 255}, -90, 0, 1, 0},
      {"back", &CTextureSet::skyBack, {0, 255, 255, 255}, 90, 1, 0, 0},
      {"front", &CTextureSet::skyFront, {255, 0, 255, 255}, -90, 1, 0, 0},
  };
  for (const Face& face : faces) {
    const std::uint8_t rgb[3] = {face.colour[0], face.colour[1], face.colour[2]};
    TextureSet().*face.field = CreateTexture(rgb, 1, 1, GL_RGB, GL_MODULATE, GL_REPEAT, GL_LINEAR, 0);
  }
  CSkyBox sky;
  glEnable(GL_DEPTH_TEST);
  for (const Face& face : faces) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glRotatef(face.angle, face.ax, face.ay, face.az);
    sky.Draw();
    EXPECT_EQ(ReadPixel(kSize / 2, kSize / 2), face.colour) << face.name;
  }
}

TEST_F(SkyBoxTest, LeavesLightingOnTexturingOffAndTheMatrixAsItWas) {
  CSkyBox sky;
  glEnable(GL_TEXTURE_2D);
  glTranslatef(1, 2, 3);
  GLfloat before[16], after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  sky.Draw();
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(std::equal(before, before + 16, after));
}

}  // namespace
}  // namespace quarn::test
