#pragma once

#include <cstdint>
#include <cstdlib>
#include <ostream>

#include "qassert.h"

// A point on the plan's integer grid: grid-line coordinates in world units,
// axis 0 = x (right), axis 1 = y (up). A plain value type.
struct CPoint2 {
  std::int32_t x = 0;
  std::int32_t y = 0;

  constexpr CPoint2() = default;
  constexpr CPoint2(std::int32_t px, std::int32_t py) : x(px), y(py) {}
  // The point (v, v).
  constexpr explicit CPoint2(std::int32_t v) : x(v), y(v) {}

  void Set(std::int32_t px, std::int32_t py) {
    x = px;
    y = py;
  }

  // Coordinate by axis; axis must be 0 or 1.
  std::int32_t& operator[](int axis) {
    QUARN_ASSERT_FATAL(axis == 0 || axis == 1);
    return axis == 0 ? x : y;
  }
  std::int32_t operator[](int axis) const {
    QUARN_ASSERT_FATAL(axis == 0 || axis == 1);
    return axis == 0 ? x : y;
  }

  bool operator==(const CPoint2&) const = default;

  CPoint2& operator+=(const CPoint2& o) {
    x += o.x;
    y += o.y;
    return *this;
  }
  CPoint2& operator-=(const CPoint2& o) {
    x -= o.x;
    y -= o.y;
    return *this;
  }
  CPoint2& operator*=(std::int32_t k) {
    x *= k;
    y *= k;
    return *this;
  }
  // Integer division, truncating toward zero.
  CPoint2& operator/=(std::int32_t k) {
    x /= k;
    y /= k;
    return *this;
  }

  CPoint2 Abs() const { return {std::abs(x), std::abs(y)}; }
};

inline CPoint2 operator+(CPoint2 a, const CPoint2& b) { return a += b; }
inline CPoint2 operator-(CPoint2 a, const CPoint2& b) { return a -= b; }
inline CPoint2 operator*(CPoint2 a, std::int32_t k) { return a *= k; }
inline CPoint2 operator/(CPoint2 a, std::int32_t k) { return a /= k; }

// Component-wise minimum and maximum; each component is chosen on its own.
inline CPoint2 Min(const CPoint2& a, const CPoint2& b) {
  return {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y};
}
inline CPoint2 Max(const CPoint2& a, const CPoint2& b) {
  return {a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y};
}

// Prints "(x,y)" with no spaces and no line end.
inline std::ostream& operator<<(std::ostream& os, const CPoint2& p) {
  return os << '(' << p.x << ',' << p.y << ')';
}
