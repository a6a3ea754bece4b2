#include "building/designregions.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "geom/side.h"

namespace quarn {
namespace {

constexpr Side kOpposite[4] = {SideRight, SideLeft, SideUp, SideDown};

// True when no coordinate of one box lies strictly inside another box's range
// on the same axis, no two boxes are the same and none is longer than a
// design cell: then slicing and subdividing cut nothing and boxes touching
// over an edge share the whole edge.
bool IsSettled(const CBox2List& boxes) {
  for (int axis = 0; axis < 2; ++axis) {
    std::vector<std::int32_t> lines;
    lines.reserve(static_cast<std::size_t>(boxes.GetSize()) * 2);
    for (int i = 0; i < boxes.GetSize(); ++i) {
      lines.push_back(boxes[i].minCorner[axis]);
      lines.push_back(boxes[i].maxCorner[axis]);
    }
    std::sort(lines.begin(), lines.end());
    for (int i = 0; i < boxes.GetSize(); ++i) {
      const std::int32_t low = boxes[i].minCorner[axis];
      const std::int32_t high = boxes[i].maxCorner[axis];
      if (std::int64_t{high} - low > std::int64_t{kCellMaxSize}) return false;
      const auto next = std::upper_bound(lines.begin(), lines.end(), low);
      if (next != lines.end() && *next < high) return false;
    }
  }
  std::vector<std::array<std::int32_t, 4>> corners;
  corners.reserve(static_cast<std::size_t>(boxes.GetSize()));
  for (int i = 0; i < boxes.GetSize(); ++i) {
    const CBox2& box = boxes[i];
    corners.push_back({box.minCorner.x, box.minCorner.y, box.maxCorner.x, box.maxCorner.y});
  }
  std::sort(corners.begin(), corners.end());
  return std::adjacent_find(corners.begin(), corners.end()) == corners.end();
}

}  // namespace

DesignRegions::DesignRegions(const CLattice2& outline) {
  CLattice2 cells(outline);
  cells.Subdivide(kCellMaxSize, kCellStep);
  AddLattice(cells);
}

// The stable sort of the whole list equals inserting each region put back
// after the sorted ones of no greater area, in the order they came.
DesignRegions::Region DesignRegions::TakeLargest() {
  auto byArea = [](std::uint32_t area, const Region& region) { return area < region.area; };
  for (; sorted_ < pending_.size(); ++sorted_) {
    const auto end = pending_.begin() + static_cast<std::ptrdiff_t>(sorted_);
    const auto at = std::upper_bound(pending_.begin(), end, pending_[sorted_].area, byArea);
    std::rotate(at, end, end + 1);
  }
  Region largest = std::move(pending_.back());
  pending_.pop_back();
  sorted_ = pending_.size();
  return largest;
}

void DesignRegions::ChooseSeed(Region& region) const {
  if (region.cells.empty()) return;
  const int first = region.cells[0];
  SeedChoice<int> seed(first, NeighbourShape(first), Area(first));
  for (int cell : region.cells) seed.Offer(cell, NeighbourShape(cell), Area(cell));
  region.seed = seed.best;
}

int DesignRegions::NeighbourCount(int cell) const {
  int count = 0;
  for (int linked : Neighbours(cell)) count += linked != kNoCell ? 1 : 0;
  return count;
}

void DesignRegions::PutBackRest(const Region& region, const std::vector<int>& room,
                                const std::vector<bool>& isTaken) {
  if (region.settled) {
    SplitSettled(region, room, isTaken);
  } else {
    SplitByBoxLists(region, isTaken);
  }
}

// The rest of a settled region falls into the pieces a flood fill over the
// neighbour links finds; each piece is already a lattice of design cells.
void DesignRegions::SplitSettled(const Region& region, const std::vector<int>& room,
                                 const std::vector<bool>& isTaken) {
  std::size_t left = region.cells.size() - room.size();
  for (int cell : room) {
    std::array<int, 4>& linked = At(cell).links;
    for (Side s = 0; s < 4; ++s) {
      if (linked[s] == kNoCell) continue;
      At(linked[s]).links[kOpposite[s]] = kNoCell;
      linked[s] = kNoCell;
    }
  }
  ++stamp_;
  auto isReached = [this](int cell) { return At(cell).reached == stamp_; };
  // Pieces start at the first cell in region order that no earlier piece
  // reached; once every cell left is reached there is none.
  for (auto next = region.cells.begin(); left > 0; ++next) {
    const int start = *next;
    if (isTaken[static_cast<std::size_t>(start)] || isReached(start)) continue;
    Region piece;
    piece.settled = true;
    // The first piece is usually all that is left.
    if (pending_.size() == sorted_) piece.cells.reserve(left);
    // Positions are given in the order reached, so the seed can be chosen
    // on the way, with the links of the piece already final.
    SeedChoice<int> seed(start, NeighbourShape(start), Area(start));
    auto append = [&](int cell) {
      Cell& state = At(cell);
      state.reached = stamp_;
      state.position = static_cast<int>(piece.cells.size());
      piece.cells.push_back(cell);
      piece.area += state.area;
      seed.Offer(cell, NeighbourShape(cell), state.area);
    };
    append(start);
    // Each cell of the piece, in the order reached, brings in its unreached
    // neighbours in region order, as the pass-by-pass fill does. Their
    // positions are still those of the divided region until appended.
    for (std::size_t next = 0; next < piece.cells.size(); ++next) {
      std::pair<int, int> found[4];
      int count = 0;
      for (int linked : Neighbours(piece.cells[next])) {
        if (linked == kNoCell || isReached(linked)) continue;
        std::pair<int, int> entry(Position(linked), linked);
        int at = count++;
        for (; at > 0 && found[at - 1].first > entry.first; --at) found[at] = found[at - 1];
        found[at] = entry;
      }
      for (int k = 0; k < count; ++k) append(found[k].second);
    }
    left -= piece.cells.size();
    piece.seed = seed.best;
    pending_.push_back(std::move(piece));
  }
}

// A region not yet on one grid goes through the box-list operations: its
// pieces are sliced and cut into design cells, which settles them.
void DesignRegions::SplitByBoxLists(const Region& region, const std::vector<bool>& isTaken) {
  CBox2List rest;
  for (int cell : region.cells) {
    if (!isTaken[static_cast<std::size_t>(cell)]) rest.Add(Box(cell));
  }
  const TList<CBox2List> pieces = rest.GetSeperatePieces();
  for (int i = 0; i < pieces.GetSize(); ++i) {
    CLattice2 lattice(pieces[i]);
    lattice.Subdivide(kCellMaxSize, kCellStep);
    AddLattice(lattice);
  }
}

void DesignRegions::AddLattice(const CLattice2& lattice) {
  const CBox2List boxes = lattice.GetBoxList();
  const int base = static_cast<int>(boxes_.size());
  std::unordered_map<const CBox2*, int> indexOf;
  Region region;
  for (int i = 0; i < boxes.GetSize(); ++i) {
    indexOf.emplace(&boxes[i], base + i);
    region.cells.push_back(base + i);
    region.area += static_cast<std::uint32_t>(boxes[i].GetArea());
  }
  for (int i = 0; i < boxes.GetSize(); ++i) {
    boxes_.push_back(boxes[i]);
    Cell cell{{kNoCell, kNoCell, kNoCell, kNoCell}, i,
              static_cast<std::uint32_t>(boxes[i].GetArea()), 0};
    for (Side s = 0; s < 4; ++s) {
      if (const CBox2* neighbour = boxes[i].GetNeighbour(s)) cell.links[s] = indexOf.at(neighbour);
    }
    cells_.push_back(cell);
  }
  region.settled = IsSettled(boxes);
  ChooseSeed(region);
  pending_.push_back(std::move(region));
}

TList<CLattice2> DesignRegions::GetLattices() const {
  TList<CLattice2> lattices;
  for (const Region& region : pending_) {
    CBox2List cells;
    for (int cell : region.cells) cells.Add(boxes_[static_cast<std::size_t>(cell)]);
    lattices.Add(CLattice2::FromCells(cells));
  }
  return lattices;
}

}  // namespace quarn
