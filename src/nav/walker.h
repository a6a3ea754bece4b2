#pragma once

#include <optional>
#include <vector>

#include "building/cfloor.h"
#include "geom/cvector3.h"
#include "nav/navgeometry.h"
#include "nav/navmesh.h"
#include "tlist.h"

namespace quarn {

// What the walker is asked to do in one frame: walk forward (+1) or back
// (-1), sideways right (+1) or left (-1), run instead of walk, jump.
struct WalkInput {
  float forward = 0.0f;
  float right = 0.0f;
  bool run = false;
  bool jump = false;
};

// How a walker moves, in metres, seconds and metres per second.
struct WalkerSettings {
  float eyeHeight = 1.6f;
  float walkSpeed = 1.4f;
  float runSpeed = 3.0f;
  float jumpHeight = 0.4f;
  float gravity = 9.81f;
};

// A person walking through a building's walkable geometry: an upright
// cylinder of the agent's radius and height standing with its feet at
// GetFeet() (metres, z up), turned to yaw (radians, 0 along +x, counter-
// clockwise). It collides with every box of the geometry (walls, closed
// doors, sills, slabs, stair sides, furniture) and slides along them, steps
// up onto anything no higher than the agent's climb (plus half a height
// cell, as the navigation mesh samples heights: the stairs' last riser
// counts), and falls under gravity. The ground (z 0) reaches everywhere.
class Walker {
 public:
  Walker(WalkableGeometry world, const NavAgent& agent, const WalkerSettings& settings,
         const CVector3& feet, float yaw);

  // Advances the walker by seconds (any length: it moves in short steps)
  // with the input, turned to yaw.
  void Step(const WalkInput& input, float yaw, float seconds);

  CVector3 GetFeet() const { return feet_; }
  CVector3 GetEyes() const { return {feet_.x, feet_.y, feet_.z + settings_.eyeHeight}; }
  float GetYaw() const { return yaw_; }
  bool IsOnGround() const { return grounded_; }

 private:
  void MoveAcross(float dx, float dy);
  void MoveUpDown(float seconds);
  // The highest top under the walker's disc no higher than limit (the
  // ground's 0 at least).
  float SupportBelow(float limit) const;
  bool TouchesDisc(const NavBox& box, float x, float y) const;

  WalkableGeometry world_;
  NavAgent agent_;
  WalkerSettings settings_;
  CVector3 feet_;
  float yaw_ = 0.0f;
  float verticalSpeed_ = 0.0f;
  bool grounded_ = true;
};

// Where a walker's feet (metres) are: the storey whose floor is nearest
// below them and the room of that storey whose floor the point lies over,
// or none outside every room.
struct WalkPlace {
  int storey = 0;
  int room = 0;
  bool operator==(const WalkPlace&) const = default;
};
std::optional<WalkPlace> FindWalkPlace(const TList<CFloor>& floors, const NavScale& scale, const CVector3& feet);

// Where a walker starts: on the ground `metres` in front of the entrance's
// middle, turned to face it (yaw in radians).
struct WalkStart {
  CVector3 feet;
  float yaw = 0.0f;
};
WalkStart GetWalkStart(const Entrance& entrance, const NavScale& scale, float metres);

}  // namespace quarn
