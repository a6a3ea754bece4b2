#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "geom/cvector3.h"
#include "nav/navgeometry.h"
#include "nav/navpolygons.h"

class dtNavMesh;

namespace quarn {

// The walker a navigation mesh is built for, in metres and degrees: a
// cylinder of radius and height that steps up at most climb and walks
// slopes up to maxSlope; the walkable space is sampled in cells cellSize
// wide and cellHeight high.
struct NavAgent {
  float radius = 0.25f;
  float height = 1.8f;
  float climb = 0.25f;
  float maxSlope = 45.0f;
  float cellSize = 0.1f;
  float cellHeight = 0.05f;
};

// A navigation mesh over one building's walkable geometry. Copies share the
// immutable mesh; paths may be asked for from many threads at once.
class NavMesh {
 public:
  // Builds the mesh, or returns none and says why in error (the geometry is
  // empty, or too large for one mesh).
  static std::optional<NavMesh> Build(const WalkableGeometry& geometry, const NavAgent& agent,
                                      std::string& error);

  const NavPolygons& GetPolygons() const { return *polygons_; }

  // The corners of the straight path from `from` to `to` (metres), both
  // ends included, or none when either end is off the mesh (further than
  // the agent's radius across, or half its height up or down) or no path
  // reaches `to`.
  std::optional<std::vector<CVector3>> FindPath(const CVector3& from, const CVector3& to) const;

 private:
  NavMesh() = default;

  NavAgent agent_;
  std::shared_ptr<const dtNavMesh> mesh_;
  std::shared_ptr<const NavPolygons> polygons_;
};

// The length of a polyline in metres.
float GetPathLength(const std::vector<CVector3>& corners);

}  // namespace quarn
