#include "nav/navgeometry.h"

#include <algorithm>
#include <limits>

namespace quarn {
namespace {

NavBox ToMetres(const CBox3& box, int storey, const NavScale& scale) {
  return {scale.ToMetres(box.GetMin(), storey), scale.ToMetres(box.GetMax(), storey)};
}

void AddBoxes(const TList<CBox3>& boxes, int storey, const NavScale& scale,
              std::vector<NavBox>& into) {
  for (int i = 0; i < boxes.GetSize(); ++i) into.push_back(ToMetres(boxes[i], storey, scale));
}

}  // namespace

CVector3 NavScale::ToMetres(const CVector3& point, int storey) const {
  const float rise = storeyHeight / kStoreyRise;
  return {point.x * metresPerUnit, point.y * metresPerUnit,
          point.z * rise + static_cast<float>(storey) * storeyHeight};
}

CVector3 NavScale::PlanToMetres(float x, float y, float z) const {
  return {x * metresPerUnit, y * metresPerUnit, z};
}

bool IsDoorOpen(const CFloor& floor, int storey, int wall, const TypedBuilding* typed) {
  if (floor.walls[wall].GetRoomCount() != 2) return false;
  if (!typed) return true;
  const auto k = static_cast<std::size_t>(storey);
  const auto w = static_cast<std::size_t>(wall);
  return k >= typed->doorKept.size() || w >= typed->doorKept[k].size() || typed->doorKept[k][w];
}

WalkableGeometry GetWalkableGeometry(const TList<CFloor>& floors, const FinishedBuilding& finished,
                                     const TypedBuilding* typed, const FurnishedBuilding* furnished,
                                     const NavScale& scale) {
  WalkableGeometry geometry;
  std::vector<NavBox>& boxes = geometry.boxes;
  for (int k = 0; k < floors.GetSize(); ++k) {
    const CFloor& floor = floors[k];
    for (int r = 0; r < floor.rooms.GetSize(); ++r) {
      AddBoxes(finished.GetSlabs(floor, k, r), k, scale, boxes);
    }
    for (int w = 0; w < floor.walls.GetSize(); ++w) {
      const bool closed = floor.walls[w].GetRoomCount() == 2 && !IsDoorOpen(floor, k, w, typed);
      AddBoxes(closed ? floor.walls[w].solid : finished.GetWallPieces(floor, k, w), k, scale, boxes);
    }
  }
  for (const std::optional<Stair>& stair : finished.stairs) {
    if (stair) AddBoxes(stair->steps, stair->lower, scale, boxes);
  }
  if (furnished) {
    for (const FurniturePiece& piece : furnished->pieces) AddBoxes(piece.boxes, piece.storey, scale, boxes);
  }
  if (boxes.empty()) return geometry;
  constexpr float kHuge = std::numeric_limits<float>::max();
  CVector3 low(kHuge), high(-kHuge);
  for (const NavBox& box : boxes) {
    for (unsigned axis = 0; axis < 3; ++axis) {
      low[axis] = std::min(low[axis], box.min[axis]);
      high[axis] = std::max(high[axis], box.max[axis]);
    }
  }
  boxes.push_back({CVector3(low.x - kGroundMargin, low.y - kGroundMargin, -kGroundThickness),
                   CVector3(high.x + kGroundMargin, high.y + kGroundMargin, 0.0f)});
  geometry.min = CVector3(low.x - kGroundMargin, low.y - kGroundMargin, std::min(low.z, -kGroundThickness));
  geometry.max = CVector3(high.x + kGroundMargin, high.y + kGroundMargin, std::max(high.z, 0.0f));
  return geometry;
}

}  // namespace quarn
