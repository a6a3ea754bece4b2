#pragma once

// The ground under the buildings: a textured grass square 150 units wide
// centred on the origin, and a paved box list (empty), both in the plane z = 0.

#include "geom/cbox2list.h"

class CGround {
 public:
  CGround();

  // Draws the paved boxes, then the grass, filled in white with their
  // textures from the texture set; leaves lighting on and texturing off.
  void Draw() const;

  const CBox2List& GetGrass() const { return grass_; }
  const CBox2List& GetPaving() const { return paving_; }

 private:
  CBox2List grass_;
  CBox2List paving_;
};
