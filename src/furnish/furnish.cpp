#include "furnish/furnish.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "finish/stair.h"

namespace quarn {
namespace {

// Furniture is placed on a grid of cells this many to a grid unit, on which
// the walls (0.1 thick on either side of an edge) and every square of the
// plan fall on cell borders.
constexpr int kCellsPerUnit = 10;
// Candidate places whose walking check is tried before a piece gives up.
constexpr int kWalkTries = 24;
// Cells a side of the blocks on which the walking check is tried first.
constexpr int kCoarseScale = 4;
// Rooms with more goals than this check their links without bit masks.
constexpr std::size_t kMaxMaskedGoals = 64;
// Free pieces are placed on every kFreeStep-th cell.
constexpr int kFreeStep = 2;
// The top of the floor slab, on which pieces stand (storey frame).
constexpr float kFloorTop = 0.05f;
// Floor area per office desk (m²).
constexpr float kAreaPerDesk = 10.0f;

// The half-open box of cells [x0, x1) x [y0, y1).
struct Cells {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

  long Area() const { return x1 <= x0 || y1 <= y0 ? 0 : static_cast<long>(x1 - x0) * (y1 - y0); }
  double CentreX() const { return (x0 + x1) / 2.0; }
  double CentreY() const { return (y0 + y1) / 2.0; }
};

// The strip depth cells deep outside box along its side s.
Cells Beside(const Cells& b, Side s, int depth) {
  switch (s) {
    case SideLeft: return {b.x0 - depth, b.y0, b.x0, b.y1};
    case SideRight: return {b.x1, b.y0, b.x1 + depth, b.y1};
    case SideDown: return {b.x0, b.y0 - depth, b.x1, b.y0};
    default: return {b.x0, b.y1, b.x1, b.y1 + depth};
  }
}

Side Opposite(Side s) { return s ^ 1; }

// Cells for a length in metres: at least one.
int CellsOf(float metres, float unit) {
  return std::max(1, static_cast<int>(std::lround(metres / unit * kCellsPerUnit)));
}

// Cells for a clearance in metres, rounded up so the clearance is kept.
int ClearanceCells(float metres, float unit) {
  return std::max(1, static_cast<int>(std::ceil(metres / unit * kCellsPerUnit - 1e-4)));
}

// One flag per cell of a room's grid, with running sums that count the
// flags of any box at once (rebuilt when read after a change).
class Layer {
 public:
  Layer(int width, int height)
      : width_(width), height_(height), cells_(static_cast<std::size_t>(width) * height, 0) {}

  void Mark(const Cells& box) {
    const Cells c = Clip(box);
    for (int y = c.y0; y < c.y1; ++y) {
      std::fill_n(cells_.begin() + Index(c.x0, y), std::max(0, c.x1 - c.x0), std::uint8_t{1});
    }
    stale_ = true;
  }
  // Unflags box (a box just marked on clear cells, when it is taken back).
  void Clear(const Cells& box) {
    const Cells c = Clip(box);
    for (int y = c.y0; y < c.y1; ++y) {
      std::fill_n(cells_.begin() + Index(c.x0, y), std::max(0, c.x1 - c.x0), std::uint8_t{0});
    }
    stale_ = true;
  }
  // Unflags every cell other flags.
  void Remove(const Layer& other) {
    for (std::size_t i = 0; i < cells_.size() && i < other.cells_.size(); ++i) {
      if (other.cells_[i] != 0) cells_[i] = 0;
    }
    stale_ = true;
  }
  // One flag per cell, row by row.
  const std::vector<std::uint8_t>& Flags() const { return cells_; }
  bool At(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && cells_[Index(x, y)] != 0;
  }
  // Flags in the part of box inside the grid.
  long Count(const Cells& box) const {
    const Cells c = Clip(box);
    if (c.Area() == 0) return 0;
    if (stale_) Sum();
    const auto s = [&](int x, int y) {
      return sums_[static_cast<std::size_t>(y) * (width_ + 1) + static_cast<std::size_t>(x)];
    };
    return s(c.x1, c.y1) - s(c.x0, c.y1) - s(c.x1, c.y0) + s(c.x0, c.y0);
  }

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
  Cells Clip(const Cells& b) const {
    return {std::clamp(b.x0, 0, width_), std::clamp(b.y0, 0, height_), std::clamp(b.x1, 0, width_),
            std::clamp(b.y1, 0, height_)};
  }
  void Sum() const {
    sums_.assign(static_cast<std::size_t>(width_ + 1) * (height_ + 1), 0);
    for (int y = 0; y < height_; ++y) {
      long row = 0;
      for (int x = 0; x < width_; ++x) {
        row += cells_[Index(x, y)];
        sums_[static_cast<std::size_t>(y + 1) * (width_ + 1) + x + 1] =
            sums_[static_cast<std::size_t>(y) * (width_ + 1) + x + 1] + row;
      }
    }
    stale_ = false;
  }

  int width_;
  int height_;
  std::vector<std::uint8_t> cells_;
  mutable std::vector<long> sums_;
  mutable bool stale_ = true;
};

// One room on its cells: floor is the room's slabs less every wall;
// keepClear the door squares, entrance square and stair squares; stair the
// stair footprints (steps or the hole above them); window the strips in
// front of windows; occupied the pieces; access the strips pieces are used
// from.
struct RoomGrid {
  int originX = 0;
  int originY = 0;
  int width = 0;
  int height = 0;
  Layer floor{0, 0}, keepClear{0, 0}, stair{0, 0}, window{0, 0}, occupied{0, 0}, access{0, 0};

  Cells ToCells(double x0, double y0, double x1, double y1) const {
    const auto cx = [&](double v) { return static_cast<int>(std::lround((v - originX) * kCellsPerUnit)); };
    const auto cy = [&](double v) { return static_cast<int>(std::lround((v - originY) * kCellsPerUnit)); };
    return {cx(std::min(x0, x1)), cy(std::min(y0, y1)), cx(std::max(x0, x1)), cy(std::max(y0, y1))};
  }
  Cells ToCells(const CBox2& box) const {
    return ToCells(box.minCorner.x, box.minCorner.y, box.maxCorner.x, box.maxCorner.y);
  }
  // Cells of box off the floor (outside the grid, outside the room or in a wall).
  long Blocked(const Cells& box) const { return box.Area() - floor.Count(box); }
};

// A place found for a piece: footprint, the side its back is turned to (a
// bed's head), the side it is used from and its access strip.
struct Place {
  Cells footprint;
  Side back = SideDown;
  Side facing = SideUp;
  Cells strip;
  double score = 0;
  int order = 0;  // when it was found, among equal scores the earlier first
};

// A square a walker must be able to reach: a door's square inside the room,
// or the square before or after a stair.
using Goal = Cells;

class RoomFurnisher {
 public:
  RoomFurnisher(const CFloor& floor, const FinishedBuilding& finished, const TypedBuilding& typed,
                int storey, int room, float unit, FurnishedBuilding& out)
      : floor_(floor), storey_(storey), room_(room), unit_(unit), out_(out) {
    BuildGrid(finished, typed);
    person_ = std::max(0, static_cast<int>(std::ceil((kPersonWidth / 2 / unit + 0.05) * kCellsPerUnit -
                                                     0.5 - 1e-4)));
    stripDepth_ = ClearanceCells(kAccessDepth, unit);
    links_ = LinkedGoals(1);
    // links_ come ordered by their first goal, the lowest bit of its mask.
    for (const auto& [i, j] : links_) {
      if (goals_.size() > kMaxMaskedGoals) break;
      const std::uint64_t from = std::uint64_t{1} << i, to = std::uint64_t{1} << j;
      if (linkTargets_.empty() || (linkTargets_.back() & from) == 0) {
        linkTargets_.push_back(from | to);
      } else {
        linkTargets_.back() |= to;
      }
    }
    FindEdges();
    const auto& names = typed.names;
    const auto k = static_cast<std::size_t>(storey), r = static_cast<std::size_t>(room);
    label_ = "room " + std::to_string(room) + ", storey " + std::to_string(storey);
    if (k < names.size() && r < names[k].size() && !names[k][r].empty()) {
      label_ = names[k][r] + " (" + label_ + ")";
    }
  }

  void Furnish(const std::vector<FurnitureItem>& items) {
    for (const FurnitureItem& item : items) {
      std::vector<PieceModel> models;
      for (const std::string& name : item.models) {
        if (const std::optional<PieceModel> model = FindPieceModel(name)) models.push_back(*model);
      }
      if (models.empty()) continue;
      const int copies = item.count > 0 ? item.count : DeskCount();
      for (int c = 0; c < copies; ++c) {
        const std::string reason = PlaceFirstFitting(models);
        if (reason.empty()) continue;
        if (item.must && c == 0) {
          out_.unfurnished.push_back("no " + std::string(models.front().kind) + " in " + label_ + ": " +
                                     reason);
        }
        break;
      }
    }
  }

 private:
  void BuildGrid(const FinishedBuilding& finished, const TypedBuilding& typed);
  void FindEdges();
  std::vector<std::pair<int, int>> LinkedGoals(int scale) const;
  std::vector<int> Components(int scale) const;
  std::vector<std::uint8_t> Walkable(int scale) const;
  bool LinksHold(int scale) const;
  bool KeepsGoalsLinked() const;
  int DeskCount() const;
  std::vector<Place> Candidates(const PieceModel& model, bool& fitsEmpty) const;
  bool IsFree(const Cells& footprint, bool tall) const;
  bool IsOpen(const Cells& strip) const;
  double Score(const PieceModel& model, const Cells& footprint) const;
  std::string PlaceFirstFitting(const std::vector<PieceModel>& models);
  bool TryPlace(const PieceModel& model, const Place& place);
  void AddChairs(const PieceModel& table, const Place& place);
  void Commit(const PieceModel& model, const Place& place);

  const CFloor& floor_;
  int storey_;
  int room_;
  float unit_;
  FurnishedBuilding& out_;
  RoomGrid grid_;
  std::vector<Goal> goals_;
  std::vector<std::pair<int, int>> links_;
  // Per goal linked to later goals: its bit (the lowest) and theirs.
  std::vector<std::uint64_t> linkTargets_;
  // Per side, the floor cells whose neighbour on that side is off the floor,
  // row by row.
  std::vector<std::pair<int, int>> edges_[4];
  int person_ = 3;
  int stripDepth_ = 5;
  double centreX_ = 0;
  double centreY_ = 0;
  std::optional<Cells> first_;
  std::string label_;
};

void RoomFurnisher::BuildGrid(const FinishedBuilding& finished, const TypedBuilding& typed) {
  const TList<CBox3>& slabs = floor_.slabs[room_];
  int minX = std::numeric_limits<int>::max(), minY = minX;
  int maxX = std::numeric_limits<int>::min(), maxY = maxX;
  for (int i = 0; i < slabs.GetSize(); ++i) {
    minX = std::min(minX, static_cast<int>(std::lround(slabs[i].GetMin().x)));
    minY = std::min(minY, static_cast<int>(std::lround(slabs[i].GetMin().y)));
    maxX = std::max(maxX, static_cast<int>(std::lround(slabs[i].GetMax().x)));
    maxY = std::max(maxY, static_cast<int>(std::lround(slabs[i].GetMax().y)));
  }
  if (minX >= maxX || minY >= maxY) return;
  grid_.originX = minX;
  grid_.originY = minY;
  grid_.width = (maxX - minX) * kCellsPerUnit;
  grid_.height = (maxY - minY) * kCellsPerUnit;
  for (Layer* layer : {&grid_.floor, &grid_.keepClear, &grid_.stair, &grid_.window, &grid_.occupied,
                       &grid_.access}) {
    *layer = Layer(grid_.width, grid_.height);
  }
  long floorCells = 0;
  double sumX = 0, sumY = 0;
  for (int i = 0; i < slabs.GetSize(); ++i) {
    const Cells c = grid_.ToCells(slabs[i].GetMin().x, slabs[i].GetMin().y, slabs[i].GetMax().x,
                                  slabs[i].GetMax().y);
    grid_.floor.Mark(c);
    floorCells += c.Area();
    sumX += c.CentreX() * static_cast<double>(c.Area());
    sumY += c.CentreY() * static_cast<double>(c.Area());
  }
  centreX_ = sumX / static_cast<double>(std::max(1L, floorCells));
  centreY_ = sumY / static_cast<double>(std::max(1L, floorCells));

  // Walls take their thickness off the floor: rebuild the floor without them.
  Layer walls(grid_.width, grid_.height);
  const CRoom* self = &floor_.rooms[room_];
  const auto k = static_cast<std::size_t>(storey_);
  const bool onGround = storey_ == 0 && finished.entrance;
  for (int w = 0; w < floor_.walls.GetSize(); ++w) {
    const CWall& wall = floor_.walls[w];
    const CBox3 solid = wall.GetSolidBox();
    const Cells c = grid_.ToCells(solid.GetMin().x, solid.GetMin().y, solid.GetMax().x, solid.GetMax().y);
    if (c.x1 <= 0 || c.y1 <= 0 || c.x0 >= grid_.width || c.y0 >= grid_.height) continue;
    walls.Mark(c);
    const bool own = wall.pair.first == self || wall.pair.second == self;
    if (!own) continue;
    const CPoint2 a = wall.edge.GetPoint(1), b = wall.edge.GetPoint(2);
    const bool alongX = a.y == b.y;
    const double middle = alongX ? (a.x + b.x) / 2.0 : (a.y + b.y) / 2.0;
    const double line = alongX ? a.y : a.x;
    // The square (depth deep on either side of the wall) spanning `half`
    // either side of the middle.
    const auto across = [&](double half, double depth) {
      return alongX ? grid_.ToCells(middle - half, line - depth, middle + half, line + depth)
                    : grid_.ToCells(line - depth, middle - half, line + depth, middle + half);
    };
    const bool entranceWall = onGround && finished.entrance->wall == w;
    const bool kept = k >= typed.doorKept.size() || static_cast<std::size_t>(w) >= typed.doorKept[k].size() ||
                      typed.doorKept[k][static_cast<std::size_t>(w)];
    if ((wall.GetRoomCount() == 2 && kept) || entranceWall) {
      const Cells square = across(0.5, 1.0);
      grid_.keepClear.Mark(square);
      // The goal is the half of the square on this room's side.
      const Cells low = alongX ? Cells{square.x0, square.y0, square.x1, (square.y0 + square.y1) / 2}
                               : Cells{square.x0, square.y0, (square.x0 + square.x1) / 2, square.y1};
      const Cells high = alongX ? Cells{square.x0, low.y1, square.x1, square.y1}
                                : Cells{low.x1, square.y0, square.x1, square.y1};
      goals_.push_back(grid_.floor.Count(low) >= grid_.floor.Count(high) ? low : high);
    } else if (wall.GetRoomCount() == 1 && wall.GetOpening() == CWall::Opening::kWindow) {
      grid_.window.Mark(across(CWall::WINDOW_HALF_SIZE.x, 0.1 + kWindowClearDepth / unit_));
    }
  }
  grid_.floor.Remove(walls);

  const auto addStair = [&](const Stair& stair, const CBox2& end) {
    grid_.stair.Mark(grid_.ToCells(stair.footprint));
    grid_.keepClear.Mark(grid_.ToCells(stair.footprint));
    grid_.keepClear.Mark(grid_.ToCells(end));
    goals_.push_back(grid_.ToCells(end));
  };
  if (k < finished.stairs.size() && finished.stairs[k] && finished.stairs[k]->roomBelow == room_) {
    const Stair& s = *finished.stairs[k];
    addStair(s, GetStairFoot(s.footprint, s.climb));
  }
  if (storey_ > 0 && k - 1 < finished.stairs.size() && finished.stairs[k - 1] &&
      finished.stairs[k - 1]->roomAbove == room_) {
    const Stair& s = *finished.stairs[k - 1];
    addStair(s, GetStairHead(s.footprint, s.climb));
  }
}

void RoomFurnisher::FindEdges() {
  for (int y = 0; y < grid_.height; ++y) {
    for (int x = 0; x < grid_.width; ++x) {
      if (!grid_.floor.At(x, y)) continue;
      if (!grid_.floor.At(x - 1, y)) edges_[SideLeft].emplace_back(x, y);
      if (!grid_.floor.At(x + 1, y)) edges_[SideRight].emplace_back(x, y);
      if (!grid_.floor.At(x, y - 1)) edges_[SideDown].emplace_back(x, y);
      if (!grid_.floor.At(x, y + 1)) edges_[SideUp].emplace_back(x, y);
    }
  }
}

// Labels of a walker's connected patches on blocks of scale x scale cells
// (-1 where not walkable): a block is walkable when the walker's middle may
// stand on every cell of it. Blocks linked at a coarse scale are linked on
// the cells too, so a coarse scale can only miss links, never invent them.
std::vector<std::uint8_t> RoomFurnisher::Walkable(int scale) const {
  const int w = grid_.width, h = grid_.height, p = person_;
  const int bw = w / scale, bh = h / scale;
  // Running sums of the cells a walker cannot overlap: off the floor, under
  // a piece or a stair.
  const auto stride = static_cast<std::size_t>(w) + 1;
  const std::vector<std::uint8_t>&floor = grid_.floor.Flags(), &occupied = grid_.occupied.Flags(),
                                   &stair = grid_.stair.Flags();
  std::vector<int> sums(stride * (static_cast<std::size_t>(h) + 1), 0);
  for (int y = 0; y < h; ++y) {
    int row = 0;
    const auto first = static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      const std::size_t i = first + x;
      row += (floor[i] == 0) | occupied[i] | stair[i];
      sums[(y + 1) * stride + x + 1] = sums[y * stride + x + 1] + row;
    }
  }
  const auto blocked = [&](const Cells& c) {
    const auto s = [&](int x, int y) { return sums[static_cast<std::size_t>(y) * stride + x]; };
    return s(c.x1, c.y1) - s(c.x0, c.y1) - s(c.x1, c.y0) + s(c.x0, c.y0);
  };
  std::vector<std::uint8_t> walkable(static_cast<std::size_t>(bw) * bh, 0);
  for (int by = 0; by < bh; ++by) {
    for (int bx = 0; bx < bw; ++bx) {
      const Cells body{bx * scale - p, by * scale - p, (bx + 1) * scale + p, (by + 1) * scale + p};
      if (body.x0 < 0 || body.y0 < 0 || body.x1 > w || body.y1 > h) continue;
      walkable[static_cast<std::size_t>(by) * bw + bx] = blocked(body) == 0;
    }
  }
  return walkable;
}

std::vector<int> RoomFurnisher::Components(int scale) const {
  const int bw = grid_.width / scale, bh = grid_.height / scale;
  const std::vector<std::uint8_t> walkable = Walkable(scale);
  std::vector<int> label(walkable.size(), -1);
  int next = 0;
  std::vector<int> queue;
  for (std::size_t start = 0; start < label.size(); ++start) {
    if (!walkable[start] || label[start] >= 0) continue;
    label[start] = next;
    queue.assign(1, static_cast<int>(start));
    for (std::size_t head = 0; head < queue.size(); ++head) {
      const int c = queue[head];
      const int x = c % bw, y = c / bw;
      const int around[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
      for (const auto& n : around) {
        if (n[0] < 0 || n[1] < 0 || n[0] >= bw || n[1] >= bh) continue;
        const auto i = static_cast<std::size_t>(n[1]) * bw + n[0];
        if (!walkable[i] || label[i] >= 0) continue;
        label[i] = next;
        queue.push_back(static_cast<int>(i));
      }
    }
    ++next;
  }
  return label;
}

namespace {
// The labels found on the blocks (scale x scale cells) overlapping goal.
std::vector<int> LabelsIn(const std::vector<int>& labels, int width, int height, int scale, const Goal& goal) {
  const int bw = width / scale, bh = height / scale;
  std::vector<int> found;
  for (int y = std::max(0, goal.y0 / scale); y < std::min(bh, (goal.y1 + scale - 1) / scale); ++y) {
    for (int x = std::max(0, goal.x0 / scale); x < std::min(bw, (goal.x1 + scale - 1) / scale); ++x) {
      const int l = labels[static_cast<std::size_t>(y) * bw + x];
      if (l >= 0 && std::find(found.begin(), found.end(), l) == found.end()) found.push_back(l);
    }
  }
  return found;
}

bool ShareLabel(const std::vector<int>& a, const std::vector<int>& b) {
  return std::any_of(a.begin(), a.end(), [&](int l) { return std::find(b.begin(), b.end(), l) != b.end(); });
}
}  // namespace

// The pairs of goals a walker can go between in the room as it is now, on
// blocks of scale x scale cells.
std::vector<std::pair<int, int>> RoomFurnisher::LinkedGoals(int scale) const {
  std::vector<std::pair<int, int>> links;
  if (goals_.size() < 2) return links;
  const std::vector<int> labels = Components(scale);
  std::vector<std::vector<int>> in;
  for (const Goal& g : goals_) in.push_back(LabelsIn(labels, grid_.width, grid_.height, scale, g));
  for (std::size_t i = 0; i < goals_.size(); ++i) {
    for (std::size_t j = i + 1; j < goals_.size(); ++j) {
      if (ShareLabel(in[i], in[j])) links.emplace_back(static_cast<int>(i), static_cast<int>(j));
    }
  }
  return links;
}

// Every link of the empty room holds on blocks of scale x scale cells: a
// walk from every walkable block of a goal covers the patches it lies on,
// and stops once it has touched every goal linked to it.
bool RoomFurnisher::LinksHold(int scale) const {
  const int bw = grid_.width / scale, bh = grid_.height / scale;
  const std::vector<std::uint8_t> walkable = Walkable(scale);
  // Per block, one bit per goal it overlaps.
  std::vector<std::uint64_t> touches(walkable.size(), 0);
  for (std::size_t g = 0; g < goals_.size(); ++g) {
    const Goal& goal = goals_[g];
    for (int y = std::max(0, goal.y0 / scale); y < std::min(bh, (goal.y1 + scale - 1) / scale); ++y) {
      for (int x = std::max(0, goal.x0 / scale); x < std::min(bw, (goal.x1 + scale - 1) / scale); ++x) {
        touches[static_cast<std::size_t>(y) * bw + x] |= std::uint64_t{1} << g;
      }
    }
  }
  std::vector<std::uint8_t> seen(walkable.size(), 0);
  std::vector<int> queue;
  for (const std::uint64_t linked : linkTargets_) {
    const std::uint64_t first = linked & (~linked + 1);
    std::uint64_t reached = 0;
    queue.clear();
    std::fill(seen.begin(), seen.end(), std::uint8_t{0});
    for (std::size_t i = 0; i < walkable.size(); ++i) {
      if (walkable[i] != 0 && (touches[i] & first) != 0) {
        seen[i] = 1;
        queue.push_back(static_cast<int>(i));
      }
    }
    for (std::size_t head = 0; head < queue.size() && (reached & linked) != linked; ++head) {
      const int c = queue[head];
      reached |= touches[static_cast<std::size_t>(c)];
      const int x = c % bw, y = c / bw;
      const int around[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
      for (const auto& n : around) {
        if (n[0] < 0 || n[1] < 0 || n[0] >= bw || n[1] >= bh) continue;
        const auto i = static_cast<std::size_t>(n[1]) * bw + n[0];
        if (walkable[i] == 0 || seen[i] != 0) continue;
        seen[i] = 1;
        queue.push_back(static_cast<int>(i));
      }
    }
    if ((reached & linked) != linked) return false;
  }
  return true;
}

// Every link of the empty room holds: first tried on coarse blocks (cheap,
// and enough when it finds them all), then on the cells.
bool RoomFurnisher::KeepsGoalsLinked() const {
  if (links_.empty()) return true;
  if (goals_.size() > kMaxMaskedGoals) {
    return LinkedGoals(1) == links_;
  }
  return LinksHold(kCoarseScale) || LinksHold(1);
}

int RoomFurnisher::DeskCount() const {
  const double cellArea = static_cast<double>(unit_) * unit_ / (kCellsPerUnit * kCellsPerUnit);
  const double area = static_cast<double>(grid_.floor.Count({0, 0, grid_.width, grid_.height})) * cellArea;
  return std::max(1, static_cast<int>(area / kAreaPerDesk));
}

bool RoomFurnisher::IsFree(const Cells& footprint, bool tall) const {
  return grid_.Blocked(footprint) == 0 && grid_.keepClear.Count(footprint) == 0 &&
         grid_.occupied.Count(footprint) == 0 && grid_.access.Count(footprint) == 0 &&
         (!tall || grid_.window.Count(footprint) == 0);
}

bool RoomFurnisher::IsOpen(const Cells& strip) const {
  return grid_.Blocked(strip) == 0 && grid_.occupied.Count(strip) == 0 && grid_.stair.Count(strip) == 0;
}

double RoomFurnisher::Score(const PieceModel& model, const Cells& footprint) const {
  const double x = footprint.CentreX(), y = footprint.CentreY();
  const auto distance = [&](double tx, double ty) { return std::hypot(x - tx, y - ty); };
  switch (model.preference) {
    case Preference::kFarFromDoors: {
      double nearest = 0;
      for (std::size_t i = 0; i < goals_.size(); ++i) {
        const double d = distance(goals_[i].CentreX(), goals_[i].CentreY());
        nearest = i == 0 ? d : std::min(nearest, d);
      }
      return -nearest;
    }
    case Preference::kNearFirst:
      if (first_) return distance(first_->CentreX(), first_->CentreY());
      return distance(centreX_, centreY_);
    case Preference::kNearCentre: return distance(centreX_, centreY_);
  }
  return 0;
}

std::vector<Place> RoomFurnisher::Candidates(const PieceModel& model, bool& fitsEmpty) const {
  std::vector<Place> places;
  const int w = CellsOf(model.width, unit_), d = CellsOf(model.depth, unit_);
  const bool tall = model.height > kTallPieceHeight;
  for (Side back = SideLeft; back <= SideUp; ++back) {
    // Free pieces have two orientations; their back is a side they are not used from.
    if (model.placement == Placement::kFree && (back == SideRight || back == SideUp)) continue;
    const bool acrossX = GetSideAxis(back) == 0;
    const int sizeX = acrossX ? d : w, sizeY = acrossX ? w : d;
    std::vector<Side> facings;
    if (model.placement == Placement::kAgainstWall) facings = {Opposite(back)};
    if (model.placement == Placement::kBed) facings = acrossX ? std::vector<Side>{SideDown, SideUp}
                                                              : std::vector<Side>{SideLeft, SideRight};
    if (model.placement == Placement::kFree) facings = {SideLeft, SideRight, SideDown, SideUp};
    // Free pieces try every other cell: a fifth of a grid unit is fine
    // enough for a table, and a quarter of the places to weigh.
    const auto consider = [&](int x, int y) {
      if (x < 0 || y < 0 || x + sizeX > grid_.width || y + sizeY > grid_.height) return;
      const Cells footprint{x, y, x + sizeX, y + sizeY};
      if (!grid_.floor.At(x, y)) return;
      if (model.placement != Placement::kFree) {
        const Cells behind = Beside(footprint, back, 1);
        if (grid_.Blocked(behind) != behind.Area()) return;
      }
      if (grid_.Blocked(footprint) != 0) return;
      for (const Side facing : facings) {
        const Cells strip = Beside(footprint, facing, stripDepth_);
        if (grid_.Blocked(strip) != 0) continue;
        fitsEmpty = true;
        if (!IsFree(footprint, tall) || !IsOpen(strip)) continue;
        places.push_back({footprint, back, facing, strip, Score(model, footprint), static_cast<int>(places.size())});
      }
    };
    if (model.placement == Placement::kFree) {
      for (int y = 0; y + sizeY <= grid_.height; y += kFreeStep) {
        for (int x = 0; x + sizeX <= grid_.width; x += kFreeStep) consider(x, y);
      }
      continue;
    }
    // A piece backed by a wall has the floor's edge cell on that side at the
    // first corner of its back; edge cells come row by row, so the places
    // keep the order of a sweep over every cell.
    for (const auto& [ex, ey] : edges_[back]) {
      consider(back == SideRight ? ex + 1 - sizeX : ex, back == SideUp ? ey + 1 - sizeY : ey);
    }
  }
  // Only the best kWalkTries are ever tried; ties keep the order found.
  const auto best = places.begin() + std::min<std::ptrdiff_t>(kWalkTries, static_cast<std::ptrdiff_t>(places.size()));
  std::partial_sort(places.begin(), best, places.end(), [&](const Place& a, const Place& b) {
    return a.score < b.score || (a.score == b.score && a.order < b.order);
  });
  places.erase(best, places.end());
  return places;
}

std::string RoomFurnisher::PlaceFirstFitting(const std::vector<PieceModel>& models) {
  bool fitsEmpty = false, blocksWay = false;
  for (const PieceModel& model : models) {
    const std::vector<Place> places = Candidates(model, fitsEmpty);
    const int tries = std::min(static_cast<int>(places.size()), kWalkTries);
    for (int i = 0; i < tries; ++i) {
      if (TryPlace(model, places[static_cast<std::size_t>(i)])) return {};
    }
    blocksWay = blocksWay || tries > 0;
  }
  const std::string smallest(models.back().name);
  if (!fitsEmpty) return "too small for a " + smallest;
  if (blocksWay) return "a " + smallest + " would block the way between its doors";
  return "no free place for a " + smallest + " clear of doors, stairs, windows and other pieces";
}

bool RoomFurnisher::TryPlace(const PieceModel& model, const Place& place) {
  // The place passed IsFree, so its cells were clear before.
  grid_.occupied.Mark(place.footprint);
  if (!KeepsGoalsLinked()) {
    grid_.occupied.Clear(place.footprint);
    return false;
  }
  Commit(model, place);
  if (model.chairs != Chairs::kNone) AddChairs(model, place);
  grid_.access.Mark(place.strip);
  if (!first_) first_ = place.footprint;
  return true;
}

void RoomFurnisher::AddChairs(const PieceModel& table, const Place& place) {
  const std::optional<PieceModel> chair = FindPieceModel("chair");
  if (!chair) return;
  const int cw = CellsOf(chair->width, unit_), cd = CellsOf(chair->depth, unit_);
  const int pitch = CellsOf(0.6f, unit_);
  std::vector<Side> sides;
  if (table.chairs == Chairs::kFront) sides = {place.facing};
  for (Side s = SideLeft; table.chairs == Chairs::kFreeSides && s <= SideUp; ++s) {
    if (grid_.Blocked(Beside(place.footprint, s, 1)) == 0) sides.push_back(s);
  }
  for (const Side s : sides) {
    const Cells row = Beside(place.footprint, s, cd);
    const bool alongX = GetSideAxis(s) == 1;
    const int from = alongX ? row.x0 : row.y0, length = alongX ? row.x1 - row.x0 : row.y1 - row.y0;
    if (length < cw) continue;
    const int count = table.chairs == Chairs::kFront ? 1 : std::clamp(length / pitch, 1, 3);
    for (int i = 0; i < count; ++i) {
      const int start = from + static_cast<int>((2L * i + 1) * length / (2L * count)) - cw / 2;
      const Cells footprint = alongX ? Cells{start, row.y0, start + cw, row.y1}
                                     : Cells{row.x0, start, row.x1, start + cw};
      const Cells strip = Beside(footprint, s, stripDepth_);
      if (!IsFree(footprint, false) || !IsOpen(strip)) continue;
      grid_.occupied.Mark(footprint);
      if (!KeepsGoalsLinked()) {
        grid_.occupied.Clear(footprint);
        continue;
      }
      Commit(*chair, {footprint, Opposite(s), s, strip, 0, 0});
      grid_.access.Mark(strip);
    }
  }
}

void RoomFurnisher::Commit(const PieceModel& model, const Place& place) {
  grid_.occupied.Mark(place.footprint);
  const auto x = [&](int c) {
    return static_cast<float>(grid_.originX + static_cast<double>(c) / kCellsPerUnit);
  };
  const auto y = [&](int c) {
    return static_cast<float>(grid_.originY + static_cast<double>(c) / kCellsPerUnit);
  };
  FurniturePiece piece;
  piece.kind = std::string(model.kind);
  piece.storey = storey_;
  piece.room = room_;
  piece.footprint = {x(place.footprint.x0), y(place.footprint.y0), x(place.footprint.x1), y(place.footprint.y1)};
  piece.facing = place.facing;
  const TList<CBox3> boxes = BuildPieceBoxes(model, piece.footprint, place.back);
  for (int i = 0; i < boxes.GetSize(); ++i) {
    piece.boxes.Add(CBox3(boxes[i].GetMin() + CVector3(0, 0, kFloorTop), boxes[i].GetMax() + CVector3(0, 0, kFloorTop)));
  }
  out_.pieces.push_back(std::move(piece));
}

}  // namespace

FurnishedBuilding FurnishBuilding(const TList<CFloor>& floors, const FinishedBuilding& finished,
                                  const TypedBuilding& typed, float unit) {
  return FurnishBuilding(floors, finished, typed, unit, GetDefaultFurnitureSets());
}

FurnishedBuilding FurnishBuilding(const TList<CFloor>& floors, const FinishedBuilding& finished,
                                  const TypedBuilding& typed, float unit, const FurnitureSets& sets) {
  FurnishedBuilding furnished;
  if (!(unit > 0) || !std::isfinite(unit)) return furnished;
  for (int k = 0; k < floors.GetSize(); ++k) {
    const auto ks = static_cast<std::size_t>(k);
    if (ks >= typed.types.size()) break;
    const CFloor& floor = floors[k];
    for (int r = 0; r < floor.rooms.GetSize(); ++r) {
      const auto rs = static_cast<std::size_t>(r);
      if (rs >= typed.types[ks].size() || !typed.types[ks][rs]) continue;
      RoomFurnisher furnisher(floor, finished, typed, k, r, unit, furnished);
      furnisher.Furnish(sets[static_cast<std::size_t>(*typed.types[ks][rs])]);
    }
  }
  return furnished;
}

}  // namespace quarn
