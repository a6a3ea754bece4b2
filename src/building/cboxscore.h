#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "geom/cbox2.h"
#include "geom/cvector2.h"
#include "tlist.h"

// Cells of a region being divided, by pointer: the pointed-to boxes live in
// the region copy of one design step and are not changed while listed.
using CBox2PtrList = TList<CBox2*>;

// Sum of the boxes' areas.
std::uint32_t GetTotalArea(const CBox2PtrList& list);
// Mean of the boxes' centres. The list must not be empty.
CVector2 GetAverageCentre(const CBox2PtrList& list);
// Smallest box holding every box of the list. The list must not be empty.
CBox2 GetExtentsBox(const CBox2PtrList& list);

// How well one candidate cell would extend a room (the destination cells):
// the five raw measures, their terms normalised to 0..1, and the weighted
// score (0 when the cell touches no room cell, 1 when every linked side of it
// lies on the room). Terms are worked out in double and stored as float.
// The candidate is not owned. Ordered by score.
class CBoxScore {
 public:
  CBoxScore(CBox2* candidate, CBox2PtrList destination);
  // The same for a candidate with neighbourCount linked sides in its region.
  CBoxScore(CBox2* candidate, int neighbourCount, const std::vector<const CBox2*>& destination);

  float GetScore() const;
  bool operator<(const CBoxScore& other) const { return GetScore() < other.GetScore(); }

  CBox2* box;
  std::uint32_t neighboursInDst;
  std::uint32_t neighboursNotInDst;
  float averageDistance;
  float extentsOccupied;
  float extentsAspect;
  float inDstTerm;
  float notInDstTerm;
  float distanceTerm;
  float occupiedTerm;
  float aspectTerm;

 private:
  // Fills the terms that depend on the room grown by the candidate: its
  // extents, its area and the mean centre of its cells.
  void SetExtentTerms(const CBox2& extents, std::uint32_t grownArea, const CVector2& grownCentre);
};

// The labelled record of every measure and term, then the score.
std::ostream& operator<<(std::ostream& os, const CBoxScore& score);
