#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "geom/cbox2.h"
#include "geom/clattice2.h"
#include "geom/side.h"
#include "tlist.h"

namespace quarn {

// The seed of a room among cells offered in region order: the fewest and
// least surrounding links (NeighbourShape), then the larger cell, then the
// earlier one.
template <class Cell>
struct SeedChoice {
  SeedChoice(Cell first, int shape, std::int64_t area)
      : best(first), bestShape(shape), bestArea(area) {}
  void Offer(Cell cell, int shape, std::int64_t area) {
    if (shape > bestShape || (shape == bestShape && area <= bestArea)) return;
    best = cell;
    bestShape = shape;
    bestArea = area;
  }
  Cell best;
  int bestShape;
  std::int64_t bestArea;
};

// The pending regions of one floor while its rooms are designed, held so that
// dividing a region costs time in proportion to the region rather than to
// the square of it. Every cell lives once in an arena and is named by its
// index; a region is the list of its cells in region order, and each cell
// keeps the indices of its exact neighbours within its region by Side 0..3
// (kNoCell where there is none).
//
// Every order comes out as the box-list operations make it: regions in the
// order of the stable sort by area, the remaining cells of a divided region
// in their order, its pieces in the order of their first cells, and the cells
// of each piece in the order its flood fill reaches them.
class DesignRegions {
 public:
  static constexpr int kNoCell = -1;

  struct Region {
    std::vector<int> cells;
    std::uint32_t area = 0;
    // The cell a room in this region starts from.
    int seed = kNoCell;
    // Cut on one grid with no cell overlapping another: slicing it, or any
    // part of it, cuts nothing, and cells touching over an edge are exact
    // neighbours.
    bool settled = false;
  };

  // The one pending region a floor starts with: an outline's lattice, cut
  // into design cells.
  explicit DesignRegions(const CLattice2& outline);

  bool IsEmpty() const { return pending_.empty(); }
  // Sorts the pending regions by area, keeping the order of equal ones, and
  // takes out the last: the largest, and the latest of equally large ones.
  Region TakeLargest();

  CBox2& Box(int cell) { return boxes_[static_cast<std::size_t>(cell)]; }
  std::uint32_t Area(int cell) const { return At(cell).area; }
  const std::array<int, 4>& Neighbours(int cell) const { return At(cell).links; }
  int NeighbourCount(int cell) const;
  int NeighbourShape(int cell) const {
    const std::array<int, 4>& linked = Neighbours(cell);
    return ::NeighbourShape(linked[SideLeft] != kNoCell, linked[SideRight] != kNoCell,
                            linked[SideDown] != kNoCell, linked[SideUp] != kNoCell);
  }
  // The cell's index in the region it belongs to.
  int Position(int cell) const { return At(cell).position; }

  // Puts back what is left of region once its room's cells are taken out:
  // every connected piece becomes a pending region, cut into design cells.
  // room lists the room's cells, isTaken[cell] tells them.
  void PutBackRest(const Region& region, const std::vector<int>& room,
                   const std::vector<bool>& isTaken);

  // The pending regions as lattices, in order.
  TList<CLattice2> GetLattices() const;
  // Cells ever made; isTaken vectors are indexed up to this.
  int GetCellCount() const { return static_cast<int>(boxes_.size()); }

 private:
  void AddLattice(const CLattice2& lattice);
  void SplitSettled(const Region& region, const std::vector<int>& room,
                    const std::vector<bool>& isTaken);
  void SplitByBoxLists(const Region& region, const std::vector<bool>& isTaken);

  // What the flood fills read of a cell, kept together.
  struct Cell {
    std::array<int, 4> links;
    int position;
    std::uint32_t area;
    // The cell is reached by the current fill when this equals stamp_.
    std::uint32_t reached;
  };
  Cell& At(int cell) { return cells_[static_cast<std::size_t>(cell)]; }
  const Cell& At(int cell) const { return cells_[static_cast<std::size_t>(cell)]; }
  // Offers the region's cells in order and keeps the best as its seed.
  void ChooseSeed(Region& region) const;

  std::vector<CBox2> boxes_;
  std::vector<Cell> cells_;
  // Sorted by area, equal areas in the order they came; then the pieces put
  // back since the last sort, in their order.
  std::vector<Region> pending_;
  std::size_t sorted_ = 0;
  std::uint32_t stamp_ = 0;
};

}  // namespace quarn
