// The outline file reader on arbitrary text, then the generation of every
// outline it accepts: no assertion fires, every accepted loop passes the
// check again, and on every storey the rooms partition the outline (no two
// rooms overlap, no room leaves the outline, together they cover its area).

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>

#include "building/cbuilding.h"
#include "building/cboxscore.h"
#include "fuzz/fuzz_support.h"
#include "geom/cbox2list.h"
#include "geom/outlinecheck.h"

namespace {

using quarn::fuzz::Expect;

// Loops whose extents span more cells than this are read and checked but not
// generated, so each input stays in milliseconds.
constexpr int kMaxGeneratedExtentArea = 256;

int TotalArea(const CBox2List& boxes) {
  int area = 0;
  for (int i = 0; i < boxes.GetSize(); ++i) area += boxes[i].GetArea();
  return area;
}

void ExpectRoomsPartition(const CFloor& floor, const CBox2List& outlineBoxes) {
  CBox2List roomBoxes;
  for (int r = 0; r < floor.rooms.GetSize(); ++r) {
    const CBox2List boxes = floor.rooms[r].outline.GetAsBoxList();
    for (int i = 0; i < boxes.GetSize(); ++i) roomBoxes.Add(boxes[i]);
  }
  Expect(!roomBoxes.OverlapsSelf(), "no two rooms overlap");
  Expect(roomBoxes.Difference(outlineBoxes).GetSize() == 0, "every room lies in the outline");
  Expect(TotalArea(roomBoxes) == TotalArea(outlineBoxes), "the rooms cover the outline");
}

void Generate(const CPolygon2& loop) {
  const CBox2 extents = loop.GetExtents();
  if (extents.GetArea() > kMaxGeneratedExtentArea) return;
  const CFloorSpec spec(loop, 1, 0, 45);
  const CBuilding building(spec, STEP_BUDGET_UNLIMITED);
  const CBox2List outlineBoxes = loop.GetAsBoxList();
  Expect(!outlineBoxes.OverlapsSelf(), "the outline's boxes are disjoint");
  for (int f = 0; f < building.floors.GetSize(); ++f) {
    ExpectRoomsPartition(building.floors[f], outlineBoxes);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quarn::fuzz::AbortOnAssertions();

  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const quarn::OutlineFile file = quarn::ReadOutlineFile(in);
  if (!file.IsValid()) {
    Expect(file.loops.GetSize() == 0, "a refused file yields no loops");
    return 0;
  }
  for (int i = 0; i < file.loops.GetSize(); ++i) {
    const CPolygon2& loop = file.loops[i];
    Expect(quarn::CheckOutline(loop).IsValid(), "an accepted loop passes the check");
    Expect(loop.IsClockwise(), "an accepted loop is clockwise");
    Generate(loop);
  }
  return 0;
}
