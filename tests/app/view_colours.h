#pragma once

// The colours of the view's frames, told apart well enough for tests: the
// first palette colours of the design style, the wall colour and the grass.

namespace quarn::test {

struct Pixel {
  int r, g, b;
};

inline bool IsRed(Pixel p) { return p.r > 200 && p.g < 50 && p.b < 50; }
inline bool IsYellow(Pixel p) { return p.r > 200 && p.g > 200 && p.b < 60; }
inline bool IsGreen(Pixel p) { return p.g > 150 && p.r < 80 && p.b < 80; }
inline bool IsWallColour(Pixel p) { return p.r > 200 && p.g > 90 && p.g < 190 && p.b < 60; }
inline bool IsGrass(Pixel p) { return p.g > p.r + 20 && p.g > p.b + 20; }

}  // namespace quarn::test
