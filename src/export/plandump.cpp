#include "export/plandump.h"

#include "programme/programme.h"
#include "qassert.h"

namespace quarn {
namespace {

void WritePoint(JsonWriter& json, const CPoint2& p) {
  json.BeginArray();
  json.Int(p.x);
  json.Int(p.y);
  json.EndArray();
}

void WritePolygon(JsonWriter& json, const CPolygon2& polygon) {
  json.BeginArray();
  for (int i = 0; i < polygon.GetSize(); ++i) WritePoint(json, polygon[i]);
  json.EndArray();
}

void WriteBox2(JsonWriter& json, const CBox2& box) {
  json.BeginArray();
  json.Int(box.GetMin().x);
  json.Int(box.GetMin().y);
  json.Int(box.GetMax().x);
  json.Int(box.GetMax().y);
  json.EndArray();
}

void WriteBox2List(JsonWriter& json, const CBox2List& boxes) {
  json.BeginArray();
  for (int i = 0; i < boxes.GetSize(); ++i) WriteBox2(json, boxes[i]);
  json.EndArray();
}

void WriteBox3(JsonWriter& json, const CBox3& box) {
  const CVector3 lo = box.GetMin();
  const CVector3 hi = box.GetMax();
  json.BeginArray();
  for (const float v : {lo.x, lo.y, lo.z, hi.x, hi.y, hi.z}) json.Float(v);
  json.EndArray();
}

void WriteBox3List(JsonWriter& json, const TList<CBox3>& boxes) {
  json.BeginArray();
  for (int i = 0; i < boxes.GetSize(); ++i) WriteBox3(json, boxes[i]);
  json.EndArray();
}

// The room's keys; the finished keys follow when finished is given.
void WriteRoom(JsonWriter& json, const CFloor& floor, int storey, int room,
               const FinishedBuilding* finished, const TypedBuilding* typed, const NavBuilding* nav) {
  json.BeginObject();
  json.Key("outline");
  WritePolygon(json, floor.rooms[room].outline);
  json.Key("wallOutline");
  WritePolygon(json, floor.rooms[room].wallOutline);
  json.Key("complete");
  json.Bool(floor.rooms[room].complete);
  if (finished != nullptr) {
    json.Key("storey");
    json.Int(storey);
    json.Key("doors");
    json.BeginArray();
    for (const int wall : finished->GetDoors(floor, storey, room)) json.Int(wall);
    json.EndArray();
    json.Key("fromEntrance");
    const std::optional<int> distance =
        finished->fromEntrance[static_cast<std::size_t>(storey)][static_cast<std::size_t>(room)];
    if (distance) {
      json.Int(*distance);
    } else {
      json.Null();
    }
  }
  if (typed != nullptr) {
    const std::optional<RoomType>& type =
        typed->types[static_cast<std::size_t>(storey)][static_cast<std::size_t>(room)];
    json.Key("type");
    if (type) {
      json.String(std::string(GetRoomTypeKey(*type)));
    } else {
      json.Null();
    }
    json.Key("name");
    if (type) {
      json.String(typed->names[static_cast<std::size_t>(storey)][static_cast<std::size_t>(room)]);
    } else {
      json.Null();
    }
  }
  if (nav != nullptr) {
    const RoomReach& reach = nav->rooms[static_cast<std::size_t>(storey)][static_cast<std::size_t>(room)];
    json.Key("reachable");
    json.Bool(reach.reachable);
    json.Key("pathLength");
    if (reach.pathLength) {
      json.Float(*reach.pathLength);
    } else {
      json.Null();
    }
  }
  json.EndObject();
}

// A side as the direction it faces: "-x", "+x", "-y", "+y".
const char* Direction(Side side) {
  static constexpr const char* kNames[] = {"-x", "+x", "-y", "+y"};
  return kNames[side];
}

void WriteSpec(JsonWriter& json, const CFloorSpec& spec) {
  json.BeginObject();
  json.Key("storeys");
  json.Unsigned(spec.storeys);
  json.Key("roomSize");
  json.Unsigned(spec.roomSize);
  json.Key("roomSizeVariance");
  json.Unsigned(spec.roomSizeVariance);
  json.Key("maxRoomSize");
  json.Unsigned(spec.maxRoomSize);
  json.EndObject();
}

}  // namespace

PlanDump::PlanDump(std::ostream& out, std::uint32_t steps, int version) : out_(out), json_(out) {
  json_.BeginObject();
  json_.Key("format");
  json_.String("quarn-plan");
  json_.Key("version");
  json_.Int(version);
  json_.Key("steps");
  if (steps == STEP_BUDGET_UNLIMITED) {
    json_.String("all");
  } else {
    json_.Unsigned(steps);
  }
  json_.Key("buildings");
  json_.BeginArray();
}

void PlanDump::AddBuilding(const CBuilding& building, const FinishedBuilding* finished,
                           const TypedBuilding* typed, const FurnishedBuilding* furnished,
                           const NavBuilding* nav) {
  json_.BeginObject();
  json_.Key("outline");
  WritePolygon(json_, building.spec.outline);
  json_.Key("spec");
  WriteSpec(json_, building.spec);
  json_.Key("floors");
  json_.BeginArray();
  for (int i = 0; i < building.floors.GetSize(); ++i) {
    WriteFloor(building.floors[i], i, finished, typed, nav);
  }
  json_.EndArray();
  if (finished != nullptr) {
    WriteEntrance(finished->entrance);
    WriteStairs(finished->stairs);
  }
  if (typed != nullptr) WriteProgramme(*typed);
  if (typed != nullptr && furnished != nullptr) WriteFurniture(*furnished);
  json_.EndObject();
}

void PlanDump::WriteProgramme(const TypedBuilding& typed) {
  json_.Key("programme");
  json_.BeginObject();
  json_.Key("name");
  json_.String(typed.programme);
  json_.Key("unmet");
  json_.BeginArray();
  for (const std::string& unmet : typed.unmet) json_.String(unmet);
  json_.EndArray();
  json_.EndObject();
}

void PlanDump::WriteFurniture(const FurnishedBuilding& furnished) {
  json_.Key("furniture");
  json_.BeginArray();
  for (const FurniturePiece& piece : furnished.pieces) {
    json_.BeginObject();
    json_.Key("kind");
    json_.String(piece.kind);
    json_.Key("room");
    json_.Int(piece.room);
    json_.Key("storey");
    json_.Int(piece.storey);
    json_.Key("footprint");
    json_.BeginArray();
    for (const float v : piece.footprint) json_.Float(v);
    json_.EndArray();
    json_.Key("facing");
    json_.String(Direction(piece.facing));
    json_.Key("boxes");
    WriteBox3List(json_, piece.boxes);
    json_.EndObject();
  }
  json_.EndArray();
  json_.Key("unfurnished");
  json_.BeginArray();
  for (const std::string& missing : furnished.unfurnished) json_.String(missing);
  json_.EndArray();
}

void PlanDump::WriteEntrance(const std::optional<Entrance>& entrance) {
  json_.Key("entrance");
  if (!entrance) {
    json_.Null();
    return;
  }
  json_.BeginObject();
  json_.Key("wall");
  json_.Int(entrance->wall);
  json_.Key("room");
  json_.Int(entrance->room);
  json_.Key("centre");
  json_.BeginArray();
  json_.Float(entrance->centre.x);
  json_.Float(entrance->centre.y);
  json_.EndArray();
  json_.Key("facing");
  json_.String(Direction(entrance->facing));
  json_.EndObject();
}

void PlanDump::WriteStairs(const std::vector<std::optional<Stair>>& stairs) {
  json_.Key("stairs");
  json_.BeginArray();
  for (std::size_t k = 0; k < stairs.size(); ++k) {
    const std::optional<Stair>& stair = stairs[k];
    json_.BeginObject();
    json_.Key("storeys");
    json_.BeginArray();
    json_.Int(static_cast<int>(k));
    json_.Int(static_cast<int>(k) + 1);
    json_.EndArray();
    json_.Key("footprint");
    if (stair) {
      WriteBox2(json_, stair->footprint);
    } else {
      json_.Null();
    }
    json_.Key("climb");
    if (stair) {
      json_.String(Direction(stair->climb));
    } else {
      json_.Null();
    }
    json_.Key("rooms");
    if (stair) {
      json_.BeginArray();
      json_.Int(stair->roomBelow);
      json_.Int(stair->roomAbove);
      json_.EndArray();
    } else {
      json_.Null();
    }
    json_.Key("steps");
    WriteBox3List(json_, stair ? stair->steps : TList<CBox3>());
    json_.EndObject();
  }
  json_.EndArray();
}

void PlanDump::Finish() {
  json_.EndArray();
  json_.EndObject();
  QUARN_ASSERT(json_.IsComplete());
  out_ << '\n';
}

void PlanDump::WriteFloor(const CFloor& floor, int storey, const FinishedBuilding* finished,
                          const TypedBuilding* typed, const NavBuilding* nav) {
  json_.BeginObject();
  json_.Key("rooms");
  json_.BeginArray();
  for (int i = 0; i < floor.rooms.GetSize(); ++i) WriteRoom(json_, floor, storey, i, finished, typed, nav);
  json_.EndArray();

  json_.Key("pendingRegions");
  json_.BeginArray();
  for (int i = 0; i < floor.pendingRegions.GetSize(); ++i) {
    WriteBox2List(json_, floor.pendingRegions[i].GetBoxList());
  }
  json_.EndArray();

  json_.Key("candidates");
  json_.BeginArray();
  const int candidates = floor.candidateBoxes.GetSize();
  QUARN_ASSERT(candidates == floor.candidateScores.GetSize());
  for (int i = 0; i < candidates && i < floor.candidateScores.GetSize(); ++i) {
    json_.BeginObject();
    json_.Key("box");
    WriteBox2(json_, floor.candidateBoxes[i]);
    json_.Key("score");
    json_.Float(floor.candidateScores[i]);
    json_.EndObject();
  }
  json_.EndArray();

  json_.Key("walls");
  json_.BeginArray();
  const std::unordered_map<const CRoom*, int> roomIndices = floor.GetRoomIndices();
  for (int i = 0; i < floor.walls.GetSize(); ++i) {
    if (finished == nullptr) {
      WriteWall(roomIndices, floor.walls[i], floor.walls[i].pieces, nullptr);
    } else {
      WriteWall(roomIndices, floor.walls[i], GetTypedWallPieces(floor, *finished, typed, storey, i),
                typed ? GetWallOpeningKey(floor, *finished, typed, storey, i) : nullptr);
    }
  }
  json_.EndArray();

  json_.Key("slabs");
  json_.BeginArray();
  for (int i = 0; i < floor.slabs.GetSize(); ++i) {
    WriteBox3List(json_, finished ? finished->GetSlabs(floor, storey, i) : floor.slabs[i]);
  }
  json_.EndArray();
  json_.EndObject();
}

void PlanDump::WriteWall(const std::unordered_map<const CRoom*, int>& roomIndices,
                         const CWall& wall, const TList<CBox3>& pieces, const char* opening) {
  json_.BeginObject();
  json_.Key("edge");
  json_.BeginArray();
  WritePoint(json_, wall.edge.GetPoint(1));
  WritePoint(json_, wall.edge.GetPoint(2));
  json_.EndArray();
  json_.Key("rooms");
  json_.BeginArray();
  for (const CRoom* room : {wall.pair.first, wall.pair.second}) {
    if (room == nullptr) continue;
    const auto index = roomIndices.find(room);
    if (QUARN_ASSERT(index != roomIndices.end())) json_.Int(index->second);
  }
  json_.EndArray();
  json_.Key("solid");
  WriteBox3(json_, wall.GetSolidBox());
  json_.Key("pieces");
  WriteBox3List(json_, pieces);
  if (opening != nullptr) {
    json_.Key("opening");
    json_.String(opening);
  }
  json_.EndObject();
}

}  // namespace quarn
