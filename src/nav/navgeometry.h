#pragma once

#include <vector>

#include "building/cfloor.h"
#include "finish/finishedbuilding.h"
#include "furnish/furniture.h"
#include "geom/cbox3.h"
#include "geom/cvector3.h"
#include "programme/roomtype.h"
#include "tlist.h"

namespace quarn {

// How grid units become metres: plan x and y by metresPerUnit, heights so
// that a storey (kStoreyRise grid units) is storeyHeight metres, storey k
// standing at k x storeyHeight. Everything navigation measures is in
// metres, z up.
struct NavScale {
  float metresPerUnit = 1.0f;
  float storeyHeight = 3.0f;

  // A point of storey `storey`'s frame (grid units) in metres.
  CVector3 ToMetres(const CVector3& point, int storey) const;
  // A plan point (grid units) at height z metres.
  CVector3 PlanToMetres(float x, float y, float z) const;
};

// A solid axis-aligned box in metres (min < max on every axis).
struct NavBox {
  CVector3 min;
  CVector3 max;
};

// What a walker stands on and bumps into, as solid boxes in metres: every
// storey's floor slabs (less their stair openings), wall pieces (a wall
// whose door the programme closed is its uncut box), the stairs' steps, the
// furniture, and the ground: a slab whose top is at z 0, reaching
// kGroundMargin metres past the building on every side.
struct WalkableGeometry {
  std::vector<NavBox> boxes;
  CVector3 min;  // bounds of every box
  CVector3 max;
};

inline constexpr float kGroundMargin = 2.0f;
inline constexpr float kGroundThickness = 0.1f;

// The walkable geometry of one finished building; typed and furnished are
// optional (null: every door between rooms open, no furniture).
WalkableGeometry GetWalkableGeometry(const TList<CFloor>& floors, const FinishedBuilding& finished,
                                     const TypedBuilding* typed, const FurnishedBuilding* furnished,
                                     const NavScale& scale);

// True when the wall stands between two rooms and the programme keeps its
// door (or there is no programme).
bool IsDoorOpen(const CFloor& floor, int storey, int wall, const TypedBuilding* typed);

}  // namespace quarn
