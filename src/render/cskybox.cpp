#include "render/cskybox.h"

#include "render/ctextureset.h"

namespace {

constexpr float kHalfSide = 500.0f;
// Texture coordinates stop short of the edge so that the edge texels are
// not blended with the opposite side across the seams.
constexpr float kLow = 0.002f;
constexpr float kHigh = 0.998f;

struct FaceVertex {
  int corner;
  float s, t;
};

}  // namespace

void CSkyBox::Build() {
  const CTextureSet& set = TextureSet();
  textures_ = {set.skyRight, set.skyFront, set.skyTop, set.skyLeft, set.skyBack, set.skyBottom};
  const float s = kHalfSide;
  corners_ = {CVector3(-s, s, -s), CVector3(-s, s, s),  CVector3(s, s, -s),  CVector3(s, s, s),
              CVector3(s, -s, -s), CVector3(s, -s, s),  CVector3(-s, -s, -s), CVector3(-s, -s, s)};
  built_ = true;
}

void CSkyBox::Draw() {
  if (!built_) Build();
  struct Quad {
    Face face;
    FaceVertex vertices[4];
  };
  static constexpr Quad kQuads[] = {
      {kLeft, {{1, kHigh, kHigh}, {7, kLow, kHigh}, {6, kLow, kLow}, {0, kHigh, kLow}}},
      {kFront, {{7, kHigh, kHigh}, {5, kLow, kHigh}, {4, kLow, kLow}, {6, kHigh, kLow}}},
      {kRight, {{2, kLow, kLow}, {4, kHigh, kLow}, {5, kHigh, kHigh}, {3, kLow, kHigh}}},
      {kBack, {{3, kHigh, kHigh}, {1, kLow, kHigh}, {0, kLow, kLow}, {2, kHigh, kLow}}},
      {kTop, {{1, kLow, kHigh}, {3, kLow, kLow}, {5, kHigh, kLow}, {7, kHigh, kHigh}}},
      {kBottom, {{6, kHigh, kLow}, {4, kLow, kLow}, {2, kLow, kHigh}, {0, kHigh, kHigh}}},
  };

  glColor3f(1.0f, 1.0f, 1.0f);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glPushMatrix();
  for (const Quad& quad : kQuads) {
    glBindTexture(GL_TEXTURE_2D, textures_[quad.face]);
    glBegin(GL_QUADS);
    for (const FaceVertex& v : quad.vertices) {
      glTexCoord2f(v.s, v.t);
      const CVector3& c = corners_[static_cast<std::size_t>(v.corner)];
      glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
  }
  glDisable(GL_TEXTURE_2D);
  glPopMatrix();
  glEnable(GL_LIGHTING);
}
