#include "pictures/texturepictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quarn::pictures {
namespace {

// --- Deterministic noise -------------------------------------------------

std::uint32_t Mix(std::uint32_t h) {
  h ^= h >> 16;
  h *= 0x7feb352dU;
  h ^= h >> 15;
  h *= 0x846ca68bU;
  h ^= h >> 16;
  return h;
}

std::uint32_t Hash(int x, int y, int z, std::uint32_t seed) {
  std::uint32_t h = Mix(seed ^ 0x9e3779b9U);
  h = Mix(h ^ static_cast<std::uint32_t>(x) * 0x85ebca77U);
  h = Mix(h ^ static_cast<std::uint32_t>(y) * 0xc2b2ae3dU);
  return Mix(h ^ static_cast<std::uint32_t>(z) * 0x27d4eb2fU);
}

// A number in [0, 1) from a hash.
double Unit(std::uint32_t h) { return (h >> 8) * (1.0 / 16777216.0); }

double Smooth(double f) { return f * f * (3 - 2 * f); }
double Lerp(double a, double b, double f) { return a + (b - a) * f; }

int Wrap(int v, int period) { return ((v % period) + period) % period; }

// Value noise in [0, 1) on a lattice that repeats every periodX cells along
// x and periodY along y, so a picture made of it tiles.
double TileNoise(double x, double y, int periodX, int periodY, std::uint32_t seed) {
  const int x0 = static_cast<int>(std::floor(x));
  const int y0 = static_cast<int>(std::floor(y));
  const double fx = Smooth(x - x0);
  const double fy = Smooth(y - y0);
  auto at = [&](int dx, int dy) {
    return Unit(Hash(Wrap(x0 + dx, periodX), Wrap(y0 + dy, periodY), 0, seed));
  };
  return Lerp(Lerp(at(0, 0), at(1, 0), fx), Lerp(at(0, 1), at(1, 1), fx), fy);
}

// Sum of octaves of tiling noise at texture coordinates (u, v) in [0, 1),
// the first with cells lattice cells across; result in [0, 1).
double TileFractal(double u, double v, int cells, int octaves, std::uint32_t seed) {
  double sum = 0, weight = 0, amplitude = 1;
  for (int o = 0; o < octaves; ++o, cells *= 2, amplitude *= 0.5) {
    sum += amplitude * TileNoise(u * cells, v * cells, cells, cells, seed + static_cast<std::uint32_t>(o));
    weight += amplitude;
  }
  return sum / weight;
}

using Vec3 = std::array<double, 3>;

double Noise3(const Vec3& p, std::uint32_t seed) {
  int c[3];
  double f[3];
  for (int i = 0; i < 3; ++i) {
    c[i] = static_cast<int>(std::floor(p[static_cast<std::size_t>(i)]));
    f[i] = Smooth(p[static_cast<std::size_t>(i)] - c[i]);
  }
  auto at = [&](int dx, int dy, int dz) { return Unit(Hash(c[0] + dx, c[1] + dy, c[2] + dz, seed)); };
  const double x00 = Lerp(at(0, 0, 0), at(1, 0, 0), f[0]);
  const double x10 = Lerp(at(0, 1, 0), at(1, 1, 0), f[0]);
  const double x01 = Lerp(at(0, 0, 1), at(1, 0, 1), f[0]);
  const double x11 = Lerp(at(0, 1, 1), at(1, 1, 1), f[0]);
  return Lerp(Lerp(x00, x10, f[1]), Lerp(x01, x11, f[1]), f[2]);
}

double Fractal3(Vec3 p, int octaves, std::uint32_t seed) {
  double sum = 0, weight = 0, amplitude = 1;
  for (int o = 0; o < octaves; ++o, amplitude *= 0.5) {
    sum += amplitude * Noise3(p, seed + static_cast<std::uint32_t>(o));
    weight += amplitude;
    for (double& v : p) v *= 2;
  }
  return sum / weight;
}

Vec3 Normalised(const Vec3& v) {
  const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  return {v[0] / length, v[1] / length, v[2] / length};
}

// --- Colours ---------------------------------------------------------------

struct Rgb {
  double r, g, b;
};

Rgb operator*(const Rgb& c, double f) { return {c.r * f, c.g * f, c.b * f}; }
Rgb operator+(const Rgb& a, const Rgb& b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb Mixed(const Rgb& a, const Rgb& b, double f) {
  return {Lerp(a.r, b.r, f), Lerp(a.g, b.g, f), Lerp(a.b, b.b, f)};
}

std::uint8_t Channel(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

void Put(Picture& picture, int x, int y, const Rgb& c) {
  std::uint8_t* p = picture.At(x, y);
  p[0] = Channel(c.r);
  p[1] = Channel(c.g);
  p[2] = Channel(c.b);
}

// Calls paint(x, y, u, v) for every pixel, (u, v) the texel centre in [0, 1).
template <typename Paint>
Picture Painted(int side, Paint paint) {
  Picture picture(side, side);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x)
      Put(picture, x, y, paint(x, y, (x + 0.5) / side, (y + 0.5) / side));
  }
  return picture;
}

// --- Sky -------------------------------------------------------------------

// Corners of each face in sky box coordinates (unit cube) at texture
// coordinates (0, 0), (1, 0) and (0, 1).
struct FaceFrame {
  Vec3 origin, sEnd, tEnd;
};

FaceFrame FrameOf(SkyFace face) {
  switch (face) {
    case SkyFace::kUp: return {{1, 1, 1}, {1, -1, 1}, {-1, 1, 1}};
    case SkyFace::kDown: return {{1, -1, -1}, {-1, -1, -1}, {1, 1, -1}};
    case SkyFace::kLeft: return {{-1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
    case SkyFace::kRight: return {{1, 1, -1}, {1, -1, -1}, {1, 1, 1}};
    case SkyFace::kFront: return {{1, -1, -1}, {-1, -1, -1}, {1, -1, 1}};
    case SkyFace::kBack: return {{-1, 1, -1}, {1, 1, -1}, {-1, 1, 1}};
  }
  return {};
}

// One layer of stars: the sphere of radius scale is cut into unit cells,
// some of which hold a star (its position projected onto the sphere).
struct StarLayer {
  double scale;
  double density;  // share of cells with a star
  double radius;   // spot radius, in cells
  double brightest, faintest;
  std::uint32_t seed;
};

Rgb StarLight(const Vec3& direction, const StarLayer& layer) {
  const Vec3 p = {direction[0] * layer.scale, direction[1] * layer.scale, direction[2] * layer.scale};
  const int cx = static_cast<int>(std::floor(p[0]));
  const int cy = static_cast<int>(std::floor(p[1]));
  const int cz = static_cast<int>(std::floor(p[2]));
  Rgb light{0, 0, 0};
  for (int dz = -1; dz <= 1; ++dz) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const int x = cx + dx, y = cy + dy, z = cz + dz;
        if (Unit(Hash(x, y, z, layer.seed)) >= layer.density) continue;
        const Vec3 star = Normalised({x + Unit(Hash(x, y, z, layer.seed + 1)),
                                      y + Unit(Hash(x, y, z, layer.seed + 2)),
                                      z + Unit(Hash(x, y, z, layer.seed + 3))});
        const double ex = star[0] * layer.scale - p[0];
        const double ey = star[1] * layer.scale - p[1];
        const double ez = star[2] * layer.scale - p[2];
        const double d2 = (ex * ex + ey * ey + ez * ez) / (layer.radius * layer.radius);
        if (d2 > 9) continue;
        const double kind = Unit(Hash(x, y, z, layer.seed + 4));
        const double magnitude =
            Lerp(layer.faintest, layer.brightest, std::pow(Unit(Hash(x, y, z, layer.seed + 5)), 3));
        // Hot blue-white through white to cool yellow-orange stars.
        const Rgb tint = kind < 0.3   ? Rgb{200, 215, 255}
                         : kind < 0.8 ? Rgb{255, 255, 255}
                                      : Rgb{255, 225, 180};
        light = light + tint * (magnitude * std::exp(-d2));
      }
    }
  }
  return light;
}

Rgb NightSky(const Vec3& direction) {
  const Rgb deep{3, 5, 14};
  // A faint band of glowing dust across the sky.
  const Vec3 bandAxis = Normalised({0.3, 0.8, -0.5});
  const double across =
      direction[0] * bandAxis[0] + direction[1] * bandAxis[1] + direction[2] * bandAxis[2];
  const double band = std::exp(-across * across / 0.06);
  const double dust = Fractal3({direction[0] * 3, direction[1] * 3, direction[2] * 3}, 5, 71);
  const double wisps = Fractal3({direction[0] * 7, direction[1] * 7, direction[2] * 7}, 4, 91);
  Rgb colour = deep + Rgb{34, 26, 58} * (band * dust * dust * 1.6) +
               Rgb{14, 30, 52} * (std::pow(wisps, 3) * 1.2) + Rgb{40, 40, 52} * (band * band * 0.35);
  static const StarLayer kLayers[] = {
      {150, 0.030, 0.33, 0.85, 0.12, 1001},
      {60, 0.012, 0.30, 1.25, 0.45, 2001},
  };
  for (const StarLayer& layer : kLayers) colour = colour + StarLight(direction, layer);
  return colour;
}

}  // namespace

std::array<double, 3> SkyDirection(SkyFace face, double s, double t) {
  const FaceFrame f = FrameOf(face);
  Vec3 d;
  for (std::size_t i = 0; i < 3; ++i)
    d[i] = f.origin[i] + s * (f.sEnd[i] - f.origin[i]) + t * (f.tEnd[i] - f.origin[i]);
  return d;
}

Picture MakeSkyFace(SkyFace face, int side) {
  return Painted(side, [face](int, int, double u, double v) {
    return NightSky(Normalised(SkyDirection(face, u, v)));
  });
}

Picture MakeBrickWall(int side) {
  const int columns = 4, rows = 8;
  const int brickWidth = side / columns, brickHeight = side / rows;
  const int mortar = std::max(2, side / 64);
  const Rgb mortarColour{168, 162, 150};
  return Painted(side, [=](int x, int y, double u, double v) {
    const int row = y / brickHeight;
    const int shifted = (x + (row % 2 == 1 ? brickWidth / 2 : 0)) % side;
    const int column = shifted / brickWidth;
    const int lx = shifted % brickWidth, ly = y % brickHeight;
    const double grain = TileFractal(u, v, 16, 4, 11);
    const double speck = Unit(Hash(x, y, 0, 13));
    if (lx < mortar || ly < mortar) return mortarColour * (0.8 + 0.3 * grain + 0.08 * speck);
    const std::uint32_t brick = Hash(column, row, 0, 17);
    Rgb colour = Mixed(Rgb{128, 52, 36}, Rgb{176, 86, 56}, Unit(brick));
    if (Unit(Hash(column, row, 0, 19)) < 0.15) colour = colour * 0.78;  // an odd dark brick
    // Rounded edges catch less light.
    const int edge = std::min({lx - mortar, brickWidth - 1 - lx, ly - mortar, brickHeight - 1 - ly});
    const double bevel = edge < 2 ? 0.82 + 0.08 * edge : 1.0;
    return colour * (bevel * (0.78 + 0.35 * grain + 0.1 * speck));
  });
}

Picture MakeFloorTiles(int side) {
  const int tiles = 4, tile = side / tiles;
  const int grout = std::max(2, side / 96);
  return Painted(side, [=](int x, int y, double u, double v) {
    const double grain = TileFractal(u, v, 8, 5, 23);
    if (x % tile < grout || y % tile < grout) return Rgb{118, 112, 104} * (0.9 + 0.2 * grain);
    const double tone = Unit(Hash(x / tile, y / tile, 0, 29));
    const Rgb stone = Mixed(Rgb{214, 206, 190}, Rgb{232, 226, 212}, tone);
    // Soft veins: where the noise crosses its middle value.
    const double vein = std::exp(-std::pow((TileFractal(u, v, 4, 5, 31) - 0.5) * 18, 2));
    return stone * (0.92 + 0.12 * grain - 0.12 * vein);
  });
}

Picture MakeGrass(int side) {
  return Painted(side, [=](int x, int y, double u, double v) {
    const double patches = TileFractal(u, v, 4, 4, 41);
    // Blades: noise stretched along y, fine across.
    const double blades = TileNoise(u * (side / 2), v * (side / 8), side / 2, side / 8, 43);
    const double speck = Unit(Hash(x, y, 0, 47));
    Rgb colour = Mixed(Rgb{38, 78, 24}, Rgb{92, 142, 44}, patches);
    colour = colour * (0.72 + 0.5 * blades + 0.1 * speck);
    if (speck > 0.996) colour = Rgb{190, 180, 90};  // a few dry seed heads
    return colour;
  });
}

Picture MakeConcrete(int side) {
  const int slab = side / 2, joint = std::max(2, side / 128);
  return Painted(side, [=](int x, int y, double u, double v) {
    const double cloud = TileFractal(u, v, 4, 6, 53);
    const double speck = Unit(Hash(x, y, 0, 59));
    double grey = 128 + 50 * cloud;
    if (speck > 0.985) grey -= 45;
    else if (speck < 0.01) grey += 30;
    if (x % slab < joint || y % slab < joint) grey *= 0.62;
    return Rgb{grey, grey * 0.985, grey * 0.96};
  });
}

}  // namespace quarn::pictures
