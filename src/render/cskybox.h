#pragma once

// The sky box: a cube of six textured faces, 500 units from its centre on
// every axis, drawn around the viewer. Its geometry and textures are taken
// on the first draw, when the texture set has been loaded.

#include <array>

#include <GL/gl.h>

#include "geom/cvector3.h"

class CSkyBox {
 public:
  // Draws the six faces unlit in white with their textures; leaves lighting
  // on and texturing off.
  void Draw();

 private:
  void Build();

  enum Face { kRight, kFront, kTop, kLeft, kBack, kBottom };
  std::array<GLuint, 6> textures_{};  // indexed by Face
  std::array<CVector3, 8> corners_{};
  bool built_ = false;
};
