#include "building/cwall.h"

#include <algorithm>

#include "building/croom.h"
#include "qassert.h"

namespace {

constexpr double kHalfThickness = 0.1;
constexpr double kHeight = quarn::kStoreyRise;
constexpr double kDoorHeight = 1.1;

// Coordinates of the wall box are worked out in double and stored as float.
CVector3 Point(double x, double y, double z) {
  return CVector3(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

CBox3 WallBox(const CEdge2& edge) {
  const float x1 = static_cast<float>(edge.GetPoint(1).x);
  const float y1 = static_cast<float>(edge.GetPoint(1).y);
  const float x2 = static_cast<float>(edge.GetPoint(2).x);
  const float y2 = static_cast<float>(edge.GetPoint(2).y);
  if (y1 == y2) {
    return CBox3(Point(std::min(x1, x2) - kHalfThickness, y1 - kHalfThickness, 0.0),
                 Point(std::max(x1, x2) + kHalfThickness, y1 + kHalfThickness, kHeight));
  }
  QUARN_ASSERT(x1 == x2);
  return CBox3(Point(x1 - kHalfThickness, std::min(y1, y2) + kHalfThickness, 0.0),
               Point(x1 + kHalfThickness, std::max(y1, y2) - kHalfThickness, kHeight));
}

}  // namespace

const CVector3 CWall::WINDOW_HALF_SIZE(0.6f, 0.6f, 0.4f);
const CVector3 CWall::DOOR_HALF_SIZE(0.5f, 0.5f, static_cast<float>(kHeight * 0.5));

CWall::CWall(CFloor* floor_, CRoom& room, int edgeIndex)
    : pair(&room), floor(floor_), edge(room.GetWallOutline().GetEdge(edgeIndex)) {
  const CBox3 box = WallBox(edge);
  solid.Add(box);
  pieces.Add(box);
}

void CWall::CutOpening() {
  const CBox3 box = GetSolidBox();
  CVector3 centre = (box.GetMin() + box.GetMax()) / 2.0f;
  if (GetRoomCount() == 1) {
    if (GetLength() > kWindowWallLength) {
      pieces = box.Difference(CBox3(centre - WINDOW_HALF_SIZE, centre + WINDOW_HALF_SIZE));
    }
    return;
  }
  pieces = box.Difference(GetDoorBox());
}

CBox3 CWall::GetDoorBox() const {
  const CBox3 box = GetSolidBox();
  CVector3 centre = (box.GetMin() + box.GetMax()) / 2.0f;
  // The door box reaches below the floor, so the doorway is open from z = 0.
  centre.z = static_cast<float>(centre.z - (kHeight - kDoorHeight) * 0.5);
  return CBox3(centre - DOOR_HALF_SIZE, centre + DOOR_HALF_SIZE);
}

CBox3 CWall::GetSolidBox() const { return solid[0]; }

float CWall::GetLength() const { return edge.GetDirection().GetLength(); }

CWall::Opening CWall::GetOpening() const {
  const bool cut = pieces.GetSize() != 1 || !(pieces[0] == solid[0]);
  if (!cut) return Opening::kNone;
  return GetRoomCount() == 2 ? Opening::kDoor : Opening::kWindow;
}
