#pragma once

#include <cmath>
#include <ostream>

#include "geom/cpoint2.h"

// A 2D vector of floats, for the fractional quantities of the plan (box
// centres, directions, edge tests). Arithmetic runs in double precision and
// the result is stored back as float.
struct CVector2 {
  float x = 0.0f;
  float y = 0.0f;

  constexpr CVector2() = default;
  constexpr CVector2(float px, float py) : x(px), y(py) {}
  explicit CVector2(const CPoint2& p) : x(static_cast<float>(p.x)), y(static_cast<float>(p.y)) {}

  bool operator==(const CVector2&) const = default;

  CVector2& operator+=(const CVector2& o) {
    x = static_cast<float>(static_cast<double>(x) + o.x);
    y = static_cast<float>(static_cast<double>(y) + o.y);
    return *this;
  }
  CVector2& operator-=(const CVector2& o) {
    x = static_cast<float>(static_cast<double>(x) - o.x);
    y = static_cast<float>(static_cast<double>(y) - o.y);
    return *this;
  }
  CVector2& operator*=(float k) {
    x = static_cast<float>(static_cast<double>(x) * k);
    y = static_cast<float>(static_cast<double>(y) * k);
    return *this;
  }
  CVector2& operator/=(float k) {
    x = static_cast<float>(static_cast<double>(x) / k);
    y = static_cast<float>(static_cast<double>(y) / k);
    return *this;
  }
  CVector2 operator-() const { return {-x, -y}; }

  float GetLength() const {
    return static_cast<float>(std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y));
  }
  // Divides both coordinates by the length; the vector must not be zero.
  void Normalise() { *this /= GetLength(); }

  // The vector turned a quarter clockwise, (y, -x).
  CVector2 GetPerpendicularRight() const { return {y, -x}; }
  // The vector turned a quarter counter-clockwise, (-y, x).
  CVector2 GetPerpendicularLeft() const { return {-y, x}; }
};

inline CVector2 operator+(CVector2 a, const CVector2& b) { return a += b; }
inline CVector2 operator-(CVector2 a, const CVector2& b) { return a -= b; }
inline CVector2 operator*(CVector2 a, float k) { return a *= k; }
inline CVector2 operator/(CVector2 a, float k) { return a /= k; }

inline float Dot(const CVector2& a, const CVector2& b) {
  return static_cast<float>(static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y);
}
inline float GetDistance(const CVector2& a, const CVector2& b) { return (a - b).GetLength(); }

// Prints "(x,y)" with the stream's float formatting.
inline std::ostream& operator<<(std::ostream& os, const CVector2& v) {
  return os << '(' << v.x << ',' << v.y << ')';
}
