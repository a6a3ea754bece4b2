#pragma once

#include <optional>
#include <string>
#include <vector>

#include "finish/finishedbuilding.h"
#include "furnish/layers.h"
#include "programme/programme.h"
#include "nav/walker.h"
#include "tlist.h"

// Walking through the finished buildings of the view: a walker (see
// quarn::Walker) over the walkable geometry of every building, at the
// export's scale (1 m a grid unit, 3 m a storey, so a view unit of height
// is 2 m), and the room it stands in. With a programme the buildings are
// typed and furnished by it: closed doors and furniture are in the way, and
// places name the room's type.
class ViewWalk {
 public:
  // Metres per view unit of height: a storey is kStoreyRise units and 3 m.
  static constexpr float kMetresPerHeightUnit = 3.0f / 1.5f;
  static constexpr float kStartMetres = 3.0f;

  // Starts kStartMetres in front of the entrance of the first building
  // that has one; none when no building has an entrance.
  static std::optional<ViewWalk> Start(const TList<TList<CFloor>>& buildings,
                                       const quarn::Programme* programme);

  // Walks one frame of seconds toward heading (the camera's, in degrees:
  // 0 along +y, 90 along +x).
  void Step(const quarn::WalkInput& input, float headingDegrees, float seconds);
  // The same walker on rebuilt buildings (new settings or step).
  void Rebuild(const TList<TList<CFloor>>& buildings, const quarn::Programme* programme);

  // The eyes in view units (z up, 1.5 units a storey) and the heading that
  // faces the walker's way, in degrees.
  CVector3 GetEyes() const;
  float GetHeading() const;

  // Where the walker is, as printed: "building 0, storey 1, room 3
  // (bedroom)" (the type where the room has one), or "outside".
  std::string DescribePlace() const;
  // The place, when it differs from the one last taken; it then counts as
  // taken.
  std::optional<std::string> TakePlaceChange();

 private:
  ViewWalk(const TList<TList<CFloor>>& buildings, quarn::BuildingLayers layers, quarn::Walker walker);

  TList<TList<CFloor>> buildings_;
  quarn::BuildingLayers layers_;
  quarn::Walker walker_;
  std::optional<std::string> lastPlace_;
};

// The walkable geometry of every building of layers (typed and furnished
// where they are), at the view's scale.
quarn::WalkableGeometry ViewWalkGeometry(const TList<TList<CFloor>>& buildings,
                                         const quarn::BuildingLayers& layers);
