#pragma once

// Drawing of the finished buildings: every storey raised to its height
// (storey k by k x 1.5), the entrance and the stair openings cut in, and
// the stairs and the entrance drawn in addition, in each of the four
// styles.

#include <cstdint>
#include <optional>
#include <vector>

#include "building/cfloor.h"
#include "finish/finishedbuilding.h"
#include "tlist.h"

// The storey as finishing leaves it: a copy of floor whose entrance wall has
// the entrance's pieces and whose rooms have their slabs with the stair
// openings.
CFloor GetFinishedFloor(const CFloor& floor, const quarn::FinishedBuilding& finished, int storey);

// What the finished storey shows besides its floor: the steps of the stair
// rising from it.
TList<CBox3> GetFinishingBoxes(const quarn::FinishedBuilding& finished, int storey);

// The view's drawing of the finished buildings. The buildings are finished
// once per revision (it changes whenever they are regenerated).
class CFinishedDrawing {
 public:
  void Draw(const TList<TList<CFloor>>& buildings, std::uint64_t revision, int style);

 private:
  std::optional<std::uint64_t> revision_;
  std::vector<quarn::FinishedBuilding> finished_;
  TList<TList<CFloor>> floors_;
};
