// The designer's share of CFloor: growing rooms in the pending regions.

#include <algorithm>

#include "building/cfloor.h"
#include "qassert.h"

namespace {

// The room's outline: its cells merged, without collinear vertices.
CPolygon2 RoomOutline(const CBox2List& cells) {
  CPolygon2 outline = CLattice2(cells).GetAsPolygon();
  outline.RemoveSplits(0);
  outline.RemoveSplits(1);
  return outline;
}

}  // namespace

std::uint32_t CFloor::GetRoomTargetArea() {
  const int draw = design_->random.Next();
  return quarn::RoomTargetArea(design_->spec.roomSize, design_->spec.roomSizeVariance, draw);
}

CBox2* CFloor::PickSeedBox(const CBox2PtrList& source) {
  if (source.GetSize() == 0) return nullptr;
  quarn::SeedChoice<CBox2*> seed(source[0], source[0]->GetNeighbourShape(), source[0]->GetArea());
  for (int i = 0; i < source.GetSize(); ++i) {
    seed.Offer(source[i], source[i]->GetNeighbourShape(), source[i]->GetArea());
  }
  return seed.best;
}

CBox2* CFloor::ChooseBestCandidate(CBox2PtrList source, const CBox2PtrList& destination,
                                   bool record, quarn::DesignObserver& observer) {
  if (source.GetSize() == 0) return nullptr;
  std::vector<CBoxScore> scores;
  for (int i = 0; i < source.GetSize(); ++i) scores.emplace_back(source[i], destination);
  return PickBestScore(scores, record, observer);
}

CBox2* CFloor::PickBestScore(std::vector<CBoxScore>& scores, bool record,
                             quarn::DesignObserver& observer) {
  // Stable, so among equal scores the candidate latest in the source is last.
  std::stable_sort(scores.begin(), scores.end());
  if (record) {
    candidateBoxes.Clear();
    candidateScores.Clear();
    for (const CBoxScore& candidate : scores) {
      const float score = candidate.GetScore();
      if (score != 0.0f) {
        candidateBoxes.Add(*candidate.box);
        candidateScores.Add(score);
      }
      observer.CandidateScored(score);
    }
    observer.CandidatesScored();
  }
  return scores.back().box;
}

void CFloor::DesignStep() {
  quarn::DesignObserver& observer = design_->observer;
  observer.RoomStarted();
  QUARN_ASSERT(!design_->budget.IsExhausted());
  const std::uint32_t target = GetRoomTargetArea();

  // The largest region is divided; among equally large ones the latest.
  quarn::DesignRegions& cells = design_->regions;
  const Region region = cells.TakeLargest();
  if (!QUARN_ASSERT(!region.cells.empty())) {
    observer.StepTaken();
    return;
  }
  std::vector<bool> isTaken(static_cast<std::size_t>(cells.GetCellCount()), false);
  const std::vector<int> room = GrowRoom(region, target, isTaken);
  std::vector<const CBox2*> roomBoxes;
  CBox2List roomCells;
  std::uint32_t area = 0;
  for (int cell : room) {
    roomBoxes.push_back(&cells.Box(cell));
    roomCells.Add(cells.Box(cell));
    area += cells.Area(cell);
  }

  const CPolygon2 outline = RoomOutline(roomCells);
  if (area < target) {
    RecordCandidates(region, isTaken, roomBoxes);
  } else {
    observer.RoomCompleted();
  }
  const bool complete = area >= target || candidateBoxes.GetSize() == 0;
  rooms.Add(CRoom(this, outline, complete));

  // Every connected piece of what is left of the region is pending again.
  cells.PutBackRest(region, room, isTaken);
  observer.StepTaken();
}

std::vector<int> CFloor::GrowRoom(const Region& region, std::uint32_t target,
                                  std::vector<bool>& isTaken) {
  quarn::DesignRegions& cells = design_->regions;
  quarn::DesignBudget& budget = design_->budget;
  budget.ConsumeStep();
  design_->observer.CellPlaced();
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
  while (!budget.IsExhausted() && room.size() < region.cells.size() && area < target) {
    budget.ConsumeStep();
    design_->observer.CellPlaced();
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
  quarn::DesignRegions& cells = design_->regions;
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
    scores.emplace_back(&design_->regions.Box(cell), design_->regions.NeighbourCount(cell),
                        roomBoxes);
  }
  if (!scores.empty()) PickBestScore(scores, true, design_->observer);
}
