#include "app/viewsettings.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

constexpr std::uint32_t kRoomSizeStep = 5;
constexpr std::uint32_t kMinRoomSize = 5;
constexpr std::uint32_t kMaxRoomSize = 500;
constexpr std::array<std::uint32_t, 5> kVariances = {0, 10, 25, 50, 100};
constexpr std::uint32_t kMaxStoreys = 8;
constexpr std::array<const char*, 3> kProgrammes = {"house", "office", "none"};

// value moved by step within [low, high]; false when already at that end.
template <typename T>
bool StepWithin(T& value, int direction, T step, T low, T high) {
  if (direction > 0 && value + step <= high) {
    value += step;
    return true;
  }
  if (direction < 0 && value >= low + step) {
    value -= step;
    return true;
  }
  return false;
}

bool StepVariance(std::uint32_t& variance, int direction) {
  const auto* at = std::find(kVariances.begin(), kVariances.end(), variance);
  auto index = static_cast<std::uint32_t>(std::distance(kVariances.begin(), at));
  if (!StepWithin(index, direction, 1u, 0u, static_cast<std::uint32_t>(kVariances.size() - 1))) {
    return false;
  }
  variance = kVariances[index];
  return true;
}

}  // namespace

void ViewSettings::SelectNext() {
  if (selected + 1 < kItemCount) selected = static_cast<Item>(selected + 1);
}

void ViewSettings::SelectPrevious() {
  if (selected > kRoomSize) selected = static_cast<Item>(selected - 1);
}

bool ViewSettings::Change(int direction) {
  switch (selected) {
    case kRoomSize:
      return StepWithin(roomSize, direction, kRoomSizeStep, kMinRoomSize, kMaxRoomSize);
    case kVariance: return StepVariance(roomSizeVariance, direction);
    case kStoreys: return StepWithin(storeys, direction, 1u, 1u, kMaxStoreys);
    case kSeed: return StepWithin(seed, direction, 1, 0, kMaxSeed);
    case kProgramme:
      return StepWithin(programme, direction, 1, 0, static_cast<int>(kProgrammes.size()) - 1);
    case kItemCount: break;
  }
  return false;
}

bool ViewSettings::Reroll() {
  if (!SeedMatters()) return false;
  seed = seed == kMaxSeed ? 0 : seed + 1;
  return true;
}

bool ViewSettings::HasDesignValues() const {
  return roomSize == kDefaultRoomSize && roomSizeVariance == 0 && storeys == 1 && seed == 0;
}

const char* ViewSettings::GetProgramme() const {
  return kProgrammes[static_cast<std::size_t>(programme)];
}

CFloorSpec ViewSettings::SpecOf(const CPolygon2& outline) const {
  CFloorSpec spec(outline, storeys, roomSizeVariance, roomSize);
  spec.seed = seed;
  return spec;
}

std::string ViewSettings::Line(Item item) const {
  switch (item) {
    case kRoomSize: return "room size " + std::to_string(roomSize);
    case kVariance: return "variance " + std::to_string(roomSizeVariance);
    case kStoreys: return "storeys " + std::to_string(storeys);
    case kSeed:
      return "seed " + std::to_string(seed) +
             (SeedMatters() ? "" : " (no effect while the variance is 0)");
    case kProgramme: return std::string("programme ") + GetProgramme();
    case kItemCount: break;
  }
  return {};
}
