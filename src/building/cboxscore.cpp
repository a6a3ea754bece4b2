#include "building/cboxscore.h"

#include "geom/side.h"

namespace {

// Score weights, summed left to right; they add up to 1.
constexpr double kInDstWeight = 0.3;
constexpr double kNotInDstWeight = 0.1;
constexpr double kDistanceWeight = 0.15;
constexpr double kOccupiedWeight = 0.2;
constexpr double kAspectWeight = 0.25;

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
