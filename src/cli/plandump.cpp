#include "plandump.h"

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

void WriteRoom(JsonWriter& json, const CRoom& room) {
  json.BeginObject();
  json.Key("outline");
  WritePolygon(json, room.outline);
  json.Key("wallOutline");
  WritePolygon(json, room.wallOutline);
  json.Key("complete");
  json.Bool(room.complete);
  json.EndObject();
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

PlanDump::PlanDump(std::ostream& out, std::uint32_t steps) : out_(out), json_(out) {
  json_.BeginObject();
  json_.Key("format");
  json_.String("quarn-plan");
  json_.Key("version");
  json_.Int(1);
  json_.Key("steps");
  if (steps == STEP_BUDGET_UNLIMITED) {
    json_.String("all");
  } else {
    json_.Unsigned(steps);
  }
  json_.Key("buildings");
  json_.BeginArray();
}

void PlanDump::AddBuilding(const CBuilding& building) {
  json_.BeginObject();
  json_.Key("outline");
  WritePolygon(json_, building.spec.outline);
  json_.Key("spec");
  WriteSpec(json_, building.spec);
  json_.Key("floors");
  json_.BeginArray();
  for (int i = 0; i < building.floors.GetSize(); ++i) WriteFloor(building.floors[i]);
  json_.EndArray();
  json_.EndObject();
}

void PlanDump::Finish() {
  json_.EndArray();
  json_.EndObject();
  QUARN_ASSERT(json_.IsComplete());
  out_ << '\n';
}

void PlanDump::WriteFloor(const CFloor& floor) {
  json_.BeginObject();
  json_.Key("rooms");
  json_.BeginArray();
  for (int i = 0; i < floor.rooms.GetSize(); ++i) WriteRoom(json_, floor.rooms[i]);
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
  for (int i = 0; i < floor.walls.GetSize(); ++i) WriteWall(roomIndices, floor.walls[i]);
  json_.EndArray();

  json_.Key("slabs");
  json_.BeginArray();
  for (int i = 0; i < floor.slabs.GetSize(); ++i) WriteBox3List(json_, floor.slabs[i]);
  json_.EndArray();
  json_.EndObject();
}

void PlanDump::WriteWall(const std::unordered_map<const CRoom*, int>& roomIndices,
                         const CWall& wall) {
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
  WriteBox3List(json_, wall.pieces);
  json_.EndObject();
}

}  // namespace quarn
