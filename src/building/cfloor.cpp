#include "building/cfloor.h"

#include "building/cbuilding.h"
#include "building/designrandom.h"

namespace {

// Floor slabs are 0.1 thick, centred on the floor level z = 0.
constexpr float kSlabHalfThickness = 0.05f;

}  // namespace

const CColour CFloor::WALL_COLOUR(0.8f, 0.5f, 0.0f, 1.0f);
const CColour CFloor::SLAB_COLOUR(0.5f, 0.6f, 0.7f, 1.0f);

CRoom::CRoom(CFloor* floor_, const CPolygon2& outline_, bool complete_)
    : floor(floor_), outline(outline_), complete(complete_) {
  outline.RemoveSplits(0);
  outline.RemoveSplits(1);
  wallOutline = outline;
}

CFloor::CFloor(CBuilding& building_) : spec(&building_.GetSpec()), building(&building_) {
  quarn::TheDesignRandom().Seed(spec->GetMaxRoomSize() *
                                (static_cast<std::uint32_t>(building->floors.GetSize()) + 1u));
  AddPendingRegion(CLattice2(CPolygon2(spec->outline)));
  while (pendingRegions.GetSize() > 0 && !building->IsBudgetExhausted()) DesignStep();
  InsertNeighbourSplits();
  BuildWalls();
}

CFloor::CFloor(const CFloor& other)
    : rooms(other.rooms),
      pendingRegions(other.pendingRegions),
      candidateBoxes(other.candidateBoxes),
      candidateScores(other.candidateScores),
      walls(other.walls),
      slabs(other.slabs),
      spec(nullptr),
      building(nullptr) {
  RepointBackReferences(other);
}

CFloor& CFloor::operator=(const CFloor& other) {
  if (this == &other) return *this;
  rooms = other.rooms;
  pendingRegions = other.pendingRegions;
  candidateBoxes = other.candidateBoxes;
  candidateScores = other.candidateScores;
  walls = other.walls;
  slabs = other.slabs;
  spec = nullptr;
  building = nullptr;
  RepointBackReferences(other);
  return *this;
}

int CFloor::GetRoomIndex(const CRoom* room) const {
  for (int i = 0; i < rooms.GetSize(); ++i) {
    if (&rooms[i] == room) return i;
  }
  return TLIST_NO_INDEX;
}

// The copied rooms and walls still point at the source floor and its rooms;
// each is mapped to the room at the same index here.
void CFloor::RepointBackReferences(const CFloor& source) {
  auto map = [&](CRoom* room) -> CRoom* {
    if (room == nullptr) return nullptr;
    const int index = source.GetRoomIndex(room);
    return index == TLIST_NO_INDEX ? nullptr : &rooms[index];
  };
  for (int i = 0; i < rooms.GetSize(); ++i) rooms[i].floor = this;
  for (int i = 0; i < walls.GetSize(); ++i) {
    CWall& wall = walls[i];
    wall.floor = this;
    wall.pair.first = map(wall.pair.first);
    wall.pair.second = map(wall.pair.second);
  }
}

void CFloor::InsertNeighbourSplits() {
  const int count = rooms.GetSize();
  for (int r = 0; r < count; ++r) {
    for (int o = 0; o < count; ++o) {
      if (o == r) continue;
      rooms[r].wallOutline.InsertSplitsFrom(rooms[o].outline);
    }
  }
}

void CFloor::BuildWalls() {
  for (int i = 0; i < rooms.GetSize(); ++i) {
    CRoom& room = rooms[i];
    slabs.Add(TList<CBox3>());
    CPolygon2 poly = room.wallOutline;
    for (int j = 0; j < poly.GetSize(); ++j) {
      const CEdge2 edge = poly.GetEdge(j);
      int match = 0;
      while (match < walls.GetSize() && !(walls[match].edge == edge)) ++match;
      if (match < walls.GetSize()) {
        walls[match].AddRoom(room);
      } else {
        walls.Add(CWall(this, room, j));
      }
    }
    CBox2List boxes = poly.GetAsBoxList();
    TList<CBox3>& roomSlabs = slabs[slabs.GetSize() - 1];
    for (int b = 0; b < boxes.GetSize(); ++b) {
      roomSlabs.Add(CBox3(boxes[b], -kSlabHalfThickness, kSlabHalfThickness));
    }
  }
  for (int w = 0; w < walls.GetSize(); ++w) walls[w].CutOpening();
}

CColour PaletteShade(unsigned index, unsigned shade) {
  if (index > 8) index = 8;
  if (shade > 4) shade = 4;
  const float seventh = 1.0f / (5 + 2);
  const float factor = 2 * seventh + static_cast<float>(shade) * seventh;
  return Palette(index) * factor;
}
