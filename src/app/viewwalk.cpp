#include "app/viewwalk.h"

#include <cmath>

namespace {

constexpr float kDegreesPerRadian = 57.29577951f;

const quarn::NavScale kScale{1.0f, 3.0f};

}  // namespace

quarn::WalkableGeometry ViewWalkGeometry(const TList<TList<CFloor>>& buildings) {
  quarn::WalkableGeometry world;
  for (int b = 0; b < buildings.GetSize(); ++b) {
    const quarn::FinishedBuilding finished = quarn::FinishBuilding(buildings[b]);
    quarn::WalkableGeometry one = quarn::GetWalkableGeometry(buildings[b], finished, nullptr, nullptr, kScale);
    if (one.boxes.empty()) continue;
    // The walker has ground everywhere: the ground slab of each is dropped.
    one.boxes.pop_back();
    world.boxes.insert(world.boxes.end(), one.boxes.begin(), one.boxes.end());
  }
  return world;
}

std::optional<ViewWalk> ViewWalk::Start(const TList<TList<CFloor>>& buildings) {
  for (int b = 0; b < buildings.GetSize(); ++b) {
    const quarn::FinishedBuilding finished = quarn::FinishBuilding(buildings[b]);
    if (!finished.entrance) continue;
    const quarn::WalkStart start = quarn::GetWalkStart(*finished.entrance, kScale, kStartMetres);
    return ViewWalk(buildings,
                    quarn::Walker(ViewWalkGeometry(buildings), {}, {}, start.feet, start.yaw));
  }
  return std::nullopt;
}

ViewWalk::ViewWalk(const TList<TList<CFloor>>& buildings, quarn::Walker walker)
    : buildings_(buildings), walker_(std::move(walker)) {}

void ViewWalk::Step(const quarn::WalkInput& input, float headingDegrees, float seconds) {
  walker_.Step(input, (90.0f - headingDegrees) / kDegreesPerRadian, seconds);
}

void ViewWalk::Rebuild(const TList<TList<CFloor>>& buildings) {
  buildings_ = buildings;
  walker_ = quarn::Walker(ViewWalkGeometry(buildings), {}, {}, walker_.GetFeet(), walker_.GetYaw());
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
      return "building " + std::to_string(b) + ", storey " + std::to_string(place->storey) + ", room " +
             std::to_string(place->room);
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
