#include "geom/cedge2.h"

bool CEdge2::Intersects(const CEdge2& other) const {
  const CVector2 a0(p1);
  const CVector2 ad = GetDirection();
  const CVector2 b0(other.p1);
  const CVector2 bd = other.GetDirection();
  const CVector2 an = ad.GetPerpendicularRight();
  const CVector2 bn = bd.GetPerpendicularRight();

  const float d1 = Dot(ad, bn);
  const float d2 = Dot(bd, an);
  constexpr double kParallel = 0.001;
  if ((-kParallel < d1 && d1 < kParallel) || (-kParallel < d2 && d2 < kParallel)) return false;

  const float t = static_cast<float>(static_cast<double>(Dot(b0 - a0, bn)) / d1);
  const float u = static_cast<float>(static_cast<double>(Dot(a0 - b0, an)) / d2);
  return t >= 0.0f && t <= 1.0f && u >= 0.0f && u <= 1.0f;
}
