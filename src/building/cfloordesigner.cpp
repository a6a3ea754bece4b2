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

void RemovePointer(CBox2PtrList& list, CBox2* box) { list.RemoveAt(list.IndexOf(box)); }

CBox2List CopyCells(const CBox2PtrList& cells) {
  CBox2List copy;
  for (int i = 0; i < cells.GetSize(); ++i) copy.Add(*cells[i]);
  return copy;
}

// The room's outline: its cells merged, without collinear vertices.
CPolygon2 RoomOutline(const CBox2PtrList& cells) {
  CPolygon2 outline = CLattice2(CopyCells(cells)).GetAsPolygon();
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

CBoxScore::CBoxScore(CBox2* candidate, CBox2PtrList destination) : box(candidate) {
  neighboursInDst = 0;
  for (int i = 0; i < destination.GetSize(); ++i) {
    if (candidate->GetNeighbourSide(*destination[i]) != SideNone) ++neighboursInDst;
  }
  neighboursNotInDst = static_cast<std::uint32_t>(candidate->GetNeighbourCount()) - neighboursInDst;
  averageDistance = GetDistance(GetAverageCentre(destination), candidate->GetCentre());

  destination.Add(candidate);
  const CBox2 extents = GetExtentsBox(destination);
  extentsOccupied = static_cast<float>(GetTotalArea(destination)) /
                    static_cast<float>(extents.GetArea());
  extentsAspect =
      static_cast<float>(extents.GetSize().x) / static_cast<float>(extents.GetSize().y);

  inDstTerm = static_cast<float>(neighboursInDst / 4.0);
  notInDstTerm = static_cast<float>(1.0 - neighboursNotInDst / 4.0);
  // The distance is measured against the farthest the centre of the grown
  // room's cells could lie from its extents' centre.
  const CVector2 extentsCentre = extents.GetCentre();
  const float d1 = GetDistance(extentsCentre, GetAverageCentre(destination));
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

CBox2* CFloor::ChooseBestCandidate(CBox2PtrList source, const CBox2PtrList& destination, bool record) {
  if (source.GetSize() == 0) return nullptr;
  TList<CBoxScore> scores;
  for (int i = 0; i < source.GetSize(); ++i) {
    scores.Add(CBoxScore(source[i], destination));
  }
  scores.Sort();
  if (record) {
    std::ostream& trace = quarn::DesignTrace();
    candidateBoxes.Clear();
    candidateScores.Clear();
    for (int i = 0; i < scores.GetSize(); ++i) {
      const float score = scores[i].GetScore();
      if (score != 0.0f) {
        candidateBoxes.Add(*scores[i].box);
        candidateScores.Add(score);
      }
      trace << score << '\n';
    }
    trace << '\n' << "---" << '\n';
  }
  return scores[scores.GetSize() - 1].box;
}

void CFloor::DesignStep() {
  std::ostream& trace = quarn::DesignTrace();
  trace << '\n' << "=============" << '\n';
  QUARN_ASSERT(!building->IsBudgetExhausted());
  const std::uint32_t target = GetRoomTargetArea();

  // The largest region is divided; sorting is stable, so among equally
  // large ones the latest is taken. Its cells come with neighbour links.
  pendingRegions.Sort();
  const int last = pendingRegions.GetSize() - 1;
  CBox2List cells = pendingRegions[last].GetBoxList();
  pendingRegions.RemoveAt(last);
  CBox2PtrList source;
  for (int i = 0; i < cells.GetSize(); ++i) source.Add(&cells[i]);
  if (!QUARN_ASSERT(source.GetSize() > 0)) {
    trace.flush();
    return;
  }
  const CBox2PtrList destination = GrowRoom(source, target);

  const CPolygon2 outline = RoomOutline(destination);
  if (GetTotalArea(destination) < target) {
    ChooseBestCandidate(source, destination, true);
  } else {
    trace << "ROOM COMPLETE" << '\n';
  }
  const bool complete = GetTotalArea(destination) >= target || candidateBoxes.GetSize() == 0;
  rooms.Add(CRoom(this, outline, complete));

  // Every connected piece of what is left of the region is pending again.
  TList<CBox2List> pieces = cells.Difference(CopyCells(destination)).GetSeperatePieces();
  for (int i = 0; i < pieces.GetSize(); ++i) AddPendingRegion(CLattice2(pieces[i]));
  trace.flush();
}

CBox2PtrList CFloor::GrowRoom(CBox2PtrList& source, std::uint32_t target) {
  CBox2PtrList destination;
  building->ConsumeStep();
  CBox2* seed = PickSeedBox(source);
  destination.Add(seed);
  RemovePointer(source, seed);
  while (!building->IsBudgetExhausted() && source.GetSize() > 0 &&
         GetTotalArea(destination) < target) {
    building->ConsumeStep();
    CBox2* best = ChooseBestCandidate(source, destination, false);
    destination.Add(best);
    RemovePointer(source, best);
  }
  return destination;
}

void CFloor::AddPendingRegion(const CLattice2& region) {
  pendingRegions.Add(region);
  pendingRegions[pendingRegions.GetSize() - 1].Subdivide(kCellMaxSize, kCellStep);
}
