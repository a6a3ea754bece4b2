#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "building/cfloor.h"
#include "finish/finishedbuilding.h"
#include "programme/roomtype.h"
#include "tlist.h"

namespace quarn {

// Where a programme wishes a type to stand: anywhere, on the ground storey
// (0), or above it (met by every storey of a one-storey building).
enum class StoreyWish { kAny, kGround, kUpper };

// Bounds on how many rooms of a type a building holds: per building, per
// complete storey, or per `every` rooms of the type perType (the bound is
// then ceil(rooms of perType * bound / every)). Bounds left out are no goal.
struct CountGoal {
  enum class Per { kBuilding, kStorey, kType };
  Per per = Per::kBuilding;
  RoomType perType = RoomType::Hall;
  int every = 1;
  std::optional<int> min;
  std::optional<int> max;

  bool operator==(const CountGoal& other) const = default;
};

// What a programme asks of the rooms of one type. Sizes are hard: a room
// smaller than minArea (m²) or narrower than minWidth (m, the shorter side
// of its bounding box), or without a window when daylight is asked, never
// takes the type. area (m², > 0) is the size the type suits best. Counts,
// adjacent (each room of the type opens, through a door that stays, to a
// room of one of these types) and storeys are goals.
struct RoomTypeRules {
  bool used = false;
  float minArea = 0;
  float minWidth = 0;
  bool daylight = false;
  float area = 10;
  std::vector<CountGoal> counts;
  std::vector<RoomType> adjacent;
  StoreyWish storeys = StoreyWish::kAny;

  bool operator==(const RoomTypeRules& other) const = default;
};

// A room programme: the types it uses and its rules for each, indexed by
// RoomType. The hall is always used and takes any room (no minimum, no
// daylight), so that every room of a complete storey can be typed.
struct Programme {
  std::string name;
  std::array<RoomTypeRules, kRoomTypeCount> types;

  const RoomTypeRules& Rules(RoomType type) const { return types[static_cast<std::size_t>(type)]; }
  RoomTypeRules& Rules(RoomType type) { return types[static_cast<std::size_t>(type)]; }
  bool operator==(const Programme& other) const = default;
};

std::ostream& operator<<(std::ostream& os, const Programme& programme);

// True when the hall is used without sizes or daylight, every other rule
// is in range (sizes >= 0, area > 0, every >= 1, 0 <= min <= max) and
// every perType is a used type.
bool IsValidProgramme(const Programme& programme);

// The built-in programmes "house" and "office", or none for another name.
std::optional<Programme> GetBuiltinProgramme(std::string_view name);

// The name a room of the type is shown with ("Living room", "WC").
std::string GetRoomTypeName(RoomType type);

// The colour rooms of the type are shown in (plans, the view): light and
// distinct, private types in cooler tones than public ones.
CColour GetRoomTypeColour(RoomType type);

// Types every room of the complete storeys of a finished building and
// decides which doors between two rooms stay, never breaking these rules:
// every room of a complete storey has one type the room is large, wide and
// lit enough for; a private room keeps exactly one door, to a public room;
// doors between two public rooms stay; the entrance room and the rooms a
// stair stands in are public; every room the finished building reaches
// from the entrance stays reachable through the doors that stay and the
// stairs. Within these rules the programme's goals are met as far as a
// deterministic local search finds (see README); unmet holds a phrase for
// each goal missed. unit is metres per grid unit. Requires
// IsValidProgramme(programme) and finished = FinishBuilding(floors).
TypedBuilding ApplyProgramme(const TList<CFloor>& floors, const FinishedBuilding& finished,
                             const Programme& programme, float unit);

// The area (grid units²) of room room of floor.
double GetRoomArea(const CFloor& floor, int room);

// True when typed closed the door of wall `wall` of storey `storey`.
bool IsDoorClosed(const TypedBuilding& typed, int storey, int wall);

// The pieces of a wall of a finished building, typed or not (null): a wall
// whose door is closed is its uncut box, every other one as finished.
TList<CBox3> GetTypedWallPieces(const CFloor& floor, const FinishedBuilding& finished,
                                const TypedBuilding* typed, int storey, int wall);

// What a wall of a finished building opens as: "entrance", "door",
// "window", or "none" (a closed door, a short outer wall).
const char* GetWallOpeningKey(const CFloor& floor, const FinishedBuilding& finished,
                              const TypedBuilding* typed, int storey, int wall);
// What a wall opens as in the design alone: "door", "window" or "none".
const char* GetDesignOpeningKey(const CWall& wall);

// The room's name in lower case with its index, as exports name its node:
// "bedroom 2 (room 5)"; "room 5" where it has no type.
std::string GetTypedRoomNodeName(const TypedBuilding& typed, int storey, int room);

}  // namespace quarn
