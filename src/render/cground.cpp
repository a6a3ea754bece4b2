#include "render/cground.h"

#include <GL/gl.h>

#include "render/cbox2draw.h"
#include "render/ctextureset.h"

namespace {

constexpr int kGrassHalfSide = 75;

}  // namespace

CGround::CGround()
    : grass_(CBox2(CPoint2(-kGrassHalfSide, -kGrassHalfSide), CPoint2(kGrassHalfSide, kGrassHalfSide))) {}

void CGround::Draw() const {
  glColor3f(1.0f, 1.0f, 1.0f);
  glEnable(GL_TEXTURE_2D);
  glPushMatrix();
  glBindTexture(GL_TEXTURE_2D, TextureSet().paving);
  DrawFilled(paving_);
  glBindTexture(GL_TEXTURE_2D, TextureSet().grass);
  DrawFilled(grass_);
  glDisable(GL_TEXTURE_2D);
  glPopMatrix();
  glEnable(GL_LIGHTING);
}
