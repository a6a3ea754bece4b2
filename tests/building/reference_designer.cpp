#include "building/reference_designer.h"

#include <sstream>

#include "building/cboxscore.h"
#include "building/designrandom.h"

namespace quarn::test {
namespace {

struct Budget {
  std::uint32_t steps;
  bool IsExhausted() const { return steps == 0; }
  void Consume() {
    if (steps != 0 && steps != STEP_BUDGET_UNLIMITED) --steps;
  }
};

void RemovePointer(CBox2PtrList& list, CBox2* box) { list.RemoveAt(list.IndexOf(box)); }

CBox2List CopyCells(const CBox2PtrList& cells) {
  CBox2List copy;
  for (int i = 0; i < cells.GetSize(); ++i) copy.Add(*cells[i]);
  return copy;
}

CBox2* PickSeed(const CBox2PtrList& source) {
  CBox2* best = source[0];
  int bestShape = best->GetNeighbourShape();
  int bestArea = best->GetArea();
  for (int i = 0; i < source.GetSize(); ++i) {
    CBox2* cell = source[i];
    const int shape = cell->GetNeighbourShape();
    const int area = cell->GetArea();
    if (shape < bestShape || (shape == bestShape && area > bestArea)) {
      best = cell;
      bestShape = shape;
      bestArea = area;
    }
  }
  return best;
}

class Designer {
 public:
  Designer(const CFloorSpec& spec, Budget& budget, std::ostream& trace)
      : spec_(spec), budget_(budget), trace_(trace) {}

  ReferenceFloor Design(std::uint32_t storeysMade) {
    random_.Seed(spec_.GetMaxRoomSize() * (storeysMade + 1u));
    AddPendingRegion(CLattice2(CPolygon2(spec_.outline)));
    while (floor_.pendingRegions.GetSize() > 0 && !budget_.IsExhausted()) DesignStep();
    MatchWalls();
    return floor_;
  }

 private:
  void AddPendingRegion(const CLattice2& region) {
    floor_.pendingRegions.Add(region);
    floor_.pendingRegions[floor_.pendingRegions.GetSize() - 1].Subdivide(7, 5);
  }

  CBox2* ChooseBest(CBox2PtrList source, const CBox2PtrList& destination, bool record) {
    if (source.GetSize() == 0) return nullptr;
    TList<CBoxScore> scores;
    for (int i = 0; i < source.GetSize(); ++i) scores.Add(CBoxScore(source[i], destination));
    scores.Sort();
    if (record) {
      floor_.candidateBoxes.Clear();
      floor_.candidateScores.Clear();
      for (int i = 0; i < scores.GetSize(); ++i) {
        const float score = scores[i].GetScore();
        if (score != 0.0f) {
          floor_.candidateBoxes.Add(*scores[i].box);
          floor_.candidateScores.Add(score);
        }
        trace_ << score << '\n';
      }
      trace_ << '\n' << "---" << '\n';
    }
    return scores[scores.GetSize() - 1].box;
  }

  void MatchWalls() {
    const TList<CPolygon2>& outlines = floor_.roomOutlines;
    for (int r = 0; r < outlines.GetSize(); ++r) {
      CPolygon2 split = outlines[r];
      for (int o = 0; o < outlines.GetSize(); ++o) {
        if (o != r) split.InsertSplitsFrom(outlines[o]);
      }
      floor_.wallOutlines.Add(split);
      for (int j = 0; j < split.GetSize(); ++j) {
        const CEdge2 edge = split.GetEdge(j);
        int match = 0;
        while (match < floor_.walls.GetSize() && !(floor_.walls[match].edge == edge)) ++match;
        if (match == floor_.walls.GetSize()) {
          floor_.walls.Add(ReferenceWall{edge, r, -1});
        } else if (floor_.walls[match].second < 0) {
          floor_.walls[match].second = r;
        }
      }
    }
  }

  void DesignStep() {
    trace_ << '\n' << "=============" << '\n';
    const std::uint32_t target = RoomTargetArea(spec_.roomSize, spec_.roomSizeVariance,
                                                random_.Next());
    floor_.pendingRegions.Sort();
    const int last = floor_.pendingRegions.GetSize() - 1;
    CBox2List cells = floor_.pendingRegions[last].GetBoxList();
    floor_.pendingRegions.RemoveAt(last);
    CBox2PtrList source;
    for (int i = 0; i < cells.GetSize(); ++i) source.Add(&cells[i]);

    CBox2PtrList destination;
    budget_.Consume();
    CBox2* seed = PickSeed(source);
    destination.Add(seed);
    RemovePointer(source, seed);
    while (!budget_.IsExhausted() && source.GetSize() > 0 && GetTotalArea(destination) < target) {
      budget_.Consume();
      CBox2* best = ChooseBest(source, destination, false);
      destination.Add(best);
      RemovePointer(source, best);
    }

    CPolygon2 outline = CLattice2(CopyCells(destination)).GetAsPolygon();
    outline.RemoveSplits(0);
    outline.RemoveSplits(1);
    if (GetTotalArea(destination) < target) {
      ChooseBest(source, destination, true);
    } else {
      trace_ << "ROOM COMPLETE" << '\n';
    }
    floor_.roomOutlines.Add(outline);
    floor_.roomComplete.Add(GetTotalArea(destination) >= target ||
                            floor_.candidateBoxes.GetSize() == 0);

    TList<CBox2List> pieces = cells.Difference(CopyCells(destination)).GetSeperatePieces();
    for (int i = 0; i < pieces.GetSize(); ++i) AddPendingRegion(CLattice2(pieces[i]));
  }

  const CFloorSpec& spec_;
  Budget& budget_;
  std::ostream& trace_;
  DesignRandom random_;
  ReferenceFloor floor_;
};

}  // namespace

ReferenceBuilding DesignByReference(const CFloorSpec& spec, std::uint32_t stepBudget) {
  std::ostringstream trace;
  Budget budget{stepBudget};
  ReferenceBuilding building;
  const std::uint32_t storeys = budget.IsExhausted() ? 1 : spec.storeys;
  for (std::uint32_t i = 0; i != storeys; ++i) {
    if (i > 0 && budget.IsExhausted()) break;
    building.floors.Add(Designer(spec, budget, trace).Design(i));
  }
  building.stepBudget = budget.steps;
  building.trace = trace.str();
  return building;
}

}  // namespace quarn::test
