#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <unordered_map>

#include "building/cbuilding.h"
#include "finish/finishedbuilding.h"
#include "export/jsonwriter.h"
#include "furnish/furniture.h"
#include "nav/reachability.h"
#include "programme/roomtype.h"

namespace quarn {

// Writes the plan dump, a stable JSON contract for other programs:
//   {"format":"quarn-plan","version":1,"steps":N|"all","buildings":[...]}
// Each building holds its outline, its spec and its floors; each floor its
// rooms (outline, wallOutline, complete), pending regions (cells as
// [minx,miny,maxx,maxy]), candidates (box and score), walls (edge, room
// indices [first] or [first,second], solid box, pieces as
// [x0,y0,z0,x1,y1,z1]) and slabs (per room). Everything is in the model's
// own order; integers are written as integers, floats with 9 significant
// digits. Buildings are written as they are added, so a caller can generate
// and dump one building at a time.
//
// Version 2, the finished buildings, keeps every key of version 1 in its
// place, with the entrance cut into its wall's pieces and the stair openings
// cut out of the slabs, and adds per room "storey", "doors" (wall indices)
// and "fromEntrance" (doors and stairs from outside, or null), and per
// building, after its floors, "entrance" ({"wall","room","centre","facing"}
// or null) and "stairs" (one per pair of consecutive storeys:
// {"storeys":[k,k+1],"footprint":[minx,miny,maxx,maxy],"climb","rooms":
// [below,above],"steps":[boxes]}, footprint, climb and rooms null and steps
// empty where the pair has none).
//
// Version 3, the typed buildings, keeps every key of version 2 in its place,
// with closed doors' walls uncut in "pieces", and adds per room "type" and
// "name" (null on a storey that is not complete), per wall "opening"
// ("door", "window", "entrance" or "none") and per building, after its
// stairs, "programme" ({"name", "unmet": [phrases]}), and when furnished,
// after it, "furniture" (one {"kind", "room", "storey", "footprint":
// [x0,y0,x1,y1], "facing", "boxes": [boxes]} per piece) and "unfurnished"
// (one phrase per piece a room's set could not place). With the navigation
// of the building, every room adds after "name" "reachable" (from outside
// the entrance, on the navigation mesh) and "pathLength" (metres along the
// path to the room's free point, null when unreachable).
class PlanDump {
 public:
  // Starts the dump; steps is the budget every building was generated with
  // (STEP_BUDGET_UNLIMITED is written as "all"). version is 1, 2 or 3.
  PlanDump(std::ostream& out, std::uint32_t steps, int version);
  // Version 2 when finished, else 1.
  PlanDump(std::ostream& out, std::uint32_t steps, bool finished = false)
      : PlanDump(out, steps, finished ? 2 : 1) {}

  // finished must be given from version 2 on, typed and nav in version 3
  // only, furnished only with typed.
  void AddBuilding(const CBuilding& building, const FinishedBuilding* finished = nullptr,
                   const TypedBuilding* typed = nullptr, const FurnishedBuilding* furnished = nullptr,
                   const NavBuilding* nav = nullptr);
  // Closes the dump and ends the line.
  void Finish();

 private:
  void WriteFloor(const CFloor& floor, int storey, const FinishedBuilding* finished,
                  const TypedBuilding* typed, const NavBuilding* nav);
  void WriteWall(const std::unordered_map<const CRoom*, int>& roomIndices, const CWall& wall,
                 const TList<CBox3>& pieces, const char* opening);
  void WriteProgramme(const TypedBuilding& typed);
  void WriteFurniture(const FurnishedBuilding& furnished);
  void WriteEntrance(const std::optional<Entrance>& entrance);
  void WriteStairs(const std::vector<std::optional<Stair>>& stairs);

  std::ostream& out_;
  JsonWriter json_;
};

}  // namespace quarn
