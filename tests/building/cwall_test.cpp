#include "building/cwall.h"

#include <vector>

#include <gtest/gtest.h>

#include "building/cfloor.h"
#include "building_support.h"
#include "support/assert_recorder.h"

namespace {

using quarn::test::Box3Values;
using quarn::test::BoxOutline;
using quarn::test::SameBox3;

struct WallCase {
  const char* name;
  CPolygon2 room;  // the wall stands on this room's edge
  int edge;
  bool shared;  // a second room lies on the other side
  Box3Values solid;
  std::vector<Box3Values> pieces;
};

// Box outlines run (x0,y1) (x1,y1) (x1,y0) (x0,y0): edge 2 runs along the
// bottom towards -x, edge 3 up the left side.
TEST(Wall, BoxesAndOpeningsFollowTheEdge) {
  const std::vector<WallCase> cases = {
      {"along x reaches past both ends", BoxOutline(0, 0, 5, 5), 2, false,
       {-0.1f, -0.1f, 0, 5.1f, 0.1f, 1.5f},
       {{-0.1f, -0.1f, 0, 1.9f, 0.1f, 1.5f},
        {3.1f, -0.1f, 0, 5.1f, 0.1f, 1.5f},
        {1.9f, -0.1f, 0, 3.1f, 0.1f, 0.35f},
        {1.9f, -0.1f, 1.15f, 3.1f, 0.1f, 1.5f}}},
      {"along y stops short of both ends", BoxOutline(0, 0, 5, 5), 3, false,
       {-0.1f, 0.1f, 0, 0.1f, 4.9f, 1.5f},
       {{-0.1f, 0.1f, 0, 0.1f, 1.9f, 1.5f},
        {-0.1f, 3.1f, 0, 0.1f, 4.9f, 1.5f},
        {-0.1f, 1.9f, 0, 0.1f, 3.1f, 0.35f},
        {-0.1f, 1.9f, 1.15f, 0.1f, 3.1f, 1.5f}}},
      {"outer wall of length 2: two posts, sill and lintel", BoxOutline(0, 0, 2, 1), 2, false,
       {-0.1f, -0.1f, 0, 2.1f, 0.1f, 1.5f},
       {{-0.1f, -0.1f, 0, 0.4f, 0.1f, 1.5f},
        {1.6f, -0.1f, 0, 2.1f, 0.1f, 1.5f},
        {0.4f, -0.1f, 0, 1.6f, 0.1f, 0.35f},
        {0.4f, -0.1f, 1.15f, 1.6f, 0.1f, 1.5f}}},
      {"outer wall of length 1 has no window", BoxOutline(0, 0, 1, 1), 2, false,
       {-0.1f, -0.1f, 0, 1.1f, 0.1f, 1.5f},
       {{-0.1f, -0.1f, 0, 1.1f, 0.1f, 1.5f}}},
      {"door between two rooms, open from the floor", BoxOutline(0, 0, 4, 1), 2, true,
       {-0.1f, -0.1f, 0, 4.1f, 0.1f, 1.5f},
       {{-0.1f, -0.1f, 0, 1.5f, 0.1f, 1.5f},
        {2.5f, -0.1f, 0, 4.1f, 0.1f, 1.5f},
        {1.5f, -0.1f, 1.3f, 2.5f, 0.1f, 1.5f}}},
      {"door wider than a short wall leaves the part above it", BoxOutline(0, 0, 1, 1), 3, true,
       {-0.1f, 0.1f, 0, 0.1f, 0.9f, 1.5f},
       {{-0.1f, 0.1f, 1.3f, 0.1f, 0.9f, 1.5f}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CRoom room(nullptr, c.room, true);
    CRoom other(nullptr, BoxOutline(-9, -9, -8, -8), true);
    CWall wall(nullptr, room, c.edge);
    EXPECT_EQ(wall.edge, room.outline.GetEdge(c.edge));
    if (c.shared) wall.AddRoom(other);
    wall.CutOpening();
    ASSERT_EQ(wall.solid.GetSize(), 1);
    EXPECT_TRUE(SameBox3(wall.GetSolidBox(), c.solid));
    const TList<CBox3> pieces = wall.GetPieces();
    ASSERT_EQ(pieces.GetSize(), static_cast<int>(c.pieces.size()));
    for (int i = 0; i < pieces.GetSize(); ++i) EXPECT_TRUE(SameBox3(pieces[i], c.pieces[i])) << "piece " << i;
  }
}

TEST(Wall, LengthIsTheEdgeLength) {
  CRoom room(nullptr, BoxOutline(0, 0, 3, 7), true);
  EXPECT_FLOAT_EQ(CWall(nullptr, room, 0).GetLength(), 3.0f);
  EXPECT_FLOAT_EQ(CWall(nullptr, room, 1).GetLength(), 7.0f);
}

TEST(Wall, AWallOnASlantedEdgeIsReported) {
  CRoom room(nullptr, quarn::test::Polygon({{0, 0}, {2, 3}, {2, 0}}), true);
  EXPECT_QUARN_ASSERTION(CWall(nullptr, room, 0), "cwall");
}

}  // namespace
