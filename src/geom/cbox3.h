#pragma once

#include <array>
#include <ostream>

#include "geom/cvector3.h"
#include "tlist.h"

class CBox2;

// The number of faces of a CBox3, numbered as Side.
inline constexpr unsigned kBoxFaceCount = 6;

// One corner of a filled face as it is drawn and exported: its position,
// the face's outward unit normal and its texture coordinate.
struct CFaceVertex3 {
  CVector3 position;
  CVector3 normal;
  std::array<float, 2> texCoord;
};

// One face of a CBox3: two opposite corners of the face rectangle (equal on
// the face's axis) and the side it lies on (0..5, numbered as Side).
struct CFace3 {
  CVector3 p1;
  CVector3 p2;
  unsigned side = 0;

  // The four corners in drawing order: p1, p1*u + p2*w, p2, p1*w + p2*u,
  // with u and w the side's 0/1 selectors. The order runs counter-clockwise
  // seen from outside on sides 0, 1, 4 and 5, clockwise on sides 2 and 3.
  std::array<CVector3, 4> GetQuad() const;
  // The corners of GetQuad with the side's normal and their texture
  // coordinates: the one description of a face that both the view and the
  // exports use.
  std::array<CFaceVertex3, 4> GetVertices() const;
};

bool operator==(const CFace3& a, const CFace3& b);
std::ostream& operator<<(std::ostream& os, const CFace3& f);

// The outward unit normal of a 3D side 0..5; (0,0,0) for any other value.
CVector3 GetSideNormal(unsigned side);

// Texture coordinate of a vertex on a face of the given side: 0.3 times the
// vertex's two coordinates off the side's axis (lower axis first), so a
// texture repeats every 1/0.3 grid units whatever the box's size.
std::array<float, 2> GetFaceTexCoord(unsigned side, const CVector3& vertex);

// An axis-aligned box in 3D with float coordinates: plan x and y in grid
// units, z the height. After construction minCorner < maxCorner on every
// axis (constructors assert it). Faces are numbered like Side: 0 x min,
// 1 x max, 2 y min, 3 y max, 4 z min, 5 z max.
class CBox3 {
 public:
  // The plan box extruded between heights z1 and z2 (any order, must differ).
  CBox3(const CBox2& box, float z1, float z2);
  // From two opposite corners in any order; they must differ on all three axes.
  CBox3(const CVector3& a, const CVector3& b);

  void Set(const CVector3& a, const CVector3& b);

  CVector3 GetMin() const { return minCorner; }
  CVector3 GetMax() const { return maxCorner; }

  // Open-interval overlap on axis 0..2: boxes that only touch do not overlap.
  bool OverlapsOnAxis(const CBox3& other, unsigned axis) const;
  // Boxes covering this box outside other, in the order x low, x high,
  // y low, y high, z low, z high, empty slabs left out; the box itself when
  // the two do not overlap.
  TList<CBox3> Difference(const CBox3& other) const;
  // The common box, or an empty list when the boxes do not overlap.
  TList<CBox3> Intersection(const CBox3& other) const;
  // The face on side 0..5.
  CFace3 GetFace(unsigned side) const;

 private:
  TList<CBox3> Clip(const CBox3& other, bool keepOutside) const;

  CVector3 minCorner;
  CVector3 maxCorner;
};

bool operator==(const CBox3& a, const CBox3& b);
// Prints min-max, for example (0,0,0)-(2,1,3).
std::ostream& operator<<(std::ostream& os, const CBox3& b);
