#include "programme/programme.h"

#include <cctype>
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

CColour GetRoomTypeColour(RoomType type) {
  static constexpr std::array<CColour, kRoomTypeCount> kColours = {
      CColour(0.86f, 0.84f, 0.78f),  // hall
      CColour(0.98f, 0.80f, 0.52f),  // living
      CColour(0.96f, 0.68f, 0.50f),  // dining
      CColour(0.95f, 0.56f, 0.46f),  // kitchen
      CColour(0.62f, 0.76f, 0.96f),  // bedroom
      CColour(0.52f, 0.88f, 0.90f),  // bathroom
      CColour(0.66f, 0.92f, 0.82f),  // wc
      CColour(0.76f, 0.70f, 0.94f),  // study
      CColour(0.74f, 0.74f, 0.76f),  // storage
      CColour(0.80f, 0.86f, 0.66f),  // utility
      CColour(0.98f, 0.90f, 0.50f),  // office
      CColour(0.94f, 0.62f, 0.72f),  // meeting
      CColour(0.90f, 0.78f, 0.62f),  // reception
      CColour(0.95f, 0.56f, 0.46f),  // kitchenette
  };
  return kColours[static_cast<std::size_t>(type)];
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

bool IsDoorClosed(const TypedBuilding& typed, int storey, int wall) {
  const auto k = static_cast<std::size_t>(storey);
  const auto w = static_cast<std::size_t>(wall);
  return k < typed.doorKept.size() && w < typed.doorKept[k].size() && !typed.doorKept[k][w];
}

TList<CBox3> GetTypedWallPieces(const CFloor& floor, const FinishedBuilding& finished,
                                const TypedBuilding* typed, int storey, int wall) {
  if (typed != nullptr && IsDoorClosed(*typed, storey, wall)) return floor.walls[wall].solid;
  return finished.GetWallPieces(floor, storey, wall);
}

const char* GetWallOpeningKey(const CFloor& floor, const FinishedBuilding& finished,
                              const TypedBuilding* typed, int storey, int wall) {
  if (storey == 0 && finished.entrance && finished.entrance->wall == wall) return "entrance";
  if (typed != nullptr && IsDoorClosed(*typed, storey, wall)) return "none";
  return GetDesignOpeningKey(floor.walls[wall]);
}

const char* GetDesignOpeningKey(const CWall& wall) {
  switch (wall.GetOpening()) {
    case CWall::Opening::kDoor:
      return "door";
    case CWall::Opening::kWindow:
      return "window";
    case CWall::Opening::kNone:
      break;
  }
  return "none";
}

std::string GetTypedRoomNodeName(const TypedBuilding& typed, int storey, int room) {
  const std::string index = "room " + std::to_string(room);
  const auto k = static_cast<std::size_t>(storey);
  const auto r = static_cast<std::size_t>(room);
  if (k >= typed.names.size() || r >= typed.names[k].size() || typed.names[k][r].empty()) {
    return index;
  }
  std::string name = typed.names[k][r];
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name + " (" + index + ")";
}

}  // namespace quarn
