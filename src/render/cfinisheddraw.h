#pragma once

// Drawing of the finished buildings: every storey raised to its height
// (storey k by k x 1.5), the entrance and the stair openings cut in, and
// the stairs, the entrance and the furniture of the rooms typed by the
// house programme drawn in addition, in each of the four styles.

#include <cstdint>
#include <optional>
#include <vector>

#include "building/cfloor.h"
#include "finish/finishedbuilding.h"
#include "furnish/furniture.h"
#include "tlist.h"

// The storey as finishing leaves it: a copy of floor whose entrance wall has
// the entrance's pieces and whose rooms have their slabs with the stair
// openings.
CFloor GetFinishedFloor(const CFloor& floor, const quarn::FinishedBuilding& finished, int storey);

// What the finished storey shows besides its floor: the steps of the stair
// rising from it.
TList<CBox3> GetFinishingBoxes(const quarn::FinishedBuilding& finished, int storey);

// The furniture of one storey in a style: outlines in styles 1 and 2,
// boxes filled in their material's colour in styles 3 and 4.
void DrawFurniture(const quarn::FurnishedBuilding& furnished, int storey, int style);

// The view's drawing of the finished buildings. The buildings are finished,
// typed and furnished once per revision (it changes whenever they are
// regenerated), and each storey's drawing in a style is compiled into a
// display list the first time it is drawn in that revision, so a frame
// replays the same commands without walking the model.
class CFinishedDrawing {
 public:
  void Draw(const TList<TList<CFloor>>& buildings, std::uint64_t revision, int style);

 private:
  void Prepare(const TList<TList<CFloor>>& buildings);

  std::optional<std::uint64_t> revision_;
  std::vector<quarn::FinishedBuilding> finished_;
  std::vector<quarn::FurnishedBuilding> furnished_;
  TList<TList<CFloor>> floors_;
  // The display list of each storey (in building order) per style, 0 while
  // not yet compiled.
  std::vector<std::vector<unsigned>> lists_;
};
