#pragma once

#include <algorithm>
#include <cmath>
#include <ostream>

#include "qassert.h"

// A 3D vector or point of three 32-bit floats in world units (z up). Every
// operation works in float, component by component where it says so.
struct CVector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  constexpr CVector3() = default;
  constexpr CVector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  // All three components set to v.
  constexpr explicit CVector3(float v) : x(v), y(v), z(v) {}

  // Component by axis: 0 x, 1 y, 2 z; asks axis < 3.
  float& operator[](unsigned axis) {
    QUARN_ASSERT_FATAL(axis < 3);
    return axis == 0 ? x : axis == 1 ? y : z;
  }
  float operator[](unsigned axis) const {
    QUARN_ASSERT_FATAL(axis < 3);
    return axis == 0 ? x : axis == 1 ? y : z;
  }

  CVector3& operator+=(const CVector3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
  }
  CVector3& operator-=(const CVector3& o) {
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
  }
  // Component-wise product.
  CVector3& operator*=(const CVector3& o) {
    x *= o.x;
    y *= o.y;
    z *= o.z;
    return *this;
  }
  CVector3& operator*=(float s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
  CVector3& operator/=(float s) {
    x /= s;
    y /= s;
    z /= s;
    return *this;
  }

  float GetSquaredLength() const { return x * x + y * y + z * z; }
  float GetLength() const { return std::sqrt(GetSquaredLength()); }
  // This vector divided by its length; a zero vector gives non-finite components.
  CVector3 GetNormalised() const;
};

inline CVector3 operator+(CVector3 a, const CVector3& b) { return a += b; }
inline CVector3 operator-(CVector3 a, const CVector3& b) { return a -= b; }
inline CVector3 operator*(CVector3 a, const CVector3& b) { return a *= b; }
inline CVector3 operator*(CVector3 a, float s) { return a *= s; }
inline CVector3 operator*(float s, CVector3 a) { return a *= s; }
inline CVector3 operator/(CVector3 a, float s) { return a /= s; }
inline CVector3 operator-(const CVector3& a) { return CVector3(-a.x, -a.y, -a.z); }

inline bool operator==(const CVector3& a, const CVector3& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline bool operator!=(const CVector3& a, const CVector3& b) { return !(a == b); }

inline float Dot(const CVector3& a, const CVector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline CVector3 Cross(const CVector3& a, const CVector3& b) {
  return CVector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

inline float GetDistance(const CVector3& a, const CVector3& b) { return (a - b).GetLength(); }

inline CVector3 Min(const CVector3& a, const CVector3& b) {
  return CVector3(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z));
}
inline CVector3 Max(const CVector3& a, const CVector3& b) {
  return CVector3(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z));
}

inline CVector3 CVector3::GetNormalised() const { return *this / GetLength(); }

// Prints (x,y,z) with the stream's number format.
inline std::ostream& operator<<(std::ostream& os, const CVector3& v) {
  return os << '(' << v.x << ',' << v.y << ',' << v.z << ')';
}
