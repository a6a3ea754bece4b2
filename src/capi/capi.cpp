// The C interface over the generator, the plan dump and the writers. Every
// entry catches what the C++ below it throws: no exception crosses into C.

#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "building/cbuilding.h"
#include "export/gltfwriter.h"
#include "export/plandrawing.h"
#include "export/scene.h"
#include "export/sceneexport.h"
#include "finish/finishedbuilding.h"
#include "geom/outlinecheck.h"
#include "io/atomicfile.h"
#include "export/plandump.h"
#include "quarn/quarn.h"

struct quarn_design {
  std::vector<CBuilding> buildings;
  std::uint32_t steps = QUARN_STEPS_ALL;
  // One per building when the outputs are finished; none for the design alone.
  std::optional<std::vector<quarn::FinishedBuilding>> finished;
  // Reads as well as writes report their failures, so both are mutable.
  mutable std::mutex mutex;
  mutable std::string error;
};

namespace {

constexpr std::uint32_t kMaxStoreys = 1000;
// The title the drawn plans give the buildings' source.
constexpr const char* kPlanSource = "quarn";

quarn_status Fail(const quarn_design& design, quarn_status status, std::string message) {
  design.error = std::move(message);
  return status;
}

// Runs body on the locked handle with its message cleared, turning every
// exception into a status and a message.
template <class Body>
quarn_status Guarded(const quarn_design* design, Body body) {
  if (design == nullptr) return QUARN_ERROR_NULL;
  const std::lock_guard<std::mutex> lock(design->mutex);
  design->error.clear();
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return Fail(*design, QUARN_ERROR_MEMORY, "out of memory");
  } catch (const std::exception& e) {
    return Fail(*design, QUARN_ERROR_INTERNAL, e.what());
  } catch (...) {
    return Fail(*design, QUARN_ERROR_INTERNAL, "unknown failure");
  }
}

TList<TList<CFloor>> Floors(const quarn_design& design) {
  TList<TList<CFloor>> floors;
  for (const CBuilding& building : design.buildings) floors.Add(building.floors);
  return floors;
}

const std::vector<quarn::FinishedBuilding>* Finished(const quarn_design& design) {
  return design.finished ? &*design.finished : nullptr;
}

// Finished buildings stand at real-world heights; the design's at its own.
quarn::SceneSettings SceneSettingsOf(const quarn_design& design) {
  quarn::SceneSettings settings;
  if (design.finished) settings.storeyHeight = quarn::kFinishedStoreyHeight;
  return settings;
}

quarn_status Generate(quarn_design& design, const std::string& text, const quarn_settings* given) {
  design.buildings.clear();
  design.finished.reset();
  const quarn_settings settings = given != nullptr ? *given : quarn_default_settings();
  if (settings.storeys < 1 || settings.storeys > kMaxStoreys) {
    return Fail(design, QUARN_ERROR_RANGE,
                "storeys must be from 1 to " + std::to_string(kMaxStoreys) + ", not " +
                    std::to_string(settings.storeys));
  }
  std::istringstream in(text);
  const quarn::OutlineFile file = quarn::ReadOutlineFile(in);
  if (!file.IsValid()) {
    const std::string where =
        file.problemLine > 0 ? "loop " + std::to_string(file.problemLine) + ": " : "";
    return Fail(design, QUARN_ERROR_OUTLINE, where + file.problem);
  }
  std::vector<CBuilding> buildings;
  for (int i = 0; i < file.loops.GetSize(); ++i) {
    buildings.emplace_back(quarn::SpecOf(file.loops[i], {settings.room_size, settings.room_size_variance,
                                                          settings.storeys, settings.seed}),
                           settings.steps);
  }
  design.buildings = std::move(buildings);
  design.steps = settings.steps;
  if (settings.finished != 0) design.finished = quarn::FinishBuildings(Floors(design));
  return QUARN_OK;
}

// The storey, or null after saying which index is out of range.
const CFloor* Storey(const quarn_design& design, size_t building, size_t storey) {
  if (building >= design.buildings.size()) {
    Fail(design, QUARN_ERROR_RANGE,
         "building " + std::to_string(building) + " of " + std::to_string(design.buildings.size()));
    return nullptr;
  }
  const TList<CFloor>& floors = design.buildings[building].floors;
  if (storey >= static_cast<size_t>(floors.GetSize())) {
    Fail(design, QUARN_ERROR_RANGE,
         "storey " + std::to_string(storey) + " of " + std::to_string(floors.GetSize()));
    return nullptr;
  }
  return &floors[static_cast<int>(storey)];
}

const CRoom* Room(const quarn_design& design, size_t building, size_t storey, size_t room) {
  const CFloor* floor = Storey(design, building, storey);
  if (floor == nullptr) return nullptr;
  if (room >= static_cast<size_t>(floor->rooms.GetSize())) {
    Fail(design, QUARN_ERROR_RANGE,
         "room " + std::to_string(room) + " of " + std::to_string(floor->rooms.GetSize()));
    return nullptr;
  }
  return &floor->rooms[static_cast<int>(room)];
}

// Copies items into out (capacity of them): the count is always given; a
// null out with capacity 0 only measures.
template <class T>
quarn_status CopyOut(const quarn_design& design, const std::vector<T>& items, T* out,
                     size_t capacity, size_t* count) {
  if (count == nullptr || (out == nullptr && capacity > 0)) {
    return Fail(design, QUARN_ERROR_NULL, "no count, or no array for a capacity");
  }
  *count = items.size();
  if (out == nullptr) return QUARN_OK;
  if (capacity < items.size()) {
    return Fail(
        design, QUARN_ERROR_BUFFER_SIZE,
        "needs room for " + std::to_string(items.size()) + ", has " + std::to_string(capacity));
  }
  std::copy(items.begin(), items.end(), out);
  return QUARN_OK;
}

// The bytes of a single-file format; false with a message for the others.
quarn_status Bytes(const quarn_design& design, quarn_format format, std::string& bytes) {
  std::ostringstream out;
  std::string problem;
  switch (format) {
    case QUARN_FORMAT_JSON: {
      quarn::PlanDump dump(out, design.steps, design.finished.has_value());
      for (std::size_t i = 0; i < design.buildings.size(); ++i) {
        dump.AddBuilding(design.buildings[i], design.finished ? &(*design.finished)[i] : nullptr);
      }
      dump.Finish();
      break;
    }
    case QUARN_FORMAT_SVG:
    case QUARN_FORMAT_PDF:
    case QUARN_FORMAT_PNG: {
      const quarn::PlanFormat plan = format == QUARN_FORMAT_SVG   ? quarn::PlanFormat::kSvg
                                     : format == QUARN_FORMAT_PDF ? quarn::PlanFormat::kPdf
                                                                  : quarn::PlanFormat::kPng;
      const std::string steps =
          design.steps == QUARN_STEPS_ALL ? "all" : std::to_string(design.steps);
      if (!quarn::WritePlan(Floors(design), Finished(design), {kPlanSource, steps}, plan, quarn::kDefaultPlanPxPerUnit, out,
                            problem)) {
        return Fail(design, QUARN_ERROR_INTERNAL, problem);
      }
      break;
    }
    case QUARN_FORMAT_GLB: {
      std::string glb;
      if (!quarn::WriteGlb(
              quarn::BuildScene(Floors(design), SceneSettingsOf(design), Finished(design)), glb,
              problem)) {
        return Fail(design, QUARN_ERROR_INTERNAL, problem);
      }
      out << glb;
      break;
    }
    default:
      return Fail(design, QUARN_ERROR_FORMAT,
                  "this format writes several files: write it to a file");
  }
  bytes = out.str();
  return QUARN_OK;
}

bool IsFormat(int format) { return format >= QUARN_FORMAT_JSON && format <= QUARN_FORMAT_FBX; }

}  // namespace

extern "C" {

quarn_settings quarn_default_settings(void) {
  const quarn::DesignSettings design;
  return quarn_settings{design.roomSize, design.roomSizeVariance, design.storeys, QUARN_STEPS_ALL,
                        design.seed, 1};
}

quarn_status quarn_create(quarn_design** design) {
  if (design == nullptr) return QUARN_ERROR_NULL;
  *design = new (std::nothrow) quarn_design;
  return *design != nullptr ? QUARN_OK : QUARN_ERROR_MEMORY;
}

void quarn_destroy(quarn_design* design) { delete design; }

const char* quarn_last_error(const quarn_design* design) {
  if (design == nullptr) return "no handle";
  const std::lock_guard<std::mutex> lock(design->mutex);
  return design->error.c_str();
}

quarn_status quarn_generate_text(quarn_design* design, const char* text, size_t length,
                                 const quarn_settings* settings) {
  return Guarded(design, [&] {
    if (text == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no outline text");
    return Generate(*design, std::string(text, length), settings);
  });
}

quarn_status quarn_generate_points(quarn_design* design, const int32_t* xy,
                                   const size_t* loop_sizes, size_t loop_count,
                                   const quarn_settings* settings) {
  return Guarded(design, [&] {
    if (loop_count > 0 && (xy == nullptr || loop_sizes == nullptr)) {
      return Fail(*design, QUARN_ERROR_NULL, "no points or no loop sizes");
    }
    // The points in the text form, so that they are checked as a file is.
    std::ostringstream text;
    for (size_t loop = 0; loop < loop_count; ++loop) {
      for (size_t p = 0; p < loop_sizes[loop]; ++p, xy += 2)
        text << '(' << xy[0] << ',' << xy[1] << ')';
      text << "*\n";
    }
    return Generate(*design, text.str(), settings);
  });
}

quarn_status quarn_building_count(const quarn_design* design, size_t* count) {
  return Guarded(design, [&] {
    if (count == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no count");
    *count = design->buildings.size();
    return QUARN_OK;
  });
}

quarn_status quarn_storey_count(const quarn_design* design, size_t building, size_t* count) {
  return Guarded(design, [&] {
    if (count == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no count");
    if (Storey(*design, building, 0) == nullptr) return QUARN_ERROR_RANGE;
    *count = static_cast<size_t>(design->buildings[building].floors.GetSize());
    return QUARN_OK;
  });
}

quarn_status quarn_room_count(const quarn_design* design, size_t building, size_t storey,
                              size_t* count) {
  return Guarded(design, [&] {
    if (count == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no count");
    const CFloor* floor = Storey(*design, building, storey);
    if (floor == nullptr) return QUARN_ERROR_RANGE;
    *count = static_cast<size_t>(floor->rooms.GetSize());
    return QUARN_OK;
  });
}

quarn_status quarn_get_room(const quarn_design* design, size_t building, size_t storey, size_t room,
                            quarn_room* out) {
  return Guarded(design, [&] {
    if (out == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no room to fill");
    const CRoom* found = Room(*design, building, storey, room);
    if (found == nullptr) return QUARN_ERROR_RANGE;
    const CBox2List boxes = found->outline.GetAsBoxList();
    std::int64_t area = 0;
    for (int b = 0; b < boxes.GetSize(); ++b) area += boxes[b].GetArea();
    *out = quarn_room{static_cast<size_t>(found->outline.GetSize()), area,
                      found->IsComplete() ? 1 : 0};
    return QUARN_OK;
  });
}

quarn_status quarn_get_room_outline(const quarn_design* design, size_t building, size_t storey,
                                    size_t room, int32_t* xy, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    const CRoom* found = Room(*design, building, storey, room);
    if (found == nullptr) return QUARN_ERROR_RANGE;
    std::vector<CPoint2> points;
    for (int i = 0; i < found->outline.GetSize(); ++i) points.push_back(found->outline[i]);
    if (count == nullptr || (xy == nullptr && capacity > 0)) {
      return Fail(*design, QUARN_ERROR_NULL, "no count, or no array for a capacity");
    }
    *count = points.size();
    if (xy == nullptr) return QUARN_OK;
    if (capacity < points.size()) {
      return Fail(*design, QUARN_ERROR_BUFFER_SIZE,
                  "needs room for " + std::to_string(points.size()) + " points, has " +
                      std::to_string(capacity));
    }
    for (const CPoint2& p : points) {
      *xy++ = p.x;
      *xy++ = p.y;
    }
    return QUARN_OK;
  });
}

quarn_status quarn_get_walls(const quarn_design* design, size_t building, size_t storey,
                             quarn_wall* walls, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    const CFloor* floor = Storey(*design, building, storey);
    if (floor == nullptr) return QUARN_ERROR_RANGE;
    const auto indices = floor->GetRoomIndices();
    auto indexOf = [&](const CRoom* room) {
      const auto found = indices.find(room);
      return found == indices.end() ? -1 : found->second;
    };
    std::vector<quarn_wall> all;
    for (int w = 0; w < floor->walls.GetSize(); ++w) {
      const CWall& wall = floor->walls[w];
      const CPoint2 a = wall.edge.GetPoint(1);
      const CPoint2 b = wall.edge.GetPoint(2);
      all.push_back({a.x, a.y, b.x, b.y, indexOf(wall.pair.first), indexOf(wall.pair.second),
                     static_cast<quarn_opening>(wall.GetOpening())});
    }
    return CopyOut(*design, all, walls, capacity, count);
  });
}

quarn_status quarn_get_slabs(const quarn_design* design, size_t building, size_t storey,
                             quarn_slab* slabs, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    const CFloor* floor = Storey(*design, building, storey);
    if (floor == nullptr) return QUARN_ERROR_RANGE;
    std::vector<quarn_slab> all;
    for (int r = 0; r < floor->slabs.GetSize(); ++r) {
      for (int b = 0; b < floor->slabs[r].GetSize(); ++b) {
        const CBox3& box = floor->slabs[r][b];
        all.push_back({r,
                       {box.GetMin().x, box.GetMin().y, box.GetMin().z},
                       {box.GetMax().x, box.GetMax().y, box.GetMax().z}});
      }
    }
    return CopyOut(*design, all, slabs, capacity, count);
  });
}

quarn_status quarn_write_file(quarn_design* design, int number, const char* path) {
  return Guarded(design, [&] {
    if (path == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no path");
    if (!IsFormat(number)) return Fail(*design, QUARN_ERROR_RANGE, "no such format");
    const auto format = static_cast<quarn_format>(number);
    std::string problem;
    if (format == QUARN_FORMAT_GLTF || format == QUARN_FORMAT_OBJ || format == QUARN_FORMAT_FBX) {
      const quarn::ExportFormat scene = format == QUARN_FORMAT_GLTF  ? quarn::ExportFormat::kGltf
                                        : format == QUARN_FORMAT_OBJ ? quarn::ExportFormat::kObj
                                                                     : quarn::ExportFormat::kFbx;
      if (!quarn::ExportBuildings(Floors(*design), Finished(*design), SceneSettingsOf(*design),
                                  scene, path, problem)) {
        return Fail(*design, QUARN_ERROR_IO, problem);
      }
      return QUARN_OK;
    }
    std::string bytes;
    if (const quarn_status status = Bytes(*design, format, bytes); status != QUARN_OK)
      return status;
    if (!quarn::WriteFileAtomically(path, bytes, problem)) {
      return Fail(*design, QUARN_ERROR_IO, problem);
    }
    return QUARN_OK;
  });
}

quarn_status quarn_write_buffer(quarn_design* design, int number, void* buffer, size_t capacity,
                                size_t* size) {
  return Guarded(design, [&] {
    if (size == nullptr || (buffer == nullptr && capacity > 0)) {
      return Fail(*design, QUARN_ERROR_NULL, "no size, or no buffer for a capacity");
    }
    if (!IsFormat(number)) return Fail(*design, QUARN_ERROR_RANGE, "no such format");
    std::string bytes;
    if (const quarn_status status = Bytes(*design, static_cast<quarn_format>(number), bytes);
        status != QUARN_OK) {
      return status;
    }
    std::vector<char> all(bytes.begin(), bytes.end());
    return CopyOut(*design, all, static_cast<char*>(buffer), capacity, size);
  });
}

}  // extern "C"
