#include "geom/cbox3.h"

#include "geom/cbox2.h"
#include "qassert.h"

namespace {

constexpr unsigned kSideCount = kBoxFaceCount;
constexpr float kTexScale = 0.3f;

bool DifferOnAllAxes(const CVector3& a, const CVector3& b) {
  return a.x != b.x && a.y != b.y && a.z != b.z;
}

}  // namespace

std::array<CVector3, 4> CFace3::GetQuad() const {
  // Selectors that pick, per component, the corner a vertex takes from p1
  // (u) or p2 (w) so the four vertices walk around the face rectangle.
  static const CVector3 kU[kSideCount] = {{0, 1, 0}, {0, 0, 1}, {1, 0, 0},
                                          {0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
  static const CVector3 kW[kSideCount] = {{1, 0, 1}, {1, 1, 0}, {0, 1, 1},
                                          {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
  QUARN_ASSERT_FATAL(side < kSideCount);
  const CVector3& u = kU[side];
  const CVector3& w = kW[side];
  return {p1, p1 * u + p2 * w, p2, p1 * w + p2 * u};
}

std::array<CFaceVertex3, 4> CFace3::GetVertices() const {
  const CVector3 normal = GetSideNormal(side);
  std::array<CFaceVertex3, 4> vertices;
  const std::array<CVector3, 4> quad = GetQuad();
  for (std::size_t i = 0; i < quad.size(); ++i) {
    vertices[i] = CFaceVertex3{quad[i], normal, GetFaceTexCoord(side, quad[i])};
  }
  return vertices;
}

bool operator==(const CFace3& a, const CFace3& b) {
  return a.p1 == b.p1 && a.p2 == b.p2 && a.side == b.side;
}

std::ostream& operator<<(std::ostream& os, const CFace3& f) {
  return os << f.p1 << '-' << f.p2 << " side " << f.side;
}

CVector3 GetSideNormal(unsigned side) {
  if (side >= kSideCount) return CVector3(0.0f);
  CVector3 normal(0.0f);
  normal[side / 2] = side % 2 == 1 ? 1.0f : -1.0f;
  return normal;
}

std::array<float, 2> GetFaceTexCoord(unsigned side, const CVector3& vertex) {
  QUARN_ASSERT_FATAL(side < kSideCount);
  const unsigned axis = side / 2;
  const unsigned s = axis == 0 ? 1 : 0;
  const unsigned t = axis == 2 ? 1 : 2;
  return {kTexScale * vertex[s], kTexScale * vertex[t]};
}

CBox3::CBox3(const CBox2& box, float z1, float z2) {
  QUARN_ASSERT(z1 != z2);
  const CVector3 a(static_cast<float>(box.GetMin().x), static_cast<float>(box.GetMin().y), z1);
  const CVector3 b(static_cast<float>(box.GetMax().x), static_cast<float>(box.GetMax().y), z2);
  minCorner = Min(a, b);
  maxCorner = Max(a, b);
}

CBox3::CBox3(const CVector3& a, const CVector3& b) { Set(a, b); }

void CBox3::Set(const CVector3& a, const CVector3& b) {
  QUARN_ASSERT(DifferOnAllAxes(a, b));
  minCorner = Min(a, b);
  maxCorner = Max(a, b);
}

bool CBox3::OverlapsOnAxis(const CBox3& other, unsigned axis) const {
  return other.maxCorner[axis] > minCorner[axis] && other.minCorner[axis] < maxCorner[axis];
}

TList<CBox3> CBox3::Difference(const CBox3& other) const { return Clip(other, true); }

TList<CBox3> CBox3::Intersection(const CBox3& other) const { return Clip(other, false); }

TList<CBox3> CBox3::Clip(const CBox3& other, bool keepOutside) const {
  TList<CBox3> pieces;
  if (!(OverlapsOnAxis(other, 0) && OverlapsOnAxis(other, 1) && OverlapsOnAxis(other, 2))) {
    if (keepOutside) pieces.Add(*this);
    return pieces;
  }
  CBox3 rest = *this;
  for (unsigned axis = 0; axis < 3; ++axis) {
    const float low = other.minCorner[axis];
    const float high = other.maxCorner[axis];
    if (low >= rest.minCorner[axis] && low <= rest.maxCorner[axis]) {
      CVector3 p = rest.maxCorner;
      p[axis] = low;
      if (keepOutside && DifferOnAllAxes(rest.minCorner, p)) pieces.Add(CBox3(rest.minCorner, p));
      rest.minCorner[axis] = low;
    }
    if (high >= rest.minCorner[axis] && high <= rest.maxCorner[axis]) {
      CVector3 p = rest.minCorner;
      p[axis] = high;
      if (keepOutside && DifferOnAllAxes(p, rest.maxCorner)) pieces.Add(CBox3(p, rest.maxCorner));
      rest.maxCorner[axis] = high;
    }
  }
  if (!keepOutside) pieces.Add(rest);
  return pieces;
}

CFace3 CBox3::GetFace(unsigned side) const {
  QUARN_ASSERT_FATAL(side < kSideCount);
  const unsigned axis = side / 2;
  CVector3 a = minCorner;
  CVector3 b = maxCorner;
  const float c = side % 2 == 1 ? maxCorner[axis] : minCorner[axis];
  a[axis] = c;
  b[axis] = c;
  return CFace3{a, b, side};
}

bool operator==(const CBox3& a, const CBox3& b) {
  return a.GetMin() == b.GetMin() && a.GetMax() == b.GetMax();
}

std::ostream& operator<<(std::ostream& os, const CBox3& b) {
  return os << b.GetMin() << '-' << b.GetMax();
}
