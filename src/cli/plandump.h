#pragma once

#include <cstdint>
#include <ostream>
#include <unordered_map>

#include "building/cbuilding.h"
#include "jsonwriter.h"

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
class PlanDump {
 public:
  // Starts the dump; steps is the budget every building was generated with
  // (STEP_BUDGET_UNLIMITED is written as "all").
  PlanDump(std::ostream& out, std::uint32_t steps);

  void AddBuilding(const CBuilding& building);
  // Closes the dump and ends the line.
  void Finish();

 private:
  void WriteFloor(const CFloor& floor);
  void WriteWall(const std::unordered_map<const CRoom*, int>& roomIndices, const CWall& wall);

  std::ostream& out_;
  JsonWriter json_;
};

}  // namespace quarn
