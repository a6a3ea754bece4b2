#include "nav/walker.h"

#include <algorithm>
#include <cmath>

#include "nav/reachability.h"

namespace quarn {
namespace {

// The longest move of one step, well under the thinnest wall (0.2 m).
constexpr float kMaxStepMetres = 0.05f;
// Passes of pushing the disc out of boxes within one step.
constexpr int kPushPasses = 3;

}  // namespace

Walker::Walker(WalkableGeometry world, const NavAgent& agent, const WalkerSettings& settings,
               const CVector3& feet, float yaw)
    : world_(std::move(world)), agent_(agent), settings_(settings), feet_(feet), yaw_(yaw) {
  feet_.z = SupportBelow(feet_.z + agent_.climb);
}

bool Walker::TouchesDisc(const NavBox& box, float x, float y) const {
  const float dx = std::max({box.min.x - x, 0.0f, x - box.max.x});
  const float dy = std::max({box.min.y - y, 0.0f, y - box.max.y});
  return dx * dx + dy * dy < agent_.radius * agent_.radius;
}

float Walker::SupportBelow(float limit) const {
  float support = 0.0f;
  for (const NavBox& box : world_.boxes) {
    if (box.max.z <= limit && box.max.z > support && TouchesDisc(box, feet_.x, feet_.y)) support = box.max.z;
  }
  return support;
}

void Walker::MoveAcross(float dx, float dy) {
  feet_.x += dx;
  feet_.y += dy;
  const float stepUp = agent_.climb + agent_.cellHeight / 2;
  const float low = feet_.z + (grounded_ ? stepUp : 0.0f);
  const float high = feet_.z + agent_.height;
  for (int pass = 0; pass < kPushPasses; ++pass) {
    bool pushed = false;
    for (const NavBox& box : world_.boxes) {
      if (box.max.z <= low || box.min.z >= high) continue;
      const float qx = std::clamp(feet_.x, box.min.x, box.max.x);
      const float qy = std::clamp(feet_.y, box.min.y, box.max.y);
      const float ex = feet_.x - qx, ey = feet_.y - qy;
      const float distance = std::sqrt(ex * ex + ey * ey);
      if (distance >= agent_.radius) continue;
      pushed = true;
      if (distance > 1e-6f) {
        const float push = (agent_.radius - distance) / distance;
        feet_.x += ex * push;
        feet_.y += ey * push;
        continue;
      }
      // The centre is inside the box: out by the nearest side.
      const float left = feet_.x - box.min.x + agent_.radius, right = box.max.x - feet_.x + agent_.radius;
      const float down = feet_.y - box.min.y + agent_.radius, up = box.max.y - feet_.y + agent_.radius;
      const float least = std::min({left, right, down, up});
      if (least == left) feet_.x -= left;
      else if (least == right) feet_.x += right;
      else if (least == down) feet_.y -= down;
      else feet_.y += up;
    }
    if (!pushed) break;
  }
  if (grounded_) feet_.z = std::max(feet_.z, SupportBelow(low));
}

void Walker::MoveUpDown(float seconds) {
  const float before = feet_.z;
  verticalSpeed_ -= settings_.gravity * seconds;
  feet_.z += verticalSpeed_ * seconds;
  if (verticalSpeed_ > 0) {
    // A ceiling stops a jump.
    for (const NavBox& box : world_.boxes) {
      const float head = before + agent_.height;
      if (box.min.z >= head && box.min.z < feet_.z + agent_.height && TouchesDisc(box, feet_.x, feet_.y)) {
        feet_.z = box.min.z - agent_.height;
        verticalSpeed_ = 0;
      }
    }
  }
  const float support = SupportBelow(before + 1e-3f);
  grounded_ = feet_.z <= support;
  if (grounded_) {
    feet_.z = support;
    verticalSpeed_ = 0;
  }
}

void Walker::Step(const WalkInput& input, float yaw, float seconds) {
  yaw_ = yaw;
  const float speed = input.run ? settings_.runSpeed : settings_.walkSpeed;
  float vx = input.forward * std::cos(yaw) + input.right * std::sin(yaw);
  float vy = input.forward * std::sin(yaw) - input.right * std::cos(yaw);
  const float length = std::sqrt(vx * vx + vy * vy);
  if (length > 1e-6f) {
    vx *= speed / length;
    vy *= speed / length;
  }
  if (input.jump && grounded_) {
    verticalSpeed_ = std::sqrt(2 * settings_.gravity * settings_.jumpHeight);
    grounded_ = false;
  }
  const float travel = std::max(std::sqrt(vx * vx + vy * vy), std::abs(verticalSpeed_) + 1.0f) * seconds;
  const int steps = std::max(1, static_cast<int>(std::ceil(travel / kMaxStepMetres)));
  const float dt = seconds / static_cast<float>(steps);
  for (int i = 0; i < steps; ++i) {
    MoveAcross(vx * dt, vy * dt);
    MoveUpDown(dt);
  }
}

std::optional<WalkPlace> FindWalkPlace(const TList<CFloor>& floors, const NavScale& scale, const CVector3& feet) {
  if (floors.GetSize() == 0) return std::nullopt;
  const int storey = std::clamp(static_cast<int>(std::floor(feet.z / scale.storeyHeight + 0.25f)), 0,
                                floors.GetSize() - 1);
  const float x = feet.x / scale.metresPerUnit, y = feet.y / scale.metresPerUnit;
  const CFloor& floor = floors[storey];
  for (int r = 0; r < floor.slabs.GetSize(); ++r) {
    for (int i = 0; i < floor.slabs[r].GetSize(); ++i) {
      const CBox3& slab = floor.slabs[r][i];
      if (slab.GetMin().x <= x && x < slab.GetMax().x && slab.GetMin().y <= y && y < slab.GetMax().y) {
        return WalkPlace{storey, r};
      }
    }
  }
  return std::nullopt;
}

WalkStart GetWalkStart(const Entrance& entrance, const NavScale& scale, float metres) {
  const CVector3 feet = GetOutsidePoint(entrance, scale, metres / scale.metresPerUnit);
  const CVector3 door = GetOutsidePoint(entrance, scale, 0.0f);
  return {feet, std::atan2(door.y - feet.y, door.x - feet.x)};
}

}  // namespace quarn
