#include "building/cfloor.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// Floor slabs are 0.1 thick, centred on the floor level z = 0.
constexpr float kSlabHalfThickness = 0.05f;

}  // namespace

const CColour CFloor::WALL_COLOUR(0.8f, 0.5f, 0.0f, 1.0f);
const CColour CFloor::SLAB_COLOUR(0.5f, 0.6f, 0.7f, 1.0f);

CFloor::CFloor(const CFloorSpec& spec, std::uint32_t storey, quarn::DesignBudget& budget,
               quarn::DesignObserver& observer) {
  design_.emplace(Design{spec, budget, observer, quarn::DesignRandom(spec.GetStoreySeed(storey)),
                         quarn::DesignRegions(CLattice2(CPolygon2(spec.outline)))});
  while (!design_->regions.IsEmpty() && !budget.IsExhausted()) DesignStep();
  pendingRegions = design_->regions.GetLattices();
  design_.reset();
  InsertNeighbourSplits();
  BuildWalls();
}

CFloor::CFloor(const CFloor& other)
    : rooms(other.rooms),
      pendingRegions(other.pendingRegions),
      candidateBoxes(other.candidateBoxes),
      candidateScores(other.candidateScores),
      walls(other.walls),
      slabs(other.slabs) {
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
  RepointBackReferences(other);
  return *this;
}

int CFloor::GetRoomIndex(const CRoom* room) const {
  for (int i = 0; i < rooms.GetSize(); ++i) {
    if (&rooms[i] == room) return i;
  }
  return TLIST_NO_INDEX;
}

std::unordered_map<const CRoom*, int> CFloor::GetRoomIndices() const {
  std::unordered_map<const CRoom*, int> indices;
  for (int i = 0; i < rooms.GetSize(); ++i) indices.emplace(&rooms[i], i);
  return indices;
}

// The copied rooms and walls still point at the source floor and its rooms;
// each is mapped to the room at the same index here.
void CFloor::RepointBackReferences(const CFloor& source) {
  const std::unordered_map<const CRoom*, int> sourceIndices = source.GetRoomIndices();
  std::vector<CRoom*> copied;
  for (int i = 0; i < rooms.GetSize(); ++i) {
    rooms[i].floor = this;
    copied.push_back(&rooms[i]);
  }
  auto map = [&](CRoom* room) -> CRoom* {
    const auto found = sourceIndices.find(room);
    return found == sourceIndices.end() ? nullptr : copied[static_cast<std::size_t>(found->second)];
  };
  for (int i = 0; i < walls.GetSize(); ++i) {
    CWall& wall = walls[i];
    wall.floor = this;
    wall.pair.first = map(wall.pair.first);
    wall.pair.second = map(wall.pair.second);
  }
}

namespace {

// The rooms' designed corners on each grid line, for finding the corners of
// other rooms that lie inside an edge.
class CornersByLine {
 public:
  explicit CornersByLine(const TList<CRoom>& rooms) {
    for (int r = 0; r < rooms.GetSize(); ++r) {
      const CPolygon2& outline = rooms[r].outline;
      for (int v = 0; v < outline.GetSize(); ++v) {
        const CPoint2 p = outline[v];
        lines_[0][p.x].push_back({p.y, r});
        lines_[1][p.y].push_back({p.x, r});
      }
    }
    for (auto& axisLines : lines_) {
      for (auto& [line, corners] : axisLines) std::sort(corners.begin(), corners.end());
    }
  }

  // Appends to out the corners of rooms other than room that lie strictly
  // between the ends of edge from -> to (on one grid line), each point once,
  // in order from from to to.
  void AddSplits(const CPoint2& from, const CPoint2& to, int room, CPolygon2& out) const {
    for (int axis = 0; axis < 2; ++axis) {
      const int along = 1 - axis;
      if (from[axis] != to[axis] || from[along] == to[along]) continue;
      const auto line = lines_[axis].find(from[axis]);
      if (line == lines_[axis].end()) continue;
      const std::vector<Corner>& corners = line->second;
      const int low = std::min(from[along], to[along]);
      const int high = std::max(from[along], to[along]);
      auto first = std::upper_bound(corners.begin(), corners.end(), Corner{low, INT_MAX});
      auto last = std::lower_bound(corners.begin(), corners.end(), Corner{high, INT_MIN});
      std::vector<int> splits;
      for (auto corner = first; corner != last;) {
        const int at = corner->along;
        bool other = false;
        for (; corner != last && corner->along == at; ++corner) other = other || corner->room != room;
        if (other) splits.push_back(at);
      }
      if (from[along] > to[along]) std::reverse(splits.begin(), splits.end());
      for (int at : splits) {
        CPoint2 split = from;
        split[along] = at;
        out.Add(split);
      }
    }
  }

 private:
  struct Corner {
    int along;
    int room;
    auto operator<=>(const Corner&) const = default;
  };
  std::unordered_map<int, std::vector<Corner>> lines_[2];
};

// Edges as keys that ignore direction.
struct EdgeKey {
  std::array<std::int32_t, 4> ends;
  explicit EdgeKey(const CEdge2& edge) {
    CPoint2 a = edge.GetPoint(1);
    CPoint2 b = edge.GetPoint(2);
    if (std::pair(b.x, b.y) < std::pair(a.x, a.y)) std::swap(a, b);
    ends = {a.x, a.y, b.x, b.y};
  }
  bool operator==(const EdgeKey&) const = default;
};

struct EdgeKeyHash {
  std::size_t operator()(const EdgeKey& key) const {
    std::size_t hash = 0;
    for (std::int32_t value : key.ends) {
      hash = hash * 1000003u ^ static_cast<std::size_t>(static_cast<std::uint32_t>(value));
    }
    return hash;
  }
};

}  // namespace

// Every room edge gains, in order along it, the designed corners of the
// other rooms that lie inside it: what inserting the splits of each other
// room in turn gives, since each point lands on the one piece of its edge.
void CFloor::InsertNeighbourSplits() {
  const CornersByLine corners(rooms);
  for (int r = 0; r < rooms.GetSize(); ++r) {
    const CPolygon2& outline = rooms[r].wallOutline;
    CPolygon2 split;
    for (int i = 0; i < outline.GetSize(); ++i) {
      split.Add(outline[i]);
      corners.AddSplits(outline[i], outline[outline.GetNext(i)], r, split);
    }
    rooms[r].wallOutline = split;
  }
}

void CFloor::BuildWalls() {
  // The first wall met on each edge; walls are appended in first-met order.
  std::unordered_map<EdgeKey, CWall*, EdgeKeyHash> wallOnEdge;
  for (int i = 0; i < rooms.GetSize(); ++i) {
    CRoom& room = rooms[i];
    slabs.Add(TList<CBox3>());
    CPolygon2 poly = room.wallOutline;
    for (int j = 0; j < poly.GetSize(); ++j) {
      const EdgeKey key(poly.GetEdge(j));
      const auto found = wallOnEdge.find(key);
      if (found != wallOnEdge.end()) {
        found->second->AddRoom(room);
      } else {
        walls.Add(CWall(this, room, j));
        wallOnEdge.emplace(key, &walls[walls.GetSize() - 1]);
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
