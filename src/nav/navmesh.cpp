#include "nav/navmesh.h"

#include <DetourAlloc.h>
#include <DetourNavMesh.h>
#include <DetourNavMeshBuilder.h>
#include <DetourNavMeshQuery.h>
#include <Recast.h>

#include <algorithm>
#include <cmath>

namespace quarn {
namespace {

// Recast and Detour work with y up: our (x, y, z) is their (x, z, y).
void ToRecast(const CVector3& p, float* out) {
  out[0] = p.x;
  out[1] = p.z;
  out[2] = p.y;
}

CVector3 FromRecast(const float* p) { return {p[0], p[2], p[1]}; }

template <typename T, void (*Free)(T*)>
struct Freer {
  void operator()(T* p) const { Free(p); }
};
using Heightfield = std::unique_ptr<rcHeightfield, Freer<rcHeightfield, rcFreeHeightField>>;
using CompactHeightfield =
    std::unique_ptr<rcCompactHeightfield, Freer<rcCompactHeightfield, rcFreeCompactHeightfield>>;
using ContourSet = std::unique_ptr<rcContourSet, Freer<rcContourSet, rcFreeContourSet>>;
using PolyMesh = std::unique_ptr<rcPolyMesh, Freer<rcPolyMesh, rcFreePolyMesh>>;
using Query = std::unique_ptr<dtNavMeshQuery, Freer<dtNavMeshQuery, dtFreeNavMeshQuery>>;

constexpr int kVertsPerPolygon = 6;
constexpr unsigned short kWalkableFlag = 1;
constexpr int kMaxQueryNodes = 16384;
constexpr int kMaxPathPolygons = 8192;

// The cells [first, last) of one axis that a box from low to high overlaps
// by more than a sliver.
std::pair<int, int> CoveredCells(float low, float high, float origin, float cell, int count) {
  constexpr float kSliver = 1e-3f;
  const int first = static_cast<int>(std::floor((low - origin) / cell + kSliver));
  const int last = static_cast<int>(std::ceil((high - origin) / cell - kSliver));
  return {std::clamp(first, 0, count), std::clamp(last, 0, count)};
}

// Every box as solid spans of the heightfield; every span's top may be
// walked on until the filters find it too low, a ledge or too narrow.
bool AddBoxes(rcContext& context, rcHeightfield& field, const WalkableGeometry& geometry,
              int mergeThreshold) {
  for (const NavBox& box : geometry.boxes) {
    const auto [x0, x1] = CoveredCells(box.min.x, box.max.x, field.bmin[0], field.cs, field.width);
    const auto [y0, y1] = CoveredCells(box.min.y, box.max.y, field.bmin[2], field.cs, field.height);
    // Heights snap to the nearest cell, so a riser counts as climbable up
    // to half a cell above the agent's climb.
    const int low = std::clamp(static_cast<int>(std::lround((box.min.z - field.bmin[1]) / field.ch)), 0,
                               RC_SPAN_MAX_HEIGHT - 1);
    const int high = std::clamp(static_cast<int>(std::lround((box.max.z - field.bmin[1]) / field.ch)),
                                low + 1, RC_SPAN_MAX_HEIGHT);
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        if (!rcAddSpan(&context, field, x, y, static_cast<unsigned short>(low),
                       static_cast<unsigned short>(high), RC_WALKABLE_AREA, mergeThreshold)) {
          return false;
        }
      }
    }
  }
  return true;
}

NavPolygons ReadPolygons(const rcPolyMesh& mesh) {
  NavPolygons out;
  for (int i = 0; i < mesh.nverts; ++i) {
    const unsigned short* v = &mesh.verts[i * 3];
    out.vertices.emplace_back(mesh.bmin[0] + v[0] * mesh.cs, mesh.bmin[2] + v[2] * mesh.cs,
                              mesh.bmin[1] + v[1] * mesh.ch);
  }
  for (int i = 0; i < mesh.npolys; ++i) {
    const unsigned short* p = &mesh.polys[i * mesh.nvp * 2];
    std::vector<int> polygon;
    for (int j = 0; j < mesh.nvp && p[j] != RC_MESH_NULL_IDX; ++j) polygon.push_back(p[j]);
    double area = 0;
    for (std::size_t j = 0; j < polygon.size(); ++j) {
      const CVector3& a = out.vertices[static_cast<std::size_t>(polygon[j])];
      const CVector3& b = out.vertices[static_cast<std::size_t>(polygon[(j + 1) % polygon.size()])];
      area += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    if (area < 0) std::reverse(polygon.begin(), polygon.end());
    out.polygons.push_back(std::move(polygon));
  }
  return out;
}

}  // namespace

std::optional<NavMesh> NavMesh::Build(const WalkableGeometry& geometry, const NavAgent& agent,
                                      std::string& error) {
  if (geometry.boxes.empty()) {
    error = "nothing to walk on";
    return std::nullopt;
  }
  rcContext context(false);
  const int walkableHeight = static_cast<int>(std::ceil(agent.height / agent.cellHeight));
  const int walkableClimb = static_cast<int>(std::floor(agent.climb / agent.cellHeight));
  const int walkableRadius = static_cast<int>(std::ceil(agent.radius / agent.cellSize));
  float bmin[3], bmax[3];
  ToRecast(geometry.min, bmin);
  ToRecast(geometry.max, bmax);
  bmax[1] += agent.height;
  int width = 0, height = 0;
  rcCalcGridSize(bmin, bmax, agent.cellSize, &width, &height);
  constexpr long kMaxColumns = 1L << 26;
  if (static_cast<long>(width) * height > kMaxColumns ||
      (bmax[1] - bmin[1]) / agent.cellHeight >= RC_SPAN_MAX_HEIGHT) {
    error = "the building is too large for one navigation mesh at this cell size";
    return std::nullopt;
  }
  Heightfield field(rcAllocHeightfield());
  CompactHeightfield compact(rcAllocCompactHeightfield());
  ContourSet contours(rcAllocContourSet());
  PolyMesh mesh(rcAllocPolyMesh());
  const bool built =
      field && compact && contours && mesh &&
      rcCreateHeightfield(&context, *field, width, height, bmin, bmax, agent.cellSize, agent.cellHeight) &&
      AddBoxes(context, *field, geometry, walkableClimb);
  if (built) {
    rcFilterLedgeSpans(&context, walkableHeight, walkableClimb, *field);
    rcFilterWalkableLowHeightSpans(&context, walkableHeight, *field);
  }
  const int maxEdge = static_cast<int>(4.0f / agent.cellSize);
  if (!built || !rcBuildCompactHeightfield(&context, walkableHeight, walkableClimb, *field, *compact) ||
      !rcErodeWalkableArea(&context, walkableRadius, *compact) ||
      !rcBuildDistanceField(&context, *compact) || !rcBuildRegions(&context, *compact, 0, 8, 400) ||
      !rcBuildContours(&context, *compact, 1.3f * agent.cellSize, maxEdge, *contours) ||
      !rcBuildPolyMesh(&context, *contours, kVertsPerPolygon, *mesh)) {
    error = "the navigation mesh could not be built (out of memory or too many polygons)";
    return std::nullopt;
  }
  for (int i = 0; i < mesh->npolys; ++i) mesh->flags[i] = kWalkableFlag;

  NavMesh nav;
  nav.agent_ = agent;
  nav.polygons_ = std::make_shared<const NavPolygons>(ReadPolygons(*mesh));
  if (mesh->npolys == 0) {
    error = "no floor is wide and high enough for the agent";
    return std::nullopt;
  }
  dtNavMeshCreateParams params{};
  params.verts = mesh->verts;
  params.vertCount = mesh->nverts;
  params.polys = mesh->polys;
  params.polyAreas = mesh->areas;
  params.polyFlags = mesh->flags;
  params.polyCount = mesh->npolys;
  params.nvp = mesh->nvp;
  params.walkableHeight = agent.height;
  params.walkableRadius = agent.radius;
  params.walkableClimb = agent.climb;
  std::copy(mesh->bmin, mesh->bmin + 3, params.bmin);
  std::copy(mesh->bmax, mesh->bmax + 3, params.bmax);
  params.cs = mesh->cs;
  params.ch = mesh->ch;
  params.buildBvTree = true;
  unsigned char* data = nullptr;
  int size = 0;
  if (!dtCreateNavMeshData(&params, &data, &size)) {
    error = "the navigation mesh has too many vertices for one tile";
    return std::nullopt;
  }
  dtNavMesh* detour = dtAllocNavMesh();
  if (!detour || dtStatusFailed(detour->init(data, size, DT_TILE_FREE_DATA))) {
    if (detour) dtFreeNavMesh(detour);
    dtFree(data);
    error = "the navigation mesh could not be loaded";
    return std::nullopt;
  }
  nav.mesh_ = std::shared_ptr<const dtNavMesh>(detour, [](const dtNavMesh* m) {
    dtFreeNavMesh(const_cast<dtNavMesh*>(m));
  });
  return nav;
}

std::optional<std::vector<CVector3>> NavMesh::FindPath(const CVector3& from, const CVector3& to) const {
  Query query(dtAllocNavMeshQuery());
  if (!query || dtStatusFailed(query->init(mesh_.get(), kMaxQueryNodes))) return std::nullopt;
  const dtQueryFilter filter;
  const float reach = agent_.radius + 2 * agent_.cellSize;
  const float extents[3] = {reach, agent_.height / 2, reach};
  float start[3], end[3], startOn[3], endOn[3];
  ToRecast(from, start);
  ToRecast(to, end);
  dtPolyRef startRef = 0, endRef = 0;
  query->findNearestPoly(start, extents, &filter, &startRef, startOn);
  query->findNearestPoly(end, extents, &filter, &endRef, endOn);
  if (!startRef || !endRef) return std::nullopt;
  std::vector<dtPolyRef> path(kMaxPathPolygons);
  int count = 0;
  const dtStatus status =
      query->findPath(startRef, endRef, startOn, endOn, &filter, path.data(), &count, kMaxPathPolygons);
  if (dtStatusFailed(status) || count == 0 || path[static_cast<std::size_t>(count) - 1] != endRef) {
    return std::nullopt;
  }
  std::vector<float> corners(static_cast<std::size_t>(kMaxPathPolygons) * 3);
  int cornerCount = 0;
  if (dtStatusFailed(query->findStraightPath(startOn, endOn, path.data(), count, corners.data(), nullptr,
                                             nullptr, &cornerCount, kMaxPathPolygons))) {
    return std::nullopt;
  }
  std::vector<CVector3> out;
  for (int i = 0; i < cornerCount; ++i) out.push_back(FromRecast(&corners[static_cast<std::size_t>(i) * 3]));
  return out;
}

float GetPathLength(const std::vector<CVector3>& corners) {
  double length = 0;
  for (std::size_t i = 1; i < corners.size(); ++i) {
    const double dx = corners[i].x - corners[i - 1].x, dy = corners[i].y - corners[i - 1].y,
                 dz = corners[i].z - corners[i - 1].z;
    length += std::sqrt(dx * dx + dy * dy + dz * dz);
  }
  return static_cast<float>(length);
}

}  // namespace quarn
