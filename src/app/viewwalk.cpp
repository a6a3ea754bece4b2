#include "app/viewwalk.h"

#include <cmath>

namespace {

constexpr float kDegreesPerRadian = 57.29577951f;

const quarn::NavScale kScale{1.0f, 3.0f};

}  // namespace

quarn::WalkableGeometry ViewWalkGeometry(const TList<TList<CFloor>>& buildings,
                                         const quarn::BuildingLayers& layers) {
  quarn::WalkableGeometry world;
  for (int b = 0; b < buildings.GetSize(); ++b) {
    const auto i = static_cast<std::size_t>(b);
    if (i >= layers.finished.size()) break;
    quarn::WalkableGeometry one = quarn::GetWalkableGeometry(
        buildings[b], layers.finished[i], i < layers.typed.size() ? &layers.typed[i] : nullptr,
        i < layers.furnished.size() ? &layers.furnished[i] : nullptr, kScale);
    if (one.boxes.empty()) continue;
    // The walker has ground everywhere: the ground slab of each is dropped.
    one.boxes.pop_back();
    world.boxes.insert(world.boxes.end(), one.boxes.begin(), one.boxes.end());
  }
  return world;
}

std::optional<ViewWalk> ViewWalk::Start(const TList<TList<CFloor>>& buildings,
                                        const quarn::Programme* programme) {
  for (int b = 0; b < buildings.GetSize(); ++b) {
    const quarn::FinishedBuilding finished = quarn::FinishBuilding(buildings[b]);
    if (!finished.entrance) continue;
    const quarn::WalkStart start = quarn::GetWalkStart(*finished.entrance, kScale, kStartMetres);
    quarn::BuildingLayers layers = quarn::LayBuildings(buildings, programme, kScale.metresPerUnit);
    quarn::Walker walker(ViewWalkGeometry(buildings, layers), {}, {}, start.feet, start.yaw);
    return ViewWalk(buildings, std::move(layers), std::move(walker));
  }
  return std::nullopt;
}

ViewWalk::ViewWalk(const TList<TList<CFloor>>& buildings, quarn::BuildingLayers layers,
                   quarn::Walker walker)
    : buildings_(buildings), layers_(std::move(layers)), walker_(std::move(walker)) {}

void ViewWalk::Step(const quarn::WalkInput& input, float headingDegrees, float seconds) {
  walker_.Step(input, (90.0f - headingDegrees) / kDegreesPerRadian, seconds);
}

void ViewWalk::Rebuild(const TList<TList<CFloor>>& buildings, const quarn::Programme* programme) {
  buildings_ = buildings;
  layers_ = quarn::LayBuildings(buildings, programme, kScale.metresPerUnit);
  walker_ = quarn::Walker(ViewWalkGeometry(buildings, layers_), {}, {}, walker_.GetFeet(), walker_.GetYaw());
}

CVector3 ViewWalk::GetEyes() const {
  const CVector3 eyes = walker_.GetEyes();
  return {eyes.x, eyes.y, eyes.z / kMetresPerHeightUnit};
}

float ViewWalk::GetHeading() const {
  float heading = 90.0f - walker_.GetYaw() * kDegreesPerRadian;
  while (heading <= 0) heading += 360;
  while (heading > 360) heading -= 360;
  return heading;
}

std::string ViewWalk::DescribePlace() const {
  for (int b = 0; b < buildings_.GetSize(); ++b) {
    if (const auto place = quarn::FindWalkPlace(buildings_[b], kScale, walker_.GetFeet())) {
      std::string text = "building " + std::to_string(b) + ", storey " + std::to_string(place->storey) +
                         ", room " + std::to_string(place->room);
      const auto i = static_cast<std::size_t>(b);
      if (i < layers_.typed.size()) {
        const std::optional<quarn::RoomType>& type =
            layers_.typed[i].types[static_cast<std::size_t>(place->storey)][static_cast<std::size_t>(place->room)];
        if (type) text += " (" + std::string(quarn::GetRoomTypeKey(*type)) + ")";
      }
      return text;
    }
  }
  return "outside";
}

std::optional<std::string> ViewWalk::TakePlaceChange() {
  std::string place = DescribePlace();
  if (lastPlace_ == place) return std::nullopt;
  lastPlace_ = place;
  return place;
}
