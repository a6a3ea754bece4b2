#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// What a room is for. Public rooms (hall, living, dining, kitchen,
// reception, kitchenette, meeting, office) may be passed through on the way
// to another room; private ones (bedroom, bathroom, wc, study, storage,
// utility) keep one door, to a public room.
enum class RoomType {
  Hall,
  Living,
  Dining,
  Kitchen,
  Bedroom,
  Bathroom,
  Wc,
  Study,
  Storage,
  Utility,
  Office,
  Meeting,
  Reception,
  Kitchenette,
};

inline constexpr int kRoomTypeCount = 14;

// The type's key in files and dumps ("hall", "living", ..., "kitchenette").
std::string_view GetRoomTypeKey(RoomType type);
// The type whose key is `key`, or none.
std::optional<RoomType> FindRoomType(std::string_view key);
bool IsPublicRoomType(RoomType type);

// What the programme makes of a finished building. types[k][r] is the type
// of room r of storey k, none on a storey that is not complete; names[k][r]
// its name ("Bedroom 2"; empty where untyped). doorKept[k][w] tells, for
// wall w of storey k between two rooms, whether its door stays (outer walls
// are true: they hold no door of this kind). unmet holds one phrase per goal
// of the programme the building could not meet. unit is the metres per grid
// unit the programme measured rooms with.
struct TypedBuilding {
  std::string programme;
  std::vector<std::vector<std::optional<RoomType>>> types;
  std::vector<std::vector<std::string>> names;
  std::vector<std::vector<bool>> doorKept;
  std::vector<std::string> unmet;
  float unit = 1.0f;
};

}  // namespace quarn
