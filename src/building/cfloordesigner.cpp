#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>

#include "building/cbuilding.h"
#include "building/cfloor.h"
#include "building/cfloordesigner.h"
#include "building/designrandom.h"
#include "geom/side.h"
#include "qassert.h"

namespace {

// Score weights, summed left to right; they add up to 1.
constexpr double kInDstWeight = 0.3;
constexpr double kNotInDstWeight = 0.1;
constexpr double kDistanceWeight = 0.15;
constexpr double kOccupiedWeight = 0.2;
constexpr double kAspectWeight = 0.25;

std::ostream* g_designTrace = nullptr;

// The room's outline: its cells merged, without collinear vertices.
CPolygon2 RoomOutline(const CBox2List& cells) {
  CPolygon2 outline = CLattice2(cells).GetAsPolygon();
  outline.RemoveSplits(0);
  outline.RemoveSplits(1);
  return outline;
}

// double -> int32 truncating toward zero; values beyond the range saturate
// instead of being undefined.
std::int32_t TruncateToInt32(double value) {
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}


}  // namespace

std::uint32_t GetTotalArea(const CBox2PtrList& list) {
  std::uint32_t total = 0;
  for (int i = 0; i < list.GetSize(); ++i) {
    total += static_cast<std::uint32_t>(list[i]->GetArea());
  }
  return total;
}

CVector2 GetAverageCentre(const CBox2PtrList& list) {
  CVector2 sum(0.0f, 0.0f);
  for (int i = 0; i < list.GetSize(); ++i) sum += list[i]->GetCentre();
  return sum / static_cast<float>(list.GetSize());
}

CBox2 GetExtentsBox(const CBox2PtrList& list) {
  CPoint2 low = list[0]->GetMin();
  CPoint2 high = list[0]->GetMax();
  for (int i = 0; i < list.GetSize(); ++i) {
    low = Min(low, list[i]->GetMin());
    high = Max(high, list[i]->GetMax());
  }
  return CBox2(low, high);
}

CBoxScore::CBoxScore(CBox2* candidate, CBox2PtrList destination)
    : CBoxScore(candidate, candidate->GetNeighbourCount(), [&destination] {
        std::vector<const CBox2*> cells;
        for (int i = 0; i < destination.GetSize(); ++i) cells.push_back(destination[i]);
        return cells;
      }()) {}

// The sums run over the destination in order and then the candidate, as the
// list utilities would over the destination with the candidate appended, so
// every float comes out the same.
CBoxScore::CBoxScore(CBox2* candidate, int neighbourCount,
                     const std::vector<const CBox2*>& destination)
    : box(candidate) {
  neighboursInDst = 0;
  CVector2 centres(0.0f, 0.0f);
  // An empty destination leaves the mean centre undefined (0 / 0), as the
  // list utilities do.
  CPoint2 low = destination.empty() ? candidate->GetMin() : destination[0]->GetMin();
  CPoint2 high = destination.empty() ? candidate->GetMax() : destination[0]->GetMax();
  std::uint32_t area = 0;
  for (const CBox2* cell : destination) {
    if (candidate->GetNeighbourSide(*cell) != SideNone) ++neighboursInDst;
    centres += cell->GetCentre();
    low = Min(low, cell->GetMin());
    high = Max(high, cell->GetMax());
    area += static_cast<std::uint32_t>(cell->GetArea());
  }
  neighboursNotInDst = static_cast<std::uint32_t>(neighbourCount) - neighboursInDst;
  const float count = static_cast<float>(destination.size());
  averageDistance = GetDistance(centres / count, candidate->GetCentre());
  centres += candidate->GetCentre();
  SetExtentTerms(CBox2(Min(low, candidate->GetMin()), Max(high, candidate->GetMax())),
                 area + static_cast<std::uint32_t>(candidate->GetArea()), centres / static_cast<float>(destination.size() + 1));
}

void CBoxScore::SetExtentTerms(const CBox2& extents, std::uint32_t grownArea,
                               const CVector2& grownCentre) {
  extentsOccupied = static_cast<float>(grownArea) / static_cast<float>(extents.GetArea());
  extentsAspect =
      static_cast<float>(extents.GetSize().x) / static_cast<float>(extents.GetSize().y);

  inDstTerm = static_cast<float>(neighboursInDst / 4.0);
  notInDstTerm = static_cast<float>(1.0 - neighboursNotInDst / 4.0);
  // The distance is measured against the farthest the centre of the grown
  // room's cells could lie from its extents' centre.
  const CVector2 extentsCentre = extents.GetCentre();
  const float d1 = GetDistance(extentsCentre, grownCentre);
  const float d2 = GetDistance(extentsCentre, CVector2(extents.GetMax()));
  const float scale = CVector2(d1 + d2, d1 + d2).GetLength();
  distanceTerm = static_cast<float>(1.0 - averageDistance / static_cast<double>(scale));
  occupiedTerm = extentsOccupied;
  aspectTerm = extentsAspect <= 1.0f ? extentsAspect : static_cast<float>(1.0 / extentsAspect);
}

float CBoxScore::GetScore() const {
  if (neighboursInDst == 0) return 0.0f;
  if (neighboursNotInDst == 0) return 1.0f;
  double sum = kInDstWeight * inDstTerm;
  sum += kNotInDstWeight * notInDstTerm;
  sum += kDistanceWeight * distanceTerm;
  sum += kOccupiedWeight * occupiedTerm;
  sum += kAspectWeight * aspectTerm;
  return static_cast<float>(sum);
}

std::ostream& operator<<(std::ostream& os, const CBoxScore& score) {
  os << '\n' << "Neighbours Already In Dst      " << score.neighboursInDst << '\t' << score.inDstTerm;
  os << '\n' << "Neighbours Not In Dst          " << score.neighboursNotInDst << '\t'
     << score.notInDstTerm;
  os << '\n' << "Average Distance to a Dst Box  " << score.averageDistance << '\t'
     << score.distanceTerm;
  os << '\n' << "Extents Box Occupied           " << score.extentsOccupied << '\t'
     << score.occupiedTerm;
  os << '\n' << "Extents Aspect Ratio           " << score.extentsAspect << '\t' << score.aspectTerm;
  os << '\n' << "    SCORE=" << score.GetScore();
  return os << '\n' << '\n';
}

namespace quarn {

std::uint32_t RoomTargetArea(std::uint32_t roomSize, std::uint32_t roomSizeVariance, int draw) {
  const double r = (draw - 16383) / 16383.0;
  const std::int32_t deviation = TruncateToInt32(roomSizeVariance * r);
  return roomSize + static_cast<std::uint32_t>(deviation);
}

std::ostream& DesignTrace() { return g_designTrace != nullptr ? *g_designTrace : std::cout; }

std::ostream* SetDesignTrace(std::ostream* stream) {
  std::ostream* previous = &DesignTrace();
  g_designTrace = stream;
  return previous;
}

}  // namespace quarn

std::uint32_t CFloor::GetRoomTargetArea() {
  const int draw = quarn::TheDesignRandom().Next();
  return quarn::RoomTargetArea(spec->roomSize, spec->roomSizeVariance, draw);
}

CBox2* CFloor::PickSeedBox(const CBox2PtrList& source) {
  if (source.GetSize() == 0) return nullptr;
  quarn::SeedChoice<CBox2*> seed(source[0], source[0]->GetNeighbourShape(), source[0]->GetArea());
  for (int i = 0; i < source.GetSize(); ++i) {
    seed.Offer(source[i], source[i]->GetNeighbourShape(), source[i]->GetArea());
  }
  return seed.best;
}

CBox2* CFloor::ChooseBestCandidate(CBox2PtrList source, const CBox2PtrList& destination, bool record) {
  if (source.GetSize() == 0) return nullptr;
  std::vector<CBoxScore> scores;
  for (int i = 0; i < source.GetSize(); ++i) scores.emplace_back(source[i], destination);
  return PickBestScore(scores, record);
}

CBox2* CFloor::PickBestScore(std::vector<CBoxScore>& scores, bool record) {
  // Stable, so among equal scores the candidate latest in the source is last.
  std::stable_sort(scores.begin(), scores.end());
  if (record) {
    std::ostream& trace = quarn::DesignTrace();
    candidateBoxes.Clear();
    candidateScores.Clear();
    for (const CBoxScore& candidate : scores) {
      const float score = candidate.GetScore();
      if (score != 0.0f) {
        candidateBoxes.Add(*candidate.box);
        candidateScores.Add(score);
      }
      trace << score << '\n';
    }
    trace << '\n' << "---" << '\n';
  }
  return scores.back().box;
}

void CFloor::DesignStep() {
  std::ostream& trace = quarn::DesignTrace();
  trace << '\n' << "=============" << '\n';
  QUARN_ASSERT(!building->IsBudgetExhausted());
  const std::uint32_t target = GetRoomTargetArea();

  // The largest region is divided; among equally large ones the latest.
  const Region region = design_->TakeLargest();
  if (!QUARN_ASSERT(!region.cells.empty())) {
    trace.flush();
    return;
  }
  std::vector<bool> isTaken(static_cast<std::size_t>(design_->GetCellCount()), false);
  const std::vector<int> room = GrowRoom(region, target, isTaken);
  std::vector<const CBox2*> roomBoxes;
  CBox2List roomCells;
  std::uint32_t area = 0;
  for (int cell : room) {
    roomBoxes.push_back(&design_->Box(cell));
    roomCells.Add(design_->Box(cell));
    area += design_->Area(cell);
  }

  const CPolygon2 outline = RoomOutline(roomCells);
  if (area < target) {
    RecordCandidates(region, isTaken, roomBoxes);
  } else {
    trace << "ROOM COMPLETE" << '\n';
  }
  const bool complete = area >= target || candidateBoxes.GetSize() == 0;
  rooms.Add(CRoom(this, outline, complete));

  // Every connected piece of what is left of the region is pending again.
  design_->PutBackRest(region, room, isTaken);
  trace.flush();
}

std::vector<int> CFloor::GrowRoom(const Region& region, std::uint32_t target,
                                  std::vector<bool>& isTaken) {
  quarn::DesignRegions& cells = *design_;
  building->ConsumeStep();
  const int seedCell = region.seed;
  std::vector<int> room{seedCell};
  std::vector<const CBox2*> roomBoxes{&cells.Box(seedCell)};
  std::uint32_t area = cells.Area(seedCell);
  isTaken[static_cast<std::size_t>(seedCell)] = true;
  // The cells linked to the room: only they score above 0, so the best
  // candidate is one of them unless there are none.
  std::vector<int> frontier;
  auto extendFrontier = [&](int cell) {
    for (int linked : cells.Neighbours(cell)) {
      if (linked == quarn::DesignRegions::kNoCell || isTaken[static_cast<std::size_t>(linked)]) {
        continue;
      }
      if (std::find(frontier.begin(), frontier.end(), linked) == frontier.end()) {
        frontier.push_back(linked);
      }
    }
  };
  extendFrontier(seedCell);
  while (!building->IsBudgetExhausted() && room.size() < region.cells.size() && area < target) {
    building->ConsumeStep();
    const int best = frontier.empty() ? LastFreeCell(region, isTaken)
                                      : BestFrontierCell(frontier, roomBoxes);
    room.push_back(best);
    roomBoxes.push_back(&cells.Box(best));
    area += cells.Area(best);
    isTaken[static_cast<std::size_t>(best)] = true;
    frontier.erase(std::remove(frontier.begin(), frontier.end(), best), frontier.end());
    extendFrontier(best);
  }
  return room;
}

// The highest score wins; among equal scores the cell latest in the region.
int CFloor::BestFrontierCell(const std::vector<int>& frontier,
                             const std::vector<const CBox2*>& roomBoxes) {
  quarn::DesignRegions& cells = *design_;
  int best = frontier[0];
  float bestScore = -1.0f;
  for (int cell : frontier) {
    const float score =
        CBoxScore(&cells.Box(cell), cells.NeighbourCount(cell), roomBoxes).GetScore();
    if (score > bestScore || (score == bestScore && cells.Position(cell) > cells.Position(best))) {
      best = cell;
      bestScore = score;
    }
  }
  return best;
}

// With no cell linked to the room every candidate scores 0, and the latest
// of equal scores wins.
int CFloor::LastFreeCell(const Region& region, const std::vector<bool>& isTaken) {
  for (auto cell = region.cells.rbegin(); cell != region.cells.rend(); ++cell) {
    if (!isTaken[static_cast<std::size_t>(*cell)]) return *cell;
  }
  return region.cells.back();
}

// Scores every cell left in the region, as the overlay and the trace show.
void CFloor::RecordCandidates(const Region& region, const std::vector<bool>& isTaken,
                              const std::vector<const CBox2*>& roomBoxes) {
  std::vector<CBoxScore> scores;
  for (int cell : region.cells) {
    if (isTaken[static_cast<std::size_t>(cell)]) continue;
    scores.emplace_back(&design_->Box(cell), design_->NeighbourCount(cell), roomBoxes);
  }
  if (!scores.empty()) PickBestScore(scores, true);
}
