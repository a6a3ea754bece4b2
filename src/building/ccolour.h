#pragma once

#include <ostream>

// An RGBA colour of four floats. Every channel is limited to 0..1 after
// every operation, so colours can be scaled and summed without care.
class CColour {
 public:
  constexpr CColour(float red, float green, float blue, float alpha = 1.0f)
      : r(Clamp(red)), g(Clamp(green)), b(Clamp(blue)), a(Clamp(alpha)) {}

  float r;
  float g;
  float b;
  float a;

  constexpr CColour operator*(float factor) const {
    return CColour(r * factor, g * factor, b * factor, a * factor);
  }
  constexpr CColour operator+(const CColour& other) const {
    return CColour(r + other.r, g + other.g, b + other.b, a + other.a);
  }
  constexpr bool operator==(const CColour&) const = default;

 private:
  static constexpr float Clamp(float value) {
    return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
  }
};

std::ostream& operator<<(std::ostream& os, const CColour& colour);

// The nine loop and room colours: red, orange, yellow, green, cyan, blue,
// violet, magenta, white; every index from 9 up gives white. Alpha is 1.
CColour Palette(unsigned index);
