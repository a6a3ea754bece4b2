#pragma once

// Drawing of the finished buildings: every storey raised to its height
// (storey k by k x 1.5), the entrance and the stair openings cut in, and
// the stairs and the entrance drawn in addition, in each of the four
// styles.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "building/cfloor.h"
#include "finish/finishedbuilding.h"
#include "geom/cvector3.h"
#include "programme/programme.h"
#include "tlist.h"

// The storey as finishing leaves it: a copy of floor whose entrance wall has
// the entrance's pieces and whose rooms have their slabs with the stair
// openings; with typed, walls whose door is closed are whole.
CFloor GetFinishedFloor(const CFloor& floor, const quarn::FinishedBuilding& finished, int storey,
                        const quarn::TypedBuilding* typed = nullptr);

// A room's name at a point of the world (grid units, z up).
struct RoomLabel {
  CVector3 at;
  std::string name;
};

// The name of every typed room of a storey at the centre of its largest
// box, raised to the storey's floor (k x kStoreyRise) plus lift.
std::vector<RoomLabel> GetRoomLabels(const CFloor& floor, const quarn::TypedBuilding& typed,
                                     int storey, float lift);

// Where label points fall in the window with the current matrices and
// viewport: pixels from the bottom-left; labels behind the camera or off
// the viewport are left out.
std::vector<std::pair<CVector2, std::string>> ProjectLabels(const std::vector<RoomLabel>& labels);

// What the finished storey shows besides its floor: the steps of the stair
// rising from it.
TList<CBox3> GetFinishingBoxes(const quarn::FinishedBuilding& finished, int storey);

// The view's drawing of the finished buildings. The buildings are finished,
// and typed by programme when one is given, once per revision (it changes
// whenever they are regenerated) and programme. Typed rooms are outlined in
// their type's colour in style 1.
class CFinishedDrawing {
 public:
  void Draw(const TList<TList<CFloor>>& buildings, std::uint64_t revision, int style,
            const quarn::Programme* programme = nullptr);
  // The names of the typed rooms of the buildings last drawn; empty
  // without a programme.
  const std::vector<RoomLabel>& GetLabels() const { return labels_; }

 private:
  std::optional<std::uint64_t> revision_;
  std::string programme_;
  std::vector<quarn::FinishedBuilding> finished_;
  std::vector<quarn::TypedBuilding> typed_;
  std::vector<RoomLabel> labels_;
  TList<TList<CFloor>> floors_;
};
