#include "furnish/layers.h"

#include "furnish/furnish.h"

namespace quarn {

BuildingLayers LayBuildings(const TList<TList<CFloor>>& buildings, const Programme* programme,
                            float unit) {
  BuildingLayers layers;
  layers.finished = FinishBuildings(buildings);
  if (programme == nullptr) return layers;
  for (int b = 0; b < buildings.GetSize(); ++b) {
    const FinishedBuilding& finished = layers.finished[static_cast<std::size_t>(b)];
    layers.typed.push_back(ApplyProgramme(buildings[b], finished, *programme, unit));
    layers.furnished.push_back(FurnishBuilding(buildings[b], finished, layers.typed.back(), unit));
  }
  return layers;
}

}  // namespace quarn
