#include "furnish/catalogue.h"

#include <algorithm>

#include "finish/stair.h"

namespace quarn {
namespace {

using P = Placement;
using R = Preference;
using C = Chairs;

// One part of a piece in its own frame, metres: u across its front from
// its left, v from its back toward its front, z up from the floor.
struct Part {
  float u0, v0, z0, u1, v1, z1;
};

std::vector<Part> PartsOf(const PieceModel& m) {
  const float w = m.width, d = m.depth, h = m.height;
  const std::string_view k = m.kind;
  if (k == "bed") {
    std::vector<Part> parts = {{0, 0, 0, w, d, 0.3f},
                               {0.05f, 0.1f, 0.3f, w - 0.05f, d - 0.05f, 0.5f},
                               {0, 0, 0.3f, w, 0.08f, h}};
    const int pillows = w > 1.2f ? 2 : 1;
    const float pillow = (w - 0.3f) / static_cast<float>(pillows);
    for (int i = 0; i < pillows; ++i) {
      const float u = 0.1f + static_cast<float>(i) * (pillow + 0.1f);
      parts.push_back({u, 0.15f, 0.5f, u + pillow, 0.5f, 0.6f});
    }
    return parts;
  }
  if (k == "sofa") {
    return {{0, 0, 0, w, d, 0.45f},
            {0, 0, 0.45f, w, 0.2f, h},
            {0, 0.2f, 0.45f, 0.15f, d, 0.65f},
            {w - 0.15f, 0.2f, 0.45f, w, d, 0.65f}};
  }
  if (k == "table" || k == "low table") {
    const float top = h - 0.05f, leg = 0.06f;
    return {{0, 0, top, w, d, h},
            {0.05f, 0.05f, 0, 0.05f + leg, 0.05f + leg, top},
            {w - 0.05f - leg, 0.05f, 0, w - 0.05f, 0.05f + leg, top},
            {0.05f, d - 0.05f - leg, 0, 0.05f + leg, d - 0.05f, top},
            {w - 0.05f - leg, d - 0.05f - leg, 0, w - 0.05f, d - 0.05f, top}};
  }
  if (k == "chair") {
    // The back rest stands on the side a person pulls the chair out from.
    return {{0.05f, 0.05f, 0, w - 0.05f, d - 0.05f, 0.42f},
            {0, 0, 0.42f, w, d, 0.47f},
            {0, d - 0.06f, 0.47f, w, d, h}};
  }
  if (k == "desk") {
    return {{0, 0, h - 0.04f, w, d, h}, {0, 0, 0, 0.05f, d, h - 0.04f}, {w - 0.05f, 0, 0, w, d, h - 0.04f}};
  }
  if (k == "counter") {
    const float sink = std::min(0.5f, w * 0.35f);
    return {{0, 0, 0, w, d - 0.03f, 0.86f},
            {0, 0, 0.86f, w, d, h},
            {0.15f, 0.08f, h, 0.15f + sink, d - 0.1f, h + 0.02f},
            {w - 0.15f - sink, 0.08f, h, w - 0.15f, d - 0.1f, h + 0.01f}};
  }
  if (k == "toilet") {
    return {{0, 0, 0, w, 0.2f, h}, {0.05f, 0.2f, 0, w - 0.05f, d, 0.42f}};
  }
  if (k == "basin") {
    return {{w / 2 - 0.1f, 0, 0, w / 2 + 0.1f, 0.2f, h - 0.12f}, {0, 0, h - 0.12f, w, d, h}};
  }
  if (k == "shower") {
    return {{0, 0, 0, w, d, 0.1f}, {w - 0.03f, 0, 0.1f, w, d, h}};
  }
  if (k == "media unit") {
    return {{0, 0, 0, w, d, 0.5f}, {w * 0.2f, 0.1f, 0.5f, w * 0.8f, 0.16f, h}};
  }
  if (k == "bench") {
    return {{0.05f, 0.05f, 0, w - 0.05f, d - 0.05f, h - 0.05f}, {0, 0, h - 0.05f, w, d, h}};
  }
  if (k == "coat rack") {
    return {{0, 0, 0, w, d, 0.05f}, {w / 2 - 0.03f, d / 2 - 0.03f, 0.05f, w / 2 + 0.03f, d / 2 + 0.03f, h}};
  }
  // Wardrobes, shelves, fridges, baths, bedside tables: one block each.
  return {{0, 0, 0, w, d, h}};
}

constexpr std::array<PieceModel, 27> kModels = {{
    {"double bed", "bed", 1.6f, 2.0f, 1.0f, P::kBed, R::kFarFromDoors, C::kNone},
    {"single bed", "bed", 0.9f, 2.0f, 1.0f, P::kBed, R::kFarFromDoors, C::kNone},
    {"wardrobe", "wardrobe", 1.0f, 0.6f, 2.0f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"narrow wardrobe", "wardrobe", 0.6f, 0.6f, 2.0f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"bedside table", "bedside table", 0.45f, 0.4f, 0.5f, P::kAgainstWall, R::kNearFirst, C::kNone},
    {"sofa", "sofa", 2.0f, 0.9f, 0.85f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"small sofa", "sofa", 1.4f, 0.85f, 0.85f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"low table", "low table", 1.0f, 0.5f, 0.4f, P::kFree, R::kNearFirst, C::kNone},
    {"media unit", "media unit", 1.4f, 0.45f, 0.95f, P::kAgainstWall, R::kNearFirst, C::kNone},
    {"shelf", "shelf", 0.9f, 0.35f, 1.9f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"dining table", "table", 1.6f, 0.9f, 0.75f, P::kFree, R::kNearCentre, C::kFreeSides},
    {"small table", "table", 1.2f, 0.8f, 0.75f, P::kFree, R::kNearCentre, C::kFreeSides},
    {"square table", "table", 0.8f, 0.8f, 0.75f, P::kFree, R::kNearCentre, C::kFreeSides},
    {"meeting table", "table", 2.4f, 1.0f, 0.75f, P::kFree, R::kNearCentre, C::kFreeSides},
    {"long counter", "counter", 2.4f, 0.6f, 0.9f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"counter", "counter", 1.8f, 0.6f, 0.9f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"short counter", "counter", 1.2f, 0.6f, 0.9f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"fridge", "fridge", 0.6f, 0.65f, 1.8f, P::kAgainstWall, R::kNearFirst, C::kNone},
    {"toilet", "toilet", 0.4f, 0.7f, 0.8f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"basin", "basin", 0.6f, 0.45f, 0.85f, P::kAgainstWall, R::kNearFirst, C::kNone},
    {"bath", "bath", 1.7f, 0.75f, 0.55f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"shower", "shower", 0.9f, 0.9f, 2.0f, P::kAgainstWall, R::kFarFromDoors, C::kNone},
    {"desk", "desk", 1.2f, 0.6f, 0.75f, P::kAgainstWall, R::kFarFromDoors, C::kFront},
    {"reception desk", "desk", 1.6f, 0.7f, 1.0f, P::kAgainstWall, R::kNearCentre, C::kFront},
    {"chair", "chair", 0.45f, 0.45f, 0.9f, P::kFree, R::kNearFirst, C::kNone},
    {"bench", "bench", 1.0f, 0.4f, 0.45f, P::kAgainstWall, R::kNearCentre, C::kNone},
    {"coat rack", "coat rack", 0.5f, 0.35f, 1.8f, P::kAgainstWall, R::kNearCentre, C::kNone},
}};

// Metres of height to z in the storey frame.
float Rise(float metres) { return metres * (kStoreyRise / kStoreyMetres); }

}  // namespace

std::span<const PieceModel> GetPieceModels() { return kModels; }

std::optional<PieceModel> FindPieceModel(std::string_view name) {
  for (const PieceModel& model : kModels) {
    if (model.name == name) return model;
  }
  return std::nullopt;
}

TList<CBox3> BuildPieceBoxes(const PieceModel& model, const std::vector<float>& footprint, Side back) {
  const float x0 = footprint[0], y0 = footprint[1], x1 = footprint[2], y1 = footprint[3];
  // Plan position of local (u, v): the footprint is the model's width by
  // depth, stretched to its actual size.
  const auto place = [&](float u, float v) {
    const float a = u / model.width, b = v / model.depth;
    switch (back) {
      case SideLeft: return CVector3(x0 + b * (x1 - x0), y1 - a * (y1 - y0), 0);
      case SideRight: return CVector3(x1 - b * (x1 - x0), y0 + a * (y1 - y0), 0);
      case SideUp: return CVector3(x1 - a * (x1 - x0), y1 - b * (y1 - y0), 0);
      default: return CVector3(x0 + a * (x1 - x0), y0 + b * (y1 - y0), 0);
    }
  };
  TList<CBox3> boxes;
  for (const Part& part : PartsOf(model)) {
    CVector3 a = place(part.u0, part.v0);
    CVector3 b = place(part.u1, part.v1);
    a.z = Rise(part.z0);
    b.z = Rise(part.z1);
    if (a.x == b.x || a.y == b.y || a.z == b.z) continue;
    boxes.Add(CBox3(a, b));
  }
  return boxes;
}

FurnitureSets GetDefaultFurnitureSets() {
  FurnitureSets sets;
  const auto set = [&](RoomType type, std::vector<FurnitureItem> items) {
    sets[static_cast<std::size_t>(type)] = std::move(items);
  };
  set(RoomType::Bedroom, {{{"double bed", "single bed"}, true, 1},
                          {{"wardrobe", "narrow wardrobe"}, true, 1},
                          {{"bedside table"}, false, 1}});
  set(RoomType::Living, {{{"sofa", "small sofa"}, true, 1},
                         {{"low table"}, true, 1},
                         {{"media unit", "shelf"}, false, 1}});
  set(RoomType::Dining, {{{"dining table", "small table", "square table"}, true, 1}});
  set(RoomType::Kitchen, {{{"long counter", "counter", "short counter"}, true, 1},
                          {{"fridge"}, true, 1},
                          {{"small table", "square table"}, false, 1}});
  set(RoomType::Bathroom, {{{"toilet"}, true, 1}, {{"basin"}, true, 1}, {{"bath", "shower"}, true, 1}});
  set(RoomType::Wc, {{{"toilet"}, true, 1}, {{"basin"}, true, 1}});
  set(RoomType::Study, {{{"desk"}, true, 1}, {{"shelf"}, false, 1}});
  set(RoomType::Storage, {{{"shelf"}, true, 1}, {{"shelf"}, false, 1}});
  set(RoomType::Utility, {{{"shelf"}, true, 1}, {{"shelf"}, false, 1}});
  set(RoomType::Hall, {{{"bench", "coat rack"}, false, 1}});
  set(RoomType::Office, {{{"desk"}, true, 0}});
  set(RoomType::Meeting, {{{"meeting table", "dining table", "small table"}, true, 1}});
  set(RoomType::Reception, {{{"reception desk", "desk"}, true, 1}});
  set(RoomType::Kitchenette, {{{"counter", "short counter"}, true, 1}});
  return sets;
}

}  // namespace quarn
