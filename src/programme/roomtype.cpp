#include "programme/roomtype.h"

#include <array>

namespace quarn {

namespace {

constexpr std::array<std::string_view, kRoomTypeCount> kKeys = {
    "hall",    "living", "dining",  "kitchen", "bedroom",   "bathroom", "wc",
    "study",   "storage", "utility", "office", "meeting", "reception", "kitchenette"};

}  // namespace

std::string_view GetRoomTypeKey(RoomType type) { return kKeys[static_cast<int>(type)]; }

std::optional<RoomType> FindRoomType(std::string_view key) {
  for (int i = 0; i < kRoomTypeCount; ++i)
    if (kKeys[i] == key) return static_cast<RoomType>(i);
  return std::nullopt;
}

bool IsPublicRoomType(RoomType type) {
  switch (type) {
    case RoomType::Bedroom:
    case RoomType::Bathroom:
    case RoomType::Wc:
    case RoomType::Study:
    case RoomType::Storage:
    case RoomType::Utility:
      return false;
    default:
      return true;
  }
}

}  // namespace quarn
