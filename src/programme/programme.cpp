#include "programme/programme.h"

#include <cmath>

namespace quarn {
namespace {

using Per = CountGoal::Per;

CountGoal PerBuilding(std::optional<int> min, std::optional<int> max) {
  return CountGoal{Per::kBuilding, RoomType::Hall, 1, min, max};
}

CountGoal PerStorey(std::optional<int> min, std::optional<int> max) {
  return CountGoal{Per::kStorey, RoomType::Hall, 1, min, max};
}

CountGoal PerType(RoomType type, int every, std::optional<int> min, std::optional<int> max) {
  return CountGoal{Per::kType, type, every, min, max};
}

RoomTypeRules Rules(float minArea, float minWidth, bool daylight, float area) {
  RoomTypeRules rules;
  rules.used = true;
  rules.minArea = minArea;
  rules.minWidth = minWidth;
  rules.daylight = daylight;
  rules.area = area;
  return rules;
}

// A family home: living rooms, kitchen and dining on the ground storey,
// bedrooms with one bathroom for every three.
Programme MakeHouse() {
  Programme p;
  p.name = "house";
  p.Rules(RoomType::Hall) = Rules(0, 0, false, 8);
  RoomTypeRules& living = p.Rules(RoomType::Living) = Rules(14, 3, true, 25);
  living.counts = {PerBuilding(1, 1)};
  living.adjacent = {RoomType::Dining, RoomType::Kitchen, RoomType::Hall};
  living.storeys = StoreyWish::kGround;
  RoomTypeRules& dining = p.Rules(RoomType::Dining) = Rules(9, 2.5f, true, 14);
  dining.counts = {PerBuilding(std::nullopt, 1)};
  dining.adjacent = {RoomType::Kitchen, RoomType::Living};
  dining.storeys = StoreyWish::kGround;
  RoomTypeRules& kitchen = p.Rules(RoomType::Kitchen) = Rules(7, 2.2f, true, 12);
  kitchen.counts = {PerBuilding(1, 1)};
  kitchen.adjacent = {RoomType::Living, RoomType::Dining};
  kitchen.storeys = StoreyWish::kGround;
  RoomTypeRules& bedroom = p.Rules(RoomType::Bedroom) = Rules(8, 2.5f, true, 15);
  bedroom.counts = {PerBuilding(1, std::nullopt)};
  bedroom.storeys = StoreyWish::kUpper;
  RoomTypeRules& bathroom = p.Rules(RoomType::Bathroom) = Rules(4, 1.6f, false, 7);
  bathroom.counts = {PerBuilding(1, std::nullopt), PerType(RoomType::Bedroom, 3, 1, std::nullopt)};
  RoomTypeRules& wc = p.Rules(RoomType::Wc) = Rules(1.5f, 0.9f, false, 3);
  wc.counts = {PerStorey(std::nullopt, 1)};
  RoomTypeRules& study = p.Rules(RoomType::Study) = Rules(6, 2.2f, true, 10);
  study.counts = {PerBuilding(std::nullopt, 1)};
  p.Rules(RoomType::Storage) = Rules(0, 0, false, 4);
  RoomTypeRules& utility = p.Rules(RoomType::Utility) = Rules(3, 1.5f, false, 6);
  utility.counts = {PerBuilding(std::nullopt, 1)};
  utility.adjacent = {RoomType::Kitchen, RoomType::Hall};
  return p;
}

// Offices round meeting rooms, a reception on the ground storey and a
// kitchenette and WC for the staff.
Programme MakeOffice() {
  Programme p;
  p.name = "office";
  p.Rules(RoomType::Hall) = Rules(0, 0, false, 10);
  RoomTypeRules& reception = p.Rules(RoomType::Reception) = Rules(8, 2.5f, false, 16);
  reception.counts = {PerBuilding(1, 1)};
  reception.adjacent = {RoomType::Hall, RoomType::Meeting};
  reception.storeys = StoreyWish::kGround;
  RoomTypeRules& office = p.Rules(RoomType::Office) = Rules(6, 2.2f, true, 16);
  office.counts = {PerBuilding(1, std::nullopt)};
  RoomTypeRules& meeting = p.Rules(RoomType::Meeting) = Rules(10, 2.8f, false, 20);
  meeting.counts = {PerBuilding(1, std::nullopt), PerType(RoomType::Office, 4, std::nullopt, 1)};
  RoomTypeRules& kitchenette = p.Rules(RoomType::Kitchenette) = Rules(4, 1.6f, false, 8);
  kitchenette.counts = {PerBuilding(1, std::nullopt), PerStorey(std::nullopt, 1)};
  RoomTypeRules& wc = p.Rules(RoomType::Wc) = Rules(1.5f, 0.9f, false, 4);
  wc.counts = {PerBuilding(1, std::nullopt), PerStorey(std::nullopt, 2)};
  p.Rules(RoomType::Storage) = Rules(0, 0, false, 5);
  RoomTypeRules& utility = p.Rules(RoomType::Utility) = Rules(3, 1.5f, false, 6);
  utility.counts = {PerBuilding(std::nullopt, 1)};
  return p;
}

bool IsValidCount(const CountGoal& goal, const Programme& programme) {
  if (goal.every < 1) return false;
  if (goal.min && *goal.min < 0) return false;
  if (goal.max && *goal.max < 0) return false;
  if (goal.min && goal.max && *goal.min > *goal.max) return false;
  return goal.per != Per::kType || programme.Rules(goal.perType).used;
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const Programme& programme) {
  os << "programme " << programme.name << ':';
  for (int t = 0; t < kRoomTypeCount; ++t) {
    const RoomTypeRules& rules = programme.types[static_cast<std::size_t>(t)];
    if (!rules.used) continue;
    os << ' ' << GetRoomTypeKey(static_cast<RoomType>(t)) << '(' << rules.minArea << " m2, "
       << rules.minWidth << " m" << (rules.daylight ? ", daylight" : "") << ", area "
       << rules.area << ", " << rules.counts.size() << " counts, " << rules.adjacent.size()
       << " adjacent, storeys " << static_cast<int>(rules.storeys) << ')';
  }
  return os;
}

bool IsValidProgramme(const Programme& programme) {
  const RoomTypeRules& hall = programme.Rules(RoomType::Hall);
  if (!hall.used || hall.minArea != 0 || hall.minWidth != 0 || hall.daylight) return false;
  for (const RoomTypeRules& rules : programme.types) {
    if (!rules.used) continue;
    if (!(rules.minArea >= 0) || !(rules.minWidth >= 0) || !(rules.area > 0)) return false;
    if (!std::isfinite(rules.minArea) || !std::isfinite(rules.minWidth) ||
        !std::isfinite(rules.area)) {
      return false;
    }
    for (const CountGoal& goal : rules.counts) {
      if (!IsValidCount(goal, programme)) return false;
    }
    for (const RoomType wished : rules.adjacent) {
      if (!programme.Rules(wished).used) return false;
    }
  }
  return true;
}

std::optional<Programme> GetBuiltinProgramme(std::string_view name) {
  if (name == "house") return MakeHouse();
  if (name == "office") return MakeOffice();
  return std::nullopt;
}

std::string GetRoomTypeName(RoomType type) {
  switch (type) {
    case RoomType::Living:
      return "Living room";
    case RoomType::Dining:
      return "Dining room";
    case RoomType::Wc:
      return "WC";
    case RoomType::Meeting:
      return "Meeting room";
    default: {
      std::string name(GetRoomTypeKey(type));
      name[0] = static_cast<char>(name[0] - 'a' + 'A');
      return name;
    }
  }
}

double GetRoomArea(const CFloor& floor, int room) {
  const CPolygon2& outline = floor.rooms[room].outline;
  double twice = 0;
  for (int i = 0; i < outline.GetSize(); ++i) {
    const CPoint2& a = outline[i];
    const CPoint2& b = outline[outline.GetNext(i)];
    twice += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
  }
  return std::abs(twice) / 2;
}

}  // namespace quarn
